// What enemies fire: the round shots, the hatch turret's bolts, the beam craft's beam and
// the pod's muzzle flashes. Shots are the hottest colours in the game, white at the core.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "enemies_paint.h"

namespace enemy_art {

namespace {

// Shots are the brightest things in play: an ink rim that holds over pale cloud and stone, one
// ring of hot colour and a wide white core that holds over everything else.
const std::vector<Rgb> HotRose{pal::Ink, pal::Rose, pal::Yellow, pal::White};
const std::vector<Rgb> HotAmber{pal::Ink, pal::Orange, pal::Yellow, pal::White};
const std::vector<Rgb> Flame{pal::Red, pal::Orange, pal::Yellow, pal::YellowWhite, pal::White};

// A capsule 10 wide and 12 long, along the vertical; its transpose flies sideways. The ink
// rim at either end lies just outside the 10x10 hit box.
Image Capsule() {
  Image cell = MakeImage(32, 32, KeyColour);
  Glow(cell, {16, 15}, {16, 17}, 5, 5, HotRose);
  return cell;
}

// Two flickers of a bolt 10 across round its 8x8 hit box: a round rose spark, a squarer amber
// one.
std::vector<Image> SideBolt() {
  Image round = MakeImage(16, 16, KeyColour), square = round;
  Glow(round, {8, 8}, {8, 8}, 5, 5, HotRose);
  Glow(square, {7.5, 8}, {8.5, 8}, 4.5, 4.5, HotAmber);
  return {round, square};
}

// A comet with its head down: thin trail at the top, the hot head in the last rows.
Image DownBolt() {
  Image cell = MakeImage(16, 32, KeyColour);
  Glow(cell, {8, 7}, {8, 23.5}, 2.2, 5, HotAmber);
  return cell;
}

// Fire bursting out of a muzzle whose tip is at (16, base), up for direction -1 and down
// for 1, with two side sparks.
void MuzzleFlash(Image& image, double base, double direction) {
  Glow(image, {16, base}, {16, base + 12 * direction}, 4.5, 0.8, Flame);
  for (double side : {-1.0, 1.0})
    Glow(image, {16 + 2 * side, base}, {16 + 7 * side, base + 5 * direction}, 1.8, 0.6, Flame);
}

// Flashes just outside the pod's top and bottom muzzles, in a cell reaching 16 pixels past
// the pod's own both ways.
Image VerticalMuzzles() {
  Image cell = MakeImage(32, 64, KeyColour);
  MuzzleFlash(cell, 17, -1);
  MuzzleFlash(cell, 47, 1);
  return cell;
}

// One row of a beam 10 wide about x = 8: its half width ripples with the row and the frame,
// but repeats every 16 rows so segments stack without a seam.
void BeamRow(Image& cell, int y, int frame) {
  constexpr double Turn = 2 * std::numbers::pi / 16;
  double halfWidth =
      4.4 + 0.4 * std::sin(Turn * (y + 4 * frame)) + 0.3 * std::sin(Turn * (3 * y - 4 * frame));
  bool hotBand = (y + 16 - 4 * frame) % 16 < 2;
  for (int x = 3; x < 13; ++x) {
    double depth = halfWidth - std::abs(x + 0.5 - 8);
    if (depth < 0) continue;
    int ring = std::min(static_cast<int>(depth) + (hotBand ? 1 : 0),
                        static_cast<int>(HotAmber.size()) - 1);
    Plot(cell, x, y, HotAmber[ring]);
  }
}

std::vector<Image> BeamSegments() {
  std::vector<Image> frames;
  for (int frame = 0; frame < 4; ++frame) {
    Image cell = MakeImage(16, 16, KeyColour);
    for (int y = 0; y < 16; ++y) BeamRow(cell, y, frame);
    frames.push_back(cell);
  }
  return frames;
}

}  // namespace

void DrawEnemyShots(const std::filesystem::path& folder) {
  Image vertical = Capsule();
  SaveFrames({vertical, Transposed(vertical)}, folder, "enemy_shot", 2);
  SaveFrames(SideBolt(), folder, "turret_side_shot", 2);
  SaveSourceImage(DownBolt(), folder, "turret_down_shot");
  Image muzzles = VerticalMuzzles();
  SaveSourceImage(muzzles, folder, "pod_muzzle_vertical");
  SaveSourceImage(Transposed(muzzles), folder, "pod_muzzle_horizontal");
  SaveFrames(BeamSegments(), folder, "beam_segment", 4);
}

}  // namespace enemy_art
