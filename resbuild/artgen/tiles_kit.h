// Drawing helpers shared by the routines of stage 1's tile image.
#pragma once

#include <array>
#include <functional>

#include "shading.h"
#include "tiles_catalogue.h"

constexpr int TileSize = tiles::Size;

// Draws `shape` at (x, y) and at its copies one tile away, so what crosses an edge comes
// back in on the opposite one.
template <typename Shape>
void Wrapped(int x, int y, Shape shape) {
  for (int dy = -TileSize; dy <= TileSize; dy += TileSize)
    for (int dx = -TileSize; dx <= TileSize; dx += TileSize) shape(x + dx, y + dy);
}

// Sets every pixel for which `inside(x, y)` holds.
template <typename Inside>
void FillWhere(Image& tile, Rgb colour, Inside inside) {
  for (int y = 0; y < tile.height; ++y)
    for (int x = 0; x < tile.width; ++x)
      if (inside(x, y)) PixelAt(tile, x, y) = colour;
}

// A 4x4 ordered-dither threshold, 0..15.
int Bayer(int x, int y);

// Dual-grid autotiling: which of a tile's corner points lie inside a region, bit 0 the
// top-left, 1 top-right, 2 bottom-left, 3 bottom-right. The region is the union of the
// 32x32 squares centred on those corners, so it is known up to half a tile beyond every edge
// and neighbouring tiles agree along their seams.
bool InsideCorners(int corners, int x, int y);

// A round lamp in an outlined housing: its glow from the outer ring to the hot centre.
using Glow = std::array<Rgb, 4>;
constexpr Glow RedGlow{pal::Maroon, pal::Red, pal::Orange, pal::YellowWhite};
constexpr Glow AmberGlow{pal::Orange, pal::Amber, pal::Yellow, pal::YellowWhite};
constexpr Glow CyanGlow{pal::NavySteel, pal::CyanDeep, pal::Cyan, pal::White};
void Lamp(Image& image, int x, int y, int radius, const Glow& glow);

// Lumpy regions by corners, for clouds and woods: round each inside corner point a lump of
// puffs reaching at most 25 pixels, so what a tile shows, shading included, comes from its
// own corners.
struct Puff {
  int x, y, radius;
};
bool InPuff(const Puff& puff, int x, int y);
bool InLumps(int corners, int x, int y);

// Rivets on tiles stand proud, casting a shadow down and right.
void RaisedRivet(Image& tile, int x, int y);
void Plate(Image& tile);
void Soil(Image& tile, int seed);

// A sky of one tone with a sprinkle of stars.
enum class SkyTone { Navy, Dusk, Violet };
void Stars(Image& tile, SkyTone tone, int seed, bool withFlare);

// Builds the tile image: each routine draws tile `number` once, on a tile of pal::Void.
struct TileSheet {
  Image parts;
  std::vector<bool> drawn;
};
void DrawTile(TileSheet& sheet, int number, const std::function<void(Image&)>& routine);

void DrawSkyTiles(TileSheet& sheet);
void DrawGroundTiles(TileSheet& sheet);
void DrawBridgeTiles(TileSheet& sheet);
void DrawCitadelTiles(TileSheet& sheet);
