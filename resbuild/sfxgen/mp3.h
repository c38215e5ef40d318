// MP3 through LAME: effects as mono VBR, music as joint-stereo CBR, both at SampleRate.
#pragma once

#include <cstdint>
#include <vector>

#include "synth.h"

namespace sfx {

constexpr int EffectVbrQuality = 4;  // LAME's V4: 60 to 115 kbps on these mono effects
constexpr int MusicKbps = 160;

std::vector<uint8_t> EncodeMp3(const Pcm& mono);
std::vector<uint8_t> EncodeMp3(const StereoPcm& stereo);

}  // namespace sfx
