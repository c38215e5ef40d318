// Sound effects and the background-music play list.
#pragma once

#include <cstdint>

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

void PlaySe(int16_t effect);
void PlayBgm(int16_t track);
void StopMusic();
bool IsMusicPlaying();
void ToggleMusicPause();
bool IsMusicPaused();
