// The stage's one source of chance: seedable, so that a play can be replayed exactly.
#pragma once

#include <cstdint>

void SeedRandom(uint64_t seed);
float UniformRandom();  // [0, 1)

// The whole state, to start a replayed play exactly where its recording started.
uint64_t RandomState();
void SetRandomState(uint64_t state);
