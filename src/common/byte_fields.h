// Little-endian fields of the game's binary files, read front to back and never past the end,
// and written the same way.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/resource_format.h"

// A read that would run past the end is refused with a FormatError saying `why`.
struct Reader {
  const std::vector<uint8_t>& bytes;
  size_t at = 0;

  bool Has(size_t count) const { return bytes.size() - at >= count; }

  template <typename T>
  T Read(const char* why) {
    if (!Has(sizeof(T))) throw FormatError(why);
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof(T));  // the host is little-endian too
    at += sizeof(T);
    return value;
  }

  std::string Text(size_t length, const char* why) {
    if (!Has(length)) throw FormatError(why);
    std::string text(reinterpret_cast<const char*>(bytes.data() + at), length);
    at += length;
    return text;
  }
};

struct Writer {
  std::vector<uint8_t> bytes;

  template <typename T>
  void Put(T value) {
    uint8_t raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    bytes.insert(bytes.end(), raw, raw + sizeof(T));
  }
};
