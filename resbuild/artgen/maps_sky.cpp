// The two layers near the boss: the citadel's brick masses over a cyclic sky of stars and
// cloud banks. Both are laid out by corners (see CornersAt) and wrap top to bottom.
#include "maps_kit.h"
#include "tiles_kit.h"

namespace {

// '#' brick, 'T' a round tower and 'G' the gate, each centred on its corner and standing
// on brick all round; '.' open sky. From the top: the great wall with its gate, a causeway
// to a round keep, bastions either side, the inner keep, a rampart across the sky, two lone
// towers, a breach in the outer wall.
const Layout CitadelCorners = ParseArt(R"(
###############
##T####G####T##
###############
####...#...####
###....#....###
##.....#.....##
#......#......#
......###......
.....##T##.....
......###......
.......#.......
.......#.......
...............
###.........###
#T#.........#T#
###.........###
###.........###
##...........##
...............
...............
....#######....
...##T###T##...
...#########...
....#######....
.....#...#.....
.....#...#.....
...............
...............
###############
###############
...............
...............
..#.........#..
.###.......###.
.#T#.......#T#.
.###.......###.
..#.........#..
...............
...............
...............
#####.....#####
######...######
#####.....#####
...............
...............
...............
..###.....###..
#####.....#####)");

bool IsBrick(char c) { return c != '.'; }

int FullBrickVariant(int column, int row) {
  constexpr int Weights[tiles::BrickFullCount] = {12, 2, 2, 2, 1, 1};  // plain first
  int roll = Hash(column, row, 300) % 20;
  for (int variant = 0; variant < tiles::BrickFullCount; ++variant)
    if ((roll -= Weights[variant]) < 0) return variant;
  return 0;
}

// Lays a tower's four tiles over the full brick round corner (column, row).
void PlaceTower(TileMap& map, const Layout& corners, int column, int row, int tower) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      int r = (row + dy + map.height) % map.height, c = column + dx;
      if (c < 0 || c >= static_cast<int>(corners[r].size()) || !IsBrick(corners[r][c]))
        throw BuildError("the citadel's tower at corner " + std::to_string(column) + "," +
                         std::to_string(row) + " does not stand on brick");
    }
  for (int part = 0; part < 4; ++part) {
    int c = column - 1 + part % 2;
    if (c >= 0 && c < map.width)
      CellAt(map, c, row - 1 + part / 2) = tiles::Tower + 4 * tower + part;
  }
}

}  // namespace

TileMap Stage01Citadel() {
  const Layout& corners = CitadelCorners;
  CheckLayout(corners, FieldColumns + 1, "citadel");
  TileMap map = MakeTileMap(FieldColumns, static_cast<int>(corners.size()));
  for (int row = 0; row < map.height; ++row)
    for (int column = 0; column < map.width; ++column) {
      int bits = CornersAt(corners, column, row, IsBrick);
      CellAt(map, column, row) =
          bits ? tiles::CornerTile(tiles::Brick, bits, FullBrickVariant(column, row)) : 0;
    }
  for (int row = 0; row < map.height; ++row)
    for (int column = 0; column <= map.width; ++column) {
      char c = corners[row][column];
      if (c == 'T' || c == 'G') PlaceTower(map, corners, column, row, c == 'T' ? 0 : 1);
    }
  return map;
}

namespace {

// Each row starts with its sky: N navy, D dusk, V violet, or a fade between two of them
// (n navy to dusk, v dusk to violet, u violet to dusk, m dusk to navy), then its corners,
// '#' inside a cloud bank. Cloud banks stay out of navy and fading rows.
const Layout CloudRows = ParseArt(R"(
N...............
N...............
N...............
N...............
n...............
D...............
D.........###...
D.......######..
D.##.....####...
D####..........#
D.###.........##
D...............
D......##.......
D.....#####.....
D...............
v...............
V...............
V...........##..
V.......#######.
V......########.
V##.....#####...
V###............
V####...........
V.##......###...
V........######.
V.........###...
V...............
V..###..........
V.######......##
V..######....###
V....##.......##
V...............
V..........##...
V...............
u...............
D...............
D...##..........
D..#####........
D...............
m...............)");

struct SkyRow {
  SkyTone tone;  // under its clouds
  int fadeTile;  // 0 unless the row fades
};

SkyRow SkyOf(char code) {
  switch (code) {
    case 'N':
      return {SkyTone::Navy, 0};
    case 'D':
      return {SkyTone::Dusk, 0};
    case 'V':
      return {SkyTone::Violet, 0};
    case 'n':
      return {SkyTone::Navy, tiles::NavyOverDusk};
    case 'v':
      return {SkyTone::Dusk, tiles::DuskOverViolet};
    case 'u':
      return {SkyTone::Violet, tiles::VioletOverDusk};
    case 'm':
      return {SkyTone::Dusk, tiles::DuskOverNavy};
  }
  throw BuildError(std::string("the cloud layer has no sky '") + code + "'");
}

int StarTile(SkyTone tone, int column, int row) {
  uint32_t roll = Hash(column, row, 310) % 8;
  int variant = roll < 4 ? 0 : roll < 7 ? 1 : 2;  // the flare is rare
  switch (tone) {
    case SkyTone::Navy:
      return tiles::NavyStars + variant;
    case SkyTone::Dusk:
      return tiles::DuskStars + variant;
    case SkyTone::Violet:
      return tiles::VioletStars + variant;
  }
  return tiles::NavyStars;
}

int CloudTile(SkyRow sky, int bits, int column, int row) {
  if (bits == tiles::AllCorners)
    return tiles::CloudFull + Hash(column, row, 311) % tiles::CloudFullCount;
  if (sky.fadeTile || sky.tone == SkyTone::Navy)
    throw BuildError("a cloud bank reaches the navy or fading sky in row " + std::to_string(row));
  return (sky.tone == SkyTone::Dusk ? tiles::CloudOverDusk : tiles::CloudOverViolet) + bits - 1;
}

}  // namespace

TileMap Stage01Clouds() {
  CheckLayout(CloudRows, FieldColumns + 2, "cloud");
  Layout corners;
  for (const std::string& row : CloudRows) corners.push_back(row.substr(1));
  TileMap map = MakeTileMap(FieldColumns, static_cast<int>(corners.size()));
  for (int row = 0; row < map.height; ++row) {
    SkyRow sky = SkyOf(CloudRows[row][0]);
    for (int column = 0; column < map.width; ++column) {
      int bits = CornersAt(corners, column, row, [](char c) { return c == '#'; });
      CellAt(map, column, row) = bits           ? CloudTile(sky, bits, column, row)
                                 : sky.fadeTile ? sky.fadeTile
                                                : StarTile(sky.tone, column, row);
    }
  }
  return map;
}
