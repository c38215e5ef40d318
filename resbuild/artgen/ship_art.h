// The player's effects drawn apart from the ship itself, for ship.cpp to save.
#pragma once

#include <vector>

#include "image.h"

// ship_bursts.cpp: frames of 32x32, and of cells 32, 64 or 128 pixels square.
std::vector<Image> BarrierSparkFrames();
std::vector<Image> ExplosionFrames(int cellSize);
// ship_screens.cpp: 32x32 tiles, and a 156x64 picture.
std::vector<Image> ScreenWipeFrames();
Image GameOverPicture();
