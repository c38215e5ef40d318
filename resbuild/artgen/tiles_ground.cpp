// The ground far below the bridge: bare soil everywhere at the tile edges, so every tile
// fits next to every other, with plots, copses and villages inside them, and roads and
// rivers that run from edge midpoint to edge midpoint.
#include <algorithm>
#include <array>
#include <cmath>

#include "tiles_kit.h"

namespace {

// The light green of sunlit leaves and young crops.
constexpr Rgb Leaf{120, 152, 64};

constexpr Tone Stone{pal::Sand, pal::Clay, pal::SoilDark};

void Pebble(Image& tile, int x, int y) {
  static const Art Shape = ParseArt(R"(
.lb.
lbbs
.ssk)");
  Wrapped(x, y, [&](int px, int py) { BlitToned(tile, px, py, Shape, Stone); });
}

void Pebbles(Image& tile, int seed, int count) {
  Soil(tile, seed);
  for (int i = 0; i < count; ++i)
    Pebble(tile, Hash(i, 0, seed) % TileSize, Hash(i, 1, seed) % TileSize);
}

void Crater(Image& tile) {
  Soil(tile, 7);
  FillCircle(tile, 15, 15, 11, pal::Sand);
  FillCircle(tile, 16, 16, 11, pal::Clay);
  FillCircle(tile, 16, 16, 9, pal::SoilDark);
  FillCircle(tile, 17, 17, 7, pal::Soil);
  FillCircle(tile, 18, 18, 4, pal::Clay);
  FillCircle(tile, 16, 16, 4, pal::Soil);
}

// A rounded rock, outlined, lit from the top-left.
void Boulder(Image& tile, int x, int y, int radius) {
  FillCircle(tile, x + 1, y + 1, radius + 1, pal::Ink);
  FillCircle(tile, x, y, radius, Stone.shade);
  FillCircle(tile, x - 1, y - 1, radius - 1, Stone.base);
  FillCircle(tile, x - 2, y - 2, radius / 2, Stone.light);
}

void Boulders(Image& tile) {
  Pebbles(tile, 11, 2);
  Boulder(tile, 10, 11, 6);
  Boulder(tile, 22, 22, 4);
}

// Where the ground falls away: a grassy rim whose height wanders, always 10 at the tile
// edges so rims of every kind meet. Above it is a hole.
using Rim = std::array<int, TileSize>;

void RimEdge(Image& tile, const Rim& rim, int seed) {
  Pebbles(tile, seed, 3);
  for (int x = 0; x < TileSize; ++x) {
    int top = rim[x];
    FillRect(tile, x, 0, 1, top, pal::Void);
    Plot(tile, x, top, pal::Ink);
    Plot(tile, x, top + 1, pal::Moss);
    Plot(tile, x, top + 2, Hash(x, 0, seed) % 2 ? pal::Moss : pal::MossDark);
    Plot(tile, x, top + 3, pal::MossDark);
  }
}

constexpr Rim Rims[] = {
    {10, 10, 9,  9,  9,  10, 11, 11, 11, 10, 10, 10, 9, 8,  8,  9,
     10, 11, 12, 12, 11, 11, 10, 10, 11, 11, 10, 9,  9, 10, 10, 10},
    {10, 11, 12, 13, 13, 14, 15, 15, 14, 13, 11, 9,  7,  6,  6,  7,
     8,  8,  9,  10, 10, 9,  9,  8,  8,  9,  10, 12, 12, 11, 11, 10},
    {10, 9,  8,  8,  7,  7,  8,  9,  11, 13, 14, 16, 17, 17, 16, 14,
     13, 12, 12, 11, 11, 12, 13, 13, 12, 11, 10, 9,  9,  9,  10, 10},
};

// --- plots ---

enum class Crop { Wheat, Greens, Ploughed, Pasture, Orchard };

struct PlotLayout {
  Crop crop;
  bool rowsAcross;
  int left, top, right, bottom;  // the plot's hedge, inclusive
};

constexpr PlotLayout Plots[tiles::FieldPlotCount] = {
    {Crop::Wheat, true, 3, 3, 28, 28},    {Crop::Wheat, false, 2, 4, 29, 27},
    {Crop::Greens, true, 4, 2, 27, 29},   {Crop::Greens, false, 3, 3, 28, 28},
    {Crop::Ploughed, true, 2, 3, 28, 28}, {Crop::Ploughed, false, 3, 2, 29, 28},
    {Crop::Pasture, true, 3, 4, 28, 27},  {Crop::Orchard, true, 3, 3, 28, 28},
};

Rgb CropColour(Crop crop, bool rowsAcross, int x, int y) {
  int along = rowsAcross ? y : x;
  switch (crop) {
    case Crop::Wheat:
      return along % 3 == 2 ? pal::Clay : Hash(x, y, 3) % 9 ? pal::Sand : pal::Amber;
    case Crop::Greens:
      return along % 3 == 2 ? pal::MossDark : along % 3 == 0 ? Leaf : pal::Moss;
    case Crop::Ploughed:
      return along % 2 ? pal::SoilDark : Hash(x, y, 4) % 5 ? pal::Clay : pal::Soil;
    case Crop::Pasture:
    case Crop::Orchard:
      return Hash(x, y, 5) % 6 ? pal::Moss : pal::MossDark;
  }
  return pal::Soil;
}

// A small round tree: shadow to the lower right, dark rim, lit crown.
void Tree(Image& tile, int x, int y, int radius) {
  FillCircle(tile, x + 2, y + 2, radius, pal::SoilDark);
  FillCircle(tile, x, y, radius, pal::Ink);
  FillCircle(tile, x, y, radius - 1, pal::MossDark);
  FillCircle(tile, x - 1, y - 1, radius - 2, pal::Moss);
  FillCircle(tile, x - 2, y - 2, radius / 3, Leaf);
}

// A field inside a hedge: the hedge's lit and shaded sides and a bush here and there.
void FieldPlot(Image& tile, const PlotLayout& plot, int seed) {
  Soil(tile, seed);
  for (int y = plot.top; y <= plot.bottom; ++y)
    for (int x = plot.left; x <= plot.right; ++x)
      PixelAt(tile, x, y) = CropColour(plot.crop, plot.rowsAcross, x, y);
  for (int x = plot.left; x <= plot.right; ++x) {
    Plot(tile, x, plot.top, pal::Moss);
    Plot(tile, x, plot.bottom, pal::MossDark);
    Plot(tile, x, plot.bottom + 1, pal::SoilDark);
  }
  for (int y = plot.top; y <= plot.bottom; ++y) {
    Plot(tile, plot.left, y, pal::Moss);
    Plot(tile, plot.right, y, pal::MossDark);
    Plot(tile, plot.right + 1, y + 1, pal::SoilDark);
  }
  for (int i = 0; i < 3; ++i) {
    int x = plot.left + 2 + Hash(i, 1, seed) % (plot.right - plot.left - 4);
    FillCircle(tile, x, Hash(i, 2, seed) % 2 ? plot.top : plot.bottom, 1, pal::MossDark);
    Plot(tile, x - 1, Hash(i, 2, seed) % 2 ? plot.top - 1 : plot.bottom - 1, Leaf);
  }
  if (plot.crop == Crop::Orchard)
    for (int y = 9; y < 28; y += 9)
      for (int x = 9; x < 28; x += 9) Tree(tile, x, y, 3);
  if (plot.crop == Crop::Pasture)
    for (int i = 0; i < 4; ++i)  // sheep
      FillRect(tile, 8 + Hash(i, 3, seed) % 14, 8 + Hash(i, 4, seed) % 14, 2, 1, pal::Cloud);
}

// A large field by corners: rows of one crop inside a hedge, lit on its upper and left
// sides, casting a thin shadow on the soil below and to the right.
void Field(Image& tile, int corners, Crop crop, bool rowsAcross) {
  Soil(tile, 30 + corners);
  auto inside = [&](int x, int y) { return InsideCorners(corners, x, y); };
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      if (!inside(x, y)) {
        if (inside(x - 1, y) || inside(x, y - 1)) PixelAt(tile, x, y) = pal::SoilDark;
        continue;
      }
      int litSide = std::min(Reach(inside, x, y, 0, -1, 2), Reach(inside, x, y, -1, 0, 2));
      int darkSide = std::min(Reach(inside, x, y, 0, 1, 2), Reach(inside, x, y, 1, 0, 2));
      Rgb colour = CropColour(crop, rowsAcross, x, y);
      if (darkSide < 2)
        colour = darkSide == 0 || Hash(x, y, 31) % 3 == 0 ? pal::MossDark : pal::Moss;
      else if (litSide < 2)
        colour = litSide == 0 ? pal::Moss : Leaf;
      PixelAt(tile, x, y) = colour;
    }
}

