// The option menu: mixing rate, sound on or off, the two volumes, screen mode, clearing the
// high scores, the frame-rate overlay and the music folder. Changes act at once; the settings
// are saved when the menu is left.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "common/frame_clock.h"
#include "common/game_text.h"
#include "common/resource_format.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "platform/imgui_layer.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "stage/stage_state.h"

namespace {

enum OptionItem : int16_t {
  ItemMixRate,
  ItemSound,
  ItemMusicVolume,
  ItemEffectVolume,
  ItemScreenMode,
  ItemClearScores,
  ItemConfirmClear,
  ItemFrameRate,
  ItemMusicFolder,
  ItemExit,
  ItemCount,
};

constexpr std::array<const char*, ItemCount> Labels = {
    "  MIXRATE  ",     "  FMOD SOUND SYSTEM    ", "  BGM VOLUME   ",
    "  SE VOLUME    ", "  SCREEN MODE  ",         "  HISCORE CLEAR",
    "    REALY?  [NO] YES", "  SHOW FRAME RATE      ", "  BGM FOLDER SETTING",
    "  EXIT"};
constexpr std::array<int16_t, ItemCount> ValueCounts = {3, 2, 9, 9, 2, 2, 2, 2, 0, 0};
constexpr const char* ConfirmLabel = "  REALY?              ";
constexpr int32_t MessageFrames = 100;

struct OptionMenuState {
  std::array<std::string, ItemCount> labels;
  std::array<int16_t, ItemCount> values{};
  int16_t cursor = 0;
  std::string message;
  int32_t messageTimer = 0;
};

// An item whose label has a blank as its third character is passed over and drawn as it is.
bool Enabled(const std::string& label) { return label.size() < 3 || label[2] != ' '; }

int16_t VolumeValue(int16_t volume) { return int16_t(std::lround(std::log2(volume + 1.0))); }
int16_t VolumeOf(int16_t value) { return int16_t((1 << value) - 1); }

std::string VolumeBar(int16_t v) {
  if (v == 0) return "[MUTE]";
  return " MUTE  [" + std::string(">>>>>>>>        ").substr(size_t(8 - v), 8) + "]";
}

// Without the sound system the volumes cannot change: their items move a column right.
void MarkVolumeItems(OptionMenuState& menu) {
  for (int16_t item : {ItemMusicVolume, ItemEffectVolume}) {
    const std::string label = Labels[size_t(item)];
    menu.labels[size_t(item)] = Sounds.SoundEnabled ? label : (" " + label).substr(0, 15);
  }
}

std::string ValueText(const OptionMenuState& menu, int16_t item) {
  const int16_t v = menu.values[size_t(item)];
  switch (item) {
    case ItemMixRate:
      return std::array{"[11KHZ] 22KHZ  44KHZ", " 11KHZ [22KHZ] 44KHZ", " 11KHZ  22KHZ [44KHZ]"}[size_t(v)];
    case ItemSound:
    case ItemFrameRate:
      return v == 0 ? "[ON] OFF" : " ON [OFF]";
    case ItemMusicVolume:
    case ItemEffectVolume:
      return Sounds.SoundEnabled ? VolumeBar(v) : "";
    case ItemScreenMode:
      return v == 0 ? "[WINDOW] FULLSCR" : " WINDOW [FULLSCR]";
    case ItemConfirmClear:
      if (menu.cursor != ItemConfirmClear) return "";
      return v == 0 ? "[NO]  YES" : " NO  [YES]";
    default:
      return "";
  }
}

OptionMenuState OpenMenu() {
  OptionMenuState menu;
  for (size_t i = 0; i < Labels.size(); ++i) menu.labels[i] = Labels[i];
  menu.values[ItemMixRate] = Mixer.MixRate <= 21000 ? 0 : Mixer.MixRate <= 43000 ? 1 : 2;
  menu.values[ItemSound] = Sounds.SoundEnabled ? 0 : 1;
  menu.values[ItemMusicVolume] = VolumeValue(Mixer.MusicVolume);
  menu.values[ItemEffectVolume] = VolumeValue(Mixer.SeVolume);
  menu.values[ItemFrameRate] = Program.ShowFrameRate ? 0 : 1;
  return menu;
}

void MoveCursor(OptionMenuState& menu, uint16_t keys) {
  int16_t& cursor = menu.cursor;
  if (keys == BTN_DOWN) {
    cursor = int16_t(std::min<int>(cursor + 1, ItemCount - 1));
    while (!Enabled(menu.labels[size_t(cursor)])) ++cursor;
  }
  if (keys == BTN_UP) {
    cursor = int16_t(std::max(cursor - 1, 0));
    while (!Enabled(menu.labels[size_t(cursor)])) --cursor;
  }
}

void StepValue(OptionMenuState& menu, uint16_t keys) {
  int16_t& value = menu.values[size_t(menu.cursor)];
  const int16_t last = int16_t(std::max(ValueCounts[size_t(menu.cursor)] - 1, 0));
  if (keys == BTN_LEFT) value = int16_t(std::max(value - 1, 0));
  if (keys == BTN_RIGHT) value = int16_t(std::min<int>(value + 1, last));
  if (keys == BTN_LEFT || keys == BTN_RIGHT) ApplyOption(menu.cursor, value);
}

void ChooseMusicFolder() {
  if (Display.FullScreen) ToggleScreenModeAndPause();  // the dialog needs the window
  WaitKeyRelease();
  const std::string folder =
      BrowseForFolder(Tr("Choose the folder of mp3 files to play as music"), Settings.BgmFolder);
  if (folder.empty()) return;
  Settings.BgmFolder = folder;
  PlayerSet(OptionMusicFolder);
  ScanBgmFolder(MusicFolder());
  PlayBgm(std::max<int16_t>(Play.BgmTrack, 0));
}

// Z on an item; false when it leaves the menu.
bool Confirm(OptionMenuState& menu) {
  switch (menu.cursor) {
    case ItemClearScores:
      menu.labels[ItemConfirmClear] = ConfirmLabel;
      menu.values[ItemConfirmClear] = 0;
      menu.cursor = ItemConfirmClear;
      break;
    case ItemConfirmClear:
      if (menu.values[ItemConfirmClear] == 1) {
        ResetScoreRanking();
        PlayerClearedRanking();
      }
      menu.message = menu.values[ItemConfirmClear] == 1 ? "** CLEAR !! **" : "   CANCEL";
      menu.messageTimer = MessageFrames;
      menu.cursor = ItemClearScores;
      break;
    case ItemMusicFolder:
      ChooseMusicFolder();
      break;
    case ItemExit:
      return false;
    default:
      break;
  }
  ApplyOption(menu.cursor, menu.values[size_t(menu.cursor)]);
  return true;
}

void DrawMenu(OptionMenuState& menu) {
  ClearBackBuffer();
  DrawTextLarge(128, 32, "OPTION SETTING");
  for (int16_t i = 0; i < ItemCount; ++i) {
    const std::string mark = i == menu.cursor ? ">" : " ";
    const std::string& label = menu.labels[size_t(i)];
    DrawTextLarge(16, (i + 3) * 32, mark + label.substr(1) + ValueText(menu, i));
  }
  if (menu.messageTimer > 0) {
    if (menu.messageTimer % 15 < 8) DrawTextLarge(160, 416, menu.message);
    --menu.messageTimer;
  }
}

void RestartSoundSystem(bool announce) {
  const int16_t music = Mixer.MusicVolume, effects = Mixer.SeVolume;
  SoundClose();
  SoundInit();
  Sounds.SoundEnabled = true;
  LoadSoundEffects(Images.ResourceDir + BuiltFolder);
  if (announce) PlaySe(SE_TITLE_CALL);
  SetMusicVolume(music);
  SetSeVolume(effects);
}

}  // namespace

