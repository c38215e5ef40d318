// The menus and score screens, driven by scripted buttons on the headless display.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <tuple>

#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "persist/fresh_settings_folder.h"
#include "persist/settings_store.h"
#include "platform/imgui_layer.h"
#include "platform/platform.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "stage/stage_state.h"
#include "tools/keys_dialog.h"
#include "support/button_script.h"
#include "support/headless.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

class SceneTest : public FreshSettingsFolder {
 protected:
  void SetUp() override {
    FreshSettingsFolder::SetUp();
    StartHeadlessDisplay();
    LoadImageResources(BuiltResourceFolder());
    Mixer = MixerState{};
    Sounds = SoundEffectsState{};
    Sounds.SoundEnabled = false;
    BuildSeTable();
    Settings = SettingsState{};
    ResetScoreRanking();
    Game = GameRecord{};
    Play = PlayState{};
  }
  void TearDown() override {
    Input.bindings = DefaultBindings();
    SoundClose();
    StopHeadlessDisplay();
    FreshSettingsFolder::TearDown();
  }

  // A ranking of five easy places, best first.
  void UseRanking(std::initializer_list<int32_t> points) {
    size_t i = 0;
    for (int32_t p : points) Settings.ScoreRanking[i++] = {p, "PRO"};
  }
};

constexpr uint16_t Up = BTN_UP, Down = BTN_DOWN, Left = BTN_LEFT, Right = BTN_RIGHT;
constexpr uint16_t Z = BTN_Z, X = BTN_X, C = BTN_C, Esc = BTN_ESC, Return = BTN_RETURN;

// ---- the stored options ----

// Each stored number is kept to its option's range, never wrapped; one that is no number is
// damage: its default, and one line naming it.
TEST_F(SceneTest, StoredOptionsAreKeptToTheirRangesAndDamageGetsItsDefault) {
  struct Row {
    const char* section;
    const char* key;
    const char* stored;
    int64_t (*inMemory)();
    int64_t expected;
    bool told;
  };
  const auto rate = [] { return int64_t(Mixer.MixRate) * 10 + Settings.MixRateIndex; };
  const auto music = [] { return int64_t(Mixer.MusicVolume); };
  const auto effects = [] { return int64_t(Mixer.SeVolume); };
  const auto zoom = [] { return int64_t(Settings.WindowZoom); };
  const auto sound = [] { return int64_t(Sounds.SoundEnabled); };
  const auto first = [] { return int64_t(Settings.ScoreRanking[0].Points); };
  const auto keys = [] {  // fire, turn and the controller's pause, two digits each
    const auto& code = Input.bindings.code;
    return int64_t(code[BindFire]) * 10000 + code[BindTurn] * 100 + code[BindPadPause];
  };
  const Row rows[] = {
      {"SAVE", "MixRate", "21000", rate, 110250, false},
      {"SAVE", "MixRate", "21001", rate, 220501, false},
      {"SAVE", "MixRate", "43000", rate, 220501, false},
      {"SAVE", "MixRate", "43001", rate, 441002, false},
      {"SAVE", "MixRate", "3000000000", rate, 441002, false},
      {"SAVE", "MixRate", "fast", rate, 110250, true},
      {"SAVE", "CurrentBGMVol", "70000", music, 255, false},
      {"SAVE", "CurrentBGMVol", "-3", music, 0, false},
      {"SAVE", "CurrentBGMVol", "12.5", music, 12, false},
      {"SAVE", "CurrentBGMVol", "loud", music, 32, true},
      {"SAVE", "CurrentSEVol", "256", effects, 255, false},
      {"SAVE", "WindowZoom", "7", zoom, 3, false},
      {"SAVE", "WindowZoom", "0", zoom, 1, false},
      {"SAVE", "WindowZoom", "big", zoom, 1, true},
      {"SAVE", "FModEnabled", "2", sound, 0, false},
      {"SAVE", "FModEnabled", "1", sound, 1, false},
      {"ScoreRanking", "S0", "lots", first, 8000000, true},
      {"Keys", "Fire", "a", keys, 42706, false},      // A, X, START: names ignore case
      {"Keys", "Fire", "F13", keys, 292706, true},    // no key the game binds: Z
      {"Keys", "Fire", "RETURN", keys, 292706, true},
      {"Keys", "Turn", "Z", keys, 292706, true},      // Fire's key: the usual keys
      {"Keys", "PadPause", "B", keys, 292706, true},  // the controller's turn
      {"Keys", "PadPause", "Y", keys, 292703, false},
  };
  for (const Row& row : rows) {
    StoreClose();
    std::filesystem::remove_all(StoreFolder());
    // Sound off, which the rows do not need, keeps the loading quick.
    ASSERT_TRUE(StoreSave(GameApplication,
                          {{"SAVE", "FModEnabled", "0"}, {row.section, row.key, row.stored}}));
    CaptureStderr();
    LoadSettings();
    const std::string told = GetCapturedStderr();
    EXPECT_EQ(row.inMemory(), row.expected) << row.key << " " << row.stored;
    const bool named = told.find(std::string(" を ") + row.key + " の値") != std::string::npos;
    EXPECT_EQ(named, row.told) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), row.told ? 1 : 0) << told;
  }
}

