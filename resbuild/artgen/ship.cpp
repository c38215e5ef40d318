// The player's ship, its barrier pods and its shots. Ship and pods are authored as maps of
// material labels and shaded by code, so a part keeps its light from the top-left however
// it is mirrored, turned or foreshortened.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "artgen.h"
#include "shading.h"
#include "ship_art.h"

namespace {

constexpr int ShipSize = 64;
constexpr char Empty = '.';

// --- material maps ---

struct Material {
  char label;
  Tone tone;
  int lightDepth, shadeDepth;  // bevel widths along the lit (top, left) and shadowed sides
  bool outlined;               // ringed in ink where it meets empty space
};

constexpr Material Materials[] = {
    {'h', tone::BlueSteel, 2, 2, true},                                  // hull
    {'b', tone::BlueSteel, 1, 1, true},                                  // wing plating
    {'B', tone::DeepBlue, 1, 1, true},                                   // plating in shade
    {'L', {pal::PaleSteel, pal::IceSteel, pal::SteelBlue}, 1, 1, true},  // plating in sun
    {'g', tone::Steel, 1, 2, true},                                      // engines, pods
    {'a', tone::GunSteel, 1, 1, true},                                   // gun barrels
    {'d', tone::DarkSteel, 1, 1, true},                                  // intakes, nozzles
    {'c', {pal::Cyan, pal::CyanDeep, pal::NavySteel}, 1, 1, true},       // glass
    {'G', Flat(pal::White), 0, 0, false},                                // glint on glass
    {'r', tone::RedPaint, 1, 1, true},                                   // hazard trim
    {'o', {pal::Cyan, pal::CyanDeep, pal::CyanDeep}, 1, 0, true},        // core socket
    {'k', Flat(pal::Ink), 0, 0, true},                                   // seams, vents
    {'i', Flat(pal::MetalGlint), 0, 0, false},                           // rivet heads
    {'n', Flat(pal::Red), 0, 0, false},                                  // port light
    {'m', Flat(pal::Lime), 0, 0, false},                                 // starboard light
    // Energy glows, hottest first: exhaust, shots, the barrier and its emitters.
    {'W', Flat(pal::White), 0, 0, false},
    {'P', Flat(pal::PaleSteel), 0, 0, false},
    {'C', Flat(pal::Cyan), 0, 0, false},
    {'D', Flat(pal::CyanDeep), 0, 0, false},
    {'N', Flat(pal::NavySteel), 0, 0, false},  // edge of a glow
};

// Labels that change side with the picture: the port and starboard lights.
constexpr std::pair<char, char> HandedLabels[] = {{'n', 'm'}};

// Glints face the light, so a mirrored half shows the glass beneath them instead.
constexpr std::pair<char, char> LitSideOnly[] = {{'G', 'c'}};

const Material& MaterialOf(char label) {
  for (const Material& material : Materials)
    if (material.label == label) return material;
  throw BuildError(std::string("ship art: no material for '") + label + "'");
}

bool IsRim(const Art& parts, int x, int y) {
  if (!MaterialOf(parts[y][x]).outlined) return false;
  return OnEdge([&](int px, int py) { return ArtAt(parts, px, py) != Empty; }, x, y);
}

// Light wins over shade only where its edge is at least as near.
Rgb ShadedPixel(const Art& parts, int x, int y) {
  const Material& material = MaterialOf(parts[y][x]);
  if (IsRim(parts, x, y)) return pal::Ink;
  auto inside = [&](int px, int py) {
    return ArtAt(parts, px, py) == parts[y][x] && !IsRim(parts, px, py);
  };
  int limit = std::max(material.lightDepth, material.shadeDepth);
  int toLight = std::min(Reach(inside, x, y, 0, -1, limit), Reach(inside, x, y, -1, 0, limit));
  int toShade = std::min(Reach(inside, x, y, 0, 1, limit), Reach(inside, x, y, 1, 0, limit));
  if (toLight < material.lightDepth && toLight <= toShade) return material.tone.light;
  if (toShade < material.shadeDepth) return material.tone.shade;
  return material.tone.base;
}

Image Shaded(const Art& parts) {
  Image image = MakeImage(WidthOf(parts), HeightOf(parts), KeyColour);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (parts[y][x] != Empty) PixelAt(image, x, y) = ShadedPixel(parts, x, y);
  return image;
}

// --- transforms of material maps ---

// Mirrored, its handed labels swapped.
Art MirroredParts(const Art& parts) {
  Art mirrored = Mirrored(parts);
  for (std::string& row : mirrored)
    for (char& label : row)
      for (auto [port, starboard] : HandedLabels)
        label = label == port ? starboard : label == starboard ? port : label;
  return mirrored;
}

Art Relabelled(Art art, char from, char to) {
  for (std::string& row : art) std::replace(row.begin(), row.end(), from, to);
  return art;
}

// Symmetric parts are authored as their left half.
Art WithMirroredHalf(const Art& leftHalf) {
  Art right = MirroredParts(leftHalf), whole = leftHalf;
  for (auto [glint, beneath] : LitSideOnly) right = Relabelled(right, glint, beneath);
  for (size_t row = 0; row < whole.size(); ++row) whole[row] += right[row];
  return whole;
}

// Frames side by side, one row of cells.
void SaveFrameStrip(const std::vector<Image>& frames, const std::filesystem::path& folder,
                    const std::string& name) {
  SaveFrames(frames, folder, name, static_cast<int>(frames.size()));
}

// --- the ship ---

// The left half of the level ship, nose up. The core sits in the housing at the centre
// (columns 30-33, rows 30-33), the engines' exhaust glows below the nozzles.
const Art& ShipHalf() {
  static const Art half = ParseArt(R"(
................................
...............................g
...............................g
..............................gg
..............................gg
..............................hh
.............................hhh
.............................hhh
............................hhhh
............................hhhh
...........................hhhhk
...........................hhhkc
..........................hhhkGc
..........................hhkGcc
..........................hhkGcc
........................b.hhkccc
.......................bbhhhkccc
......................bbbhhhkccc
.....................bbbbhhhkccc
....................bbbbbhhhkccc
....................bbbbhhhhhkcc
......................bbhhhhhhkk
...................ggg..hhhhhhhh
..................ddddd.hhhhhhhh
.................gdddddghhhhhhhh
.................gdddddghhhhhhhh
.................gdddddghihhhhhh
.................ggggggghhhhhhhh
.................ggggggghhhhkkkk
.................ggggggghhhkgggg
.................ggggggghhhkgkkk
................bggigggghhhkgkoo
...............bbggggggghhhkgkoo
.............bbbrggggggghhhkgkoo
.gg.........bbbrrggggggghhhkgkoo
gggg.......bbbrrbggggggghhhkgkkk
gggg......bbbrrbbggggggghhhkgggg
gnng.....bbbrrbbbkkkkkkkhhhhkkkk
gggg...bbbrrbbbbbggggggghhhhhhhg
gggg..bbbrrbbbbbbggggggghhhhhhhg
gggg.bbbrrbbbbbbbggggggghhhkkkkg
ggggbbbrrbbbbbbbbggggggghhhhhhhg
ggggbbbrrbbbbbbbbggggggghhhkkkkg
ggggbbbrrbbbbbbbbggggggghhhhhhhg
ggggbbbrrbbbbbbbbggggggghhhkkkkg
ggggbbbbbbbbbbbbbggggggghhhhhhhg
ggggbbbbbbbbbbbbbggggggghihhhhhg
ggggbbbibbibbibbbggggggghhhhhhhg
ggggbbbbbbbbbbbbbkkkkkkkhhhhhhhg
ggggbbbbbbbbbbbbbggggggghhhhhhhg
gggg....bbbbbbbbbggggggghhhhhhhg
gggg............bggggggghhhhhhhg
gggg..........bbbggigggghhhhhhhg
gggg.........bbbbggggggghhhhhhhg
gggg........bbbbbggggggghhhhhhhg
.gg........bbbbbbgdddddghhhhhhhg
..........bbbbbbbgdddddg.hhhhhhh
..........bbbbbbbgdddddg.hhhhhhh
...........bbbbbbgdddddg.hhhhhhh
..................CWWWC...hhhhhh
...................CWWC.........
...................DCC..........
....................DD..........
................................)");
  return half;
}

constexpr int CoreLeft = 30, CoreTop = 30, CoreSize = 4;

// Banking foreshortens the lowered wing towards the body and turns its plating from the
// light, while the raised wing's plating catches it; the middle of the body, and with it
// the core, stays where it is.
Art Banked(const Art& level, bool rightWingDown) {
  constexpr int Centre = ShipSize / 2, Body = 6;
  Art banked = level;
  for (int y = 0; y < ShipSize; ++y)
    for (int out = 0; out < Centre; ++out) {
      int from = out < Body ? out : Body + (out - Body) * 3 / 2;
      int lowered = rightWingDown ? Centre + out : Centre - 1 - out;
      int source = rightWingDown ? Centre + from : Centre - 1 - from;
      char label = from < Centre ? level[y][source] : Empty;
      banked[y][lowered] = label == 'b' ? 'B' : label;
      char& raised = banked[y][rightWingDown ? Centre - 1 - out : Centre + out];
      if (raised == 'b') raised = 'L';
    }
  return banked;
}

// A 4x4 light over the core in a one-pixel glow ring with its corners cut.
Image CoreLamp() {
  Image lamp = MakeImage(ShipSize, ShipSize, KeyColour);
  FillRect(lamp, CoreLeft, CoreTop - 1, CoreSize, CoreSize + 2, pal::Cyan);
  FillRect(lamp, CoreLeft - 1, CoreTop, CoreSize + 2, CoreSize, pal::Cyan);
  FillRect(lamp, CoreLeft, CoreTop, CoreSize, CoreSize, pal::YellowWhite);
  FillRect(lamp, CoreLeft, CoreTop, CoreSize / 2, CoreSize / 2, pal::White);
  return lamp;
}

// Banked right, level, banked left, then the core lamp.
void DrawShip(const std::filesystem::path& folder) {
  Art level = WithMirroredHalf(ShipHalf());
  SaveFrameStrip({Shaded(Banked(level, true)), Shaded(level), Shaded(Banked(level, false)),
                  CoreLamp()},
                 folder, "player_ship");
}

// --- barrier pods ---

constexpr int PodDepth = 32;  // a pod's extent away from the ship; its length is ShipSize

// The left half of pod A in vertical mode, above the ship: a gun turret whose barrel is
// centred 16 pixels in from the pod's end, where the game's shots leave, a barrier lens in
// the middle and an emitter light at the tip.
const Art& PodHalf() {
  static const Art half = ParseArt(R"(
................................
............gggggggg............
............gggggggg............
............gkkkkkkg............
............gggggggg............
............gggggggg............
.............aaaaaa.............
.............aaaaaa.............
.............aaaaaa.............
.............aaaaaa.............
.............aaaaaa.............
...........ggaaaaaagg...........
..........ggddddddddgg..........
.........ggggddddddgggg.........
.........gggggggggggggg.hhhhhhhh
......hhhgggggggggggggghhhhhhhhh
....hhhhhggiggggggggiggh.kkkkkkk
..hhhhhhhgggggggggggggghhkcccccc
.hhChhhhhgggggggggggggghhkcGcccc
.hCChhhhhgggggggggggggghhkcGcccc
.hhChhhhhgggkkkkkkkkgggghkcccccc
.hhhhhhhhgggggggggggggghhkcccccc
.hhhhhhhhgggkkkkkkkkgggghhkkkkkk
..hhhhhhhgggggggggggggghhhhhhhhh
....hhhhhggiggggggggigghhhhhhhhh
......hhhgggggggggggggghhhhhhhhh
.........gggggggggggggg.........
..........gggggggggggg..........
................................
................................
................................
................................)");
  return half;
}

// Pod A above the ship and pod B below it, its mirror image across the ship.
std::pair<Art, Art> VerticalPods() {
  Art above = WithMirroredHalf(PodHalf());
  return {above, Flipped(above)};
}

// The shimmer over a pod absorbing a bullet, in pod A's place: the pod's outline in white,
// its body glinting through a weave of white and cyan, and the barrier flaring as a bow
// across its outer face.
Art HitFlash(const Art& pod) {
  constexpr char Bands[] = {'W', 'P', 'C', 'P'};
  Art flash = pod;
  for (int y = 0; y < PodDepth; ++y)
    for (int x = 0; x < ShipSize; ++x) {
      double across = (x + 0.5 - ShipSize / 2.0) / (ShipSize / 2.0);
      int bow = Round(4 + 9 * across * across);
      char& label = flash[y][x];
      if (y == bow || y == bow + 1)
        label = (x + y) % 3 ? 'W' : 'P';
      else if (y == bow - 1 || (y == bow - 2 && x % 2))
        label = 'C';
      else if (label != Empty)
        label = IsRim(pod, x, y) ? 'W' : (x + y) % 2 ? Empty : Bands[(x - y) / 2 & 3];
    }
  return flash;
}

// Both pods turned `degrees` anticlockwise about the ship's centre, in a cell that reaches
// a pod's depth past the ship on every side.
Art TurnedPods(const std::pair<Art, Art>& vertical, double degrees) {
  constexpr int Cell = ShipSize + 2 * PodDepth;
  constexpr double Centre = ShipSize / 2.0;
  double radians = degrees * std::numbers::pi / 180;
  double c = std::cos(radians), s = std::sin(radians);
  Art turned(Cell, std::string(Cell, Empty));
  for (int y = 0; y < Cell; ++y)
    for (int x = 0; x < Cell; ++x) {
      double dx = x + 0.5 - PodDepth - Centre, dy = y + 0.5 - PodDepth - Centre;
      int fromX = static_cast<int>(std::floor(Centre + dx * c - dy * s));
      int fromY = static_cast<int>(std::floor(Centre + dx * s + dy * c));
      if (fromY < 0)
        turned[y][x] = ArtAt(vertical.first, fromX, fromY + PodDepth);
      else if (fromY >= ShipSize)
        turned[y][x] = ArtAt(vertical.second, fromX, fromY - ShipSize);
    }
  return turned;
}

// Speed lines behind the muzzles of turning pods, fading with the angle they lag by.
// `towards` is +1 for pods turning anticlockwise, -1 for clockwise.
Art WithTrails(Art turned, double degrees, int towards) {
  constexpr double MuzzleRadius = 63;  // from the ship's centre
  constexpr double MuzzleAngle = 14;   // either side of the pod's middle
  const int cell = WidthOf(turned);
  const double centre = cell / 2.0;
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < cell; ++x) {
      double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
      double offTrack = std::abs(std::hypot(dx, dy) - MuzzleRadius);
      double angle = std::atan2(-dx, -dy) * 180 / std::numbers::pi;  // 0 up, 90 left
      if (turned[y][x] != Empty || offTrack > 3) continue;
      for (double muzzle : {-MuzzleAngle, MuzzleAngle, 180 - MuzzleAngle, 180 + MuzzleAngle}) {
        double lag = towards * std::remainder(degrees + muzzle - angle, 360.0);
        if (lag < 2 || lag > 26) continue;
        bool solid = lag < 10 && offTrack < 1.5;
        turned[y][x] = solid ? 'C' : (x + y) % 2 && lag < 20 ? 'D' : Empty;
      }
    }
  return turned;
}

