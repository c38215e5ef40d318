// The map file reader on arbitrary bytes: it may refuse them with a FormatError, and must do
// nothing else.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/resource_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  try {
    const MapGrid grid = ParseMapFile(bytes);
    // Every cell the game may ask for, including the repeated column and row, is there.
    (void)grid.Cell(grid.width, grid.height);
  } catch (const FormatError&) {
  }
  return 0;
}
