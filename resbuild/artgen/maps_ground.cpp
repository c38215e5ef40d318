// The ground far below: farmland with villages along its roads, woods, a river winding
// through it all, and at its far end a barren rim where it falls away, the river pouring
// over. The bottom rows are seen first.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "maps_kit.h"
#include "tiles_kit.h"

namespace {

// The layer starts with its last 16 rows on screen and moves down 0.66 pixels a frame:
// map row 19 is the last that shows before frame 6100, when the citadel's layers start to
// be drawn under it, so rows 19.. are all ground. The rim (row 18) comes into view at about
// frame 6110 and has left the screen by 6885; above it is nothing, showing the citadel
// and the sky until the layer stops being drawn at 6900.
constexpr int GroundRows = 160;
constexpr int RimRow = 18;
constexpr int LastRow = GroundRows - 1;

// The river's course from the bottom row up: it keeps its column until each of these rows,
// where it runs across to the column given. It reaches the rim straight.
struct Bend {
  int row, toColumn;
};
constexpr int RiverStart = 9;
constexpr Bend RiverBends[] = {{151, 7}, {138, 10}, {122, 6}, {105, 8},
                               {89, 4},  {72, 6},   {54, 9},  {35, 7}};

constexpr int RoadRows[] = {146, 115, 96, 64, 45};  // each crosses the whole field
struct Lane {
  int column, fromRow, toRow;  // joins two roads
};
constexpr Lane Lanes[] = {{3, 115, 146}, {11, 96, 115}, {2, 64, 96}, {12, 45, 64}};

// Per cell, the sides its river and its road leave by; per corner, the large field or wood
// it lies in: 'w' wheat, 'g' greens, 'f' wood, '.' none.
struct Links {
  std::vector<std::array<int, FieldColumns>> river, road;
  Layout regions;
};

int SideTowards(int fromColumn, int toColumn) {
  return toColumn > fromColumn ? tiles::East : tiles::West;
}

void TraceRiver(Links& links) {
  int column = RiverStart;
  const Bend* bend = std::begin(RiverBends);
  for (int row = LastRow; row > RimRow; --row) {
    if (bend != std::end(RiverBends) && bend->row == row) {
      int to = bend->toColumn, step = to > column ? 1 : -1;
      links.river[row][column] = tiles::South | SideTowards(column, to);
      for (int c = column + step; c != to; c += step)
        links.river[row][c] = tiles::East | tiles::West;
      links.river[row][to] = tiles::North | SideTowards(to, column);
      column = to;
      ++bend;
    } else {
      links.river[row][column] = tiles::North | tiles::South;
    }
  }
  links.river[RimRow][column] = tiles::South;
}

void LayRoads(Links& links) {
  for (int row : RoadRows)
    for (int column = 0; column < FieldColumns; ++column)
      links.road[row][column] |= tiles::East | tiles::West;
  for (const Lane& lane : Lanes)
    for (int row = lane.fromRow; row <= lane.toRow; ++row)
      links.road[row][lane.column] |=
          (row > lane.fromRow ? tiles::North : 0) | (row < lane.toRow ? tiles::South : 0);
}

// Belts of land from the rim: barren, heath, woodland, then farmland with villages along
// the roads down to the start.
constexpr int BarrenUntil = 23, HeathUntil = 50, WoodlandUntil = 90, VillagesUntil = 152;

// What grows where, weighted by repeats; rows are map rows, nearest the rim first.
struct Zone {
  int untilRow;
  std::vector<int> tiles;
};

const std::vector<Zone>& Zones() {
  using namespace tiles;
  static const std::vector<Zone> zones = {
      {BarrenUntil,
       {Pebbles, Pebbles, Pebbles, Pebbles + 1, Pebbles + 1, Pebbles + 1, Boulders, Boulders,
        Pebbles, Pebbles + 1, Boulders, Crater}},
      {HeathUntil,
       {Pebbles, Pebbles, Pebbles + 1, Pebbles + 1, Boulders, FieldPlot + 4, FieldPlot + 5,
        FieldPlot + 6, Copse}},
      {WoodlandUntil,
       {Pebbles, Pebbles + 1, Pebbles + 1, Copse, Copse + 1, FieldPlot + 4, FieldPlot + 6,
        FieldPlot + 7}},
      {GroundRows,
       {FieldPlot, FieldPlot + 1, FieldPlot + 2, FieldPlot + 3, FieldPlot + 4, FieldPlot + 5,
        FieldPlot + 6, FieldPlot + 7, FieldPlot, FieldPlot + 2, Copse, Copse + 1, Pebbles}},
  };
  return zones;
}

int LandTile(int column, int row) {
  for (const Zone& zone : Zones())
    if (row < zone.untilRow) return zone.tiles[Hash(column, row, 500) % zone.tiles.size()];
  return tiles::Pebbles;
}

// Large fields and woods, dropped where they clear the river, the roads and each other by a
// corner all round, so no tile mixes two of them.
struct RegionKind {
  char code;
  int untilRow;  // placed above this map row only
  int weight;
};
constexpr RegionKind RegionKinds[] = {{'f', GroundRows, 4},
                                      {'w', GroundRows, 3},
                                      {'g', GroundRows, 3},
                                      {'f', WoodlandUntil, 6}};  // woods crowd the woodland
constexpr int FirstRegionRow = RimRow + 3, RegionAttempts = 1500;

bool RegionFits(const Links& links, int left, int top, int right, int bottom) {
  for (int row = top - 1; row <= bottom + 1; ++row)
    for (int column = std::max(left - 1, 0); column <= std::min(right + 1, FieldColumns); ++column)
      if (links.regions[row][column] != '.') return false;
  for (int row = top - 1; row <= bottom; ++row)
    for (int column = std::max(left - 1, 0); column <= std::min(right, FieldColumns - 1); ++column)
      if (links.river[row][column] || links.road[row][column]) return false;
  return true;
}

char RegionAt(int row, int roll) {
  int total = 0;
  for (const RegionKind& kind : RegionKinds) total += row < kind.untilRow ? kind.weight : 0;
  roll %= total;
  for (const RegionKind& kind : RegionKinds)
    if (row < kind.untilRow && (roll -= kind.weight) < 0) return kind.code;
  return 'f';
}

void PlaceRegions(Links& links) {
  for (int attempt = 0; attempt < RegionAttempts; ++attempt) {
    int width = 2 + Hash(attempt, 0, 510) % 5, height = 2 + Hash(attempt, 1, 510) % 5;
    int left = Hash(attempt, 2, 510) % (FieldColumns + 1);
    int top = FirstRegionRow + Hash(attempt, 3, 510) % (LastRow - 1 - FirstRegionRow - height);
    int right = std::min(left + width - 1, FieldColumns), bottom = top + height - 1;
    if (!RegionFits(links, left, top, right, bottom)) continue;
    char code = RegionAt(top, Hash(attempt, 4, 510));
    for (int row = top; row <= bottom; ++row)
      for (int column = left; column <= right; ++column) links.regions[row][column] = code;
  }
}

int RegionTile(const Links& links, int column, int row) {
  for (char code : {'w', 'g', 'f'}) {
    int bits = CornersAt(links.regions, column, row, [&](char c) { return c == code; });
    if (!bits) continue;
    int first = code == 'w' ? tiles::Wheatfield : code == 'g' ? tiles::Greenfield : tiles::Forest;
    int variant = code == 'f' ? Hash(column, row, 511) % tiles::ForestFullCount : 0;
    return tiles::CornerTile(first, bits, variant);
  }
  return 0;
}

bool BesideRoad(const Links& links, int column, int row) {
  return row > RimRow + 1 && row < LastRow &&
         (links.road[row - 1][column] || links.road[row + 1][column]);
}

int RiverTile(int sides) {
  for (int i = 0; i < tiles::RiverShapeCount; ++i)
    if (tiles::RiverShapes[i] == sides) return tiles::River + i;
  throw BuildError("the river has no tile for sides " + std::to_string(sides));
}

int CrossingTile(int river, int road, int column, int row) {
  if (river == (tiles::North | tiles::South) && road == (tiles::East | tiles::West))
    return tiles::BridgeOverRiverDown;
  if (river == (tiles::East | tiles::West) && road == (tiles::North | tiles::South))
    return tiles::BridgeOverRiverAcross;
  throw BuildError("a road meets the river off the straight at column " + std::to_string(column) +
                   ", row " + std::to_string(row));
}

int GroundTile(const Links& links, int column, int row) {
  int river = links.river[row][column], road = links.road[row][column];
  if (row == RimRow) {
    constexpr int Rims[] = {tiles::GroundEdge, tiles::GroundEdgeMore, tiles::GroundEdgeMore + 1};
    return river ? tiles::Waterfall : Rims[Hash(column, row, 501) % 3];
  }
  if (river && road) return CrossingTile(river, road, column, row);
  if (river) return RiverTile(river);
  if (road) return tiles::Road + road - 1;
  if (int region = RegionTile(links, column, row)) return region;
  bool villageBelt = row >= WoodlandUntil && row < VillagesUntil;
  if (villageBelt && BesideRoad(links, column, row) && Hash(column, row, 502) % 3)
    return tiles::Village + Hash(column, row, 503) % tiles::VillageCount;
  return LandTile(column, row);
}

}  // namespace

TileMap Stage01Ground() {
  Links links{std::vector<std::array<int, FieldColumns>>(GroundRows),
              std::vector<std::array<int, FieldColumns>>(GroundRows),
              Layout(GroundRows, std::string(FieldColumns + 1, '.'))};
  TraceRiver(links);
  LayRoads(links);
  PlaceRegions(links);
  TileMap map = MakeTileMap(FieldColumns, GroundRows);
  for (int row = RimRow; row < GroundRows; ++row)
    for (int column = 0; column < FieldColumns; ++column)
      CellAt(map, column, row) = GroundTile(links, column, row);
  return map;
}
