// Play counters and the frame-rate figures that the once-a-second sampler keeps.
#pragma once

#include <cstdint>
#include <string>

extern int32_t TryCount;
extern int32_t StageClearCount;
extern int32_t DeadCount;
extern bool InPlay;      // a play is running and not paused
extern bool PrevInPlay;
extern std::string FpsText;
