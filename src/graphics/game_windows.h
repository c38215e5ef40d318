// What the game's window does with its events.
#pragma once

#include <cstdint>

void FormKeyDown(int16_t key, int16_t shift);  // a key pressed on the window
void FormUnload();                             // the window was closed
