// The title menu: start, options or quit, and the high-score table when nobody plays.

#include <algorithm>
#include <array>
#include <filesystem>

#include "common/frame_clock.h"
#include "common/host.h"
#include "game/game_state.h"
#include "game/replay.h"
#include "game/scenes.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "sound/sound.h"
#include "sprite_ids.h"

namespace {

struct TitleItem {
  const char* text;
  int32_t y;
  int16_t result;
  SoundEffect announcement;
};

constexpr std::array<TitleItem, 3> TitleItems = {{
    {"GAME START", 263, SceneFirstChoice, SE_GAME_START},
    {"OPTION", 291, SceneSecondChoice, SE_OPTION},
    {"QUIT", 319, SceneLeave, SE_QUIT},
}};
constexpr int32_t CursorX = 136, ItemX = 168;
constexpr int32_t IdleFrames = 1000;

void DrawTitle(int16_t cursor) {
  ClearBackBuffer();
  DrawSprite(0, 0, Sprite::TitlePicture);
  for (const TitleItem& item : TitleItems) DrawTextLarge(ItemX, item.y, item.text);
  ScorePanel();
  DrawTextLarge(CursorX, TitleItems[size_t(cursor)].y, ">");
  DrawKeyLine(414, KeyOf(BindFire) + ":SHOT  " + KeyOf(BindTurn) + ":TURN  " +
                       KeyOf(BindPause) + ":PAUSE  ESC:QUIT");
  DrawSprite(144, 448, Sprite::TitleFooter);
  FillBox(82, 204, 8, 15, 0);
}

// What the window's menu asked the title to start, if anything.
int16_t MenuRequest() {
  if (Program.practiceRequested != NoPractice) return ScenePractice;
  if (!Program.replayRequested.empty()) return SceneWatch;
  return 0;
}

}  // namespace

int16_t TitleMenu() {
  FrameCounter = 0;  // the idle timer
  uint32_t idleSince = NowMs();
  const bool demoShipped = std::filesystem::exists(DemoFile);
  Input.PrevInputWord = ReadButtons();
  PlaySe(SE_TITLE_CALL);
  int16_t cursor = 0, result = SceneFirstChoice;
  Platform.atTitle = true;
  while (!Program.QuitRequested) {
    if (const int16_t request = MenuRequest()) {
      result = request;
      break;
    }
    const uint16_t keys = ReadNewButtons();
    const int16_t previous = cursor;
    if (keys == BTN_UP) cursor = int16_t(std::max(cursor - 1, 0));
    if (keys == BTN_DOWN) cursor = int16_t(std::min(cursor + 1, 2));
    if (keys != 0) {
      FrameCounter = 0;
      idleSince = NowMs();
    }
    if (cursor != previous) PlaySe(TitleItems[size_t(cursor)].announcement);
    result = TitleItems[size_t(cursor)].result;
    if (demoShipped && NowMs() - idleSince >= DemoIdleMs) {
      result = SceneDemo;
      break;
    }
    if (++FrameCounter > IdleFrames) {
      result = SceneIdle;
      break;
    }
    if (keys & (BTN_Z | BTN_X)) break;
    DrawTitle(cursor);
    EndSceneFrame();
    if ((keys & BTN_ESC) || Program.QuitRequested) {
      Program.QuitRequested = true;
      break;
    }
  }
  Platform.atTitle = false;
  const bool ownChoice = result != ScenePractice && result != SceneWatch && result != SceneDemo;
  if (cursor == 1 && ownChoice && !Program.QuitRequested) PlaySe(SE_OPTION);
  return result;
}
