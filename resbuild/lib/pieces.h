// Cutting a frame into the pieces the game blits: the frame is trimmed of its transparent
// border, cut into horizontal bands, and each band trimmed again, so that large transparent
// areas of a frame cost nothing to draw.
#pragma once

#include <vector>

#include "image.h"

constexpr int BandRows = 32;

struct Piece {
  int x = 0, y = 0;  // top-left within the frame
  Image pixels;
};

// Top to bottom; an all-transparent frame has no pieces.
std::vector<Piece> CutFrame(const Image& frame);
