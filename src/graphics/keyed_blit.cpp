#include "graphics/keyed_blit.h"

#include <SDL.h>

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

#ifdef __SSE2__
__m128i Load8(const uint16_t* pixels) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
}

// Eight pixels: the destination's where the source holds the key, the source's elsewhere.
void Store8(uint16_t* dest, __m128i from, __m128i under, __m128i keys) {
  const __m128i keyed = _mm_cmpeq_epi16(from, keys);
  const __m128i merged = _mm_or_si128(_mm_and_si128(keyed, under), _mm_andnot_si128(keyed, from));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dest), merged);
}
#endif

void KeyedRow(const uint16_t* source, uint16_t* dest, int32_t width, uint16_t key) {
#ifdef __SSE2__
  if (width >= 8) {
    // The last eight overlap the eight before. Read before anything is written, they give the
    // same pixels there, and no read waits on a store it half overlaps.
    const __m128i keys = _mm_set1_epi16(int16_t(key));
    const int32_t last = width - 8;
    const __m128i lastFrom = Load8(source + last), lastUnder = Load8(dest + last);
    for (int32_t x = 0; x < last; x += 8)
      Store8(dest + x, Load8(source + x), Load8(dest + x), keys);
    Store8(dest + last, lastFrom, lastUnder, keys);
    return;
  }
#endif
  for (int32_t x = 0; x < width; ++x)
    if (source[x] != key) dest[x] = source[x];
}

// Addressable as whole 16-bit pixels; anything else is left to SDL.
bool WholePixels(const SDL_Surface* surface) {
  const uintptr_t address = reinterpret_cast<uintptr_t>(surface->pixels);
  return surface->pixels && (address | uintptr_t(surface->pitch)) % sizeof(uint16_t) == 0;
}

bool PlainRgb565(const SDL_Surface* surface) {
  return surface->format->format == SDL_PIXELFORMAT_RGB565 && !SDL_MUSTLOCK(surface) &&
         !surface->locked && WholePixels(surface);
}

// Whether SDL would copy with nothing but the key, which then fits in 16 bits. Without
// blending, SDL's alpha modulation has nothing to act on in RGB565.
bool KeyOnly(SDL_Surface* source, uint32_t& key) {
  SDL_BlendMode blend;
  uint8_t red, green, blue;
  return SDL_GetColorKey(source, &key) == 0 && key <= 0xFFFF &&
         SDL_GetSurfaceBlendMode(source, &blend) == 0 && blend == SDL_BLENDMODE_NONE &&
         SDL_GetSurfaceColorMod(source, &red, &green, &blue) == 0 && (red & green & blue) == 0xFF;
}

// One axis of SDL_BlitSurface's clipping: the source span to its surface, the destination
// moving with it, then the destination to the clip span.
bool ClipAxis(int& from, int& length, int& to, int sourceLength, int clipStart, int clipLength) {
  if (from < 0) {
    length += from;
    to -= from;
    from = 0;
  }
  length = std::min(length, sourceLength - from);
  if (const int cut = clipStart - to; cut > 0) {
    length -= cut;
    to += cut;
    from += cut;
  }
  length = std::min(length, clipStart + clipLength - to);
  return length > 0;
}

int32_t PixelPitch(const SDL_Surface* surface) {
  return surface->pitch / int32_t(sizeof(uint16_t));
}

uint16_t* PixelAddress(const SDL_Surface* surface, int32_t x, int32_t y) {
  return static_cast<uint16_t*>(surface->pixels) + ptrdiff_t(y) * PixelPitch(surface) + x;
}

}  // namespace

void KeyedCopy(const uint16_t* source, int32_t sourcePitch, uint16_t* dest, int32_t destPitch,
               int32_t width, int32_t height, uint16_t key) {
  for (int32_t row = 0; row < height; ++row)
    KeyedRow(source + ptrdiff_t(row) * sourcePitch, dest + ptrdiff_t(row) * destPitch, width, key);
}

int KeyedBlit(SDL_Surface* source, SDL_Rect from, SDL_Surface* dest, int32_t x, int32_t y) {
  uint32_t key = 0;
  if (!source || !dest || source == dest || !PlainRgb565(source) || !PlainRgb565(dest) ||
      !KeyOnly(source, key)) {
    SDL_Rect to{x, y, 0, 0};
    return SDL_BlitSurface(source, &from, dest, &to);
  }
  const SDL_Rect& clip = dest->clip_rect;
  if (!ClipAxis(from.x, from.w, x, source->w, clip.x, clip.w) ||
      !ClipAxis(from.y, from.h, y, source->h, clip.y, clip.h))
    return 0;
  KeyedCopy(PixelAddress(source, from.x, from.y), PixelPitch(source), PixelAddress(dest, x, y),
            PixelPitch(dest), from.w, from.h, uint16_t(key));
  return 0;
}
