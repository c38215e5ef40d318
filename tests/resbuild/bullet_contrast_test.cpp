// Enemy bullets must read over anything stage 1 puts behind them. A bullet's core is the mean
// colour of its four brightest pixels; it must stand 3:1 (WCAG contrast of relative luminance)
// against the mean colour of every tile the stage's map layers place, and so must its rim,
// the pixels next to the transparent key, against the core. Colours are taken as the display
// shows them after RGB565.
#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "built_art.h"

namespace {

// Every enemy projectile: the hatch turret's bolts, the pods' shots, the boss turrets' orb
// and the beam craft's beam.
constexpr int Bullets[] = {580, 581, 582, 593, 594, 615, 702, 703, 704, 705};
constexpr double MinContrast = 3.0;
constexpr int CorePixels = 4, TileSize = 32, TilesPerRow = 20;

struct Colour {
  double r, g, b;
};

// An 8-bit channel cut to `bits` and widened again the way the display does.
double Shown(int channel, int bits) {
  int kept = channel >> (8 - bits);
  return (kept << (8 - bits)) | (kept >> (2 * bits - 8));
}

Colour Displayed(Rgb c) { return {Shown(c.r, 5), Shown(c.g, 6), Shown(c.b, 5)}; }

double Luminance(Colour c) {
  auto linear = [](double v) {
    v /= 255;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

Colour Mean(const std::vector<Colour>& colours) {
  Colour sum{0, 0, 0};
  for (Colour c : colours) sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
  double n = static_cast<double>(colours.size());
  return {sum.r / n, sum.g / n, sum.b / n};
}

class BulletContrast : public BuiltArt {
 protected:
  Image parts = LoadSheetFile(StagePartsFileName);

  // The tile numbers that stage 1's layers place.
  std::set<int> PlacedTiles() const {
    std::set<int> tiles;
    for (const char* name : Stage1MapFiles)
      for (int16_t n :
           ParseMapFile(ReadFileBytes(std::string(RESBUILD_OUTPUT_DIR) + "/" + name)).cells)
        if (n > 0) tiles.insert(n);
    return tiles;
  }

  // Tile n's luminance, its holes (the key) left out.
  double TileLuminance(int n) const {
    Rgb key = PixelAt(parts, 0, 0);
    std::vector<Colour> colours;
    for (int y = 0; y < TileSize; ++y)
      for (int x = 0; x < TileSize; ++x) {
        Rgb c = PixelAt(parts, n % TilesPerRow * TileSize + x, n / TilesPerRow * TileSize + y);
        if (c != key) colours.push_back(Displayed(c));
      }
    return Luminance(Mean(colours));
  }
};

double CoreLuminance(const Image& bullet) {
  std::vector<Colour> drawn;
  for (Rgb c : bullet.pixels)
    if (c != KeyColour) drawn.push_back(Displayed(c));
  std::sort(drawn.begin(), drawn.end(),
            [](Colour a, Colour b) { return Luminance(a) > Luminance(b); });
  drawn.resize(CorePixels);
  return Luminance(Mean(drawn));
}

bool OnRim(const Image& image, int x, int y) {
  for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
    int nx = x + dx, ny = y + dy;
    bool inside = nx >= 0 && ny >= 0 && nx < image.width && ny < image.height;
    if (inside && PixelAt(image, nx, ny) == KeyColour) return true;
  }
  return false;
}

}  // namespace

TEST_F(BulletContrast, CoreStandsOutFromEveryTileAndRimFromTheCore) {
  std::set<int> tiles = PlacedTiles();
  for (int id : Bullets) {
    Image bullet = Drawn(id);
    double core = CoreLuminance(bullet);
    int worstTile = *std::min_element(tiles.begin(), tiles.end(), [&](int a, int b) {
      return Contrast(core, TileLuminance(a)) < Contrast(core, TileLuminance(b));
    });
    double worst = Contrast(core, TileLuminance(worstTile));
    EXPECT_GE(worst, MinContrast) << "sprite " << id << " over tile " << worstTile;
    RecordProperty("WorstContrast" + std::to_string(id), std::to_string(worst));
    for (int y = 0; y < bullet.height; ++y)
      for (int x = 0; x < bullet.width; ++x) {
        Rgb c = PixelAt(bullet, x, y);
        if (c == KeyColour || !OnRim(bullet, x, y)) continue;
        EXPECT_GE(Contrast(core, Luminance(Displayed(c))), MinContrast)
            << "sprite " << id << " rim pixel " << x << "," << y;
      }
  }
}