// ---- the title ----

TEST_F(SceneTest, TitleCursorStopsAtTheEndsAndAHeldKeyMovesOnce) {
  std::vector<ButtonStep> script = {{0}, {Down, 5}, {0}, {Down}, {0}, {Down}, {0}, {Z}};
  ScriptButtons(script);
  EXPECT_EQ(TitleMenu(), SceneLeave) << "Down at QUIT stays on QUIT";
  ScriptButtons({{0}, {Down}, {0}, {Up | Down}, {0}, {X}});
  EXPECT_EQ(TitleMenu(), SceneSecondChoice) << "X confirms; two keys at once move nothing";
  ScriptButtons({{0}, {Return}, {0}, {C}, {0}, {Z}});
  EXPECT_EQ(TitleMenu(), SceneFirstChoice) << "Return and C do not confirm";
  EXPECT_EQ(ButtonReads(), 6);
  EXPECT_FALSE(Program.QuitRequested);
  ScriptButtons({{0}, {Down}, {0}, {Esc}});
  TitleMenu();
  EXPECT_TRUE(Program.QuitRequested);
}

// Where the demo ships, 30 s without a key start it: 910 frames of 33 ms are shown, and the
// next, at 30.03 s, ends the title. Without it, a thousand idle frames show the high scores.
// A key half way starts the count again.
TEST_F(SceneTest, AnIdleTitleShowsTheDemoElseTheHighScores) {
  const std::filesystem::path before = std::filesystem::current_path();
  struct Row {
    std::filesystem::path folder;
    int16_t scene;
    int32_t idleReads;
  };
  for (const Row& row : {Row{VELDRANE_BUILD_DIR, SceneDemo, 911},
                         Row{ScratchFolder(), SceneIdle, 1001}}) {
    std::filesystem::current_path(row.folder);
    ScriptButtons({{0}});
    EXPECT_EQ(TitleMenu(), row.scene);
    EXPECT_EQ(ButtonReads(), 1 + row.idleReads) << "the frames shown, and the one that ends it";
    ScriptButtons({{0, 500}, {Down}});
    EXPECT_EQ(TitleMenu(), row.scene);
    EXPECT_EQ(ButtonReads(), 500 + row.idleReads);
  }
  std::filesystem::current_path(before);
}

// ---- the player's keys ----

