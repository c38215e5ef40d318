// What the shared routines need from the program they run in: its millisecond clock, its
// sleep and its window-event pump. Each program defines these once.
#pragma once

#include <cstdint>

uint32_t NowMs();           // milliseconds; wraps like a 32-bit counter
void SleepMs(uint32_t ms);
void PumpEvents();          // takes in pending window events; nothing of the program runs
