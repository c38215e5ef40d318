// The score panel's frame, right of the play field: riveted steel plates, the logo in a dark
// window, a radar scope, engraved labels over the three number fields and a tray for the
// life icons. The game writes the numbers and sets the icons into the dark fields.
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "scenes_art.h"
#include "tiles_kit.h"

namespace scenes {
namespace {

// Panel pixels, from the panel's left edge (the screen's x 448).
constexpr int Left = 0, Right = PanelWidth - 1;
constexpr int Rail = 8;  // the beam between the field and the panel
constexpr int Border = 3;

// The game sets numbers in the large font (18 rows) in 11 cells of 13 from x 480.
constexpr int DigitsLeft = 480 - FieldWidth, DigitsWidth = 11 * 13 - 1, DigitRows = 18;
// The life icons: five of 32 from x 480, at y 424.
constexpr int IconsLeft = DigitsLeft, IconsTop = 424;

struct Readout {
  std::string_view label;
  int top;  // of the numbers
};
constexpr Readout Readouts[] = {{"NEXT EXTEND", 264}, {"HI SCORE", 328}, {"SCORE", 392}};

// The beam along the play field's edge: a steel column, rivets all the way down.
void EdgeRail(Image& panel) {
  FillRect(panel, Left, 0, Rail, ScreenHeight, pal::MetalBase);
  FillRect(panel, Left, 0, 1, ScreenHeight, pal::Ink);
  FillRect(panel, Left + 1, 0, 1, ScreenHeight, pal::MetalGlint);
  FillRect(panel, Left + 2, 0, 1, ScreenHeight, pal::MetalLight);
  FillRect(panel, Left + Rail - 2, 0, 1, ScreenHeight, pal::MetalShade);
  FillRect(panel, Left + Rail - 1, 0, 1, ScreenHeight, pal::Ink);
  for (int y = 10; y < ScreenHeight - 8; y += 24) {
    FillRect(panel, Left + 4, y + 1, 2, 2, pal::Ink);
    Rivet(panel, Left + 3, y, RivetHead);
  }
}

// The logo over a patch of night sky behind thick glass.
void LogoWindow(Image& panel, int top, int height) {
  int left = Rail + 4, width = Right - Border - 3 - left;
  Recess(panel, left, top, width, height, pal::Void);
  for (int y = top + 2; y < top + height - 2; ++y)
    for (int x = left + 2; x < left + width - 2; ++x) {
      uint32_t roll = Hash(x, y, 91) % 100;
      if (roll < 2) Plot(panel, x, y, roll ? pal::StarDim : pal::StarBright);
      if (y > top + height - 12 && Bayer(x, y) < (y - top - height + 12))
        Plot(panel, x, y, pal::Navy);
    }
  Image logo = Logo(false);
  Stamp(panel, logo, left + (width - logo.width) / 2, top + (height - logo.height) / 2);
}

// A round radar scope: rings and cross-hairs in the glass, the ship at its middle and a
// few contacts, bolted into a bezel.
void RadarScope(Image& panel, const Image& ship, int centreX, int centreY, int radius) {
  for (int y = -radius - 4; y <= radius + 4; ++y)
    for (int x = -radius - 4; x <= radius + 4; ++x) {
      double d = std::hypot(x + 0.5, y + 0.5);
      Rgb colour;
      if (d > radius + 4) continue;
      if (d > radius + 3)
        colour = pal::Ink;
      else if (d > radius)  // the bezel, lit on its upper left
        colour = x + y < 0 ? pal::MetalLight : pal::MetalDark;
      else if (d > radius - 1)
        colour = x + y < 0 ? pal::Ink : pal::MetalGlint;  // the glass sits below the bezel
      else {
        int ring = static_cast<int>(d) % 12;
        bool axis = x == 0 || y == 0;
        colour = ring == 0 || (axis && (x + y) % 2) ? pal::NavySteel : pal::Void;
        if (ring == 0 && static_cast<int>(d) == 36) colour = pal::CyanDeep;
      }
      Plot(panel, centreX + x, centreY + y, colour);
    }
  // The sweep: a fading wedge behind its leading edge.
  for (int step = 0; step < 28; ++step) {
    double angle = -0.9 - step * 0.03;
    Rgb colour = step == 0 ? pal::Cyan : step < 8 ? pal::CyanDeep : pal::NavySteel;
    for (int r = 4; r < radius - 1; ++r) {
      int x = Round(r * std::cos(angle)), y = Round(r * std::sin(angle));
      if (step < 8 || (x + y) % 2) Plot(panel, centreX + x, centreY + y, colour);
    }
  }
  constexpr int Contacts[][2] = {{17, -22}, {-24, -9}, {9, 27}};
  for (auto [x, y] : Contacts) {
    FillRect(panel, centreX + x - 1, centreY + y - 1, 3, 3, pal::Red);
    Plot(panel, centreX + x, centreY + y, pal::Rose);
  }
  Stamp(panel, ship, centreX - ship.width / 2, centreY - ship.height / 2);
  for (int i = 0; i < 8; ++i) {
    double angle = i * std::atan(1.0) + std::atan(1.0) / 2;
    int x = centreX + Round((radius + 2) * std::cos(angle)) - 1;
    int y = centreY + Round((radius + 2) * std::sin(angle)) - 1;
    Rivet(panel, x, y, RivetHead);
  }
}

// Louvred vents in a dark slot.
void Vent(Image& panel, int left, int top, int width, int slots) {
  for (int i = 0; i < slots; ++i) Recess(panel, left, top + 5 * i, width, 4, pal::Ink);
}

// A small round indicator lamp.
void Indicator(Image& panel, int x, int y, Rgb lit, Rgb glow) {
  FillRect(panel, x, y, 5, 5, pal::Ink);
  FillRect(panel, x + 1, y + 1, 3, 3, glow);
  Plot(panel, x + 1, y + 1, pal::White);
  Plot(panel, x + 2, y + 1, lit);
  Plot(panel, x + 1, y + 2, lit);
}

// The label on a raised tag, cut into it, and the recessed field for the number.
void ReadoutSlot(Image& panel, const SmallFont& font, const Readout& readout) {
  int fieldLeft = DigitsLeft - 6, fieldWidth = DigitsWidth + 12;
  int tagTop = readout.top - 21, tagWidth = TextWidth(readout.label) + 16;
  FillRect(panel, fieldLeft, tagTop, tagWidth, 14, pal::Ink);
  FillRect(panel, fieldLeft, tagTop, tagWidth - 1, 13, pal::MetalGlint);
  FillRect(panel, fieldLeft + 1, tagTop + 1, tagWidth - 2, 12, pal::MetalShade);
  FillRect(panel, fieldLeft + 1, tagTop + 1, tagWidth - 3, 11, pal::MetalLight);
  Indicator(panel, fieldLeft + 3, tagTop + 4, pal::Yellow, pal::Amber);
  EngraveText(panel, fieldLeft + 11, tagTop + 3, readout.label, font, pal::Ink, pal::MetalGlint);
  Recess(panel, fieldLeft, readout.top - 5, fieldWidth, DigitRows + 10, pal::Void);
  FillRect(panel, fieldLeft + 1, readout.top - 4, fieldWidth - 2, 1, pal::Ink);
}

// A long slot running out to the screen's edge, the icons standing in it.
void LifeTray(Image& panel) {
  int left = IconsLeft - 6, top = IconsTop - 4;
  Recess(panel, left, top, PanelWidth, LifeIconSize + 8, pal::Void);
  FillRect(panel, left + 1, top + 1, PanelWidth, 1, pal::Ink);
  FillRect(panel, left + 1, IconsTop + LifeIconSize + 2, PanelWidth, 1, pal::Navy);
}

}  // namespace

Image PanelFrame(const SmallFont& font, const Image& lifeIcon) {
  Image panel = MakeImage(PanelWidth, ScreenHeight, pal::Ink);
  // Plates from top to bottom: logo, scope, readouts, lives, foot.
  RaisedPlate(panel, Rail, 0, PanelWidth - Rail, 68);
  RaisedPlate(panel, Rail, 68, PanelWidth - Rail, 168);
  RaisedPlate(panel, Rail, 236, PanelWidth - Rail, 182);
  RaisedPlate(panel, Rail, 418, PanelWidth - Rail, 46);
  RaisedPlate(panel, Rail, 464, PanelWidth - Rail, 16);
  HazardStripes(panel, Rail + 10, 468, PanelWidth - Rail - 20, 7, 4);
  EdgeRail(panel);
  LogoWindow(panel, 12, 48);
  int middle = (Rail + Right) / 2 + 2;
  RadarScope(panel, lifeIcon, middle, 150, 54);
  for (int side : {-1, 1}) {
    int x = middle + side * 72 - 6;
    Vent(panel, x, 96, 12, 6);
    Indicator(panel, x + 3, 136, pal::Lime, pal::MossDark);
    Indicator(panel, x + 3, 146, side < 0 ? pal::Yellow : pal::Rose,
              side < 0 ? pal::Amber : pal::Red);
    Vent(panel, x, 160, 12, 6);
  }
  for (const Readout& readout : Readouts) ReadoutSlot(panel, font, readout);
  LifeTray(panel);
  return panel;
}

}  // namespace scenes
