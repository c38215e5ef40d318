// The game's display on SDL's dummy driver with the built resources loaded, made once for all
// benchmarks of a run.
#pragma once

void EnsureGameDisplay();

// The child the start-up benchmark starts: runs the game until its first title frame is shown.
int RunStartUpChild();
