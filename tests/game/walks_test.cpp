// Every path a player takes, walked through the program from its start with scripted buttons on
// the fake clock. Each row pins what the player meets on the way: texts and sprites drawn and
// where (in the order they first come), the effects heard, and what is stored, scored and left.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/replay.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "persist/settings_store.h"
#include "persist/stored_values.h"
#include "platform/imgui_layer.h"
#include "platform/platform.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "stage/hits.h"
#include "stage/random.h"
#include "stage/stage_state.h"
#include "support/autopilot.h"
#include "support/button_script.h"
#include "support/whole_program.h"

namespace {

namespace fs = std::filesystem;

constexpr uint16_t Up = BTN_UP, Down = BTN_DOWN, Left = BTN_LEFT, Right = BTN_RIGHT;
constexpr uint16_t Z = BTN_Z, X = BTN_X, Esc = BTN_ESC, Return = BTN_RETURN;
constexpr int32_t Large = LargeFontBase;

// One step of a walk: a press (the word for a read, then a release), reads of no button, a
// play held to one of its frames, a key of the window, or the folder picker's choice.
struct Step {
  enum Kind : uint8_t { Press, Wait, PlayTo, WindowKey, ChooseFolder, OpenDialog } kind;
  uint16_t word = 0;
  int32_t count = 0;  // Wait: reads; PlayTo: the play's frame; WindowKey: the key
  bool autopilot = false;
};
Step Presses(uint16_t word) { return {Step::Press, word}; }
Step Idle(int32_t reads) { return {Step::Wait, 0, reads}; }
Step Fly(int32_t frame) { return {Step::PlayTo, 0, frame, true}; }
Step Hold(uint16_t word, int32_t frame) { return {Step::PlayTo, word, frame}; }
Step Key(SDL_Keycode key) { return {Step::WindowKey, 0, key}; }
Step PickFolder() { return {Step::ChooseFolder}; }
Step ResourceDialog(int32_t frames) { return {Step::OpenDialog, 0, frames}; }

struct Walk {
  const char* name;
  std::vector<Step> script;
  std::vector<DrawnItem> drawn = {};  // met in this order (their frames not compared)
  std::vector<std::string> heard = {};  // every sound but the play's own, in order (Heard)
  std::vector<StoredValue> stored = {};
  int32_t score = 0, lives = 0;
  // Texts and in how many frames each was drawn.
  std::vector<std::pair<std::string, int32_t>> shownFor = {};
  bool unbeatable = false;
  const char* replay = nullptr;  // a fixture played back in place of the script
  int32_t presents = -1;         // the frames shown in all; -1: not compared
};

void PrintTo(const Walk& walk, std::ostream* out) { *out << walk.name; }

DrawnItem Big(int32_t x, int32_t y, const char* text) { return {0, x, y, Large, text}; }
DrawnItem Picture(int32_t x, int32_t y, int32_t sprite) { return {0, x, y, sprite, ""}; }
DrawnItem Small(int32_t x, int32_t y, const char* text) { return {0, x, y, SmallFontBase, text}; }

// The shots, hits and blasts of a play flown on autopilot, each as common as a frame.
bool PlaysOwn(const HeardSound& sound) {
  constexpr int16_t Own[] = {SE_BARIA_HIT, SE_BURST01, SE_BURST02, SE_BURST03,
                             SE_HIT,       SE_MISS,    SE_ROT,     SE_SHOT};
  return sound.kind == HeardKind::Effect &&
         std::find(std::begin(Own), std::end(Own), sound.effect) != std::end(Own);
}

// "13" for an effect at the default volume 32 in frame 0, "1@7" at another volume, "20 at 3100"
// in a later frame; "bgm FILE"; "volume 63". The play's own sounds of its flown stretches are
// left out.
std::vector<std::string> Heard(const std::vector<bool>& flown) {
  std::vector<std::string> heard;
  for (size_t i = 0; i < SoundLog.items.size(); ++i) {
    const HeardSound& sound = SoundLog.items[i];
    if (i < flown.size() && flown[i] && PlaysOwn(sound)) continue;
    std::string token = sound.kind == HeardKind::Effect ? std::to_string(sound.effect)
                        : sound.kind == HeardKind::Song ? "bgm " + fs::path(sound.song).filename().string()
                                                        : "volume " + std::to_string(sound.volume);
    if (sound.kind != HeardKind::MusicVolume && sound.volume != 32)
      token += "@" + std::to_string(sound.volume);
    if (sound.kind != HeardKind::MusicVolume && sound.frame != 0)
      token += " at " + std::to_string(sound.frame);
    heard.push_back(token);
  }
  return heard;
}

// Whether wanted was drawn in its order, each item after the one before.
std::string Unmet(const std::vector<DrawnItem>& wanted) {
  auto from = DrawLog.items.begin();
  for (const DrawnItem& item : wanted) {
    from = std::find_if(from, DrawLog.items.end(), [&](const DrawnItem& drawn) {
      return drawn.x == item.x && drawn.y == item.y && drawn.sprite == item.sprite &&
             drawn.text == item.text;
    });
    if (from == DrawLog.items.end()) return item.text.empty() ? std::to_string(item.sprite) : item.text;
  }
  return "";
}

int32_t FramesShowing(const std::string& text) {
  std::set<int32_t> presents;
  for (const DrawnItem& item : DrawLog.items)
    if (item.text == text) presents.insert(item.present);
  return int32_t(presents.size());
}

// Sound at about a tenth of real time: however slowly a walk runs (under a sanitizer, on a
// loaded machine), no song ends and starts again where its frames would not have it.
void SlowAudio() {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("SDL_DISKAUDIODELAY", "250", 1);
}

class WalksTest : public WholeProgramTest, public testing::WithParamInterface<Walk> {
 protected:
  // The script's buttons, read by read, after the title's opening read; Escape once it is done,
  // or when it has run far too long.
  uint16_t Next(const std::vector<Step>& script) {
    flown.resize(SoundLog.items.size(), at < script.size() && script[at].kind == Step::PlayTo);
    if (++reads == 1) return 0;
    if (reads > 40000) return reads % 2 ? Esc : 0;
    while (at < script.size()) {
      const Step& step = script[at];
      switch (step.kind) {
        case Step::Press:
          if (done++ == 0) return step.word;
          break;
        case Step::Wait:
          if (done++ < step.count) return 0;
          break;
        case Step::PlayTo:
          if (!Stats.InPlay && done == 0) return 0;  // the play is still to start
          done = 1;
          // Of a long play, the texts are kept; its sprites would only fill the log.
          std::erase_if(DrawLog.items, [](const DrawnItem& item) { return item.text.empty(); });
          if (Stats.InPlay && FrameCounter < step.count)
            return step.autopilot ? Autopilot() : step.word;
          break;
        case Step::WindowKey:
          // Taken in this frame's wait; the scene it opens then waits for the buttons up.
          if (done++ == 0) {
            PressKey(step.count);
          }
          if (done < 3) return 0;
          break;
        case Step::ChooseFolder:
          choosing = true;
          break;
        case Step::OpenDialog:
          dialogFrames = step.count;
          Platform.pendingCommands.push_back(WindowCommand::ImageResourceDialog);
          break;
      }
      ++at;
      done = 0;
      if (step.kind == Step::Press) return 0;
    }
    return reads % 2 ? Esc : 0;  // pressed, wherever the walk ended
  }

