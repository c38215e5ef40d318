// What a game carries from one play to the next, and what one play holds. The game's scenes
// start and end them; the stage's objects read and change them as they play.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "common/resource_format.h"
#include "graphics/display.h"
#include "objects/object_table.h"

// A game: from the title's start to the name entry.
struct GameRecord {
  int32_t Score = 0;
  int16_t Lives = 3;         // ships in reserve, the one on screen not counted; below 0: lost
  int16_t Stage = 0;         // 0-based; the game has one stage
  int32_t RestartFrame = 0;  // where the last play ended; the next resumes at a checkpoint
};
extern GameRecord Game;

// The score is an int32_t, and the panel's eleven places show every value it can hold; an
// addition past the top stops there rather than overflowing.
inline constexpr int32_t MaxScore = std::numeric_limits<int32_t>::max();
// `score` with `points` added, held to 0..MaxScore. Every addition to a score goes through it.
int32_t AddScore(int32_t score, int64_t points);

constexpr int32_t MapLayerCount = 5;

struct MapLayer : MapGrid {
  int16_t tileSurface = 0;  // the surface its tiles are cut from
};

// The boss's turret formations: per row of a formation's column, a turret's place and kind.
constexpr int32_t BossPatternRows = 43;
constexpr int32_t BossFormations = 4;

struct BossCell {
  int16_t a, b;  // pixel position of the turret
  int16_t kind;  // 0 fires down, 1 up, 2 left, 3 right
};
using BossPatternTable = std::array<std::array<BossCell, BossFormations>, BossPatternRows>;

// One play: from the ship's entry to the stage clear, the last ship's loss or leaving.
struct PlayState {
  bool GameActive = false;  // the play's frames run while it is set
  int16_t BgmTrack = 0;     // the music slot the play wants; -1: none
  RECT PlayField = {0, 0, 447, ScreenHeight};
  int32_t NextExtendScore = 2000000;  // the score past which the next extra ship comes
  int32_t ExtendInterval = 2000000;
  ObjectIndex ShipIndex = NoObject;
  ObjectIndex BossIndex = 0;  // 0 once the boss's fall has been taken over
  // The ship between frames.
  int16_t ShipTurnCount = 0;  // frames spent in a turning mode
  int16_t ShipBank = 0;       // body tilt: -1, 0 or 1
  int16_t ShipBankHold = 0;   // frames the tilt stays after the button is let go
  int16_t PodFlashA = 0;      // frames left of the first pod's hit flash
  int16_t PodFlashB = 0;
  std::array<MapLayer, MapLayerCount> MapLayers;
  BossPatternTable BossPatterns{};
};
extern PlayState Play;

// A fresh play: the play's state cleared and an empty object table that runs the stage's
// behaviours from the stage's templates (which need the sprite table loaded).
void ResetPlay();