// Treetops packed close: sixteen crowns on a jittered grid that repeats every tile. Only
// the four inner crowns move with the variant, so every variant meets its neighbours.
Rgb CanopyAt(int x, int y, int variant) {
  int best = 1 << 30, bestDx = 0, bestDy = 0;
  for (int j = -1; j <= 4; ++j)
    for (int i = -1; i <= 4; ++i) {
      int ci = (i + 4) % 4, cj = (j + 4) % 4;
      int seed = ci % 3 && cj % 3 ? 33 + 2 * variant : 33;
      int cx = i * 8 + 4 + static_cast<int>(Hash(ci, cj, seed) % 5) - 2;
      int cy = j * 8 + 4 + static_cast<int>(Hash(ci, cj, seed + 1) % 5) - 2;
      int dx = x - cx, dy = y - cy;
      if (dx * dx + dy * dy < best) best = dx * dx + dy * dy, bestDx = dx, bestDy = dy;
    }
  if (best > 22) return pal::Ink;
  if (bestDx + bestDy < -3) return Leaf;
  if (bestDx + bestDy > 2 || best > 14) return pal::MossDark;
  return pal::Moss;
}

// A wood by corners: lumpy canopy, dark along its lower right edge, lit along its upper
// left one, with its shadow on the soil.
void Forest(Image& tile, int corners, int variant) {
  Soil(tile, 35 + corners);
  auto inside = [&](int x, int y) { return InLumps(corners, x, y); };
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      if (!inside(x, y)) {
        if (inside(x - 2, y - 2) || inside(x - 1, y - 2) || inside(x - 2, y - 1))
          PixelAt(tile, x, y) = pal::SoilDark;
        continue;
      }
      Rgb colour = CanopyAt(x, y, variant);
      if (!inside(x + 1, y) || !inside(x, y + 1))
        colour = pal::Ink;
      else if (!inside(x + 2, y + 2) && colour != pal::Ink)
        colour = pal::MossDark;
      else if ((!inside(x - 1, y) || !inside(x, y - 1)) && colour != pal::Ink)
        colour = Leaf;
      PixelAt(tile, x, y) = colour;
    }
}

