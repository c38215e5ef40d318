// The title picture: the ship climbing out of the sky fortress at dusk, under the logo. The
// game writes its menu over calm sky in the middle and blanks a small box at the left, which
// the picture makes the dark pane of a turret's window.
#include <algorithm>
#include <cmath>
#include <vector>

#include "scenes_art.h"
#include "tiles_kit.h"

namespace scenes {
namespace {

constexpr int Width = FieldWidth, Height = ScreenHeight;

// Where the game draws over the picture.
struct Rect {
  int left, top, right, bottom;  // inclusive
  bool Holds(int x, int y, int margin = 0) const {
    return x >= left - margin && x <= right + margin && y >= top - margin && y <= bottom + margin;
  }
};
constexpr Rect MenuArea{130, 255, 330, 345};
constexpr Rect BlankedBox{82, 204, 89, 218};

bool Calm(int x, int y) { return MenuArea.Holds(x, y, 6); }

// --- sky ---

constexpr SkyStop SkyStops[] = {{70, pal::Ink},   {150, pal::Void}, {230, pal::Void},
                                {320, pal::Navy}, {380, pal::Dusk}, {440, pal::Violet}};

// Smooth noise from 0 to 1: seeded values on a lattice `cell` apart, blended between.
double ValueNoise(int x, int y, int cell, int seed) {
  int cx = x / cell, cy = y / cell;
  double fx = static_cast<double>(x % cell) / cell, fy = static_cast<double>(y % cell) / cell;
  auto at = [&](int i, int j) { return Hash(cx + i, cy + j, seed) % 1024 / 1023.0; };
  auto ease = [](double t) { return t * t * (3 - 2 * t); };
  double top = at(0, 0) + (at(1, 0) - at(0, 0)) * ease(fx);
  double bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * ease(fx);
  return top + (bottom - top) * ease(fy);
}

// How bright the band of the galaxy is at a pixel, 0 to 1: ragged clouds of light along a
// line falling from the upper left to the right edge.
double Galaxy(int x, int y) {
  double across = std::abs(y - (36 + x * 0.42)) / 46.0;
  if (across >= 1) return 0;
  double clouds = 0.65 * ValueNoise(x, y, 24, 3) + 0.35 * ValueNoise(x, y, 9, 4);
  return std::max(0.0, (1 - across * across) * (clouds * 1.5 - 0.35));
}

Rgb SkyAt(int x, int y) {
  // The galaxy's glow, dithered up through the sky's tones.
  constexpr Rgb Glow[] = {pal::Navy, pal::Dusk, pal::Violet};
  int glow = static_cast<int>(Galaxy(x, y) * 64) - Bayer(x, y);
  return glow >= 0 ? Glow[std::min(glow / 16, 2)] : SkyBandAt(SkyStops, x, y);
}

void Stars(Image& image) {
  StarField(image, 330, 7, [](int x, int y) {
    return Calm(x, y) ? 0 : 60 - y / 6 + static_cast<int>(Galaxy(x, y) * 300);  // fewer low down
  });
  static const Art Twinkle = ParseArt(R"(
...d...
...s...
..dsd..
dssbssd
..dsd..
...s...
...d...)");
  constexpr int Twinkles[][2] = {{24, 14},   {408, 22}, {170, 124},
                                 {262, 178}, {22, 112}, {236, 226}};
  for (auto [x, y] : Twinkles)
    BlitArt(image, x - 3, y - 3, Twinkle,
            {{'d', pal::Dusk}, {'s', pal::StarDim}, {'b', pal::StarBright}});
}


// The bay the ship flew out of, open in the keep's top: a dark shaft under hazard-striped
// jaws, lamps either side.
void LaunchBay(Image& image, int left, int top, int width, int height) {
  Recess(image, left, top, width, height, pal::Ink);
  for (int y = top + 6; y < top + height - 1; y += 5)
    FillRect(image, left + 3, y, width - 6, 1, pal::MetalDark);
  FillRect(image, left - 3, top - 6, width + 6, 7, pal::Ink);
  HazardStripes(image, left - 2, top - 5, width + 4, 5, 3);
  FillRect(image, left - 2, top - 6, width + 4, 1, pal::MetalGlint);
  for (int x : {left - 8, left + width + 3}) {
    FillRect(image, x, top + 2, 5, 5, pal::Ink);
    FillRect(image, x + 1, top + 3, 3, 3, pal::CyanDeep);
    Plot(image, x + 1, top + 3, pal::White);
    Plot(image, x + 2, top + 3, pal::Cyan);
  }
}

// A slender turret behind the round tower, its one window unlit: the box the game blanks is
// the window's pane, set in an iron frame under a brick arch.
void DarkWindowTurret(Image& image) {
  constexpr int Left = 73, Width = 26, Eaves = 172;
  BrickTower(image, Left, Eaves, Width, Height - 1, 31, true);
  ConeRoof(image, Left, Width, Eaves, 34);
  static const Art Window = ParseArt(R"(
....LLLLL....
..LLfffffdd..
.Lff#####ffd.
.Lf#######fd.
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
Lf#########fd
LLLLLLLLLLLLL
.kkkkkkkkkkk.)");
  // The pane reaches a pixel past the box on every side.
  BlitArt(image, BlankedBox.left - 3, BlankedBox.top - 7, Window,
          {{'L', pal::BrickLight}, {'f', pal::MetalDark}, {'#', pal::Ink}, {'d', pal::BrickDark},
           {'k', pal::Ink}});
  ArrowSlit(image, Left + 11, 300);
}

// A radio mast on the keep: a lattice pole, a dish and a red beacon at its top.
void Mast(Image& image, int x, int foot) {
  constexpr int Tall = 40;
  FillRect(image, x - 1, foot - Tall, 4, Tall, pal::Ink);
  FillRect(image, x, foot - Tall, 1, Tall, pal::MetalLight);
  FillRect(image, x + 1, foot - Tall, 1, Tall, pal::MetalShade);
  for (int y = foot - Tall + 4; y < foot; y += 6) Plot(image, x + 1, y, pal::Ink);
  static const Art Dish = ParseArt(R"(
..kkk.....
.kggbk....
kgbbbsk...
kbbbbssk..
.kbbsssk..
..kksskkkk
....kkk...)");
  BlitArt(image, x - 9, foot - 30, Dish,
          {{'k', pal::Ink}, {'g', pal::MetalGlint}, {'b', pal::MetalLight}, {'s', pal::MetalBase}});
  FillRect(image, x - 1, foot - Tall - 3, 4, 3, pal::Ink);
  FillRect(image, x, foot - Tall - 2, 2, 2, pal::Red);
  Plot(image, x, foot - Tall - 2, pal::Rose);
}

// --- the ship ---

// A blue-white flame tapering from the nozzle at (x, y), `length` long.
void Exhaust(Image& image, int x, int y, int length) {
  for (int t = 0; t < length; ++t) {
    double left = 1.0 - static_cast<double>(t) / length;
    int half = Round(5 * std::sqrt(left));
    for (int dx = -half; dx <= half; ++dx) {
      int edge = half - std::abs(dx);
      Rgb colour = edge == 0                         ? pal::CyanDeep
                   : edge == 1 || t > length * 2 / 3 ? pal::Cyan
                   : t < length / 3                  ? pal::White
                                                     : pal::PaleSteel;
      // The tail thins out into the sky.
      if (t > length / 2 && Bayer(x + dx, y + t) < (t - length / 2) * 32 / length) continue;
      Plot(image, x + dx, y + t, colour);
    }
  }
  // Below the flame, a thin trail of vapour back towards the bay.
  for (int t = length; t < length + 30; ++t)
    for (int dx = -1; dx <= 1; ++dx)
      if (Bayer(x + dx, y + t) < 8 - (t - length) / 4) Plot(image, x + dx, y + t, pal::NavySteel);
}

// Streaks in the sky beside the climbing ship.
void SpeedLines(Image& image) {
  for (int i = 0; i < 26; ++i) {
    int x = 252 + static_cast<int>(Hash(i, 1, 19) % 196);
    int y = 90 + static_cast<int>(Hash(i, 2, 19) % 210);
    int length = 12 + static_cast<int>(Hash(i, 3, 19) % 36);
    if (Calm(x, y) || Calm(x, y + length)) continue;
    FillRect(image, x, y, 1, length, i % 3 ? pal::Dusk : pal::StarDim);
    FillRect(image, x, y + length / 3, 1, length / 3, i % 3 ? pal::Violet : pal::CloudShade);
  }
}

// A four-pointed glint whose arms fade out from a white heart.
void Glint(Image& image, int x, int y, int arm) {
  for (int i = -arm; i <= arm; ++i) {
    int fade = std::abs(i) * 3 / (arm + 1);
    Rgb colour = fade == 0 ? pal::White : fade == 1 ? pal::PaleSteel : pal::IceSteel;
    Plot(image, x + i, y, colour);
    Plot(image, x, y + i, colour);
  }
  for (int d : {-1, 1}) {
    Plot(image, x + d, y + d, pal::PaleSteel);
    Plot(image, x + d, y - d, pal::PaleSteel);
  }
}

constexpr int HeroLeft = 312, HeroTop = 112;

}  // namespace

Image TitlePicture(const Image& hero) {
  Image picture = MakeImage(Width, Height, pal::Ink);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) PixelAt(picture, x, y) = SkyAt(x, y);
  Stars(picture);
  Moon(picture, 118, 150, 26);
  Skyline(picture);
  CloudBank(picture, PuffRow(392, 26, 16, 3), Height, FarCloud);
  DarkWindowTurret(picture);
  BrickTower(picture, 20, 238, 56, Height - 1, 11, true);
  ConeRoof(picture, 20, 56, 238, 48);
  for (int y : {262, 318}) LitWindow(picture, 45, y);
  ArrowSlit(picture, 30, 290);
  Bridge(picture, 76, 336);
  Mast(picture, 438, 302);
  BrickTower(picture, 336, 300, Width - 336, Height - 1, 23, false);
  LaunchBay(picture, HeroLeft + 36, 320, 56, 26);
  for (int x : {346, 432}) LitWindow(picture, x, 352);
  for (int x : {364, 414}) ArrowSlit(picture, x, 368);
  CloudBank(picture, Wisp(-10, 300, 120, 8), Height * 2, FarCloud);
  CloudBank(picture, Wisp(350, 396, 110, 9), Height * 2, FarCloud);
  SpeedLines(picture);
  Exhaust(picture, HeroLeft + 41, HeroTop + 120, 52);
  Exhaust(picture, HeroLeft + 86, HeroTop + 120, 52);
  Stamp(picture, hero, HeroLeft, HeroTop);
  CloudBank(picture, PuffRow(420, 30, 22, 5), Height, NearCloud);
  Image logo = Logo(true);
  int logoLeft = (Width - logo.width) / 2, logoTop = 30;
  Stamp(picture, logo, logoLeft, logoTop);
  // Glints on the top corners of the first and the last letter.
  Glint(picture, logoLeft + 17, logoTop + 4, 9);
  Glint(picture, logoLeft + logo.width - 12, logoTop + 4, 6);
  PixelAt(picture, 0, 0) = KeyColour;  // the sheet's colour key
  return picture;
}

