// Start-up, the scene loop, the frame wait and the keys that work on every screen.

#include <SDL.h>

#include <ctime>
#include <exception>
#include <filesystem>

#include "common/utility.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "platform/imgui_layer.h"
#include "stage/random.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* ResourceIndexPath = "res/dst/out.dat";

// A new game and its plays, continues and end; returns the result the title step sees next.
int16_t PlayGame() {
  Stage = 0;
  Score = 0;
  Lives = 3;
  for (;;) {
    --Lives;  // the ship that enters play leaves the reserve
    int16_t result = RunGame(Stage, RestartFrame);
    if (result == SceneLeave) return result;
    if (QuitRequested) return result;
    if (result <= 0 && Lives > 0) continue;  // ships remain: resume at the checkpoint
    if (result == ScenePlayLost) {
      result = ContinueScreen();
      if (result == SceneLeave || QuitRequested) return result;
      if (result == SceneFirstChoice) {
        Lives = 3;
        Score = 0;
        continue;
      }
    } else if (result != SceneFirstChoice) {
      return result;
    }
    break;
  }
  RestartFrame = 0;
  Stage = 0;
  NameEntryScreen();
  if (QuitRequested) return ScenePlayLost;
  return HiScoreScreen();
}

void ShutDown() {
  if (FullScreen) ShowMouseCursor(true);
  ReleaseDirectDraw();
  UnloadForm();
  CurrentForm = GameForm::None;
  PlatformShutdown();
}

}  // namespace

void ChangeToResourceFolder() {
  if (fs::exists(ResourceIndexPath)) return;
  std::vector<fs::path> candidates;
  if (char* base = SDL_GetBasePath()) {
    candidates.emplace_back(base);
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

int Main() {
  FrameMs = 33;
  FullScreen = false;
  SeedRandom(uint64_t(std::time(nullptr)));  // a different game each time
  int exitCode = 0;
  try {
    PlatformInit();
    CurrentForm = GameForm::Window;
    ShowForm(CurrentForm);
    PumpEvents();
    InitDirectDraw(CurrentForm, FullScreen);
    RunScenes();
  } catch (const std::exception& error) {
    ShowMessageBox(error.what());
    exitCode = 1;
  }
  ShutDown();
  return exitCode;
}

void RunScenes() {
  ChangeToResourceFolder();
  LoadImageResources(fs::current_path().string() + "/res/");
  BgmTrack = 0;
  NextExtendScore = 2000000;
  ExtendInterval = 2000000;
  Lives = 3;
  while (!QuitRequested) {
    Stage = 0;
    int16_t result = TitleMenu();
    if (result == SceneLeave || QuitRequested) break;
    if (result == SceneSecondChoice)
      result = OptionMenu();
    else if (result == SceneIdle)
      result = HiScoreScreen();
    else if (result == SceneFirstChoice)
      result = PlayGame();
    if (result == SceneLeave) break;
  }
}

int32_t WaitFrame(int32_t ms) {
  PumpEvents();
  // Modular difference: right across the clock's wrap too.
  int32_t remaining = int32_t(LastWaitEnd + uint32_t(ms) - timeGetTime());
  if (remaining >= 1 && remaining < 1000) Sleep(uint32_t(remaining));
  LastWaitEnd = timeGetTime();
  return 0;
}

void WaitKeyRelease() {
  while (ReadButtons() != 0 && !QuitRequested) WaitFrame(33);
}

void ToggleScreenMode() {
  ReleaseDirectDraw();
  // Closing the window here raises no close request, so a quit asked for earlier stands.
  UnloadForm();
  CurrentForm = GameForm::None;
  FullScreen = !FullScreen;
  ShowMouseCursor(!FullScreen);
  CurrentForm = FullScreen ? GameForm::FullScreen : GameForm::Window;
  ShowForm(CurrentForm);
  InitDirectDraw(CurrentForm, FullScreen);
  ReloadAllSurfaces();
}

void ToggleScreenModeAndPause() {
  PauseRequested = true;
  ToggleScreenMode();
  ScreenModeChanged = true;
}

void HandleFormKey(int16_t key, int16_t shift) {
  if (key == 27) QuitRequested = true;
  if (key == 'P') PauseRequested = !PauseRequested;
  if (key == 13 && shift == ShiftFlagAlt) ToggleScreenModeAndPause();
  if (key == 'R') ReloadAllSurfaces();
  if (key == 'S') WaitSeconds(0.3f);  // a deliberate stall, for watching the frame timing
}
