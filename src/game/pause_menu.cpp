// The pause menu over the frozen play: back to the play, the options, or give up.

#include <SDL.h>

#include <algorithm>
#include <array>
#include <string>

#include "game/game_state.h"
#include "game/scenes.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "stage/stage_state.h"

namespace {

constexpr const char* HintLine = "HIT \"P\" KEY THEN RETURN";
constexpr int32_t FrameMsInPause = 100;  // ten frames a second
constexpr int16_t SkipsAfterAFailedPresent = 3;

struct PauseMenuState {
  std::array<std::string, 3> items = {"  RETURN", "  OPTION", "  GIVE UP"};
  int16_t cursor = 0;
  int32_t blink = 0;
};

void CopySurface(SDL_Surface* from, SDL_Surface* to) {
  SDL_Rect whole{0, 0, ScreenWidth, ScreenHeight};
  SDL_BlitSurface(from, &whole, to, &whole);
}

void DrawItems(PauseMenuState& menu) {
  DrawTextLarge(86, 210, HintLine);
  for (int16_t i = 0; i < 3; ++i) {
    std::string& item = menu.items[size_t(i)];
    item[0] = i == menu.cursor ? '>' : ' ';
    DrawTextLarge(176, (i * 3 + 27) * 10, item);
  }
}

// Z held alone acts on the item under the cursor.
void Choose(const PauseMenuState& menu) {
  switch (menu.cursor) {
    case 0:
      Program.PauseRequested = false;
      break;
    case 1:
      OptionMenu();
      break;
    default:
      Play.GameActive = false;
      Game.Lives = 0;
      Program.PauseRequested = false;
      break;
  }
}

}  // namespace

void PauseMenu() {
  if (Program.PauseSkip >= 1) {
    --Program.PauseSkip;
    return;
  }
  PauseMenuState menu;
  DarkenSurface(Display.BackBuffer);  // the frozen play stays in sight; the menu reads over it
  CopySurface(Display.BackBuffer, Display.WorkSurface);
  DrawTextLarge(170, 150, "P A U S E");
  DrawItems(menu);
  ShowFrame();
  WaitKeyRelease();
  int32_t error = 0;
  do {
    const uint16_t level = ReadButtons();
    const uint16_t keys = NewlyPressed(level);
    if (keys == BTN_UP) menu.cursor = int16_t(std::max(menu.cursor - 1, 0));
    if (keys == BTN_DOWN) menu.cursor = int16_t(std::min(menu.cursor + 1, 2));
    if (level == BTN_Z) Choose(menu);
    CopySurface(Display.WorkSurface, Display.BackBuffer);
    menu.blink = (menu.blink + 1) % 10;
    if (menu.blink < 5) DrawTextLarge(170, 150, "P A U S E");
    DrawItems(menu);
    error = ShowFrame();
    WaitFrame(FrameMsInPause);
  } while (Program.PauseRequested && !Program.QuitRequested && error == 0 &&
           !Program.ScreenModeChanged);
  Program.ScreenModeChanged = false;
  if (error != 0) Program.PauseSkip = SkipsAfterAFailedPresent;
  WaitKeyRelease();
}
