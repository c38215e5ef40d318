// Checks on what the build generated: the packed fonts and the stage tile image.
#include <gtest/gtest.h>

#include "index.h"
#include "index_reader.h"

namespace {

constexpr int SmallFont = 1, LargeFont = 257;

Image LoadSheetFile(const std::string& name) {
  std::vector<uint8_t> file = ReadFileBytes(std::string(RESBUILD_OUTPUT_DIR) + "/" + name);
  if (file.size() < SheetPrefixBytes) throw BuildError(name + " is shorter than its prefix");
  return DecodePng({file.begin() + SheetPrefixBytes, file.end()}, name);
}

class GeneratedArt : public testing::Test {
 protected:
  ResourceIndex index = ReadIndex(ReadFileBytes(std::string(RESBUILD_OUTPUT_DIR) + "/out.dat"));
  Image sheet = LoadSheetFile("sheet000.png");
};

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
  EXPECT_EQ(index.sprites[SmallFont + ' '].width, 5);
  EXPECT_EQ(index.sprites[LargeFont + ' '].width, 12);
}

TEST_F(GeneratedArt, LetterAFitsItsCell) {
  std::vector<PieceRecord> small = ChainOf(index, SmallFont + 'A');
  ASSERT_EQ(small.size(), 1u);
  EXPECT_EQ(small[0].width, 5);
  EXPECT_EQ(index.sprites[SmallFont + 'A'].width, 5);
  EXPECT_EQ(index.sprites[SmallFont + 'A'].height, 7);

  const SpriteRecord& large = index.sprites[LargeFont + 'A'];
  EXPECT_EQ(large.width, 12);
  EXPECT_GE(large.height, 16);
  EXPECT_LE(large.height, 24);
  for (const PieceRecord& piece : ChainOf(index, LargeFont + 'A')) EXPECT_LE(piece.width, 12);
}

TEST_F(GeneratedArt, PiecesLieInsideTheirBoxesAndPages) {
  ASSERT_EQ(index.sprites.size(), 768u);
  const int pages = sheet.height / index.pageHeight;
  for (size_t id = 1; id < index.sprites.size(); ++id) {
    const SpriteRecord& box = index.sprites[id];
    for (const PieceRecord& piece : ChainOf(index, static_cast<int>(id))) {
      SCOPED_TRACE(index.names[id]);
      EXPECT_GE(piece.offsetX, box.left);
      EXPECT_GE(piece.offsetY, box.top);
      EXPECT_LE(piece.offsetX + piece.width, box.left + box.width);
      EXPECT_LE(piece.offsetY + piece.height, box.top + box.height);
      EXPECT_LT(piece.page, pages);
      EXPECT_LE(piece.srcX + piece.width, sheet.width);
      EXPECT_LE(piece.srcY + piece.height, index.pageHeight);
    }
  }
}

TEST_F(GeneratedArt, SheetUsesMagentaOnlyAsTheKey) {
  EXPECT_EQ(PixelAt(sheet, 0, 0), KeyColour);
  ExpectOnlyExactKeyIsTransparent(sheet);
}

TEST(GeneratedStageParts, TileZeroColourMarksOnlyTileZero) {
  Image parts = LoadSheetFile("Stage01.parts.png");
  EXPECT_EQ(parts.width, 640);
  EXPECT_EQ(parts.height % 32, 0);
  ExpectOnlyExactKeyIsTransparent(parts);
  Rgb empty = PixelAt(parts, 0, 0);
  for (int y = 0; y < parts.height; ++y)
    for (int x = 0; x < parts.width; ++x) {
      bool inTileZero = x < 32 && y < 32;
      ASSERT_EQ(PixelAt(parts, x, y) == empty, inTileZero) << "pixel " << x << "," << y;
    }
}
