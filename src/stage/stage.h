// The stage: its templates, its set-up, the background map layers, the spawn timeline and
// the boss's turret formations.
#pragma once

#include <cstdint>
#include <string>

// Fills the object templates and the type codes that pick them; needs the sprite table.
void BuildTemplates();

// The ship, the opening wipe and banner, the background and, for the first stage, the spawn
// timeline and the boss's formations, for the stage `Game.Stage`.
void SetupStage();
void LoadStageScript();
void BuildBossPatterns();

// The frame the boss comes in, the stage's last event.
constexpr int32_t BossFrame = 6900;

// ---- background map layers ----

constexpr int32_t TileSize = 32;
constexpr int32_t TilesPerRow = 20;

// A missing or damaged file is reported by name in a message box; play goes on without it.
void LoadMapLayer(const std::string& fileName, int32_t layerIndex, int16_t tileSurface);
void DrawMapLayer(int32_t layer, int32_t scrollX, int32_t scrollY);
