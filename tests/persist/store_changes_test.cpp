// Changes the store refused, kept in a file beside it and merged by the next save that goes
// through: in order, once, and whole blocks only.
#include "persist/store_changes.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "persist/child_process.h"
#include "persist/fresh_settings_folder.h"
#include "persist/settings_store.h"
#include "persist/stored_values.h"

namespace {

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class StoreChangesTest : public FreshSettingsFolder {
 protected:
  void SetUp() override {
    FreshSettingsFolder::SetUp();
    ASSERT_TRUE(StoreSave(GameApplication, {{OptionsSection, "TryCount", "5"},
                                            {RankingSection, "S0", "50000"},
                                            {RankingSection, "N0", "AAA"}}));
  }
  static std::string Stored(const char* section, const char* key) {
    return StoreGet(GameApplication, section, key, "(none)");
  }
  static bool Keep(const std::vector<StoreChange>& changes) {
    std::string problem;
    return KeepChanges(changes, problem);
  }
  fs::path Kept() const { return StoreFile().string() + ".pending"; }
};

StoreChange Add(const char* key, const char* count) {
  return {ChangeKind::Add, OptionsSection, key, count};
}

TEST_F(StoreChangesTest, KeptBlocksMergeInOrderAndOnlyOnce) {
  ASSERT_TRUE(Keep({Add("TryCount", "2"), {ChangeKind::Set, OptionsSection, "CurrentBGMVol", "63"},
                    {ChangeKind::Fill, OptionsSection, "InstallDate", "first"},
                    RankChange(60000, "NEW")}));
  ASSERT_TRUE(Keep({Add("TryCount", "3"), {ChangeKind::Set, OptionsSection, "CurrentBGMVol", "127"},
                    {ChangeKind::Fill, OptionsSection, "InstallDate", "second"},
                    {ChangeKind::Set, OptionsSection, "Odd\tname", std::string("a\\b\nc\0d", 7)}}));
  const std::string bytes = ReadBytes(Kept());

  ASSERT_TRUE(ApplyChanges({Add("DeadCount", "1")}));
  EXPECT_FALSE(fs::exists(Kept()));
  EXPECT_EQ(Stored(OptionsSection, "TryCount"), "10");
  EXPECT_EQ(Stored(OptionsSection, "DeadCount"), "1");
  EXPECT_EQ(Stored(OptionsSection, "CurrentBGMVol"), "127") << "the later run's value";
  EXPECT_EQ(Stored(OptionsSection, "InstallDate"), "first") << "filled once";
  EXPECT_EQ(Stored(OptionsSection, "Odd\tname"), std::string("a\\b\nc\0d", 7));
  const ScoreRankingTable ranking = ReadRanking();
  EXPECT_EQ(ranking[0], (ScoreEntry{60000, "NEW"}));
  EXPECT_EQ(ranking[1], (ScoreEntry{50000, "AAA"}));

  // A program stopped after the merge but before the file went: the file is back, and is not
  // merged a second time.
  WriteBytes(Kept(), bytes);
  ASSERT_TRUE(ApplyChanges({}));
  EXPECT_FALSE(fs::exists(Kept()));
  EXPECT_EQ(Stored(OptionsSection, "TryCount"), "10");
}

TEST_F(StoreChangesTest, ADamagedKeptFileMergesItsWholeBlocksAndIsKeptAside) {
  ASSERT_TRUE(Keep({Add("TryCount", "1")}));
  std::string bytes = ReadBytes(Kept());
  bytes += "block 00000000000000aa 3\nA\tSAVE\tTryCount\t100\n";  // cut short
  bytes += "block 00000000000000bb 1\nX\tSAVE\tTryCount\t100\n";  // no such kind
  bytes += "block 00000000000000cc 1\nA\tSAVE\tDeadCount\t4\n";
  WriteBytes(Kept(), bytes);
  CaptureStderr();
  ASSERT_TRUE(ApplyChanges({}));
  const std::string told = GetCapturedStderr();
  EXPECT_EQ(Stored(OptionsSection, "TryCount"), "6");
  EXPECT_EQ(Stored(OptionsSection, "DeadCount"), "4");
  EXPECT_FALSE(fs::exists(Kept()));
  std::vector<fs::path> aside;
  for (const auto& entry : fs::directory_iterator(StoreFolder()))
    if (std::regex_match(entry.path().filename().string(),
                         std::regex(R"(settings\.db\.pending\.damaged-\d{8}-\d{6})")))
      aside.push_back(entry.path());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadBytes(aside[0]), bytes);
  EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
  EXPECT_NE(told.find(aside[0].string()), std::string::npos) << told;
}

TEST_F(StoreChangesTest, RunsKeepingAtOnceLoseNothingAndAFailedKeepLeavesNothing) {
  constexpr int Blocks = 40;
  const auto keepMany = [] {
    for (int i = 0; i < Blocks; ++i)
      if (!Keep({Add("TryCount", "1")})) return false;
    return true;
  };
  const pid_t first = InChild(keepMany);
  const pid_t second = InChild(keepMany);
  EXPECT_EQ(ExitCode(first), 0);
  EXPECT_EQ(ExitCode(second), 0);
  ASSERT_TRUE(ApplyChanges({}));
  EXPECT_EQ(Stored(OptionsSection, "TryCount"), std::to_string(5 + 2 * Blocks));

  // A disk that takes no more: the half block written is taken back, and nothing is left.
  const pid_t full = InChild([] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<StoreChange> many(50, Add("TryCount", "1"));
    std::string problem;
    return !KeepChanges(many, problem) && problem.find("File too large") != std::string::npos;
  });
  EXPECT_EQ(ExitCode(full), 0);
  EXPECT_FALSE(fs::exists(Kept()));
}

}  // namespace
