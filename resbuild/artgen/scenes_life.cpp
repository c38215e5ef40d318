// The life icon, a 32x32 miniature of the player's ship, and its loss: a flash, glowing
// cracks, the pieces bursting apart round a fireball, and the smoke fading to nothing.
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "scenes_art.h"
#include "ship_art.h"

namespace scenes {
namespace {

constexpr int Size = LifeIconSize;

// The ship's left half, nose up, in the ship's own labels: h hull, b wing plating, g engines
// and wingtip guns, d intakes and nozzles, c canopy, G its glint, r hazard trim, o the core,
// k seams, n the port light, W C D the exhaust glow.
const Art& IconHalf() {
  static const Art half = ParseArt(R"(
................
...............h
...............h
..............hh
..............hh
.............hkk
.............kGc
............hkGc
............hkcc
...........bhkcc
..........bbhhkk
.........ddbhhhh
........gddghhhh
........gggghhhh
.......bgggghhhh
......bbgggghhkk
.g...bbrgggghhko
ggg.bbrbgggghhko
gngbbrbbgggghhkk
gggbrbbbgggghhhh
gggbbbbbgggghhhh
gggbbbbbgggghhkk
gggbbbbbgggghhhh
ggg.bbbbgggghhkk
ggg...bbgggghhhh
.g.....bgggghhhh
.......bddddhhhh
........dddd.hhh
........dddd.hhh
........CWWC....
........DCCD....
.........DD.....)");
  return half;
}

// The right half mirrors the left; the port light turns starboard and the glint, which
// faces the light, shows the glass beneath it.
Art IconArt() {
  Art art = IconHalf();
  for (std::string& row : art) {
    std::string right(row.rbegin(), row.rend());
    for (char& label : right) label = label == 'n' ? 'm' : label == 'G' ? 'c' : label;
    row += right;
  }
  return art;
}

struct Part {
  char label;
  Tone tone;
  bool outlined;  // ringed in ink where it meets empty space
};

// Bright hull, blue wings and dark engines, so the small ship still reads as the big one.
constexpr Part Parts[] = {
    {'h', {pal::PaleSteel, pal::IceSteel, pal::SteelBlue}, true},
    {'b', tone::BlueSteel, true},
    {'g', tone::GunSteel, true},
    {'d', tone::DarkSteel, true},
    {'c', {pal::Cyan, pal::Cyan, pal::CyanDeep}, true},
    {'r', tone::RedPaint, true},
    {'k', Flat(pal::Ink), false},
    {'o', Flat(pal::Cyan), false},
    {'G', Flat(pal::White), false},
    {'W', Flat(pal::White), false},
    {'C', Flat(pal::Cyan), false},
    {'D', Flat(pal::CyanDeep), false},
    {'n', Flat(pal::Red), false},
    {'m', Flat(pal::Lime), false},
};

const Part& PartOf(char label) {
  for (const Part& part : Parts)
    if (part.label == label) return part;
  throw BuildError(std::string("life icon: no part '") + label + "'");
}

// Ink where an outlined part meets empty space, light just inside its top and left rim,
// shade just inside its bottom and right.
Image ShadedIcon(const Art& art) {
  auto empty = [&](int x, int y) { return ArtAt(art, x, y) == '.'; };
  auto rim = [&](int x, int y) {
    return !empty(x, y) && PartOf(ArtAt(art, x, y)).outlined &&
           OnEdge([&](int px, int py) { return !empty(px, py); }, x, y);
  };
  Image icon = MakeImage(Size, Size, KeyColour);
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      char label = ArtAt(art, x, y);
      if (label == '.') continue;
      Tone tone = PartOf(label).tone;
      PixelAt(icon, x, y) = rim(x, y)                        ? pal::Ink
                            : rim(x - 1, y) || rim(x, y - 1) ? tone.light
                            : rim(x + 1, y) || rim(x, y + 1) ? tone.shade
                                                             : tone.base;
    }
  return icon;
}

// --- breaking up ---

constexpr int Pieces = 5;
constexpr double Centre = Size / 2.0;

// Which piece a pixel belongs to: sectors round the middle whose borders zigzag.
int PieceOf(int x, int y) {
  double dx = x + 0.5 - Centre, dy = y + 0.5 - Centre;
  double turn = std::atan2(dy, dx) / (2 * std::numbers::pi) + 0.55;
  int ring = static_cast<int>(std::hypot(dx, dy)) / 3;
  turn += (static_cast<int>(Hash(ring, 0, 61) % 5) - 2) * 0.012;
  return static_cast<int>(std::floor(turn * Pieces + Pieces)) % Pieces;
}

// Glowing seams along the borders between pieces, white-hot near the middle.
Image Cracked(const Image& icon) {
  Image cracked = icon;
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      if (PixelAt(icon, x, y) == KeyColour) continue;
      if (PieceOf(x, y) == PieceOf(x + 1, y) && PieceOf(x, y) == PieceOf(x, y + 1)) continue;
      double reach = std::hypot(x + 0.5 - Centre, y + 0.5 - Centre);
      PixelAt(cracked, x, y) = reach < 5 ? pal::White : reach < 10 ? pal::Yellow : pal::Orange;
    }
  return cracked;
}

// Charred: the darks turned to ink and soot, the lights to embers.
Image Charred(const Image& image) {
  Image charred = image;
  for (Rgb& colour : charred.pixels) {
    if (colour == KeyColour) continue;
    int brightness = Brightness(colour);
    colour = brightness < 60    ? pal::Ink
             : brightness < 120 ? pal::MetalDark
             : brightness < 170 ? pal::Maroon
                                : pal::Orange;
  }
  return charred;
}

// Each piece moved `distance` out from the middle along its sector.
Image Scattered(const Image& icon, double distance) {
  Image scattered = MakeImage(Size, Size, KeyColour);
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      Rgb colour = PixelAt(icon, x, y);
      if (colour == KeyColour) continue;
      double turn = (PieceOf(x, y) + 0.5) / Pieces - 0.55;
      double angle = turn * 2 * std::numbers::pi;
      Plot(scattered, x + Round(distance * std::cos(angle)), y + Round(distance * std::sin(angle)),
           colour);
    }
  return scattered;
}

Image Over(Image base, const Image& top) {
  Overlay(base, top);
  return base;
}

}  // namespace

std::vector<Image> LifeIconFrames() {
  constexpr FlashLevels WhiteFlash{0, 30, 80};
  Image icon = ShadedIcon(IconArt());
  Image cracked = Cracked(icon);
  std::vector<Image> burst = ExplosionFrames(Size);
  return {icon,
          Flashed(icon, WhiteFlash),
          cracked,
          Over(Scattered(cracked, 2), burst[0]),
          Over(Scattered(Charred(cracked), 5), burst[1]),
          Over(Scattered(Charred(icon), 9), burst[3]),
          burst[5],
          burst[7]};
}

}  // namespace scenes
