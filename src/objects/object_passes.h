// The passes of every frame of a play: each live object runs (and draws) itself, then hits are
// settled between fixed pairs of groups.
#pragma once

#include "objects/object_table.h"

extern ObjectIndex ShipIndex;
extern ObjectIndex BossIndex;  // 0 once the boss's fall has been taken over

// For test plays only: the ship takes hits but never loses life.
extern bool ShipCannotDie;

void RunObjects();
void RunHits();

bool BoxesOverlap(ObjectIndex a, ObjectIndex b);
bool HitsShip(ObjectIndex i);     // the object's box against the ship's 4x4 core
bool HitsBarrier(ObjectIndex b);  // ... against either of the ship's two pods
void ResolveHit(ObjectIndex victim, ObjectIndex attacker);
void ResolveBarrierHit(ObjectIndex bullet);
