#include "stage/stage_state.h"

#include <algorithm>

#include "stage/behaviours.h"
#include "stage/stage.h"

GameRecord Game;
PlayState Play;

int32_t AddScore(int32_t score, int64_t points) {
  return int32_t(std::clamp<int64_t>(int64_t(score) + points, 0, MaxScore));
}

void ResetPlay() {
  Play = PlayState{};
  ResetObjects(StageBehaviours);
  BuildTemplates();
}
