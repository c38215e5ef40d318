// Start-up, the scene loop, the frame wait and the keys that work on every screen.

#include <SDL.h>

#include <ctime>
#include <exception>
#include <filesystem>
#include <utility>

#include "common/resource_format.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/replay.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "persist/settings_store.h"
#include "platform/imgui_layer.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "stage/random.h"
#include "stage/stage_state.h"
#include "tools/image_resource_dialog.h"

namespace fs = std::filesystem;

namespace {

const std::string ResourceIndexPath = std::string("res/") + BuiltFolder + IndexFileName;

// A new game and its plays, continues and end; returns the result the title step sees next.
// A practice game starts at a checkpoint, offers no continue and enters no ranking.
int16_t PlayGame(int16_t practiceCheckpoint = NoPractice) {
  Game = GameRecord{};  // stage 0, no score, three ships, from the start
  if (Program.practice) Game.RestartFrame = RestartFrameAt(practiceCheckpoint);
  ResetScorePanel();
  for (;;) {
    --Game.Lives;  // the ship that enters play leaves the reserve
    int16_t result = RunGame();
    if (result == SceneLeave) return result;
    if (Program.QuitRequested) return result;
    if (result <= 0 && Game.Lives > 0) continue;  // ships remain: resume at the checkpoint
    if (Program.practice) return result;
    if (result == ScenePlayLost) {
      result = ContinueScreen();
      if (result == SceneLeave || Program.QuitRequested) return result;
      if (result == SceneFirstChoice) {
        Game.Lives = 3;
        Game.Score = 0;
        continue;
      }
    } else if (result != SceneFirstChoice) {
      return result;
    }
    break;
  }
  Game.RestartFrame = 0;
  Game.Stage = 0;
  NameEntryScreen();
  if (Program.QuitRequested) return ScenePlayLost;
  return HiScoreScreen();
}

int16_t PlayPractice(int16_t checkpoint) {
  const UncountedPlays uncounted;
  Program.practice = true;
  const int16_t result = PlayGame(checkpoint);
  Program.practice = false;
  return result;
}

// A replay is no play of the player's: its run leaves the statistics alone.
void ShutDown(bool saveStatistics) {
  SoundClose();
  if (Display.FullScreen) ShowMouseCursor(true);
  ReleaseDisplay();
  FreeAllSurfaces();
  UnloadForm();
  Program.CurrentForm = GameForm::None;
  ReleaseImageResourceDialog();
  PlatformShutdown();
  if (saveStatistics)
    SavePlayStatistics();
  else
    FinishSaving({});
  StoreClose();
}

}  // namespace

void ChangeToResourceFolder() {
  if (fs::exists(ResourceIndexPath)) return;
  std::vector<fs::path> candidates;
  if (char* base = SDL_GetBasePath()) {
    candidates.emplace_back(base);
    // An installed tree moved elsewhere keeps bin/ and share/veldrane/ side by side.
    candidates.push_back(fs::path(base) / ".." / "share" / "veldrane");
    SDL_free(base);
  }
  candidates.emplace_back(VELDRANE_DATA_DIR);
  for (const fs::path& folder : candidates) {
    std::error_code error;
    if (fs::exists(folder / ResourceIndexPath, error)) {
      fs::current_path(folder, error);
      return;
    }
  }
}

int Main(const char* replayFile, int16_t practiceCheckpoint) {
  Program = ProgramState{};  // a run starts with no request standing
  Program.FrameMs = 33;
  Display.FullScreen = false;
  Stats = PlayStatistics{};  // this run's figures
  Replay.recordPlays = !replayFile;
  SeedRandom(uint64_t(std::time(nullptr)));  // a different game each time
  int exitCode = 0;
  try {
    PlatformInit();
    Program.CurrentForm = GameForm::Window;
    ShowForm(Program.CurrentForm);
    PumpEvents();
    InitDisplay(Program.CurrentForm, Display.FullScreen);
    LoadGameResources();
    if (replayFile)
      exitCode = PlayReplayFile(replayFile);
    else
      RunScenes(practiceCheckpoint);
  } catch (const std::exception& error) {
    ShowMessageBox(error.what());
    exitCode = 1;
  }
  ShutDown(!replayFile);
  return exitCode;
}

void LoadGameResources() {
  ChangeToResourceFolder();
  LoadImageResources(fs::current_path().string() + "/res/");
  BuildSeTable();
  LoadSettings();
  ScanBgmFolder(MusicFolder());
  Game = GameRecord{};
  Settings.HiScore = Settings.ScoreRanking[0].Points;
}

void RunScenes(int16_t practiceCheckpoint) {
  Program.practiceRequested = practiceCheckpoint;
  while (!Program.QuitRequested) {
    Game.Stage = 0;
    Game.Lives = GameRecord{}.Lives;  // the title's panel shows the ships a new game brings
    int16_t result = TitleMenu();
    if (result == SceneLeave || Program.QuitRequested) break;
    if (result == SceneSecondChoice)
      result = OptionMenu();
    else if (result == SceneIdle)
      result = HiScoreScreen();
    else if (result == SceneFirstChoice)
      result = PlayGame();
    else if (result == ScenePractice)
      result = PlayPractice(std::exchange(Program.practiceRequested, NoPractice));
    else if (result == SceneWatch)
      WatchKeptReplay(std::exchange(Program.replayRequested, {}));
    else if (result == SceneDemo)
      result = PlayDemo() ? HiScoreScreen() : result;
    if (result == SceneLeave) break;
  }
  SoundClose();
}

void WaitFrame(int32_t ms) {
  PumpEvents();
  HandleWindowEvents();
  RunFrameRateTimer();
  RetryWaitingSave();
  // Modular difference: right across the clock's wrap too.
  int32_t remaining = int32_t(Program.LastWaitEnd + uint32_t(ms) - NowMs());
  if (remaining >= 1 && remaining < 1000) SleepMs(uint32_t(remaining));
  Program.LastWaitEnd = NowMs();
}

void WaitKeyRelease() {
  while (ReadButtons() != 0 && !Program.QuitRequested) WaitFrame(33);
}

uint16_t NewlyPressed(uint16_t level) {
  if (level == Input.PrevInputWord) return Input.InputWord = 0;
  Input.PrevInputWord = level;
  return Input.InputWord = level;
}

uint16_t ReadNewButtons() { return NewlyPressed(ReadButtons()); }

int32_t EndSceneFrame() {
  WaitFrame(Program.FrameMs);
  return ShowFrame();
}

