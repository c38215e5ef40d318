// Silent until the mixer is wired in: the play loop already asks for every sound it needs.
#include "sound/sound.h"

void PlaySe(int16_t) {}
void PlayBgm(int16_t) {}
void StopMusic() {}
bool IsMusicPlaying() { return true; }
void ToggleMusicPause() {}
bool IsMusicPaused() { return false; }
