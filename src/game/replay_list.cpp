#include "game/replay_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "game/replay.h"
#include "game/scenes.h"
#include "stage/stage.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t FrameMs = 33;

bool AllDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The stamp the game names its files with, "YYYYMMDD-HHMMSS-N", as "YYYY-MM-DD HH:MM".
std::string DateFromName(const std::string& name) {
  if (name.size() < 15 || name[8] != '-' || !AllDigits(name.substr(0, 8)) ||
      !AllDigits(name.substr(9, 6)))
    return "";
  return name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
         name.substr(9, 2) + ":" + name.substr(11, 2);
}

std::string DateFromTime(const fs::path& path) {
  struct stat info;
  std::tm local{};
  char text[32] = "?";
  if (stat(path.c_str(), &info) == 0 && localtime_r(&info.st_mtime, &local))
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

KeptReplay Look(const fs::path& path) {
  KeptReplay kept;
  kept.path = path.string();
  kept.date = DateFromName(path.stem().string());
  if (kept.date.empty()) kept.date = DateFromTime(path);
  try {
    kept.record = ReadReplayFile(kept.path);
    CheckReplay(kept.record);
    kept.frames = int32_t(kept.record.buttons.size());
  } catch (const std::runtime_error& error) {
    kept.problem = error.what();
  }
  kept.record.buttons = {};
  return kept;
}

}  // namespace

std::vector<KeptReplay> KeptReplays() {
  std::vector<KeptReplay> replays;
  const std::string folder = ReplayFolder();
  if (folder.empty()) return replays;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->path().extension() == ReplayExtension && it->is_regular_file(error))
      replays.push_back(Look(it->path()));
  std::sort(replays.begin(), replays.end(), [](const KeptReplay& a, const KeptReplay& b) {
    return std::tie(a.date, a.path) > std::tie(b.date, b.path);
  });
  return replays;
}

std::string ReachOf(int32_t endFrame) {
  if (endFrame >= BossFrame) return "BOSS";
  int number = 0;
  while (number + 1 < int(Checkpoints.size()) && endFrame >= Checkpoints[size_t(number) + 1])
    ++number;
  return number == 0 ? "START" : "CHECKPOINT " + std::to_string(number);
}

std::string LengthOf(int32_t frames) {
  const int64_t seconds = int64_t(frames) * FrameMs / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

const char* const ReplayListHeading = "DATE              SCORE       REACHED       LENGTH  KIND";

std::string ReplayListLine(const KeptReplay& replay) {
  if (!replay.problem.empty())
    return replay.date + "  " + fs::path(replay.path).filename().string() + ": " + replay.problem;
  const ReplayRecord& r = replay.record;
  char text[160];
  std::snprintf(text, sizeof text, "%-16s  %10d  %-12s  %6s  %s", replay.date.c_str(), r.endScore,
                ReachOf(r.endFrame).c_str(), LengthOf(replay.frames).c_str(),
                r.kind == ReplayKind::Practice ? "PRACTICE" : "PLAY");
  return text;
}

int PrintReplayList() {
  const std::vector<KeptReplay> replays = KeptReplays();
  if (replays.empty()) {
    std::printf("no replays in %s\n", ReplayFolder().c_str());
    return 0;
  }
  std::printf("%s\n", ReplayListHeading);
  for (const KeptReplay& replay : replays)
    std::printf("%s\n      %s\n", ReplayListLine(replay).c_str(), replay.path.c_str());
  return 0;
}
