// Replay files, and plays run again from them: the recorded fixtures end where they ended.
#include "game/replay.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#include "common/frame_clock.h"
#include "common/replay_format.h"
#include "common/resource_format.h"
#include "persist/play_totals.h"
#include "persist/stored_values.h"
#include "game/play_statistics.h"
#include "game/scenes.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "persist/child_process.h"
#include "support/button_script.h"
#include "stage/stage_state.h"
#include "support/headless.h"
#include "support/whole_program.h"

namespace {

namespace fs = std::filesystem;

ReplayRecord SmallReplay() {
  ReplayRecord replay;
  replay.stage = 0;
  replay.restartFrame = 3200;
  replay.score = 123456;
  replay.lives = 1;
  replay.randomState = 0x0123456789ABCDEFull;
  replay.buttons.assign(70000, 0);                     // a run longer than one run can hold
  replay.buttons.insert(replay.buttons.end(), {64, 64, 72, 0});
  replay.ending = ReplayEnding::GivenUp;
  replay.kind = ReplayKind::Practice;
  replay.endFrame = 73204;
  replay.endScore = 200100;
  return replay;
}

std::string Refusal(const std::vector<uint8_t>& bytes) {
  try {
    ParseReplay(bytes);
  } catch (const FormatError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(ReplayFormatTest, ARecordComesBackAsItWasWritten) {
  const ReplayRecord replay = SmallReplay();
  const std::vector<uint8_t> bytes = EncodeReplay(replay);
  // The header, and four runs: 65535 and 4465 blank frames, two of Z, one of Z with Up, one.
  EXPECT_EQ(bytes.size(), 8u + 2 + 2 + 4 + 4 + 2 + 8 + 1 + 1 + 4 + 4 + 4 + 5 * 4);
  const ReplayRecord back = ParseReplay(bytes);
  EXPECT_EQ(back.buttons, replay.buttons);
  EXPECT_EQ(back.randomState, replay.randomState);
  EXPECT_EQ(back.restartFrame, 3200);
  EXPECT_EQ(back.score, 123456);
  EXPECT_EQ(back.lives, 1);
  EXPECT_EQ(back.ending, ReplayEnding::GivenUp);
  EXPECT_EQ(back.kind, ReplayKind::Practice);
  EXPECT_EQ(back.endFrame, 73204);
  EXPECT_EQ(back.endScore, 200100);
}

TEST(ReplayFormatTest, DamagedShortOrForeignFilesAreRefusedWithTheirReason) {
  const std::vector<uint8_t> good = EncodeReplay(SmallReplay());
  EXPECT_EQ(Refusal({}), "リプレイファイルではありません");
  EXPECT_EQ(Refusal({'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0}), "リプレイファイルではありません");
  for (size_t length = 8; length < good.size(); ++length)
    EXPECT_EQ(Refusal({good.begin(), good.begin() + long(length)}), "リプレイが途中で切れています")
        << length;

  std::vector<uint8_t> other = good;
  other[8] = 3;  // the version
  EXPECT_EQ(Refusal(other), "リプレイの版 3 は読めません (この版は 2)");
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  EXPECT_EQ(Refusal(longer), "リプレイが壊れています (余分なデータ)");
  std::vector<uint8_t> emptyRun = good;
  emptyRun[emptyRun.size() - 2] = emptyRun[emptyRun.size() - 1] = 0;
  EXPECT_EQ(Refusal(emptyRun), "リプレイが壊れています (空の区間)");
  std::vector<uint8_t> ending = good;
  ending[8 + 2 + 2 + 4 + 4 + 2 + 8] = 3;
  EXPECT_EQ(Refusal(ending), "リプレイが壊れています (終わり方)");
  std::vector<uint8_t> kind = good;
  kind[8 + 2 + 2 + 4 + 4 + 2 + 8 + 1] = 2;
  EXPECT_EQ(Refusal(kind), "リプレイが壊れています (種類)");

  ReplayRecord strange = SmallReplay();
  strange.buttons.assign(MaxReplayFrames + 1, 8);
  EXPECT_EQ(Refusal(EncodeReplay(strange)), "リプレイが壊れています (長すぎます)");
}

const fs::path Fixtures = fs::path(VELDRANE_SOURCE_DIR) / "tests" / "fixtures" / "replays";

class ReplayTest : public WholeProgramTest {};

// `veldrane --replay FILE` on each recorded fixture: it ends on the recorded frame and score,
// records nothing and counts no play of the player's.
TEST_F(ReplayTest, EveryFixturePlaysBackToItsRecordedEnd) {
  int played = 0;
  for (const auto& entry : fs::directory_iterator(Fixtures)) {
    const ReplayRecord record = ReadReplayFile(entry.path().string());
    EXPECT_EQ(Main(entry.path().c_str()), 0) << entry.path();
    EXPECT_EQ(FrameCounter, record.endFrame) << entry.path();
    EXPECT_EQ(Game.Score, record.endScore) << entry.path();
    ++played;
  }
  EXPECT_EQ(played, 2);
  EXPECT_FALSE(fs::exists(ReplayFiles())) << "a replay is not recorded again";
  EXPECT_EQ(ReadPlayTotals().TryCount, 0) << "nor counted as a play";
}

// Escape on the window, not among the buttons, leaves in the middle of a frame; the replay
// leaves in the same frame. The folder keeps the last 20 plays.
TEST_F(ReplayTest, APlayLeftFromTheWindowIsRecordedAsLeftAndReplayedSo) {
  fs::create_directories(ReplayFiles());
  for (int i = 10; i < 30; ++i)  // twenty older plays
    WriteBytes(ReplayFiles() / ("20250101-0000" + std::to_string(i) + "-1.vrp"), "old");
  ScriptButtons(Presses({BTN_Z}), [] {
    if (Stats.InPlay && FrameCounter == 40) {
      PressKey(SDLK_ESCAPE);
    }
    return uint16_t(Stats.InPlay ? BTN_RIGHT : 0);
  });
  EXPECT_EQ(Main(), 0);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(ReplayFiles())) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_EQ(files.size(), size_t(ReplaysKept));
  EXPECT_EQ(files.front().filename(), "20250101-000011-1.vrp") << "the oldest went";
  files.erase(files.begin(), files.end() - 1);  // the new one sorts last
  const ReplayRecord record = ReadReplayFile(files[0].string());
  EXPECT_EQ(record.ending, ReplayEnding::Left);
  EXPECT_EQ(record.endFrame, 40) << "left before the frame was counted";
  EXPECT_EQ(record.buttons, std::vector<uint16_t>(41, BTN_RIGHT));
  EXPECT_EQ(Main(files[0].c_str()), 0);
  EXPECT_EQ(FrameCounter, 40);
}

TEST_F(ReplayTest, AFileThatIsNoGoodReplayEndsWithItsReason) {
  const fs::path bad = Folder / "bad.vrp";
  WriteBytes(bad, "VLDRPLAY\x07");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Main(bad.c_str()), 2);
  EXPECT_EQ(Main((Folder / "missing.vrp").c_str()), 2);
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_NE(told.find("bad.vrp: リプレイが途中で切れています"), std::string::npos) << told;
  EXPECT_NE(told.find("missing.vrp"), std::string::npos) << told;
}

// Each row changes the recorded play given up at frame 50: a record no play of the game makes
// is refused with what is wrong (exit 2), one it can make plays (0 when it ends as recorded).
struct CheckCase {
  const char* what;
  void (*change)(ReplayRecord&);
  int exitCode;
  std::string told;  // after "veldrane: FILE: " when refused, else after "replay: "
};

const CheckCase CheckCases[] = {
    {"as recorded", [](ReplayRecord&) {}, 0, "frame 51, score 0 (recorded: frame 51, score 0)"},
    {"a second stage", [](ReplayRecord& r) { r.stage = 1; }, 2,
     "リプレイが壊れています (ステージ 1: 0 のはずです)"},
    {"a score below 0", [](ReplayRecord& r) { r.score = -1; }, 2,
     "リプレイが壊れています (開始の点数 -1: 0 から 2147483647 までです)"},
    {"the largest score, shooting", [](ReplayRecord& r) {
       r = ReadReplayFile((Fixtures / "autopilot_lost_game.vrp").string());
       r.buttons.resize(300);  // 10000 points shot down by then
       r.ending = ReplayEnding::GivenUp;
       r.endFrame = 300;
       r.score = r.endScore = MaxScore;
     }, 0, "frame 300, score 2147483647 (recorded: frame 300, score 2147483647)"},
    {"a ship too many at an extend's score", [](ReplayRecord& r) {
       r.score = r.endScore = 2000000;
       r.lives = 3;
     }, 2, "リプレイが壊れています (残機 3: 0 から 2 までです)"},
    {"an extend's ship past its score", [](ReplayRecord& r) {
       r.score = r.endScore = 2000001;
       r.lives = 3;
     }, 0, "frame 51, score 2000001 (recorded: frame 51, score 2000001)"},
    {"the last restart frame", [](ReplayRecord& r) {
       r.restartFrame = 1006500;
       r.endFrame = 6500 + 51;  // from the last checkpoint
     }, 0, "frame 6551, score 0 (recorded: frame 6551, score 0)"},
    {"a restart frame past it", [](ReplayRecord& r) { r.restartFrame = 1006501; }, 2,
     "リプレイが壊れています (再開フレーム 1006501: 0 から 1006500 までです)"},
    {"the highest button", [](ReplayRecord& r) { r.buttons[10] = BTN_RETURN; }, 0,
     "frame 51, score 0 (recorded: frame 51, score 0)"},
    {"an undefined button", [](ReplayRecord& r) { r.buttons[10] = BTN_RETURN << 1; }, 2,
     "リプレイが壊れています (フレーム 10 のボタン 1024 に未定義のビットがあります)"},
    {"Escape before the end", [](ReplayRecord& r) { r.buttons[10] = BTN_ESC; }, 2,
     "リプレイが壊れています (フレーム 10 の ESC の後に続きがあります)"},
    {"no frames", [](ReplayRecord& r) { r.buttons.clear(); }, 2,
     "リプレイが壊れています (フレームがありません)"},
    {"an end past the frames", [](ReplayRecord& r) { r.endFrame = 52; }, 2,
     "リプレイが壊れています (終わりのフレーム 52: 51 のはずです)"},
    {"left, so the last frame uncounted", [](ReplayRecord& r) { r.ending = ReplayEnding::Left; },
     2, "リプレイが壊れています (終わりのフレーム 51: 50 のはずです)"},
    {"an end score below the start", [](ReplayRecord& r) { r.score = 10; }, 2,
     "リプレイが壊れています (終わりの点数 0: 10 から 2147483647 までです)"},
    {"frames that run out before the play ends", [](ReplayRecord& r) {
       r.ending = ReplayEnding::Played;
     }, 1, "frame 52, score 0 (recorded: frame 51, score 0) DIFFERENT"},
};

// `veldrane --replay FILE` once the window is up and the resources are loaded.
TEST_F(ReplayTest, OnlyWhatAPlayOfTheGameCanRecordIsPlayedBack) {
  const ReplayRecord recorded = ReadReplayFile((Fixtures / "given_up_at_frame_50.vrp").string());
  const fs::path file = Folder / "case.vrp";
  StartHeadlessDisplay();
  LoadImageResources(BuiltResourceFolder());
  for (const CheckCase& row : CheckCases) {
    ReplayRecord record = recorded;
    row.change(record);
    WriteFile(file, EncodeReplay(record));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(PlayReplayFile(file), row.exitCode) << row.what;
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    if (row.exitCode == 2)
      EXPECT_EQ(err, "veldrane: " + file.string() + ": " + row.told + "\n") << row.what;
    else
      EXPECT_EQ(out, "replay: " + row.told + "\n") << row.what;
  }
  StopHeadlessDisplay();
}

// A play of one frame, recorded as the play loop records it.
void RecordOnePlay() {
  Replay.recordPlays = true;
  BeginRecording();
  RecordButtons(0);
  FinishRecording();
  Replay.recordPlays = false;
}

std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// `count` files named prefix01.vrp, prefix02.vrp ..., the first `daysAgo` days old and each
// next a day younger (below 0: days ahead).
std::vector<std::pair<std::string, int>> Dated(const std::string& prefix, int count, int daysAgo) {
  std::vector<std::pair<std::string, int>> files;
  for (int i = 1; i <= count; ++i)
    files.push_back({prefix + (i < 10 ? "0" : "") + std::to_string(i) + ".vrp", daysAgo - i + 1});
  return files;
}

struct KeptCase {
  const char* what;
  std::vector<std::pair<std::string, int>> files;  // name, days old
  std::string goes;  // the one the new play's file replaces
};

// Twenty plays in the folder, and one more recorded: the oldest by its time goes.
TEST_F(ReplayTest, TheLastPlaysAreKeptByWhenTheyWereRecorded) {
  std::vector<std::pair<std::string, int>> sameSecond = Dated("20250102-1200", 18, 29);
  sameSecond.push_back({"20250101-120000-2.vrp", 30});
  sameSecond.push_back({"20250101-120000-10.vrp", 30});
  const KeptCase rows[] = {
      {"copied in under names that sort after the new one", Dated("zz-", 20, 20), "zz-01.vrp"},
      {"the second play of a second before its tenth", sameSecond, "20250101-120000-2.vrp"},
      {"dated ahead by a clock that was fast", Dated("a-", 20, -1), "a-01.vrp"},
  };
  for (const KeptCase& row : rows) {
    fs::remove_all(ReplayFiles());
    fs::create_directories(ReplayFiles());
    std::set<std::string> before;
    for (const auto& [name, days] : row.files) {
      WriteBytes(ReplayFiles() / name, "old");
      fs::last_write_time(ReplayFiles() / name,
                          fs::file_time_type::clock::now() - std::chrono::hours(24 * days));
      before.insert(name);
    }
    RecordOnePlay();
    std::set<std::string> gone, added;
    const std::set<std::string> after = NamesIn(ReplayFiles());
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::inserter(gone, gone.end()));
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::inserter(added, added.end()));
    EXPECT_EQ(gone, std::set<std::string>{row.goes}) << row.what;
    EXPECT_EQ(added.size(), 1u) << row.what << ": the new play is kept";
  }
}

// A save that fails leaves no file, not even part of one, and says which file, why, and that the
// game goes on. Each runs in a child: a file size limit cuts the write short, or a file stands
// where the folder should be.
struct FailedSave {
  const char* what;
  void (*prepare)(const fs::path& folder);
  int error;  // told as the system words it, in the language of the moment
};

const FailedSave FailedSaves[] = {
    {"a file size limit", [](const fs::path&) {
       const rlimit limit{16, 16};
       setrlimit(RLIMIT_FSIZE, &limit);
       std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead
     }, EFBIG},
    {"a file for a folder", [](const fs::path& folder) { WriteFile(folder, {}); },
     ENOTDIR},
};

TEST_F(ReplayTest, AFailedSaveLeavesNothingAndSaysWhy) {
  for (const FailedSave& row : FailedSaves) {
    fs::remove_all(Folder / "data");
    fs::create_directories(ReplayFiles().parent_path());
    int told[2];
    ASSERT_EQ(pipe(told), 0);
    const pid_t child = InChild([&] {
      dup2(told[1], STDERR_FILENO);
      row.prepare(ReplayFiles());
      RecordOnePlay();
      return true;
    });
    close(told[1]);
    std::string message;
    char buffer[512];
    for (ssize_t got; (got = read(told[0], buffer, sizeof buffer)) > 0;)
      message.append(buffer, size_t(got));
    close(told[0]);
    EXPECT_EQ(ExitCode(child), 0) << row.what;
    for (const auto& entry : fs::recursive_directory_iterator(Folder / "data"))
      EXPECT_EQ(entry.path().string().find(".vrp"), std::string::npos) << row.what << entry.path();
    const std::string start = "veldrane: リプレイ " + ReplayFiles().string() + "/";
    if (message.size() > start.size() + 15) message.replace(start.size(), 15, "STAMP");  // the time
    EXPECT_EQ(message, start + "STAMP-1.vrp を保存できませんでした: " + std::strerror(row.error) +
                           "。ゲームはそのまま続きます\n")
        << row.what;
  }
}

}  // namespace
