#include "shading.h"

Image Flashed(const Image& image, FlashLevels below) {
  Image flashed = image;
  for (Rgb& colour : flashed.pixels) {
    if (colour == KeyColour) continue;
    int brightness = Brightness(colour);
    colour = brightness < below.maroon ? pal::Maroon
             : brightness < below.red  ? pal::Red
             : brightness < below.rose ? pal::Rose
                                       : pal::White;
  }
  return flashed;
}

void BlitToned(Image& image, int x, int y, const Art& art, Tone tone) {
  BlitArt(image, x, y, art,
          {{'l', tone.light}, {'b', tone.base}, {'s', tone.shade}, {'k', pal::Ink}});
}

void Rivet(Image& image, int x, int y, Tone head) {
  Plot(image, x, y, head.light);
  Plot(image, x + 1, y, head.base);
  Plot(image, x, y + 1, head.base);
  Plot(image, x + 1, y + 1, head.shade);
}

void Recess(Image& image, int left, int top, int width, int height, Rgb floor) {
  FillRect(image, left, top, width, height, pal::MetalLight);
  FillRect(image, left, top, width - 1, height - 1, pal::Ink);
  FillRect(image, left + 1, top + 1, width - 2, height - 2, floor);
}

void HazardStripes(Image& image, int x, int y, int width, int height, int stripe, int shift) {
  for (int row = y; row < y + height; ++row)
    for (int col = x; col < x + width; ++col)
      Plot(image, col, row, (col + row + shift) % (2 * stripe) < stripe ? pal::Yellow : pal::Ink);
}

uint32_t Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}
