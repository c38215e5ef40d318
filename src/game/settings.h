// The player's options and the score ranking in memory, and their way to and from the store.
// The sound options live with the sound (Mixer, Sounds) and the overlay switch with Program;
// these are the rest, and what this run knows of each stored value: a save writes only values
// read from the store in this run or set by the player, so a store that could not be read is
// merged with, never written over.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/language.h"
#include "input/key_bindings.h"
#include "persist/store_changes.h"
#include "persist/stored_values.h"

// The options kept in the store, in the order they are read and applied.
enum StoredOption : uint8_t {
  OptionMixRate,
  OptionSound,
  OptionMusicVolume,
  OptionEffectVolume,
  OptionFrameRate,
  OptionMusicFolder,
  OptionWindowZoom,
  OptionLanguage,
  OptionKeyUp,  // the bindings, in the order of Binding
  OptionKeyDown,
  OptionKeyLeft,
  OptionKeyRight,
  OptionKeyFire,
  OptionKeyTurn,
  OptionKeyPause,
  OptionPadFire,
  OptionPadTurn,
  OptionPadPause,
  StoredOptionCount,
};
static_assert(OptionPadPause - OptionKeyUp + 1 == int(BindingCount), "an option for each binding");
inline StoredOption BindingOption(Binding binding) { return StoredOption(int(OptionKeyUp) + binding); }

// What this run knows of a stored value. Nothing: the store could not be read, so the value
// there is unknown, and no save writes over it until a later read finds it.
enum class Known : uint8_t { Nothing, Read, Set };
constexpr std::array<Known, StoredOptionCount> EveryOption(Known known) {
  std::array<Known, StoredOptionCount> options{};
  options.fill(known);
  return options;
}

inline constexpr std::array<int32_t, 3> MixRates = {11025, 22050, 44100};

struct SettingsState {
  int16_t MixRateIndex = 0;  // 0: 11 kHz, 1: 22 kHz, 2: 44 kHz
  std::string BgmFolder;     // the player's music folder; empty: the music the game ships with
  ScoreRankingTable ScoreRanking;
  int32_t HiScore = 0;       // shown in the panel
  int16_t WindowZoom = 1;    // the window's picture at 1x, 2x or 3x, as chosen
  std::string Language;      // as stored: "en", "ja", or anything else for the locale's
  // As read from an empty store until LoadSettings says otherwise.
  std::array<Known, StoredOptionCount> optionKnown = EveryOption(Known::Read);
  Known rankingKnown = Known::Read;
  std::vector<ScoreEntry> newEntries;  // entered while the stored ranking was unknown
  std::vector<StoreChange> unsaved;    // the last save's changes, while the store refuses them
  bool saveWaits = false;              // the store was busy: the frames try the save again
  uint32_t nextTryMs = 0;              // NowMs of the next try
  bool refusalTold = false;            // the player knows this store takes no saves
};
extern SettingsState Settings;

void SaveSettings();
// Merges what an earlier run kept beside the store, reads every option and the ranking in one
// query, and starts or stops the sound system to match. A store that cannot be read leaves the
// defaults in use and tells the player.
void LoadSettings();
void ResetScoreRanking();

// The player changed an option, or cleared the ranking, or entered a new score.
void PlayerSet(StoredOption option);
void PlayerClearedRanking();
void PlayerEnteredScore(const ScoreEntry& entry);

// A save for a change made outside the menus, which may come in play: it never waits for a
// busy store (the frames try again, and the exit keeps it if none could) and tells of no
// problem with a dialog.
void SaveSettingsSoon();
// Called by every frame wait: a save the busy store refused is tried again now and then.
void RetryWaitingSave();
// The line the frames show while a save waits for the store; empty when none does.
std::string WaitingSaveLine();
// At exit: the waiting save and `more` (the statistics) go to the store, waiting a few seconds
// at most, or else into the file beside it for the next start.
void FinishSaving(const std::vector<StoreChange>& more);

// The player's keys from the Keys dialog: used at once, and saved.
void ChooseKeys(const KeyBindings& bindings);

// The player chose a language from the window's menu: spoken at once, and saved.
void ChooseLanguage(Language language);
// The stored choice of language, else the locale's, spoken from now on; for the program's
// options before the game starts.
void UseStoredLanguage();

// The folder the music list is scanned from: the player's, else the one the game ships.
std::string MusicFolder();