// In the Keys window, taken from the menu: Fire waits for a key, refuses Turn's X and Return
// with their reasons, takes A; Return then keeps the keys. They are stored, read back at the
// next start, steer the buttons, and the title tells them.
TEST_F(SceneTest, KeysChosenInTheWindowAreRefusedOnConflictStoredAndUsed) {
  const auto tap = [](SDL_Scancode key) {
    SDL_Event event{};
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    for (uint32_t type : {SDL_KEYDOWN, SDL_KEYUP}) {
      event.type = type;
      SDL_PushEvent(&event);
    }
  };
  std::vector<std::string> refusals;
  int32_t frame = 0;
  Imgui.dialogScript = [&] {
    if (frame > 0) refusals.push_back(KeysDialog.message);
    if (frame == 0) KeysDialog.waiting = BindFire;  // its button clicked
    constexpr SDL_Scancode Taps[] = {SDL_SCANCODE_X, SDL_SCANCODE_RETURN, SDL_SCANCODE_A,
                                     SDL_SCANCODE_RETURN};
    if (frame < 4) tap(Taps[frame]);
    return ++frame < 10;
  };
  Platform.pendingCommands.push_back(WindowCommand::Keys);
  WaitFrame(33);
  ShowFrame();
  Imgui.dialogScript = nullptr;
  EXPECT_EQ(frame, 5) << "closed by Return once A was taken";
  EXPECT_EQ(refusals,
            (std::vector<std::string>{"X はすでに ターン のキーです。",
                                      "Esc と Return には決まった役目があるため、割り当てられません。",
                                      "", ""}));
  EXPECT_FALSE(Program.PauseRequested) << "the game held only while the window was open";

  Input.bindings = DefaultBindings();
  LoadSettings();
  EXPECT_EQ(StoreGet(GameApplication, "keys", "FIRE", ""), "A");
  std::array<uint8_t, SDL_NUM_SCANCODES> held{};
  held[SDL_SCANCODE_A] = held[SDL_SCANCODE_X] = 1;
  EXPECT_EQ(KeyboardButtons(held.data()), BTN_Z | BTN_X);
  held[SDL_SCANCODE_A] = 0;
  held[SDL_SCANCODE_Z] = 1;
  EXPECT_EQ(KeyboardButtons(held.data()), BTN_X) << "Z fires no more";

  DrawLog = {};
  DrawLog.recording = true;
  ScriptButtons({{0}, {Esc}});
  TitleMenu();
  DrawLog.recording = false;
  const std::string line = "A:SHOT  X:TURN  P:PAUSE  ESC:QUIT";
  EXPECT_EQ(std::count_if(DrawLog.items.begin(), DrawLog.items.end(),
                          [&](const DrawnItem& item) { return item.text == line; }),
            1);
}

// ---- the option menu ----

TEST_F(SceneTest, WithSoundOffTheVolumesArePassedOver) {
  // Down from FMOD SOUND SYSTEM lands on SCREEN MODE; Right there switches to full screen.
  ScriptButtons(Presses({Down, Down, Right, Esc}));
  EXPECT_EQ(OptionMenu(), 0);
  EXPECT_TRUE(Display.FullScreen);
  EXPECT_TRUE(Program.PauseRequested) << "a switch asks for the pause menu";
}

TEST_F(SceneTest, WithSoundOnTheVolumesStepInPowersOfTwo) {
  StoreSave(GameApplication, {{OptionsSection, "FModEnabled", "1"}});
  LoadSettings();
  ASSERT_TRUE(Sounds.SoundEnabled);
  ASSERT_TRUE(Mixer.open);
  EXPECT_EQ(Mixer.MusicVolume, 32);
  // 32 shows as 5 steps (log2 33 = 5.04); Right makes 6, that is 63.
  ScriptButtons(Presses({Down, Down, Right, Down, Left, Left, Esc}));
  OptionMenu();
  EXPECT_EQ(Mixer.MusicVolume, 63);
  EXPECT_EQ(Mixer.SeVolume, 7);
  EXPECT_EQ(StoreGet(GameApplication, OptionsSection, "CurrentBGMVol", ""), "63") << "saved";
  EXPECT_EQ(StoreGet(GameApplication, OptionsSection, "CurrentSEVol", ""), "7");
}