// Vertical and horizontal pods: A, B, A's hit flash, B's; then the pods half way through
// turning to horizontal and half way back.
void DrawPods(const std::filesystem::path& folder) {
  auto vertical = VerticalPods();
  Art flashA = HitFlash(vertical.first), flashB = Flipped(flashA);
  SaveFrameStrip({Shaded(vertical.first), Shaded(vertical.second), Shaded(flashA), Shaded(flashB)},
                 folder, "player_pods_vertical");
  SaveFrameStrip({Shaded(Transposed(vertical.first)), Shaded(Transposed(vertical.second)),
                  Shaded(Transposed(flashA)), Shaded(Transposed(flashB))},
                 folder, "player_pods_horizontal");
  Art halfway = TurnedPods(vertical, 45);
  SaveFrameStrip({Shaded(WithTrails(halfway, 45, 1)), Shaded(WithTrails(halfway, 45, -1))},
                 folder, "player_pods_turning");
}

// --- shots ---

constexpr int ShotSize = 32;

// A shot flying up from a left barrel: a white-hot tip on a cyan needle whose tail thins
// into sparks, with a glint off its left side. A dark steel edge keeps it visible over
// clouds; columns 4 and 5 are the cell's middle.
const Art& ShotNeedle() {
  static const Art needle = ParseArt(R"(
..........
....NN....
.P.NWWN...
..NWWWWN..
.NCPWWPCN.
.NCPWWPCN.
..NCWWCN..
..NCWWCN..
..NCPPCN..
..NCPPCN..
..NDPPDN..
..NDCCDN..
..NDCCDN..
...NCCN...
...NCCN...
...NCCN...
...NDCN...
...NDDN...
....DD....
....DD....
....D.....
.....D....
....D.....
..........
.....D....)");
  return needle;
}

