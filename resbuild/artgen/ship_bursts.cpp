// The barrier spark and the explosions. Their shapes are scattered by a seeded generator,
// so every build draws the same irregular bursts.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "shading.h"
#include "ship_art.h"

namespace {

using std::numbers::pi;

// The engine's raw output is the same on every platform; library distributions are not.
using Random = std::minstd_rand;

double Unit(Random& random) { return static_cast<double>(random() % 4096) / 4096; }

// --- barrier spark ---

constexpr int SparkCell = 32, SparkFrames = 9;

struct Spark {
  double angle, speed;
  int lastFrame;
};

std::vector<Spark> ScatteredSparks() {
  constexpr int Count = 12;
  Random random(491);
  std::vector<Spark> sparks;
  for (int i = 0; i < Count; ++i) {
    double angle = (i + 0.7 * Unit(random)) * 2 * pi / Count;
    sparks.push_back({angle, 0.7 + 0.4 * Unit(random), 4 + static_cast<int>(random() % 5)});
  }
  return sparks;
}

// The flare where the bullet struck: a white disc ringed in cyan with a cross of rays.
void SparkFlare(Image& cell, int radius) {
  constexpr int Middle = SparkCell / 2;
  FillCircle(cell, Middle, Middle, radius + 1, pal::Cyan);
  FillCircle(cell, Middle, Middle, radius, pal::White);
  int ray = 2 * radius + 1;
  DrawLine(cell, Middle - ray, Middle, Middle + ray, Middle, pal::PaleSteel);
  DrawLine(cell, Middle, Middle - ray, Middle, Middle + ray, pal::PaleSteel);
  DrawLine(cell, Middle - radius, Middle, Middle + radius, Middle, pal::White);
  DrawLine(cell, Middle, Middle - radius, Middle, Middle + radius, pal::White);
}

// Flaring, then the sparks fly out, cooling from white to deep cyan and dying one by one.
Image SparkFrame(int frame, const std::vector<Spark>& sparks) {
  constexpr int FlareRadius[SparkFrames] = {1, 3, 2, 1, 0, -1, -1, -1, -1};
  constexpr double Travel[SparkFrames] = {2, 4.5, 7, 9, 10.5, 11.5, 12.5, 13, 13.5};
  constexpr int Streak[SparkFrames] = {1, 3, 4, 4, 3, 3, 2, 1, 0};
  constexpr Rgb Heat[SparkFrames + 1] = {pal::White, pal::White,    pal::White,
                                         pal::PaleSteel, pal::Cyan,  pal::Cyan,
                                         pal::Cyan,  pal::CyanDeep, pal::CyanDeep, pal::CyanDeep};
  constexpr double Middle = SparkCell / 2;
  Image cell = MakeImage(SparkCell, SparkCell, KeyColour);
  if (FlareRadius[frame] >= 0) SparkFlare(cell, FlareRadius[frame]);
  for (const Spark& spark : sparks) {
    if (frame > spark.lastFrame) continue;
    double dx = std::cos(spark.angle), dy = std::sin(spark.angle);
    double head = Travel[frame] * spark.speed, tail = std::max(0.0, head - Streak[frame]);
    DrawLine(cell, Round(Middle + dx * tail), Round(Middle + dy * tail), Round(Middle + dx * head),
             Round(Middle + dy * head), Heat[frame + 1]);
    Plot(cell, Round(Middle + dx * head), Round(Middle + dy * head), Heat[frame]);
  }
  return cell;
}

// --- explosions ---

constexpr int BlastFrames = 8;

// How a blast looks at each frame after the first flash: a ball at its heart, puffs that
// drift out and shrink, fire cooling to smoke, holes breaking it up and the smoke thinning.
struct BlastStage {
  double ball, spread, puffSize;  // in parts of the blast's reach
  Tone fire;
  double hotCore;
  int holes;      // per puff
  int keepRatio;  // per cent of the pixels left standing
};

constexpr Tone Fireball{pal::YellowWhite, pal::Yellow, pal::Amber};
constexpr Tone Flame{pal::Amber, pal::Orange, pal::Red};
constexpr Tone Ember{pal::Orange, pal::Brick, pal::Maroon};
constexpr Tone SmokeFire{pal::SmokeLight, pal::Smoke, pal::MetalDark};
constexpr Tone Haze{pal::SmokeLight, pal::Smoke, pal::Smoke};
constexpr Tone WhiteHot{pal::White, pal::YellowWhite, pal::Yellow};

// Ball, spread and puff size; fire; hot core; holes per puff and per cent of pixels kept.
constexpr BlastStage Stages[BlastFrames] = {
    {},  // the flash is drawn on its own
    {0.55, 0.3, 0.7, Fireball, 0.3, 0, 100},
    {0.45, 0.6, 0.95, Flame, 0.28, 0, 100},
    {0.38, 0.8, 1.0, Flame, 0.14, 0, 100},
    {0.3, 0.95, 0.92, Ember, 0, 1, 100},
    {0.22, 1.05, 0.85, SmokeFire, 0, 1, 100},
    {0, 1.12, 0.75, SmokeFire, 0, 2, 55},
    {0, 1.18, 0.62, Haze, 0, 2, 14},
};

// What sets the three sizes apart besides their cells: more and lumpier puffs, flying
// debris and later blasts around the first.
struct BlastSize {
  int cell, puffs, lumps, debris, echoes;
};

constexpr BlastSize Sizes[] = {{32, 5, 0, 0, 0}, {64, 8, 2, 6, 1}, {128, 11, 3, 12, 3}};

struct Puff {
  double angle, distance, radius;  // distance and radius in parts of the reach
};

struct Blast {
  double x, y, reach;
  int firstFrame;  // blasts that go off later run through the same stages faster
  std::vector<Puff> puffs;
};

// A ball lit from the top-left: the shade tone is left showing along its lower right.
void ShadedBall(Image& image, double x, double y, double radius, const Tone& fire) {
  int r = Round(radius), inset = std::max(1, r / 4);
  FillCircle(image, Round(x), Round(y), r, fire.shade);
  FillCircle(image, Round(x) - inset, Round(y) - inset, r - inset, fire.base);
  FillCircle(image, Round(x) - 2 * inset, Round(y) - 2 * inset, r / 3, fire.light);
}

// A puff with smaller lumps bulging from its rim, the way a billow boils; `turn` sets
// where the lumps sit, so that neighbouring puffs do not repeat each other.
void Billow(Image& image, double x, double y, double radius, int lumps, double turn,
            const Tone& fire) {
  for (int lump = 0; lump < lumps; ++lump) {
    double angle = (lump + 0.5) * 2 * pi / lumps + turn;
    ShadedBall(image, x + std::cos(angle) * radius * 0.75, y + std::sin(angle) * radius * 0.75,
               radius * 0.5, fire);
  }
  ShadedBall(image, x, y, radius, fire);
}

Blast ScatteredBlast(double x, double y, double reach, int puffs, int firstFrame,
                     Random& random) {
  Blast blast{x, y, reach, firstFrame, {}};
  for (int i = 0; i < puffs; ++i)
    blast.puffs.push_back({(i + 0.6 * Unit(random)) * 2 * pi / puffs, 0.3 + 0.4 * Unit(random),
                           0.2 + 0.16 * Unit(random)});
  // The lower right is drawn first so that puffs nearer the light overlap it.
  auto lowerRight = [](const Puff& puff) {
    return puff.distance * (std::cos(puff.angle) + std::sin(puff.angle));
  };
  std::sort(blast.puffs.begin(), blast.puffs.end(),
            [&](const Puff& a, const Puff& b) { return lowerRight(a) > lowerRight(b); });
  return blast;
}

// The first frame: a white disc in a yellow rim, throwing long and short rays.
void BlastFlash(Image& cell, const Blast& blast) {
  int x = Round(blast.x), y = Round(blast.y);
  FillCircle(cell, x, y, Round(blast.reach * 0.32), pal::YellowWhite);
  FillCircle(cell, x, y, Round(blast.reach * 0.24), pal::White);
  for (int ray = 0; ray < 8; ++ray) {
    double angle = ray * pi / 4 + 0.2, length = blast.reach * (ray % 2 ? 0.5 : 0.85);
    int endX = Round(blast.x + std::cos(angle) * length),
        endY = Round(blast.y + std::sin(angle) * length);
    DrawLine(cell, x, y, endX, endY, pal::YellowWhite);
    DrawLine(cell, x, y, (x + endX) / 2, (y + endY) / 2, pal::White);
  }
}

// Round holes punched through the smoke where it breaks apart.
void PunchHoles(Image& layer, const Blast& blast, int count, Random& random) {
  for (int hole = 0; hole < count; ++hole) {
    double angle = Unit(random) * 2 * pi, distance = Unit(random) * blast.reach;
    FillCircle(layer, Round(blast.x + std::cos(angle) * distance),
               Round(blast.y + std::sin(angle) * distance),
               Round(blast.reach * (0.08 + 0.08 * Unit(random))), KeyColour);
  }
}

void Thin(Image& layer, int keepRatio, Random& random) {
  for (Rgb& pixel : layer.pixels)
    if (static_cast<int>(random() % 100) >= keepRatio) pixel = KeyColour;
}

void BlastStageFrame(Image& cell, const Blast& blast, const BlastStage& stage, int lumps,
                     Random& random) {
  Image layer = MakeImage(cell.width, cell.height, KeyColour);
  for (const Puff& puff : blast.puffs) {
    double distance = puff.distance * stage.spread * blast.reach;
    Billow(layer, blast.x + std::cos(puff.angle) * distance,
           blast.y + std::sin(puff.angle) * distance,
           puff.radius * stage.puffSize * blast.reach, lumps, puff.angle, stage.fire);
  }
  if (stage.ball > 0)
    Billow(layer, blast.x, blast.y, stage.ball * blast.reach, lumps, 0, stage.fire);
  if (stage.hotCore > 0)
    ShadedBall(layer, blast.x, blast.y, stage.hotCore * blast.reach, WhiteHot);
  PunchHoles(layer, blast, stage.holes * static_cast<int>(blast.puffs.size()), random);
  Thin(layer, stage.keepRatio, random);
  Overlay(cell, layer);
}

// A later blast squeezes the stages into the frames it has left.
int StageOf(const Blast& blast, int frame) {
  if (frame < blast.firstFrame) return -1;
  return (frame - blast.firstFrame) * (BlastFrames - 1) / (BlastFrames - 1 - blast.firstFrame);
}

void DrawBlast(Image& cell, const Blast& blast, int frame, int lumps, Random& random) {
  int stage = StageOf(blast, frame);
  if (stage == 0)
    BlastFlash(cell, blast);
  else if (stage > 0)
    BlastStageFrame(cell, blast, Stages[stage], lumps, random);
}

struct Fragment {
  double angle, speed;
};

std::vector<Fragment> ThrownDebris(int count, Random& random) {
  std::vector<Fragment> debris;
  for (int piece = 0; piece < count; ++piece)
    debris.push_back({(piece + Unit(random)) * 2 * pi / count, 0.8 + 0.4 * Unit(random)});
  return debris;
}

// Burning fragments flying out straight, cooling as they go.
void DrawDebris(Image& cell, const Blast& blast, const std::vector<Fragment>& debris, int frame) {
  constexpr Rgb Heat[] = {pal::White, pal::YellowWhite, pal::Yellow, pal::Amber, pal::Orange,
                          pal::Red};
  if (frame == 0 || frame + 1 >= static_cast<int>(std::size(Heat))) return;
  for (const Fragment& fragment : debris) {
    double head = blast.reach * fragment.speed * (0.45 + 0.1 * frame);
    double tail = head - blast.reach * 0.12;
    double dx = std::cos(fragment.angle), dy = std::sin(fragment.angle);
    DrawLine(cell, Round(blast.x + dx * tail), Round(blast.y + dy * tail),
             Round(blast.x + dx * head), Round(blast.y + dy * head), Heat[frame + 1]);
    Plot(cell, Round(blast.x + dx * head), Round(blast.y + dy * head), Heat[frame]);
  }
}

std::vector<Blast> Blasts(const BlastSize& size, Random& random) {
  double middle = size.cell / 2.0, reach = size.cell * 0.4;
  std::vector<Blast> blasts{ScatteredBlast(middle, middle, reach, size.puffs, 0, random)};
  for (int echo = 0; echo < size.echoes; ++echo) {
    double angle = (echo + 0.5 * Unit(random)) * 2 * pi / size.echoes, out = reach * 0.55;
    blasts.push_back(ScatteredBlast(middle + std::cos(angle) * out,
                                    middle + std::sin(angle) * out, reach * 0.45,
                                    size.puffs / 2, 1 + echo % 2, random));
  }
  return blasts;
}

const BlastSize& SizeOf(int cellSize) {
  for (const BlastSize& size : Sizes)
    if (size.cell == cellSize) return size;
  throw std::invalid_argument("no explosion is drawn in a cell of " + std::to_string(cellSize));
}

}  // namespace

std::vector<Image> BarrierSparkFrames() {
  std::vector<Spark> sparks = ScatteredSparks();
  std::vector<Image> frames;
  for (int frame = 0; frame < SparkFrames; ++frame) frames.push_back(SparkFrame(frame, sparks));
  return frames;
}

std::vector<Image> ExplosionFrames(int cellSize) {
  const BlastSize& size = SizeOf(cellSize);
  Random random(cellSize);
  std::vector<Blast> blasts = Blasts(size, random);
  std::vector<Fragment> debris = ThrownDebris(size.debris, random);
  std::vector<Image> frames;
  for (int frame = 0; frame < BlastFrames; ++frame) {
    Image cell = MakeImage(size.cell, size.cell, KeyColour);
    for (const Blast& blast : blasts) DrawBlast(cell, blast, frame, size.lumps, random);
    DrawDebris(cell, blasts[0], debris, frame);
    frames.push_back(cell);
  }
  return frames;
}