TEST_F(SceneTest, ClearingTheHighScoresAsksFirst) {
  UseRanking({50, 40, 30, 20, 10});
  const ScoreRankingTable before = Settings.ScoreRanking;
  // Down to HISCORE CLEAR (over the disabled volumes), Z, Left (NO), Z.
  ScriptButtons(Presses({Down, Down, Down, Z, Left, Z, Esc}));
  OptionMenu();
  EXPECT_EQ(Settings.ScoreRanking, before) << "cancelled";
  ScriptButtons(Presses({Down, Down, Down, Z, Right, Z, Esc}));
  OptionMenu();
  EXPECT_EQ(Settings.ScoreRanking, BuiltInRanking());
  EXPECT_EQ(Settings.HiScore, 8000000);
  EXPECT_EQ(StoreGet(GameApplication, RankingSection, "S0", ""), "8000000");
}

// Escape in the music-folder picker closes the picker as the key comes up, so the menu below
// never finds it held: the menu stays open and the folder as it was.
TEST_F(SceneTest, EscapeInTheFolderPickerClosesOnlyThePicker) {
  int32_t dialogFrames = 0, heldReads = 0;
  Imgui.dialogScript = [&] {  // a person: Escape down in the first frame, up in the fourth
    SDL_Event key{};
    key.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    key.key.keysym.sym = SDLK_ESCAPE;
    key.type = ++dialogFrames == 1 ? SDL_KEYDOWN : SDL_KEYUP;
    if (dialogFrames == 1 || dialogFrames == 4) SDL_PushEvent(&key);
    heldReads = dialogFrames < 4 ? 3 : 0;  // a closed picker leaves the key held a little
    return dialogFrames < 20;
  };
  const uint16_t afterPicker[] = {Down, 0, Z, 0};  // to EXIT, and out
  size_t next = 0;
  // Sound off: MIXRATE, FMOD SOUND SYSTEM, SCREEN MODE, HISCORE CLEAR, SHOW FRAME RATE, BGM FOLDER.
  ScriptButtons(Presses({Down, Down, Down, Down, Down, Z}), [&]() -> uint16_t {
    if (heldReads > 0 && heldReads--) return Esc;
    return next < std::size(afterPicker) ? afterPicker[next++] : Esc;
  });
  OptionMenu();
  Imgui.dialogScript = nullptr;
  EXPECT_EQ(dialogFrames, 5) << "closed in the frame that saw Escape come up";
  EXPECT_EQ(next, std::size(afterPicker)) << "the menu was left by EXIT";
  EXPECT_EQ(Settings.BgmFolder, "");
  EXPECT_FALSE(Program.QuitRequested);
}

TEST_F(SceneTest, TheFrameRateSwitchIsSavedAndTheStageClockKept) {
  FrameCounter = 4321;
  // Down to SHOW FRAME RATE: MIXRATE, SOUND, SCREEN MODE, HISCORE CLEAR, SHOW FRAME RATE.
  ScriptButtons(Presses({Down, Down, Down, Down, Left, Esc}));
  OptionMenu();
  EXPECT_TRUE(Program.ShowFrameRate);
  EXPECT_EQ(StoreGet(GameApplication, OptionsSection, "ShowFrameRate", ""), "1");
  EXPECT_EQ(FrameCounter, 4321);
}

// ---- after a play ----

TEST_F(SceneTest, AnEqualScoreIsPlacedAboveTheOldOne) {
  UseRanking({500, 400, 300, 200, 100});
  Game.Score = 300;
  ScriptButtons(Presses({Z, Z, Z}), [] { return uint16_t(Return); });
  NameEntryScreen();
  const ScoreRankingTable& ranking = Settings.ScoreRanking;
  EXPECT_EQ(ranking[2], (ScoreEntry{300, "AAA"}));
  EXPECT_EQ(ranking[3], (ScoreEntry{300, "PRO"}));
  EXPECT_EQ(ranking[4], (ScoreEntry{200, "PRO"})) << "the old last place dropped out";
  EXPECT_EQ(StoreGet(GameApplication, RankingSection, "N2", ""), "AAA");
}

TEST_F(SceneTest, LettersWrapAndZOnTheThirdLetterEndsTheEntry) {
  UseRanking({500, 400, 300, 200, 100});
  Game.Score = 1000;
  // Down from A is Z; the next letter starts from Z, Up wraps it to A; then B.
  ScriptButtons(Presses({Down, Z, Up, Z, Up, Up, Z}), [] { return uint16_t(Return); });
  NameEntryScreen();
  EXPECT_EQ(Settings.ScoreRanking[0], (ScoreEntry{1000, "ZAC"}));
}

