#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "support/headless.h"

namespace {

// Builds resource index files field by field.
struct IndexWriter {
  std::vector<uint8_t> bytes;

  template <typename T>
  IndexWriter& Put(T value) {
    uint8_t raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    bytes.insert(bytes.end(), raw, raw + sizeof(T));
    return *this;
  }
  IndexWriter& Piece(const PieceRecord& p) {
    return Put(p.SrcY).Put(p.SrcX).Put(p.Width).Put(p.Height).Put(p.OffsetX).Put(p.OffsetY)
        .Put(p.Next).Put(p.Surface).Put(p.Page);
  }
  IndexWriter& Sprite(const SpriteRecord& s) {
    return Put(s.FirstPiece).Put(s.Left).Put(s.Top).Put(s.Width).Put(s.Height);
  }
  IndexWriter& Name(const std::string& name) {
    Put(int16_t(name.size()));
    bytes.insert(bytes.end(), name.begin(), name.end());
    return *this;
  }
};

// Two sprites: 1 of two chained pieces, 2 of none.
IndexWriter GoodIndex(int32_t firstPiece = 1, int32_t secondNext = 0) {
  IndexWriter w;
  w.Put(int16_t(2)).Put(int16_t(2));
  for (int i = 0; i < 3; ++i) w.Put(int16_t(0));
  w.Piece({}).Piece({3, 4, 5, 6, -7, 8, 2, 0, 1}).Piece({10, 20, 30, 40, 50, 60, secondNext, 1, 2});
  w.Sprite({}).Sprite({firstPiece, -1, -2, 64, 48}).Sprite({0, 0, 0, 5, 7});
  w.Put(int16_t(512));
  w.Name("").Name("ship").Name("space");
  return w;
}

class ResourceIndexTest : public testing::Test {
 protected:
  void SetUp() override { folder = ScratchFolder(); }

  std::string Write(const IndexWriter& w) {
    std::string path = (folder / "out.dat").string();
    WriteFile(path, w.bytes);
    return path;
  }

  void ExpectDamaged(const IndexWriter& w, const char* why) {
    std::string path = Write(w);
    try {
      ReadResourceIndex(path);
      ADD_FAILURE() << why << ": accepted";
    } catch (const ResourceError& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << why;
    }
  }

