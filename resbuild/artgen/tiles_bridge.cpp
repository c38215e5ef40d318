// The launch bridge: plated decks whose open edges fall away into holes, the two-tile
// runway, catwalks and the trusses that carry them, all with holes where the ground below
// shows through.
#include <algorithm>
#include <array>

#include "tiles_kit.h"

namespace {

// Draws `part` on a tile of its own and lays it over `tile`, which shows through its holes.
template <typename Part>
void LaidOver(Image& tile, Part part) {
  Image top = MakeImage(TileSize, TileSize, pal::Void);
  part(top);
  Overlay(tile, top, pal::Void);
}

// --- deck plating ---

void VentPlate(Image& tile) {
  Plate(tile);
  for (int y = 8; y <= 20; y += 4) Recess(tile, 7, y, 18, 3, pal::MetalDark);
}

void HatchPlate(Image& tile) {
  Plate(tile);
  Recess(tile, 7, 7, 18, 18, pal::MetalShade);
  FillRect(tile, 9, 15, 14, 1, pal::MetalDark);
  FillRect(tile, 9, 16, 14, 1, pal::MetalBase);
}

void LampPlate(Image& tile) {
  Plate(tile);
  Lamp(tile, 15, 15, 5, RedGlow);
  FillRect(tile, 13, 13, 2, 2, pal::Amber);  // a hot spot wider than a small lamp's
  Plot(tile, 13, 13, pal::YellowWhite);
}

void HazardPlate(Image& tile) {
  Plate(tile);
  HazardStripes(tile, 0, 9, TileSize - 1, 14, 8);
  FillRect(tile, 0, 8, TileSize - 1, 1, pal::Ink);
  FillRect(tile, 0, 23, TileSize - 1, 1, pal::MetalLight);
}

void PipeOverPlate(Image& tile) {
  Plate(tile);
  constexpr std::array<Rgb, 14> Shading{
      pal::Ink,       pal::PaleSteel, pal::IceSteel,   pal::IceSteel,  pal::SteelBlue,
      pal::SteelBlue, pal::SteelBlue, pal::DeepSteel,  pal::DeepSteel, pal::NavySteel,
      pal::NavySteel, pal::Ink,       pal::MetalShade, pal::MetalShade};
  for (int row = 0; row < static_cast<int>(Shading.size()); ++row)
    FillRect(tile, 0, 9 + row, TileSize, 1, Shading[row]);
  FillRect(tile, 2, 8, 3, 14, pal::Ink);
  FillRect(tile, 2, 9, 1, 12, pal::White);
  FillRect(tile, 3, 9, 1, 12, pal::IceSteel);
}

// Cuts the deck open on the sides in `open`: a lit chamfer where it faces the light (north,
// west), a dark fall-off where it turns away (south, east), a hole beyond.
void CutDeckEdges(Image& tile, int open) {
  constexpr std::array<Rgb, 5> LitEdge{pal::Ink, pal::MetalGlint, pal::MetalLight, pal::MetalLight,
                                       pal::MetalShade};
  constexpr std::array<Rgb, 4> DarkEdge{pal::Ink, pal::MetalDark, pal::MetalDark, pal::MetalShade};
  constexpr int LitLine = 10, DarkLine = 22;
  for (int y = 0; y < TileSize; ++y)
    for (int x = 0; x < TileSize; ++x) {
      const int depths[4] = {open & tiles::North ? y - LitLine : TileSize,
                             open & tiles::East ? DarkLine - x : TileSize,
                             open & tiles::South ? DarkLine - y : TileSize,
                             open & tiles::West ? x - LitLine : TileSize};
      int side = static_cast<int>(std::min_element(depths, depths + 4) - depths);
      int depth = depths[side];
      bool lit = side == 0 || side == 3;
      if (depth < 0)
        PixelAt(tile, x, y) = pal::Void;
      else if (lit && depth < static_cast<int>(LitEdge.size()))
        PixelAt(tile, x, y) = LitEdge[depth];
      else if (!lit && depth < static_cast<int>(DarkEdge.size()))
        PixelAt(tile, x, y) = DarkEdge[depth];
    }
}

void DeckEdge(Image& tile, int open) {
  Plate(tile);
  CutDeckEdges(tile, open);
}

// A deck edge over what the tile shows, which stays in sight past the edge.
void OverDeckEdge(Image& tile, int open) {
  LaidOver(tile, [&](Image& deck) { DeckEdge(deck, open); });
}

// A guard lamp on a deck's side edge.
void DeckRailLamp(Image& tile, int open) {
  DeckEdge(tile, open);
  int x = open == tiles::West ? 15 : 17;
  Lamp(tile, x, 16, 3, AmberGlow);
}

// --- girders ---

constexpr std::array<Rgb, 6> Beam{pal::Ink,       pal::MetalLight, pal::MetalBase,
                                  pal::MetalBase, pal::MetalShade, pal::Ink};
constexpr int NearChord = 5, FarChord = 21;  // where the two chords of a truss begin

void ChordAcross(Image& tile, int top, int from, int to) {
  for (int row = 0; row < static_cast<int>(Beam.size()); ++row)
    FillRect(tile, from, top + row, to - from + 1, 1, Beam[row]);
}

void ChordDown(Image& tile, int left, int from, int to) {
  for (int col = 0; col < static_cast<int>(Beam.size()); ++col)
    FillRect(tile, left + col, from, 1, to - from + 1, Beam[col]);
}

// Both chords of a truss, across the whole tile.
void Chords(Image& tile) {
  for (int top : {NearChord, FarChord}) ChordAcross(tile, top, 0, TileSize - 1);
}

// Two chords with a zigzag of struts between them, each strut lit along its top.
void GirderAcross(Image& tile) {
  constexpr std::array<Rgb, 4> Strut{pal::MetalLight, pal::MetalBase, pal::MetalShade, pal::Ink};
  for (int shift = 0; shift < static_cast<int>(Strut.size()); ++shift)
    Wrapped(0, shift, [&](int x, int y) {
      DrawLine(tile, x, y + 9, x + 15, y + 18, Strut[shift]);
      DrawLine(tile, x + 16, y + 18, x + 31, y + 9, Strut[shift]);
    });
  Chords(tile);
  for (int x : {0, 15}) RaisedRivet(tile, x, 7);
  RaisedRivet(tile, 15, 23);
}

void GirderDown(Image& tile) {
  GirderAcross(tile);
  tile = Transposed(tile);
}

void GirderCross(Image& tile) {
  Chords(tile);
  LaidOver(tile, [](Image& down) {
    Chords(down);
    down = Transposed(down);
  });
  Recess(tile, 10, 10, 12, 12, pal::MetalBase);
  RaisedRivet(tile, 14, 14);
}

// A box of four chords at the tile's centre, each reaching out along the arms it carries:
// girder ends, bends and T-junctions. A diagonal brace stiffens the box.
void GirderNode(Image& tile, int arms) {
  constexpr int Last = TileSize - 1, BoxEnd = FarChord + 5;
  bool across = arms & (tiles::East | tiles::West), down = arms & (tiles::North | tiles::South);
  DrawLine(tile, NearChord + 5, NearChord + 6, FarChord - 1, FarChord, pal::MetalShade);
  DrawLine(tile, NearChord + 6, NearChord + 5, FarChord, FarChord - 1, pal::MetalLight);
  int left = arms & tiles::West ? 0 : NearChord, right = arms & tiles::East ? Last : BoxEnd;
  int top = arms & tiles::North ? 0 : NearChord, bottom = arms & tiles::South ? Last : BoxEnd;
  for (int chord : {NearChord, FarChord}) {
    ChordAcross(tile, chord, left, right);
    ChordDown(tile, chord, top, bottom);
  }
  if (across && !down)  // the chords that carry the load run across: draw them on top
    for (int chord : {NearChord, FarChord}) ChordAcross(tile, chord, left, right);
  for (int y : {NearChord + 1, FarChord + 1})
    for (int x : {NearChord + 1, FarChord + 1}) RaisedRivet(tile, x, y);
}

// A plate girder: chords along both edges and a web pierced with lightening holes.
void StrutAcross(Image& tile, int variant) {
  FillRect(tile, 0, NearChord + 6, TileSize, FarChord - NearChord - 6, pal::MetalShade);
  FillRect(tile, 0, NearChord + 6, TileSize, 1, pal::MetalDark);
  for (int x : {0, 16}) {  // stiffeners
    FillRect(tile, x, NearChord + 6, 1, FarChord - NearChord - 6, pal::MetalLight);
    FillRect(tile, x + 1, NearChord + 6, 1, FarChord - NearChord - 6, pal::MetalDark);
  }
  const int radius = variant == 0 ? 4 : 5;
  for (int centre = variant == 0 ? 8 : 16; centre < TileSize; centre += 16) {
    FillCircle(tile, centre + 1, 16, radius, pal::MetalLight);
    FillCircle(tile, centre, 15, radius, pal::Ink);
    FillCircle(tile, centre + 1, 16, radius - 1, pal::Void);
  }
  Chords(tile);
}

// A deck edge with the girder that carries it running out under the open side.
void GirderIntoDeck(Image& tile, int open) {
  bool down = open == tiles::North || open == tiles::South;
  down ? GirderDown(tile) : GirderAcross(tile);
  OverDeckEdge(tile, open);
}

// The head of a mast rising from far below: a railed disc with a red warning light.
void Beacon(Image& tile) {
  FillCircle(tile, 17, 17, 11, pal::Ink);
  FillCircle(tile, 16, 16, 11, pal::Ink);
  FillCircle(tile, 16, 16, 10, pal::MetalShade);
  FillCircle(tile, 15, 15, 9, pal::MetalLight);
  FillCircle(tile, 16, 16, 8, pal::MetalBase);
  for (int i = 0; i < 8; ++i) {  // rail posts round the rim
    constexpr int Posts[8][2] = {{16, 7},  {22, 10}, {25, 16}, {22, 22},
                                 {16, 25}, {10, 22}, {7, 16},  {10, 10}};
    Plot(tile, Posts[i][0], Posts[i][1], pal::Ink);
  }
  Lamp(tile, 16, 16, 3, RedGlow);
}

// --- the runway: drawn two tiles wide, then cut into its halves ---

constexpr int RunwayWidth = 2 * TileSize;

// Plate margins either side of a recessed track with a catapult slot down the middle.
Image RunwayTrack() {
  Image track = MakeImage(RunwayWidth, TileSize, pal::MetalBase);
  for (int x : {0, RunwayWidth - 4}) {
    FillRect(track, x, 0, 4, 1, pal::MetalLight);
    FillRect(track, x, TileSize - 2, 4, 1, pal::MetalShade);
    FillRect(track, x, TileSize - 1, 4, 1, pal::Ink);
  }
  FillRect(track, 0, 0, 1, TileSize, pal::MetalLight);
  FillRect(track, RunwayWidth - 1, 0, 1, TileSize, pal::Ink);
  FillRect(track, 4, 0, 1, TileSize, pal::Ink);
  FillRect(track, RunwayWidth - 5, 0, 1, TileSize, pal::MetalLight);
  FillRect(track, 5, 0, RunwayWidth - 10, TileSize, pal::MetalDark);
  for (int y = 0; y < TileSize; ++y)
    for (int x = 5; x < RunwayWidth - 5; ++x)
      if (Hash(x, y, 50) % 11 == 0) Plot(track, x, y, pal::MetalShade);
  FillRect(track, 8, 0, 1, TileSize, pal::MetalShade);  // painted edge lines
  FillRect(track, RunwayWidth - 9, 0, 1, TileSize, pal::MetalShade);
  FillRect(track, 30, 0, 1, TileSize, pal::Ink);
  FillRect(track, 31, 0, 2, TileSize, pal::Navy);
  FillRect(track, 33, 0, 1, TileSize, pal::MetalShade);
  return track;
}

void RunwayChevron(Image& track) {
  for (int y = 6; y < 26; ++y)
    for (int x = 10; x < RunwayWidth - 10; ++x) {
      int v = y - 6 - std::abs(2 * x - (RunwayWidth - 1)) * 7 / 20;
      if (v >= 0 && v < 5 && (x < 30 || x > 33))
        Plot(track, x, y, v == 4 ? pal::Amber : pal::Yellow);
    }
}

void RunwayLights(Image& track) {
  for (int y : {8, 24}) {
    Lamp(track, 12, y, 2, CyanGlow);
    Lamp(track, RunwayWidth - 12, y, 2, CyanGlow);
  }
}

// The catapult shuttle the ship is launched from, with its guide rails.
void RunwayStart(Image& track) {
  for (int x : {22, 40}) {
    FillRect(track, x, 0, 2, TileSize, pal::MetalLight);
    FillRect(track, x + 2, 0, 1, TileSize, pal::Ink);
  }
  FillRect(track, 25, 6, 15, 21, pal::Ink);
  FillRect(track, 26, 7, 13, 19, pal::MetalBase);
  FillRect(track, 26, 7, 13, 1, pal::MetalGlint);
  FillRect(track, 26, 7, 1, 19, pal::MetalLight);
  FillRect(track, 26, 24, 13, 2, pal::MetalShade);
  for (int y = 10; y < 22; y += 3) FillRect(track, 29, y, 7, 1, pal::MetalDark);
  for (int x : {27, 36}) RaisedRivet(track, x, 8);
}

// Where the runway meets the deck's north edge: hazard stripes before the drop.
void RunwayEnd(Image& track) {
  HazardStripes(track, 5, 15, RunwayWidth - 10, 6);
  FillRect(track, 0, 21, RunwayWidth, 1, pal::MetalLight);
}

void RunwayHalf(Image& tile, tiles::RunwayMarking marking, int half) {
  using Marking = void (*)(Image&);
  constexpr Marking Markings[tiles::RunwayMarkingCount] = {[](Image&) {}, RunwayChevron,
                                                           RunwayLights, RunwayStart, RunwayEnd};
  Image track = RunwayTrack();
  Markings[marking](track);
  tile = Crop(track, half * TileSize, 0, TileSize, TileSize);
  if (marking == tiles::RunwayEnd) CutDeckEdges(tile, tiles::North);
}

// --- catwalks ---

enum class Walkway { Plain, Lamps, Grate };

// A plated walkway between two handrails, running north-south over nothing.
void Catwalk(Image& tile, Walkway kind) {
  constexpr int Left = 8, Right = 23;
  FillRect(tile, Left + 2, 0, Right - Left - 3, TileSize, pal::MetalBase);
  for (int y = 0; y < TileSize; y += 8) {
    FillRect(tile, Left + 2, y, Right - Left - 3, 1, pal::MetalLight);
    FillRect(tile, Left + 2, y + 7, Right - Left - 3, 1, pal::MetalShade);
  }
  if (kind == Walkway::Grate)
    FillWhere(tile, pal::Void, [](int x, int y) {
      return x > Left + 3 && x < Right - 2 && y % 8 > 1 && y % 8 < 6 && x % 2 == y % 2;
    });
  ChordDown(tile, Left - 3, 0, TileSize - 1);
  ChordDown(tile, Right - 2, 0, TileSize - 1);
  for (int y : {2, 18}) {  // rail posts
    FillRect(tile, Left - 2, y, 4, 4, pal::Ink);
    FillRect(tile, Left - 2, y, 3, 3, pal::MetalGlint);
    FillRect(tile, Right - 1, y, 4, 4, pal::Ink);
    FillRect(tile, Right - 1, y, 3, 3, pal::MetalLight);
  }
  if (kind == Walkway::Lamps) {
    Lamp(tile, Left - 1, 11, 2, AmberGlow);
    Lamp(tile, Right, 27, 2, AmberGlow);
  }
}

// A catwalk leaving the deck edge on its `open` side.
void CatwalkAtDeck(Image& tile, int open) {
  Catwalk(tile, Walkway::Plain);
  OverDeckEdge(tile, open);
}

void CatwalkOverGirder(Image& tile) {
  GirderAcross(tile);
  LaidOver(tile, [](Image& walk) { Catwalk(walk, Walkway::Plain); });
}

// The walkway's north end: the rails close round a landing with a lamp.
void CatwalkEnd(Image& tile) {
  Catwalk(tile, Walkway::Plain);
  FillRect(tile, 0, 0, TileSize, 10, pal::Void);
  FillRect(tile, 4, 8, 24, 6, pal::Ink);
  FillRect(tile, 5, 9, 22, 1, pal::MetalGlint);
  FillRect(tile, 5, 10, 22, 2, pal::MetalLight);
  FillRect(tile, 5, 12, 22, 1, pal::MetalShade);
  Lamp(tile, 16, 6, 2, AmberGlow);
}

}  // namespace

