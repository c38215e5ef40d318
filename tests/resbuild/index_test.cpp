#include <gtest/gtest.h>

#include "index.h"
#include "index_reader.h"
#include "pack.h"
#include "pieces.h"

namespace {

// grid: two 4x3 frames, the first solid, the second one pixel; tall: a solid 3x40 frame;
// blank: a transparent 6x5 frame.
std::map<std::string, SourceImage> TinyImages() {
  Image grid = MakeImage(8, 3, KeyColour);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) PixelAt(grid, x, y) = Rgb{uint8_t(x * 40), uint8_t(y * 40), 7};
  PixelAt(grid, 7, 2) = Rgb{1, 2, 3};
  return {{"grid", {grid, 2, 1}},
          {"tall", {MakeImage(3, 40, Rgb{9, 9, 9}), 1, 1}},
          {"blank", {MakeImage(6, 5, KeyColour), 1, 1}}};
}

const char* TinyManifest =
    "count 6\n"
    "sprite 1 grid 0 first\n"
    "sprite 3 grid 1 corner box 1 1 2 2 origin 2 1\n"
    "sprite 4 tall 0 pillar origin 1 20\n"
    "sprite 5 blank 0 nothing\n"
    "sprite 6 grid 0 again\n";

int Int16At(const std::vector<uint8_t>& bytes, size_t at) {
  return int16_t(bytes.at(at) | bytes.at(at + 1) << 8);
}

int Int32At(const std::vector<uint8_t>& bytes, size_t at) {
  return int32_t(bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
                 uint32_t(bytes.at(at + 3)) << 24);
}

void ExpectBox(const SpriteRecord& s, int left, int top, int width, int height) {
  EXPECT_EQ(s.Left, left);
  EXPECT_EQ(s.Top, top);
  EXPECT_EQ(s.Width, width);
  EXPECT_EQ(s.Height, height);
}

void ExpectPiece(const PieceRecord& p, int offsetX, int offsetY, int width, int height) {
  EXPECT_EQ(p.OffsetX, offsetX);
  EXPECT_EQ(p.OffsetY, offsetY);
  EXPECT_EQ(p.Width, width);
  EXPECT_EQ(p.Height, height);
  EXPECT_EQ(p.Surface, 0);
}

std::string PackError(const std::string& manifest) {
  try {
    PackSprites(ParseManifest(manifest, "m.txt"), TinyImages());
  } catch (const BuildError& error) {
    return error.what();
  }
  return "no error";
}

class TinyIndex : public testing::Test {
 protected:
  std::map<std::string, SourceImage> images = TinyImages();
  PackedSprites packed = PackSprites(ParseManifest(TinyManifest, "m.txt"), images);
  std::vector<uint8_t> bytes = EncodeResourceIndex(packed.index);
};

}  // namespace

TEST_F(TinyIndex, LaysOutTheFileFieldByField) {
  constexpr int Sprites = 6, Pieces = 5;
  constexpr size_t PieceTable = 4 + 2 * (Sprites + 1);
  constexpr size_t SpriteTable = PieceTable + 20 * (Pieces + 1);
  constexpr size_t PageHeightAt = SpriteTable + 12 * (Sprites + 1);
  EXPECT_EQ(Int16At(bytes, 0), Sprites);
  EXPECT_EQ(Int16At(bytes, 2), Pieces);
  for (size_t at = 4; at < PieceTable; ++at) EXPECT_EQ(bytes[at], 0) << "reserved byte " << at;
  for (size_t at = PieceTable; at < PieceTable + 20; ++at) EXPECT_EQ(bytes[at], 0) << "piece 0";
  for (size_t at = SpriteTable; at < SpriteTable + 12; ++at) EXPECT_EQ(bytes[at], 0) << "sprite 0";

  // Sprite 3: one piece, box and offset moved by the origin (2,1).
  size_t sprite3 = SpriteTable + 12 * 3;
  int piece = Int32At(bytes, sprite3);
  ASSERT_GE(piece, 1);
  ASSERT_LE(piece, Pieces);
  EXPECT_EQ(Int16At(bytes, sprite3 + 4), -1);  // Left
  EXPECT_EQ(Int16At(bytes, sprite3 + 6), 0);   // Top
  EXPECT_EQ(Int16At(bytes, sprite3 + 8), 2);   // Width
  EXPECT_EQ(Int16At(bytes, sprite3 + 10), 2);  // Height
  size_t record = PieceTable + 20 * piece;
  EXPECT_GE(Int16At(bytes, record + 0), 1);   // SrcY
  EXPECT_GE(Int16At(bytes, record + 2), 1);   // SrcX
  EXPECT_EQ(Int16At(bytes, record + 4), 1);   // Width
  EXPECT_EQ(Int16At(bytes, record + 6), 1);   // Height
  EXPECT_EQ(Int16At(bytes, record + 8), 1);   // OffsetX
  EXPECT_EQ(Int16At(bytes, record + 10), 1);  // OffsetY
  EXPECT_EQ(Int32At(bytes, record + 12), 0);  // Next: the last piece
  EXPECT_EQ(Int16At(bytes, record + 16), 0);  // Surface
  EXPECT_EQ(Int16At(bytes, record + 18), 0);  // Page

  EXPECT_EQ(Int16At(bytes, PageHeightAt), PageHeight);
  size_t names = PageHeightAt + 2;
  EXPECT_EQ(Int16At(bytes, names), 0);  // sprite 0
  EXPECT_EQ(Int16At(bytes, names + 2), 5);
  EXPECT_EQ(std::string(bytes.begin() + names + 4, bytes.begin() + names + 9), "first");
  EXPECT_EQ(bytes.size(), names + 2 * (Sprites + 1) + 5 + 6 + 6 + 7 + 5);
}

