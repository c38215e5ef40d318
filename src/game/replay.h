// Every play is recorded: how it started, its button words and how it ended, kept as the last
// plays' files in the replay folder. A recorded play runs again, frame for frame, to the same end.
#pragma once

#include <cstdint>
#include <functional>
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
  // The viewer's own controls while a replay is watched: held, or run 2 or 4 frames a frame.
  bool paused = false;
  int16_t speed = 1;
  bool inSession = false;  // watched inside a run of the game, which goes on after it
  bool demo = false;       // the title's demo: any key leaves it
  bool demoLeft = false;   // a key was pressed during the demo
  uint16_t viewerHeld = 0; // the player's buttons held at the last look
  // Where the player's own buttons came from before the replay took the buttons over.
  std::function<uint16_t()> playersButtons;
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

// The recorded play the title shows after a while without a key.
inline constexpr const char* DemoFile = "res/dst/demo.vrp";
inline constexpr uint32_t DemoIdleMs = 30000;

// Plays the demo when there is one, counting and recording nothing; true when it ran to its
// end, false when a key left it or it could not be played.
bool PlayDemo();
// Plays a kept replay chosen by the player, counting nothing; a file that cannot be played is
// told in a message box.
void WatchKeptReplay(const std::string& path);
// The viewer's keys while a replay runs: the pause key holds it, 1, 2 and 4 set its speed;
// during the demo any key leaves. False when the key is not the viewer's.
bool TakeViewerKey(int16_t key, bool pauseKey);
// The player's own buttons while a recorded play runs, a pad's as the keyboard's: in the demo
// any of them leaves; in a watched replay Z holds or resumes it and X steps its speed 1, 2, 4.
void TakeViewerButtons();
// The milliseconds a replayed frame waits at the viewer's speed.
int32_t ReplayFrameMs(int32_t frameMs);
// A recorded end that leaves the program ends only the replay inside a run.
void EndPlayOrLeave();

// Plays the replay file back in the game's window; 0 when it ends on the recorded frame and
// score, 1 when it does not, 2 when the file cannot be read or is refused (the message says
// why).
int PlayReplayFile(const std::string& path);
// Plays a record back from the current state of the display and resources; true when it ended
// as recorded.
bool PlayReplay(const ReplayRecord& record);
