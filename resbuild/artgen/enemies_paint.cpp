#include "enemies_paint.h"

#include <algorithm>
#include <cmath>

namespace enemy_art {

namespace {

bool InsidePolygon(const std::vector<Point>& polygon, Point p) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point &a = polygon[i], &b = polygon[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
      inside = !inside;
  }
  return inside;
}

Mask Eroded(const Mask& mask) {
  auto has = [&](int x, int y) { return mask.Has(x, y); };
  return MaskOf(mask.width, mask.height, [&](Point p) {
    int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
    return has(x, y) && !OnEdge(has, x, y);
  });
}

bool Drawn(const Image& image, int x, int y) {
  return x >= 0 && y >= 0 && x < image.width && y < image.height &&
         PixelAt(image, x, y) != KeyColour;
}

// Whether the mask ends within `reach` pixels of (x, y) to the left or above (direction -1),
// or to the right or below (direction 1).
bool EdgeWithin(const Mask& mask, int x, int y, int direction, int reach) {
  auto has = [&](int px, int py) { return mask.Has(px, py); };
  return std::min(Reach(has, x, y, direction, 0, reach), Reach(has, x, y, 0, direction, reach)) <
         reach;
}

// Light on the top-left edges, shade on the bottom-right ones, base between; light wins
// where a part is too thin for both.
void Shade(Image& image, const Mask& mask, Tone tone, int lightReach, int shadeReach) {
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x) {
      if (!mask.Has(x, y)) continue;
      Rgb colour = EdgeWithin(mask, x, y, -1, lightReach)  ? tone.light
                   : EdgeWithin(mask, x, y, 1, shadeReach) ? tone.shade
                                                           : tone.base;
      Plot(image, x, y, colour);
    }
}

}  // namespace

Mask MaskOf(int width, int height, const std::function<bool(Point)>& inside) {
  Mask mask{width, height, std::vector<bool>(width * height)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) mask.in[y * width + x] = inside({x + 0.5, y + 0.5});
  return mask;
}

Mask PolygonMask(int width, int height, const std::vector<Point>& polygon) {
  return MaskOf(width, height, [&](Point p) { return InsidePolygon(polygon, p); });
}

Mask EllipseMask(int width, int height, Point centre, double radiusX, double radiusY) {
  return MaskOf(width, height, [&](Point p) {
    double dx = (p.x - centre.x) / radiusX, dy = (p.y - centre.y) / radiusY;
    return dx * dx + dy * dy <= 1.0;
  });
}

Mask RectMask(int width, int height, int x, int y, int rectWidth, int rectHeight) {
  return MaskOf(width, height, [&](Point p) {
    return p.x > x && p.y > y && p.x < x + rectWidth && p.y < y + rectHeight;
  });
}

Mask Mirrored(const Mask& mask) {
  return MaskOf(mask.width, mask.height, [&](Point p) {
    return mask.Has(mask.width - 1 - static_cast<int>(p.x), static_cast<int>(p.y));
  });
}

Mask Union(const Mask& a, const Mask& b) {
  return MaskOf(a.width, a.height, [&](Point p) {
    int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
    return a.Has(x, y) || b.Has(x, y);
  });
}

Mask Symmetric(int width, int height, const std::vector<Point>& leftHalf) {
  Mask left = PolygonMask(width, height, leftHalf);
  return Union(left, Mirrored(left));
}

Point Turned(Point centre, double angle, Point local) {
  double s = std::sin(angle), c = std::cos(angle);
  return {centre.x + local.x * c + local.y * s, centre.y - local.x * s + local.y * c};
}

Mask TurnedPolygon(int width, int height, Point centre, double angle,
                   const std::vector<Point>& local) {
  std::vector<Point> polygon;
  for (Point corner : local) polygon.push_back(Turned(centre, angle, corner));
  return PolygonMask(width, height, polygon);
}

void Groove(Image& image, const Mask& within, Point a, Point b, Rgb lit) {
  Image line = MakeImage(within.width, within.height, KeyColour);
  DrawLine(line, static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x),
           static_cast<int>(b.y), pal::Ink);
  Mask inside = Eroded(Eroded(within));
  for (int y = 0; y < line.height; ++y)
    for (int x = 0; x < line.width; ++x) {
      if (!Drawn(line, x, y) || !inside.Has(x, y)) continue;
      PixelAt(image, x, y) = pal::Ink;
      if (!Drawn(line, x, y + 1) && inside.Has(x, y + 1)) PixelAt(image, x, y + 1) = lit;
    }
}

void PaintFlat(Image& image, const Mask& mask, Rgb colour) {
  for (int y = 0; y < mask.height; ++y)
    for (int x = 0; x < mask.width; ++x)
      if (mask.Has(x, y)) Plot(image, x, y, colour);
}

void Paint(Image& image, const Mask& mask, Tone tone) { Shade(image, mask, tone, 1, 1); }

void PaintInked(Image& image, const Mask& mask, Tone tone) {
  PaintFlat(image, mask, pal::Ink);
  Paint(image, Eroded(mask), tone);
}

void PaintSculpted(Image& image, const Mask& mask, Tone tone, int depth) {
  PaintFlat(image, mask, pal::Ink);
  Shade(image, Eroded(mask), tone, (depth + 1) / 2, depth);
}

void Outline(Image& image) {
  Image drawn = image;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (!Drawn(drawn, x, y) && (Drawn(drawn, x - 1, y) || Drawn(drawn, x + 1, y) ||
                                  Drawn(drawn, x, y - 1) || Drawn(drawn, x, y + 1)))
        PixelAt(image, x, y) = pal::Ink;
}

void Glow(Image& image, Point a, Point b, double radiusA, double radiusB,
          const std::vector<Rgb>& ramp) {
  double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
      double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
      double radius = radiusA + (radiusB - radiusA) * t;
      double depth = radius - std::hypot(px - t * dx, py - t * dy);
      if (depth < 0) continue;
      size_t ring = std::min(static_cast<size_t>(depth), ramp.size() - 1);
      PixelAt(image, x, y) = ramp[ring];
    }
}

void Lamp(Image& image, int x, int y, Tone tone) {
  static const Art Light = ParseArt(R"(
.b.
blb
.s.)");
  BlitToned(image, x - 1, y - 1, Light, tone);
}

}  // namespace enemy_art