  std::filesystem::path folder;
};

TEST_F(ResourceIndexTest, ReadsEveryFieldInOrder) {
  ReadResourceIndex(Write(GoodIndex()));
  EXPECT_EQ(Images.SpriteTable.size(), 3u);
  EXPECT_EQ(Images.PieceTable.size(), 3u);
  EXPECT_EQ(Images.PageHeight, 512);
  const PieceRecord& p = Images.PieceTable[1];
  EXPECT_EQ(p.SrcY, 3);
  EXPECT_EQ(p.SrcX, 4);
  EXPECT_EQ(p.Width, 5);
  EXPECT_EQ(p.Height, 6);
  EXPECT_EQ(p.OffsetX, -7);
  EXPECT_EQ(p.OffsetY, 8);
  EXPECT_EQ(p.Next, 2);
  EXPECT_EQ(p.Surface, 0);
  EXPECT_EQ(p.Page, 1);
  EXPECT_EQ(Images.PieceTable[2].Page, 2);
  EXPECT_EQ(Images.SpriteTable[1].FirstPiece, 1);
  EXPECT_EQ(Images.SpriteTable[1].Left, -1);
  EXPECT_EQ(Images.SpriteTable[1].Height, 48);
  EXPECT_EQ(Images.SpriteNames[2], "space");
  EXPECT_EQ(SpriteBox(2).Width, 5);
  EXPECT_EQ(SpriteBox(3).Width, 0);  // beyond the table: the empty box
  EXPECT_EQ(SpriteBox(-1).Width, 0);
}

TEST_F(ResourceIndexTest, DamagedFilesAreRefusedAndKeepTheOldTables) {
  ReadResourceIndex(Write(GoodIndex()));
  IndexWriter good = GoodIndex();
  for (size_t cut : {size_t(0), size_t(3), size_t(20), good.bytes.size() - 1}) {
    IndexWriter shortened = good;
    shortened.bytes.resize(cut);
    ExpectDamaged(shortened, "short");
  }
  IndexWriter negative;
  negative.Put(int16_t(-1)).Put(int16_t(0));
  ExpectDamaged(negative, "negative count");
  IndexWriter huge;
  huge.Put(int16_t(32767)).Put(int16_t(32767)).Put(int16_t(0));
  ExpectDamaged(huge, "counts beyond the file");
  ExpectDamaged(GoodIndex(7), "first piece outside the table");
  ExpectDamaged(GoodIndex(1, 9), "next piece outside the table");
  ExpectDamaged(GoodIndex(1, 1), "a chain that loops");
  IndexWriter badName = GoodIndex();
  badName.bytes.resize(badName.bytes.size() - 7);
  badName.Name("a very long name that runs past the end").bytes.resize(badName.bytes.size() - 10);
  ExpectDamaged(badName, "name past the end");
  std::filesystem::create_directories(folder / "folder.dat");
  for (auto [name, reason] : {std::pair{"missing.dat", "見つかりません"}, {"folder.dat", "フォルダ"}}) {
    try {
      ReadResourceIndex((folder / name).string());
      ADD_FAILURE() << name << " was accepted";
    } catch (const ResourceError& error) {
      EXPECT_NE(std::string(error.what()).find((folder / name).string()), std::string::npos);
      EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(Images.SpriteNames[1], "ship");  // the good tables are still there
}

// Drawing onto the headless back buffer from a sheet whose pixel at (x, y) is x + 64 * y + 1.
class DrawingTest : public testing::Test {
 protected:
  static constexpr uint16_t Key = 0xF81F;

  void SetUp() override {
    StartHeadlessDisplay();
    sheet = SDL_CreateRGBSurfaceWithFormat(0, 64, 1100, 16, SDL_PIXELFORMAT_RGB565);
    auto* pixels = static_cast<uint16_t*>(sheet->pixels);
    for (int y = 0; y < sheet->h; ++y)
      for (int x = 0; x < 64; ++x) pixels[y * sheet->pitch / 2 + x] = uint16_t(x + 64 * (y % 900) + 1);
    pixels[0] = Key;
    SDL_SetColorKey(sheet, SDL_TRUE, Key);
    ClearBackBuffer();
    Images.PageHeight = 512;
  }
  void TearDown() override {
    SDL_FreeSurface(sheet);
    StopHeadlessDisplay();
  }

  uint16_t SheetPixel(int x, int y) { return PixelAt(sheet, x, y); }
  int CountDrawn() {
    int drawn = 0;
    for (int y = 0; y < Display.BackBuffer->h; ++y)
      for (int x = 0; x < Display.BackBuffer->w; ++x) drawn += PixelAt(Display.BackBuffer, x, y) != 0;
    return drawn;
  }

  SDL_Surface* sheet = nullptr;
};

TEST_F(DrawingTest, PiecesAreClippedAtEveryEdge) {
  SourceBox box{1, 8, 16, 4};
  DrawPiece(Display.BackBuffer, -5, 100, sheet, box, 0);
  EXPECT_EQ(PixelAt(Display.BackBuffer, 0, 100), SheetPixel(8 + 5, 1));
  EXPECT_EQ(PixelAt(Display.BackBuffer, 10, 103), SheetPixel(8 + 15, 4));
  EXPECT_EQ(PixelAt(Display.BackBuffer, 11, 100), 0);
  EXPECT_EQ(CountDrawn(), 11 * 4);

  ClearBackBuffer();
  DrawPiece(Display.BackBuffer, -16, 100, sheet, box, 0);
  DrawPiece(Display.BackBuffer, Images.ClipWidth, 100, sheet, box, 0);
  DrawPiece(Display.BackBuffer, 100, -4, sheet, box, 0);
  DrawPiece(Display.BackBuffer, 100, Images.ClipHeight, sheet, box, 0);
  EXPECT_EQ(CountDrawn(), 0);

  DrawPiece(Display.BackBuffer, Images.ClipWidth - 4, Images.ClipHeight - 1, sheet, box, 0);
  EXPECT_EQ(CountDrawn(), 4 * 1);
  EXPECT_EQ(PixelAt(Display.BackBuffer, Images.ClipWidth - 1, Images.ClipHeight - 1), SheetPixel(8 + 3, 1));
}

TEST_F(DrawingTest, PagesStackDownTheSheet) {
  DrawPiece(Display.BackBuffer, 0, 0, sheet, {10, 0, 2, 1}, 2);
  EXPECT_EQ(PixelAt(Display.BackBuffer, 1, 0), SheetPixel(1, 2 * 512 + 10));
}

TEST_F(DrawingTest, ClipBoundsLimitDrawingNotTheBackBuffer) {
  Images.ClipWidth = 100;
  DrawPiece(Display.BackBuffer, 90, 0, sheet, {1, 0, 16, 1}, 0);
  EXPECT_EQ(CountDrawn(), 10);
}

TEST_F(DrawingTest, FillBoxLeavesOutTheLastRowAndColumn) {
  FillBox(0, 0, 10, 10, 0xFFFFFF);
  EXPECT_EQ(CountDrawn(), 81);
  EXPECT_EQ(PixelAt(Display.BackBuffer, 8, 8), 0xFFFF);
  EXPECT_EQ(PixelAt(Display.BackBuffer, 9, 0), 0);
  FillBox(20, 20, 1, 5, 0xFFFFFF);  // nothing to fill
  EXPECT_EQ(CountDrawn(), 81);
}

TEST_F(DrawingTest, SpritesFollowTheirChainsAndTextAdvancesByTheWidthOfA) {
  Display.SurfaceList.push_back({"test sheet", sheet});
  Images.SpriteTable.assign(401, SpriteRecord{});
  Images.PieceTable.assign(4, PieceRecord{});
  Images.PieceTable[1] = {1, 1, 1, 1, 0, 0, 0, 0, 0};  // 'A' of the small font: one pixel
  Images.PieceTable[2] = {1, 2, 1, 1, 0, 0, 3, 0, 0};  // 'B': two pixels, the second covering
  Images.PieceTable[3] = {1, 3, 1, 1, 1, 0, 0, 0, 0};
  Images.SpriteTable['A' + 1] = {1, 0, 0, 5, 7};
  Images.SpriteTable['B' + 1] = {2, 0, 0, 5, 7};
  DrawText(10, 10, "AB");
  EXPECT_EQ(PixelAt(Display.BackBuffer, 10, 10), SheetPixel(1, 1));
  EXPECT_EQ(PixelAt(Display.BackBuffer, 16, 10), SheetPixel(2, 1));
  EXPECT_EQ(PixelAt(Display.BackBuffer, 17, 10), SheetPixel(3, 1));
  EXPECT_EQ(CountDrawn(), 3);
  DrawText(0, 0, "");
  DrawSprite(0, 0, 5000);  // no such sprite
  DrawTextLarge(0, 50, "\xC3\xA9");  // beyond the large font: drawn as '?', which is empty here
  EXPECT_EQ(CountDrawn(), 3);
  Display.SurfaceList.clear();
}

TEST_F(DrawingTest, BuiltResourcesLoadAndDraw) {
  LoadImageResources(BuiltResourceFolder());
  EXPECT_EQ(Display.SurfaceList.size(), 2u);
  EXPECT_EQ(Images.StagePartsSurface, 1);
  EXPECT_EQ(SpriteBox('A' + SmallFontBase).Width, 5);
  EXPECT_LE(SpriteBox('A' + LargeFontBase).Width, 12);
  DrawTextLarge(0, 0, "VELDRANE");
  DrawText(0, 40, "0123456789");
  EXPECT_GT(CountDrawn(), 100);
}

}  // namespace
