#include "persist/play_totals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persist/child_process.h"
#include "persist/fresh_settings_folder.h"
#include "persist/stored_values.h"

namespace {

constexpr ProgramVersion Game{1, 0, 30};
constexpr ProgramVersion Poster{1, 0, 7};

class PlayTotalsTest : public FreshSettingsFolder {};

std::string Saved(const std::string& key) {
  return StoreGet(GameApplication, OptionsSection, key, "(none)");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at) + "(no CR LF)");
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

TEST(FpsCellTest, BucketsMeetAtTheirEdges) {
  const std::vector<std::pair<int32_t, int>> cases = {
      {-3, 0}, {0, 0}, {14, 0}, {15, 1}, {25, 1}, {26, 2},
      {35, 2}, {36, 3}, {45, 3}, {46, 4}, {1000, 4},
  };
  for (const auto& [rate, bucket] : cases) EXPECT_EQ(FpsBucket(rate), bucket) << rate;
}

TEST(FpsCellTest, KeysNameRateScreenMusicEffectsAndBucket) {
  EXPECT_EQ(FpsCellKey(0), "F00000");
  EXPECT_EQ(FpsCellKey(FpsCellIndex({1, 0, 1, 1, 3})), "F10113");
  EXPECT_EQ(FpsCellKey(FpsCellIndex({0, 1, 0, 0, 4})), "F01004");
  EXPECT_EQ(FpsCellKey(FpsCellCount - 1), "F21114");
  EXPECT_EQ(FpsCellIndex({0, 0, 0, 1, 0}), 5) << "the bucket varies fastest";
}

TEST(FpsCellTest, VersionsAndTimesHaveTheirFixedForms) {
  EXPECT_EQ(VersionText(Game), "20031227 1.0.30");
  EXPECT_EQ(VersionText({12, 3, 456}), "20031227 12.3.456");
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(TimeStamp(0), "19700101000000");
  EXPECT_EQ(TimeStamp(1072483199), "20031226235959");
  unsetenv("TZ");
  tzset();
}

TEST_F(PlayTotalsTest, TheFirstSaveDatesTheInstallAndLaterOnesOnlyTheUpdate) {
  PlayFigures run;
  ASSERT_TRUE(AddToPlayTotals(run, "20261208112233", Game));
  EXPECT_EQ(Saved(InstallDateKey), "20261208112233");
  EXPECT_EQ(Saved(LastUpdateKey), "20261208112233");
  ASSERT_TRUE(AddToPlayTotals(run, "20261209000001", {1, 0, 31}));
  EXPECT_EQ(Saved(InstallDateKey), "20261208112233");
  EXPECT_EQ(Saved(LastUpdateKey), "20261209000001");
  EXPECT_EQ(Saved(GameVersionKey), "20031227 1.0.31");
}

TEST_F(PlayTotalsTest, ARunWithoutPlayWritesEveryCellButNoAverage) {
  StoreSave(GameApplication, {{OptionsSection, "f10113", "7"}});  // names ignore case
  ASSERT_TRUE(AddToPlayTotals(PlayFigures{}, "20261208112233", Game));
  for (int cell = 0; cell < FpsCellCount; ++cell)
    EXPECT_EQ(Saved(FpsCellKey(cell)), cell == FpsCellIndex({1, 0, 1, 1, 3}) ? "7" : "0");
  EXPECT_EQ(Saved(TryCountKey), "0");
  EXPECT_EQ(Saved(StageClearCountKey), "0");
  EXPECT_EQ(Saved(DeadCountKey), "0");
  EXPECT_EQ(Saved(FpsAvgKey), "(none)");
  EXPECT_EQ(Saved(GameVersionKey), "20031227 1.0.30");
}

TEST_F(PlayTotalsTest, TotalsAddUpOverRunsAndTheAverageIsKeptAboveFive) {
  PlayFigures run;
  run.FpsCount[3] = 10;
  run.FpsCount[FpsCellCount - 1] = 2;
  run.TryCount = 3;
  run.StageClearCount = 1;
  run.DeadCount = 2;
  run.FpsAvg = 29;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(AddToPlayTotals(run, "20261208112233", Game));
  EXPECT_EQ(Saved(FpsCellKey(3)), "30");
  EXPECT_EQ(Saved("F21114"), "6");
  EXPECT_EQ(Saved(TryCountKey), "9");
  EXPECT_EQ(Saved(StageClearCountKey), "3");
  EXPECT_EQ(Saved(DeadCountKey), "6");
  EXPECT_EQ(Saved(FpsAvgKey), "29");

  run.FpsAvg = 5;  // not above 5: the stored one stays
  ASSERT_TRUE(AddToPlayTotals(run, "20261208112233", Game));
  EXPECT_EQ(Saved(FpsAvgKey), "29");
  run.FpsAvg = 6;
  ASSERT_TRUE(AddToPlayTotals(run, "20261208112233", Game));
  EXPECT_EQ(Saved(FpsAvgKey), "6");
}

