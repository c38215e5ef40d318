// The citadel ("Renga"): brick wall masses laid out by corners, crenellated along their
// tops, corbelled along their bottoms, with windows, grates, ivy, a round tower and a gate.
#include <array>
#include <cmath>
#include <cstdlib>

#include "tiles_kit.h"

namespace {

constexpr Rgb Mortar = pal::SoilDark;

// Running bond, eight by four. Bricks that cross a tile edge keep one tone in every variant
// so the seams agree; the others vary with the seed.
Rgb BrickAt(int x, int y, int seed) {
  int row = y >> 2, offset = row % 2 ? 4 : 0;
  int along = x + offset, column = along >> 3;
  if ((y & 3) == 3 || (along & 7) == 7) return Mortar;
  bool crossing = offset && (column & 3) == 0;
  uint32_t roll = Hash(column & 3, row & 7, crossing ? 0 : seed) % 16;
  Rgb face = roll < 3 ? pal::BrickDark : roll < 5 ? pal::BrickLight : pal::Brick;
  if ((y & 3) == 0 && face == pal::Brick) return (along & 7) < 5 ? pal::BrickLight : pal::Brick;
  if ((y & 3) == 2 && face != pal::BrickDark && (along & 7) > 3) return pal::BrickDark;
  return face;
}

void Bricks(Image& image, int seed) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) PixelAt(image, x, y) = BrickAt(x, y, seed);
}

constexpr int Merlon = 4, Coping = 3, Corbel = 3, StringCourse = 3;

// A brick mass bounded by its corners: merlons and crenels along the top, a lit coping on
// the west side, a shaded one on the east, a string course and corbels along the bottom.
void BrickMass(Image& tile, int corners, int seed) {
  auto mass = [&](int x, int y) { return InsideCorners(corners, x, y); };
  auto solid = [&](int x, int y) {
    if (!mass(x, y)) return false;
    if (Reach(mass, x, y, 0, -1, Merlon) < Merlon) return (x & 7) < 5;
    if (Reach(mass, x, y, 0, 1, Corbel) < Corbel) return (x & 7) >= 2 && (x & 7) < 6;
    return true;
  };
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      if (!solid(x, y)) {
        PixelAt(tile, x, y) = pal::Void;
        continue;
      }
      int up = Reach(mass, x, y, 0, -1, 8), down = Reach(mass, x, y, 0, 1, 8);
      int left = Reach(mass, x, y, -1, 0, 8), right = Reach(mass, x, y, 1, 0, 8);
      Rgb colour = BrickAt(x, y, seed);
      if (down < Corbel)
        colour = (x & 7) == 2 ? pal::BrickLight : (x & 7) == 5 ? pal::BrickDark : pal::Brick;
      else if (down < Corbel + StringCourse)
        colour = down == Corbel + StringCourse - 1 ? pal::BrickLight : pal::BrickDark;
      else if (up < Merlon)
        colour = up == 0 ? pal::BrickLight : (x & 7) == 4 ? pal::BrickDark : pal::Brick;
      else if (up == Merlon)
        colour = Mortar;  // the merlons' shadow on the wall walk
      else if (left < Coping)
        colour = left == 0 ? pal::BrickLight : pal::Brick;
      else if (right < Coping)
        colour = right == 0 ? Mortar : pal::BrickDark;
      PixelAt(tile, x, y) = OnEdge(solid, x, y) ? pal::Ink : colour;
    }
}

// --- details set into full brick ---

void ArrowSlit(Image& image, int x, int y) {
  FillRect(image, x, y, 8, 20, pal::BrickLight);
  FillRect(image, x + 1, y + 1, 7, 19, pal::BrickDark);
  FillRect(image, x + 2, y + 2, 4, 16, pal::Ink);
  FillRect(image, x + 3, y + 6, 2, 8, pal::Maroon);
  FillRect(image, x + 3, y + 8, 2, 4, pal::Orange);
  Plot(image, x + 3, y + 9, pal::Amber);
}

// An arched window lit from within.
void LitWindow(Image& tile) {
  static const Art Window = ParseArt(R"(
...LLLLLL...
..LkkkkkkL..
.LkyyyyyyaL.
.Lkyyykyyad.
Lkyyyykyyaad
Lkyyyykyyaad
Lkkkkkkkkkad
Lkyyyykyyaad
Lkyyyykyyaad
Lkaaaakaaaad
Ldddddddddd.)");
  BlitArt(tile, 10, 9, Window,
          {{'L', pal::BrickLight},
           {'k', pal::Ink},
           {'y', pal::YellowWhite},
           {'a', pal::Amber},
           {'d', pal::BrickDark}});
}

void Grate(Image& tile) {
  Recess(tile, 8, 11, 16, 10, pal::Ink);
  for (int x = 10; x < 23; x += 3) {
    FillRect(tile, x, 12, 1, 8, pal::MetalLight);
    FillRect(tile, x + 1, 12, 1, 8, pal::MetalDark);
  }
  FillRect(tile, 9, 15, 14, 1, pal::MetalShade);
}

void Ivy(Image& tile) {
  for (int i = 0; i < 14; ++i) {
    int x = 6 + Hash(i, 1, 77) % 20, y = 4 + Hash(i, 2, 77) % 24;
    FillCircle(tile, x + 1, y + 1, 2, pal::Ink);
    FillCircle(tile, x, y, 2, pal::MossDark);
    Plot(tile, x - 1, y - 1, pal::Moss);
  }
}

void MissingBricks(Image& tile) {
  for (auto [x, y] : {std::array{8, 12}, std::array{16, 16}, std::array{20, 4}}) {
    FillRect(tile, x, y, 7, 3, pal::Ink);
    FillRect(tile, x + 1, y + 2, 6, 1, pal::BrickDark);
  }
}

