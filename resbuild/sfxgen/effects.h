// The game's 22 sound effects, by effect number (the order of SoundEffectFiles), as mono PCM
// at SampleRate.
#pragma once

#include <array>

#include "synth.h"

namespace sfx {

// Peak levels in dBFS. The loudest moment the game mixes is a shot, the large explosion and
// the music at once: -20, -6 and -11 dBFS (MusicPeakDb) add up to 0.88 of full scale, which
// leaves room for the peaks mp3 decoding adds (up to about 1.5 dB). Every other effect peaks
// below the large explosion; the frequent small ones well below.
constexpr double ShotPeakDb = -20;
constexpr double LargeBurstPeakDb = -6;

struct Effect {
  const char* name;  // for messages
  double peakDb;
  Pcm (*render)();  // before levelling
};

constexpr int EffectCount = 22;
extern const std::array<Effect, EffectCount> Effects;

enum EffectNumber {
  BariaHit,
  Burst01,
  Burst02,
  Burst03,
  Continue,
  TitleCall,
  Fanfare,
  GameOver,
  GameOver2,
  GameStart,
  HiScore,
  Hit,
  Miss,
  NameEntry,
  No,
  Option,
  Pause2,
  Quit,
  Rot,
  Shot,
  Stage1,
  Yes
};

// The effect at its peak level.
Pcm RenderEffect(int number);

}  // namespace sfx