void Copse(Image& tile, int seed) {
  Soil(tile, seed);
  for (int i = 0; i < 7; ++i)
    Tree(tile, 7 + Hash(i, 5, seed) % 17, 7 + Hash(i, 6, seed) % 17, 4 + Hash(i, 7, seed) % 3);
}

// --- villages ---

struct House {
  int x, y, width, depth;  // roof, then the lit wall below it
  bool slate;
};

// A gabled roof seen from above, ridge along its width, over a plastered wall.
void HouseAt(Image& tile, const House& h) {
  Tone roof = h.slate ? tone::Slate : tone::RedPaint;
  int ridge = h.y + h.depth / 2;
  FillRect(tile, h.x + 2, h.y + 2, h.width, h.depth + 3, pal::SoilDark);
  FillRect(tile, h.x - 1, h.y - 1, h.width + 2, h.depth + 5, pal::Ink);
  FillRect(tile, h.x, h.y, h.width, ridge - h.y, roof.base);
  FillRect(tile, h.x, h.y, h.width, 1, roof.light);
  FillRect(tile, h.x, ridge, h.width, 1, roof.light);
  FillRect(tile, h.x, ridge + 1, h.width, h.y + h.depth - ridge - 1, roof.shade);
  FillRect(tile, h.x, h.y + h.depth, h.width, 3, pal::Sand);
  FillRect(tile, h.x, h.y + h.depth + 2, h.width, 1, pal::Clay);
  for (int x = h.x + 2; x < h.x + h.width - 1; x += 4) Plot(tile, x, h.y + h.depth + 1, pal::Ink);
}

