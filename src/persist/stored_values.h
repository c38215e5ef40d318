// The game's values in the settings store: their names and defaults, the score ranking, and
// how numbers are written as text and read back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "persist/settings_store.h"

inline constexpr const char* GameApplication = "VELDRANE";
inline constexpr const char* OptionsSection = "SAVE";
inline constexpr const char* RankingSection = "ScoreRanking";

struct StoredSetting {
  const char* Section;
  const char* Key;
  const char* Default;
};

inline constexpr StoredSetting MixRateSetting{OptionsSection, "MixRate", "11025"};
// The game has always written "FModEnabled" and read "FmodEnabled"; names ignore case.
inline constexpr StoredSetting FmodEnabledSetting{OptionsSection, "FModEnabled", "1"};
inline constexpr StoredSetting BgmVolumeSetting{OptionsSection, "CurrentBGMVol", "32"};
inline constexpr StoredSetting SeVolumeSetting{OptionsSection, "CurrentSEVol", "32"};
inline constexpr StoredSetting ShowFrameRateSetting{OptionsSection, "ShowFrameRate", "0"};
inline constexpr StoredSetting BgmFolderSetting{OptionsSection, "BGMFolder", ""};
// The player's own choices beyond the options screen, kept apart from the options.
inline constexpr const char* PreferencesSection = "Preferences";
// "en" or "ja"; empty leaves the language to the locale.
inline constexpr StoredSetting LanguageSetting{PreferencesSection, "Language", ""};

// The game's text for setting, or its default.
std::string ReadSetting(const StoredSetting& setting);

// A value to hand to StoreSave(GameApplication, ...).
StoredValue SettingValue(const StoredSetting& setting, const std::string& text);

struct ScoreEntry {
  int32_t Points;
  std::string Name;
  bool operator==(const ScoreEntry&) const = default;
};

inline constexpr int RankingPlaces = 5;
// Index 0 is the best place.
using ScoreRankingTable = std::array<ScoreEntry, RankingPlaces>;

// Keys "S0".."S4" hold the points and "N0".."N4" the names, with these defaults.
std::string RankingPointsKey(int place);
std::string RankingNameKey(int place);
inline constexpr const char* UnsetRankingPoints = "0";
inline constexpr const char* UnsetRankingName = "   ";

// The ranking of a new game; the first place is out of reach on purpose.
ScoreRankingTable BuiltInRanking();

inline constexpr int NoRankingPlace = 99;
// Makes room in table for a new score: the places from the first it reaches move down one (an
// equal score goes above the old one) and the last drops out. The place it takes, or
// NoRankingPlace when it takes none.
int RankNewScore(ScoreRankingTable& table, int32_t points);

// The ranking's keys with their defaults: the five places' points, then their names.
std::vector<StoredValue> RankingKeys();

// The stored ranking, read at one moment; an unset place reads as 0 points and three blanks.
ScoreRankingTable ReadRanking();

// The ten values that hold table, for one StoreSave so the ranking is never half saved.
std::vector<StoredValue> RankingValues(const ScoreRankingTable& table);

// The leading number of text, rounded to the nearest whole number with halves to even and
// clamped to the int32 range; 0 when text does not begin with one. After blanks and tabs: an
// optional sign, digits with an optional '.' and fraction (at least one digit in all), then an
// optional exponent, taken only when digits follow the 'e' or 'E' and its optional sign.
int32_t StoredNumber(const std::string& text);
// The same reading for totals that may outgrow 32 bits, clamped to the int64 range.
int64_t StoredWholeNumber(const std::string& text);
// Whether text begins with a number as these read it; one that does not reads as 0.
bool IsStoredNumber(const std::string& text);

// True only for the text "1".
bool StoredFlag(const std::string& text);

// Plain decimal, with no leading blank.
std::string StoredNumberText(int64_t number);