TEST_F(TinyIndex, ReadsBackEverySpriteAndPiece) {
  ResourceIndex index = ReadIndex(bytes);
  ASSERT_EQ(index.sprites.size(), 7u);
  EXPECT_EQ(index.names,
            (std::vector<std::string>{"", "first", "", "corner", "pillar", "nothing", "again"}));

  ExpectBox(index.sprites[0], 0, 0, 0, 0);
  EXPECT_EQ(index.sprites[0].FirstPiece, 0);
  ExpectBox(index.sprites[2], 0, 0, 0, 0);
  EXPECT_EQ(index.sprites[2].FirstPiece, 0);

  ExpectBox(index.sprites[1], 0, 0, 4, 3);
  std::vector<PieceRecord> first = ChainOf(index, 1);
  ASSERT_EQ(first.size(), 1u);
  ExpectPiece(first[0], 0, 0, 4, 3);

  ExpectBox(index.sprites[3], -1, 0, 2, 2);
  std::vector<PieceRecord> corner = ChainOf(index, 3);
  ASSERT_EQ(corner.size(), 1u);
  ExpectPiece(corner[0], 1, 1, 1, 1);

  // Two bands, chained top first, relative to the origin (1,20).
  ExpectBox(index.sprites[4], -1, -20, 3, 40);
  std::vector<PieceRecord> pillar = ChainOf(index, 4);
  ASSERT_EQ(pillar.size(), 2u);
  ExpectPiece(pillar[0], -1, -20, 3, BandRows);
  ExpectPiece(pillar[1], -1, 12, 3, 40 - BandRows);

  // An empty frame keeps its box but draws nothing.
  ExpectBox(index.sprites[5], 0, 0, 6, 5);
  EXPECT_EQ(index.sprites[5].FirstPiece, 0);

  // The same frame again shares its pixels on the sheet.
  std::vector<PieceRecord> again = ChainOf(index, 6);
  ASSERT_EQ(again.size(), 1u);
  EXPECT_NE(index.sprites[6].FirstPiece, index.sprites[1].FirstPiece);
  EXPECT_EQ(again[0].SrcX, first[0].SrcX);
  EXPECT_EQ(again[0].SrcY, first[0].SrcY);
  EXPECT_EQ(again[0].Page, first[0].Page);
}

TEST_F(TinyIndex, SheetHoldsEachPieceWhereItsRecordSays) {
  const Image& sheet = packed.sheet;
  EXPECT_EQ(sheet.width, SheetWidth);
  EXPECT_EQ(sheet.height % PageHeight, 0);
  EXPECT_EQ(PixelAt(sheet, 0, 0), KeyColour);

  const Image& grid = images.at("grid").image;
  struct Shown {
    int id, frameLeft, originX, originY;
  };
  for (Shown shown : {Shown{1, 0, 0, 0}, Shown{3, 4, 2, 1}}) {
    const PieceRecord& piece = packed.index.pieces[packed.index.sprites[shown.id].FirstPiece];
    for (int y = 0; y < piece.Height; ++y)
      for (int x = 0; x < piece.Width; ++x)
        EXPECT_EQ(PixelAt(sheet, piece.SrcX + x, piece.Page * PageHeight + piece.SrcY + y),
                  PixelAt(grid, shown.frameLeft + shown.originX + piece.OffsetX + x,
                          shown.originY + piece.OffsetY + y));
  }
}

TEST(PackSprites, RejectsUnknownImagesAndFramesNamingTheLine) {
  EXPECT_EQ(PackError("count 5\n\nsprite 2 nope 0 x\n"), "m.txt:3: unknown image 'nope'");
  EXPECT_EQ(PackError("count 5\nsprite 2 grid 2 x\n"),
            "m.txt:2: frame 2 is out of range: grid has 2 frames");
}

TEST(EncodeSheetFile, PutsThePngAfterTheFixedPrefix) {
  Image image = MakeImage(3, 2, Rgb{40, 80, 120});
  PixelAt(image, 2, 1) = KeyColour;
  std::vector<uint8_t> file = EncodeSheetFile(image);
  ASSERT_GT(file.size(), SheetPrefixBytes + 8);
  const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  EXPECT_TRUE(
      std::equal(std::begin(signature), std::end(signature), file.begin() + SheetPrefixBytes));

  Image back = DecodePng({file.begin() + SheetPrefixBytes, file.end()}, "sheet");
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.height, 2);
  EXPECT_EQ(back.pixels, image.pixels);
}
