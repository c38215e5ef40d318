#include "common/frame_clock.h"

int32_t FrameCounter = 0;
