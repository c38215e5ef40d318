// What the shared routines need from the program they run in: its millisecond clock, its
// sleep and its window-event pump. Each program defines these once.
#pragma once

#include <cstdint>

uint32_t timeGetTime();   // milliseconds; wraps like a 32-bit counter
void Sleep(uint32_t ms);
void PumpEvents();        // lets pending window events run
