// The citadel in the sky as the title and the screens after a play show it: sky, moon,
// clouds, brick towers with their windows and roofs, the far skyline and the girder bridge.
#include <algorithm>
#include <cmath>

#include "scenes_art.h"
#include "tiles_kit.h"

namespace scenes {
namespace {

constexpr int Width = FieldWidth, Height = ScreenHeight;

}  // namespace

// --- sky ---

Rgb SkyBandAt(std::span<const SkyStop> stops, int x, int y) {
  if (y <= stops.front().y) return stops.front().colour;
  for (size_t i = 1; i < stops.size(); ++i) {
    const SkyStop &above = stops[i - 1], &below = stops[i];
    if (y > below.y) continue;
    int level = (y - above.y) * 16 / (below.y - above.y);
    return Bayer(x, y) < level ? below.colour : above.colour;
  }
  return stops.back().colour;
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

namespace {

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

}  // namespace

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

}  // namespace scenes
