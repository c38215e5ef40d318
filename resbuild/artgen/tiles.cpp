// Stage 1's tile image: 32x32 tiles, twenty to a row, numbered row by row. Each tile kind is
// a small routine; tiles repeat seamlessly with themselves, light falls from the top-left.
#include <array>
#include <cstdint>

#include "artgen.h"
#include "canvas.h"
#include "palette.h"

namespace {

constexpr int TileSize = 32;
constexpr int TilesPerRow = 20;

uint32_t Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// Draws `shape` at (x, y) and at its copies one tile away, so what crosses an edge comes
// back in on the opposite one.
template <typename Shape>
void Wrapped(int x, int y, Shape shape) {
  for (int dy = -TileSize; dy <= TileSize; dy += TileSize)
    for (int dx = -TileSize; dx <= TileSize; dx += TileSize) shape(x + dx, y + dy);
}

Image Transposed(const Image& image) {
  Image out = MakeImage(image.height, image.width, KeyColour);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) PixelAt(out, y, x) = PixelAt(image, x, y);
  return out;
}

// Copies the pixels of `top` that are not `clear`.
void Overlay(Image& base, const Image& top, Rgb clear) {
  for (int y = 0; y < top.height; ++y)
    for (int x = 0; x < top.width; ++x)
      if (PixelAt(top, x, y) != clear) PixelAt(base, x, y) = PixelAt(top, x, y);
}

// --- sky ---

void Stars(Image& tile, int seed, bool withFlare) {
  // Per mille of the pixels in each colour, brightest and rarest first.
  constexpr struct {
    uint32_t below;
    Rgb colour;
  } Speckles[] = {{3, pal::StarBright}, {14, pal::StarDim}, {22, pal::Violet}, {48, pal::Dusk}};
  FillRect(tile, 0, 0, TileSize, TileSize, pal::Navy);
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      uint32_t roll = Hash(x, y, seed) % 1000;
      for (const auto& speckle : Speckles)
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
  BlitArt(tile, 20, 8, Flare, {{'d', pal::Dusk}, {'s', pal::StarDim}, {'b', pal::StarBright}});
}

// --- hull plating ---

void Rivet(Image& tile, int x, int y) {
  static const Art Head = ParseArt(R"(
gl.
lsk
.kk)");
  BlitArt(
      tile, x, y, Head,
      {{'g', pal::MetalGlint}, {'l', pal::MetalLight}, {'s', pal::MetalShade}, {'k', pal::Ink}});
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
    for (int x : {3, 26}) Rivet(tile, x, y);
}

// Recessed: dark on the top and left inner walls, lit on the bottom and right.
void Recess(Image& tile, int x, int y, int width, int height, Rgb floor) {
  FillRect(tile, x, y, width, height, pal::MetalLight);
  FillRect(tile, x, y, width - 1, height - 1, pal::Ink);
  FillRect(tile, x + 1, y + 1, width - 2, height - 2, floor);
}

void VentPlate(Image& tile) {
  Plate(tile);
  for (int y = 8; y <= 20; y += 4) Recess(tile, 7, y, 18, 3, pal::MetalDark);
}

void HatchPlate(Image& tile) {
  Plate(tile);
  Recess(tile, 7, 7, 18, 18, pal::MetalShade);
  FillRect(tile, 9, 15, 14, 1, pal::MetalDark);
  FillRect(tile, 9, 16, 14, 1, pal::MetalBase);
}

void LampPlate(Image& tile) {
  Plate(tile);
  FillCircle(tile, 16, 16, 7, pal::MetalLight);
  FillCircle(tile, 15, 15, 7, pal::Ink);
  FillCircle(tile, 15, 15, 5, pal::Maroon);
  FillCircle(tile, 15, 15, 4, pal::Red);
  FillCircle(tile, 14, 14, 2, pal::Orange);
  FillRect(tile, 13, 13, 2, 2, pal::Amber);
  Plot(tile, 13, 13, pal::YellowWhite);
}

