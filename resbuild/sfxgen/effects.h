// The game's 22 sound effects, by effect number (the order of SoundEffectFiles), as mono PCM
// at SampleRate.
#pragma once

#include <array>

#include "synth.h"

namespace sfx {

// Every effect peaks at the master level (mp3.h); how loud one sounds is in its shape. A shot
// is a blip that dies at once, an explosion noise that stays near its peak.
struct Effect {
  const char* name;  // for messages
  Pcm (*render)();   // before levelling
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

// The effect at the master peak level.
Pcm RenderEffect(int number);

}  // namespace sfx
