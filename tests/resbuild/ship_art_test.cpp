// The geometry the play relies on for the ship's pictures: boxes around the draw point,
// the core under its lamp, guns where the shots leave, shots that point the way they fly,
// explosions and sparks that fade, and wipe tiles that cover step by step and tile cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "built_art.h"

namespace {

// Runs of ids with the box each has around its draw point.
struct SpriteRun {
  int first, count;
  Box box;
};

constexpr SpriteRun ShipRuns[] = {
    {386, 1, {0, 0, 156, 64}},       // GAME OVER
    {397, 8, {0, 0, 32, 32}},        // small explosion
    {405, 8, {0, 0, 64, 64}},        // medium explosion
    {413, 8, {0, 0, 128, 128}},      // large explosion
    {421, 32, {0, 0, 32, 32}},       // wipe tiles
    {469, 1, {0, 0, 64, 64}},        // core lamp
    {470, 1, {-32, 0, 32, 64}},      // pod A, horizontal
    {471, 1, {64, 0, 32, 64}},       // pod B, horizontal
    {472, 1, {-32, 0, 32, 64}},      // their hit flashes
    {473, 1, {64, 0, 32, 64}},       //
    {474, 2, {-32, -32, 128, 128}},  // pods turning
    {476, 1, {0, -32, 64, 32}},      // pod A, vertical
    {477, 1, {0, 64, 64, 32}},       // pod B, vertical
    {478, 1, {0, -32, 64, 32}},      // their hit flashes
    {479, 1, {0, 64, 64, 32}},       //
    {480, 3, {0, 0, 64, 64}},        // ship banking right, level, banking left
    {483, 8, {0, 0, 32, 32}},        // shots
    {491, 9, {0, 0, 32, 32}},        // barrier spark
};

constexpr int GameOver = 386, ShipLevel = 481, CoreLamp = 469;
constexpr int CoreLeft = 30, CoreTop = 30, CoreSize = 4;
constexpr int PodAAbove = 476, PodBBelow = 477, PodALeft = 470, PodBRight = 471;
constexpr int FirstShot = 483, FirstSpark = 491, SparkFrames = 9;
constexpr int FirstWipe = 421, WipeCovered = 437, LastWipe = 452;
constexpr int ExplosionFrames = 8;
constexpr Rgb WhiteHot{248, 248, 248};  // the palette's brightest colour

class ShipArt : public BuiltArt {};

bool Opaque(const Image& image, int x, int y) { return PixelAt(image, x, y) != KeyColour; }

int OpaqueCount(const Image& image) {
  return static_cast<int>(std::count_if(image.pixels.begin(), image.pixels.end(),
                                        [](Rgb c) { return c != KeyColour; }));
}

// Twice the middle of the opaque pixels along a line of the image, so that a run over
// pixels 14-17 gives 32: its middle is the edge between pixels 15 and 16.
int DoubleMiddleOfRun(const Image& image, int fromX, int fromY, int stepX, int stepY, int length) {
  int first = -1, last = -1;
  for (int i = 0; i < length; ++i)
    if (Opaque(image, fromX + i * stepX, fromY + i * stepY)) {
      if (first < 0) first = i;
      last = i;
    }
  return first < 0 ? -1 : first + last + 1;
}

struct Bounds {
  int left, top, right, bottom;
};

Bounds OpaqueBounds(const Image& image) {
  Bounds bounds{image.width, image.height, -1, -1};
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (Opaque(image, x, y))
        bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x),
                  std::max(bounds.bottom, y)};
  return bounds;
}

int Span(const Image& image) {
  Bounds bounds = OpaqueBounds(image);
  return std::max(bounds.right - bounds.left, bounds.bottom - bounds.top) + 1;
}

}  // namespace

TEST_F(ShipArt, EverySpriteHasPiecesAndItsBox) {
  for (const SpriteRun& run : ShipRuns)
    for (int id = run.first; id < run.first + run.count; ++id) {
      SCOPED_TRACE(id);
      const SpriteRecord& sprite = index.sprites[id];
      EXPECT_FALSE(ChainOf(index, id).empty());
      EXPECT_EQ(sprite.Left, run.box.left);
      EXPECT_EQ(sprite.Top, run.box.top);
      EXPECT_EQ(sprite.Width, run.box.width);
      EXPECT_EQ(sprite.Height, run.box.height);
    }
}

TEST_F(ShipArt, CoreIsMarkedInEveryBankAndLitByTheLamp) {
  Image level = Drawn(ShipLevel), lamp = Drawn(CoreLamp);
  for (int id : {ShipLevel - 1, ShipLevel + 1}) {
    Image banked = Drawn(id);
    for (int y = CoreTop; y < CoreTop + CoreSize; ++y)
      for (int x = CoreLeft; x < CoreLeft + CoreSize; ++x)
        EXPECT_EQ(PixelAt(banked, x, y), PixelAt(level, x, y)) << id << " at " << x << "," << y;
  }
  for (int y = 0; y < lamp.height; ++y)
    for (int x = 0; x < lamp.width; ++x) {
      bool inCore = x >= CoreLeft && x < CoreLeft + CoreSize && y >= CoreTop &&
                    y < CoreTop + CoreSize;
      bool nearCore = x >= CoreLeft - 1 && x <= CoreLeft + CoreSize && y >= CoreTop - 1 &&
                      y <= CoreTop + CoreSize;
      if (inCore) {
        EXPECT_TRUE(Opaque(level, x, y) && Opaque(lamp, x, y)) << x << "," << y;
      } else if (!nearCore) {
        EXPECT_FALSE(Opaque(lamp, x, y)) << x << "," << y;
      }
    }
}