// A steel nameplate under the middle of the picture, the credit cut into it.
Image TitleFooter(const SmallFont& font) {
  static const Art Copyright = ParseArt(R"(
..###..
.#...#.
#.###.#
#.#...#
#.###.#
.#...#.
..###..)");
  constexpr std::string_view Credit = "2026 VELDRANE TEAM";
  // The game draws the footer at (144, 448); a plate this wide is centred under the field.
  constexpr int FooterLeft = 144, PlateWidth = FieldWidth - 2 * FooterLeft;
  constexpr int PlateTop = 8, PlateHeight = 17;
  Image footer = MakeImage(FieldWidth - FooterLeft, 32, KeyColour);
  FillRect(footer, 0, PlateTop, PlateWidth, PlateHeight, pal::Ink);
  FillRect(footer, 1, PlateTop + 1, PlateWidth - 2, PlateHeight - 2, pal::MetalLight);
  FillRect(footer, 2, PlateTop + 2, PlateWidth - 3, PlateHeight - 3, pal::MetalShade);
  FillRect(footer, 2, PlateTop + 2, PlateWidth - 4, PlateHeight - 4, pal::MetalBase);
  for (int x : {4, PlateWidth - 6})
    for (int y : {PlateTop + 3, PlateTop + PlateHeight - 5}) Rivet(footer, x, y, tone::BrightSteel);
  int width = WidthOf(Copyright) + 4 + TextWidth(Credit);
  int left = (PlateWidth - width) / 2, top = PlateTop + (PlateHeight - GlyphHeight) / 2;
  BlitArt(footer, left + 1, top + 1, Copyright, {{'#', pal::MetalGlint}});
  BlitArt(footer, left, top, Copyright, {{'#', pal::MetalDark}});
  EngraveText(footer, left + WidthOf(Copyright) + 4, top, Credit, font, pal::MetalDark,
              pal::MetalGlint);
  return footer;
}

}  // namespace scenes
