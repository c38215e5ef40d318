// The title picture: the ship climbing out of the sky fortress at dusk, under the logo. The
// game writes its menu over the middle and blanks a small box at the left, so both places
// stay dark, plain sky.
#include <algorithm>
#include <cmath>
#include <vector>

#include "scenes_art.h"
#include "tiles_kit.h"

namespace scenes {
namespace {

constexpr int Width = FieldWidth, Height = ScreenHeight;

// Where the game draws over the picture; both keep to calm sky.
struct Rect {
  int left, top, right, bottom;  // inclusive
  bool Holds(int x, int y, int margin = 0) const {
    return x >= left - margin && x <= right + margin && y >= top - margin && y <= bottom + margin;
  }
};
constexpr Rect MenuArea{130, 255, 330, 345};
constexpr Rect BlankedBox{82, 204, 89, 218};

bool Calm(int x, int y) { return MenuArea.Holds(x, y, 6) || BlankedBox.Holds(x, y, 16); }

// --- sky ---

// Bands of the sky from the top down, each fading into the next by ordered dither.
struct SkyStop {
  int y;
  Rgb colour;
};
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
  Rgb sky = SkyStops[std::size(SkyStops) - 1].colour;
  if (y <= SkyStops[0].y) sky = SkyStops[0].colour;
  for (size_t i = 1; i < std::size(SkyStops) && y > SkyStops[0].y; ++i) {
    const SkyStop &above = SkyStops[i - 1], &below = SkyStops[i];
    if (y > below.y) continue;
    int level = (y - above.y) * 16 / (below.y - above.y);
    sky = Bayer(x, y) < level ? below.colour : above.colour;
    break;
  }
  // The galaxy's glow, dithered up through the sky's tones.
  constexpr Rgb Glow[] = {pal::Navy, pal::Dusk, pal::Violet};
  int glow = static_cast<int>(Galaxy(x, y) * 64) - Bayer(x, y);
  if (glow >= 0) sky = Glow[std::min(glow / 16, 2)];
  // The blanked box sits in a soft pool of the darkest sky.
  double dx = std::max({BlankedBox.left - x, x - BlankedBox.right, 0});
  double dy = std::max({BlankedBox.top - y, y - BlankedBox.bottom, 0});
  double fade = (std::hypot(dx, dy) - 10) / 50;
  if (fade < 1 && Bayer(x, y) >= 16 * std::max(fade, 0.0)) sky = pal::Ink;
  return sky;
}

void Stars(Image& image) {
  for (int y = 0; y < 330; ++y)
    for (int x = 0; x < Width; ++x) {
      if (Calm(x, y)) continue;
      uint32_t roll = Hash(x, y, 7) % 10000;
      int density = 60 - y / 6 + static_cast<int>(Galaxy(x, y) * 300);  // fewer low down
      if (roll < static_cast<uint32_t>(density) / 6)
        Plot(image, x, y, pal::StarBright);
      else if (roll < static_cast<uint32_t>(density))
        Plot(image, x, y, roll % 2 ? pal::StarDim : pal::Dusk);
    }
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

// A crescent moon lit from the top-left, its dark side a shade above the sky.
void Moon(Image& image, int centreX, int centreY, int radius) {
  for (int y = -radius; y <= radius; ++y)
    for (int x = -radius; x <= radius; ++x) {
      int d = x * x + y * y;
      if (d > radius * radius + radius) continue;
      int sx = x - radius / 3, sy = y - radius / 3;  // the shadow's circle, down and right
      int shadow = sx * sx + sy * sy, inner = (radius - 1) * (radius - 1);
      Rgb colour = shadow > inner + 5 * radius   ? pal::Cloud
                   : shadow > inner + 2 * radius ? pal::CloudShade
                   : shadow > inner              ? pal::StarDim
                                                 : pal::Dusk;
      if (d > (radius - 1) * (radius - 1) && colour == pal::Dusk) colour = pal::Violet;
      Plot(image, centreX + x, centreY + y, colour);
    }
  // Craters on the lit side: shadowed inside their upper-left wall, lit inside the lower-right.
  constexpr int Craters[][3] = {{-12, -8, 4}, {-3, -15, 3}, {-17, 5, 3}, {-7, 3, 2}, {2, -7, 2}};
  for (auto [x, y, r] : Craters)
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx) {
        Rgb& pixel = PixelAt(image, centreX + x + dx, centreY + y + dy);
        if (dx * dx + dy * dy > r * r || pixel != pal::Cloud) continue;
        pixel = dx + dy < 0 ? pal::CloudShade : dx + dy >= r - 1 ? pal::White : pixel;
      }
}

// --- clouds ---

struct Puff {
  int x, y, radius;
};

struct CloudTones {
  Rgb lit, base, shade, rim;
};
constexpr CloudTones NearCloud{pal::White, pal::Cloud, pal::CloudShade, pal::StarDim};
constexpr CloudTones FarCloud{pal::CloudShade, pal::StarDim, pal::Violet, pal::Dusk};

// Lit along the top-left of every puff, shaded towards the bottom-right, with a darker rim
// where the bank ends; everything below `floor` is inside.
void CloudBank(Image& image, const std::vector<Puff>& puffs, int floor, CloudTones tones) {
  auto inside = [&](int x, int y) {
    if (y >= floor) return true;
    for (const Puff& puff : puffs) {
      int dx = x - puff.x, dy = y - puff.y;
      if (dx * dx + dy * dy <= puff.radius * puff.radius + puff.radius) return true;
    }
    return false;
  };
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      if (!inside(x, y)) continue;
      Rgb colour = tones.base;
      if (!inside(x + 1, y + 1) || !inside(x + 1, y) || !inside(x, y + 1))
        colour = tones.rim;
      else if (!inside(x + 3, y + 3) || (!inside(x + 5, y + 5) && (x + y) % 2))
        colour = tones.shade;
      else if (!inside(x - 1, y - 1) || !inside(x, y - 2))
        colour = tones.lit;
      PixelAt(image, x, y) = colour;
    }
}

