// The frame-rate sampler on an injected frame counter and clock, and the statistics a whole run
// of the program leaves in the store.
#include "game/play_statistics.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <numeric>

#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "persist/fresh_settings_folder.h"
#include "persist/stored_values.h"
#include "platform/platform.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "support/button_script.h"
#include "support/headless.h"
#include "support/whole_program.h"

namespace {

class FrameRateSamplerTest : public testing::Test {
 protected:
  void SetUp() override {
    Stats = PlayStatistics{};
    FrameCounter = 0;
    Settings = SettingsState{};
    Display.FullScreen = false;
    Mixer = MixerState{};  // closed: no music plays
    Sounds.SoundEnabled = true;
  }
  void TearDown() override { Display.FullScreen = false; }

  // A second in which `frames` frames ran and were shown, ended by the timer's tick.
  static void Second(int32_t frames) {
    FrameCounter += frames;
    Stats.FramesShown += uint32_t(frames);
    SampleFrameRate();
  }
  // A play starts as the play loop starts it.
  static void StartPlay() {
    Stats.InPlay = true;
    Stats.PrevInPlay = false;
  }
  static int32_t Cell(int rate, int screen, int bgm, int se, int bucket) {
    return Stats.FpsCount[size_t(FpsCellIndex({rate, screen, bgm, se, bucket}))];
  }
  static int32_t Samples() {
    return std::accumulate(Stats.FpsCount.begin(), Stats.FpsCount.end(), 0);
  }
};

TEST_F(FrameRateSamplerTest, EachSecondGoesToTheBucketOfItsFrameCount) {
  StartPlay();
  Second(30);  // the play's first second
  for (int32_t frames : {14, 15, 25, 26, 35, 36, 45, 46}) Second(frames);
  EXPECT_EQ(Cell(0, 0, 0, 1, 0), 1);
  EXPECT_EQ(Cell(0, 0, 0, 1, 1), 2);
  EXPECT_EQ(Cell(0, 0, 0, 1, 2), 2);
  EXPECT_EQ(Cell(0, 0, 0, 1, 3), 2);
  EXPECT_EQ(Cell(0, 0, 0, 1, 4), 1);
  EXPECT_EQ(Samples(), 8);
  EXPECT_EQ(Stats.FpsText, "46");
}

TEST_F(FrameRateSamplerTest, TheAverageHalvesTheWeightOfOlderSamples) {
  StartPlay();
  Second(0);
  std::vector<int32_t> averages;
  for (int i = 0; i < 3; ++i) {
    Second(60);
    averages.push_back(Stats.FpsAvg);
  }
  EXPECT_EQ(averages, (std::vector<int32_t>{30, 45, 52}));
  Stats.FpsAvg = 31;
  Second(0);
  EXPECT_EQ(Stats.FpsAvg, 15) << "truncated";
}

TEST_F(FrameRateSamplerTest, OnlySecondsWithinAPlayAfterItsFirstAreCounted) {
  Second(30);  // at the title
  EXPECT_EQ(Stats.FpsText, "30") << "the overlay's figure is kept everywhere";
  StartPlay();
  Second(29);  // the play's first second
  Second(31);
  Stats.InPlay = false;  // the play ends
  Second(30);
  FrameCounter = 1550;  // the next play restarts at a checkpoint, within the same second
  StartPlay();
  Second(20);
  Second(24);
  EXPECT_EQ(Samples(), 2);
  EXPECT_EQ(Cell(0, 0, 0, 1, 2), 1);
  EXPECT_EQ(Cell(0, 0, 0, 1, 1), 1) << "24, not the 1550 frames of the restart";
  EXPECT_EQ(Stats.FpsAvg, (31 / 2 + 24) / 2);
}

TEST_F(FrameRateSamplerTest, TheCellTellsRateScreenAndWhetherEffectsAreHeard) {
  StartPlay();
  Second(30);
  Settings.MixRateIndex = 2;
  Display.FullScreen = true;
  Second(40);
  Mixer.SeVolume = 0;  // sound on, effects silent
  Second(40);
  Mixer.SeVolume = 1;
  Sounds.SoundEnabled = false;
  Settings.MixRateIndex = 1;
  Second(50);
  EXPECT_EQ(Cell(2, 1, 0, 1, 3), 1);
  EXPECT_EQ(Cell(2, 1, 0, 0, 3), 1);
  EXPECT_EQ(Cell(1, 1, 0, 0, 4), 1);
  EXPECT_EQ(Samples(), 3);
}

TEST_F(FrameRateSamplerTest, TheTimerTicksEverySecondAndOnceAfterAStall) {
  UseFakeClock(5000);
  RunFrameRateTimer();  // starts the timer
  StartPlay();
  auto frame = [] {
    ++FrameCounter;
    ++Stats.FramesShown;
    AdvanceFakeClock(100);
    RunFrameRateTimer();
  };
  for (int i = 0; i < 9; ++i) frame();
  EXPECT_EQ(Stats.FpsText, "") << "no second has passed";
  frame();
  EXPECT_EQ(Stats.FpsText, "10");
  for (int i = 0; i < 10; ++i) frame();
  EXPECT_EQ(Cell(0, 0, 0, 1, 0), 1) << "the second second counts";
  AdvanceFakeClock(4500);  // a stall of several seconds
  frame();
  EXPECT_EQ(Stats.FpsText, "1");
  frame();
  EXPECT_EQ(Stats.FpsText, "1") << "no ticks are made up";
  for (int i = 0; i < 9; ++i) frame();
  EXPECT_EQ(Stats.FpsText, "10") << "the next tick comes a second after the late one";
  UseRealClock();
}

// The top line of the score panel, where the overlay puts the frame rate.
std::vector<uint16_t> OverlayLine() {
  std::vector<uint16_t> pixels;
  for (int y = 0; y < 10; ++y)
    for (int x = 448; x < ScreenWidth; ++x) pixels.push_back(PixelAt(Display.BackBuffer, x, y));
  return pixels;
}

void PutOverlayLine(const std::vector<uint16_t>& pixels) {
  auto* row = static_cast<uint8_t*>(Display.BackBuffer->pixels);
  size_t at = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 448; x < ScreenWidth; ++x)
      reinterpret_cast<uint16_t*>(row + y * Display.BackBuffer->pitch)[x] = pixels[at++];
}

