// Stage 1's tile image: 32x32 tiles, twenty to a row, numbered row by row (tiles_catalogue.h).
// Each tile kind is a small routine; tiles repeat seamlessly with themselves and with the
// tiles meant to lie next to them, light falls from the top-left. Void, tile 0's colour, is
// the image's colour key: the stage draws it as a hole.
#include <algorithm>
#include <string>

#include "artgen.h"
#include "tiles_kit.h"

int Bayer(int x, int y) {
  constexpr int Matrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return Matrix[y & 3][x & 3];
}

bool InsideCorners(int corners, int x, int y) {
  int column = x < TileSize / 2 ? 0 : 1, row = y < TileSize / 2 ? 0 : 1;
  return corners >> (row * 2 + column) & 1;
}

bool InPuff(const Puff& puff, int x, int y) {
  int dx = x - puff.x, dy = y - puff.y;
  return dx * dx + dy * dy <= puff.radius * puff.radius + puff.radius;
}

bool InLumps(int corners, int x, int y) {
  constexpr Puff Lump[] = {{0, 0, 18},   {-11, -4, 11}, {12, -5, 12},
                           {-4, 10, 12}, {10, 9, 11},   {2, -12, 9}};
  for (int corner = 0; corner < 4; ++corner)
    if (corners >> corner & 1)
      for (const Puff& puff : Lump)
        if (InPuff({puff.x + corner % 2 * TileSize, puff.y + corner / 2 * TileSize, puff.radius}, x,
                   y))
          return true;
  return false;
}

void Lamp(Image& image, int x, int y, int radius, const Glow& glow) {
  FillCircle(image, x + 1, y + 1, radius + 2, pal::MetalLight);
  FillCircle(image, x, y, radius + 2, pal::Ink);
  FillCircle(image, x, y, radius, glow[0]);
  FillCircle(image, x, y, radius - 1, glow[1]);
  FillCircle(image, x - 1, y - 1, std::max(radius - 3, 1), glow[2]);
  Plot(image, x - 2, y - 2, glow[3]);
}

void RaisedRivet(Image& tile, int x, int y) {
  FillRect(tile, x + 1, y + 1, 2, 2, pal::Ink);
  Rivet(tile, x, y, {pal::MetalGlint, pal::MetalLight, pal::MetalShade});
}

// A raised plate filling the tile: lit top and left, shadowed right and bottom, and the
// seam to the next plate along the right and bottom edges.
void Plate(Image& tile) {
  FillRect(tile, 0, 0, TileSize, TileSize, pal::MetalBase);
  FillRect(tile, 0, 0, TileSize, 1, pal::MetalLight);
  FillRect(tile, 0, 0, 1, TileSize, pal::MetalLight);
  FillRect(tile, 1, TileSize - 2, TileSize - 1, 1, pal::MetalShade);
  FillRect(tile, TileSize - 2, 1, 1, TileSize - 1, pal::MetalShade);
  FillRect(tile, 0, TileSize - 1, TileSize, 1, pal::Ink);
  FillRect(tile, TileSize - 1, 0, 1, TileSize, pal::Ink);
  for (int y : {3, 26})
    for (int x : {3, 26}) RaisedRivet(tile, x, y);
}

void Soil(Image& tile, int seed) {
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      uint32_t roll = Hash(x, y, seed) % 100;
      Plot(tile, x, y, roll < 12 ? pal::SoilDark : roll < 20 ? pal::Clay : pal::Soil);
    }
}

void Stars(Image& tile, SkyTone tone, int seed, bool withFlare) {
  // Per mille of the pixels in each colour, brightest and rarest first.
  struct Speckle {
    uint32_t below;
    Rgb colour;
  };
  struct Sky {
    Rgb base, halo;
    Speckle speckles[4];
  };
  constexpr Sky Skies[] = {
      {pal::Navy,
       pal::Dusk,
       {{3, pal::StarBright}, {14, pal::StarDim}, {22, pal::Violet}, {48, pal::Dusk}}},
      {pal::Dusk,
       pal::Violet,
       {{3, pal::StarBright}, {12, pal::StarDim}, {30, pal::Violet}, {52, pal::Navy}}},
      {pal::Violet,
       pal::Dusk,
       {{3, pal::StarBright}, {16, pal::StarDim}, {40, pal::Dusk}, {48, pal::Navy}}},
  };
  const Sky& sky = Skies[static_cast<int>(tone)];
  FillRect(tile, 0, 0, TileSize, TileSize, sky.base);
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      uint32_t roll = Hash(x, y, seed) % 1000;
      for (const Speckle& speckle : sky.speckles)
        if (roll < speckle.below) {
          Plot(tile, x, y, speckle.colour);
          break;
        }
    }
  if (!withFlare) return;
  static const Art Flare = ParseArt(R"(
..d..
..s..
dsbsd
..s..
..d..)");
  BlitArt(tile, 20, 8, Flare, {{'d', sky.halo}, {'s', pal::StarDim}, {'b', pal::StarBright}});
}

void DrawTile(TileSheet& sheet, int number, const std::function<void(Image&)>& routine) {
  if (number <= 0 || number >= tiles::Count || sheet.drawn[number])
    throw BuildError("tile " + std::to_string(number) + " is out of place or drawn twice");
  Image tile = MakeImage(TileSize, TileSize, pal::Void);
  routine(tile);
  Paste(sheet.parts, tile, number % tiles::PerRow * TileSize, number / tiles::PerRow * TileSize);
  sheet.drawn[number] = true;
}

// Tile 0 stays the plain void.
void DrawStage01Parts(const std::filesystem::path& folder) {
  TileSheet sheet{MakeImage(tiles::PerRow * TileSize, tiles::Rows * TileSize, pal::Void),
                  std::vector<bool>(tiles::Count, false)};
  sheet.drawn[0] = true;
  DrawSkyTiles(sheet);
  DrawGroundTiles(sheet);
  DrawBridgeTiles(sheet);
  DrawCitadelTiles(sheet);
  for (int number = 0; number < tiles::Count; ++number)
    if (!sheet.drawn[number]) throw BuildError("tile " + std::to_string(number) + " is not drawn");
  SaveSourceImage(sheet.parts, folder, "Stage01.parts");
}