constexpr std::array<House, 3> Villages[tiles::VillageCount] = {
    {{{4, 4, 12, 6, false}, {19, 6, 9, 5, true}, {7, 18, 14, 7, false}}},
    {{{3, 5, 9, 5, true}, {15, 3, 13, 7, false}, {16, 19, 12, 6, true}}},
    {{{5, 3, 10, 5, false}, {4, 16, 8, 6, false}, {16, 14, 12, 8, true}}},
    {{{3, 4, 14, 8, true}, {21, 4, 7, 5, false}, {9, 20, 11, 5, false}}},
};

void Village(Image& tile, int variant) {
  Soil(tile, 60 + variant);
  FillRect(tile, 2, 2, 28, 28, pal::Clay);  // the trodden yards
  for (int y = 2; y < 30; ++y)
    for (int x = 2; x < 30; ++x)
      if (Hash(x, y, 61 + variant) % 5 == 0) Plot(tile, x, y, pal::Soil);
  for (const House& house : Villages[variant]) HouseAt(tile, house);
}

// --- roads and rivers ---

float DistanceToSegment(float x, float y, float x0, float y0, float x1, float y1) {
  float dx = x1 - x0, dy = y1 - y0;
  float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
  return std::hypot(x - x0 - t * dx, y - y0 - t * dy);
}

// From the tile's centre to the middle of each edge named in `arms`.
float DistanceToArms(int arms, float x, float y) {
  constexpr float Mid = TileSize / 2.0f;
  constexpr struct {
    int arm;
    float x, y;
  } Ends[] = {{tiles::North, Mid, -1},
              {tiles::East, TileSize + 1, Mid},
              {tiles::South, Mid, TileSize + 1},
              {tiles::West, -1, Mid}};
  float nearest = std::hypot(x - Mid, y - Mid);
  for (const auto& end : Ends)
    if (arms & end.arm)
      nearest = std::min(nearest, DistanceToSegment(x, y, Mid, Mid, end.x, end.y));
  return nearest;
}

// A river bends round the corner between its two arms.
float DistanceToRiver(int arms, float x, float y) {
  constexpr float Mid = TileSize / 2.0f;
  if (arms == (tiles::North | tiles::South)) return std::abs(x - Mid);
  if (arms == (tiles::East | tiles::West)) return std::abs(y - Mid);
  float cornerX = arms & tiles::East ? TileSize : 0, cornerY = arms & tiles::South ? TileSize : 0;
  return std::abs(std::hypot(x - cornerX, y - cornerY) - Mid);
}

void Road(Image& tile, int arms, int seed) {
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      float d = DistanceToArms(arms, x + 0.5f, y + 0.5f);
      if (d < 2.5f)
        Plot(tile, x, y, Hash(x, y, seed) % 8 ? pal::Sand : pal::Clay);
      else if (d < 3.6f)
        Plot(tile, x, y, pal::Clay);
      else if (d < 4.4f && Hash(x, y, seed + 1) % 3 == 0)
        Plot(tile, x, y, pal::SoilDark);
    }
}

void RoadOnSoil(Image& tile, int arms) {
  Soil(tile, 70 + arms);
  Road(tile, arms, 80);
}

Rgb WaterColour(int x, int y, float depth) {
  uint32_t roll = Hash(x / 3, y, 90) % 16;
  if (depth > 3.0f) return pal::DeepSteel;
  if (roll == 0) return pal::SteelBlue;
  return roll < 4 ? pal::DeepSteel : pal::NavySteel;
}

void River(Image& tile, int arms) {
  Soil(tile, 90 + arms);
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      float d = DistanceToRiver(arms, x + 0.5f, y + 0.5f);
      if (d < 4.5f)
        Plot(tile, x, y, WaterColour(x, y, d));
      else if (d < 5.5f)
        Plot(tile, x, y, pal::Sand);
      else if (d < 7.5f && Hash(x, y, 91) % 3)
        Plot(tile, x, y, Hash(x, y, 92) % 2 ? pal::Moss : pal::MossDark);
    }
}

// A stone bridge carries a road across a north-south river.
void BridgeOverRiver(Image& tile) {
  River(tile, tiles::North | tiles::South);
  FillRect(tile, 9, 21, 15, 2, pal::Ink);  // its shadow on the water
  Road(tile, tiles::East | tiles::West, 81);
  FillRect(tile, 8, 11, 16, 1, pal::Ink);
  FillRect(tile, 8, 12, 16, 1, pal::SmokeLight);
  FillRect(tile, 8, 19, 16, 1, pal::Smoke);
  FillRect(tile, 8, 20, 16, 1, pal::Ink);
  for (int x : {8, 23}) FillRect(tile, x, 10, 1, 12, pal::Ink);
}

