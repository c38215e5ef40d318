// The resource index reader on arbitrary bytes: it may refuse them with a FormatError, and
// must do nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/resource_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  try {
    const ResourceIndex index = ParseResourceIndex(bytes);
    // The game follows the chains it accepted: each must stay in the table and end. The walk
    // has a budget, as a large good table's chains can add up to a billion steps.
    size_t budget = size_t(1) << 20;
    for (const SpriteRecord& sprite : index.sprites) {
      size_t steps = 0;
      for (int32_t i = sprite.FirstPiece; i > 0 && budget > 0;
           i = index.pieces.at(size_t(i)).Next, --budget)
        if (++steps > index.pieces.size()) std::abort();
    }
  } catch (const FormatError&) {
  }
  return 0;
}
