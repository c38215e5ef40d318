// A fixture for runs of the whole program: a fresh settings store, a scratch current folder (the
// build's resources are found from the program's own folder), the scripted clock and a fresh
// program state; all put back afterwards.
#pragma once

#include <SDL.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/game_state.h"
#include "input/input.h"
#include "persist/fresh_settings_folder.h"
#include "platform/platform.h"
#include "support/headless.h"

// A person at a dialog: Return pressed and let go, which takes what the dialog offers.
inline void PressReturnInDialog() {
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.scancode = SDL_SCANCODE_RETURN;
  key.key.keysym.sym = SDLK_RETURN;
  SDL_PushEvent(&key);
  key.type = SDL_KEYUP;
  SDL_PushEvent(&key);
}

class WholeProgramTest : public FreshSettingsFolder {
 protected:
  std::filesystem::path ReplayFiles() const { return Folder / "data" / "veldrane" / "replays"; }

  void SetUp() override {
    FreshSettingsFolder::SetUp();
    const char* data = std::getenv("XDG_DATA_HOME");
    previousData_ = data ? data : "";
    setenv("XDG_DATA_HOME", (Folder / "data").c_str(), 1);  // the plays' replays land here
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(ScratchFolder());
    UseFakeClock(0);
    Program = ProgramState{};
  }
  void TearDown() override {
    SetButtonSource(nullptr);
    UseRealClock();
    std::filesystem::current_path(previousFolder_);
    if (previousData_.empty())
      unsetenv("XDG_DATA_HOME");
    else
      setenv("XDG_DATA_HOME", previousData_.c_str(), 1);
    FreshSettingsFolder::TearDown();
  }

 private:
  std::filesystem::path previousFolder_;
  std::string previousData_;
};
