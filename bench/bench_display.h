// The game's display on SDL's dummy driver with the built resources loaded, made once for all
// benchmarks of a run.
#pragma once

void EnsureGameDisplay();
