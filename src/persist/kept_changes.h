// The file of changes kept beside the store: blocks of changes, each whole or not at all, each
// with an id, so that a block merged once is never merged again. Not for use outside
// src/persist/.
#pragma once

#include <string>
#include <vector>

#include "persist/store_changes.h"

struct KeptBlock {
  std::string id;  // 16 hexadecimal digits
  std::vector<StoreChange> changes;
};

struct KeptFile {
  std::vector<KeptBlock> blocks;  // in the order they were kept
  bool damaged = false;           // some of it could not be read and is not among the blocks
};

// The file's text, and back; a block cut short or garbled is left out and marks it damaged.
std::string KeptText(const std::vector<KeptBlock>& blocks, bool withHeader);
KeptFile ParseKept(const std::string& text);

std::string NewBlockId();
