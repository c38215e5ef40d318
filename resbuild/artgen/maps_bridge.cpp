// The top layer at the start of stage 1: the launch deck the ship leaves from, the truss
// bridge beyond it, then fewer and fewer structures over open air. Drawn as one long
// picture, bottom row first on screen; cells name what stands there, and each tile follows
// from its cell and its neighbours (deck edges, girder ends, runway halves).
#include <algorithm>
#include <array>

#include "maps_kit.h"
#include "tiles_kit.h"

namespace {

// The layer is read from its last rows toward its first, starting with map rows 0..15 on
// screen (row 0 just above it): the row k rows from the start is map row 15 - k, wrapping.
// Its height covers the 312 rows that pass before the layer is switched off, so it never
// wraps on screen.
constexpr int BridgeRows = 328;
constexpr int FirstScreenRows = 16;

// Cells, from the start of the stage (row 0 at the bottom of the first screen) upward:
//   #  deck plating      A red lamp plate   H hazard plate   p pipe plate
//   *  deck edge with a guard lamp          R V O S  runway: plain, chevron, lights, shuttle
//   w  catwalk           W catwalk with lamps                x  catwalk over a girder
//   |  girder            -  girder across   +  girder node   o 8  plate girder across, down
//   B  mast head         .  open air
// The launch deck (rows 0-8, the shuttle in row 5), catwalks and girders leaving it, and a
// station on the bridge (rows 23-26).
const Layout LaunchBay = ParseArt(R"(
...W|....|W...
...w|....|w...
..##########..
..*#A#HH#A#*..
..#pp#HH#pp#..
..##########..
...w|....|w...
...w|....|w...
...W|....|W...
---x+----+x---
...w|....|w...
...w|....|w...
...W|....|W...
...w|....|w...
+--x+----+x--+
|..w|....|w..|
|..w|....|w..|
|..W|....|W..|
|..w|....|w..|
|..w|....|w..|
|.####RR####.|
|.*#A#OO#A#*.|
+-##H#VV#H##-+
|.#HHHSSHHH#.|
|.*#H#RR#H#*.|
+-###AOOA###-+
|.#pp#RR#pp#.|
|.*###OO###*.|
|.####RR####.|)");

// The bridge goes on with platforms at the sides, then thins out.
const Layout OuterSpans = ParseArt(R"(
.......B......
..............
....|.........
....|....|....
..-o+oooo+o-..
....|....|....
....|....|....
...W|....|....
...w|....|w...
---x+----+x---
...w|....|W...
...w|....|w###
...W|....|w*##
...w|....|w###
...w|....|w...
---x+----+x---
...w|....|w...
##.W|....|W...
#*.w|....|w...
##.w|....|w...
...w|....|w...
---x+-oo-+x---
...w|....|w...
...w|....|w...
...W|....|W...
...w|....|w...
...w|....|w...
---x+----+x---
...w|....|w...
...w|....|w...
...W|....|W...
...w|....|w...
...w|....|w...)");

// Structures passing now and then once the bridge is behind.
const Layout Station = ParseArt(R"(
....#####.....
----#AHA#-----
....#####.....)");
const Layout Truss = ParseArt(R"(
..|...........
..|...........
..+-------+...
..|.......|...
..........|...)");
const Layout PlateBeam = ParseArt("oooooooooooooo");
const Layout Masts = ParseArt("..B........B..");
const Layout Mast = ParseArt(".........B....");
const Layout BrokenSpan = ParseArt(R"(
......|.......
......|.......
------+.......)");
const Layout Landing = ParseArt(R"(
........###...
........#A*...
........###...)");

struct Placement {
  int row;  // of the part's bottom, counted from the start
  const Layout* part;
};

constexpr std::array Placements{
    Placement{0, &LaunchBay}, Placement{29, &OuterSpans},  Placement{72, &Masts},
    Placement{80, &Station},  Placement{92, &Truss},       Placement{104, &PlateBeam},
    Placement{113, &Mast},    Placement{126, &Station},    Placement{141, &Truss},
    Placement{158, &Mast},    Placement{175, &BrokenSpan}, Placement{196, &PlateBeam},
    Placement{214, &Masts},   Placement{240, &Landing},    Placement{268, &Mast},
};

// Rows counted from the start; beyond the picture the first and last rows go on.
struct Picture {
  Layout rows;
  char At(int column, int row) const {
    column = std::clamp(column, 0, FieldColumns - 1);
    return rows[std::clamp(row, 0, BridgeRows - 1)][column];
  }
};

Picture Compose() {
  Picture picture{Layout(BridgeRows, std::string(FieldColumns, '.'))};
  for (const Placement& placement : Placements) {
    const Layout& part = *placement.part;
    CheckLayout(part, FieldColumns, "bridge");
    for (size_t line = 0; line < part.size(); ++line)
      picture.rows[placement.row + part.size() - 1 - line] = part[line];
  }
  return picture;
}

bool IsRunway(char c) { return c == 'R' || c == 'V' || c == 'O' || c == 'S'; }
bool IsDeck(char c) {
  return IsRunway(c) || c == '#' || c == 'A' || c == 'H' || c == 'p' || c == '*';
}
bool IsCatwalk(char c) { return c == 'w' || c == 'W' || c == 'x'; }

// The sides a cell joins girders on.
int GirderSides(char c) {
  switch (c) {
    case '|':
    case '8':
      return tiles::North | tiles::South;
    case '-':
    case 'o':
    case 'x':
      return tiles::East | tiles::West;
    case '+':
      return tiles::North | tiles::East | tiles::South | tiles::West;
  }
  return IsDeck(c) ? tiles::North | tiles::East | tiles::South | tiles::West : 0;
}

constexpr struct {
  int side, opposite, dx, dy;  // dy counts rows up the picture
} Sides[] = {{tiles::North, tiles::South, 0, 1},
             {tiles::East, tiles::West, 1, 0},
             {tiles::South, tiles::North, 0, -1},
             {tiles::West, tiles::East, -1, 0}};

char Neighbour(const Picture& picture, int column, int row, int side) {
  for (const auto& s : Sides)
    if (s.side == side) return picture.At(column + s.dx, row + s.dy);
  return '.';
}

std::string Where(int column, int row) {
  return " at column " + std::to_string(column) + ", row " + std::to_string(row);
}

int GirderTile(const Picture& picture, int column, int row) {
  char c = picture.At(column, row);
  int arms = 0;
  for (const auto& s : Sides)
    if (GirderSides(c) & s.side &&
        GirderSides(Neighbour(picture, column, row, s.side)) & s.opposite)
      arms |= s.side;
  uint32_t roll = Hash(column, row, 400);
  if (c == 'o' && arms == (tiles::East | tiles::West)) return tiles::StrutAcross + roll % 2;
  if (c == '8' && arms == (tiles::North | tiles::South)) return tiles::StrutDown + roll % 2;
  if (arms == (tiles::East | tiles::West)) return tiles::GirderAcross;
  if (arms == (tiles::North | tiles::South)) return tiles::GirderDown;
  if (arms == 15) return tiles::GirderCross;
  for (int i = 0; i < tiles::GirderNodeShapeCount; ++i)
    if (tiles::GirderNodeShapes[i] == arms) return tiles::GirderNode + i;
  throw BuildError("a girder joins nothing" + Where(column, row));
}

int CatwalkTile(const Picture& picture, int column, int row) {
  char c = picture.At(column, row);
  char north = Neighbour(picture, column, row, tiles::North);
  char south = Neighbour(picture, column, row, tiles::South);
  if (!IsCatwalk(south) && !IsDeck(south))
    throw BuildError("a catwalk hangs free" + Where(column, row));
  if (c == 'x') return tiles::CatwalkOverGirder;
  if (!IsCatwalk(north) && !IsDeck(north)) return tiles::CatwalkEnd;
  if (c == 'W') return tiles::Catwalk + 1;
  return Hash(column, row, 401) % 5 == 0 ? tiles::Catwalk + 2 : tiles::Catwalk;
}

int RunwayTile(const Picture& picture, int column, int row, int open) {
  int run = 0;
  while (column - run > 0 && IsRunway(picture.At(column - run - 1, row))) ++run;
  int half = run % 2;
  constexpr char Markings[] = {'R', 'V', 'O', 'S'};
  int marking =
      static_cast<int>(std::find(Markings, Markings + 4, picture.At(column, row)) - Markings);
  if (open == tiles::North)
    marking = tiles::RunwayEnd;
  else if (open)
    throw BuildError("the runway is open to the side" + Where(column, row));
  return tiles::Runway + 2 * marking + half;
}

// An edge where girders or a catwalk run out from under the deck.
int JoinedEdgeTile(const Picture& picture, int column, int row, int open) {
  char beyond = Neighbour(picture, column, row, open);
  if (IsCatwalk(beyond) && open == tiles::North) return tiles::CatwalkFromDeck;
  if (IsCatwalk(beyond) && open == tiles::South) return tiles::CatwalkUnderDeck;
  for (int i = 0; i < 4; ++i)
    if (Sides[i].side == open && GirderSides(beyond) & Sides[i].opposite)
      return tiles::GirderIntoDeck + i;
  return 0;
}

int DeckTile(const Picture& picture, int column, int row) {
  char c = picture.At(column, row);
  int open = 0;
  for (const auto& s : Sides)
    if (!IsDeck(Neighbour(picture, column, row, s.side))) open |= s.side;
  if (IsRunway(c)) return RunwayTile(picture, column, row, open);
  if (open == 0) {
    if (c == 'A') return tiles::LampPlate;
    if (c == 'H') return tiles::HazardPlate;
    if (c == 'p') return tiles::PipeOverPlate;
    if (c == '*') throw BuildError("a guard lamp is not on an edge" + Where(column, row));
    constexpr int Plating[] = {tiles::Plate, tiles::Plate, tiles::Plate, tiles::VentPlate,
                               tiles::HatchPlate};
    return Plating[Hash(column, row, 402) % 5];
  }
  if (c == '*' && (open == tiles::West || open == tiles::East))
    return tiles::DeckRailLamp + (open == tiles::East ? 1 : 0);
  if (c != '#') throw BuildError("only plain plating has edges" + Where(column, row));
  if (int joined = JoinedEdgeTile(picture, column, row, open)) return joined;
  if (open == tiles::North) return tiles::DeckTop;
  if (open == tiles::South) return tiles::DeckBottom;
  for (int i = 0; i < tiles::DeckEdgeShapeCount; ++i)
    if (tiles::DeckEdgeShapes[i] == open) return tiles::DeckEdge + i;
  throw BuildError("a deck is open on opposite sides" + Where(column, row));
}

int BridgeTile(const Picture& picture, int column, int row) {
  char c = picture.At(column, row);
  if (c == '.') return 0;
  if (c == 'B') return tiles::Beacon;
  if (IsDeck(c)) return DeckTile(picture, column, row);
  if (IsCatwalk(c)) return CatwalkTile(picture, column, row);
  if (GirderSides(c)) return GirderTile(picture, column, row);
  throw BuildError(std::string("the bridge has no cell '") + c + "'" + Where(column, row));
}

}  // namespace

TileMap Stage01Bridge() {
  Picture picture = Compose();
  TileMap map = MakeTileMap(FieldColumns, BridgeRows);
  for (int row = 0; row < BridgeRows; ++row)
    for (int column = 0; column < FieldColumns; ++column)
      CellAt(map, column, FirstScreenRows - 1 - row) = BridgeTile(picture, column, row);
  return map;
}
