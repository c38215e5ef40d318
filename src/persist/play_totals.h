// The play statistics as the store keeps them, all text under GameApplication and
// OptionsSection: the frame-rate histogram, the play counters, the dates and the game's version.
// Runs add to them at shutdown; the frame-rate report is printed from them by the game's side
// and by the report tool alike.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "persist/store_changes.h"

// The histogram's axes: mixing rate, screen mode, music playing, effects audible, and the
// bucket of the frame rate.
inline constexpr int RateCount = 3, ScreenCount = 2, BgmCount = 2, SeCount = 2, BucketCount = 5;
inline constexpr int FpsCellCount = RateCount * ScreenCount * BgmCount * SeCount * BucketCount;

struct FpsCell {
  int rate, screen, bgm, se, bucket;
};
// Cells in the store's order: rate slowest, bucket fastest.
int FpsCellIndex(const FpsCell& cell);
// "F" and the cell's five digits: "F00000" to "F21114".
std::string FpsCellKey(int index);

// The bucket of a second in which `framesPerSecond` frames ran: 0 below 15, 1 up to 25, 2 up
// to 35, 3 up to 45, 4 above.
int FpsBucket(int32_t framesPerSecond);

inline constexpr const char* TryCountKey = "TryCount";
inline constexpr const char* StageClearCountKey = "StageClearCount";
inline constexpr const char* DeadCountKey = "DeadCount";
inline constexpr const char* FpsAvgKey = "FPSAvg";
inline constexpr const char* InstallDateKey = "InstallDate";
inline constexpr const char* LastUpdateKey = "LastUpdate";
inline constexpr const char* GameVersionKey = "VELDRANE_Ver";

struct ProgramVersion {
  int major, minor, revision;
};
// "20031227 " and the version as major.minor.revision.
std::string VersionText(ProgramVersion version);

// The local time `when` as 14 digits: year, month, day, hour (0..23), minute, second.
std::string TimeStamp(std::time_t when);

// What one run of the game adds to the totals.
struct PlayFigures {
  std::array<int32_t, FpsCellCount> FpsCount{};
  int32_t FpsAvg = 0;
  int32_t TryCount = 0;
  int32_t StageClearCount = 0;
  int32_t DeadCount = 0;
};

// What run adds to the stored totals: every cell and counter; the average only above 5; the
// install date only where there is none; `now` (TimeStamp's form) as the last update.
std::vector<StoreChange> PlayTotalsChanges(const PlayFigures& run, const std::string& now,
                                           ProgramVersion game);
// Adds them in one transaction that holds off other writers, so programs saving at once lose no
// count. False when nothing could be saved.
bool AddToPlayTotals(const PlayFigures& run, const std::string& now, ProgramVersion game);

// The totals as stored; absent or non-numeric counts read as 0, absent texts as empty.
struct PlayTotals {
  std::array<int64_t, FpsCellCount> FpsCount{};
  int64_t TryCount = 0;
  int64_t StageClearCount = 0;
  int64_t DeadCount = 0;
  int64_t FpsAvg = 0;
  std::string InstallDate;
  std::string LastUpdate;
  std::string GameVersion;
};
PlayTotals ReadPlayTotals();

// The frame-rate report: a header, 24 histogram lines of 82 characters, the counters, the dates
// and both versions, `poster` last; every line ends in CR LF. A count wider than its column of
// 11 loses its leading digits.
std::string FrameRateReportText(const PlayTotals& totals, ProgramVersion poster);
