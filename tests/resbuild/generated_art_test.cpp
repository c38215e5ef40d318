// Checks on what the build generated: the packed fonts and the stage tile image.
#include <gtest/gtest.h>

#include "built_art.h"

namespace {

constexpr int SmallFont = 1, LargeFont = 257;

class GeneratedArt : public BuiltArt {};

void ExpectOnlyExactKeyIsTransparent(const Image& image) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      Rgb c = PixelAt(image, x, y);
      ASSERT_TRUE(c == KeyColour || !IsTransparent(c)) << "pixel " << x << "," << y;
    }
}

}  // namespace

TEST_F(GeneratedArt, EveryPrintableGlyphOfBothFontsHasPieces) {
  for (int code = '!'; code <= '~'; ++code) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(ChainOf(index, SmallFont + code).empty());
    EXPECT_FALSE(ChainOf(index, LargeFont + code).empty());
  }
  // The space draws nothing but keeps its cell for spacing.
  EXPECT_TRUE(ChainOf(index, SmallFont + ' ').empty());
  EXPECT_EQ(index.sprites[SmallFont + ' '].Width, 5);
  EXPECT_EQ(index.sprites[LargeFont + ' '].Width, 12);
}

TEST_F(GeneratedArt, LetterAFitsItsCell) {
  std::vector<PieceRecord> small = ChainOf(index, SmallFont + 'A');
  ASSERT_EQ(small.size(), 1u);
  EXPECT_EQ(small[0].Width, 5);
  EXPECT_EQ(index.sprites[SmallFont + 'A'].Width, 5);
  EXPECT_EQ(index.sprites[SmallFont + 'A'].Height, 7);

  const SpriteRecord& large = index.sprites[LargeFont + 'A'];
  EXPECT_EQ(large.Width, 12);
  EXPECT_GE(large.Height, 16);
  EXPECT_LE(large.Height, 24);
  for (const PieceRecord& piece : ChainOf(index, LargeFont + 'A')) EXPECT_LE(piece.Width, 12);
}

// A sprite's box is its hit box, so a glow may reach past it; its pieces stay on the sheet.
TEST_F(GeneratedArt, PiecesLieOnTheirPages) {
  ASSERT_EQ(index.sprites.size(), 768u);
  const int pages = sheet.height / index.pageHeight;
  for (size_t id = 1; id < index.sprites.size(); ++id) {
    for (const PieceRecord& piece : ChainOf(index, static_cast<int>(id))) {
      SCOPED_TRACE(index.names[id]);
      EXPECT_LT(piece.Page, pages);
      EXPECT_LE(piece.SrcX + piece.Width, sheet.width);
      EXPECT_LE(piece.SrcY + piece.Height, index.pageHeight);
    }
  }
}

TEST_F(GeneratedArt, SheetUsesMagentaOnlyAsTheKey) {
  EXPECT_EQ(PixelAt(sheet, 0, 0), KeyColour);
  ExpectOnlyExactKeyIsTransparent(sheet);
}

// Tile 0's colour is the image's key: any tile may use it for holes (maps_test.cpp checks
// the layers that must not have any).
TEST(GeneratedStageParts, TilesFillTwentyColumnsAndUseMagentaOnlyAsTheKey) {
  Image parts = LoadSheetFile("Stage01.parts.png");
  EXPECT_EQ(parts.width, 640);
  EXPECT_EQ(parts.height % 32, 0);
  ExpectOnlyExactKeyIsTransparent(parts);
}