TEST_F(SceneTest, ReturnEndsTheNameAsItIsShown) {
  UseRanking({500, 400, 300, 200, 100});
  Game.Score = 150;
  ScriptButtons(Presses({Up, Return}), [] { return uint16_t(Return); });
  NameEntryScreen();
  EXPECT_EQ(Settings.ScoreRanking[4], (ScoreEntry{150, "B"}));
}

TEST_F(SceneTest, AScoreBelowTheTableMakesNoEntryButSaves) {
  UseRanking({500, 400, 300, 200, 100});
  Game.Score = 99;
  ScriptButtons({});
  NameEntryScreen();
  EXPECT_EQ(ButtonReads(), 0);
  EXPECT_EQ(StoreGet(GameApplication, RankingSection, "S4", ""), "100");
}

TEST_F(SceneTest, ContinueWithEscKeepsTheChoiceShown) {
  ScriptButtons({{0}, {Down}, {0}, {Esc}});
  EXPECT_EQ(ContinueScreen(), 2);
  EXPECT_TRUE(Program.QuitRequested);
  Program.QuitRequested = false;
  ScriptButtons(Presses({Down, Up, Return}));
  EXPECT_EQ(ContinueScreen(), 1);
  EXPECT_FALSE(Program.QuitRequested);
}

TEST_F(SceneTest, TheHighScoreTableLeavesByItselfAfter501Frames) {
  ScriptButtons({{0}});
  HiScoreScreen();
  EXPECT_EQ(ButtonReads(), 1 + 502);
}

// Each screen after a play stands on its picture: more than half of the play field's pixels
// are lit in the frame it leaves in the back buffer.
TEST_F(SceneTest, ScreensAfterAPlayFillThePlayField) {
  struct Row {
    const char* scene;
    int16_t (*run)();
    uint16_t leave;
  };
  UseRanking({500, 400, 300, 200, 100});
  Game.Score = 1000;
  for (const Row& row : {Row{"continue", ContinueScreen, Z}, Row{"name entry", NameEntryScreen, Return},
                         Row{"high scores", HiScoreScreen, Z}}) {
    ClearBackBuffer();
    ScriptButtons({{0}, {0}, {row.leave}}, [&] { return row.leave; });
    row.run();
    int32_t lit = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 448; ++x) lit += PixelAt(Display.BackBuffer, x, y) != 0;
    EXPECT_GT(lit, 448 * 480 / 2) << row.scene;
  }
}

// ---- the pause menu ----

// The frozen play behind the menu at a quarter of its light, over the field and the panel alike,
// and no darker for the frames the menu stays.
TEST_F(SceneTest, ThePauseMenuDimsTheFrozenPlayBehindIt) {
  const std::pair<int32_t, uint16_t> rows[] = {
      {0xFFFFFF, 0x39E7},  // white
      {0x00FFFF, 0x39E0},  // the hazard stripes' yellow
      {0x000000, 0x0000},
  };
  for (const auto& [colour, dimmed] : rows) {
    ClearSurface(Display.BackBuffer, ColorToPixel(colour));
    Program.PauseRequested = true;
    ScriptButtons({{0, 6}, {Z}, {0}});  // five frames of the menu, then RETURN
    PauseMenu();
    EXPECT_EQ(PixelAt(Display.BackBuffer, 5, 5), dimmed) << colour;
    EXPECT_EQ(PixelAt(Display.BackBuffer, 600, 470), dimmed) << colour;
  }
}

// ---- the panel ----

