#include "graphics/image_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

#include "common/game_text.h"
#include "common/resource_format.h"

namespace {

// Each side is bounded first: a PNG header's sides reach 2^32 - 1, whose product does not fit.
bool AcceptableSize(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= MaxSheetPixels && height <= MaxSheetPixels &&
         width * height <= MaxSheetPixels;
}

// A BMP's picture size (rows may run bottom-up, with a negative height).
bool BmpSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height) {
  if (size < 26 || data[0] != 'B' || data[1] != 'M') return false;
  int32_t w, h;
  std::memcpy(&w, data + 18, 4);
  std::memcpy(&h, data + 22, 4);
  width = w;
  height = h < 0 ? -int64_t(h) : h;
  return true;
}

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Whether the chunks after the signature run whole up to IEND. SDL_image's PNG reader does not
// notice the end of the data: past it, libpng is handed the last chunk header again and again,
// and an ancillary chunk (whose bad CRC is only a warning) then loops forever.
bool PngChunksComplete(const uint8_t* data, size_t size) {
  size_t at = 8;  // the signature
  while (size - at >= 12) {  // length, type, data, CRC
    const uint32_t length = BigEndian32(data + at);
    if (length > size - at - 12) return false;
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
    at += 12 + size_t(length);
  }
  return false;
}

}  // namespace

SDL_Surface* DecodePicture(const uint8_t* data, size_t size, std::string& problem) {
  if (size > MaxSheetFileBytes) {
    problem = Tr("the file is too large");
    return nullptr;
  }
  uint32_t pngWidth = 0, pngHeight = 0;
  int64_t width = 0, height = 0;
  const bool png = PngSize(data, size, pngWidth, pngHeight);
  if (png) {
    width = pngWidth;
    height = pngHeight;
  } else if (!BmpSize(data, size, width, height)) {
    problem = Tr("not PNG data");
    return nullptr;
  }
  if (!AcceptableSize(width, height)) {
    problem = Tr("the picture's size is bad");
    return nullptr;
  }
  if (png && !PngChunksComplete(data, size)) {
    problem = Tr("the PNG data is cut short");
    return nullptr;
  }
  SDL_Surface* decoded =
      IMG_LoadTyped_RW(SDL_RWFromConstMem(data, int(size)), 1, png ? "PNG" : "BMP");
  if (!decoded) {
    problem = TrWith("the picture cannot be decoded (%s)", {IMG_GetError()});
    return nullptr;
  }
  SDL_SetSurfaceBlendMode(decoded, SDL_BLENDMODE_NONE);
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(decoded, DisplayPixelFormat, 0);
  SDL_FreeSurface(decoded);
  if (!converted) problem = TrWith("it cannot be converted (%s)", {SDL_GetError()});
  return converted;
}

SDL_Surface* DecodeImageFile(const std::vector<uint8_t>& bytes, bool sheet, std::string& problem) {
  const size_t skip = sheet ? SheetPrefixBytes : 0;
  if (bytes.size() <= skip) {
    problem = Tr("the file is too short");
    return nullptr;
  }
  SDL_Surface* surface = DecodePicture(bytes.data() + skip, bytes.size() - skip, problem);
  // The colour of the top-left pixel is the image's transparent colour.
  if (surface) SDL_SetColorKey(surface, SDL_TRUE, *static_cast<const uint16_t*>(surface->pixels));
  return surface;
}