TEST(FrameRateOverlayTest, ThePlayShowsTheLastSecondsFramesWhenSwitchedOn) {
  StartStageWorld();
  Stats = PlayStatistics{};
  Program.ShowFrameRate = false;
  for (int frame = 0; frame < 45; ++frame) PlayFrame();
  const std::vector<uint16_t> without = OverlayLine();
  Program.ShowFrameRate = true;
  PlayFrame();
  const std::vector<uint16_t> with = OverlayLine();
  EXPECT_EQ(Stats.FpsText, "31") << "33 ms frames on the scripted clock";
  EXPECT_NE(with, without);
  PutOverlayLine(without);
  FillBox(448, -1, TextWidth("31 FPS", SmallFontBase) + 2, FontHeight(SmallFontBase) + 3, 0);
  DrawText(448, 0, "31 FPS");
  EXPECT_EQ(OverlayLine(), with) << "on a black box a pixel larger all round";
  Program.ShowFrameRate = false;
  StopHeadlessDisplay();
}

// The overlay's figures through a play of 100 frames after the title stood idle until the high
// scores came (the title sets its frame counter back), and through a play paused for three
// seconds at frame 40 (the stage clock stands still in the menu, which shows ten frames a
// second): each the frames shown in the last second, as it changes.
TEST(FrameRateOverlayTest, ShowsTheFramesOfTheLastSecondAfterAnIdleTitleOrAPause) {
  struct Row {
    const char* name;
    bool idleTitle;
    int32_t pauseAt;  // -1: no pause
    std::vector<std::string> shown;
  };
  const Row rows[] = {
      {"idle title", true, -1, {"30 FPS"}},
      // The second in the menu, the one the play came back in, and the play's own.
      {"pause", false, 40, {" FPS", "30 FPS", "10 FPS", "23 FPS", "30 FPS"}},
  };
  for (const Row& row : rows) {
    StartStageWorld();
    Stats = PlayStatistics{};
    Program.ShowFrameRate = true;
    if (row.idleTitle) {
      ScriptButtons({{0}});
      TitleMenu();
      HiScoreScreen();
    }
    int32_t pauseReads = -1;
    SetButtonSource([&]() -> uint16_t {
      if (!Stats.InPlay) return pauseReads >= 0 && ++pauseReads == 30 ? BTN_Z : 0;  // RETURN
      if (FrameCounter == row.pauseAt && pauseReads < 0) {
        Program.PauseRequested = true;
        pauseReads = 0;
      }
      return FrameCounter >= 100 ? BTN_ESC : 0;
    });
    DrawLog = {};
    DrawLog.recording = true;
    RunGame();
    std::vector<std::string> shown;
    for (const DrawnItem& item : DrawLog.items)
      if (item.x == 448 && item.y == 0 && !item.text.empty() &&
          (shown.empty() || shown.back() != item.text))
        shown.push_back(item.text);
    EXPECT_EQ(shown, row.shown) << row.name;
    DrawLog = {};
    Program.ShowFrameRate = Program.QuitRequested = false;
    StopHeadlessDisplay();
  }
}

