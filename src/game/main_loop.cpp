// One play of the stage: its set-up, the fixed sequence of every frame, and its end.

#include <array>

#include "common/frame_clock.h"
#include "common/utility.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/replay.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "objects/object_table.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "stage/behaviours.h"
#include "stage/hits.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

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

const MusicPlan& PlanOf(int16_t stage) { return MusicPlans[size_t(stage) % MusicPlans.size()]; }

void SetUpPlay() {
  BeginRecording();  // before the set-up draws on chance
  ResetPlay();
  FrameCounter = CheckpointFrame(Game.RestartFrame);
  ++Stats.TryCount;
  const MusicPlan& plan = PlanOf(Game.Stage);
  Play.BgmTrack = plan.switchFrame < FrameCounter ? plan.second : plan.first;
  PlayBgm(Play.BgmTrack);
  PlaySe(int16_t(SE_STAGE1 + Game.Stage));
  SetupStage();
  DropPreEvents();
  Program.PauseRequested = false;
  // A switch with no pause after it (at the title, under GAME OVER) would close the next at once.
  Program.ScreenModeChanged = false;
  Play.GameActive = true;
  // Nothing starts while a button from the previous screen is still held.
  do {
    Input.InputWord = ReadButtons();
    WaitFrame(Program.FrameMs);
  } while (Input.InputWord != 0 && !Program.QuitRequested);
  Stats.InPlay = true;
  Stats.PrevInPlay = false;  // the sampler skips a play's first second, however soon it starts
}

constexpr int32_t OverlayX = 448;

// On a black box a pixel larger all round, so that it reads over whatever the panel shows.
void DrawOverlayLine(int32_t y, const std::string& text) {
  FillBox(OverlayX, y - 1, TextWidth(text, SmallFontBase) + 2, FontHeight(SmallFontBase) + 3, 0);
  DrawText(OverlayX, y, text);
}

void DrawTimingOverlay() {
  DrawOverlayLine(0, Stats.FpsText + " FPS");
  DrawOverlayLine(460, "PROCESS TIME " + Program.TotalText);
  DrawOverlayLine(470, Program.TimingText);
}

constexpr int32_t MarkX = 456, MarkY = 200;

// What kind of play this is, beside the field: a practice game, the demo, or a replay with the
// viewer's state and keys.
void DrawPlayMark() {
  const bool viewer = Replay.playing && !Replay.demo;
  std::string mark = Replay.demo     ? "DEMO PLAY"
                     : viewer        ? "REPLAY"
                     : Program.practice ? "PRACTICE"
                                        : "";
  if (mark.empty()) return;
  if (viewer && Replay.paused) mark += " PAUSE";
  if (viewer && !Replay.paused && Replay.speed > 1) mark += " X" + std::to_string(Replay.speed);
  FillBox(MarkX, MarkY, Images.ClipWidth - MarkX, 40, 0);
  DrawTextLarge(MarkX, MarkY, mark);
  if (!viewer) return;
  DrawText(MarkX, MarkY + 24, KeyOf(BindPause) + " " + KeyOf(BindFire) + ":PAUSE");
  DrawText(MarkX, MarkY + 32, "1 2 4 " + KeyOf(BindTurn) + ":SPEED");
}

// While the viewer holds a replay its last frame stays on show, the window's keys still heard.
void HoldWhilePaused() {
  while (Replay.playing && Replay.paused && Play.GameActive && !Program.QuitRequested) {
    DrawPlayMark();
    TakeViewerButtons();
    WaitFrame(Program.FrameMs);
    ShowFrame();
  }
}

// Once the last ship is lost the play only runs out its GAME OVER, which stays on top.
bool GameIsOver() { return Game.Lives < 0; }

void Pause() {
  Stats.InPlay = false;
  Stats.PrevInPlay = false;
  ToggleMusicPause();
  PlaySe(SE_PAUSE2);
  PauseMenu();
  if (!Play.GameActive) RecordGivingUp();
  if (IsMusicPaused())
    ToggleMusicPause();
  else
    PlayBgm(Play.BgmTrack);
  Stats.InPlay = true;
}

