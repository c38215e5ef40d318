// The boss's lit shapes and small fittings, and the hit flash of its images.
#include <algorithm>

#include "boss_art.h"

namespace boss {

void LitBlock(Image& image, int left, int top, int width, int height, Shades shades, int chamfer) {
  LitShape(image, left, top, width, height, shades, [&](int x, int y) {
    int right = width - 1 - x, bottom = height - 1 - y;
    return x + y >= chamfer && right + y >= chamfer && x + bottom >= chamfer &&
           right + bottom >= chamfer;
  });
}

// Doubled coordinates put the centre of an even box between pixels.
bool InEllipse(int x, int y, int width, int height) {
  long dx = 2 * x - (width - 1), dy = 2 * y - (height - 1);
  long w = width, h = height;
  return dx * dx * h * h + dy * dy * w * w <= w * w * h * h + w * h * std::min(w, h);
}

void LitEllipse(Image& image, int left, int top, int width, int height, Shades shades) {
  LitShape(image, left, top, width, height, shades,
           [&](int x, int y) { return InEllipse(x, y, width, height); });
}

void Seam(Image& image, int x, int y, int length, bool across) {
  if (across) {
    FillRect(image, x, y, length, 1, pal::MetalDark);
    FillRect(image, x, y + 1, length, 1, pal::MetalLight);
  } else {
    FillRect(image, x, y, 1, length, pal::MetalDark);
    FillRect(image, x + 1, y, 1, length, pal::MetalLight);
  }
}

void Rivet(Image& image, int x, int y) {
  Plot(image, x, y, pal::MetalGlint);
  Plot(image, x + 1, y, pal::MetalShade);
  Plot(image, x, y + 1, pal::MetalShade);
  Plot(image, x + 1, y + 1, pal::Ink);
}

void Recess(Image& image, int left, int top, int width, int height, Rgb floor) {
  FillRect(image, left, top, width, height, pal::MetalLight);
  FillRect(image, left, top, width - 1, height - 1, pal::Ink);
  FillRect(image, left + 1, top + 1, width - 2, height - 2, floor);
}

void Lamp(Image& image, int x, int y, bool lit) {
  static const Art Lens = ParseArt(R"(
.kk.
kgbk
kbsk
.kk.)");
  if (lit)
    BlitArt(image, x, y, Lens,
            {{'k', pal::Ink}, {'g', pal::YellowWhite}, {'b', pal::Amber}, {'s', pal::Orange}});
  else
    BlitArt(image, x, y, Lens,
            {{'k', pal::Ink}, {'g', pal::Brick}, {'b', pal::Maroon}, {'s', pal::Maroon}});
}

Image Flashed(const Image& image) {
  Image flashed = image;
  for (Rgb& colour : flashed.pixels) {
    if (colour == KeyColour) continue;
    int brightness = Brightness(colour);
    colour = brightness < 40    ? pal::Maroon
             : brightness < 80  ? pal::Red
             : brightness < 115 ? pal::Rose
                                : pal::White;
  }
  return flashed;
}

}  // namespace boss
