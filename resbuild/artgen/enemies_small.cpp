// The 32x32 enemies: the spinning drone, the homing dart in sixteen headings and the timed
// pod. Each image holds the normal frames, then the same frames flashed for a hit.
#include <cmath>
#include <numbers>
#include <string>

#include "enemies_paint.h"

namespace enemy_art {

namespace {

constexpr int Cell = 32;
constexpr Point Centre{16, 16};
constexpr double Pi = std::numbers::pi;

// --- the drone: four swept blades spinning round an armoured hub with a pulsing eye ---

// A blade curving back from the hub to its tip, as local points along both edges.
std::vector<Point> CurvedBlade() {
  std::vector<Point> leading, trailing;
  for (double t = 0; t <= 1.0; t += 0.125) {
    double radius = 6 + 9.3 * t, sweep = -0.45 * t * t, halfWidth = 3.4 - 1.6 * t;
    for (auto [edge, points] : {std::pair{1.0, &leading}, std::pair{-1.0, &trailing}}) {
      double angle = sweep + edge * halfWidth / radius;
      points->push_back({radius * std::sin(angle), radius * std::cos(angle)});
    }
  }
  leading.insert(leading.end(), trailing.rbegin(), trailing.rend());
  return leading;
}

// Each blade turns a sixteenth of a turn a frame, so four frames make one seamless quarter
// turn of the four-bladed rotor; it turns the way the dart's headings do.
void DroneBlades(Image& image, int frame) {
  static const std::vector<Point> Blade = CurvedBlade();
  for (int blade = 0; blade < 4; ++blade) {
    double angle = (blade + frame / 4.0) * Pi / 2;
    Paint(image, TurnedPolygon(Cell, Cell, Centre, angle, Blade), tone::RedPaint);
  }
}

// The eye brightens over the first three frames and dims on the fourth.
void DroneHub(Image& image, int frame) {
  PaintInked(image, EllipseMask(Cell, Cell, Centre, 8.5, 8.5), tone::Steel);
  PaintInked(image, EllipseMask(Cell, Cell, Centre, 5.5, 5.5), tone::DarkSteel);
  const std::vector<Rgb> Eyes[] = {{pal::Maroon, pal::Red, pal::Orange},
                                   {pal::Red, pal::Orange, pal::Amber},
                                   {pal::Orange, pal::Amber, pal::Yellow, pal::White},
                                   {pal::Red, pal::Orange, pal::Amber, pal::Yellow}};
  Glow(image, Centre, Centre, 4.5, 4.5, Eyes[frame]);
  Plot(image, 14, 14, pal::White);
  // One rim light lit at a time, chasing round with the spin.
  const Point Lights[] = {{16, 9}, {9, 16}, {16, 23}, {23, 16}};
  for (int i = 0; i < 4; ++i) {
    Tone lamp = i == frame ? tone::LitLamp : tone::RedPaint;
    Lamp(image, static_cast<int>(Lights[i].x), static_cast<int>(Lights[i].y), lamp);
  }
}

Image DroneFrame(int frame) {
  Image image = MakeImage(Cell, Cell, KeyColour);
  DroneBlades(image, frame);
  DroneHub(image, frame);
  Outline(image);
  return image;
}

// --- the dart: a swept fighter drawn nose-first along its heading ---

Image DartFrame(int heading) {
  const std::vector<Point> Wings{{0, 7},   {11, -7},   {11, -11}, {5, -9},
                                 {-5, -9}, {-11, -11}, {-11, -7}};
  const std::vector<Point> WingRoots{{0, 2}, {6, -6}, {5, -8}, {-5, -8}, {-6, -6}};
  const std::vector<Point> Body{{0, 14},   {2.5, 8}, {3, -4},  {2, -11},
                                {-2, -11}, {-3, -4}, {-2.5, 8}};
  const std::vector<Point> Canopy{{0, 10}, {1.6, 7}, {1.6, 3}, {0, 2}, {-1.6, 3}, {-1.6, 7}};
  double angle = 2 * Pi * heading / 16;
  auto turned = [&](const std::vector<Point>& shape) {
    return TurnedPolygon(Cell, Cell, Centre, angle, shape);
  };
  Image image = MakeImage(Cell, Cell, KeyColour);
  Paint(image, turned(Wings), tone::RedPaint);
  Paint(image, turned(WingRoots), tone::DarkRed);
  PaintInked(image, turned(Body), tone::Steel);
  Paint(image, turned(Canopy), tone::Canopy);
  Glow(image, Turned(Centre, angle, {0, -11}), Turned(Centre, angle, {0, -14}), 2.2, 1.2,
       {pal::Orange, pal::Yellow, pal::White});
  Outline(image);
  return image;
}

// --- the pod: an armoured octagon with four muzzles and a shuttered core ---

// Steel bars `width` across and `length` long, in from `inset` off each of the four sides.
void FourSides(Image& image, int width, int inset, int length) {
  int across = (Cell - width) / 2;
  for (int start : {inset, Cell - inset - length}) {
    PaintInked(image, RectMask(Cell, Cell, across, start, width, length), tone::Steel);
    PaintInked(image, RectMask(Cell, Cell, start, across, length, width), tone::Steel);
  }
}

// Barrels through all four sides, dark in the bore at each tip.
void PodBarrels(Image& image) {
  FourSides(image, 6, 0, Cell / 2);
  FillRect(image, 15, 1, 2, 1, pal::Ink);
  FillRect(image, 15, Cell - 2, 2, 1, pal::Ink);
  FillRect(image, 1, 15, 1, 2, pal::Ink);
  FillRect(image, Cell - 2, 15, 1, 2, pal::Ink);
}

void PodBody(Image& image) {
  const std::vector<Point> Octagon{{11, 4},  {21, 4},  {28, 11}, {28, 21},
                                   {21, 28}, {11, 28}, {4, 21},  {4, 11}};
  PaintInked(image, PolygonMask(Cell, Cell, Octagon), tone::RedPaint);
  PaintInked(image, EllipseMask(Cell, Cell, Centre, 7.5, 7.5), tone::OrangePaint);
}

// Warning lamps in the hull's corners, lit in diagonal pairs on alternate frames.
void PodLamps(Image& image, int frame) {
  for (int corner = 0; corner < 4; ++corner) {
    bool lit = (corner + frame) % 2 == 0;
    Lamp(image, corner % 2 ? 22 : 9, corner / 2 ? 22 : 9, lit ? tone::LitLamp : tone::DarkRed);
  }
}

// Lids part from the middle and meet again over four frames; the core glows brighter the
// wider they stand.
void PodShutter(Image& image, int frame) {
  const int Gap[] = {0, 1, 3, 1};
  const std::vector<Rgb> Cores[] = {{pal::Maroon, pal::Red},
                                    {pal::Red, pal::Orange, pal::Amber},
                                    {pal::Orange, pal::Amber, pal::Yellow, pal::White},
                                    {pal::Red, pal::Orange, pal::Amber, pal::Yellow}};
  Mask socket = EllipseMask(Cell, Cell, Centre, 5.5, 5.5);
  PaintFlat(image, socket, pal::Ink);
  Glow(image, Centre, Centre, 4.5, 4.5, Cores[frame]);
  int gap = Gap[frame];
  Mask lids = MaskOf(Cell, Cell, [&](Point p) {
    return socket.Has(static_cast<int>(p.x), static_cast<int>(p.y)) && std::abs(p.y - 16) > gap;
  });
  Paint(image, lids, tone::Steel);
}

Image PodFrame(int frame) {
  Image image = MakeImage(Cell, Cell, KeyColour);
  PodBarrels(image);
  PodBody(image);
  FourSides(image, 8, 3, 3);  // the barrels' collars over the hull's edge
  PodLamps(image, frame);
  PodShutter(image, frame);
  Outline(image);
  return image;
}

// One row of `count` frames, then the same frames flashed for a hit.
void SaveWithFlashes(Image (*frame)(int), int count, const std::filesystem::path& folder,
                     const std::string& name) {
  std::vector<Image> frames;
  for (int i = 0; i < count; ++i) frames.push_back(frame(i));
  for (int i = 0; i < count; ++i) frames.push_back(Flashed(frames[i], FlashBelow));
  SaveFrames(frames, folder, name, count);
}

}  // namespace

void DrawDrone(const std::filesystem::path& folder) {
  SaveWithFlashes(DroneFrame, 4, folder, "enemy_drone");
}

void DrawDart(const std::filesystem::path& folder) {
  SaveWithFlashes(DartFrame, 16, folder, "enemy_dart");
}

void DrawPod(const std::filesystem::path& folder) {
  SaveWithFlashes(PodFrame, 4, folder, "enemy_pod");
}

}  // namespace enemy_art
