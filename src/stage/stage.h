// The stage: its set-up and the behaviours of its objects.
#pragma once

#include <cstdint>

#include "objects/object_table.h"

void SetupStage(int16_t stage);
void RunBehaviour(ObjectIndex i);
