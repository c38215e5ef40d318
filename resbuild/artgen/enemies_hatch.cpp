// The hatch turret, a 96x96 ground emplacement: an armoured housing round a pit with a
// three-barrelled gun, two doors that slide apart into the housing, and its lamps.
#include "enemies_paint.h"

namespace enemy_art {

namespace {

constexpr int Cell = 96;
constexpr Point Centre{48, 48};
// The pit the doors close over, and the housing's frame round it.
constexpr int PitLeft = 22, PitSize = 52, FrameWidth = 6;
constexpr int DoorWidth = PitSize / 2;
constexpr int OpeningFrames = 17;
// Where the blinking lamp sits on the housing, and each door's warning lamp.
constexpr double LampRadius = 3.4;
constexpr Point BlinkLamp{15, 15};
constexpr Point WarningLamps[] = {{PitLeft + DoorWidth - 9, 30}, {PitLeft + DoorWidth + 9, 30}};

Image Blank() { return MakeImage(Cell, Cell, KeyColour); }

Mask Square(int left, int size) { return RectMask(Cell, Cell, left, left, size, size); }

// A dark lens in a ring of ink, lit by an overlay.
void LampSocket(Image& image, Point at) {
  Glow(image, at, at, LampRadius, LampRadius, {pal::Ink, pal::Maroon, pal::Red});
}

void Housing(Image& image) {
  const std::vector<Point> Octagon{{14, 3},  {82, 3},  {93, 14}, {93, 82},
                                   {82, 93}, {14, 93}, {3, 82},  {3, 14}};
  const std::vector<Point> Trim{{16, 9},  {80, 9},  {87, 16}, {87, 80},
                                {80, 87}, {16, 87}, {9, 80},  {9, 16}};
  Mask housing = PolygonMask(Cell, Cell, Octagon);
  PaintSculpted(image, housing, tone::RedPaint, 3);
  for (size_t i = 0; i < Trim.size(); ++i)
    Groove(image, housing, Trim[i], Trim[(i + 1) % Trim.size()], pal::Orange);
  int frameLeft = PitLeft - FrameWidth, frameSize = PitSize + 2 * FrameWidth;
  PaintInked(image, Square(frameLeft, frameSize), tone::Steel);
  HazardStripes(image, frameLeft + 2, frameLeft + 2, frameSize - 4, FrameWidth - 3);
  HazardStripes(image, frameLeft + 2, PitLeft + PitSize + 1, frameSize - 4, FrameWidth - 3);
  for (int at : {11, 83})
    for (int along : {30, 47, 64}) {
      Rivet(image, along, at, RivetHead);
      Rivet(image, at, along, RivetHead);
    }
  for (int y = 38; y <= 56; y += 3) {
    FillRect(image, 6, y, 8, 1, pal::Ink);
    FillRect(image, 82, y, 8, 1, pal::Ink);
  }
  LampSocket(image, BlinkLamp);
}

// The pit's walls in shadow along the top and left, where the light cannot reach.
void Pit(Image& image) {
  PaintFlat(image, Square(PitLeft, PitSize), pal::MetalDark);
  FillRect(image, PitLeft, PitLeft, PitSize, 4, pal::Ink);
  FillRect(image, PitLeft, PitLeft, 4, PitSize, pal::Ink);
  for (int y = PitLeft + 8; y < PitLeft + PitSize; y += 8)
    FillRect(image, PitLeft + 4, y, PitSize - 4, 1, pal::MetalShade);
}

// Barrels left, right and down, on a round mount with the core glowing in its middle.
void Gun(Image& image) {
  PaintInked(image, RectMask(Cell, Cell, PitLeft + 1, 44, PitSize - 2, 8), tone::Steel);
  PaintInked(image, RectMask(Cell, Cell, 44, 48, 8, PitSize / 2 - 1), tone::Steel);
  for (int x : {PitLeft + 1, PitLeft + PitSize - 3}) FillRect(image, x, 46, 2, 4, pal::Ink);
  FillRect(image, 46, PitLeft + PitSize - 3, 4, 2, pal::Ink);
  PaintSculpted(image, EllipseMask(Cell, Cell, Centre, 14, 14), tone::DarkRed, 2);
  PaintInked(image, EllipseMask(Cell, Cell, Centre, 10, 10), tone::Steel);
  Glow(image, Centre, Centre, 7, 7,
       {pal::Ink, pal::Red, pal::Orange, pal::Amber, pal::Yellow, pal::YellowWhite, pal::White});
}

Image HousingWithGun() {
  Image image = Blank();
  Housing(image);
  Pit(image);
  Gun(image);
  Outline(image);
  return image;
}

// A lit lens the size of its socket.
Image LitLamp(Point at, const std::vector<Rgb>& ramp) {
  Image image = Blank();
  Glow(image, at, at, LampRadius, LampRadius, ramp);
  return image;
}

// One door, closed: ribbed steel, hazard paint down the edge that meets the other door,
// and an unlit warning lamp. side is -1 for the left door, 1 for the right.
Image ClosedDoor(int side) {
  int left = side < 0 ? PitLeft : PitLeft + DoorWidth;
  Image image = Blank();
  Mask door = RectMask(Cell, Cell, left, PitLeft, DoorWidth, PitSize);
  PaintInked(image, door, tone::Steel);
  for (int y = PitLeft + 9; y < PitLeft + PitSize - 4; y += 6)
    Groove(image, door, {left + 0.0, y + 0.0}, {left + DoorWidth + 0.0, y + 0.0}, pal::MetalLight);
  HazardStripes(image, side < 0 ? left + DoorWidth - 5 : left + 1, PitLeft + 1, 4, PitSize - 2);
  LampSocket(image, WarningLamps[side < 0 ? 0 : 1]);
  return image;
}

// Both doors slid `shift` pixels apart, hidden where they pass under the frame.
Image OpeningDoors(int shift) {
  Image image = Blank();
  for (int side : {-1, 1}) {
    Image door = ClosedDoor(side);
    for (int y = 0; y < Cell; ++y)
      for (int x = PitLeft; x < PitLeft + PitSize; ++x) {
        int from = x - side * shift;
        if (from >= 0 && from < Cell && PixelAt(door, from, y) != KeyColour)
          PixelAt(image, x, y) = PixelAt(door, from, y);
      }
  }
  return image;
}

}  // namespace

void DrawHatchTurret(const std::filesystem::path& folder) {
  const std::vector<Rgb> Warning{pal::Red, pal::Rose, pal::White};
  std::vector<Image> frames{ClosedDoor(-1),
                            ClosedDoor(1),
                            LitLamp(WarningLamps[0], Warning),
                            LitLamp(WarningLamps[1], Warning),
                            HousingWithGun(),
                            LitLamp(BlinkLamp, {pal::Red, pal::Amber, pal::YellowWhite})};
  // The last opening frame leaves a sliver of each door showing.
  for (int step = 0; step < OpeningFrames; ++step)
    frames.push_back(OpeningDoors(step * (DoorWidth - 2) / (OpeningFrames - 1)));
  SaveFrames(frames, folder, "enemy_hatch", 6);
}

}  // namespace enemy_art
