// The numbers of stage 1's tiles, shared by the routines that draw them and the maps that
// place them. A tile's number is its place in the image, twenty 32x32 tiles to a row.
// Groups of variants run on from their first number.
#pragma once

namespace tiles {

constexpr int Size = 32;
constexpr int PerRow = 20;

// Sides and arms, as bits: a road's or girder's connections, a deck's open edges.
constexpr int North = 1, East = 2, South = 4, West = 8;

// Corners for dual-grid autotiling, as bits: 1 top-left, 2 top-right, 4 bottom-left,
// 8 bottom-right (see InsideCorners). A group has 14 partial tiles, indexed by corners - 1,
// then its full tiles.
constexpr int AllCorners = 15, PartialCorners = 14;
constexpr int CornerTile(int first, int corners, int fullVariant = 0) {
  return corners == AllCorners ? first + PartialCorners + fullVariant : first + corners - 1;
}

// The first row: sky, hull plating, girders, ground.
constexpr int NavyStars = 1, NavyStarsCount = 3;  // the last has a flare
constexpr int Plate = 4, VentPlate = 5, HatchPlate = 6, LampPlate = 7, HazardPlate = 8;
constexpr int DeckTop = 9, DeckBottom = 10, PipeOverPlate = 11;
constexpr int GirderAcross = 12, GirderDown = 13, GirderCross = 14;
constexpr int Pebbles = 15, PebblesCount = 2;
constexpr int Crater = 17, Boulders = 18, GroundEdge = 19;

// The cloud layer: opaque sky, fading navy -> dusk -> violet, and cloud banks over it.
constexpr int DuskStars = 20, DuskStarsCount = 3;
constexpr int VioletStars = DuskStars + DuskStarsCount, VioletStarsCount = 3;
constexpr int NavyOverDusk = VioletStars + VioletStarsCount;  // navy above fading to dusk
constexpr int DuskOverNavy = NavyOverDusk + 1;
constexpr int DuskOverViolet = DuskOverNavy + 1;
constexpr int VioletOverDusk = DuskOverViolet + 1;
constexpr int CloudOverDusk = VioletOverDusk + 1;                // by corners - 1
constexpr int CloudOverViolet = CloudOverDusk + PartialCorners;  // by corners - 1
constexpr int CloudFull = CloudOverViolet + PartialCorners, CloudFullCount = 2;

// The distant ground: plots, woods and villages on bare soil, roads and rivers across it,
// and its rim where it falls away.
constexpr int FieldPlot = CloudFull + CloudFullCount, FieldPlotCount = 8;
constexpr int Copse = FieldPlot + FieldPlotCount, CopseCount = 2;
constexpr int Village = Copse + CopseCount, VillageCount = 4;
constexpr int Road = Village + VillageCount;  // by arms - 1, every combination
constexpr int River = Road + 15;              // by RiverShapes' order
constexpr int RiverShapeCount = 6;
constexpr int RiverShapes[RiverShapeCount] = {North | South, East | West,  North | East,
                                              North | West,  South | East, South | West};
constexpr int BridgeOverRiverDown = River + RiverShapeCount;  // a road across a N-S river
constexpr int BridgeOverRiverAcross = BridgeOverRiverDown + 1;
constexpr int Waterfall = BridgeOverRiverAcross + 1;  // a N-S river pouring over the rim
constexpr int GroundEdgeMore = Waterfall + 1, GroundEdgeMoreCount = 2;
// Large fields in hedges and woods, by CornerTile.
constexpr int Wheatfield = GroundEdgeMore + GroundEdgeMoreCount;
constexpr int Greenfield = Wheatfield + PartialCorners + 1;
constexpr int Forest = Greenfield + PartialCorners + 1, ForestFullCount = 2;

// The bridge: deck plating with its edges, the launch runway, catwalks and girders.
constexpr int DeckEdge = Forest + PartialCorners + ForestFullCount;  // by DeckEdgeShapes' order
constexpr int DeckEdgeShapeCount = 6;
constexpr int DeckEdgeShapes[DeckEdgeShapeCount] = {West,         East,         North | West,
                                                    North | East, South | West, South | East};
constexpr int DeckRailLamp = DeckEdge + DeckEdgeShapeCount;  // west, east
constexpr int Runway = DeckRailLamp + 2;  // left and right halves of each RunwayMarking
enum RunwayMarking { RunwayPlain, RunwayChevron, RunwayLights, RunwayStart, RunwayEnd };
constexpr int RunwayMarkingCount = 5;
constexpr int Catwalk = Runway + 2 * RunwayMarkingCount, CatwalkCount = 3;  // plain, lamps, grate
constexpr int CatwalkFromDeck = Catwalk + CatwalkCount;  // leaves a deck's north edge
constexpr int CatwalkUnderDeck = CatwalkFromDeck + 1;    // leaves a deck's south edge
constexpr int CatwalkOverGirder = CatwalkUnderDeck + 1;  // crosses a girder running across
constexpr int CatwalkEnd = CatwalkOverGirder + 1;        // a landing at its north end
constexpr int GirderNode = CatwalkEnd + 1;               // by GirderNodeShapes' order
constexpr int GirderNodeShapeCount = 12;
// Ends, bends, then T-junctions.
constexpr int GirderNodeShapes[GirderNodeShapeCount] = {North,
                                                        East,
                                                        South,
                                                        West,
                                                        North | East,
                                                        East | South,
                                                        South | West,
                                                        West | North,
                                                        East | South | West,
                                                        North | South | West,
                                                        North | East | West,
                                                        North | East | South};
constexpr int StrutAcross = GirderNode + GirderNodeShapeCount, StrutAcrossCount = 2;
constexpr int StrutDown = StrutAcross + StrutAcrossCount, StrutDownCount = 2;
constexpr int GirderIntoDeck = StrutDown + StrutDownCount;  // by the deck's open side: N, E, S, W
constexpr int Beacon = GirderIntoDeck + 4;                  // a mast head rising from far below

// The citadel: brick masses by CornerTile, and towers of 2x2 tiles over full brick.
constexpr int Brick = Beacon + 1, BrickFullCount = 6;
constexpr int Tower = Brick + PartialCorners + BrickFullCount, TowerCount = 2;  // 4 tiles each

constexpr int Count = Tower + 4 * TowerCount;
constexpr int Rows = (Count + PerRow - 1) / PerRow;

}  // namespace tiles
