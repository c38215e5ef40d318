#include <SDL.h>
#include <gtest/gtest.h>

#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "support/headless.h"

namespace {

TEST(ColorToPixelTest, PacksBbggrrIntoRgb565) {
  EXPECT_EQ(ColorToPixel(0xFFFFFF), 0xFFFFu);
  EXPECT_EQ(ColorToPixel(0xFF0000), 0x1Fu);  // pure blue
  EXPECT_EQ(ColorToPixel(0x0000FF), 0xF800u);
  EXPECT_EQ(ColorToPixel(0x000008), 0x0800u);
  EXPECT_EQ(ColorToPixel(0x000007), 0u);  // below one step of red: dropped, not rounded
  EXPECT_EQ(ColorToPixel(0x00FF00), 0x07E0u);
  EXPECT_EQ(ColorToPixel(0x000000), 0u);
}

TEST(PresentTargetTest, WindowStretchesFullScreenScalesByWholeFactors) {
  PixelRect window{0, 0, 800, 500};
  PixelRect stretched = PresentTarget(window, 640, 480, false);
  EXPECT_EQ(stretched.w, 800);
  EXPECT_EQ(stretched.h, 500);

  PixelRect wide = PresentTarget({0, 0, 1920, 1080}, 640, 480, true);
  EXPECT_EQ(wide.w, 1280);  // 2x: 3x would be 1440 tall
  EXPECT_EQ(wide.h, 960);
  EXPECT_EQ(wide.x, 320);
  EXPECT_EQ(wide.y, 60);

  PixelRect laptop = PresentTarget({0, 0, 1366, 768}, 640, 480, true);
  EXPECT_EQ(laptop.w, 640);
  EXPECT_EQ(laptop.x, 363);
  EXPECT_EQ(laptop.y, 144);

  PixelRect tiny = PresentTarget({0, 0, 600, 400}, 640, 480, true);  // not even 1x fits
  EXPECT_EQ(tiny.h, 400);
  EXPECT_EQ(tiny.w, 533);
  EXPECT_EQ(tiny.x, 33);
}

class SurfaceTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessDisplay();
    folder = ScratchFolder();
  }
  void TearDown() override { StopHeadlessDisplay(); }

  // A 4x2 picture: top-left grey, which is also its right-most column's colour.
  std::string WriteSheet(const std::string& name) {
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 4, 2, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 128, 128, 128));
    SDL_Rect middle{1, 0, 2, 2};
    SDL_FillRect(picture, &middle, SDL_MapRGB(picture->format, 255, 0, 0));
    std::string path = (folder / name).string();
    WriteFile(path, SheetBytes(picture));
    SDL_FreeSurface(picture);
    return path;
  }

  std::filesystem::path folder;
};

TEST_F(SurfaceTest, TopLeftColourIsTransparentEverywhere) {
  int32_t index = LoadSurface(WriteSheet("sheet.png"));
  EXPECT_EQ(index, 0);
  SDL_Surface* sheet = SurfaceList[0].surface;
  ClearSurface(BackBuffer, ColorToPixel(0x00FF00));
  SDL_Rect to{0, 0, 0, 0};
  SDL_BlitSurface(sheet, nullptr, BackBuffer, &to);
  EXPECT_EQ(PixelAt(BackBuffer, 0, 0), 0x07E0);  // grey: not copied
  EXPECT_EQ(PixelAt(BackBuffer, 3, 1), 0x07E0);
  EXPECT_EQ(PixelAt(BackBuffer, 1, 0), 0xF800);  // red: copied
}

TEST_F(SurfaceTest, ReloadKeepsEveryIndex) {
  int32_t first = LoadSurface(WriteSheet("a.png"));
  int32_t second = LoadSurface(WriteSheet("b.png"));
  ReloadAllSurfaces();
  ASSERT_EQ(SurfaceCount, 2);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  EXPECT_EQ(SurfaceList[1].fileName, (folder / "b.png").string());
  EXPECT_EQ(SurfaceList[1].surface->w, 4);
  EXPECT_EQ(PixelAt(SurfaceList[1].surface, 1, 1), 0xF800);
}

TEST_F(SurfaceTest, DamagedSheetsAreRefusedByName) {
  std::string shortFile = (folder / "short.png").string();
  WriteFile(shortFile, std::vector<uint8_t>(762, 7));
  std::string notPng = (folder / "text.png").string();
  WriteFile(notPng, std::vector<uint8_t>(2000, 'x'));
  std::string hugeHeader = (folder / "huge.png").string();
  const uint8_t header[] = {137, 80, 78,  71,  13,   10,   26,   10,   0,    0,    0,    13,
                            'I', 'H', 'D', 'R', 0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF};
  std::vector<uint8_t> huge(std::begin(header), std::end(header));
  huge.insert(huge.begin(), SheetPrefixBytes, 0);
  WriteFile(hugeHeader, huge);
  for (const std::string& path : {shortFile, notPng, hugeHeader, (folder / "none.png").string()}) {
    try {
      LoadSurface(path);
      ADD_FAILURE() << path << " was accepted";
    } catch (const DisplayError& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(SurfaceCount, 0);
}

TEST_F(SurfaceTest, PictureLoaderChecksTheSignature) {
  SDL_Surface* picture = nullptr;
  std::string sheet = WriteSheet("sheet.png");  // prefixed: not a PNG file itself
  EXPECT_FALSE(LoadPngIntoPicture(picture, sheet));
  EXPECT_FALSE(LoadPngIntoPicture(picture, (folder / "missing.png").string()));
  std::vector<uint8_t> bytes = SheetBytes(BackBuffer);
  bytes.erase(bytes.begin(), bytes.begin() + SheetPrefixBytes);
  WriteFile(folder / "plain.png", bytes);
  ASSERT_TRUE(LoadPngIntoPicture(picture, (folder / "plain.png").string()));
  EXPECT_EQ(picture->w, BackBuffer->w);
  SDL_FreeSurface(picture);
}

}  // namespace