  // A person at the dialogs: Return in the folder picker the first time it draws, which chooses
  // its folder; the resource dialog closed after its frames; any other closed at once.
  bool DialogScript() {
    if (choosing) {
      choosing = false;
      PressReturnInDialog();
      return true;
    }
    return dialogFrames-- > 0;
  }

  void Run(const Walk& walk) {
    StoreSave(GameApplication, RankingValues({{{50, "AAA"}, {40, "BBB"}, {30, "CCC"}, {20, "DDD"},
                                               {0, "EEE"}}}));
    StoreClose();
    DrawLog = {};
    SoundLog = {};
    DrawLog.recording = SoundLog.recording = true;
    ShipCannotDie = walk.unbeatable;
    at = 0;
    done = 0;
    reads = 0;
    dialogFrames = 0;
    flown.clear();
    bool seeded = false;
    Imgui.dialogScript = [this] { return DialogScript(); };
    ScriptButtons({}, [&] {
      if (!seeded) SeedRandom(42);  // after the program's own seeding, before any play
      seeded = true;
      return Next(walk.script);
    });
    Mixer = MixerState{};
    Sounds = SoundEffectsState{};
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string before = driver ? driver : "";
    SlowAudio();
    EXPECT_EQ(Main(walk.replay), 0);
    if (driver)
      setenv("SDL_AUDIODRIVER", before.c_str(), 1);
    else
      unsetenv("SDL_AUDIODRIVER");
    Imgui.dialogScript = nullptr;
    ShipCannotDie = false;
    DrawLog.recording = SoundLog.recording = false;
  }

