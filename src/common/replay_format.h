// Replay files: how one play started, the button word of each of its frames, and how it ended,
// so that the play can be run again and checked. Little-endian, versioned; the words are kept
// as runs of one word.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Version 2 adds the play's kind; version 1 files are plays.
inline constexpr uint16_t ReplayVersion = 2;
// Nine hours of play; a longer file is damaged.
inline constexpr uint32_t MaxReplayFrames = 1000000;
inline constexpr const char* ReplayExtension = ".vrp";

// How a play ended beyond its frames: by itself (its ship lost or the stage cleared, or Escape
// among its buttons), from the pause menu, or by leaving the program from its window.
enum class ReplayEnding : uint8_t { Played = 0, GivenUp = 1, Left = 2 };

// A practice play starts at a checkpoint of the player's choosing and is kept out of the ranking.
enum class ReplayKind : uint8_t { Play = 0, Practice = 1 };

struct ReplayRecord {
  // the play's start
  int16_t stage = 0;
  int32_t restartFrame = 0;
  int32_t score = 0;
  int16_t lives = 0;
  uint64_t randomState = 0;
  // its frames and its end
  std::vector<uint16_t> buttons;  // one word a frame
  ReplayEnding ending = ReplayEnding::Played;  // what ended it after the last frame
  ReplayKind kind = ReplayKind::Play;
  int32_t endFrame = 0;
  int32_t endScore = 0;
};

std::vector<uint8_t> EncodeReplay(const ReplayRecord& replay);
// A FormatError says what is wrong: not a replay, another version, cut short or damaged.
// Whether the game could have made the record is the game's to check (CheckReplay).
ReplayRecord ParseReplay(const std::vector<uint8_t>& bytes);
// The replay in a file; a ResourceFileError names a file that cannot be read, a FormatError
// says what is wrong with its bytes.
ReplayRecord ReadReplayFile(const std::string& path);
// Throws the FormatError of a damaged replay, saying what is wrong with it.
[[noreturn]] void RefuseReplay(const std::string& what);
