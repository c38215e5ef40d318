// Writes the background layers of both stages. Stage 2's layers draw their tiles from the
// sprite sheet; only their shape matters here, so they are small patterns of tiles 0..39.
#include <cstdint>
#include <limits>

#include "artgen.h"
#include "common/resource_format.h"
#include "maps_kit.h"
#include "tiles_kit.h"

TileMap MakeTileMap(int width, int height) {
  return {width, height, std::vector<int>(static_cast<size_t>(width) * height, 0)};
}

int& CellAt(TileMap& map, int column, int row) {
  row = (row % map.height + map.height) % map.height;
  return map.cells[static_cast<size_t>(row) * map.width + column];
}

void CheckLayout(const Layout& layout, int width, const std::string& name) {
  for (const std::string& row : layout)
    if (static_cast<int>(row.size()) != width)
      throw BuildError(name + ": layout row \"" + row + "\" is not " + std::to_string(width) +
                       " wide");
}

void WriteTileMap(const TileMap& map, const std::filesystem::path& file) {
  auto word = [&](int value) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
      throw BuildError(file.string() + ": " + std::to_string(value) + " does not fit 16 bits");
    return static_cast<int16_t>(value);
  };
  MapGrid grid{word(map.width), word(map.height), {}};
  for (int row = 0; row <= map.height; ++row)
    for (int column = 0; column <= map.width; ++column)
      grid.cells.push_back(
          word(map.cells[static_cast<size_t>(row % map.height) * map.width + column % map.width]));
  WriteFileBytes(file, EncodeMapFile(grid));
}

namespace {

// A sprinkle of tiles first..first+count-1, `percentEmpty` of the cells left empty.
TileMap PatternMap(int seed, int percentEmpty, int first, int count) {
  TileMap map = MakeTileMap(FieldColumns, 16);
  for (int row = 0; row < map.height; ++row)
    for (int column = 0; column < map.width; ++column) {
      uint32_t roll = Hash(column, row, seed);
      if (static_cast<int>(roll % 100) >= percentEmpty)
        CellAt(map, column, row) = first + static_cast<int>(roll / 100 % count);
    }
  return map;
}

}  // namespace

void WriteStageMaps(const std::filesystem::path& folder) {
  WriteTileMap(Stage01Clouds(), folder / Stage1MapFiles[MapClouds]);
  WriteTileMap(Stage01Citadel(), folder / Stage1MapFiles[MapBricks]);
  WriteTileMap(Stage01Ground(), folder / Stage1MapFiles[MapGround]);
  WriteTileMap(Stage01Bridge(), folder / Stage1MapFiles[MapBridge]);
  WriteTileMap(PatternMap(201, 70, 1, 15), folder / Stage2MapFiles[MapBlockUp]);
  WriteTileMap(PatternMap(202, 70, 1, 15), folder / Stage2MapFiles[MapBlockDown]);
  WriteTileMap(PatternMap(203, 80, 16, 8), folder / Stage2MapFiles[MapCloudFast]);
  WriteTileMap(PatternMap(204, 60, 16, 8), folder / Stage2MapFiles[MapCloudSlow]);
  WriteTileMap(PatternMap(205, 0, 24, 16), folder / Stage2MapFiles[MapBlueBack]);
}
