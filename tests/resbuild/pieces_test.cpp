#include <gtest/gtest.h>

#include "pieces.h"

namespace {

constexpr Rgb Ink{10, 20, 30};

Image Frame(int width, int height) { return MakeImage(width, height, KeyColour); }

void Dot(Image& image, int x, int y, Rgb colour = Ink) { PixelAt(image, x, y) = colour; }

struct Rect {
  int x, y, width, height;
};

void ExpectPieces(const std::vector<Piece>& pieces, std::vector<Rect> expected) {
  ASSERT_EQ(pieces.size(), expected.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(pieces[i].x, expected[i].x);
    EXPECT_EQ(pieces[i].y, expected[i].y);
    EXPECT_EQ(pieces[i].pixels.width, expected[i].width);
    EXPECT_EQ(pieces[i].pixels.height, expected[i].height);
  }
}

}  // namespace

TEST(CutFrame, TrimsTheTransparentBorder) {
  Image frame = Frame(10, 8);
  Dot(frame, 2, 3, Rgb{1, 2, 3});
  Dot(frame, 5, 4, Rgb{4, 5, 6});
  std::vector<Piece> pieces = CutFrame(frame);
  ExpectPieces(pieces, {{2, 3, 4, 2}});
  EXPECT_EQ(PixelAt(pieces[0].pixels, 0, 0), (Rgb{1, 2, 3}));
  EXPECT_EQ(PixelAt(pieces[0].pixels, 3, 1), (Rgb{4, 5, 6}));
  EXPECT_EQ(PixelAt(pieces[0].pixels, 1, 0), KeyColour);
}

TEST(CutFrame, KeepsAFullFrameWhole) {
  ExpectPieces(CutFrame(MakeImage(5, 7, Ink)), {{0, 0, 5, 7}});
}

TEST(CutFrame, TransparentFrameHasNoPieces) {
  EXPECT_TRUE(CutFrame(Frame(12, 16)).empty());
  // The game keys on RGB565, so a near-magenta pixel is transparent too.
  Image nearKey = Frame(4, 4);
  Dot(nearKey, 1, 1, Rgb{250, 3, 252});
  EXPECT_TRUE(CutFrame(nearKey).empty());
}

TEST(CutFrame, CutsTallFramesIntoBandsTrimmedOnTheirOwn) {
  Image frame = Frame(8, 80);
  for (int y = 5; y < 40; ++y) Dot(frame, 1, y);
  for (int y = 40; y < 71; ++y) Dot(frame, 6, y);
  // Bands start at the trimmed top: rows 5-36, 37-68, 69-70.
  ExpectPieces(CutFrame(frame), {{1, 5, 1, 32}, {1, 37, 6, 32}, {6, 69, 1, 2}});
}

TEST(CutFrame, SkipsEmptyBands) {
  Image frame = Frame(3, 80);
  Dot(frame, 0, 0);
  Dot(frame, 2, 70);
  ExpectPieces(CutFrame(frame), {{0, 0, 1, 1}, {2, 70, 1, 1}});
}
