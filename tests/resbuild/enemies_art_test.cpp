// The enemy sprites as the game reads them from the packed sheet: the boxes it hits and
// centres with, the draw points overlays share, and the frames its animations step through.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "built_art.h"
#include "source_image.h"

namespace {

struct IdBox {
  int first, count;
  int left, top, width, height;  // relative to the draw point
};

// Every enemy id with art, and the box the game uses for it.
constexpr IdBox EnemyBoxes[] = {
    {500, 4, 0, 0, 32, 32},   {516, 4, 0, 0, 32, 32},    // drone, and hit
    {532, 1, 0, 0, 128, 64},  {706, 1, 0, 0, 128, 64},   // beam craft, and hit
    {534, 7, 0, 0, 64, 64},                              // armoured body and overlays
    {541, 16, 0, 0, 32, 32},  {557, 16, 0, 0, 32, 32},   // dart headings, and hit
    {573, 6, 0, 0, 96, 96},   {707, 17, 0, 0, 96, 96},   // hatch turret and its doors
    {580, 2, 4, 4, 8, 8},     {582, 1, 4, 4, 8, 24},     // hatch turret's shots
    {583, 4, 0, 0, 32, 32},   {587, 4, 0, 0, 32, 32},    // pod, and hit
    {591, 1, 0, -16, 32, 64}, {592, 1, -16, 0, 64, 32},  // pod's muzzle flashes
    {593, 2, 11, 11, 10, 10},                            // bullets
    {702, 4, 3, 0, 10, 16},                              // beam segments
};

class EnemyArt : public BuiltArt {};

int CountDrawn(const Image& image) {
  int count = 0;
  for (Rgb c : image.pixels) count += c != KeyColour;
  return count;
}

bool SameSilhouette(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height) return false;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    if ((a.pixels[i] == KeyColour) != (b.pixels[i] == KeyColour)) return false;
  return true;
}

}  // namespace

TEST_F(EnemyArt, EveryIdHasPiecesAndTheBoxTheGameUses) {
  for (const IdBox& range : EnemyBoxes)
    for (int id = range.first; id < range.first + range.count; ++id) {
      SCOPED_TRACE(id);
      const SpriteRecord& box = index.sprites[id];
      EXPECT_FALSE(ChainOf(index, id).empty());
      EXPECT_EQ(box.Left, range.left);
      EXPECT_EQ(box.Top, range.top);
      EXPECT_EQ(box.Width, range.width);
      EXPECT_EQ(box.Height, range.height);
    }
  EXPECT_TRUE(ChainOf(index, 579).empty());
}

TEST_F(EnemyArt, OnlyTheKeyIsMagenta) {
  for (const IdBox& range : EnemyBoxes)
    for (int id = range.first; id < range.first + range.count; ++id) {
      Image image = Drawn(id);
      for (Rgb c : image.pixels) ASSERT_TRUE(c == KeyColour || !IsTransparent(c)) << id;
    }
}

TEST_F(EnemyArt, HitImagesFlashTheSameSilhouette) {
  struct Pair {
    int normal, hit, count;
  };
  for (Pair pair : {Pair{500, 516, 4},
                    {541, 557, 16},
                    {583, 587, 4},
                    {532, 706, 1},
                    {534, 538, 1},
                    {536, 539, 2}})
    for (int i = 0; i < pair.count; ++i) {
      SCOPED_TRACE(pair.normal + i);
      Image normal = Drawn(pair.normal + i), hit = Drawn(pair.hit + i);
      EXPECT_TRUE(SameSilhouette(normal, hit));
      EXPECT_NE(normal.pixels, hit.pixels);
    }
}

TEST_F(EnemyArt, AnimationFramesDifferFromTheirNeighbours) {
  struct Cycle {
    int first, count;
  };
  for (Cycle cycle : {Cycle{500, 4}, {541, 16}, {583, 4}, {536, 2}, {580, 2}, {702, 4}, {707, 17}})
    for (int i = 0; i < cycle.count; ++i) {
      int id = cycle.first + i, next = cycle.first + (i + 1) % cycle.count;
      EXPECT_NE(Drawn(id).pixels, Drawn(next).pixels) << id << " and " << next;
    }
}

// The wings sit behind the nose, so the dart's weight lies opposite its heading.
TEST_F(EnemyArt, DartPointsAlongItsHeading) {
  for (int heading = 0; heading < 16; ++heading) {
    SCOPED_TRACE(heading);
    Image image = Drawn(541 + heading);
    double sumX = 0, sumY = 0;
    int count = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if (PixelAt(image, x, y) != KeyColour) sumX += x + 0.5, sumY += y + 0.5, ++count;
    double backX = sumX / count - 16, backY = sumY / count - 16;
    double angle = 2 * std::numbers::pi * heading / 16;
    double along = backX * std::sin(angle) + backY * std::cos(angle);
    double across = backX * std::cos(angle) - backY * std::sin(angle);
    EXPECT_LT(along, -1.0);
    EXPECT_LT(std::abs(across), 0.5);
  }
}

TEST_F(EnemyArt, HatchDoorsOpenFromClosedToASliver) {
  Image closed = Drawn(573);
  Image right = Drawn(574);
  for (size_t i = 0; i < closed.pixels.size(); ++i)
    if (right.pixels[i] != KeyColour) closed.pixels[i] = right.pixels[i];
  EXPECT_EQ(Drawn(707).pixels, closed.pixels);
  for (int id = 708; id <= 723; ++id)
    EXPECT_LT(CountDrawn(Drawn(id)), CountDrawn(Drawn(id - 1))) << id;
  EXPECT_GT(CountDrawn(Drawn(723)), 0);
}

// Each segment's top row meets the bottom row of the one stacked above it.
TEST_F(EnemyArt, BeamSegmentsStackWithoutASeam) {
  for (int id = 702; id <= 705; ++id) {
    Image image = Drawn(id);
    auto span = [&](int y) {
      int left = image.width, right = -1;
      for (int x = 0; x < image.width; ++x)
        if (PixelAt(image, x, y) != KeyColour) left = std::min(left, x), right = x;
      return std::pair{left, right};
    };
    auto [topLeft, topRight] = span(0);
    auto [bottomLeft, bottomRight] = span(image.height - 1);
    SCOPED_TRACE(id);
    ASSERT_LE(topLeft, topRight);
    EXPECT_LE(std::abs(topLeft - bottomLeft), 1);
    EXPECT_LE(std::abs(topRight - bottomRight), 1);
  }
}

// The flashes go beyond the pod's 32x32 on both sides and leave its body clear.
TEST_F(EnemyArt, MuzzleFlashesFlankThePod) {
  auto flanks = [&](int id, bool vertical) {
    Image image = Drawn(id);
    int before = 0, over = 0, after = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        if (PixelAt(image, x, y) == KeyColour) continue;
        int at = (vertical ? y : x) - 16;
        (at < 0 ? before : at < 32 ? over : after) += 1;
      }
    EXPECT_GT(before, 0) << id;
    EXPECT_GT(after, 0) << id;
    EXPECT_LT(over, before + after) << id;
  };
  flanks(591, true);
  flanks(592, false);
}

// Enemy shots are the brightest things in play: each has the palette's white at its core.
TEST_F(EnemyArt, ShotsHaveWhiteCores) {
  constexpr Rgb White{248, 248, 248};
  for (int id : {580, 581, 582, 593, 594}) {
    Image image = Drawn(id);
    EXPECT_NE(std::find(image.pixels.begin(), image.pixels.end(), White), image.pixels.end()) << id;
  }
}
