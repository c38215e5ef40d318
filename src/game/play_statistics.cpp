#include "game/play_statistics.h"

#include "common/frame_clock.h"
#include "common/host.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "sound/mixer.h"
#include "sound/sound.h"

PlayStatistics Stats;

namespace {

FpsCell CellOfSample(int32_t framesPerSecond) {
  return {
      .rate = Settings.MixRateIndex,
      .screen = Display.FullScreen ? 1 : 0,
      .bgm = IsMusicPlaying() ? 1 : 0,
      .se = Mixer.SeVolume > 0 && Sounds.SoundEnabled ? 1 : 0,
      .bucket = FpsBucket(framesPerSecond),
  };
}

bool ValidCell(const FpsCell& cell) {
  return cell.rate >= 0 && cell.rate < RateCount;  // the other axes are built in range
}

}  // namespace

void SampleFrameRate() {
  const int32_t frames = FrameCounter - Stats.LastFrameCounter;
  Stats.LastFrameCounter = FrameCounter;
  Stats.FpsText = std::to_string(Stats.FramesShown - Stats.LastFramesShown);
  Stats.LastFramesShown = Stats.FramesShown;
  if (Stats.InPlay && Stats.PrevInPlay) {
    Stats.FpsAvg = (Stats.FpsAvg + frames) / 2;
    const FpsCell cell = CellOfSample(frames);
    if (ValidCell(cell)) ++Stats.FpsCount[size_t(FpsCellIndex(cell))];
  }
  Stats.PrevInPlay = Stats.InPlay;
}

void RunFrameRateTimer() {
  const uint32_t now = NowMs();
  if (!Stats.timerRunning) {
    Stats.timerRunning = true;
    Stats.nextTickMs = now + SampleIntervalMs;
    return;
  }
  if (int32_t(now - Stats.nextTickMs) < 0) return;  // modular: right across the clock's wrap
  SampleFrameRate();
  Stats.nextTickMs += SampleIntervalMs;
  if (int32_t(now - Stats.nextTickMs) >= 0) Stats.nextTickMs = now + SampleIntervalMs;
}

void SavePlayStatistics() {
  PlayFigures run;
  run.FpsCount = Stats.FpsCount;
  run.FpsAvg = Stats.FpsAvg;
  run.TryCount = Stats.TryCount;
  run.StageClearCount = Stats.StageClearCount;
  run.DeadCount = Stats.DeadCount;
  FinishSaving(PlayTotalsChanges(run, TimeStamp(std::time(nullptr)), GameVersion));
}

UncountedPlays::UncountedPlays()
    : fpsCount_(Stats.FpsCount),
      fpsAvg_(Stats.FpsAvg),
      tries_(Stats.TryCount),
      clears_(Stats.StageClearCount),
      losses_(Stats.DeadCount),
      hiScore_(Settings.HiScore) {}

UncountedPlays::~UncountedPlays() {
  Stats.FpsCount = fpsCount_;
  Stats.FpsAvg = fpsAvg_;
  Stats.TryCount = tries_;
  Stats.StageClearCount = clears_;
  Stats.DeadCount = losses_;
  Settings.HiScore = hiScore_;
}
