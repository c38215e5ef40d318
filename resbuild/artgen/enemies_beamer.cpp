// The beam craft, 128x64: a swept wing round an armoured core, with six emitters under the
// wing that pour the beams down in a V.
#include "enemies_paint.h"

namespace enemy_art {

namespace {

constexpr int Width = 128, Height = 64;
constexpr Point Core{64, 34};

// Emitter centres on the left wing, outermost first; the right wing mirrors them. The
// outer beams start 8 and 16 pixels higher than the inner ones, so the emitters step up
// towards the wing tips the same way and each tip sits 18 pixels above its beam's start.
constexpr int EmitterX[] = {8, 24, 40};
constexpr int EmitterTip[] = {Height - 17, Height - 9, Height - 1};

// The wing's bottom edge falls from the tip to the hull, just above the emitters' tips.
void Wings(Image& image) {
  Mask wings = Symmetric(Width, Height, {{50, 10}, {5, 22}, {1, 27}, {1, 38}, {50, 58}});
  PaintSculpted(image, wings, tone::RedPaint, 3);
  PaintInked(image, Symmetric(Width, Height, {{50, 10}, {5, 22}, {3, 27}, {50, 16}}),
             tone::OrangePaint);
  for (auto [from, to] : {std::pair{Point{8, 31}, Point{48, 31}}, {{12, 40}, {48, 46}}}) {
    Groove(image, wings, from, to, pal::Orange);
    Groove(image, wings, {Width - 1 - from.x, from.y}, {Width - 1 - to.x, to.y}, pal::Orange);
  }
  for (int x : {14, 30, 44}) {
    Rivet(image, x, 34, RivetHead);
    Rivet(image, Width - 2 - x, 34, RivetHead);
  }
  Lamp(image, 5, 32, tone::LitLamp);
  Lamp(image, Width - 6, 32, tone::LitLamp);
}

// Engines at the back (the top), their exhausts glowing.
void Engines(Image& image) {
  PaintInked(image, Symmetric(Width, Height, {{49, 0}, {58, 0}, {58, 12}, {49, 12}}), tone::Steel);
  for (int x : {51, 71}) {
    FillRect(image, x, 1, 6, 3, pal::Ink);
    FillRect(image, x + 1, 1, 4, 2, pal::Orange);
    FillRect(image, x + 2, 1, 2, 1, pal::YellowWhite);
  }
}

// The armoured fuselage with the core set in a steel ring.
void Hull(Image& image) {
  PaintSculpted(image, EllipseMask(Width, Height, {64, 31}, 17, 31), tone::RedPaint, 3);
  for (int y = 8; y <= 16; y += 2) FillRect(image, 58, y, 12, 1, pal::Ink);
  PaintSculpted(image, EllipseMask(Width, Height, Core, 12, 12), tone::DarkRed, 2);
  PaintInked(image, EllipseMask(Width, Height, Core, 8.5, 8.5), tone::Steel);
  Glow(image, Core, Core, 6, 6,
       {pal::Ink, pal::Red, pal::Orange, pal::Amber, pal::Yellow, pal::White});
  Plot(image, 61, 31, pal::White);
  PaintInked(image, Symmetric(Width, Height, {{57, 50}, {64, 50}, {64, 62}, {61, 62}}),
             tone::OrangePaint);
}

// A steel nozzle hanging from the wing, its lens lit at the tip.
void Emitter(Image& image, int centreX, int tip) {
  PaintInked(image, RectMask(Width, Height, centreX - 4, tip - 10, 8, 11), tone::Steel);
  FillRect(image, centreX - 3, tip - 6, 6, 1, pal::MetalShade);
  Glow(image, {centreX + 0.0, tip - 1.0}, {centreX + 0.0, tip - 1.0}, 2.6, 2.6,
       {pal::Ink, pal::Amber, pal::White});
}

Image Craft() {
  Image image = MakeImage(Width, Height, KeyColour);
  for (int i = 0; i < 3; ++i) {
    Emitter(image, EmitterX[i], EmitterTip[i]);
    Emitter(image, Width - EmitterX[i], EmitterTip[i]);
  }
  Engines(image);
  Wings(image);
  Hull(image);
  Outline(image);
  return image;
}

}  // namespace

void DrawBeamCraft(const std::filesystem::path& folder) {
  Image craft = Craft();
  SaveFrames({craft, Flashed(craft, FlashBelow)}, folder, "enemy_beamer", 2);
}

}  // namespace enemy_art
