// The stage: its set-up, background map layers, spawn timeline and boss formations, and the
// ship's own state between frames.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "objects/object_table.h"

void SetupStage(int16_t stage);
void LoadStageScript();
void BuildBossPatterns();

// ---- background map layers ----

constexpr int32_t TileSize = 32;
constexpr int32_t TilesPerRow = 20;
constexpr int32_t MapLayerCount = 5;

struct MapLayer {
  std::vector<int16_t> cells;  // (width + 1) x (height + 1), row by row
  int16_t width = 0, height = 0;
  int16_t tileSurface = 0;

  int16_t Cell(int32_t column, int32_t row) const { return cells[size_t(row) * (width + 1) + column]; }
};

extern std::array<MapLayer, MapLayerCount> MapLayers;

// A missing or damaged file is reported by name in a message box; play goes on without it.
void LoadMapLayer(const std::string& fileName, int32_t layerIndex, int16_t tileSurface);
void DrawMapLayer(int32_t layer, int32_t scrollX, int32_t scrollY);

// ---- the player ship between frames ----

extern int16_t ShipTurnCount;  // frames spent in a turning mode
extern int16_t ShipBank;       // body tilt: -1, 0 or 1
extern int16_t ShipBankHold;   // frames the tilt stays after the button is let go
extern int16_t PodFlashA;      // frames left of the first pod's hit flash
extern int16_t PodFlashB;

// ---- the boss's turret formations ----

constexpr int32_t BossPatternRows = 43;
constexpr int32_t BossFormations = 4;

struct BossCell {
  int16_t a, b;  // pixel position of the turret
  int16_t kind;  // 0 fires down, 1 up, 2 left, 3 right
};

extern std::array<std::array<BossCell, BossFormations>, BossPatternRows> BossPatterns;
