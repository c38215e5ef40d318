// Play counters and the frame rate as this run measured them: a sampler ticks once a second
// from the frame wait and fills the histogram; at shutdown the run is added to the stored
// totals.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "persist/play_totals.h"

inline constexpr ProgramVersion GameVersion{1, 0, 30};

struct PlayStatistics {
  std::array<int32_t, FpsCellCount> FpsCount{};  // by FpsCellIndex
  int32_t FpsAvg = 0;     // halves the weight of older samples at each one
  int32_t TryCount = 0;
  int32_t StageClearCount = 0;
  int32_t DeadCount = 0;
  bool InPlay = false;      // a play is running and not paused
  bool PrevInPlay = false;  // InPlay at the last sample: the first second of a play is skipped
  int32_t LastFrameCounter = 0;
  // Frames presented by every scene. The frame counter is a scene's own clock, set back by
  // the title and held by the pause, so the overlay counts these instead.
  uint32_t FramesShown = 0;
  uint32_t LastFramesShown = 0;  // FramesShown at the last sample
  std::string FpsText;           // the frames shown in the last second, for the overlay
  bool timerRunning = false;
  uint32_t nextTickMs = 0;  // NowMs of the next sample
};
extern PlayStatistics Stats;

inline constexpr uint32_t SampleIntervalMs = 1000;

// One sample: the frames shown since the last one for the overlay; the stage clock's frames
// since the last one for the histogram and the average, counted when a play ran through both
// (the two agree then).
void SampleFrameRate();
// Takes a sample when a second has passed since the last; the first call starts the timer.
// Like a window timer it never catches up: after a long stall it ticks once.
void RunFrameRateTimer();
// Adds this run to the stored totals, with any settings still waiting to be saved.
void SavePlayStatistics();

// Plays that are not the player's own (a practice game, a kept replay, the demo) count for
// nothing: what they add to the statistics and to the high score shown is taken back when this
// ends.
class UncountedPlays {
 public:
  UncountedPlays();
  ~UncountedPlays();
  UncountedPlays(const UncountedPlays&) = delete;
  UncountedPlays& operator=(const UncountedPlays&) = delete;

 private:
  std::array<int32_t, FpsCellCount> fpsCount_;
  int32_t fpsAvg_, tries_, clears_, losses_, hiScore_;
};