// ---- what a run of the program stores ----

class StoredStatisticsTest : public WholeProgramTest {
 protected:
  static std::string Saved(const std::string& key) {
    return StoreGet(GameApplication, OptionsSection, key, "(none)");
  }
};

// Esc on the title: no play, yet every total is written.
TEST_F(StoredStatisticsTest, ARunWithoutPlayWritesTheTotalsButNoAverage) {
  ScriptButtons(Presses({BTN_ESC}));
  EXPECT_EQ(Main(), 0);
  for (int cell = 0; cell < FpsCellCount; ++cell) EXPECT_EQ(Saved(FpsCellKey(cell)), "0");
  EXPECT_EQ(Saved(TryCountKey), "0");
  EXPECT_EQ(Saved(DeadCountKey), "0");
  EXPECT_EQ(Saved(FpsAvgKey), "(none)");
  EXPECT_EQ(Saved(InstallDateKey).size(), 14u);
  EXPECT_EQ(Saved(LastUpdateKey), Saved(InstallDateKey));
  EXPECT_EQ(Saved(GameVersionKey), "20031227 1.0.30");
}

// Two runs: the first plays 400 frames (at 33 ms on the scripted clock) and leaves with Esc.
TEST_F(StoredStatisticsTest, APlayLeftWithEscapeIsCountedAndItsSecondsSampled) {
  StoreSave(GameApplication, {{OptionsSection, InstallDateKey, "20031227000000"}});
  int32_t framesPlayed = 0;
  ScriptButtons(Presses({BTN_Z}), [&]() -> uint16_t {
    if (!Stats.InPlay) return 0;
    return ++framesPlayed > 400 ? BTN_ESC : 0;
  });
  EXPECT_EQ(Main(), 0);
  const PlayTotals totals = ReadPlayTotals();
  EXPECT_EQ(totals.TryCount, 1);
  EXPECT_EQ(totals.DeadCount, 1) << "left before the boss fell";
  EXPECT_EQ(totals.StageClearCount, 0);
  // 13.2 seconds of play at 30 or 31 frames a second; the first one is not counted.
  const int cell = FpsCellIndex({0, 0, 1, 1, 2});
  EXPECT_EQ(totals.FpsCount[size_t(cell)], 12);
  EXPECT_EQ(std::accumulate(totals.FpsCount.begin(), totals.FpsCount.end(), int64_t(0)), 12);
  EXPECT_EQ(totals.FpsAvg, 30);
  EXPECT_EQ(totals.InstallDate, "20031227000000");

  ScriptButtons(Presses({BTN_ESC}));
  EXPECT_EQ(Main(), 0);
  const PlayTotals after = ReadPlayTotals();
  EXPECT_EQ(after.TryCount, 1);
  EXPECT_EQ(after.FpsCount, totals.FpsCount) << "a run without play adds nothing";
  EXPECT_EQ(after.FpsAvg, 30) << "kept from the run that played";
}

}  // namespace