// The stored option each item sets; the others store nothing.
constexpr std::array<int16_t, ItemCount> StoredOptionOf = {
    OptionMixRate, OptionSound, OptionMusicVolume, OptionEffectVolume, -1, -1, -1,
    OptionFrameRate, -1, -1};

void ApplyOption(int16_t item, int16_t v) {
  if (StoredOptionOf[size_t(item)] >= 0) PlayerSet(StoredOption(StoredOptionOf[size_t(item)]));
  switch (item) {
    case ItemMixRate:
      Mixer.MixRate = MixRates[size_t(v)];
      Settings.MixRateIndex = v;
      if (Sounds.SoundEnabled) RestartSoundSystem(true);
      break;
    case ItemSound:
      if (v == 1) {
        SoundClose();
        Sounds.SoundEnabled = false;
      } else {
        RestartSoundSystem(false);
      }
      break;
    case ItemMusicVolume:
      if (IsMusicPlaying() && IsMusicPaused()) ToggleMusicPause();
      if (!IsMusicPlaying()) PlayBgm(std::max<int16_t>(Play.BgmTrack, 0));
      SetMusicVolume(VolumeOf(v));
      break;
    case ItemEffectVolume:
      SetSeVolume(VolumeOf(v));
      PlaySe(SE_BURST01);
      break;
    case ItemScreenMode:
      if ((v == 0) == Display.FullScreen) ToggleScreenModeAndPause();
      break;
    case ItemFrameRate:
      Program.ShowFrameRate = v == 0;
      break;
    default:
      break;
  }
}

int16_t OptionMenu() {
  const int32_t frameBefore = FrameCounter;
  FrameCounter = 0;
  OptionMenuState menu = OpenMenu();
  Input.PrevInputWord = ReadButtons();
  Program.QuitRequested = false;
  for (;;) {
    const uint16_t keys = ReadNewButtons();
    menu.values[ItemScreenMode] = Display.FullScreen ? 1 : 0;
    MarkVolumeItems(menu);
    MoveCursor(menu, keys);
    if (menu.cursor != ItemConfirmClear) menu.labels[ItemConfirmClear] = "   ";
    StepValue(menu, keys);
    if (keys & BTN_ESC) break;
    if (keys == BTN_Z && !Confirm(menu)) break;
    DrawMenu(menu);
    ScorePanel();
    EndSceneFrame();
    if (Program.QuitRequested) break;
  }
  SaveSettings();
  ToggleMusicPause();
  WaitKeyRelease();
  FrameCounter = frameBefore;
  return 0;
}
