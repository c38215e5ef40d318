// The music the game ships with: note data for each track and the sequencer that plays it on
// the synthesizer's voices into a looping stereo buffer.
#pragma once

#include <vector>

#include "synth.h"

namespace sfx {

constexpr int StepsPerBar = 16;  // sixteenth notes of 4/4

struct TrackInfo {
  const char* fileName;  // sorted order is the music slot order: the stage's, then the boss's
  double bpm;
  int bars;
};
std::vector<TrackInfo> Tracks();

// Exactly bars x 4 beats long. Notes and echoes that run past the end come in again at the
// start, so the buffer loops without a seam. Starting the loop at another bar gives the same
// samples turned round, to the rounding of that bar's start to a sample.
StereoPcm RenderTrack(int number, int startBar = 0);

}  // namespace sfx
