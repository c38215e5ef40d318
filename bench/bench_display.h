// The game's display on SDL's dummy driver with the built resources loaded, made once for all
// benchmarks of a run.
#pragma once

#include <string>

void EnsureGameDisplay();

// The game as the frame-cost benchmark starts it on an X display: resting on the title, or
// playing under the autopilot ("title" or "play").
int RunFrameCostChild(const std::string& scene);
