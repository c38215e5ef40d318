// Reads out.dat back the way the game does, field by field, so tests can check what the
// packer wrote without trusting its own encoder.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "index.h"

struct IndexReader {
  const std::vector<uint8_t>& bytes;
  size_t at = 0;

  int Int(int size) {
    if (at + size > bytes.size()) throw std::out_of_range("out.dat ends early");
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= uint32_t(bytes[at + i]) << (8 * i);
    at += size;
    return size == 2 ? int16_t(value) : int32_t(value);
  }
  int Int16() { return Int(2); }
  int Int32() { return Int(4); }
};

// Also checks the reserved array is zero and nothing trails the names.
inline ResourceIndex ReadIndex(const std::vector<uint8_t>& bytes) {
  IndexReader in{bytes};
  ResourceIndex index;
  int spriteCount = in.Int16(), pieceCount = in.Int16();
  for (int i = 0; i <= spriteCount; ++i)
    if (in.Int16() != 0) throw std::runtime_error("reserved value is not zero");
  for (int i = 0; i <= pieceCount; ++i) {
    PieceRecord p;
    p.srcY = in.Int16(), p.srcX = in.Int16(), p.width = in.Int16(), p.height = in.Int16();
    p.offsetX = in.Int16(), p.offsetY = in.Int16(), p.next = in.Int32();
    p.surface = in.Int16(), p.page = in.Int16();
    index.pieces.push_back(p);
  }
  for (int i = 0; i <= spriteCount; ++i) {
    SpriteRecord s;
    s.firstPiece = in.Int32();
    s.left = in.Int16(), s.top = in.Int16(), s.width = in.Int16(), s.height = in.Int16();
    index.sprites.push_back(s);
  }
  index.pageHeight = in.Int16();
  for (int i = 0; i <= spriteCount; ++i) {
    size_t length = in.Int16();
    if (in.at + length > bytes.size()) throw std::out_of_range("out.dat ends in a name");
    index.names.emplace_back(bytes.begin() + in.at, bytes.begin() + in.at + length);
    in.at += length;
  }
  if (in.at != bytes.size()) throw std::runtime_error("bytes after the last name");
  return index;
}

// The pieces of a sprite in chain order.
inline std::vector<PieceRecord> ChainOf(const ResourceIndex& index, int id) {
  std::vector<PieceRecord> chain;
  for (int piece = index.sprites[id].firstPiece; piece; piece = index.pieces[piece].next) {
    if (chain.size() == index.pieces.size()) throw std::runtime_error("piece chain loops");
    chain.push_back(index.pieces.at(piece));
  }
  return chain;
}
