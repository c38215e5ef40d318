// The armoured enemy, 64x64: a heavy hull whose clamshell opens on a glowing core before it
// dives. The body is always drawn; the shell or the open core goes over it.
#include "enemies_paint.h"

namespace enemy_art {

namespace {

constexpr int Cell = 64;
constexpr Point Centre{32, 32};
constexpr double SocketRadius = 12.5;

// Twin thrusters at the back (the top: it flies down the screen).
void Thrusters(Image& image) {
  PaintInked(image, Symmetric(Cell, Cell, {{18, 1}, {27, 1}, {26, 12}, {19, 12}}), tone::Steel);
  for (int x : {20, 37}) {
    FillRect(image, x, 2, 7, 2, pal::Ink);
    FillRect(image, x + 1, 2, 5, 1, pal::Orange);
    Plot(image, x + 3, 2, pal::Yellow);
  }
}

// Steel claws either side of the nose.
void Claws(Image& image) {
  PaintInked(image,
             Symmetric(Cell, Cell, {{3, 30}, {12, 38}, {15, 56}, {10, 62}, {5, 58}, {1, 42}}),
             tone::Steel);
  for (int y : {44, 50}) {
    DrawLine(image, 6, y, 10, y + 2, pal::MetalShade);
    DrawLine(image, 57, y, 53, y + 2, pal::MetalShade);
  }
}

void Hull(Image& image) {
  Mask hull =
      Symmetric(Cell, Cell, {{15, 7}, {32, 7}, {32, 61}, {22, 61}, {9, 50}, {5, 36}, {7, 18}});
  PaintSculpted(image, hull, tone::RedPaint, 3);
  Groove(image, hull, {6, 19}, {57, 19}, pal::Orange);
  // A wedge of plating on the nose it dives with.
  PaintInked(image, Symmetric(Cell, Cell, {{23, 49}, {32, 49}, {32, 62}, {29, 62}}),
             tone::OrangePaint);
  // Armour bands around the socket, and the vents between the thrusters.
  PaintInked(image, EllipseMask(Cell, Cell, Centre, SocketRadius + 4, SocketRadius + 4),
             tone::DarkRed);
  for (int y = 9; y <= 15; y += 2) FillRect(image, 27, y, 10, 1, pal::Ink);
  for (int y : {27, 31, 35}) {
    FillRect(image, 7, y, 4, 2, pal::Ink);
    FillRect(image, 53, y, 4, 2, pal::Ink);
  }
  for (Point rivet : {Point{12, 22}, {50, 22}, {12, 42}, {50, 42}, {17, 50}, {45, 50}})
    Rivet(image, static_cast<int>(rivet.x), static_cast<int>(rivet.y), RivetHead);
  Lamp(image, 16, 14, tone::LitLamp);
  Lamp(image, 47, 14, tone::LitLamp);
}

// The empty socket the shell closes over: a dark pit ringed in steel.
void Socket(Image& image) {
  PaintInked(image, EllipseMask(Cell, Cell, Centre, SocketRadius + 1, SocketRadius + 1),
             tone::Steel);
  PaintFlat(image, EllipseMask(Cell, Cell, Centre, SocketRadius - 1, SocketRadius - 1),
            pal::MetalDark);
  PaintFlat(
      image,
      EllipseMask(Cell, Cell, {Centre.x + 1, Centre.y + 1}, SocketRadius - 3, SocketRadius - 3),
      pal::Ink);
}

Image Body() {
  Image image = MakeImage(Cell, Cell, KeyColour);
  Thrusters(image);
  Claws(image);
  Hull(image);
  Socket(image);
  Outline(image);
  return image;
}

// The two shell halves inside the socket, each pulled `retract` pixels out to its side.
void ShellHalves(Image& image, double retract) {
  Mask socket = EllipseMask(Cell, Cell, Centre, SocketRadius - 1, SocketRadius - 1);
  for (double side : {-1.0, 1.0}) {
    Point at{Centre.x + side * retract, Centre.y};
    Mask half = MaskOf(Cell, Cell, [&](Point p) {
      double dx = p.x - at.x, dy = p.y - at.y;
      return socket.Has(static_cast<int>(p.x), static_cast<int>(p.y)) && dx * side > 0 &&
             dx * dx + dy * dy <= SocketRadius * SocketRadius;
    });
    PaintInked(image, half, tone::OrangePaint);
  }
}

// Closed: the halves meet down the middle, riveted along the seam.
Image ClosedShell() {
  Image image = MakeImage(Cell, Cell, KeyColour);
  ShellHalves(image, 0);
  for (int y = 23; y <= 39; y += 4) {
    Rivet(image, 28, y, RivetHead);
    Rivet(image, 34, y, RivetHead);
  }
  return image;
}

// Open: the halves drawn back to slivers, and the core pulsing between two sizes.
Image OpenCore(int pulse) {
  const std::vector<Rgb> Cores[] = {
      {pal::Ink, pal::Maroon, pal::Red, pal::Orange, pal::Amber, pal::Yellow, pal::White},
      {pal::Ink, pal::Red, pal::Orange, pal::Amber, pal::Yellow, pal::YellowWhite, pal::White}};
  Image image = MakeImage(Cell, Cell, KeyColour);
  ShellHalves(image, 9);
  Glow(image, Centre, Centre, pulse ? 9.5 : 8.5, pulse ? 9.5 : 8.5, Cores[pulse]);
  // A glint where the light strikes the core.
  FillRect(image, 29, 28, 2, 1, pal::White);
  Plot(image, 29, 29, pal::White);
  return image;
}

}  // namespace

void DrawArmoured(const std::filesystem::path& folder) {
  Image body = Body(), open = OpenCore(0), wide = OpenCore(1);
  SaveFrames({body, ClosedShell(), open, wide, Flashed(body, FlashBelow), Flashed(open, FlashBelow),
              Flashed(wide, FlashBelow)},
             folder, "enemy_armoured", 7);
}

}  // namespace enemy_art