TEST_F(PlayTotalsTest, StrangeStoredTotalsCountAsTheirLeadingNumber) {
  StoreSave(GameApplication, {{OptionsSection, TryCountKey, "many"},
                              {OptionsSection, DeadCountKey, "12.5 plays"},
                              {OptionsSection, StageClearCountKey, "9223372036854775807"},
                              {OptionsSection, "F00000", "4294967296"}});
  PlayFigures run;
  run.TryCount = run.DeadCount = run.StageClearCount = 1;
  run.FpsCount[0] = 1;
  ASSERT_TRUE(AddToPlayTotals(run, "20261208112233", Game));
  EXPECT_EQ(Saved(TryCountKey), "1");
  EXPECT_EQ(Saved(DeadCountKey), "13");
  EXPECT_EQ(Saved(StageClearCountKey), "9223372036854775807") << "a full counter stays full";
  EXPECT_EQ(Saved("F00000"), "4294967297") << "counts outgrow 32 bits";
}

TEST_F(PlayTotalsTest, TwoProgramsSavingAtOnceBothCount) {
  constexpr int Runs = 40;
  const auto saveRuns = [] {
    PlayFigures run;
    run.TryCount = 1;
    run.FpsCount[17] = 2;
    for (int i = 0; i < Runs; ++i)
      if (!AddToPlayTotals(run, "20261208112233", Game)) return false;
    return true;
  };
  const pid_t first = InChild(saveRuns);
  const pid_t second = InChild(saveRuns);
  EXPECT_EQ(ExitCode(first), 0);
  EXPECT_EQ(ExitCode(second), 0);
  EXPECT_EQ(Saved(TryCountKey), std::to_string(2 * Runs));
  EXPECT_EQ(Saved(FpsCellKey(17)), std::to_string(4 * Runs));
}

TEST_F(PlayTotalsTest, AnEmptyStoreReportsZerosAndBlankDates) {
  const std::vector<std::string> lines = Lines(FrameRateReportText(ReadPlayTotals(), Poster));
  ASSERT_EQ(lines.size(), 33u);
  EXPECT_EQ(lines[0],
            " === Frame Rate Report ===     0-15fps   15-25fps   25-35fps   35-45fps over 45fps");
  const std::string zeros = "          0          0          0          0          0";
  EXPECT_EQ(lines[1], "Window  11KHz BgmOff SeOff " + zeros);
  EXPECT_EQ(lines[2], "Window  11KHz BgmOff SeOn  " + zeros);
  EXPECT_EQ(lines[3], "Window  11KHz BgmOn  SeOff " + zeros);
  EXPECT_EQ(lines[5], "FullScr 11KHz BgmOff SeOff " + zeros);
  EXPECT_EQ(lines[9], "Window  22KHz BgmOff SeOff " + zeros);
  EXPECT_EQ(lines[24], "FullScr 44KHz BgmOn  SeOn  " + zeros);
  for (int line = 0; line <= 24; ++line) EXPECT_EQ(lines[line].size(), 82u) << line;
  const std::vector<std::string> tail(lines.begin() + 25, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"TryCount 0", "StageClearCount 0", "DeadCount 0",
                                            "FPSAvg 0", "ID ", "LU ", "VELDRANE_Ver ",
                                            "POSTER_Ver 20031227 1.0.7"}));
}

TEST_F(PlayTotalsTest, CountsLineUpUnderTheirColumnsAndLongOnesLoseTheirLeadingDigits) {
  StoreSave(GameApplication, {{OptionsSection, "F10110", "123456789012345"},
                              {OptionsSection, "F10111", "42"},
                              {OptionsSection, "F10114", "99999999999"},
                              {OptionsSection, TryCountKey, "123456789012345"},
                              {OptionsSection, FpsAvgKey, "29.5"},
                              {OptionsSection, InstallDateKey, "20031227000000"},
                              {OptionsSection, GameVersionKey, "20031227 1.0.30"}});
  const PlayTotals totals = ReadPlayTotals();
  EXPECT_EQ(totals.FpsCount[size_t(FpsCellIndex({1, 0, 1, 1, 0}))], 123456789012345);
  const std::vector<std::string> lines = Lines(FrameRateReportText(totals, Poster));
  // Rate 1, screen 0, music 1, effects 1 is the 12th histogram line; eleven digits fill a
  // column to the one before it.
  EXPECT_EQ(lines[12],
            "Window  22KHz BgmOn  SeOn  56789012345         42          0          099999999999");
  EXPECT_EQ(lines[25], "TryCount 123456789012345") << "counters are not cut";
  EXPECT_EQ(lines[28], "FPSAvg 30") << "halves to even";
  EXPECT_EQ(lines[29], "ID 20031227000000");
  EXPECT_EQ(lines[31], "VELDRANE_Ver 20031227 1.0.30");
}

}  // namespace