void DrawBridgeTiles(TileSheet& sheet) {
  DrawTile(sheet, tiles::Plate, Plate);
  DrawTile(sheet, tiles::VentPlate, VentPlate);
  DrawTile(sheet, tiles::HatchPlate, HatchPlate);
  DrawTile(sheet, tiles::LampPlate, LampPlate);
  DrawTile(sheet, tiles::HazardPlate, HazardPlate);
  DrawTile(sheet, tiles::DeckTop, [](Image& t) { DeckEdge(t, tiles::North); });
  DrawTile(sheet, tiles::DeckBottom, [](Image& t) { DeckEdge(t, tiles::South); });
  DrawTile(sheet, tiles::PipeOverPlate, PipeOverPlate);
  DrawTile(sheet, tiles::GirderAcross, GirderAcross);
  DrawTile(sheet, tiles::GirderDown, GirderDown);
  DrawTile(sheet, tiles::GirderCross, GirderCross);
  for (int i = 0; i < tiles::DeckEdgeShapeCount; ++i)
    DrawTile(sheet, tiles::DeckEdge + i, [&](Image& t) { DeckEdge(t, tiles::DeckEdgeShapes[i]); });
  DrawTile(sheet, tiles::DeckRailLamp, [](Image& t) { DeckRailLamp(t, tiles::West); });
  DrawTile(sheet, tiles::DeckRailLamp + 1, [](Image& t) { DeckRailLamp(t, tiles::East); });
  for (int marking = 0; marking < tiles::RunwayMarkingCount; ++marking)
    for (int half = 0; half < 2; ++half)
      DrawTile(sheet, tiles::Runway + 2 * marking + half,
               [&](Image& t) { RunwayHalf(t, static_cast<tiles::RunwayMarking>(marking), half); });
  for (int i = 0; i < tiles::CatwalkCount; ++i)
    DrawTile(sheet, tiles::Catwalk + i, [&](Image& t) { Catwalk(t, static_cast<Walkway>(i)); });
  DrawTile(sheet, tiles::CatwalkFromDeck, [](Image& t) { CatwalkAtDeck(t, tiles::North); });
  DrawTile(sheet, tiles::CatwalkUnderDeck, [](Image& t) { CatwalkAtDeck(t, tiles::South); });
  DrawTile(sheet, tiles::CatwalkOverGirder, CatwalkOverGirder);
  DrawTile(sheet, tiles::CatwalkEnd, CatwalkEnd);
  for (int i = 0; i < tiles::GirderNodeShapeCount; ++i)
    DrawTile(sheet, tiles::GirderNode + i,
             [&](Image& t) { GirderNode(t, tiles::GirderNodeShapes[i]); });
  for (int i = 0; i < tiles::StrutAcrossCount; ++i)
    DrawTile(sheet, tiles::StrutAcross + i, [&](Image& t) { StrutAcross(t, i); });
  for (int i = 0; i < tiles::StrutDownCount; ++i)
    DrawTile(sheet, tiles::StrutDown + i, [&](Image& t) {
      StrutAcross(t, i);
      t = Transposed(t);
    });
  constexpr int OpenSides[] = {tiles::North, tiles::East, tiles::South, tiles::West};
  for (int i = 0; i < 4; ++i)
    DrawTile(sheet, tiles::GirderIntoDeck + i, [&](Image& t) { GirderIntoDeck(t, OpenSides[i]); });
  DrawTile(sheet, tiles::Beacon, Beacon);
}