void HazardPlate(Image& tile) {
  Plate(tile);
  for (int y = 9; y < 23; ++y)
    for (int x = 0; x < TileSize - 1; ++x)
      Plot(tile, x, y, (x + y) % 16 < 8 ? pal::Yellow : pal::Ink);
  FillRect(tile, 0, 8, TileSize - 1, 1, pal::Ink);
  FillRect(tile, 0, 23, TileSize - 1, 1, pal::MetalLight);
}

// The deck's top edge against the sky: a bright chamfer catches the light.
void DeckTop(Image& tile) {
  Plate(tile);
  FillRect(tile, 0, 0, TileSize, 10, pal::Navy);
  FillRect(tile, 0, 10, TileSize, 1, pal::Ink);
  FillRect(tile, 0, 11, TileSize, 1, pal::MetalGlint);
  FillRect(tile, 0, 12, TileSize, 2, pal::MetalLight);
  FillRect(tile, 0, 14, TileSize, 1, pal::MetalShade);
}

// The deck's underside: the plate rolls into shadow over open sky.
void DeckBottom(Image& tile) {
  Plate(tile);
  FillRect(tile, 0, 19, TileSize, 1, pal::MetalShade);
  FillRect(tile, 0, 20, TileSize, 2, pal::MetalDark);
  FillRect(tile, 0, 22, TileSize, 1, pal::Ink);
  FillRect(tile, 0, 23, TileSize, TileSize - 23, pal::Navy);
}

void PipeOverPlate(Image& tile) {
  Plate(tile);
  constexpr std::array<Rgb, 14> Shading{
      pal::Ink,       pal::PaleSteel, pal::IceSteel,   pal::IceSteel,  pal::SteelBlue,
      pal::SteelBlue, pal::SteelBlue, pal::DeepSteel,  pal::DeepSteel, pal::NavySteel,
      pal::NavySteel, pal::Ink,       pal::MetalShade, pal::MetalShade};
  for (int row = 0; row < static_cast<int>(Shading.size()); ++row)
    FillRect(tile, 0, 9 + row, TileSize, 1, Shading[row]);
  FillRect(tile, 2, 8, 3, 14, pal::Ink);
  FillRect(tile, 2, 9, 1, 12, pal::White);
  FillRect(tile, 3, 9, 1, 12, pal::IceSteel);
}

// --- girders over the sky ---

// Horizontal chords, each a beam outlined in ink and shaded top to bottom.
void Chords(Image& tile) {
  constexpr std::array<Rgb, 6> Beam{pal::Ink,       pal::MetalLight, pal::MetalBase,
                                    pal::MetalBase, pal::MetalShade, pal::Ink};
  for (int top : {5, 21})
    for (int row = 0; row < static_cast<int>(Beam.size()); ++row)
      FillRect(tile, 0, top + row, TileSize, 1, Beam[row]);
}

// Two chords with a zigzag of struts between them, each strut lit along its top.
void GirderAcross(Image& tile) {
  FillRect(tile, 0, 0, TileSize, TileSize, pal::Navy);
  constexpr std::array<Rgb, 4> Strut{pal::MetalLight, pal::MetalBase, pal::MetalShade, pal::Ink};
  for (int shift = 0; shift < static_cast<int>(Strut.size()); ++shift)
    Wrapped(0, shift, [&](int x, int y) {
      DrawLine(tile, x, y + 9, x + 15, y + 18, Strut[shift]);
      DrawLine(tile, x + 16, y + 18, x + 31, y + 9, Strut[shift]);
    });
  Chords(tile);
  for (int x : {0, 15}) Rivet(tile, x, 7);
  Rivet(tile, 15, 23);
}

void GirderDown(Image& tile) {
  GirderAcross(tile);
  tile = Transposed(tile);
}

