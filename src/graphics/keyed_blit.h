// Colour-keyed copies between RGB565 surfaces, done here because SDL's keyed blitter tests one
// pixel at a time. The outcome is SDL_BlitSurface's to the pixel: a source pixel equal to the
// key leaves the destination as it was.
#pragma once

#include <SDL_rect.h>

#include <cstdint>

struct SDL_Surface;

// Rows of `width` pixels; pitches are in pixels. Source and destination must not overlap.
void KeyedCopy(const uint16_t* source, int32_t sourcePitch, uint16_t* dest, int32_t destPitch,
               int32_t width, int32_t height, uint16_t key);

// SDL_BlitSurface(source, &from, dest, {x, y}), clipped as SDL clips, with its result (0, or
// negative with SDL's error set). Copies that this module cannot do exactly as SDL would (no
// colour key, another format, blending or colour modulation, surfaces locked or needing a
// lock, a surface onto itself) go to SDL.
int KeyedBlit(SDL_Surface* source, SDL_Rect from, SDL_Surface* dest, int32_t x, int32_t y);
