#include "stage/random.h"

namespace {

uint64_t state = 0x853C49E6748FEA9Bull;

}  // namespace

void SeedRandom(uint64_t seed) { state = seed * 2 + 1; }

// A 64-bit linear congruential step; its top 24 bits make an exact float in [0, 1).
float UniformRandom() {
  state = state * 6364136223846793005ull + 1442695040888963407ull;
  return float(state >> 40) / float(1u << 24);
}

uint64_t RandomState() { return state; }

void SetRandomState(uint64_t newState) { state = newState; }
