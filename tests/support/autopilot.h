// A player for test and benchmark plays: holds fire, keeps low on the screen and slides under
// the boss while it can be hurt, otherwise under the lowest enemy in view.
#pragma once

#include <cstdint>

uint16_t Autopilot();
