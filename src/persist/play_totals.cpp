#include "persist/play_totals.h"

#include "common/utility.h"
#include "persist/store_changes.h"
#include "persist/stored_values.h"

namespace {

constexpr int CountColumn = 11;

// The 27 characters that name a histogram line, line 0 to 23.
std::string HistogramLabel(int line) {
  const int se = line % SeCount;
  const int bgm = line / SeCount % BgmCount;
  const int screen = line / (SeCount * BgmCount) % ScreenCount;
  const int rate = line / (SeCount * BgmCount * ScreenCount);
  static const char* const Screens[] = {"Window ", "FullScr"};
  static const char* const Rates[] = {"11KHz ", "22KHz ", "44KHz "};
  static const char* const Musics[] = {"BgmOff", "BgmOn "};
  static const char* const Effects[] = {"SeOff", "SeOn "};
  return std::string(Screens[screen]) + " " + Rates[rate] + Musics[bgm] + " " + Effects[se] + " ";
}

}  // namespace

int FpsCellIndex(const FpsCell& cell) {
  return (((cell.rate * ScreenCount + cell.screen) * BgmCount + cell.bgm) * SeCount + cell.se) *
             BucketCount +
         cell.bucket;
}

std::string FpsCellKey(int index) {
  const int digits[] = {
      index / (BucketCount * SeCount * BgmCount * ScreenCount),
      index / (BucketCount * SeCount * BgmCount) % ScreenCount,
      index / (BucketCount * SeCount) % BgmCount,
      index / BucketCount % SeCount,
      index % BucketCount,
  };
  std::string key = "F";
  for (int digit : digits) key += char('0' + digit);
  return key;
}

int FpsBucket(int32_t framesPerSecond) {
  if (framesPerSecond < 15) return 0;
  if (framesPerSecond <= 25) return 1;
  if (framesPerSecond <= 35) return 2;
  if (framesPerSecond <= 45) return 3;
  return 4;
}

std::string VersionText(ProgramVersion version) {
  return "20031227 " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.revision);
}

std::string TimeStamp(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
  return text;
}

std::vector<StoreChange> PlayTotalsChanges(const PlayFigures& run, const std::string& now,
                                           ProgramVersion game) {
  std::vector<StoreChange> changes;
  const auto add = [&](const std::string& key, int32_t count) {
    changes.push_back({ChangeKind::Add, OptionsSection, key, StoredNumberText(count)});
  };
  for (int cell = 0; cell < FpsCellCount; ++cell) add(FpsCellKey(cell), run.FpsCount[size_t(cell)]);
  add(TryCountKey, run.TryCount);
  add(StageClearCountKey, run.StageClearCount);
  add(DeadCountKey, run.DeadCount);
  if (run.FpsAvg > 5)
    changes.push_back({ChangeKind::Set, OptionsSection, FpsAvgKey, StoredNumberText(run.FpsAvg)});
  changes.push_back({ChangeKind::Fill, OptionsSection, InstallDateKey, now});
  changes.push_back({ChangeKind::Set, OptionsSection, LastUpdateKey, now});
  changes.push_back({ChangeKind::Set, OptionsSection, GameVersionKey, VersionText(game)});
  return changes;
}

bool AddToPlayTotals(const PlayFigures& run, const std::string& now, ProgramVersion game) {
  return ApplyChanges(PlayTotalsChanges(run, now, game));
}

PlayTotals ReadPlayTotals() {
  std::vector<StoredValue> wanted;
  for (int cell = 0; cell < FpsCellCount; ++cell)
    wanted.push_back({OptionsSection, FpsCellKey(cell), "0"});
  for (const char* key : {TryCountKey, StageClearCountKey, DeadCountKey, FpsAvgKey})
    wanted.push_back({OptionsSection, key, "0"});
  for (const char* key : {InstallDateKey, LastUpdateKey, GameVersionKey})
    wanted.push_back({OptionsSection, key, ""});
  const std::vector<std::string> texts = StoreGetMany(GameApplication, wanted);

  PlayTotals totals;
  size_t at = 0;
  for (int64_t& count : totals.FpsCount) count = StoredWholeNumber(texts[at++]);
  for (int64_t* count : {&totals.TryCount, &totals.StageClearCount, &totals.DeadCount,
                         &totals.FpsAvg})
    *count = StoredWholeNumber(texts[at++]);
  totals.InstallDate = texts[at++];
  totals.LastUpdate = texts[at++];
  totals.GameVersion = texts[at++];
  return totals;
}

std::string FrameRateReportText(const PlayTotals& totals, ProgramVersion poster) {
  const std::string end = "\r\n";
  std::string text =
      " === Frame Rate Report ===     0-15fps   15-25fps   25-35fps   35-45fps over 45fps" + end;
  for (int line = 0; line < FpsCellCount / BucketCount; ++line) {
    text += HistogramLabel(line);
    for (int bucket = 0; bucket < BucketCount; ++bucket)
      text += PadNumber(totals.FpsCount[size_t(line * BucketCount + bucket)], CountColumn, " ");
    text += end;
  }
  text += std::string(TryCountKey) + " " + StoredNumberText(totals.TryCount) + end;
  text += std::string(StageClearCountKey) + " " + StoredNumberText(totals.StageClearCount) + end;
  text += std::string(DeadCountKey) + " " + StoredNumberText(totals.DeadCount) + end;
  text += std::string(FpsAvgKey) + " " + StoredNumberText(totals.FpsAvg) + end;
  text += "ID " + totals.InstallDate + end;
  text += "LU " + totals.LastUpdate + end;
  text += std::string(GameVersionKey) + " " + totals.GameVersion + end;
  text += "POSTER_Ver " + VersionText(poster) + end;
  return text;
}
