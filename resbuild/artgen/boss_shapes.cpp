// The boss's lit shapes and small fittings.
#include <algorithm>

#include "boss_art.h"

namespace boss {

void LitBlock(Image& image, int left, int top, int width, int height, Tone tone, int chamfer) {
  LitShape(image, left, top, width, height, tone, [&](int x, int y) {
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

void LitEllipse(Image& image, int left, int top, int width, int height, Tone tone) {
  LitShape(image, left, top, width, height, tone,
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

void Lamp(Image& image, int x, int y, bool lit) {
  static const Art Lens = ParseArt(R"(
.kk.
klbk
kbsk
.kk.)");
  constexpr Tone Hot{pal::YellowWhite, pal::Amber, pal::Orange};
  constexpr Tone Dark{pal::Brick, pal::Maroon, pal::Maroon};
  BlitToned(image, x, y, Lens, lit ? Hot : Dark);
}

}  // namespace boss