void FullBrick(Image& tile, int variant) {
  using Detail = void (*)(Image&);
  constexpr Detail Details[tiles::BrickFullCount] = {
      [](Image&) {}, MissingBricks, [](Image& t) { ArrowSlit(t, 12, 6); }, LitWindow, Grate, Ivy};
  Bricks(tile, 100 + variant);
  Details[variant](tile);
}

// --- towers, drawn two tiles square over brick and cut into four ---

constexpr int TowerSize = 2 * TileSize;

// A round tower in front of the wall under a conical roof, lit from the left.
void RoundTower(Image& picture) {
  constexpr int Left = 12, Right = 51, Eaves = 27;
  for (int y = 12; y < TowerSize; ++y)  // its shadow on the wall behind
    for (int x = Right + 2; x <= Right + 6; ++x)
      if ((x + y) % 2 || x < Right + 4) PixelAt(picture, x, y) = Mortar;
  for (int y = Eaves; y < TowerSize - 2; ++y)
    for (int x = Left; x <= Right; ++x) {
      int u = (x - Left) * 10 / (Right - Left + 1);
      Rgb brick = BrickAt(x, y, 110);
      Rgb face = u < 3 ? pal::BrickLight : u < 7 ? pal::Brick : pal::BrickDark;
      PixelAt(picture, x, y) = brick == Mortar ? (u < 7 ? pal::BrickDark : Mortar) : face;
    }
  FillRect(picture, Left - 1, Eaves, 1, TowerSize - Eaves, pal::Ink);
  FillRect(picture, Right + 1, Eaves, 1, TowerSize - Eaves, pal::Ink);
  FillRect(picture, Left + 1, Eaves, Right - Left, 1, pal::Ink);  // under the eaves
  FillRect(picture, Left - 1, TowerSize - 2, Right - Left + 3, 2, pal::Ink);
  ArrowSlit(picture, 28, 34);
  for (int y = 2; y <= Eaves + 2; ++y)
    for (int x = Left - 5; x <= Right + 5; ++x) {
      int dx = x - 32, half = (y - 2) * 27 / 25;
      if (std::abs(dx) > half) continue;
      Rgb shingle = dx < -half / 3 ? pal::Orange : dx < half / 3 ? pal::Red : pal::Maroon;
      if ((y - 2) % 5 == 4 && (x + y) % 3) shingle = dx < half / 3 ? pal::Maroon : pal::Ink;
      PixelAt(picture, x, y) = std::abs(dx) == half || y == Eaves + 2 ? pal::Ink : shingle;
    }
  FillRect(picture, 32, 0, 1, 4, pal::Ink);  // the finial and its pennant
  FillRect(picture, 33, 0, 4, 2, pal::Yellow);
}

// Voussoirs round the arch, coursed stone down the jambs, lit on the left.
Rgb ArchStone(int dx, int dy, double radius) {
  constexpr double Pi = 3.14159265358979;
  bool joint = dy < 0 ? static_cast<int>(std::atan2(-dy - 0.5, dx + 0.5) / (Pi / 9) * 8) % 8 == 0
                      : dy % 6 == 5;
  if (joint) return pal::MetalDark;
  return dx < 0 && radius < 20 ? pal::SmokeLight : pal::Smoke;
}

// A gateway: a stone arch, a portcullis down in the dark, and a torch either side.
void Gate(Image& picture) {
  constexpr int CentreX = 32, SpringY = 30, Opening = 15, Ring = 21;
  for (int y = 4; y < TowerSize; ++y)
    for (int x = 4; x < TowerSize - 4; ++x) {
      int dx = x - CentreX, dy = y - SpringY;
      double radius = std::hypot(dx + 0.5, std::min(dy, 0) + 0.5);
      if (radius > Ring + 1) continue;
      Rgb colour = ArchStone(dx, dy, radius);
      if (radius > Ring || (radius > Opening && radius <= Opening + 1)) colour = pal::Ink;
      if (radius <= Opening) {
        bool bar = (dx + 40) % 5 == 0 || y % 6 == 0;
        colour = bar ? pal::MetalShade : dy < 8 ? pal::Ink : pal::Navy;
        if (bar && (dx + 40) % 5 == 0 && y % 6) Plot(picture, x - 1, y, pal::MetalDark);
      }
      PixelAt(picture, x, y) = colour;
    }
  for (int x : {5, 58}) {
    FillRect(picture, x - 1, 36, 3, 5, pal::MetalDark);
    Lamp(picture, x, 33, 2, AmberGlow);
  }
}

}  // namespace

void DrawCitadelTiles(TileSheet& sheet) {
  for (int corners = 1; corners < tiles::AllCorners; ++corners)
    DrawTile(sheet, tiles::CornerTile(tiles::Brick, corners),
             [&](Image& t) { BrickMass(t, corners, 100); });
  for (int i = 0; i < tiles::BrickFullCount; ++i)
    DrawTile(sheet, tiles::CornerTile(tiles::Brick, tiles::AllCorners, i),
             [&](Image& t) { FullBrick(t, i); });
  constexpr void (*Towers[tiles::TowerCount])(Image&) = {RoundTower, Gate};
  for (int i = 0; i < tiles::TowerCount; ++i) {
    Image picture = MakeImage(TowerSize, TowerSize, pal::Void);
    Bricks(picture, 120 + i);
    Towers[i](picture);
    for (int part = 0; part < 4; ++part)
      DrawTile(sheet, tiles::Tower + 4 * i + part, [&](Image& t) {
        t = Crop(picture, part % 2 * TileSize, part / 2 * TileSize, TileSize, TileSize);
      });
  }
}
