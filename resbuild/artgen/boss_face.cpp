// The face images drawn over the boss's core: burning eyes, eyelids, a grille visor and its
// flicker, a ring of chasing lamps, and irises that close like a camera's.
#include <algorithm>
#include <optional>

#include "boss_art.h"

namespace boss {
namespace {

// The iris sits here in the left eye's box, and on the body at IrisColumn (left eye) and
// its mirror, on IrisRow.
constexpr int IrisX = 9, IrisY = 6;
constexpr int IrisColumn = EyeLeft + IrisX, IrisRow = EyeTop + IrisY;

// What to paint at an eye pixel: dx, dy from the iris on screen (dx < 0 is screen-left in
// both eyes), y the row in the eye's box.
using EyePaint = std::optional<Rgb>;

template <typename Paint>
void PaintEyes(Image& face, Paint paint) {
  for (Half half : Halves)
    for (int y = 0; y < EyeHeight; ++y)
      for (int x = 0; x < EyeWidth; ++x) {
        if (!InEye(x, y)) continue;
        int dx = half.mirrored ? IrisX - x : x - IrisX;
        if (EyePaint colour = paint(dx, y - IrisY, y))
          Plot(face, half.X(EyeLeft + x), EyeTop + y, *colour);
      }
}

Image BlankFace() { return MakeImage(BossWidth, BossHeight, KeyColour); }

// White at the heart of a glow, through yellow and orange to red at its edge.
constexpr Rgb Heat[] = {pal::Red,    pal::Orange,      pal::Amber,
                        pal::Yellow, pal::YellowWhite, pal::White};

Rgb HeatAt(int level) { return Heat[std::clamp(level, 0, 5)]; }

// Distance from the iris, rows counting for more than columns as the eye is wider than tall.
int IrisDistance(int dx, int dy) { return static_cast<int>(std::sqrt(dx * dx + 3 * dy * dy)); }

// --- burning eyes ---

// Flame tongues licking up out of the eye over the brow: (column in the left eye's box,
// height) for each of the two frames.
struct Tongue {
  int x, height;
};
constexpr Tongue Flames[2][4] = {{{2, 4}, {6, 2}, {10, 5}, {14, 2}},
                                 {{4, 3}, {8, 5}, {12, 2}, {1, 2}}};

void FlameTongues(Image& face, int frame) {
  for (Half half : Halves)
    for (Tongue tongue : Flames[frame]) {
      int top = 0;
      while (!InEye(tongue.x, top)) ++top;
      for (int step = 1; step <= tongue.height; ++step)
        Plot(face, half.X(EyeLeft + tongue.x), EyeTop + top - step, HeatAt(tongue.height - step));
    }
}

Image BurningEyes(int frame) {
  Image face = BlankFace();
  PaintEyes(face, [&](int dx, int dy, int) -> EyePaint {
    return HeatAt(5 + frame - IrisDistance(dx, dy) / 2);
  });
  FlameTongues(face, frame);
  // The throat glows between the teeth.
  FillRect(face, ThroatLeft, ThroatTop, ThroatWidth, ThroatHeight, pal::Orange);
  FillRect(face, ThroatLeft + 4, ThroatTop, ThroatWidth - 8, ThroatHeight,
           frame ? pal::Yellow : pal::Amber);
  return face;
}

// --- eyes under steel lids ---

// A slit-pupilled iris glowing in a dark red eye.
EyePaint OpenEye(int dx, int dy) {
  int distance = IrisDistance(dx, dy);
  if (dx == -2 && dy == -2) return pal::White;
  if (dx == 0 && std::abs(dy) <= 2) return pal::Ink;
  if (distance <= 4) return HeatAt(4 - distance / 2 - (dx > 0));
  if (distance <= 6) return pal::Red;
  return pal::Maroon;
}

// Lids close from above and below and meet at the iris' row; `shut` from 0 (open) to
// `steps` (closed).
Image LiddedEye(int shut, int steps) {
  Image face = BlankFace();
  int topLid = IrisY * shut / steps;
  int bottomLid = EyeHeight - (EyeHeight - IrisY) * shut / steps;
  PaintEyes(face, [&](int dx, int dy, int y) -> EyePaint {
    if (y < topLid - 1) return y == 0 ? pal::IceSteel : pal::SteelBlue;
    if (y == topLid - 1) return pal::Ink;
    if (y >= bottomLid) return y == bottomLid ? pal::IceSteel : pal::DeepSteel;
    return OpenEye(dx, dy);
  });
  return face;
}

// --- the grille visor and what flickers behind it ---

constexpr int VisorLeft = 56, VisorTop = 44, VisorWidth = 48, VisorHeight = 40;
constexpr int SlotLeft = 60, SlotWidth = 40, FirstSlot = 52, SlotPitch = 5, Slots = 6;

// Slots two rows high, split by a bar down the middle.
bool InSlot(int x, int y) {
  bool onMiddleBar = x == BossWidth / 2 - 1 || x == BossWidth / 2;
  return x >= SlotLeft && x < SlotLeft + SlotWidth && !onMiddleBar && y >= FirstSlot &&
         y < FirstSlot + Slots * SlotPitch && (y - FirstSlot) % SlotPitch < 2;
}

Image GrilleVisor() {
  Image face = BlankFace();
  LitBlock(face, VisorLeft, VisorTop, VisorWidth, VisorHeight, tone::GunSteel, 5);
  for (int y = VisorTop; y < VisorTop + VisorHeight; ++y)
    for (int x = VisorLeft; x < VisorLeft + VisorWidth; ++x) {
      if (InSlot(x, y))
        Plot(face, x, y, pal::Ink);
      else if (InSlot(x, y - 1) || InSlot(x - 1, y))
        Plot(face, x, y, pal::MetalBase);
    }
  LitBlock(face, VisorLeft + 4, VisorTop + 2, VisorWidth - 8, 6, tone::BrickPaint);
  for (int x : {62, 96}) Rivet(face, x, VisorTop + 4, RivetHead);
  Lamp(face, MiddleLampX, VisorTop + VisorHeight - 7, true);
  return face;
}

// Hot light seen through the slots, brightest behind the eyes; the two frames trade
// brightness so the glow flickers.
Image GrilleFlicker(int frame) {
  Image face = BlankFace();
  for (int y = VisorTop; y < VisorTop + VisorHeight; ++y)
    for (int x = VisorLeft; x < VisorLeft + VisorWidth; ++x) {
      if (!InSlot(x, y)) continue;
      int fromEye = std::min(std::abs(x - IrisColumn), std::abs(x - MirroredX(IrisColumn))) +
                    3 * std::abs(y - IrisRow);
      int level = (frame ? 6 : 5) - fromEye / 3 - ((x * 7 + y + frame) % 5 == 0);
      if (level >= 0) Plot(face, x, y, HeatAt(level));
    }
  return face;
}

// --- lamps chasing round the face ---

// A lamp at full blaze, its glow spilling a pixel past its 4x4 cell.
void BlazingLamp(Image& face, int x, int y) {
  static const Art Blaze = ParseArt(R"(
..rr..
.roor.
rowyor
royyor
.roor.
..rr..)");
  BlitArt(face, x, y, Blaze,
          {{'r', pal::Red}, {'o', pal::Orange}, {'y', pal::Yellow}, {'w', pal::White}});
}

// Every third lamp is lit with a dimmer one trailing it; the lit ones step clockwise.
Image ChasingLamps(int frame) {
  Image face = BlankFace();
  for (int i = 0; i < FaceLamps; ++i) {
    int phase = (i - frame + FaceLamps) % 3;
    LampCell lamp = FaceLamp(i);
    if (phase == 0) BlazingLamp(face, lamp.x - 1, lamp.y - 1);
    if (phase == 2) Lamp(face, lamp.x, lamp.y, true);
  }
  PaintEyes(face,
            [&](int dx, int dy, int) -> EyePaint { return HeatAt(3 - IrisDistance(dx, dy) / 3); });
  return face;
}

// --- irises closing like a camera's ---

// Steel blades round an opening of `aperture` half pixels' radius.
Image Iris(int aperture) {
  Image face = BlankFace();
  PaintEyes(face, [&](int dx, int dy, int) -> EyePaint {
    int distance = static_cast<int>(std::sqrt(4 * dx * dx + 4 * dy * dy));
    if (distance < aperture) return HeatAt(5 - 6 * distance / aperture);
    if (distance < aperture + 2) return pal::Ink;
    if (dx == dy || dx == -dy) return pal::Ink;
    return dx + dy < 0 ? pal::DeepSteel : pal::NavySteel;
  });
  return face;
}

}  // namespace

std::vector<Image> BossFaces() {
  constexpr int LidSteps = 6;
  constexpr int Apertures[] = {11, 7, 3, 0};
  std::vector<Image> faces;
  for (int frame : {0, 1}) faces.push_back(BurningEyes(frame));
  for (int shut = 0; shut <= LidSteps; ++shut) faces.push_back(LiddedEye(shut, LidSteps));
  for (int frame : {0, 1}) faces.push_back(GrilleFlicker(frame));
  faces.push_back(GrilleVisor());
  for (int frame : {0, 1, 2}) faces.push_back(ChasingLamps(frame));
  for (int aperture : Apertures) faces.push_back(Iris(aperture));
  return faces;
}

}  // namespace boss
