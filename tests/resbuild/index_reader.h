// Reads out.dat back with the game's own reader, and checks that nothing else is in the file:
// the reserved values are zero and no byte trails the names.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "index.h"

inline ResourceIndex ReadIndex(const std::vector<uint8_t>& bytes) {
  ResourceIndex index = ParseResourceIndex(bytes);
  if (EncodeResourceIndex(index) != bytes)
    throw std::runtime_error("out.dat holds more than its records and names");
  return index;
}

// The pieces of a sprite in chain order.
inline std::vector<PieceRecord> ChainOf(const ResourceIndex& index, int id) {
  std::vector<PieceRecord> chain;
  for (int piece = index.sprites.at(id).FirstPiece; piece; piece = index.pieces.at(piece).Next)
    chain.push_back(index.pieces.at(piece));
  return chain;
}
