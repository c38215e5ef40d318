// The hit pass of every frame: fixed pairs of groups tested for overlapping boxes, and each
// hit settled: life taken, sounds played, explosions made, score given, the ship lost.
#pragma once

#include <cstdint>

#include "objects/object_table.h"

// A template's `hitKind`: how its objects take a hit. Any other value ignores hits.
enum HitKind : int32_t {
  HitLosesOne = 0,    // both sides lose one life
  HitPushesBack = 2,  // the same, and a vulnerable victim is pushed 16 pixels along the shot
};

// For test plays only: the ship takes hits but never loses life.
extern bool ShipCannotDie;

void RunHits();

bool BoxesOverlap(ObjectIndex a, ObjectIndex b);
bool HitsShip(ObjectIndex i);     // the object's box against the ship's 4x4 core
bool HitsBarrier(ObjectIndex b);  // ... against either of the ship's two pods
// Settles one hit. A side whose life runs out is destroyed: its explosion, and then the ship
// is lost, or an object with a death roll waits for its controller, or it is removed.
void ResolveHit(ObjectIndex victim, ObjectIndex attacker);
void ResolveBarrierHit(ObjectIndex bullet);
