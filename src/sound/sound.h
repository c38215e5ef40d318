// Sound effects and the background-music play list.
#pragma once

#include <cstdint>

void PlaySe(int16_t effect);
void PlayBgm(int16_t track);
void StopMusic();
bool IsMusicPlaying();
void ToggleMusicPause();
bool IsMusicPaused();
