// Checks the generated stage maps against how the game scrolls and draws them: every file
// parses, stage 1 places only drawn tiles, and each layer covers what it must cover at the
// frames it is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "image.h"
#include "index.h"

namespace {

constexpr int TileSize = 32, TilesPerRow = 20;
constexpr int ScreenColumns = 14, ScreenRows = 16;  // 448 pixels wide, 16 rows drawn

std::vector<uint8_t> ReadOutput(const std::string& name) {
  return ReadFileBytes(std::string(RESBUILD_OUTPUT_DIR) + "/" + name);
}

// The game's reader, and nothing in the file beyond what it reads.
MapGrid ReadMap(const std::string& name) {
  std::vector<uint8_t> bytes = ReadOutput(name);
  MapGrid map = ParseMapFile(bytes);
  if (EncodeMapFile(map) != bytes) throw BuildError(name + " is not the size its header says");
  return map;
}

// The map rows on screen for a scroll value, top first: the game truncates toward zero and
// wraps negative rows by the height.
std::vector<int> RowsOnScreen(int scrollY, int height) {
  std::vector<int> rows;
  for (int r = 0; r < ScreenRows; ++r)
    rows.push_back(((scrollY / TileSize + r) % height + height) % height);
  return rows;
}

int BridgeScroll(int frame) { return -2 * frame; }
int GroundScroll(int frame) { return static_cast<int>(std::lround(-0.66 * frame)) - 512; }

// The layers stage 1 draws and the frames they are drawn at.
constexpr int CitadelLayersFrom = 6100, GroundUntil = 6900, BridgeUntil = 5000;

class Stage01Maps : public testing::Test {
 protected:
  Image parts = LoadParts();
  MapGrid cloud = ReadMap(Stage1MapFiles[MapClouds]), citadel = ReadMap(Stage1MapFiles[MapBricks]);
  MapGrid ground = ReadMap(Stage1MapFiles[MapGround]), bridge = ReadMap(Stage1MapFiles[MapBridge]);

  static Image LoadParts() {
    std::vector<uint8_t> file = ReadOutput(StagePartsFileName);
    return DecodePng({file.begin() + SheetPrefixBytes, file.end()}, StagePartsFileName);
  }
  int TileCount() const { return parts.width / TileSize * (parts.height / TileSize); }

  // Key-coloured pixels of tile n: holes where what is drawn before shows through.
  int HolesIn(int n) const {
    Rgb key = PixelAt(parts, 0, 0);
    int holes = 0;
    for (int y = 0; y < TileSize; ++y)
      for (int x = 0; x < TileSize; ++x)
        holes +=
            PixelAt(parts, n % TilesPerRow * TileSize + x, n / TilesPerRow * TileSize + y) == key;
    return holes;
  }

  void ExpectOpaqueRow(const MapGrid& map, int row) const {
    for (int column = 0; column < ScreenColumns; ++column) {
      int n = map.Cell(column % map.width, row);
      ASSERT_GT(n, 0) << "empty cell at column " << column << ", row " << row;
      ASSERT_EQ(HolesIn(n), 0) << "tile " << n << " has holes, at column " << column << ", row "
                               << row;
    }
  }

  int CellsShown(const MapGrid& map, int scrollY) const {
    int shown = 0;
    for (int row : RowsOnScreen(scrollY, map.height))
      for (int column = 0; column < ScreenColumns; ++column)
        shown += map.Cell(column % map.width, row) > 0;
    return shown;
  }
};

}  // namespace

TEST(StageMapGrids, EveryMapParsesWithItsWrapCopies) {
  std::vector<const char*> names(Stage1MapFiles.begin(), Stage1MapFiles.end());
  names.insert(names.end(), Stage2MapFiles.begin(), Stage2MapFiles.end());
  for (const char* name : names) {
    SCOPED_TRACE(name);
    MapGrid map = ReadMap(name);
    for (int row = 0; row <= map.height; ++row) EXPECT_EQ(map.Cell(map.width, row), map.Cell(0, row));
    for (int column = 0; column <= map.width; ++column)
      EXPECT_EQ(map.Cell(column, map.height), map.Cell(column, 0));
  }
}

TEST(StageMapGrids, Stage2MapsUseTheFirstFortySpriteTiles) {
  for (const char* name : Stage2MapFiles) {
    SCOPED_TRACE(name);
    MapGrid map = ReadMap(name);
    EXPECT_GE(map.width, ScreenColumns);
    for (int n : map.cells) {
      EXPECT_GE(n, 0);
      EXPECT_LT(n, 40);
    }
  }
}

TEST_F(Stage01Maps, LayersPlaceOnlyDrawnTiles) {
  EXPECT_EQ(HolesIn(0), TileSize * TileSize) << "tile 0 is the key colour throughout";
  for (const MapGrid* map : {&cloud, &citadel, &ground, &bridge}) {
    EXPECT_GE(map->width, ScreenColumns);
    std::set<int> used(map->cells.begin(), map->cells.end());
    for (int n : used) {
      SCOPED_TRACE(n);
      ASSERT_GE(n, 0);
      ASSERT_LT(n, TileCount());
      if (n > 0) {
        EXPECT_LT(HolesIn(n), TileSize * TileSize) << "the tile is blank";
      }
    }
  }
}

TEST_F(Stage01Maps, CloudSkyCoversTheWholeField) {
  // It is drawn first, over whatever the last frame left.
  for (int row = 0; row < cloud.height; ++row) ExpectOpaqueRow(cloud, row);
}

TEST_F(Stage01Maps, GroundCoversTheFieldUntilTheCitadelIsDrawnUnderIt) {
  std::set<int> rows;
  for (int frame = 0; frame < CitadelLayersFrom; ++frame)
    for (int row : RowsOnScreen(GroundScroll(frame), ground.height)) rows.insert(row);
  for (int row : rows) ExpectOpaqueRow(ground, row);
}

TEST_F(Stage01Maps, GroundHasFallenAwayBeforeItStopsBeingDrawn) {
  EXPECT_EQ(CellsShown(ground, GroundScroll(GroundUntil - 1)), 0);
  EXPECT_GT(CellsShown(ground, GroundScroll(CitadelLayersFrom + 200)), 0);
  EXPECT_LT(CellsShown(ground, GroundScroll(CitadelLayersFrom + 200)), ScreenColumns * ScreenRows);
}

TEST_F(Stage01Maps, BridgeLaunchesTheShipAndLeavesNothingBehind) {
  // A deck under the ship's start at (191, 300), structure over most of the first screen.
  int shipRow = RowsOnScreen(BridgeScroll(0), bridge.height)[(300 + TileSize) / TileSize];
  EXPECT_GT(bridge.Cell(191 / TileSize, shipRow), 0);
  EXPECT_EQ(HolesIn(bridge.Cell(191 / TileSize, shipRow)), 0);
  EXPECT_GT(CellsShown(bridge, BridgeScroll(0)), ScreenColumns * ScreenRows / 2);
  // Gone from the screen before it stops being drawn, and never round again on the way.
  EXPECT_EQ(CellsShown(bridge, BridgeScroll(BridgeUntil - 1)), 0);
  int rowsPassed = -BridgeScroll(BridgeUntil - 1) / TileSize + ScreenRows;
  EXPECT_GE(bridge.height, rowsPassed);
}
