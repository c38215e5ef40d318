#include <SDL.h>
#include <gtest/gtest.h>

#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "platform/imgui_layer.h"
#include "stage/stage.h"
#include "stage/stage_state.h"
#include "support/headless.h"

namespace {

// Maps over a tile image whose tile n is one solid colour, n + 1.
class MapTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessDisplay();
    folder = ScratchFolder();
    SDL_Surface* tiles = SDL_CreateRGBSurfaceWithFormat(0, 640, 64, 16, SDL_PIXELFORMAT_RGB565);
    for (int n = 0; n < 40; ++n) {
      SDL_Rect cell{n % 20 * 32, n / 20 * 32, 32, 32};
      SDL_FillRect(tiles, &cell, Uint32(n + 1));
    }
    SDL_SetColorKey(tiles, SDL_TRUE, 1);  // tile 0's colour
    Display.SurfaceList.push_back({"tiles", tiles});
    ClearBackBuffer();
  }
  void TearDown() override { StopHeadlessDisplay(); }

  std::string WriteMap(const std::string& name, int16_t width, int16_t height,
                       const std::vector<int16_t>& cells) {
    std::vector<uint8_t> bytes;
    auto word = [&](int16_t v) {
      bytes.push_back(uint8_t(v & 0xFF));
      bytes.push_back(uint8_t((v >> 8) & 0xFF));
    };
    word(width);
    word(height);
    word(0);
    for (int16_t cell : cells) word(cell);
    std::string path = (folder / name).string();
    WriteFile(path, bytes);
    return path;
  }

  // The tile number shown at a screen point (0 where nothing was drawn).
  int TileAt(int x, int y) { return PixelAt(Display.BackBuffer, x, y) - 1; }

  std::filesystem::path folder;
};

TEST_F(MapTest, LayersWrapAndNeverShowTheirLastColumnOrRow) {
  // 3 x 2 shown, stored as 4 x 3.
  LoadMapLayer(WriteMap("a.map.dat", 3, 2, {1, 2, 3, 39, 4, 5, 6, 39, 39, 39, 39, 39}), 0, 0);
  DrawMapLayer(0, 0, 0);
  for (int c = 0; c < 14; ++c) {
    EXPECT_EQ(TileAt(32 * c + 5, 5), 4 + c % 3) << c;   // screen row 1 shows map row 1
    EXPECT_EQ(TileAt(32 * c + 5, 37), 1 + c % 3) << c;  // then row 0 again
  }
  ClearBackBuffer();
  DrawMapLayer(0, 0, -40);  // first row at y = -24, from the map's last row
  EXPECT_EQ(TileAt(5, 0), 4);
  EXPECT_EQ(TileAt(5, 7), 4);
  EXPECT_EQ(TileAt(5, 8), 1);
}

TEST_F(MapTest, TilesComeFromTheirGridCellAndZeroLeavesTheScreen) {
  LoadMapLayer(WriteMap("b.map.dat", 2, 1, {21, 0, 0, 21, 0, 0}), 1, 0);
  ClearSurface(Display.BackBuffer, 0x1234);
  DrawMapLayer(1, 0, 0);
  EXPECT_EQ(TileAt(5, 5), 21);
  EXPECT_EQ(PixelAt(Display.BackBuffer, 37, 5), 0x1234);
}

TEST_F(MapTest, DamagedOrMissingMapsAreReportedAndSkipped) {
  LoadMapLayer(WriteMap("good.map.dat", 1, 1, {7, 7, 7, 7}), 2, 0);
  LoadMapLayer((folder / "none.map.dat").string(), 2, 0);
  EXPECT_NE(Imgui.LastMessageBoxText.find("none.map.dat が見つかりません"), std::string::npos);
  EXPECT_EQ(Play.MapLayers[2].width, 1) << "a missing file leaves the layer as it was";

  for (auto [name, width, height, cells] :
       {std::tuple{"short.map.dat", 5, 5, std::vector<int16_t>{1, 2, 3}},
        std::tuple{"flat.map.dat", 0, 4, std::vector<int16_t>{1, 2, 3, 4, 5}},
        std::tuple{"negative.map.dat", 3, -2, std::vector<int16_t>{}}}) {
    LoadMapLayer(WriteMap(name, int16_t(width), int16_t(height), cells), 2, 0);
    EXPECT_NE(Imgui.LastMessageBoxText.find(name), std::string::npos);
    ClearBackBuffer();
    DrawMapLayer(2, 0, -100);  // not drawn, and no division by zero
    EXPECT_EQ(TileAt(5, 5), -1);
  }
  WriteFile(folder / "tiny.map.dat", {1, 0});
  LoadMapLayer((folder / "tiny.map.dat").string(), 2, 0);
  EXPECT_NE(Imgui.LastMessageBoxText.find("tiny.map.dat"), std::string::npos);
}

}  // namespace
