// The window's events as the game acts on them: keys that work on every screen, the close
// box, and the switch between the window and full screen.

#include <utility>

#include "common/utility.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/replay.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "input/input.h"
#include "platform/platform.h"
#include "tools/image_resource_dialog.h"
#include "tools/keys_dialog.h"
#include "tools/replay_browser.h"

namespace {

void HandleWindowCommand(WindowCommand command) {
  switch (command) {
    case WindowCommand::ReloadImages:
      Program.reloadRequested = true;
      break;
    case WindowCommand::SwitchScreenMode:
      Program.modeSwitchRequested = true;
      break;
    case WindowCommand::Exit:
      Program.QuitRequested = true;
      break;
    case WindowCommand::ImageResourceDialog:
      Program.resourceDialogRequested = true;
      break;
    case WindowCommand::Zoom1:
    case WindowCommand::Zoom2:
    case WindowCommand::Zoom3:
      Program.zoomRequested = int16_t(int(command) - int(WindowCommand::Zoom1) + 1);
      break;
    case WindowCommand::Practice0:
    case WindowCommand::Practice1:
    case WindowCommand::Practice2:
    case WindowCommand::Practice3:
    case WindowCommand::Practice4:
      Program.practiceRequested = int16_t(int(command) - int(WindowCommand::Practice0));
      break;
    case WindowCommand::Replays:
      Program.replayBrowserRequested = true;
      break;
    case WindowCommand::Keys:
      Program.keysDialogRequested = true;
      break;
    case WindowCommand::LanguageEnglish:
      ChooseLanguage(Language::English);
      break;
    case WindowCommand::LanguageJapanese:
      ChooseLanguage(Language::Japanese);
      break;
  }
}

// The game holds while a dialog is open. Its seconds are no play to the frame-rate sampler,
// and the second after it is skipped like a play's first.
void HoldForDialog(void (*showDialog)()) {
  Program.PauseRequested = true;
  const bool inPlay = Stats.InPlay;
  Stats.InPlay = Stats.PrevInPlay = false;
  showDialog();
  Stats.InPlay = inPlay;
  Program.PauseRequested = false;
}

void OpenImageResourceDialog() {
  Program.resourceDialogRequested = false;
  HoldForDialog(ShowImageResourceDialog);
}

// A replay chosen to watch waits for the title, which starts it.
void OpenReplayBrowser() {
  Program.replayBrowserRequested = false;
  HoldForDialog([] {
    const std::string chosen = ShowReplayBrowser(Platform.atTitle);
    if (!chosen.empty()) Program.replayRequested = chosen;
  });
}

// A replay's pauses are its own: the menu would read the recorded buttons.
void TogglePause() {
  if (!Replay.playing) Program.PauseRequested = !Program.PauseRequested;
}

}  // namespace

void HandleWindowEvents() {
  if (Platform.closePending) {
    Platform.closePending = false;
    Program.QuitRequested = true;
  }
  // Taken out first: a handler may pump events itself.
  std::vector<KeyPress> keys;
  keys.swap(Platform.pendingKeys);
  for (const KeyPress& press : keys) HandleFormKey(press);
  for (uint8_t button : std::exchange(Platform.pendingPadButtons, {}))
    if (button == Input.bindings.code[BindPadPause] && !TakeViewerKey(0, true)) TogglePause();
  std::vector<WindowCommand> commands;
  commands.swap(Platform.pendingCommands);
  for (WindowCommand command : commands) HandleWindowCommand(command);
}

void HandleFormKey(const KeyPress& press) {
  const bool pause = press.scancode == Input.bindings.code[BindPause];
  if (TakeViewerKey(press.key, pause)) return;
  if (press.key == KeyEscape) Program.QuitRequested = true;
  if (pause) TogglePause();
  if (press.key == KeyReturn && press.shift == ShiftFlagAlt) Program.modeSwitchRequested = true;
  if (KeyTakesAction(press.scancode)) return;  // the player's own key for an action
  if (press.key == 'R') Program.reloadRequested = true;
  if (press.key == 'S') Program.stallRequested = true;  // for watching the frame timing
}

void RunWindowRequests() {
  if (Program.modeSwitchRequested) ToggleScreenModeAndPause();
  if (Program.reloadRequested) {
    Program.reloadRequested = false;
    ReloadAllSurfaces();
  }
  if (Program.stallRequested) {
    Program.stallRequested = false;
    WaitSeconds(0.3f);
  }
  if (Program.resourceDialogRequested) OpenImageResourceDialog();
  if (Program.replayBrowserRequested) OpenReplayBrowser();
  if (Program.keysDialogRequested) {
    Program.keysDialogRequested = false;
    HoldForDialog(ShowKeysDialog);
  }
  if (Program.zoomRequested != 0) {
    Settings.WindowZoom = Program.zoomRequested;
    PlayerSet(OptionWindowZoom);
    SaveSettingsSoon();
    Program.zoomRequested = 0;
    SetFormZoom(Settings.WindowZoom);
  }
}

void ToggleScreenMode() {
  Program.modeSwitchRequested = false;  // whoever asked, one switch answers
  ReleaseDisplay();
  // Closing the window here raises no close request, so a quit asked for earlier stands.
  UnloadForm();
  Program.CurrentForm = GameForm::None;
  Display.FullScreen = !Display.FullScreen;
  ShowMouseCursor(!Display.FullScreen);
  Program.CurrentForm = Display.FullScreen ? GameForm::FullScreen : GameForm::Window;
  ShowForm(Program.CurrentForm);
  InitDisplay(Program.CurrentForm, Display.FullScreen);
  ReloadAllSurfaces();
}

void ToggleScreenModeAndPause() {
  Program.PauseRequested = true;
  ToggleScreenMode();
  Program.ScreenModeChanged = true;
}
