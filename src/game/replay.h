// Every play is recorded: how it started, its button words and how it ended, kept as the last
// plays' files in the replay folder. A recorded play runs again, frame for frame, to the same end.
#pragma once

#include <cstdint>
#include <string>

#include "common/replay_format.h"

struct ReplayState {
  bool recordPlays = false;  // the program records (tests that run plays leave it off)
  bool recording = false;    // a play is being recorded
  ReplayRecord record;       // the play being recorded or played back
  bool playing = false;      // a recorded play is being played back
  bool begun = false;        // the played-back play has read its first frame
  size_t next = 0;           // the next word of record.buttons
  size_t menuStep = 0;       // the next read of the pause menu that gives up
};
extern ReplayState Replay;

inline constexpr int ReplaysKept = 20;

// $XDG_DATA_HOME/veldrane/replays/, else ~/.local/share/veldrane/replays/; empty when neither
// names an absolute folder.
std::string ReplayFolder();

// The play loop's calls: at its start (before anything draws on chance), each frame's buttons,
// a give-up from the pause menu, and its end, which saves the file and keeps the last ones.
// A play that ends with the program being left (from the window) is recorded as left.
void BeginRecording();
void RecordButtons(uint16_t word);
void RecordGivingUp();
void FinishRecording();

// Refuses with a FormatError, saying what is wrong, a record that no play of this game makes:
// a start the game cannot have, undefined buttons, or an end its frames cannot reach.
void CheckReplay(const ReplayRecord& record);

// Plays the replay file back in the game's window; 0 when it ends on the recorded frame and
// score, 1 when it does not, 2 when the file cannot be read or is refused (the message says
// why).
int PlayReplayFile(const std::string& path);
// Plays a record back from the current state of the display and resources; true when it ended
// as recorded.
bool PlayReplay(const ReplayRecord& record);