void KeepMusicPlaying() {
  if (!IsMusicPlaying() && Play.BgmTrack > -1) PlayBgm(Play.BgmTrack);
  const MusicPlan& plan = PlanOf(Game.Stage);
  if (FrameCounter == plan.switchFrame) {
    Play.BgmTrack = plan.second;
    StopMusic();  // the next frame's upkeep starts the new track
  }
}

bool BossHasFallen() {
  return Play.BossIndex > 0 && Play.BossIndex != NoObject &&
         Obj(Play.BossIndex).group == QG_EntryOnDeathRoll;
}

// The fallen boss hands over to the stage-clear sequence, and every enemy blows up with it.
void TakeOverFromFallenBoss() {
  ObjectIndex clear = CreateController(BehStageClear);
  if (clear == NoObject) return;  // the table is full: try again next frame
  Obj(clear).tag = int16_t(Play.BossIndex);
  for (ObjectIndex e = World.QueueGroups[QG_Enemy].head; e != NoObject; e = Obj(e).next) {
    const GameObject& enemy = Obj(e);
    Spawn(int16_t(enemy.blastType), enemy.x, enemy.y);
    KillObject(e, QG_UnUse);
  }
  Play.BossIndex = 0;
}

std::string Milliseconds(uint32_t ms) { return PadNumber(int32_t(ms), 3, " "); }

// While a save waits for a busy store, every screen says so at its foot.
void DrawWaitingSave() {
  const std::string line = WaitingSaveLine();
  if (line.empty()) return;
  FillBox(0, 462, 448, 18, 0);
  DrawText(4, 466, line);
}

}  // namespace

int32_t CheckpointFrame(int32_t restartFrame) {
  if (restartFrame <= 1550) return 0;
  if (restartFrame <= 3100) return 1550;
  if (restartFrame <= 4650) return 3100;
  if (restartFrame <= 6200) return 4650;
  return 6500;
}

int32_t RestartFrameAt(int16_t number) {
  return number <= 0 ? 0 : Checkpoints[size_t(number)] + 1;  // past it, so resumed at it
}

int32_t ShowFrame() {
  DrawWaitingSave();
  int32_t error = PresentFrame();
  if (error == 0) ++Stats.FramesShown;
  if (error != 0) {
    if (Display.FullScreen)
      ToggleScreenModeAndPause();  // back to the window, with the pause menu
    else
      ReloadAllSurfaces();
  }
  RunWindowRequests();
  return error;
}

bool PlayFrame() {
  HoldWhilePaused();
  uint32_t t0 = NowMs();
  Input.InputWord = ReadButtons();
  RecordButtons(Input.InputWord);
  ReleasePreEvents();
  RunObjects();
  RunHits();
  FlushKills();
  ScorePanel();
  DrawPlayMark();
  if (Program.ShowFrameRate) DrawTimingOverlay();
  uint32_t t1 = NowMs();
  WaitFrame(ReplayFrameMs(Program.FrameMs));
  uint32_t t2 = NowMs();
  ShowFrame();
  uint32_t t3 = NowMs();
  if (Program.PauseRequested && !GameIsOver()) Pause();
  KeepMusicPlaying();
  if (Input.InputWord & BTN_ESC) EndPlayOrLeave();
  if (Program.QuitRequested) return false;
  if (BossHasFallen()) TakeOverFromFallenBoss();
  uint32_t t4 = NowMs();
  Program.TimingText = "WORK" + Milliseconds(t1 - t0) + " WAIT" + Milliseconds(t2 - t1) +
                       " FLIP" + Milliseconds(t3 - t2) + " ELSE" + Milliseconds(t4 - t3);
  Program.TotalText = "TOTAL" + Milliseconds(t4 - t0) + "(MS)";
  ++FrameCounter;
  return true;
}

int16_t RunGame() {
  SetUpPlay();
  while (Play.GameActive && PlayFrame()) {
  }
  FinishRecording();
  Stats.InPlay = false;
  if (Play.BossIndex == 0) {
    ++Stats.StageClearCount;
    return SceneFirstChoice;
  }
  ++Stats.DeadCount;
  return ScenePlayLost;
}