// A row of puffs from left to right whose tops wander about `top`.
std::vector<Puff> PuffRow(int top, int spacing, int radius, int seed) {
  std::vector<Puff> puffs;
  for (int x = -radius / 2, i = 0; x < Width + radius; x += spacing, ++i) {
    int r = radius + static_cast<int>(Hash(i, 1, seed) % 9) - 4;
    int y = top + r + static_cast<int>(Hash(i, 2, seed) % 13) - 6;
    puffs.push_back({x + static_cast<int>(Hash(i, 3, seed) % 7) - 3, y, r});
  }
  return puffs;
}

// A thin drifting wisp: a chain of small puffs from (x, y), `length` long.
std::vector<Puff> Wisp(int x, int y, int length, int seed) {
  std::vector<Puff> puffs;
  for (int along = 0, i = 0; along < length; along += 7, ++i) {
    int swell = along * (length - along) * 16 / (length * length);  // fattest in the middle
    puffs.push_back({x + along, y + static_cast<int>(Hash(i, 0, seed) % 3),
                     2 + swell + static_cast<int>(Hash(i, 1, seed) % 3)});
  }
  return puffs;
}

// --- the citadel ---

constexpr Rgb Mortar = pal::SoilDark;

// Running bond, eight by four, a few bricks darker or lighter than the rest.
Rgb BrickAt(int x, int y, int seed) {
  int row = y >> 2, along = x + (row % 2 ? 4 : 0);
  if ((y & 3) == 3 || (along & 7) == 7) return Mortar;
  uint32_t roll = Hash(along >> 3, row, seed) % 16;
  if (roll < 3) return pal::BrickDark;
  if (roll < 5) return pal::BrickLight;
  return (y & 3) == 0 && (along & 7) < 5 ? pal::BrickLight : pal::Brick;
}

