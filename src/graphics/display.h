// The display layer: back buffer, work surface, image surfaces with colour keys, and the
// present that puts a finished frame on the window. Every surface is 16-bit RGB565.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

struct SDL_Surface;

// Right and bottom are exclusive.
struct RECT {
  int32_t left, top, right, bottom;
};

// A display or image call that failed; it ends the program with its message.
struct DisplayError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct SurfaceEntry {
  std::string fileName;
  SDL_Surface* surface = nullptr;
};

// Bytes of every sheet file before its PNG data; the game never reads them.
constexpr size_t SheetPrefixBytes = 762;

extern SDL_Surface* BackBuffer;
extern SDL_Surface* WorkSurface;
extern bool FullScreen;
extern std::vector<SurfaceEntry> SurfaceList;
extern int32_t SurfaceCount;

void InitDirectDraw(GameForm target, bool fullScreen);
void ReleaseDirectDraw();
int32_t PresentFrame(GameForm target);  // 0, or an error number; never throws
void MarkDisplayLost();  // the renderer lost its textures: the next present fails and rebuilds

void ClearSurface(SDL_Surface* surface, uint32_t fill);
void ClearBackBuffer();
uint32_t ColorToPixel(int32_t colour);  // colour laid out 0xBBGGRR
void MakeRect(RECT& rect, int32_t left, int32_t top, int32_t right, int32_t bottom);

int32_t LoadSurface(const std::string& fileName);
void ReloadAllSurfaces();

// Decodes a PNG file into `picture` (replacing what it held) in the display format.
// False when the file is missing or does not start with the PNG signature.
bool LoadPngIntoPicture(SDL_Surface*& picture, const std::string& fileName);

// Where the back buffer lands inside the drawing area: stretched over it in a window, scaled by
// the largest whole factor that fits (centred, black around it) in full screen.
PixelRect PresentTarget(PixelRect area, int sourceW, int sourceH, bool fullScreen);
