// Scripted buttons for scene tests: each step is a button word held for a number of reads of
// the buttons (a scene reads them about once a frame), after which `then` gives the rest.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct ButtonStep {
  uint16_t word;
  int32_t reads = 1;
};

// No button at first (the scenes read the last frame's word as they open), then each word for
// one read with a release after it: the menus' new-press rule sees every one.
std::vector<ButtonStep> Presses(std::initializer_list<uint16_t> words);

// Replaces the button source; reads beyond the script ask `then` (0 when it is empty). `watch`,
// when given, runs before every read.
void ScriptButtons(std::vector<ButtonStep> steps, std::function<uint16_t()> then = nullptr,
                   std::function<void()> watch = nullptr);

// How many times the buttons were read since the script was set.
int32_t ButtonReads();