// A brick wall or tower with merlons along its top: lit on its left, in shade on its right.
// `round` shades it as a cylinder.
void BrickTower(Image& image, int left, int top, int width, int bottom, int seed, bool round) {
  constexpr int Merlon = 6, Crenel = 4, MerlonHeight = 6;
  auto solid = [&](int x, int y) {
    if (x < left || x >= left + width || y < top || y > bottom) return false;
    if (y >= top + MerlonHeight) return true;
    int along = x - left - 1;
    return along % (Merlon + Crenel) < Merlon || x == left + width - 1;
  };
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x < left + width; ++x) {
      if (!solid(x, y)) continue;
      Rgb colour = BrickAt(x - left, y - top, seed);
      int fromLeft = x - left, fromRight = left + width - 1 - x;
      if (OnEdge(solid, x, y))
        colour = pal::Ink;
      else if (!solid(x, y - 1) || !solid(x - 1, y))
        colour = pal::BrickLight;
      else if (y == top + MerlonHeight && !solid(x, top))
        colour = pal::BrickLight;  // the wall walk's lit edge between merlons
      else if (y == top + MerlonHeight + 1 || y == top + MerlonHeight + 8)
        colour = Mortar;  // the shadows of the merlons and of the parapet
      else if (y > top + MerlonHeight + 1 && y < top + MerlonHeight + 8) {
        // The parapet stands out on corbels: a lit course, then blocks with dark gaps.
        int course = y - top - MerlonHeight;
        colour = course == 2          ? pal::BrickLight
                 : course < 5         ? pal::Brick
                 : (x - left) % 6 < 3 ? (course == 5 ? pal::BrickLight : pal::Brick)
                                      : Mortar;
      } else if (round && fromRight < width / 5)
        colour = colour == Mortar || fromRight < width / 10 ? pal::BrickDark : pal::Maroon;
      else if (round && fromLeft < width / 6 && colour == pal::Brick)
        colour = pal::BrickLight;
      else if (!round && fromRight < 3)
        colour = pal::BrickDark;
      PixelAt(image, x, y) = colour;
    }
}

// An arched window lit from within, in a brick surround.
void LitWindow(Image& image, int x, int y) {
  static const Art Window = ParseArt(R"(
..LLLL..
.LkkkkL.
Lkyyyakd
Lkyykakd
Lkyykakd
Lkkkkkkd
Lkyykakd
Lkaakaad
Lkkkkkkd
.dddddd.)");
  BlitArt(image, x, y, Window,
          {{'L', pal::BrickLight},
           {'k', pal::Ink},
           {'y', pal::YellowWhite},
           {'a', pal::Amber},
           {'d', pal::BrickDark}});
}

void ArrowSlit(Image& image, int x, int y) {
  FillRect(image, x, y, 4, 12, pal::Ink);
  FillRect(image, x + 1, y + 2, 2, 8, pal::Maroon);
  FillRect(image, x + 1, y + 4, 2, 3, pal::Orange);
}

// A cone of roof tiles, lit on its left slope, with a pennant on its point.
void ConeRoof(Image& image, int left, int width, int eaves, int height) {
  double middle = left + width / 2.0;
  for (int y = eaves - height; y <= eaves; ++y) {
    double half = (y - (eaves - height)) * (width / 2.0 + 3) / height;
    for (int x = static_cast<int>(middle - half); x <= static_cast<int>(middle + half); ++x) {
      double across = (x + 0.5 - middle) / std::max(half, 1.0);
      bool edge = std::abs(across) > 0.9 || y == eaves;
      bool course = (y - eaves) % 5 == 0;
      Rgb colour = edge             ? pal::Ink
                   : across < -0.45 ? pal::Orange
                   : across < 0.35  ? (course ? pal::Maroon : pal::Red)
                                    : pal::Maroon;
      Plot(image, x, y, colour);
    }
  }
  int tipX = static_cast<int>(middle), tipY = eaves - height;
  DrawLine(image, tipX, tipY, tipX, tipY - 14, pal::MetalLight);
  FillRect(image, tipX + 1, tipY - 14, 9, 2, pal::Red);
  FillRect(image, tipX + 1, tipY - 12, 6, 2, pal::Maroon);
}

