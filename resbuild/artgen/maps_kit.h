// Map layers as the game reads them: rows of tile numbers that wrap both ways. The game
// reads a stage 1 layer from its last rows toward its first as the stage goes on, so the
// builders below lay each layer out top to bottom as it passes down the screen.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct TileMap {
  int width = 0, height = 0;
  std::vector<int> cells;  // row by row
};

TileMap MakeTileMap(int width, int height);
int& CellAt(TileMap& map, int column, int row);  // the row wraps

// The .map.dat file: width, height, a zero, then every row with its first column repeated
// after the last and the first row repeated after the last.
void WriteTileMap(const TileMap& map, const std::filesystem::path& file);

// Text layouts, one string per row, one character per cell or corner.
using Layout = std::vector<std::string>;

// Throws unless every row of the layout is `width` characters; `name` names it.
void CheckLayout(const Layout& layout, int width, const std::string& name);

// Dual-grid autotiling: the corners of tile (column, row) are characters (column, row) to
// (column + 1, row + 1) of `corners` (rows wrap), bit set where `inside` holds.
template <typename Inside>
int CornersAt(const Layout& corners, int column, int row, Inside inside) {
  int height = static_cast<int>(corners.size()), below = (row + 1) % height;
  return (inside(corners[row][column]) ? 1 : 0) | (inside(corners[row][column + 1]) ? 2 : 0) |
         (inside(corners[below][column]) ? 4 : 0) | (inside(corners[below][column + 1]) ? 8 : 0);
}

// The game's play field is 14 tiles across.
constexpr int FieldColumns = 14;

TileMap Stage01Bridge();
TileMap Stage01Ground();
TileMap Stage01Citadel();
TileMap Stage01Clouds();
