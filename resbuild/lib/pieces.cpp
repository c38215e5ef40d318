#include "pieces.h"

#include <algorithm>

namespace {

struct Rect {
  int left, top, right, bottom;  // right and bottom exclusive
  bool Empty() const { return right <= left; }
};

// The smallest rectangle inside `area` holding every opaque pixel.
Rect OpaqueBounds(const Image& image, Rect area) {
  Rect bounds{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (!IsTransparent(PixelAt(image, x, y))) {
        bounds.left = std::min(bounds.left, x);
        bounds.top = std::min(bounds.top, y);
        bounds.right = std::max(bounds.right, x + 1);
        bounds.bottom = std::max(bounds.bottom, y + 1);
      }
  return bounds;
}

}  // namespace

std::vector<Piece> CutFrame(const Image& frame) {
  std::vector<Piece> pieces;
  Rect trimmed = OpaqueBounds(frame, {0, 0, frame.width, frame.height});
  for (int top = trimmed.top; top < trimmed.bottom; top += BandRows) {
    Rect band = OpaqueBounds(
        frame, {trimmed.left, top, trimmed.right, std::min(top + BandRows, trimmed.bottom)});
    if (band.Empty()) continue;
    pieces.push_back(
        {band.left, band.top,
         Crop(frame, band.left, band.top, band.right - band.left, band.bottom - band.top)});
  }
  return pieces;
}
