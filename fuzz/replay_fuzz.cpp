// The replay reader on arbitrary bytes: it may refuse them with a FormatError, and must do
// nothing else; what it accepts writes back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/replay_format.h"
#include "common/resource_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  try {
    const ReplayRecord replay = ParseReplay(bytes);
    if (replay.buttons.size() > MaxReplayFrames) std::abort();
    // Runs are written at their longest, so only a file written by the game comes back equal;
    // its reading must then give the same record again.
    const ReplayRecord again = ParseReplay(EncodeReplay(replay));
    if (again.buttons != replay.buttons || again.endScore != replay.endScore) std::abort();
  } catch (const FormatError&) {
  }
  return 0;
}
