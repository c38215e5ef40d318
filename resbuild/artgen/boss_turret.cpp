// The boss's turrets: armoured hatches whose doors slide apart on a domed gun, and the orb
// they fire. One design serves all four kinds; only the barrel turns, by transposing and
// mirroring the downward one, so its lit side stays towards the top-left.
#include <algorithm>
#include <array>

#include "boss_art.h"

namespace boss {
namespace {

constexpr int Cell = 32;
constexpr int FramesPerKind = 20;
constexpr int OpeningLeft = 6, OpeningSize = 20;

// Frame offsets within a kind: the gun's frames up to NearlyIn, then the shimmer, then the
// doors opening.
constexpr int Idle = 0, HitFlash = 1, FiringFirst = 2, NearlyOut = 4, NearlyIn = 6;
constexpr int ShimmerFrames = 5, OpeningFrames = 8;

Image Blank() { return MakeImage(Cell, Cell, KeyColour); }

// --- the hatch, the same for every kind ---

// The armoured frame, the pit and the gun's dome sitting in it.
Image Housing() {
  Image hatch = Blank();
  LitBlock(hatch, 0, 0, Cell, Cell, tone::Steel, 4);
  Recess(hatch, OpeningLeft - 1, OpeningLeft - 1, OpeningSize + 2, OpeningSize + 2, pal::MetalDark);
  for (int y : {3, 27})
    for (int x : {3, 27}) Rivet(hatch, x, y, RivetHead);
  LitEllipse(hatch, 9, 9, 14, 14, tone::BlueSteel);
  return hatch;
}

// The gun's hub over the root of the barrel, a red sight lamp at its top.
void Hub(Image& turret) {
  LitEllipse(turret, 12, 12, 8, 8, tone::DeepBlue);
  Lamp(turret, 14, 14, true);
}

// Hazard-striped doors meeting in the middle; each has slid `open` pixels into the frame.
void Doors(Image& turret, int open) {
  int width = OpeningSize / 2 - open;
  if (width <= 0) return;
  for (int door : {0, 1}) {
    int left = door ? OpeningLeft + OpeningSize / 2 + open : OpeningLeft;
    HazardStripes(turret, left, OpeningLeft, width, OpeningSize, 4, door ? open : -open);
    FillRect(turret, left, OpeningLeft, width, 1, pal::MetalLight);
    FillRect(turret, door ? left : left + width - 1, OpeningLeft, 1, OpeningSize, pal::Ink);
  }
}

// --- the barrel, drawn pointing down and turned for each kind ---

// How far the barrel reaches below the middle of the cell, by frame offset.
int BarrelReach(int offset) {
  switch (offset) {
    case FiringFirst:
    case FiringFirst + 1:
      return 11;
    case NearlyOut:
      return 10;
    case NearlyOut + 1:
      return 9;
    case NearlyIn:
      return 7;
    default:
      return 6;  // retracted
  }
}

constexpr std::array<Rgb, 6> Shaft{pal::Ink,       pal::IceSteel,  pal::SteelBlue,
                                   pal::SteelBlue, pal::DeepSteel, pal::Ink};
constexpr std::array<Rgb, 8> Collar{pal::Ink,       pal::PaleSteel, pal::IceSteel,  pal::SteelBlue,
                                    pal::SteelBlue, pal::DeepSteel, pal::NavySteel, pal::Ink};

// The burst at the muzzle: two shapes that alternate while the gun fires.
void MuzzleFlash(Image& barrel, int top, int frame) {
  static const Art Bursts[2] = {ParseArt(R"(
....wwww....
..yywwwwyy..
.o.ywwwwy.o.
o...yyyy...o
.....oo.....)"),
                                ParseArt(R"(
...ywwwwy...
.o.owwwwo.o.
...yywwyy...
..o..yy..o..
o....oo....o)")};
  BlitArt(barrel, 10, top, Bursts[frame],
          {{'w', pal::White}, {'y', pal::Yellow}, {'o', pal::Orange}});
}

Image DownBarrel(int offset) {
  Image barrel = Blank();
  int tip = Cell / 2 - 1 + BarrelReach(offset);
  for (int y = Cell / 2; y < tip - 1; ++y)
    for (int i = 0; i < static_cast<int>(Shaft.size()); ++i) Plot(barrel, 13 + i, y, Shaft[i]);
  for (int i = 0; i < static_cast<int>(Collar.size()); ++i)
    Plot(barrel, 12 + i, tip - 1, Collar[i]);
  FillRect(barrel, 12, tip, 8, 1, pal::Ink);
  if (offset == FiringFirst || offset == FiringFirst + 1)
    MuzzleFlash(barrel, tip + 1, offset - FiringFirst);
  return barrel;
}

enum class Facing { Down, Left, Right, Up };

Image TurnedBarrel(int offset, Facing facing) {
  Image down = DownBarrel(offset);
  switch (facing) {
    case Facing::Down:
      return down;
    case Facing::Left:
      return Mirrored(Transposed(down));
    case Facing::Right:
      return Transposed(down);
    case Facing::Up:
      return Flipped(down);
  }
  return down;
}

// --- the frames of a kind ---

Image Turret(int offset, Facing facing, int doorsOpen) {
  Image turret = Housing();
  Overlay(turret, TurnedBarrel(offset, facing));
  Hub(turret);
  Doors(turret, doorsOpen);
  return turret;
}

// The closed hatch half-materialised: a cyan ghost of it, rows wavering sideways, with a
// white scan line and dark gaps rolling down it, and sparks; `phase` steps the roll so the
// five frames loop.
Image Shimmer(const Image& closed, int phase) {
  constexpr int Roll = 2 * ShimmerFrames;
  Image shimmer = Blank();
  for (int y = 0; y < Cell; ++y) {
    int band = (y - 2 * phase + 2 * Cell) % Roll;
    if (band >= Roll - 3) continue;
    int waver = (y + phase) % 4 == 0 ? 1 : (y + phase) % 4 == 2 ? -1 : 0;
    for (int x = 0; x < Cell; ++x) {
      Rgb colour = PixelAt(closed, std::clamp(x - waver, 0, Cell - 1), y);
      if (colour == KeyColour) continue;
      Rgb ghost = Brightness(colour) < 40    ? pal::CyanDeep
                  : Brightness(colour) < 120 ? pal::Cyan
                                             : pal::PaleSteel;
      Plot(shimmer, x, y, band == Roll - 4 ? pal::White : ghost);
    }
  }
  for (int spark = 0; spark < 3; ++spark) {
    int x = (7 + 11 * spark + 13 * phase) % (Cell - 4) + 2;
    int y = (5 + 17 * spark + 7 * phase) % (Cell - 4) + 2;
    for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}})
      Plot(shimmer, x + dx, y + dy, pal::Cyan);
    Plot(shimmer, x, y, pal::White);
  }
  return shimmer;
}

