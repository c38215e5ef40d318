// The boss's sprites as the game uses them: the body's box is its hit box, the face images
// stay on its core, each turret kind fires its own way and every animation moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "built_art.h"

namespace {

constexpr int Body = 681, BodyHit = 682;
constexpr int CoreLeft = 48, CoreTop = 32, CoreSize = 64;
constexpr int TurretShot = 615;
constexpr Rgb White{248, 248, 248};
constexpr int TurretFrames = 20, TurretIdle = 0, TurretFiring = 2;

struct TurretKind {
  const char* fires;
  int firstId;
  int dx, dy;  // the way its gun points
};
constexpr TurretKind TurretKinds[] = {
    {"down", 595, 0, 1}, {"left", 621, -1, 0}, {"right", 641, 1, 0}, {"up", 661, 0, -1}};

// Runs of ids that play one after another, each frame unlike the one before.
struct Animation {
  int firstId, frames;
};
constexpr Animation FaceAnimations[] = {{683, 2}, {685, 7}, {692, 2}, {695, 3}, {698, 4}};
// Within a turret kind, by offset: firing, the barrel, the shimmer, the hatch opening.
constexpr Animation TurretAnimations[] = {{2, 2}, {2, 5}, {7, 5}, {12, 8}};

bool SameBox(const SpriteRecord& sprite, int left, int top, int width, int height) {
  return sprite.Left == left && sprite.Top == top && sprite.Width == width &&
         sprite.Height == height;
}

class BossArt : public BuiltArt {
 protected:
  void ExpectEachFrameChanges(Animation animation) const {
    for (int id = animation.firstId + 1; id < animation.firstId + animation.frames; ++id)
      EXPECT_TRUE(Drawn(id - 1).pixels != Drawn(id).pixels) << index.names[id];
  }
};

bool Opaque(Rgb colour) { return colour != KeyColour; }

// The smallest rectangle holding every drawn pixel, as left, top, right, bottom (exclusive).
std::array<int, 4> DrawnExtent(const Image& image) {
  std::array<int, 4> extent{image.width, image.height, 0, 0};
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      if (Opaque(PixelAt(image, x, y)))
        extent = {std::min(extent[0], x), std::min(extent[1], y), std::max(extent[2], x + 1),
                  std::max(extent[3], y + 1)};
  return extent;
}

void ExpectNoStrayMagenta(const Image& image) {
  for (const Rgb& colour : image.pixels) ASSERT_TRUE(colour == KeyColour || !IsTransparent(colour));
}

}  // namespace

TEST_F(BossArt, BodyFillsItsHitBoxAndItsHitFrameKeepsItsShape) {
  for (int id : {Body, BodyHit}) EXPECT_TRUE(SameBox(index.sprites[id], 0, 0, 160, 128));
  Image body = Drawn(Body), hit = Drawn(BodyHit);
  // The hit box is what the player sees: the hull reaches every edge of it but a few pixels.
  std::array<int, 4> extent = DrawnExtent(body);
  EXPECT_LE(extent[0], 4);
  EXPECT_LE(extent[1], 4);
  EXPECT_GE(extent[2], 156);
  EXPECT_GE(extent[3], 124);
  ASSERT_EQ(body.pixels.size(), hit.pixels.size());
  for (size_t i = 0; i < body.pixels.size(); ++i)
    ASSERT_EQ(Opaque(body.pixels[i]), Opaque(hit.pixels[i])) << "pixel " << i;
  EXPECT_TRUE(body.pixels != hit.pixels);
  ExpectNoStrayMagenta(body);
  ExpectNoStrayMagenta(hit);
}

TEST_F(BossArt, FaceImagesShareTheBodyDrawPointAndStayOnItsCore) {
  for (int id = 683; id <= 701; ++id) {
    SCOPED_TRACE(index.names[id]);
    EXPECT_TRUE(SameBox(index.sprites[id], 0, 0, 160, 128));
    std::vector<PieceRecord> pieces = ChainOf(index, id);
    EXPECT_FALSE(pieces.empty());
    for (const PieceRecord& piece : pieces) {
      EXPECT_GE(piece.OffsetX, CoreLeft);
      EXPECT_GE(piece.OffsetY, CoreTop);
      EXPECT_LE(piece.OffsetX + piece.Width, CoreLeft + CoreSize);
      EXPECT_LE(piece.OffsetY + piece.Height, CoreTop + CoreSize);
    }
    ExpectNoStrayMagenta(Drawn(id));
  }
  for (Animation animation : FaceAnimations) ExpectEachFrameChanges(animation);
}

TEST_F(BossArt, EveryTurretFrameIsAFullHatchCell) {
  for (const TurretKind& kind : TurretKinds)
    for (int id = kind.firstId; id < kind.firstId + TurretFrames; ++id) {
      SCOPED_TRACE(index.names[id]);
      EXPECT_TRUE(SameBox(index.sprites[id], 0, 0, 32, 32));
      EXPECT_FALSE(ChainOf(index, id).empty());
      ExpectNoStrayMagenta(Drawn(id));
    }
}

TEST_F(BossArt, TurretAnimationsMoveFrameToFrame) {
  for (const TurretKind& kind : TurretKinds) {
    SCOPED_TRACE(kind.fires);
    for (Animation animation : TurretAnimations)
      ExpectEachFrameChanges({kind.firstId + animation.firstId, animation.frames});
  }
}

// What firing adds to the idle turret (the barrel and its flash) lies off the cell's middle
// towards where the kind shoots, and on the line through the middle.
TEST_F(BossArt, EachTurretKindFiresItsOwnWay) {
  for (const TurretKind& kind : TurretKinds) {
    SCOPED_TRACE(kind.fires);
    Image idle = Drawn(kind.firstId + TurretIdle), firing = Drawn(kind.firstId + TurretFiring);
    double sumX = 0, sumY = 0;
    int changed = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (PixelAt(idle, x, y) != PixelAt(firing, x, y)) sumX += x, sumY += y, ++changed;
    ASSERT_GT(changed, 0);
    double alongX = sumX / changed - 15.5, alongY = sumY / changed - 15.5;
    EXPECT_GT(alongX * kind.dx + alongY * kind.dy, 5.0);
    EXPECT_LT(std::abs(alongX * kind.dy - alongY * kind.dx), 1.0);
  }
}

TEST_F(BossArt, TurretShotIsAnOrbCentredOnItsSmallBox) {
  EXPECT_TRUE(SameBox(index.sprites[TurretShot], 12, 12, 8, 8));
  Image shot = Drawn(TurretShot);
  EXPECT_EQ(DrawnExtent(shot), (std::array<int, 4>{0, 0, 8, 8}));
  // Symmetric about the box's middle, so it flies centred wherever it is aimed.
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      EXPECT_TRUE(PixelAt(shot, x, y) == PixelAt(shot, 7 - x, y)) << x << "," << y;
      EXPECT_TRUE(PixelAt(shot, x, y) == PixelAt(shot, x, 7 - y)) << x << "," << y;
    }
  EXPECT_TRUE(PixelAt(shot, 3, 3) == White);
  ExpectNoStrayMagenta(shot);
}
