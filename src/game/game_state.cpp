#include "game/game_state.h"

ProgramState Program;
