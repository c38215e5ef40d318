#include "graphics/game_windows.h"

#include "game/game_state.h"
#include "game/scenes.h"

void FormKeyDown(int16_t key, int16_t shift) { HandleFormKey(key, shift); }

void FormUnload() { QuitRequested = true; }
