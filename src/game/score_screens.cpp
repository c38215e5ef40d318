// The scenes after a play: the continue prompt, the name entry and the high-score table, each
// on the citadel at night with its texts on steel plates.

#include <algorithm>
#include <string>

#include "common/frame_clock.h"
#include "common/utility.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "sprite_ids.h"
#include "stage/stage_state.h"

namespace {

constexpr uint16_t Confirmations = BTN_Z | BTN_X | BTN_RETURN;
constexpr int32_t HiScoreFrames = 500;
constexpr int32_t ShowFrames = 64;  // the new entry blinks this long after the name is in
constexpr int16_t NoPlace = NoRankingPlace;

// Esc or a closed window: the program is being left.
bool Leaving(uint16_t keys) {
  if ((keys & BTN_ESC) || Program.QuitRequested) Program.QuitRequested = true;
  return Program.QuitRequested;
}

int32_t RankingLineY(int16_t place) { return 164 + 32 * place; }
static_assert(Sprite::PlaceCount == RankingPlaces, "a label for every place");

// The table's frame: the backdrop, the plates, the places' labels and the new entry's bar.
struct RankingView {
  const char* heading;
  int16_t newPlace = NoPlace;
  int16_t hiddenPlace = NoPlace;  // the new entry's line while it blinks off
  bool keys = false;              // the name entry's line of keys
};

void DrawRankingScene(const RankingView& view) {
  ClearBackBuffer();
  DrawSprite(0, 0, Sprite::RankingBackdrop);
  DrawSprite(96, 89, Sprite::HeadingPlate);
  DrawSprite(4, 150, Sprite::RankingPlate);
  if (view.newPlace != NoPlace) DrawSprite(0, RankingLineY(view.newPlace), Sprite::EntryHighlight);
  for (int16_t i = 0; i < RankingPlaces; ++i) DrawSprite(0, RankingLineY(i), Sprite::Place + i);
  DrawTextLarge(156, 100, view.heading);
  for (int16_t i = 0; i < RankingPlaces; ++i) {
    if (i == view.hiddenPlace) continue;
    const ScoreEntry& entry = Settings.ScoreRanking[size_t(i)];
    DrawTextLarge(0, RankingLineY(i), PadNumber(entry.Points, 16, " ") + "   " + entry.Name);
  }
  if (view.keys)
    DrawKeyLine(438, KeyOf(BindUp) + "/" + KeyOf(BindDown) + ":LETTER  " + KeyOf(BindFire) +
                         ":NEXT  " + KeyOf(BindTurn) + ":BACK  RETURN:END");
}

struct NameEntry {
  std::string& name;
  char letter = 'A';
  int32_t blink = 0;
};

void ShowLetter(NameEntry& entry) {
  entry.blink = 0;
  entry.name.back() = entry.letter;
}

// One frame's letter keys; true when the name is complete.
bool EnterLetter(NameEntry& entry, uint16_t keys) {
  if (++entry.blink > 16) entry.blink = 0;
  if (entry.blink == 0) entry.name.back() = '_';
  if (entry.blink == 8) entry.name.back() = entry.letter;
  if (keys == BTN_UP) {
    entry.letter = entry.letter == 'Z' ? 'A' : char(entry.letter + 1);
    ShowLetter(entry);
  }
  if (keys == BTN_DOWN) {
    entry.letter = entry.letter == 'A' ? 'Z' : char(entry.letter - 1);
    ShowLetter(entry);
  }
  // X takes the last letter back to be chosen again, from where it was.
  if (keys == BTN_X && entry.name.size() > 1) {
    entry.name.pop_back();
    entry.letter = entry.name.back();
    ShowLetter(entry);
  }
  if (keys == BTN_Z) {
    ShowLetter(entry);
    if (entry.name.size() == 3) return true;
    entry.name += ' ';
  }
  return false;
}

void EnterName(int16_t place) {
  NameEntry entry{Settings.ScoreRanking[size_t(place)].Name};
  Input.PrevInputWord = ReadButtons();
  Program.QuitRequested = false;
  for (;;) {
    const uint16_t keys = ReadNewButtons();
    if (keys & BTN_RETURN) return;
    DrawRankingScene({"NAME ENTRY", place, NoPlace, true});
    if (EnterLetter(entry, keys)) return;
    ScorePanel();
    EndSceneFrame();
    if (Leaving(keys)) return;
  }
}

// The new entry blinks for a moment; Return ends it at once.
void ShowNewEntry(int16_t place) {
  Input.PrevInputWord = ReadButtons();
  for (int32_t counter = 0; counter <= ShowFrames; ++counter) {
    const uint16_t keys = ReadNewButtons();
    if (keys & BTN_RETURN) return;
    DrawRankingScene({"NAME ENTRY", place, (counter & 7) < 4 ? place : NoPlace});
    ScorePanel();
    EndSceneFrame();
    if (Leaving(keys)) return;
  }
}

}  // namespace

void DrawKeyLine(int32_t y, const std::string& text) {
  constexpr int32_t PlateX = 54, PlateWidth = 340, TextDrop = 9;
  DrawSprite(PlateX, y, Sprite::KeysPlate);
  DrawText(PlateX + (PlateWidth - TextWidth(text, SmallFontBase)) / 2, y + TextDrop, text);
}

int16_t ContinueScreen() {
  StopMusic();
  PlaySe(SE_CONTINUE);
  constexpr int32_t CursorY[] = {222, 256};
  int16_t cursor = 0;
  FrameCounter = 0;
  Program.QuitRequested = false;
  Input.PrevInputWord = ReadButtons();
  for (;;) {
    const uint16_t keys = ReadNewButtons();
    const int16_t previous = cursor;
    if (keys == BTN_UP) cursor = 0;
    if (keys == BTN_DOWN) cursor = 1;
    if (cursor != previous) PlaySe(cursor == 1 ? SE_NO : SE_YES);
    if (keys & Confirmations) break;
    ClearBackBuffer();
    DrawSprite(0, 0, Sprite::ContinueBackdrop);
    DrawSprite(96, 134, Sprite::HeadingPlate);
    DrawSprite(140, 208, Sprite::ChoicePlate);
    ScorePanel();
    DrawTextLarge(112, 145, "C O N T I N U E ?");
    DrawTextLarge(188, 222, "Y E S");
    DrawTextLarge(188, 256, "N O");
    DrawTextLarge(156, CursorY[cursor], ">");
    EndSceneFrame();
    if (Leaving(keys)) break;
  }
  PlaySe(cursor == 0 ? SE_YES : SE_NO);
  return int16_t(cursor + 1);
}

int16_t HiScoreScreen() {
  FrameCounter = 0;
  PlaySe(SE_HI_SCORE);
  Input.PrevInputWord = ReadButtons();
  Program.QuitRequested = false;
  for (;;) {
    const uint16_t keys = ReadNewButtons();
    if (++FrameCounter > HiScoreFrames + 1 || (keys & Confirmations)) break;
    DrawRankingScene({"HI SCORE"});
    ScorePanel();
    EndSceneFrame();
    if (Leaving(keys)) break;
  }
  return 0;
}

int16_t NameEntryScreen() {
  const int16_t place = int16_t(RankNewScore(Settings.ScoreRanking, Game.Score));
  if (place != NoPlace) {
    ScoreEntry& entry = Settings.ScoreRanking[size_t(place)];
    entry.Points = Game.Score;
    entry.Name.assign(1, ' ');  // the first letter's place
    PlaySe(SE_NAME_ENTRY);
    EnterName(place);
    PlayerEnteredScore(entry);
    ShowNewEntry(place);
  }
  SaveSettings();
  return 0;
}
