// What the boss's drawing files share: the body's cell and the place of its face, and lit
// shapes (ink outline, highlight towards the top-left, shadow towards the bottom-right).
#pragma once

#include <cmath>
#include <filesystem>
#include <numbers>
#include <vector>

#include "shading.h"

namespace boss {

constexpr int BossWidth = 160, BossHeight = 128;

// The face images draw only inside this square of the body.
constexpr int CoreLeft = 48, CoreTop = 32, CoreSize = 64;

// The body is symmetric about the line between its two middle columns.
constexpr int MirroredX(int x, int width = 1) { return BossWidth - x - width; }

// A part of the left half drawn once as it is and once mirrored.
struct Half {
  bool mirrored = false;
  int X(int x, int width = 1) const { return mirrored ? MirroredX(x, width) : x; }
};
constexpr Half Halves[] = {{false}, {true}};

constexpr Tone RivetHead{pal::MetalGlint, pal::MetalShade, pal::Ink};

// The boss's hit frame keeps its darks maroon.
constexpr FlashLevels FlashBelow{40, 80, 115};

// Fills the pixels of the box for which inside(x, y) holds (x, y relative to the box): a
// pixel on the shape's edge is ink, one just inside the top or left edge takes the light
// and one just inside the bottom or right edge the shadow.
template <typename Inside>
void LitShape(Image& image, int left, int top, int width, int height, Tone tone, Inside inside) {
  auto in = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && inside(x, y);
  };
  auto edge = [&](int x, int y) { return in(x, y) && OnEdge(in, x, y); };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!in(x, y)) continue;
      bool lit = edge(x - 1, y) || edge(x, y - 1);
      bool dark = edge(x + 1, y) || edge(x, y + 1);
      Rgb colour = edge(x, y)     ? pal::Ink
                   : lit && !dark ? tone.light
                   : dark && !lit ? tone.shade
                                  : tone.base;
      Plot(image, left + x, top + y, colour);
    }
}

// A rectangle with its corners cut at 45 degrees, `chamfer` pixels deep.
void LitBlock(Image& image, int left, int top, int width, int height, Tone tone, int chamfer = 0);
// The ellipse filling the box; an even size centres it between pixels.
void LitEllipse(Image& image, int left, int top, int width, int height, Tone tone);
bool InEllipse(int x, int y, int width, int height);

// A dark groove across a plate, lit on its lower or right lip.
void Seam(Image& image, int x, int y, int length, bool across);

// --- the face's geometry, shared by the body's sockets and the face images ---

// The left eye's box; the right eye is its mirror.
constexpr int EyeLeft = 58, EyeTop = 49, EyeWidth = 18, EyeHeight = 11;

// An angry almond: its top slants down towards the nose (x grows inward).
inline bool InEye(int x, int y) {
  if (x < 0 || y < 0 || x >= EyeWidth || y >= EyeHeight) return false;
  int top = x * 5 / (EyeWidth - 1);
  int fromMiddle = 2 * x - (EyeWidth - 1);
  int bottom = EyeHeight - 1 - fromMiddle * fromMiddle / 80;
  return y >= top && y <= bottom;
}

// The throat between the mouth's teeth.
constexpr int ThroatLeft = 67, ThroatTop = 78, ThroatWidth = 26, ThroatHeight = 2;

// Where a 4x4 lamp sits centred on the middle line.
constexpr int MiddleLampX = BossWidth / 2 - 2;

// The lamps ringing the face, clockwise from the top; each is a 4x4 cell.
constexpr int FaceLamps = 12;
constexpr int LampRingRadius = 29;
struct LampCell {
  int x, y;
};
inline LampCell FaceLamp(int index) {
  double angle = 2 * std::numbers::pi * index / FaceLamps;
  // Rounding away from zero keeps mirrored lamps mirrored.
  return {MiddleLampX + Round(LampRingRadius * std::sin(angle)),
          CoreTop + CoreSize / 2 - 2 - Round(LampRingRadius * std::cos(angle))};
}

// A round lamp in a 4x4 cell, hot or dark.
void Lamp(Image& image, int x, int y, bool lit);

// The face images in sprite order, each a body-sized cell holding only the core.
std::vector<Image> BossFaces();
// boss_turret (four kinds of twenty frames, one kind a row) and boss_shot.
void DrawBossTurrets(const std::filesystem::path& folder);

}  // namespace boss
