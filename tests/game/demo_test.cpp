// What a player starts beside a game: practice from a checkpoint, the kept replays and their
// list, and the title's demo.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <SDL.h>

#include "common/replay_format.h"
#include "graphics/image_resource.h"
#include "persist/play_totals.h"
#include "persist/settings_store.h"
#include "persist/stored_values.h"
#include "game/play_statistics.h"
#include "game/replay.h"
#include "game/replay_list.h"
#include "game/scenes.h"
#include "input/input.h"
#include "platform/platform.h"
#include "stage/random.h"
#include "support/autopilot.h"
#include "support/button_script.h"
#include "support/whole_program.h"

namespace {

namespace fs = std::filesystem;

class DemoTest : public WholeProgramTest {
 protected:
  // The newest kept replay.
  ReplayRecord LastKeptPlay() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(ReplayFiles())) files.push_back(entry.path());
    return ReadReplayFile(std::max_element(files.begin(), files.end())->string());
  }

  // The autopilot plays while a play is on; between plays Escape is pressed and let go, so
  // that the title or the continue prompt sees a new press and the program is left.
  void AutopilotThenLeave() {
    ScriptButtons(Presses({BTN_Z}), [this]() -> uint16_t {
      if (Stats.InPlay) {
        played_ = true;
        return Autopilot();
      }
      return played_ ? (leaving_ ^= BTN_ESC) : 0;
    }, [this] { if (!played_) SeedRandom(7); });
  }

  // The autopilot's play from the title, as the game records it.
  ReplayRecord AutopilotPlay() {
    AutopilotThenLeave();
    Main();
    return LastKeptPlay();
  }

  // Nothing of a play is left behind: no replay kept, no play counted, no ranking changed.
  void ExpectNothingKept() {
    EXPECT_FALSE(fs::exists(ReplayFiles()));
    StoreClose();  // read back as the next start would
    EXPECT_EQ(ReadPlayTotals().TryCount, 0);
    ScoreRankingTable unset;
    unset.fill({0, UnsetRankingName});
    EXPECT_EQ(ReadRanking(), unset) << "no ranking stored";
  }

  bool played_ = false;
  uint16_t leaving_ = 0;
};

