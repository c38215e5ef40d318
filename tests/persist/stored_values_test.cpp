#include "persist/stored_values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "persist/fresh_settings_folder.h"

namespace {

constexpr int32_t Largest = std::numeric_limits<int32_t>::max();
constexpr int32_t Smallest = std::numeric_limits<int32_t>::min();

class StoredValuesTest : public FreshSettingsFolder {};

TEST(StoredNumberTest, ReadsTheLeadingWholeNumber) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"12", 12},   {" 12", 12},  {"\t 12", 12}, {"\n12", 0},  {"+12", 12},   {"-7", -7},
      {"- 7", 0},   {"+-7", 0},   {"12abc", 12}, {"12 34", 12}, {"abc", 0},   {"", 0},
      {"   ", 0},   {"-0", 0},    {"007", 7},    {"0x1F", 0},   {"inf", 0},   {"nan", 0},
      {"1,5", 1},   {"3-", 3},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(StoredNumber(text), number) << text;
}

TEST(StoredNumberTest, FractionsRoundToTheNearestWithHalvesToEven) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"2.5", 2},    {"3.5", 4},     {"-2.5", -2},  {"-3.5", -4},   {"0.5", 0},     {"1.5", 2},
      {".5", 0},     {".51", 1},     {"0.51", 1},   {"0.49", 0},    {"2.4999", 2},  {"2.5001", 3},
      {"-0.4", 0},   {"-0.6", -1},   {"5.", 5},     {".", 0},       {"-.", 0},      {"-.5", 0},
      {"2.50000000000000000001", 3}, {"2.49999999999999999999", 2}, {"0.0000000001", 0},
      {"1.2.3", 1},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(StoredNumber(text), number) << text;
}

TEST(StoredNumberTest, AnExponentCountsOnlyWithDigits) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"1e3", 1000}, {"1E3", 1000}, {"1e+3", 1000}, {"1e-1", 0},    {"15e-1", 2},  {"25e-1", 2},
      {"35e-1", 4},  {"1e", 1},     {"1e+", 1},     {"1e-", 1},     {"1ex", 1},    {"1e 3", 1},
      {".5e1", 5},   {"5e-1", 0},   {"6e-1", 1},    {"1e0", 1},     {"1e09", 1000000000},
      {"e3", 0},     {"0e999999999", 0},            {"1e-99999999999999", 0},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(StoredNumber(text), number) << text;
}

TEST(StoredNumberTest, NumbersBeyondTheRangeAreClamped) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"2147483647", Largest},     {"2147483648", Largest},    {"99999999999", Largest},
      {"-2147483648", Smallest},   {"-2147483649", Smallest},  {"-99999999999", Smallest},
      {"2147483646.5", 2147483646}, {"2147483646.6", Largest}, {"2147483647.4", Largest},
      {"2147483647.5", Largest},   {"1e10", Largest},          {"-1e10", Smallest},
      {"1e99999999999999", Largest}, {"000000000000000000012", 12}, {"2.147483647e9", Largest},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(StoredNumber(text), number) << text;
}

