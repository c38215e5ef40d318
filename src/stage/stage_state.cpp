#include "stage/stage_state.h"

#include "stage/behaviours.h"
#include "stage/stage.h"

GameRecord Game;
PlayState Play;

void ResetPlay() {
  Play = PlayState{};
  ResetObjects(StageBehaviours);
  BuildTemplates();
}
