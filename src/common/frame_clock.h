// The frame number every part of the game keeps time by: the running scene advances it once a
// frame, and a play uses it as the stage clock. Objects age by it and sound effects are
// rationed by it, so it lives below them all.
#pragma once

#include <cstdint>

extern int32_t FrameCounter;