// Every game's panel starts as at start-up: its first lost ship breaks up from the whole icon
// (388 to 395), later ones from the next frame (389 to 395), whatever the game before left.
TEST_F(SceneTest, EachGamesFirstLostShipBreaksUpFromItsWholeIcon) {
  const std::vector<int32_t> whole = {388, 389, 390, 391, 392, 393, 394, 395};
  const std::vector<int32_t> later(whole.begin() + 1, whole.end());
  for (int game = 0; game < 2; ++game) {
    Game.Lives = 3;
    ScorePanel();  // the title
    ResetScorePanel();
    for (int16_t lives : {2, 1, 0}) {  // the first ship enters, then two are lost
      Game.Lives = lives;
      DrawLog = {};
      DrawLog.recording = true;
      for (int frame = 0; frame < 10; ++frame) ScorePanel();
      std::vector<int32_t> breakUp;
      for (const DrawnItem& item : DrawLog.items)
        if (item.x == (lives + 15) * 32 && item.y == 424) breakUp.push_back(item.sprite);
      EXPECT_EQ(breakUp, lives == 2 ? std::vector<int32_t>{} : lives == 1 ? whole : later)
          << "game " << game << ", " << lives << " left";
    }
  }
  DrawLog = {};
}

TEST_F(SceneTest, AnExtraShipComesStrictlyPastTheExtendScore) {
  const auto fanfares = [] {
    return std::count_if(SoundLog.items.begin(), SoundLog.items.end(), [](const HeardSound& heard) {
      return heard.kind == HeardKind::Effect && heard.effect == SE_FANFARE;
    });
  };
  SoundLog = SoundLogState{true, {}};
  Sounds.SoundEnabled = true;  // heard in the log; no mixer is open to play it
  Mixer.SeVolume = 32;
  Game.Lives = 2;
  Game.Score = 2000000;
  ScorePanel();
  EXPECT_EQ(std::pair(Game.Lives, fanfares()), std::pair(int16_t(2), std::ptrdiff_t(0)));
  Game.Score = 2000001;
  ScorePanel();
  EXPECT_EQ(std::pair(Game.Lives, fanfares()), std::pair(int16_t(3), std::ptrdiff_t(1)))
      << "the ship comes with its fanfare";
  SoundLog = SoundLogState{};
  EXPECT_EQ(Play.NextExtendScore, 4000000);
  EXPECT_EQ(Settings.HiScore, 8000000) << "not passed";
  Game.Score = 9000000;
  ScorePanel();
  EXPECT_EQ(Settings.HiScore, 9000000);
}

// The next extend, the high score and the score, right-aligned in eleven places up to the
// widest score the game holds, and nothing drawn past the screen's right edge.
TEST_F(SceneTest, ThePanelsNumbersFitUpToTheWidestScore) {
  // The extend, the high score and the score; the three lines drawn for them.
  const std::pair<std::array<int32_t, 3>, std::array<std::string, 3>> rows[] = {
      {{2000000, 8000000, 0}, {"    2000000", "    8000000", "          0"}},
      // Ten digits: one more than a field of nine holds.
      {{1000000000, 1000000000, 999999999}, {" 1000000000", " 1000000000", "  999999999"}},
      {{2147483647, 2147483647, 2147483647}, {" 2147483647", " 2147483647", " 2147483647"}},
  };
  const int32_t advance = SpriteBox('A' + LargeFontBase).Width + 1;
  for (const auto& [numbers, lines] : rows) {
    Play.NextExtendScore = numbers[0];
    Settings.HiScore = numbers[1];
    Game.Score = numbers[2];
    DrawLog = {};
    DrawLog.recording = true;
    ScorePanel();
    std::vector<std::tuple<int32_t, int32_t, int32_t, std::string>> texts;
    for (const DrawnItem& item : DrawLog.items) {
      if (!item.text.empty()) texts.push_back({item.x, item.y, item.sprite, item.text});
      const SpriteRecord& box = SpriteBox(item.sprite);
      const int32_t right = item.text.empty() ? item.x + box.Left + box.Width
                                              : item.x + int32_t(item.text.size()) * advance - 1;
      EXPECT_LE(right, 640) << item.x << " " << item.sprite << " '" << item.text << "'";
    }
    EXPECT_EQ(texts, (decltype(texts){{480, 264, LargeFontBase, lines[0]},
                                      {480, 328, LargeFontBase, lines[1]},
                                      {480, 392, LargeFontBase, lines[2]}}))
        << numbers[2];
  }
  DrawLog = {};
}

}  // namespace
