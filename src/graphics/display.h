// The display layer: back buffer, work surface, image surfaces with colour keys, and the
// present that puts a finished frame on the window. Every surface is 16-bit RGB565.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

struct SDL_Surface;
struct SDL_Renderer;
struct SDL_Texture;

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

struct DisplayState {
  SDL_Surface* BackBuffer = nullptr;   // every drawing operation targets it
  SDL_Surface* WorkSurface = nullptr;  // a spare frame: the pause menu keeps its backdrop there
  bool FullScreen = false;
  // Every image loaded, by surface index; the index stays valid across reloads.
  std::vector<SurfaceEntry> SurfaceList;
  SDL_Renderer* renderer = nullptr;
  // The back buffer's copy on the renderer, below rows that can carry the window's menu bar.
  SDL_Texture* screenTexture = nullptr;
  uint32_t menuRowsVersion = 0;  // the menu bar's pixels those rows hold
  // The picture on show and where, and whether nothing was drawn over it.
  std::vector<uint16_t> shownPixels;
  PixelRect shownTarget{};
  bool shownClean = false;  // and kept in shownPixels
  int32_t changedPresents = 0;  // shown since the last frame that was the same
};
extern DisplayState Display;

void InitDisplay(GameForm target, bool fullScreen);  // also starts the input devices
void ReleaseDisplay();                               // and stops them
// Frees every image surface; at shutdown, once the display is released.
void FreeAllSurfaces();

int32_t PresentFrame();  // 0, or an error number; never throws

void ClearSurface(SDL_Surface* surface, uint32_t fill);
void ClearBackBuffer();
// Every pixel at a quarter of its brightness, for text laid over a picture.
void DarkenSurface(SDL_Surface* surface);
uint32_t ColorToPixel(int32_t colour);  // colour laid out 0xBBGGRR
void MakeRect(RECT& rect, int32_t left, int32_t top, int32_t right, int32_t bottom);

// The new surface's index. A ".png" file is a sheet (a prefix, then PNG data); others are
// plain pictures. A missing, unreadable, damaged or oversized file, or a folder in its place,
// is a DisplayError naming it.
int32_t LoadSurface(const std::string& fileName);
void ReloadAllSurfaces();
// The same decoding into a surface of the caller's own, outside the list: a sheet when `sheet`
// is set, else a plain picture; keyed on its top-left pixel. A DisplayError says what is wrong.
SDL_Surface* LoadImageSurface(const std::string& fileName, bool sheet);


// Where the back buffer lands inside the drawing area: stretched over it in a window, scaled by
// the largest whole factor that fits (centred, black around it) in full screen.
PixelRect PresentTarget(PixelRect area, int sourceW, int sourceH, bool fullScreen);
