// The player's options and the score ranking in memory, and their way to and from the store.
// The sound options live with the sound (Mixer, Sounds) and the overlay switch with Program;
// these are the rest.
#pragma once

#include <cstdint>
#include <string>

#include "persist/stored_values.h"

struct SettingsState {
  int16_t MixRateIndex = 0;  // 0: 11 kHz, 1: 22 kHz, 2: 44 kHz
  std::string BgmFolder;     // the player's music folder; empty: the music the game ships with
  ScoreRankingTable ScoreRanking;
  int32_t HiScore = 0;       // shown in the panel
  int16_t WindowZoom = 1;    // the window's picture at 1x, 2x or 3x
};
extern SettingsState Settings;

void SaveSettings();
// Reads every option and the ranking, and starts or stops the sound system to match.
void LoadSettings();
void ResetScoreRanking();

// The folder the music list is scanned from: the player's, else the one the game ships.
std::string MusicFolder();
