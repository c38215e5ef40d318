// Shelf packing of piece rectangles into a sheet that is a column of equal pages. Every
// piece keeps a one-pixel transparent gap to its neighbours and to the top and left page
// edges, which also leaves the sheet's top-left pixel to the colour key.
#pragma once

#include <vector>

#include "common/resource_format.h"
#include "image.h"

struct Size {
  int width = 0, height = 0;
};

struct Placement {
  int x = 0, y = 0;  // top-left on its page
  int page = 0;
};

struct PackResult {
  std::vector<Placement> placements;  // one per size, in the same order
  int pages = 1;
};

// A rectangle that fits no page, or more pages than MaxSheetHeight or MaxSheetPixels allow,
// is an error.
PackResult PackShelves(const std::vector<Size>& sizes, int sheetWidth, int pageHeight);
