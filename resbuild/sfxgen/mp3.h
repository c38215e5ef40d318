// MP3 through LAME: effects as mono VBR, music as joint-stereo CBR, both at SampleRate, and
// LAME's own decoder to hear what a player will.
#pragma once

#include <cstdint>
#include <vector>

#include "synth.h"

namespace sfx {

constexpr int EffectVbrQuality = 4;  // LAME's V4: 60 to 115 kbps on these mono effects
constexpr int MusicKbps = 160;

// Both channels as 16-bit players give them, scaled to -1..1 (a mono file's in both). The
// encoder's delay and padding are left in: silence, for what is measured here.
StereoPcm DecodeMp3(const std::vector<uint8_t>& mp3);

// Everything shipped peaks here once decoded: loud enough to need little gain in the game,
// with room left under full scale for the decoders' rounding.
constexpr double MasterPeakDb = -1;

// Encoded so that the decoded peak sits within a fraction of a decibel of MasterPeakDb. The
// encoder's filtering moves peaks by a decibel or so either way: each encoding is decoded and
// measured, and the level corrected for the next.
std::vector<uint8_t> EncodeMastered(Pcm mono);
std::vector<uint8_t> EncodeMastered(StereoPcm stereo);

}  // namespace sfx
