// A fixture for runs of the whole program: a fresh settings store, a scratch current folder (the
// build's resources are found from the program's own folder), the scripted clock and a fresh
// program state; all put back afterwards.
#pragma once

#include <filesystem>

#include "game/game_state.h"
#include "input/input.h"
#include "persist/fresh_settings_folder.h"
#include "platform/platform.h"
#include "support/headless.h"

class WholeProgramTest : public FreshSettingsFolder {
 protected:
  void SetUp() override {
    FreshSettingsFolder::SetUp();
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(ScratchFolder());
    UseFakeClock(0);
    Program = ProgramState{};
  }
  void TearDown() override {
    SetButtonSource(nullptr);
    UseRealClock();
    std::filesystem::current_path(previousFolder_);
    FreshSettingsFolder::TearDown();
  }

 private:
  std::filesystem::path previousFolder_;
};
