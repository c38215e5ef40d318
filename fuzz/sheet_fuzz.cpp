// The image file loader on arbitrary bytes. The first byte picks a sheet (odd) or a plain
// picture (even); the rest is the file. A refusal is nullptr with a reason; a surface must be
// in the display format and the caller's to free.
#include <SDL.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/resource_format.h"
#include "graphics/image_file.h"

namespace {

uint32_t Crc32(const uint8_t* data, size_t size) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

// libpng refuses a chunk whose CRC is wrong, as nearly every mutated chunk's is. SDL_image and
// libpng are not instrumented, so the fuzzer cannot learn the CRCs: they are mended here, and
// mutations reach the decoder.
void MendPngCrcs(std::vector<uint8_t>& file, size_t at) {
  static constexpr uint8_t Signature[] = {137, 80, 78, 71, 13, 10, 26, 10};
  if (file.size() < at + sizeof Signature ||
      std::memcmp(file.data() + at, Signature, sizeof Signature) != 0)
    return;
  at += sizeof Signature;
  auto bigEndian = [&](size_t i) {
    return uint32_t(file[i]) << 24 | uint32_t(file[i + 1]) << 16 | uint32_t(file[i + 2]) << 8 |
           file[i + 3];
  };
  // Length, type, data, CRC; the CRC covers the type and the data.
  while (file.size() - at >= 12) {
    const uint32_t length = bigEndian(at);
    if (length > file.size() - at - 12) return;
    const uint32_t crc = Crc32(file.data() + at + 4, size_t(length) + 4);
    for (int i = 0; i < 4; ++i) file[at + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
    at += 12 + size_t(length);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool sheet = data[0] & 1;
  std::vector<uint8_t> bytes(data + 1, data + size);
  MendPngCrcs(bytes, sheet ? SheetPrefixBytes : 0);
  std::string problem;
  SDL_Surface* surface = DecodeImageFile(bytes, sheet, problem);
  if (!surface) {
    if (problem.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  if (surface->format->format != DisplayPixelFormat || surface->w <= 0 || surface->h <= 0)
    std::abort();
  SDL_FreeSurface(surface);
  return 0;
}