  size_t at = 0;
  int32_t done = 0;
  int32_t reads = 0;
  bool choosing = false;
  int32_t dialogFrames = 0;   // the resource dialog's frames left
  std::vector<bool> flown;    // by sound heard: in a flown stretch of play
};

std::string Shown(const DrawnItem& item) {
  return "{" + std::to_string(item.x) + ", " + std::to_string(item.y) + ", " +
         (item.text.empty() ? std::to_string(item.sprite)
                            : std::string(item.sprite == Large ? "Big" : "Small") + ", \"" +
                                  item.text + "\"") +
         "}";
}

// For writing a row: what a walk met, once each, in order.
void Dump(const char* name, const std::vector<bool>& flown) {
  std::printf("---- %s\n", name);
  std::set<std::string> seen;
  for (const DrawnItem& item : DrawLog.items) {
    const std::string shown = Shown(item);
    if (!seen.insert(shown).second || item.text.empty()) continue;
    std::printf("  %d %s\n", item.present, shown.c_str());
  }
  for (const std::string& heard : Heard(flown)) std::printf("  heard %s\n", heard.c_str());
  std::printf("  score %d lives %d\n", Game.Score, Game.Lives);
}

std::vector<Walk> Walks() {
  const DrawnItem Cursor263 = Big(136, 263, ">"), Cursor291 = Big(136, 291, ">"),
                  Cursor319 = Big(136, 319, ">");
  const DrawnItem Continue = Big(112, 145, "C O N T I N U E ?"), PauseTitle = Big(170, 150, "P A U S E");
  const DrawnItem StageStart = Big(150, 100, "STAGE 1 START"), NameEntry = Big(156, 100, "NAME ENTRY");
  // The table's picture and plates, the places' labels down its side.
  const DrawnItem RankingBackdrop = Picture(0, 0, Sprite::RankingBackdrop),
                  HeadingPlate = Picture(96, 89, Sprite::HeadingPlate),
                  RankingPlate = Picture(4, 150, Sprite::RankingPlate),
                  FirstPlace = Picture(0, 164, Sprite::Place),
                  FifthPlace = Picture(0, 292, Sprite::Place + 4);
  const std::vector<Walk> walks = {
      {"title",
       {Presses(Down), Presses(Down), Presses(Down), Presses(Up), Presses(Up), Presses(Up),
        Presses(Down), Presses(Down), Presses(Z)},
       {Picture(0, 0, Sprite::TitlePicture), Big(168, 263, "GAME START"), Big(168, 291, "OPTION"),
        Big(168, 319, "QUIT"), Cursor291, Picture(144, 448, Sprite::TitleFooter), Cursor319,
        Cursor291, Cursor263, Cursor291, Cursor319},
       {"volume 32", "5", "15", "17", "15", "9", "15", "17"},
       {},
       0, 3},
      {"options",
       {Presses(Down), Presses(Z),                                            // OPTION
        Presses(Left), Presses(Right), Presses(Right), Presses(Right),        // mixing rate
        Presses(Down), Presses(Left), Presses(Right), Presses(Right), Presses(Left),  // sound
        Presses(Down), Presses(Right), Presses(Right), Presses(Right), Presses(Right),
        Presses(Left),                                                        // music volume
        Presses(Down), Presses(Left), Presses(Left), Presses(Left), Presses(Left), Presses(Left),
        Presses(Left), Presses(Right),                                        // effect volume
        Presses(Down), Presses(Left),                                         // screen mode
        Presses(Down), Presses(Z), Presses(Right), Presses(Right), Presses(Left), Presses(Left),
        Presses(Z), Idle(20),                                                 // clear: no
        Presses(Down), Presses(Right), Presses(Left),                         // frame rate
        Presses(Down), PickFolder(), Presses(Z),                              // music folder
        Presses(Down), Presses(Z)},                                           // exit
       {Big(128, 32, "OPTION SETTING"), Big(16, 96, "> MIXRATE  [11KHZ] 22KHZ  44KHZ"),
        Big(16, 96, "> MIXRATE   11KHZ [22KHZ] 44KHZ"), Big(16, 96, "> MIXRATE   11KHZ  22KHZ [44KHZ]"),
        Big(16, 128, "> FMOD SOUND SYSTEM     ON [OFF]"), Big(16, 160, "   BGM VOLUME  "),
        Big(16, 128, "> FMOD SOUND SYSTEM    [ON] OFF"), Big(16, 160, "> BGM VOLUME    MUTE  [>>>>>>>>]"),
        Big(16, 160, "  BGM VOLUME    MUTE  [>>>>>>> ]"), Big(16, 192, "> SE VOLUME    [MUTE]"),
        Big(16, 192, "  SE VOLUME     MUTE  [>       ]"), Big(16, 224, "> SCREEN MODE  [WINDOW] FULLSCR"),
        Big(16, 288, "> REALY?              [NO]  YES"), Big(16, 288, "> REALY?               NO  [YES]"),
        Big(16, 288, "> REALY?              [NO]  YES"), Big(160, 416, "   CANCEL"),
        Big(16, 320, "> SHOW FRAME RATE      [ON] OFF"), Big(16, 384, "> EXIT"), Cursor263},
       {"volume 32", "5", "15", "5@255", "volume 32", "5@255", "volume 32", "5@255", "volume 32",
        "5@255", "volume 32", "volume 32", "volume 32", "bgm 01 Sky Fortress.mp3", "volume 63",
        "volume 127", "volume 255", "volume 127", "1@15", "1@7", "1@3", "1@1", "1@1", "5@1"},
       {{OptionsSection, "MixRate", "44100"}, {OptionsSection, "FModEnabled", "1"},
        {OptionsSection, "CurrentBGMVol", "127"}, {OptionsSection, "CurrentSEVol", "1"},
        {OptionsSection, "ShowFrameRate", "1"}, {OptionsSection, "BGMFolder", "(here)"},
        {RankingSection, "N4", "EEE"}},
       0, 3,
       {{"   CANCEL", 16}}},
      {"play", {Presses(Z), Fly(300)},
       {StageStart, Big(480, 392, "      10000")},
       {"volume 32", "5", "bgm 01 Sky Fortress.mp3", "20", "10 at 224", "11 at 301"},
       {{OptionsSection, "TryCount", "1"}, {OptionsSection, "DeadCount", "1"}},
       10000, 2},
      {"pause",
       {Presses(Z), Fly(50), Key(SDLK_p), Presses(Up), Presses(Down), Presses(Z),  // OPTION
        Presses(Down), Presses(Down), Presses(Down), Presses(Down), Presses(Down), Presses(Down),
        Presses(Down), Presses(Down), Presses(Z), Presses(Up), Presses(Z),  // EXIT, then RETURN
        Fly(120), Key(SDLK_p), Presses(Down), Presses(Down), Presses(Z),    // GIVE UP
        Idle(1), Presses(Down), Presses(Z)},                                 // no continue
       {PauseTitle, Big(86, 210, "HIT \"P\" KEY THEN RETURN"), Big(176, 270, "> RETURN"),
        Big(176, 300, "  OPTION"), Big(176, 330, "  GIVE UP"), Big(176, 300, "> OPTION"),
        Big(128, 32, "OPTION SETTING"), Big(16, 384, "> EXIT"), Big(176, 300, "> OPTION"),
        Big(176, 270, "> RETURN"), PauseTitle, Big(176, 330, "> GIVE UP"), Continue,
        Big(156, 256, ">"), NameEntry},
       {"volume 32", "5", "bgm 01 Sky Fortress.mp3", "20", "16 at 50",
        "bgm 01 Sky Fortress.mp3 at 50", "16 at 120", "4 at 121", "14", "14", "13"},
       {{OptionsSection, "TryCount", "1"}},
       0, 0,
       {{"P A U S E", 10}}},
      {"continue",
       {Presses(Z), Fly(40), Key(SDLK_p), Presses(Down), Presses(Down), Presses(Z), Idle(1),
        Presses(Z), Fly(80), Key(SDLK_p), Presses(Down), Presses(Down), Presses(Z), Idle(1),
        Presses(Down), Presses(Z)},
       {StageStart, StageStart, Picture(0, 0, Sprite::ContinueBackdrop),
        Picture(96, 134, Sprite::HeadingPlate), Picture(140, 208, Sprite::ChoicePlate), Continue,
        Big(188, 222, "Y E S"), Big(188, 256, "N O"), Big(156, 256, ">"), NameEntry},
       {"volume 32", "5", "bgm 01 Sky Fortress.mp3", "20", "16 at 40", "4 at 41", "21",
        "bgm 01 Sky Fortress.mp3", "20", "16 at 80", "4 at 81", "14", "14", "13"},
       {{OptionsSection, "TryCount", "2"}, {OptionsSection, "DeadCount", "2"}},
       0, 0},
      {"name entry",
       {Presses(Z), Fly(40), Key(SDLK_p), Presses(Down), Presses(Down), Presses(Z), Idle(1),
        Presses(Down), Presses(Z),                                           // no continue
        Presses(X),                                                          // one letter: no back
        Presses(Down), Presses(Z), Presses(Up), Idle(40), Presses(Z), Presses(Up),  // "ZAB"
        Presses(X), Presses(Z), Presses(Up), Presses(Up),                    // back to A, "ZAC"
        Presses(Z), Idle(80), Presses(Z)},                                   // the table
       {RankingBackdrop, HeadingPlate, RankingPlate, Picture(0, 292, Sprite::EntryHighlight),
        FirstPlace, FifthPlace, Picture(54, 438, Sprite::KeysPlate), NameEntry,
        Big(0, 260, "              20   DDD"), Big(0, 292, "               0    "),
        Small(98, 447, "UP/DOWN:LETTER  Z:NEXT  X:BACK  RETURN:END"),
        Big(0, 292, "               0   Z"), Big(0, 292, "               0   ZA"),
        Big(0, 292, "               0   Z_"), Big(0, 292, "               0   ZA"),
        Big(0, 292, "               0   ZAB"), Big(0, 292, "               0   ZA"),
        Big(0, 292, "               0   ZAC"), Big(156, 100, "HI SCORE"), RankingBackdrop,
        HeadingPlate, RankingPlate, FirstPlace, FifthPlace, Big(0, 292, "               0   ZAC"),
        Big(168, 263, "GAME START")},
       {"volume 32", "5", "bgm 01 Sky Fortress.mp3", "20", "16 at 40", "4 at 41", "14", "14",
        "13", "10", "5"},
       {{RankingSection, "N4", "ZAC"}, {RankingSection, "S4", "0"}, {RankingSection, "N3", "DDD"}},
       0, 3,  // back at the title, which shows a new game's ships
       {{"               0   ZAC", 48}, {"               0   Z_", 16}, {"               0   Z", 2}}},
      {"checkpoint",
       {Presses(Z), Fly(1600), Hold(0, 2300), Key(SDLK_p),  // P under GAME OVER: no pause
        Hold(0, 20000), Idle(1), Presses(Z), Fly(3200)},     // then Esc
       {StageStart},  // YES at once; the restart shows no start banner
       {"volume 32", "5", "bgm 01 Sky Fortress.mp3", "20", "10 at 224", "7 at 2165", "8 at 2215",
        "4 at 2466", "21", "bgm 01 Sky Fortress.mp3 at 1550", "20 at 1550", "10 at 3159"},
       {{OptionsSection, "TryCount", "2"}},
       268200, 1},  // a new game's three ships, one entered and one lost
      {"stage clear", {Presses(Z), Fly(20000)},
       {StageStart, Big(146, 100, "STAGE 1 CLEAR"), Big(74, 200, "DESTROY BOSS  BONUS 20000"),
        Big(74, 230, "STAGE  CLEAR  BONUS 10000"), Big(74, 260, "NO  CONTINUE  BONUS 10000"),
        Big(74, 260, "NO  CONTINUE  BONUS     0"), Big(74, 200, "DESTROY BOSS  BONUS     0"),
        NameEntry, Big(0, 164, "         1758200    ")},
       {"volume 32", "5", "bgm 01 Sky Fortress.mp3", "20", "10 at 224",
        "bgm 02 Citadel Guardian.mp3 at 6401", "13 at 10725"},
       {{OptionsSection, "StageClearCount", "1"}, {RankingSection, "S0", "1758200"}},
       1758200, 2, {}, true},
      {"resource dialog", {ResourceDialog(30), Idle(5)},
       {Big(168, 263, "GAME START"), Cursor263},
       {"volume 32", "5"},
       {},
       0, 3, {{"GAME START", 6}}, false, nullptr, 37},  // the dialog held the title 31 frames
      {"replay", {},
       {StageStart, PauseTitle, Big(176, 330, "> GIVE UP")},
       {"volume 32", "bgm 01 Sky Fortress.mp3", "20", "16 at 50"},
       {{OptionsSection, "TryCount", "(none)"}},
       0, 0, {}, false, VELDRANE_SOURCE_DIR "/tests/fixtures/replays/given_up_at_frame_50.vrp"},
  };
  return walks;
}

TEST_P(WalksTest, ShowsAndSoundsWhatThePlayerMeets) {
  const Walk& walk = GetParam();
  Run(walk);
  if (std::getenv("VELDRANE_DUMP_WALKS")) Dump(walk.name, flown);
  EXPECT_EQ(Unmet(walk.drawn), "") << "not drawn in its order";
  EXPECT_EQ(Heard(flown), walk.heard);
  StoreClose();
  for (const StoredValue& value : walk.stored)
    EXPECT_EQ(StoreGet(GameApplication, value.Section, value.Key, "(none)"),
              value.Text == "(here)" ? fs::current_path().string() : value.Text)
        << value.Key;
  EXPECT_EQ(Game.Score, walk.score);
  EXPECT_EQ(Game.Lives, walk.lives);
  if (walk.presents >= 0) {
    EXPECT_EQ(DrawLog.presents, walk.presents);
  }
  for (const auto& [text, frames] : walk.shownFor)
    EXPECT_EQ(FramesShowing(text), frames) << '"' << text << '"';
}

INSTANTIATE_TEST_SUITE_P(EveryPath, WalksTest, testing::ValuesIn(Walks()),
                         [](const testing::TestParamInfo<Walk>& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           return name;
                         });

}  // namespace