void GirderCross(Image& tile) {
  FillRect(tile, 0, 0, TileSize, TileSize, pal::Navy);
  Chords(tile);
  Image down = MakeImage(TileSize, TileSize, pal::Navy);
  Chords(down);
  Overlay(tile, Transposed(down), pal::Navy);
  Recess(tile, 10, 10, 12, 12, pal::MetalBase);
  Rivet(tile, 14, 14);
}

// --- ground ---

void Pebble(Image& tile, int x, int y) {
  static const Art Stone = ParseArt(R"(
.sc.
sccd
.ddk)");
  Wrapped(x, y, [&](int px, int py) {
    BlitArt(tile, px, py, Stone,
            {{'s', pal::Sand}, {'c', pal::Clay}, {'d', pal::SoilDark}, {'k', pal::Ink}});
  });
}

void Soil(Image& tile, int seed) {
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      uint32_t roll = Hash(x, y, seed) % 100;
      Plot(tile, x, y, roll < 12 ? pal::SoilDark : roll < 20 ? pal::Clay : pal::Soil);
    }
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
  FillCircle(tile, x, y, radius, pal::SoilDark);
  FillCircle(tile, x - 1, y - 1, radius - 1, pal::Clay);
  FillCircle(tile, x - 2, y - 2, radius / 2, pal::Sand);
}

void Boulders(Image& tile) {
  Pebbles(tile, 11, 2);
  Boulder(tile, 10, 11, 6);
  Boulder(tile, 22, 22, 4);
}

// Where the ground meets the sky: a grassy rim whose height wanders but meets itself.
void GroundEdge(Image& tile) {
  constexpr std::array<int, TileSize> Rim{10, 10, 9,  9,  9,  10, 11, 11, 11, 10, 10,
                                          10, 9,  8,  8,  9,  10, 11, 12, 12, 11, 11,
                                          10, 10, 11, 11, 10, 9,  9,  10, 10, 10};
  Pebbles(tile, 13, 3);
  for (int x = 0; x < TileSize; ++x) {
    int top = Rim[x];
    FillRect(tile, x, 0, 1, top, pal::Navy);
    Plot(tile, x, top, pal::Ink);
    Plot(tile, x, top + 1, pal::Moss);
    Plot(tile, x, top + 2, Hash(x, 0, 13) % 2 ? pal::Moss : pal::MossDark);
    Plot(tile, x, top + 3, pal::MossDark);
  }
}

using TileRoutine = void (*)(Image& tile);

// Tile 0 stays the plain void: the game keys its stage cells on that colour.
constexpr TileRoutine Stage01Tiles[] = {
    [](Image&) {},
    [](Image& t) { Stars(t, 1, false); },
    [](Image& t) { Stars(t, 2, false); },
    [](Image& t) { Stars(t, 3, true); },
    Plate,
    VentPlate,
    HatchPlate,
    LampPlate,
    HazardPlate,
    DeckTop,
    DeckBottom,
    PipeOverPlate,
    GirderAcross,
    GirderDown,
    GirderCross,
    [](Image& t) { Pebbles(t, 5, 0); },
    [](Image& t) { Pebbles(t, 6, 5); },
    Crater,
    Boulders,
    GroundEdge,
};

}  // namespace

void DrawStage01Parts(const std::filesystem::path& folder) {
  constexpr int Count = static_cast<int>(std::size(Stage01Tiles));
  constexpr int Rows = (Count + TilesPerRow - 1) / TilesPerRow;
  Image parts = MakeImage(TilesPerRow * TileSize, Rows * TileSize, pal::Void);
  for (int i = 0; i < Count; ++i) {
    Image tile = MakeImage(TileSize, TileSize, pal::Void);
    Stage01Tiles[i](tile);
    Paste(parts, tile, i % TilesPerRow * TileSize, i / TilesPerRow * TileSize);
  }
  SaveSourceImage(parts, folder, "Stage01.parts");
}
