// The kept replays as a player finds them: when each was played, its score, how far it got and
// how long it runs.
#pragma once

#include <string>
#include <vector>

#include "common/replay_format.h"

struct KeptReplay {
  std::string path;
  std::string date;     // "2026-12-09 07:19", from the file's name, else its time
  ReplayRecord record;  // without its buttons
  int32_t frames = 0;   // its length
  std::string problem;  // why it cannot be read; empty when it can
};

// Newest first.
std::vector<KeptReplay> KeptReplays();

// How far a play that ended at endFrame got: "START", "CHECKPOINT 1".."CHECKPOINT 4", "BOSS".
std::string ReachOf(int32_t endFrame);
// "m:ss" of frames at the game's pace.
std::string LengthOf(int32_t frames);
// One line of the list, its columns as in ReplayListHeading.
std::string ReplayListLine(const KeptReplay& replay);
extern const char* const ReplayListHeading;

// The list on standard output, for --list-replays; the exit code.
int PrintReplayList();