// Writes the demo the game ships, when run on purpose.
TEST_F(DemoTest, DISABLED_RecordTheShippedDemo) {
  const std::vector<uint8_t> bytes = EncodeReplay(AutopilotPlay());
  std::ofstream(fs::path(VELDRANE_SOURCE_DIR) / "res" / "demo.vrp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// `veldrane --practice N`, the autopilot playing until its three ships are gone. The play
// starts where a full play resumes at that checkpoint, and from the start it ends where the
// full play of the shipped demo ended. It is kept as a practice replay, and enters neither the
// ranking nor the statistics.
TEST_F(DemoTest, PracticeStartsAtEachCheckpointAndCountsNothing) {
  const ReplayRecord fullPlay = ReadReplayFile(std::string(VELDRANE_BUILD_DIR) + "/" + DemoFile);
  struct Row {
    int16_t checkpoint;
    int32_t restartFrame, endFrame, endScore;
  };
  const Row rows[] = {
      {0, 0, fullPlay.endFrame, fullPlay.endScore},
      {1, 1551, 4755, 541100},
      {2, 3101, 5044, 259000},
      {3, 4651, 6653, 365900},
      {4, 6501, 9120, 175300},
  };
  for (const Row& row : rows) {
    fs::remove_all(ReplayFiles());
    played_ = false;
    AutopilotThenLeave();
    EXPECT_EQ(Main(nullptr, row.checkpoint), 0);
    const ReplayRecord play = LastKeptPlay();
    EXPECT_EQ(play.kind, ReplayKind::Practice) << row.checkpoint;
    EXPECT_EQ(std::tuple(play.restartFrame, play.lives, play.score),
              std::tuple(row.restartFrame, int16_t(2), 0)) << row.checkpoint;
    EXPECT_EQ(std::pair(play.endFrame, play.endScore), std::pair(row.endFrame, row.endScore))
        << row.checkpoint;
  }
  fs::remove_all(ReplayFiles());
  ExpectNothingKept();
}

// 30 s without a key on the title start the demo in the first frame that reaches them, with
// "DEMO PLAY" beside the field. A key leaves it for the title, and nothing of it is kept.
TEST_F(DemoTest, TheTitleShowsTheDemoAfterThirtyIdleSecondsUntilAKey) {
  uint32_t titleFrom = 0, demoFrom = 0;
  std::pair<uint32_t, uint32_t> lastTitleReads;  // the last two before the demo
  int32_t demoReads = 0, titlesAfter = 0, titleReads = 0;
  DrawLog.recording = true;
  ScriptButtons({}, [&]() -> uint16_t {
    if (Replay.demo) {
      if (demoReads++ == 0) demoFrom = NowMs();
      return demoReads == 100 ? BTN_Z : 0;
    }
    if (titleReads++ == 1) titleFrom = NowMs();  // after the start-up's look for held buttons
    if (demoReads == 0) lastTitleReads = {lastTitleReads.second, NowMs()};
    if (demoReads > 0) ++titlesAfter;
    return titlesAfter > 10 ? (leaving_ ^= BTN_ESC) : 0;
  });
  EXPECT_EQ(Main(), 0);
  EXPECT_EQ(std::tuple(lastTitleReads.first - titleFrom, lastTitleReads.second - titleFrom,
                       demoFrom - titleFrom),
            std::tuple(29997u, 30030u, 30030u)) << "frames of 33 ms";
  EXPECT_EQ(demoReads, 100) << "the key was heard in the frame it came";
  EXPECT_GT(titlesAfter, 10) << "back on the title";
  const auto marked = std::count_if(DrawLog.items.begin(), DrawLog.items.end(),
                                    [](const DrawnItem& item) { return item.text == "DEMO PLAY"; });
  EXPECT_EQ(marked, 99);
  DrawLog = DrawLogState{};
  ExpectNothingKept();
}

// A kept replay chosen from the window plays at the title with "REPLAY" beside the field. X
// steps its speed, 4 running four frames in a frame's time, Z holds it, and Escape ends only
// the replay.
TEST_F(DemoTest, AWatchedReplayRunsAtTheViewersSpeedAndEscapeEndsOnlyIt) {
  const fs::path kept = ReplayFiles() / "20261209-071900-1.vrp";
  fs::create_directories(ReplayFiles());
  fs::copy_file(fs::path(VELDRANE_BUILD_DIR) / DemoFile, kept);
  // Each read of the player's buttons during the replay: when, and how many words it had played.
  std::vector<std::pair<uint32_t, size_t>> reads;
  int32_t titleReads = 0;
  DrawLog.recording = true;
  ScriptButtons({}, [&]() -> uint16_t {
    if (Replay.playing) {
      reads.emplace_back(NowMs(), Replay.next);
      const size_t read = reads.size();
      if (read == 30) PressKey(SDLK_ESCAPE);
      if (read == 20 || read == 23) return BTN_Z;
      return read == 10 || read == 12 ? BTN_X : 0;
    }
    if (titleReads++ == 1) Program.replayRequested = kept.string();
    return reads.empty() ? 0 : (leaving_ ^= BTN_ESC);
  });
  EXPECT_EQ(Main(), 0);
  ASSERT_EQ(reads.size(), 30u) << "Escape ended the replay in the frame it came";
  struct Row {
    size_t read;
    uint32_t msSincePrevious;
    size_t wordsPlayed;
  };
  const Row rows[] = {
      {10, 33, 8}, {12, 16, 10}, {14, 8, 12},  // X: 2, then 4 frames in a frame's time
      {22, 33, 19}, {24, 33, 19},              // Z holds the frame, at the frame's pace
      {25, 8, 20},                             // Z again: on at 4
  };
  for (const Row& row : rows) {
    const auto [ms, words] = reads[row.read - 1];
    EXPECT_EQ(std::pair(ms - reads[row.read - 2].first, words),
              std::pair(row.msSincePrevious, row.wordsPlayed)) << "read " << row.read;
  }
  std::map<std::string, int> marks;
  for (const DrawnItem& item : DrawLog.items)
    if (item.text.starts_with("REPLAY")) ++marks[item.text];
  const std::map<std::string, int> shown = {
      {"REPLAY", 8}, {"REPLAY X2", 2}, {"REPLAY X4", 15}, {"REPLAY PAUSE", 4}};
  EXPECT_EQ(marks, shown);
  DrawLog = DrawLogState{};
  StoreClose();
  EXPECT_EQ(ReadPlayTotals().TryCount, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(ReplayFiles()), fs::directory_iterator()), 1)
      << "watching records nothing";
}

// `veldrane --list-replays`: nothing to list, then the kept replays newest first with how far
// each got, and a damaged one with what is wrong with it.
TEST_F(DemoTest, TheKeptReplaysAreListedNewestFirst) {
  const auto listed = [] {
    testing::internal::CaptureStdout();
    EXPECT_EQ(PrintReplayList(), 0);
    return testing::internal::GetCapturedStdout();
  };
  const std::string folder = ReplayFiles().string() + "/";
  EXPECT_EQ(listed(), "no replays in " + folder + "\n");

  const auto keep = [&](const char* name, const std::vector<uint8_t>& bytes) {
    std::ofstream(ReplayFiles() / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  };
  ReplayRecord play = ReadReplayFile(std::string(VELDRANE_BUILD_DIR) + "/" + DemoFile);
  fs::create_directories(ReplayFiles());
  keep("20261208-223000-1.vrp", EncodeReplay(play));
  play.kind = ReplayKind::Practice;
  keep("20261209-071900-1.vrp", EncodeReplay(play));
  keep("20261209-080000-1.vrp", {'V', 'R', 'P'});
  EXPECT_EQ(listed(),
            "DATE              SCORE       REACHED       LENGTH  KIND\n"
            "2026-12-09 08:00  20261209-080000-1.vrp: リプレイファイルではありません\n"
            "      " + folder + "20261209-080000-1.vrp\n"
            "2026-12-09 07:19      657000  CHECKPOINT 2    2:10  PRACTICE\n"
            "      " + folder + "20261209-071900-1.vrp\n"
            "2026-12-08 22:30      657000  CHECKPOINT 2    2:10  PLAY\n"
            "      " + folder + "20261208-223000-1.vrp\n");
}

}  // namespace
