// Sound effects by number and the background music by play-list slot, on the mixer.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The effects by number, in the order of their files.
enum SoundEffect : int16_t {
  SE_BARIA_HIT = 0,   // a pod absorbs a bullet; the bonus tally's tick
  SE_BURST01 = 1,     // medium explosion; the tally is done
  SE_BURST02 = 2,     // large explosion
  SE_BURST03 = 3,     // small explosion; a bonus line appears
  SE_CONTINUE = 4,
  SE_TITLE_CALL = 5,
  SE_FANFARE = 6,
  SE_GAME_OVER = 7,
  SE_GAME_OVER2 = 8,  // the game-over call
  SE_GAME_START = 9,
  SE_HI_SCORE = 10,
  SE_HIT = 11,
  SE_MISS = 12,       // a hit on something indestructible
  SE_NAME_ENTRY = 13,
  SE_NO = 14,
  SE_OPTION = 15,
  SE_PAUSE2 = 16,
  SE_QUIT = 17,
  SE_ROT = 18,        // the ship turns its guns
  SE_SHOT = 19,
  SE_STAGE1 = 20,     // the stage call; stage n calls SE_STAGE1 + n
  SE_YES = 21,
  SoundEffectCount = 22,
};

constexpr int16_t BgmSlotCount = 10;

constexpr std::array<int32_t, SoundEffectCount> NeverPlayed() {
  std::array<int32_t, SoundEffectCount> frames{};
  frames.fill(-2);
  return frames;
}

struct SoundEffectsState {
  bool SoundEnabled = true;  // the player's sound on/off option
  std::array<std::string, SoundEffectCount> SeFiles;  // relative to the effects folder
  // The frame each effect last started; far back for one that never did.
  std::array<int32_t, SoundEffectCount> SeLastFrame = NeverPlayed();
  std::array<std::string, BgmSlotCount> BgmSlots;  // music files; empty: nothing to play
};
extern SoundEffectsState Sounds;

void BuildSeTable();
// Loads every effect from `folder` (ending in "/"), in effect order.
void LoadSoundEffects(const std::string& folder);
// Nothing plays with sound off, at effect volume 0, or for an effect that started in this
// frame or the one before (except at frame 0), so many objects asking at once sound once.
void PlaySe(int16_t effect);
// Starts the slot's music; with music volume 0 or an empty slot nothing changes. A file that
// cannot play gives its turn to the next slot that can, round the list.
void PlayBgm(int16_t slot);
// The slots take the first ten mp3 files of the folder in sorted order (extension in any
// case), from the names and a few first bytes: regular files that begin as mp3 does. The
// rest (FIFOs, devices, folders, files of other data) is left out unopened or unread, and
// told in one line. A missing or unreadable folder empties them. Nothing is decoded here: a
// file that does not decode is skipped when its turn comes.
void ScanBgmFolder(const std::string& folder);
