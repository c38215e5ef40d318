// Image files decoded into surfaces of the display format: the sheets (a prefix, then PNG
// data) and plain PNG or BMP pictures. Only SDL and SDL_image are touched here.
#pragma once

#include <SDL_pixels.h>

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Surface;

// Every surface of the game is 16-bit RGB565.
constexpr uint32_t DisplayPixelFormat = SDL_PIXELFORMAT_RGB565;

// A PNG or BMP picture in the display format. nullptr, with the reason in `problem`, for
// bytes that are not such a picture, are longer than MaxSheetFileBytes, or whose size is
// empty or beyond MaxSheetPixels: a damaged header must not make the decoder ask for gigabytes.
SDL_Surface* DecodePicture(const uint8_t* data, size_t size, std::string& problem);

// An image file's bytes, keyed on the colour of its top-left pixel: a sheet (the prefix,
// then PNG data) when `sheet` is set, otherwise a plain picture.
SDL_Surface* DecodeImageFile(const std::vector<uint8_t>& bytes, bool sheet, std::string& problem);