// Far towers on the horizon: dark shapes with a lit western edge, some under pointed roofs,
// a few windows alight.
void Skyline(Image& image) {
  struct Spire {
    int left, width, top;
    bool roof;
  };
  constexpr Spire Spires[] = {{0, 34, 352, false},   {34, 20, 330, true},   {92, 26, 362, false},
                              {118, 14, 352, true},  {148, 48, 372, false}, {194, 16, 358, true},
                              {222, 40, 366, false}, {258, 14, 356, true},  {290, 44, 352, false},
                              {326, 20, 318, true}};
  for (const Spire& spire : Spires) {
    FillRect(image, spire.left, spire.top, spire.width, Height - spire.top, pal::Navy);
    FillRect(image, spire.left, spire.top, 1, Height - spire.top, pal::Dusk);
    if (spire.roof) {
      int half = spire.width / 2 + 1;
      for (int row = 0; row < half * 2; ++row) {
        int reach = row / 2;
        FillRect(image, spire.left + half - 1 - reach, spire.top - half * 2 + row, 2 * reach + 2, 1,
                 pal::Navy);
        Plot(image, spire.left + half - 1 - reach, spire.top - half * 2 + row, pal::Dusk);
      }
    } else {
      for (int x = spire.left + 2; x < spire.left + spire.width - 2; x += 6)
        FillRect(image, x, spire.top - 3, 3, 3, pal::Navy);
    }
    for (int i = 0; i < spire.width / 8; ++i) {
      int x = spire.left + 3 + static_cast<int>(Hash(i, spire.left, 5) % (spire.width - 5));
      int y = spire.top + 8 + static_cast<int>(Hash(i, spire.top, 6) % 40);
      FillRect(image, x, y, 1, 2, pal::Amber);
    }
  }
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

// --- the bridge ---

constexpr int DeckTop = 372, DeckHeight = 8, TrussDepth = 22;

// A girder bridge across the field: a lit deck, an X-braced truss below and lamps along it.
void Bridge(Image& image, int left, int right) {
  int trussTop = DeckTop + DeckHeight, trussBottom = trussTop + TrussDepth;
  for (int x = left; x <= right; x += 16) {
    DrawLine(image, x, trussTop, x + 16, trussBottom, pal::MetalShade);
    DrawLine(image, x + 16, trussTop, x, trussBottom, pal::MetalShade);
    DrawLine(image, x + 1, trussTop, x + 17, trussBottom, pal::MetalDark);
    FillRect(image, x, trussTop, 2, TrussDepth, pal::MetalBase);
    FillRect(image, x + 2, trussTop, 1, TrussDepth, pal::MetalDark);
  }
  FillRect(image, left, trussBottom, right - left, 3, pal::MetalBase);
  FillRect(image, left, trussBottom + 3, right - left, 1, pal::Ink);
  FillRect(image, left, DeckTop - 1, right - left, DeckHeight + 2, pal::Ink);
  FillRect(image, left, DeckTop, right - left, 2, pal::MetalGlint);
  FillRect(image, left, DeckTop + 2, right - left, DeckHeight - 4, pal::MetalLight);
  FillRect(image, left, DeckTop + DeckHeight - 2, right - left, 2, pal::MetalShade);
  for (int x = left + 6; x < right; x += 12) Plot(image, x, DeckTop + 4, pal::MetalDark);
  // Railing posts and their lamps.
  for (int x = left + 20; x < right - 8; x += 40) {
    FillRect(image, x, DeckTop - 12, 2, 11, pal::MetalBase);
    FillRect(image, x + 2, DeckTop - 12, 1, 11, pal::Ink);
    FillRect(image, x - 1, DeckTop - 15, 4, 3, pal::Amber);
    Plot(image, x, DeckTop - 14, pal::YellowWhite);
  }
  FillRect(image, left, DeckTop - 8, right - left, 1, pal::MetalShade);
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
