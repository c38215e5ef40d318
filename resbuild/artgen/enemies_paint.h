// Shared painting for the enemy images: shapes sampled at pixel centres and painted with a
// light top-left edge and a shaded bottom-right one, the silhouette outline and glowing
// shots. Every image starts as the transparent key.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "shading.h"

namespace enemy_art {

constexpr Tone RivetHead{pal::MetalGlint, pal::MetalLight, pal::Ink};

// Enemies flash brighter than the boss: only their inks stay maroon.
constexpr FlashLevels FlashBelow{25, 60, 115};

struct Point {
  double x, y;
};

// The pixels a shape covers, in an image-sized grid.
struct Mask {
  int width = 0, height = 0;
  std::vector<bool> in;
  bool Has(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && in[y * width + x];
  }
};

// The pixels whose centre `inside` accepts.
Mask MaskOf(int width, int height, const std::function<bool(Point)>& inside);
Mask PolygonMask(int width, int height, const std::vector<Point>& polygon);
Mask EllipseMask(int width, int height, Point centre, double radiusX, double radiusY);
Mask RectMask(int width, int height, int x, int y, int rectWidth, int rectHeight);
Mask Mirrored(const Mask& mask);  // left to right
Mask Union(const Mask& a, const Mask& b);
// A polygon and its mirror image across the middle of the width.
Mask Symmetric(int width, int height, const std::vector<Point>& leftHalf);

// A shape turned about `centre`: local x runs to the right of the heading, local y along it,
// and heading (sin a, cos a) is screen down for a = 0, right for a = pi/2.
Mask TurnedPolygon(int width, int height, Point centre, double angle,
                   const std::vector<Point>& local);
Point Turned(Point centre, double angle, Point local);

void PaintFlat(Image& image, const Mask& mask, Rgb colour);
// Base fill, light where the shape's edge faces up or left, shade where it faces down or right.
void Paint(Image& image, const Mask& mask, Tone tone);
// The same inside a ring of ink, for parts that sit on other parts.
void PaintInked(Image& image, const Mask& mask, Tone tone);
// Inked, with shade `depth` pixels wide and light half that, so a large hull reads as rounded.
void PaintSculpted(Image& image, const Mask& mask, Tone tone, int depth);
// A panel seam cut into the surface from a to b: ink, lit along its lower side, kept
// inside `within` and clear of its edge.
void Groove(Image& image, const Mask& within, Point a, Point b, Rgb lit);

// Ink around everything drawn, edge to edge, against the key.
void Outline(Image& image);

// A shot's glow between a and b, radius ra at a and rb at b: rings of `ramp` from the
// edge inwards, one pixel each, the last filling the core.
void Glow(Image& image, Point a, Point b, double radiusA, double radiusB,
          const std::vector<Rgb>& ramp);

// A small round lamp of `tone` (lit) centred at (x, y), 3 pixels across.
void Lamp(Image& image, int x, int y, Tone tone);

// The images, by kind of enemy.
void DrawEnemyShots(const std::filesystem::path& folder);
void DrawDrone(const std::filesystem::path& folder);
void DrawDart(const std::filesystem::path& folder);
void DrawPod(const std::filesystem::path& folder);
void DrawArmoured(const std::filesystem::path& folder);
void DrawHatchTurret(const std::filesystem::path& folder);
void DrawBeamCraft(const std::filesystem::path& folder);

}  // namespace enemy_art
