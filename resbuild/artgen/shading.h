// The looks every area's art shares: materials in three tones lit from the top-left, the
// hit flash, rivets, recesses and hazard paint, and seeded noise.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "palette.h"

// Highlight, base and shadow of one material.
struct Tone {
  Rgb light, base, shade;
};

// One colour on every side, for what is not shaded.
constexpr Tone Flat(Rgb colour) { return {colour, colour, colour}; }

namespace tone {
constexpr Tone Steel{pal::MetalLight, pal::MetalBase, pal::MetalShade};
constexpr Tone BrightSteel{pal::MetalGlint, pal::MetalLight, pal::MetalShade};
constexpr Tone GunSteel{pal::MetalBase, pal::MetalShade, pal::MetalDark};
constexpr Tone DarkSteel{pal::MetalShade, pal::MetalDark, pal::Ink};
constexpr Tone Slate{pal::MetalLight, pal::MetalShade, pal::MetalDark};
constexpr Tone BlueSteel{pal::IceSteel, pal::SteelBlue, pal::DeepSteel};
constexpr Tone DeepBlue{pal::SteelBlue, pal::DeepSteel, pal::NavySteel};
constexpr Tone Canopy{pal::IceSteel, pal::NavySteel, pal::Ink};
constexpr Tone RedPaint{pal::Orange, pal::Red, pal::Maroon};
constexpr Tone DarkRed{pal::Red, pal::Maroon, pal::Ink};
constexpr Tone OrangePaint{pal::Amber, pal::Orange, pal::Red};
constexpr Tone BrickPaint{pal::BrickLight, pal::Brick, pal::BrickDark};
constexpr Tone LitLamp{pal::White, pal::Yellow, pal::Amber};
}  // namespace tone

// Perceived brightness, 0 to 255.
constexpr int Brightness(Rgb colour) { return (3 * colour.r + 6 * colour.g + colour.b) / 10; }

// The brightness below which a hit frame turns a pixel maroon, red or rose; white above.
struct FlashLevels {
  int maroon, red, rose;
};

// The hit frame of an image: the same picture in white and reds by brightness.
Image Flashed(const Image& image, FlashLevels below);

// Text art in one material: 'l' light, 'b' base, 's' shade and 'k' ink.
void BlitToned(Image& image, int x, int y, const Art& art, Tone tone);

// A 2x2 rivet head: light at its top-left, base either side, shade at its bottom-right.
void Rivet(Image& image, int x, int y, Tone head);

// Recessed: dark on the top and left inner walls, lit along the bottom and right lip.
void Recess(Image& image, int left, int top, int width, int height, Rgb floor);

// Diagonal yellow and ink stripes `stripe` pixels wide; `shift` slides them along.
void HazardStripes(Image& image, int x, int y, int width, int height, int stripe = 4,
                   int shift = 0);

// How far one can step from (x, y) by (dx, dy) and stay inside, up to `limit`.
template <typename Inside>
int Reach(Inside inside, int x, int y, int dx, int dy, int limit) {
  int steps = 0;
  while (steps < limit && inside(x + dx * (steps + 1), y + dy * (steps + 1))) ++steps;
  return steps;
}

// Whether (x, y) has a side neighbour outside the shape.
template <typename Inside>
bool OnEdge(Inside inside, int x, int y) {
  return !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
}

// Seeded noise: the same value for the same cell and seed in every build.
uint32_t Hash(int x, int y, int seed);