Art InShotCell(const Art& needle) {
  const int left = (ShotSize - WidthOf(needle)) / 2, top = (ShotSize - HeightOf(needle)) / 2;
  Art cell(ShotSize, std::string(ShotSize, Empty));
  for (int y = 0; y < HeightOf(needle); ++y)
    cell[top + y].replace(left, WidthOf(needle), needle[y]);
  return cell;
}

// Up from the left and right upper barrels, down from the lower ones, then left and right
// from the upper barrels and from the lower ones; each pair glints on its outer sides.
void DrawShots(const std::filesystem::path& folder) {
  Art upLeft = InShotCell(ShotNeedle()), upRight = MirroredParts(upLeft);
  Art leftUpper = Transposed(upLeft), leftLower = Transposed(upRight);
  std::vector<Image> shots;
  for (const Art& shot : {upLeft, upRight, Flipped(upLeft), Flipped(upRight), leftUpper,
                          MirroredParts(leftUpper), leftLower, MirroredParts(leftLower)})
    shots.push_back(Shaded(shot));
  SaveFrameStrip(shots, folder, "player_shots");
}

}  // namespace

void DrawShipAndEffects(const std::filesystem::path& folder) {
  DrawShip(folder);
  DrawPods(folder);
  DrawShots(folder);
  SaveFrameStrip(BarrierSparkFrames(), folder, "player_barrier_spark");
  SaveFrameStrip(ExplosionFrames(32), folder, "explosion_small");
  SaveFrameStrip(ExplosionFrames(64), folder, "explosion_medium");
  SaveFrameStrip(ExplosionFrames(128), folder, "explosion_large");
  SaveFrameStrip(ScreenWipeFrames(), folder, "screen_wipe");
  SaveSourceImage(GameOverPicture(), folder, "game_over");
}
