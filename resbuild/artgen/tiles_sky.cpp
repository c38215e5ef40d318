// The sky under the citadel: star fields in three tones, dithered fades between them, and
// cloud banks laid out by corners, each corner point a lump of round puffs.

#include "tiles_kit.h"

namespace {

// Ordered dither from the top tone to the bottom one; each tone keeps its own stars.
void SkyFade(Image& tile, SkyTone top, SkyTone bottom, int seed) {
  Image lower = MakeImage(TileSize, TileSize, pal::Void);
  Stars(tile, top, seed, false);
  Stars(lower, bottom, seed + 1, false);
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x)
      if (Bayer(x, y) < y * 17 / TileSize) PixelAt(tile, x, y) = PixelAt(lower, x, y);
}

// Flat-lit cloud: a bright rim where the light comes from, the underside in shade and a dark
// line where it ends. The banks lie far below in the dusk, toned down so that the white core
// of an enemy bullet still stands out against them.
template <typename Inside>
Rgb CloudShading(Inside inside, int x, int y) {
  if (!inside(x + 1, y + 1) || !inside(x + 1, y) || !inside(x, y + 1)) return pal::Violet;
  for (int step = 2; step <= 4; ++step)
    if (!inside(x + step, y + step)) return pal::StarDim;
  if (!inside(x - 1, y - 1) || !inside(x, y - 2)) return pal::Cloud;
  return pal::CloudDusk;
}

// A billow inside a full bank: the dithered lower right rim of a swell, kept off the edges.
void Billow(Image& tile) {
  constexpr Puff Swell{13, 12, 10};
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      int dx = x - Swell.x, dy = y - Swell.y, d = dx * dx + dy * dy;
      bool rim = d <= Swell.radius * Swell.radius && d > (Swell.radius - 3) * (Swell.radius - 3);
      if (rim && dx + dy > 4 && (x + y) % 2) PixelAt(tile, x, y) = pal::StarDim;
    }
}

void Cloud(Image& tile, int corners, SkyTone tone) {
  Stars(tile, tone, 40 + corners, false);
  auto inside = [&](int x, int y) { return InLumps(corners, x, y); };
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x)
      if (inside(x, y)) PixelAt(tile, x, y) = CloudShading(inside, x, y);
}

}  // namespace

void DrawSkyTiles(TileSheet& sheet) {
  for (int i = 0; i < tiles::NavyStarsCount; ++i)
    DrawTile(sheet, tiles::NavyStars + i,
             [&](Image& t) { Stars(t, SkyTone::Navy, i + 1, i == tiles::NavyStarsCount - 1); });
  for (int i = 0; i < tiles::DuskStarsCount; ++i)
    DrawTile(sheet, tiles::DuskStars + i,
             [&](Image& t) { Stars(t, SkyTone::Dusk, i + 11, i == 1); });
  for (int i = 0; i < tiles::VioletStarsCount; ++i)
    DrawTile(sheet, tiles::VioletStars + i,
             [&](Image& t) { Stars(t, SkyTone::Violet, i + 21, i == 2); });
  DrawTile(sheet, tiles::NavyOverDusk,
           [](Image& t) { SkyFade(t, SkyTone::Navy, SkyTone::Dusk, 31); });
  DrawTile(sheet, tiles::DuskOverNavy,
           [](Image& t) { SkyFade(t, SkyTone::Dusk, SkyTone::Navy, 33); });
  DrawTile(sheet, tiles::DuskOverViolet,
           [](Image& t) { SkyFade(t, SkyTone::Dusk, SkyTone::Violet, 35); });
  DrawTile(sheet, tiles::VioletOverDusk,
           [](Image& t) { SkyFade(t, SkyTone::Violet, SkyTone::Dusk, 37); });
  for (int corners = 1; corners < tiles::AllCorners; ++corners) {
    DrawTile(sheet, tiles::CloudOverDusk + corners - 1,
             [&](Image& t) { Cloud(t, corners, SkyTone::Dusk); });
    DrawTile(sheet, tiles::CloudOverViolet + corners - 1,
             [&](Image& t) { Cloud(t, corners, SkyTone::Violet); });
  }
  for (int i = 0; i < tiles::CloudFullCount; ++i)
    DrawTile(sheet, tiles::CloudFull + i, [&](Image& t) {
      Cloud(t, tiles::AllCorners, SkyTone::Violet);
      if (i == 1) Billow(t);
    });
}
