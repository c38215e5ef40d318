#include <SDL.h>
#include <gtest/gtest.h>

#include "graphics/display.h"
#include "common/resource_format.h"
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
  SDL_Surface* sheet = Display.SurfaceList[0].surface;
  ClearSurface(Display.BackBuffer, ColorToPixel(0x00FF00));
  SDL_Rect to{0, 0, 0, 0};
  SDL_BlitSurface(sheet, nullptr, Display.BackBuffer, &to);
  EXPECT_EQ(PixelAt(Display.BackBuffer, 0, 0), 0x07E0);  // grey: not copied
  EXPECT_EQ(PixelAt(Display.BackBuffer, 3, 1), 0x07E0);
  EXPECT_EQ(PixelAt(Display.BackBuffer, 1, 0), 0xF800);  // red: copied
}

TEST_F(SurfaceTest, ReloadKeepsEveryIndex) {
  int32_t first = LoadSurface(WriteSheet("a.png"));
  int32_t second = LoadSurface(WriteSheet("b.png"));
  ReloadAllSurfaces();
  ASSERT_EQ(Display.SurfaceList.size(), 2u);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  EXPECT_EQ(Display.SurfaceList[1].fileName, (folder / "b.png").string());
  EXPECT_EQ(Display.SurfaceList[1].surface->w, 4);
  EXPECT_EQ(PixelAt(Display.SurfaceList[1].surface, 1, 1), 0xF800);
}

// A sheet whose PNG header claims a picture of width x height; the rest is not image data.
std::vector<uint8_t> ClaimedSheet(uint32_t width, uint32_t height) {
  std::vector<uint8_t> bytes = SheetPrefix();
  const uint8_t start[] = {137, 80, 78, 71, 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  bytes.insert(bytes.end(), std::begin(start), std::end(start));
  for (uint32_t value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(uint8_t(value >> shift));
  bytes.resize(bytes.size() + 1000, 0);
  return bytes;
}

TEST_F(SurfaceTest, DamagedOrOversizedSheetsAreRefusedByNameAndReason) {
  std::filesystem::create_directories(folder / "folder.png");
  std::vector<uint8_t> tooLong(MaxSheetFileBytes + 1, 0);
  std::copy_n(SheetPrefix().begin(), SheetPrefixBytes, tooLong.begin());
  const std::pair<std::string, std::vector<uint8_t>> files[] = {
      {"short.png", std::vector<uint8_t>(SheetPrefixBytes, 7)},
      {"text.png", std::vector<uint8_t>(2000, 'x')},
      {"huge.png", ClaimedSheet(8192, 32767)},  // a kilobyte asking for a gigabyte
      {"over.png", ClaimedSheet(1024, 4097)},   // one row past the pixel limit
      {"at.png", ClaimedSheet(1024, 4096)},     // within it, but its chunks stop short
      {"long.png", tooLong},
  };
  const std::pair<std::string, std::string> expected[] = {
      {"short.png", "ファイルが短すぎます"},     {"text.png", "PNG データではありません"},
      {"huge.png", "画像の大きさが不正です"},    {"over.png", "画像の大きさが不正です"},
      {"at.png", "途中で切れています"},          {"long.png", "大きすぎます"},
      {"folder.png", "フォルダ"},                {"none.png", "見つかりません"},
  };
  for (const auto& [name, bytes] : files) WriteFile(folder / name, bytes);
  for (const auto& [name, reason] : expected) {
    const std::string path = (folder / name).string();
    try {
      LoadSurface(path);
      ADD_FAILURE() << path << " was accepted";
    } catch (const DisplayError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find(path), std::string::npos) << message;
      EXPECT_NE(message.find(reason), std::string::npos) << message;
    }
  }
  EXPECT_TRUE(Display.SurfaceList.empty());
}

TEST_F(SurfaceTest, APlainPictureIsNoSheetAndASheetNoPlainPicture) {
  const std::string sheet = WriteSheet("sheet.png");
  std::vector<uint8_t> bytes = SheetBytes(Display.BackBuffer);
  bytes.erase(bytes.begin(), bytes.begin() + SheetPrefixBytes);
  WriteFile(folder / "plain.png", bytes);
  const std::string plain = (folder / "plain.png").string();
  for (const auto& [path, sheetFile] : {std::pair{sheet, false}, std::pair{plain, true}})
    EXPECT_THROW(SDL_FreeSurface(LoadImageSurface(path, sheetFile)), DisplayError) << path;
  EXPECT_THROW(LoadImageSurface((folder / "missing.png").string(), false), DisplayError);
  SDL_Surface* picture = LoadImageSurface(plain, false);
  EXPECT_EQ(picture->w, Display.BackBuffer->w);
  EXPECT_EQ(picture->h, Display.BackBuffer->h);
  SDL_FreeSurface(picture);
  EXPECT_TRUE(Display.SurfaceList.empty()) << "the caller's own surfaces";
}

}  // namespace