std::vector<Image> KindFrames(Facing facing) {
  constexpr int Travel = OpeningSize / 2;
  std::vector<Image> frames;
  for (int offset = Idle; offset <= NearlyIn; ++offset)
    frames.push_back(offset == HitFlash ? Flashed(frames[Idle], FlashBelow)
                                        : Turret(offset, facing, Travel));
  Image closed = Turret(Idle, facing, 0);
  for (int phase = 0; phase < ShimmerFrames; ++phase) frames.push_back(Shimmer(closed, phase));
  for (int step = 0; step < OpeningFrames; ++step)
    frames.push_back(Turret(Idle, facing, Travel * step / (OpeningFrames - 1)));
  return frames;
}

// The turrets' shot: an orb that fills its 8x8 hit box, glowing from a wide white core out
// through yellow to a rose ring, in an ink rim just outside the box that holds over pale
// cloud and stone.
Image Shot() {
  static const Art Orb = ParseArt(R"(
...kkkk...
..krrrrk..
.kryyyyrk.
krywwwwyrk
krywwwwyrk
krywwwwyrk
krywwwwyrk
.kryyyyrk.
..krrrrk..
...kkkk...)");
  Image shot = Blank();
  BlitArt(shot, 11, 11, Orb,
          {{'w', pal::White}, {'y', pal::Yellow}, {'r', pal::Rose}, {'k', pal::Ink}});
  return shot;
}

}  // namespace

void DrawBossTurrets(const std::filesystem::path& folder) {
  constexpr Facing Kinds[] = {Facing::Down, Facing::Left, Facing::Right, Facing::Up};
  std::vector<Image> frames;
  for (Facing kind : Kinds) {
    std::vector<Image> kindFrames = KindFrames(kind);
    frames.insert(frames.end(), kindFrames.begin(), kindFrames.end());
  }
  SaveFrames(frames, folder, "boss_turret", FramesPerKind);
  SaveSourceImage(Shot(), folder, "boss_shot");
}

}  // namespace boss
