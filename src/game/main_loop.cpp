// One play of the stage: its set-up, the fixed sequence of every frame, and its end.

#include <array>

#include "common/utility.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "objects/object_passes.h"
#include "objects/object_table.h"
#include "persist/play_statistics.h"
#include "sound/sound.h"
#include "stage/behaviours.h"
#include "stage/stage.h"

namespace {

struct MusicPlan {
  int16_t first, second;
  int32_t switchFrame;
};

constexpr std::array<MusicPlan, 10> MusicPlans = {{
    {0, 1, 6400},
    {2, 3, 30000},
    {4, 5, 30000},
    {6, 7, 30000},
    {8, 9, 30000},
    {0, 0, 30000},
    {0, 0, 30000},
    {0, 0, 30000},
    {0, 0, 30000},
    {0, 0, 30000},
}};

constexpr int16_t SeStageCallBase = 20;
constexpr int16_t SePause = 16;
constexpr int32_t StageClearBehaviour = 53;

const MusicPlan& PlanOf(int16_t stage) { return MusicPlans[size_t(stage) % MusicPlans.size()]; }

void SetUpPlay(int16_t stage, int32_t restartFrame) {
  FrameCounter = CheckpointFrame(restartFrame);
  NextExtendScore = 2000000;
  ExtendInterval = 2000000;
  ++TryCount;
  const MusicPlan& plan = PlanOf(stage);
  BgmTrack = plan.switchFrame < FrameCounter ? plan.second : plan.first;
  PlayBgm(BgmTrack);
  PlaySe(int16_t(SeStageCallBase + stage));
  PlayField = {0, 0, 447, ScreenHeight};
  ResetObjects();
  BuildTemplates();
  SetupStage(stage);
  DropPreEvents();
  PauseRequested = false;
  GameActive = true;
  // Nothing starts while a button from the previous screen is still held.
  do {
    InputWord = ReadButtons();
    WaitFrame(FrameMs);
  } while (InputWord != 0 && !QuitRequested);
  PrevInputWord = ReadButtons();
  InPlay = true;
}

void DrawTimingOverlay() {
  DrawText(448, 0, FpsText + " FPS");
  DrawText(448, 460, "PROCESS TIME " + TotalText);
  DrawText(448, 470, TimingText);
}

void Pause() {
  InPlay = false;
  PrevInPlay = false;
  ToggleMusicPause();
  PlaySe(SePause);
  PauseMenu();
  if (IsMusicPaused())
    ToggleMusicPause();
  else
    PlayBgm(BgmTrack);
  InPlay = true;
}

void KeepMusicPlaying(int16_t stage) {
  if (!IsMusicPlaying() && BgmTrack > -1) PlayBgm(BgmTrack);
  const MusicPlan& plan = PlanOf(stage);
  if (FrameCounter == plan.switchFrame) {
    BgmTrack = plan.second;
    StopMusic();  // the next frame's upkeep starts the new track
  }
}

bool BossHasFallen() {
  return BossIndex > 0 && BossIndex != NoObject &&
         ObjectTable[BossIndex].group == QG_EntryOnDeathRoll;
}

// The fallen boss hands over to the stage-clear sequence, and every enemy blows up with it.
void TakeOverFromFallenBoss() {
  ObjectIndex clear = CreateController(StageClearBehaviour);
  if (clear == NoObject) return;  // the table is full: try again next frame
  ObjectTable[clear].tag = int16_t(BossIndex);
  for (ObjectIndex e = QueueGroups[QG_Enemy].head; e != NoObject; e = ObjectTable[e].next) {
    const GameObject& enemy = ObjectTable[e];
    Spawn(int16_t(enemy.blastType), enemy.x, enemy.y);
    KillObject(e, QG_UnUse);
  }
  BossIndex = 0;
}

std::string Milliseconds(uint32_t ms) { return PadNumber(int32_t(ms), 3, " "); }

}  // namespace

int32_t CheckpointFrame(int32_t restartFrame) {
  if (restartFrame <= 1550) return 0;
  if (restartFrame <= 3100) return 1550;
  if (restartFrame <= 4650) return 3100;
  if (restartFrame <= 6200) return 4650;
  return 6500;
}

int32_t ShowFrame() {
  int32_t error = PresentFrame(CurrentForm);
  if (error != 0) {
    if (FullScreen)
      ToggleScreenModeAndPause();  // back to the window, with the pause menu
    else
      ReloadAllSurfaces();
  }
  return error;
}

int16_t RunGame(int16_t stage, int32_t restartFrame) {
  SetUpPlay(stage, restartFrame);
  while (GameActive) {
    uint32_t t0 = timeGetTime();
    InputWord = ReadButtons();
    ReleasePreEvents();
    RunObjects();
    RunHits();
    FlushKills();
    ScorePanel();
    if (ShowFrameRate) DrawTimingOverlay();
    uint32_t t1 = timeGetTime();
    WaitFrame(FrameMs);
    uint32_t t2 = timeGetTime();
    ShowFrame();
    uint32_t t3 = timeGetTime();
    if (PauseRequested) Pause();
    KeepMusicPlaying(stage);
    if (InputWord & BTN_ESC) QuitRequested = true;
    if (QuitRequested) break;
    if (BossHasFallen()) TakeOverFromFallenBoss();
    uint32_t t4 = timeGetTime();
    TimingText = "WORK" + Milliseconds(t1 - t0) + " WAIT" + Milliseconds(t2 - t1) + " FLIP" +
                 Milliseconds(t3 - t2) + " ELSE" + Milliseconds(t4 - t3);
    TotalText = "TOTAL" + Milliseconds(t4 - t0) + "(MS)";
    ++FrameCounter;
  }
  InPlay = false;
  if (BossIndex == 0) {
    ++StageClearCount;
    return 1;
  }
  ++DeadCount;
  return 0;
}
