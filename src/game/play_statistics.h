// Play counters and the frame-rate figures that the once-a-second sampler keeps.
#pragma once

#include <cstdint>
#include <string>

struct PlayStatistics {
  int32_t TryCount = 0;
  int32_t StageClearCount = 0;
  int32_t DeadCount = 0;
  bool InPlay = false;  // a play is running and not paused
  std::string FpsText;
};
extern PlayStatistics Stats;
