// The programs' icons for a desktop's menus: the hero ship on a round badge of night sky, and
// for the report tool the same badge with a bar chart. Drawn once at 256 pixels and sampled
// down to each size a desktop asks for.
#include <array>
#include <cmath>

#include "artgen.h"
#include "canvas.h"
#include "palette.h"
#include "scenes_art.h"

namespace {

constexpr int MasterSize = 256;
constexpr int ShipScale = 3;
constexpr int ShipSize = 64;
constexpr std::array IconSizes = {16, 24, 32, 48, 64, 128, 256};

// RGBA rows; a pixel with alpha 0 is outside the badge.
struct Picture {
  int size = 0;
  std::vector<uint8_t> rgba;
};

void Put(Picture& picture, int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= picture.size || y >= picture.size) return;
  uint8_t* pixel = &picture.rgba[size_t(y * picture.size + x) * 4];
  pixel[0] = colour.r, pixel[1] = colour.g, pixel[2] = colour.b, pixel[3] = 255;
}

Rgb Mix(Rgb a, Rgb b, double t) {
  auto channel = [t](uint8_t from, uint8_t to) { return uint8_t(Round(from + (to - from) * t)); };
  return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

// A disc of sky from navy to violet inside a steel ring, with a few stars.
void DrawBadge(Picture& picture) {
  const double centre = MasterSize / 2.0 - 0.5, outer = 124, ring = 8;
  for (int y = 0; y < MasterSize; ++y)
    for (int x = 0; x < MasterSize; ++x) {
      const double distance = std::hypot(x - centre, y - centre);
      if (distance > outer) continue;
      const Rgb sky = Mix(pal::Navy, pal::Violet, double(y) / MasterSize);
      Put(picture, x, y, distance > outer - ring ? pal::SteelBlue : sky);
    }
  for (auto [x, y] : {std::pair{60, 70}, {190, 56}, {44, 150}, {206, 170}, {120, 30}, {86, 210}})
    for (auto [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
      Put(picture, x + dx, y + dy, pal::StarBright);
}

// The level frame of the player's ship, three times its size.
void DrawShip(Picture& picture, const Image& shipStrip) {
  const Image ship = Crop(shipStrip, ShipSize, 0, ShipSize, ShipSize);
  const int left = (MasterSize - ShipSize * ShipScale) / 2, top = 20;
  for (int y = 0; y < ShipSize * ShipScale; ++y)
    for (int x = 0; x < ShipSize * ShipScale; ++x) {
      const Rgb colour = PixelAt(ship, x / ShipScale, y / ShipScale);
      if (!IsTransparent(colour)) Put(picture, left + x, top + y, colour);
    }
}

// Three rising bars on a dark plate in the lower right: the frame rates of the report.
void DrawChart(Picture& picture) {
  const int plateLeft = 150, plateTop = 150, plateSize = 96;
  for (int y = plateTop; y < plateTop + plateSize; ++y)
    for (int x = plateLeft; x < plateLeft + plateSize; ++x) {
      const bool edge = x < plateLeft + 4 || y < plateTop + 4 || x >= plateLeft + plateSize - 4 ||
                        y >= plateTop + plateSize - 4;
      Put(picture, x, y, edge ? pal::PaleSteel : pal::Ink);
    }
  const std::array<std::pair<int, Rgb>, 3> bars = {
      {{28, pal::Amber}, {48, pal::Yellow}, {68, pal::Lime}}};
  for (size_t bar = 0; bar < bars.size(); ++bar) {
    const int left = plateLeft + 14 + int(bar) * 24, bottom = plateTop + plateSize - 12;
    for (int y = bottom - bars[bar].first; y < bottom; ++y)
      for (int x = left; x < left + 16; ++x) Put(picture, x, y, bars[bar].second);
  }
}

// Each pixel of the smaller picture averages an 8 by 8 grid of samples of the master, its
// colour weighted by how much of it is opaque.
Picture SampledDown(const Picture& master, int size) {
  Picture small{size, std::vector<uint8_t>(size_t(size * size) * 4, 0)};
  constexpr int Grid = 8;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      std::array<double, 4> sum{};
      for (int sy = 0; sy < Grid; ++sy)
        for (int sx = 0; sx < Grid; ++sx) {
          const int mx = (x * Grid + sx) * master.size / (size * Grid);
          const int my = (y * Grid + sy) * master.size / (size * Grid);
          const uint8_t* p = &master.rgba[size_t(my * master.size + mx) * 4];
          for (int c = 0; c < 3; ++c) sum[c] += p[c] * (p[3] / 255.0);
          sum[3] += p[3];
        }
      uint8_t* out = &small.rgba[size_t(y * size + x) * 4];
      const double alpha = sum[3] / (Grid * Grid);
      for (int c = 0; c < 3; ++c)
        out[c] = alpha > 0 ? uint8_t(Round(std::min(255.0, sum[c] / (Grid * Grid) * 255 / alpha)))
                           : 0;
      out[3] = uint8_t(Round(alpha));
    }
  return small;
}

void SaveIcon(const Picture& master, const std::filesystem::path& folder, const std::string& name) {
  for (int size : IconSizes) {
    const Picture icon = size == MasterSize ? master : SampledDown(master, size);
    const std::string sized = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path apps = folder / sized / "apps";
    std::filesystem::create_directories(apps);
    WriteFileBytes(apps / (name + ".png"), EncodePngRgba(size, size, icon.rgba));
  }
}

}  // namespace

void DrawIcons(const std::filesystem::path& imageFolder, const std::filesystem::path& iconFolder) {
  Picture master{MasterSize, std::vector<uint8_t>(size_t(MasterSize * MasterSize) * 4, 0)};
  DrawBadge(master);
  DrawShip(master, scenes::LoadDrawn(imageFolder, "player_ship"));
  SaveIcon(master, iconFolder, "veldrane");
  DrawChart(master);
  SaveIcon(master, iconFolder, "envposter");
}