// A north-south river cuts through the rim and pours over it in foam and spray.
void Waterfall(Image& tile) {
  constexpr int Arms = tiles::North | tiles::South;
  const Rim& rim = Rims[0];
  Image river = MakeImage(TileSize, TileSize, pal::Void);
  River(river, Arms);
  RimEdge(tile, rim, 13);
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x)
      if (y > rim[x] && DistanceToRiver(Arms, x + 0.5f, y + 0.5f) < 5.5f)
        PixelAt(tile, x, y) = PixelAt(river, x, y);
  for (int x = 12; x <= 19; ++x) {
    Plot(tile, x, rim[x], pal::White);
    Plot(tile, x, rim[x] + 1, Hash(x, 1, 93) % 2 ? pal::PaleSteel : pal::IceSteel);
    for (int y = rim[x] - 1; y >= 0; --y)  // the spray thins out as it falls away
      if (Hash(x, y, 94) % (rim[x] - y + 2) < 2)
        Plot(tile, x, y, y % 2 ? pal::IceSteel : pal::SteelBlue);
  }
}

}  // namespace

void DrawGroundTiles(TileSheet& sheet) {
  for (int i = 0; i < tiles::PebblesCount; ++i)
    DrawTile(sheet, tiles::Pebbles + i, [&](Image& t) { Pebbles(t, 5 + i, i * 5); });
  DrawTile(sheet, tiles::Crater, Crater);
  DrawTile(sheet, tiles::Boulders, Boulders);
  DrawTile(sheet, tiles::GroundEdge, [](Image& t) { RimEdge(t, Rims[0], 13); });
  for (int i = 0; i < tiles::GroundEdgeMoreCount; ++i)
    DrawTile(sheet, tiles::GroundEdgeMore + i, [&](Image& t) { RimEdge(t, Rims[i + 1], 14 + i); });
  for (int i = 0; i < tiles::FieldPlotCount; ++i)
    DrawTile(sheet, tiles::FieldPlot + i, [&](Image& t) { FieldPlot(t, Plots[i], 20 + i); });
  for (int i = 0; i < tiles::CopseCount; ++i)
    DrawTile(sheet, tiles::Copse + i, [&](Image& t) { Copse(t, 40 + i); });
  for (int i = 0; i < tiles::VillageCount; ++i)
    DrawTile(sheet, tiles::Village + i, [&](Image& t) { Village(t, i); });
  for (int arms = 1; arms < 16; ++arms)
    DrawTile(sheet, tiles::Road + arms - 1, [&](Image& t) { RoadOnSoil(t, arms); });
  for (int i = 0; i < tiles::RiverShapeCount; ++i)
    DrawTile(sheet, tiles::River + i, [&](Image& t) { River(t, tiles::RiverShapes[i]); });
  DrawTile(sheet, tiles::BridgeOverRiverDown, BridgeOverRiver);
  DrawTile(sheet, tiles::BridgeOverRiverAcross, [](Image& t) {
    BridgeOverRiver(t);
    t = Transposed(t);
  });
  DrawTile(sheet, tiles::Waterfall, Waterfall);
  for (int corners = 1; corners <= tiles::AllCorners; ++corners) {
    DrawTile(sheet, tiles::CornerTile(tiles::Wheatfield, corners),
             [&](Image& t) { Field(t, corners, Crop::Wheat, true); });
    DrawTile(sheet, tiles::CornerTile(tiles::Greenfield, corners),
             [&](Image& t) { Field(t, corners, Crop::Greens, false); });
  }
  for (int corners = 1; corners < tiles::AllCorners; ++corners)
    DrawTile(sheet, tiles::CornerTile(tiles::Forest, corners),
             [&](Image& t) { Forest(t, corners, 0); });
  for (int i = 0; i < tiles::ForestFullCount; ++i)
    DrawTile(sheet, tiles::CornerTile(tiles::Forest, tiles::AllCorners, i),
             [&](Image& t) { Forest(t, tiles::AllCorners, i); });
}
