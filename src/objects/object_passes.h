// The passes of every frame of a play: each live object runs (and draws) itself, then hits are
// settled between fixed pairs of groups.
#pragma once

#include "objects/object_table.h"

extern ObjectIndex ShipIndex;
extern ObjectIndex BossIndex;

void RunObjects();
void RunHits();