// Totals are read wider: the same rule, clamped only at the 64-bit edges.
TEST(StoredNumberTest, WholeNumbersReachTheSixtyFourBitEdges) {
  constexpr int64_t Widest = std::numeric_limits<int64_t>::max();
  constexpr int64_t Lowest = std::numeric_limits<int64_t>::min();
  const std::vector<std::pair<std::string, int64_t>> cases = {
      {"2147483648", 2147483648LL},          {"123456789012345", 123456789012345LL},
      {"9223372036854775806.5", Widest - 1}, {"9223372036854775806.6", Widest},
      {"9223372036854775807", Widest},       {"9223372036854775808", Widest},
      {"9999999999999999999.9", Widest},     {"99999999999999999999", Widest},
      {"-9223372036854775808", Lowest},      {"-9223372036854775809", Lowest},
      {"-1e30", Lowest},                     {"12.5", 12},
      {" 7x", 7},                            {"x7", 0},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(StoredWholeNumber(text), number) << text;
  EXPECT_EQ(StoredNumberText(Widest), "9223372036854775807");
}

TEST(StoredNumberTest, StoredNumberTextIsPlainAndReadsBack) {
  EXPECT_EQ(StoredNumberText(0), "0");
  EXPECT_EQ(StoredNumberText(11025), "11025");
  EXPECT_EQ(StoredNumberText(-5), "-5");
  EXPECT_EQ(StoredNumberText(Largest), "2147483647");
  EXPECT_EQ(StoredNumberText(Smallest), "-2147483648");
  for (int32_t number : {0, 1, -1, 8000000, Largest, Smallest})
    EXPECT_EQ(StoredNumber(StoredNumberText(number)), number);
}

TEST(StoredNumberTest, AFlagIsSetOnlyByExactlyOne) {
  EXPECT_TRUE(StoredFlag("1"));
  for (const char* text : {"0", "2", "", " 1", "1 ", "01", "1.0", "true", "-1"})
    EXPECT_FALSE(StoredFlag(text)) << '"' << text << '"';
}

TEST_F(StoredValuesTest, TheGameNamesItsValuesSo) {
  EXPECT_STREQ(GameApplication, "VELDRANE");
  const std::vector<std::pair<StoredSetting, std::vector<std::string>>> settings = {
      {MixRateSetting, {"SAVE", "MixRate", "11025"}},
      {FmodEnabledSetting, {"SAVE", "FModEnabled", "1"}},
      {BgmVolumeSetting, {"SAVE", "CurrentBGMVol", "32"}},
      {SeVolumeSetting, {"SAVE", "CurrentSEVol", "32"}},
      {ShowFrameRateSetting, {"SAVE", "ShowFrameRate", "0"}},
      {BgmFolderSetting, {"SAVE", "BGMFolder", ""}},
  };
  for (const auto& [setting, names] : settings) {
    EXPECT_EQ(setting.Section, names[0]);
    EXPECT_EQ(setting.Key, names[1]);
    EXPECT_EQ(setting.Default, names[2]) << names[1];
    // Nothing stored yet, so each reads as its default.
    EXPECT_EQ(ReadSetting(setting), names[2]) << names[1];
  }
}

TEST_F(StoredValuesTest, SettingsSurviveAFreshOpen) {
  ASSERT_TRUE(StoreSave(GameApplication, {SettingValue(MixRateSetting, "22050"),
                                          SettingValue(BgmFolderSetting, "/music/my folder/"),
                                          SettingValue(ShowFrameRateSetting, "1")}));
  StoreClose();
  EXPECT_EQ(ReadSetting(MixRateSetting), "22050");
  EXPECT_EQ(ReadSetting(BgmFolderSetting), "/music/my folder/");
  EXPECT_TRUE(StoredFlag(ReadSetting(ShowFrameRateSetting)));
  EXPECT_EQ(ReadSetting(BgmVolumeSetting), "32");
}

TEST_F(StoredValuesTest, TheFlagWrittenAsFModIsReadAsFmod) {
  ASSERT_TRUE(StoreSave(GameApplication, {SettingValue(FmodEnabledSetting, "0")}));
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "FmodEnabled", "1"), "0");
  EXPECT_FALSE(StoredFlag(ReadSetting(FmodEnabledSetting)));
}

TEST(StoredRankingTest, TheBuiltInRankingStartsOutOfReach) {
  const ScoreRankingTable expected = {{{8000000, "PRO"}, {400000, "PRO"}, {300000, "PRO"},
                                       {200000, "PRO"}, {100000, "PRO"}}};
  EXPECT_EQ(BuiltInRanking(), expected);
}

TEST(StoredRankingTest, ARankingIsTenValuesUnderItsKeys) {
  const ScoreRankingTable table = {
      {{5, "AAA"}, {4, " B "}, {-3, ""}, {Largest, "DD"}, {0, "   "}}};
  const std::vector<StoredValue> values = RankingValues(table);
  const std::vector<std::vector<std::string>> expected = {
      {"S0", "5"}, {"S1", "4"},   {"S2", "-3"}, {"S3", "2147483647"}, {"S4", "0"},
      {"N0", "AAA"}, {"N1", " B "}, {"N2", ""},  {"N3", "DD"},         {"N4", "   "}};
  ASSERT_EQ(values.size(), expected.size());
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(values[i].Section, "ScoreRanking");
    EXPECT_EQ(values[i].Key, expected[i][0]);
    EXPECT_EQ(values[i].Text, expected[i][1]) << expected[i][0];
  }
}

TEST_F(StoredValuesTest, AnEmptyStoreHasAnUnsetRanking) {
  for (const ScoreEntry& entry : ReadRanking()) EXPECT_EQ(entry, (ScoreEntry{0, "   "}));
}

TEST_F(StoredValuesTest, TheRankingSurvivesAFreshOpenWithItsBlanks) {
  const ScoreRankingTable table = {
      {{8000000, "PRO"}, {400000, " A "}, {300000, "  B"}, {-1, ""}, {Largest, "   "}}};
  ASSERT_TRUE(StoreSave(GameApplication, RankingValues(table)));
  StoreClose();
  EXPECT_EQ(ReadRanking(), table);
}

TEST_F(StoredValuesTest, EachPlaceReadsOnItsOwn) {
  ASSERT_TRUE(StoreSave(GameApplication, {{"scoreranking", "s1", "2.5"},
                                          {"ScoreRanking", "N1", "X"},
                                          {"ScoreRanking", "S3", "12 points"},
                                          {"ScoreRanking", "S4", "many"}}));
  const ScoreRankingTable expected = {
      {{0, "   "}, {2, "X"}, {0, "   "}, {12, "   "}, {0, "   "}}};
  EXPECT_EQ(ReadRanking(), expected);
}

}  // namespace