// Shots leave 16 and 48 pixels along the ship's side, so the muzzles at the pods' outer
// edges must be centred there.
TEST_F(ShipArt, PodGunsPointOutFromWhereTheShotsLeave) {
  Image above = Drawn(PodAAbove), below = Drawn(PodBBelow);
  Image left = Drawn(PodALeft), right = Drawn(PodBRight);
  for (int muzzle : {16, 48}) {
    SCOPED_TRACE(muzzle);
    int from = muzzle - 16;
    EXPECT_EQ(DoubleMiddleOfRun(above, from, 1, 1, 0, 32), 32);
    EXPECT_EQ(DoubleMiddleOfRun(below, from, below.height - 2, 1, 0, 32), 32);
    EXPECT_EQ(DoubleMiddleOfRun(left, 1, from, 0, 1, 32), 32);
    EXPECT_EQ(DoubleMiddleOfRun(right, right.width - 2, from, 0, 1, 32), 32);
  }
}

TEST_F(ShipArt, ShotsAreCentredAndHotAtTheirLeadingEnd) {
  enum Way { Up, Down, Left, Right };
  constexpr Way Ways[] = {Up, Up, Down, Down, Left, Right, Left, Right};
  for (int shot = 0; shot < 8; ++shot) {
    SCOPED_TRACE(shot + FirstShot);
    Image image = Drawn(FirstShot + shot);
    bool vertical = Ways[shot] == Up || Ways[shot] == Down;
    long hottest = 0, count = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if (PixelAt(image, x, y) == WhiteHot) hottest += vertical ? y : x, ++count;
    ASSERT_GT(count, 0);
    bool leadsLow = Ways[shot] == Up || Ways[shot] == Left;
    EXPECT_EQ(hottest / count < 16, leadsLow);
    Bounds bounds = OpaqueBounds(image);
    int across = vertical ? bounds.left + bounds.right : bounds.top + bounds.bottom;
    EXPECT_NEAR(across + 1, 32, 1);
  }
}

TEST_F(ShipArt, BurstsFadeAndExplosionsFillTheirCells) {
  auto fades = [&](int first, int frames) {
    int peak = 0;
    for (int id = first; id < first + frames; ++id) peak = std::max(peak, OpaqueCount(Drawn(id)));
    return OpaqueCount(Drawn(first + frames - 1)) * 4 < peak;
  };
  EXPECT_TRUE(fades(FirstSpark, SparkFrames));
  for (int first : {397, 405, 413}) {
    SCOPED_TRACE(first);
    EXPECT_TRUE(fades(first, ExplosionFrames));
    int widest = 0, cell = index.sprites[first].Width;
    for (int id = first; id < first + ExplosionFrames; ++id) widest = std::max(widest, Span(Drawn(id)));
    EXPECT_GT(widest, cell * 2 / 3);
  }
}

TEST_F(ShipArt, WipeTilesCoverStepByStepAndJoinTheirNeighbours) {
  std::vector<int> covered;
  for (int id = FirstWipe; id <= LastWipe; ++id) {
    Image tile = Drawn(id);
    covered.push_back(OpaqueCount(tile));
    for (int i = 0; i < 32; ++i) {
      EXPECT_EQ(Opaque(tile, 0, i), Opaque(tile, 31, i)) << id << " row " << i;
      EXPECT_EQ(Opaque(tile, i, 0), Opaque(tile, i, 31)) << id << " column " << i;
    }
  }
  const int closed = WipeCovered - FirstWipe, whole = 32 * 32;
  EXPECT_EQ(covered[closed], whole);
  EXPECT_GT(covered.front(), 0);
  EXPECT_LT(covered.front(), whole / 20);
  EXPECT_LT(covered.back(), whole / 20);
  EXPECT_GT(covered.back(), 0);
  for (int i = 1; i <= closed; ++i) EXPECT_GT(covered[i], covered[i - 1]) << FirstWipe + i;
  for (int i = closed + 1; i < static_cast<int>(covered.size()); ++i)
    EXPECT_LT(covered[i], covered[i - 1]) << FirstWipe + i;
}

// Whatever the background, the sign's edge against it is dark.
TEST_F(ShipArt, GameOverSignMeetsTheBackgroundOnlyInDarkColours) {
  Image sign = Drawn(GameOver);
  for (int y = 0; y < sign.height; ++y)
    for (int x = 0; x < sign.width; ++x) {
      Rgb c = PixelAt(sign, x, y);
      bool meetsKey = false;
      for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
        int nx = x + dx, ny = y + dy;
        bool inside = nx >= 0 && ny >= 0 && nx < sign.width && ny < sign.height;
        meetsKey = meetsKey || (inside && !Opaque(sign, nx, ny));
      }
      if (Opaque(sign, x, y) && meetsKey) {
        EXPECT_LT(c.r + c.g + c.b, 160) << x << "," << y;
      }
    }
}

TEST(ShipSourceImages, UseOnlyExactColoursAndTheKey) {
  for (const char* name :
       {"player_ship", "player_pods_vertical", "player_pods_horizontal", "player_pods_turning",
        "player_shots", "player_barrier_spark", "explosion_small", "explosion_medium",
        "explosion_large", "screen_wipe", "game_over"}) {
    SCOPED_TRACE(name);
    std::string file = std::string(RESBUILD_SOURCE_DIR) + "/" + name + ".png";
    Image image = DecodePng(ReadFileBytes(file), file);
    for (Rgb c : image.pixels) {
      if (c == KeyColour) continue;
      ASSERT_FALSE(IsTransparent(c));
      ASSERT_TRUE(c.r % 8 == 0 && c.g % 4 == 0 && c.b % 8 == 0)
          << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
  }
}
