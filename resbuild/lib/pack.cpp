#include "pack.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace {

// Where the next rectangle goes: shelves fill a page left to right, top to bottom.
struct Shelf {
  int page = 0, top = 0, height = 0, x = 0;
};

// A slot is the rectangle plus the gap before it, so a page's row and column 0 stay empty.
Placement Place(Shelf& shelf, Size slot, int sheetWidth, int pageHeight) {
  if (shelf.x + slot.width > sheetWidth) shelf = {shelf.page, shelf.top + shelf.height, 0, 0};
  if (shelf.top + slot.height > pageHeight) shelf = {shelf.page + 1, 0, 0, 0};
  Placement placed{shelf.x + 1, shelf.top + 1, shelf.page};
  shelf.x += slot.width;
  shelf.height = std::max(shelf.height, slot.height);
  return placed;
}

}  // namespace

PackResult PackShelves(const std::vector<Size>& sizes, int sheetWidth, int pageHeight) {
  std::vector<size_t> order(sizes.size());
  std::iota(order.begin(), order.end(), 0);
  // Tallest first keeps shelves full; the stable sort makes the layout repeatable.
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return sizes[a].height > sizes[b].height; });

  PackResult result;
  result.placements.resize(sizes.size());
  Shelf shelf;
  for (size_t i : order) {
    Size slot{sizes[i].width + 1, sizes[i].height + 1};
    if (slot.width > sheetWidth || slot.height > pageHeight)
      throw BuildError("a " + std::to_string(sizes[i].width) + "x" +
                       std::to_string(sizes[i].height) + " piece does not fit a " +
                       std::to_string(sheetWidth) + "x" + std::to_string(pageHeight) + " page");
    result.placements[i] = Place(shelf, slot, sheetWidth, pageHeight);
  }
  result.pages = shelf.page + 1;
  if (result.pages * pageHeight > MaxSheetHeight)
    throw BuildError("the sheet would be " + std::to_string(result.pages * pageHeight) +
                     " pixels tall, above the limit of " + std::to_string(MaxSheetHeight));
  const int64_t pixels = int64_t(sheetWidth) * result.pages * pageHeight;
  if (pixels > MaxSheetPixels)
    throw BuildError("the sheet would hold " + std::to_string(pixels) +
                     " pixels, above the game's limit of " + std::to_string(MaxSheetPixels));
  return result;
}
