#include "graphics/display.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstring>

#include "common/game_text.h"
#include "common/resource_format.h"
#include "common/utility.h"
#include "graphics/image_file.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "platform/imgui_layer.h"

DisplayState Display;

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw DisplayError(what + ": " + SDL_GetError());
}

SDL_Surface* CreateDisplaySurface(int width, int height) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, DisplayPixelFormat);
  if (!surface) Fail("cannot create a surface");
  return surface;
}

// The texture the back buffer is uploaded to each frame; nullptr when the renderer refuses.
SDL_Texture* MakeScreenTexture() {
  return SDL_CreateTexture(Display.renderer, DisplayPixelFormat, SDL_TEXTUREACCESS_STREAMING,
                           Display.BackBuffer->w, WindowMenuHeight + Display.BackBuffer->h);
}

void DropScreenTexture() {
  if (Display.screenTexture) SDL_DestroyTexture(Display.screenTexture);
  Display.screenTexture = nullptr;
  Display.menuRowsVersion = 0;
  Display.shownClean = false;
}

std::vector<uint8_t> ReadImageFile(const std::string& fileName) {
  try {
    return ReadResourceFile(fileName, MaxSheetFileBytes);
  } catch (const ResourceFileError& error) {
    throw DisplayError(error.what());
  }
}

bool IsSheetFile(const std::string& fileName) { return !MatchExtension(fileName, "png").empty(); }

int BitLength(uint32_t mask) {
  int length = 0;
  while (mask) {
    ++length;
    mask >>= 1;
  }
  return length;
}

// One colour channel: the byte at `byteShift` moved so that its top bits land in `mask`.
uint32_t ScaleChannel(int32_t colour, int byteShift, uint32_t mask) {
  uint32_t value = uint32_t(colour) & (0xFFu << byteShift);
  int shift = BitLength(mask) - (byteShift + 8);
  return (shift >= 0 ? value << shift : value >> -shift) & mask;
}

// Clears what the picture leaves uncovered: the menu bar's rows, or the borders around a scaled
// picture. A clear of the whole output costs as much again as the picture on a software renderer.
int ClearOutside(PixelRect area, PixelRect target) {
  const bool covered = target.x == area.x && target.y == area.y && target.w == area.w &&
                       target.h == area.h;
  if (!covered) return SDL_RenderClear(Display.renderer);
  if (area.y == 0) return 0;
  const SDL_Rect bar{0, 0, area.w, area.y};
  return SDL_RenderFillRect(Display.renderer, &bar);
}

SDL_Rect PictureRows(const SDL_Surface* back) { return {0, WindowMenuHeight, back->w, back->h}; }

// In the window at the game's own size the bar rides above the picture in its texture, so the
// frame is one copy, as a bare program's would be.
bool CarriesMenuBar(PixelRect area, PixelRect target, const SDL_Surface* back) {
  return !Display.FullScreen && area.y == WindowMenuHeight && target.w == back->w &&
         target.h == back->h && Imgui.menuPixelsWidth == back->w;
}

int UpdateMenuRows(const SDL_Surface* back) {
  if (Display.menuRowsVersion == Imgui.menuPixelsVersion) return 0;
  Display.menuRowsVersion = Imgui.menuPixelsVersion;
  const SDL_Rect rows{0, 0, back->w, WindowMenuHeight};
  return SDL_UpdateTexture(Display.screenTexture, &rows, Imgui.menuPixels.data(),
                           back->w * int(sizeof(uint16_t)));
}

// The picture's upload and its copy to the window, with the menu bar or the borders.
int CopyPicture(const SDL_Surface* back, PixelRect area, PixelRect target) {
  SDL_Rect from = PictureRows(back), dest{target.x, target.y, target.w, target.h};
  SDL_Renderer* renderer = Display.renderer;
  if (SDL_UpdateTexture(Display.screenTexture, &from, back->pixels, back->pitch) != 0) return 4;
  Imgui.menuInPicture = CarriesMenuBar(area, target, back);
  if (Imgui.menuInPicture) {
    from = dest = {0, 0, back->w, WindowMenuHeight + back->h};
    if (UpdateMenuRows(back) != 0) return 4;
  } else if (SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255) != 0 ||
             ClearOutside(area, target) != 0) {
    return 4;
  }
  return SDL_RenderCopy(renderer, Display.screenTexture, &from, &dest) == 0 ? 0 : 4;
}

const uint8_t* Row(const SDL_Surface* surface, int y) {
  return static_cast<const uint8_t*>(surface->pixels) + ptrdiff_t(y) * surface->pitch;
}

size_t RowBytes(const SDL_Surface* back) { return size_t(back->w) * sizeof(uint16_t); }

uint16_t* ShownRow(const SDL_Surface* back, int y) {
  return &Display.shownPixels[size_t(y) * size_t(back->w)];
}

// A frame like the one on show, in the same place, with nothing to draw over it and no change
// to the window, is not shown again: an idle screen then costs next to nothing.
bool ShownAlready(const SDL_Surface* back, PixelRect target) {
  if (!Display.shownClean || Platform.windowChanged || Imgui.framePending ||
      target != Display.shownTarget)
    return false;
  for (int y = 0; y < back->h; ++y)
    if (std::memcmp(Row(back, y), ShownRow(back, y), RowBytes(back)) != 0) return false;
  return true;
}

// While frames keep changing the picture is kept only now and then: its copy costs a tenth of a
// frame's own work, and an idle screen is still found within a few frames.
constexpr int32_t KeepEvery = 8;

void KeepShown(const SDL_Surface* back, PixelRect target, bool clean) {
  Platform.windowChanged = false;
  Display.shownClean = clean && Display.changedPresents++ % KeepEvery == 0;
  if (!Display.shownClean) return;
  Display.shownPixels.resize(size_t(back->w) * size_t(back->h));
  for (int y = 0; y < back->h; ++y) std::memcpy(ShownRow(back, y), Row(back, y), RowBytes(back));
  Display.shownTarget = target;
}

}  // namespace

void InitDisplay(GameForm target, bool fullScreen) {
  Display.FullScreen = fullScreen;
  SDL_Window* window = Platform.window;
  if (!window || Platform.shownForm != target) throw DisplayError("the game window is not shown");
  Display.renderer = SDL_CreateRenderer(window, -1, 0);
  if (!Display.renderer) Fail("cannot create a renderer");
  // The picture is the game's size in both modes; the present scales it to the window.
  Display.BackBuffer = CreateDisplaySurface(ScreenWidth, ScreenHeight);
  Display.WorkSurface = CreateDisplaySurface(ScreenWidth, ScreenHeight);
  Display.screenTexture = MakeScreenTexture();
  if (!Display.screenTexture) Fail("cannot create the screen texture");
  Platform.renderTargetsLost = false;
  ImguiAttach(window, Display.renderer, [] { PresentFrame(); });
  InitInput();
}

void ReleaseDisplay() {
  ImguiDetach();
  DropScreenTexture();
  if (Display.renderer) SDL_DestroyRenderer(Display.renderer);
  SDL_FreeSurface(Display.BackBuffer);
  SDL_FreeSurface(Display.WorkSurface);
  Display.renderer = nullptr;
  Display.BackBuffer = Display.WorkSurface = nullptr;
  ReleaseInput();
}

void FreeAllSurfaces() {
  for (SurfaceEntry& entry : Display.SurfaceList) SDL_FreeSurface(entry.surface);
  Display.SurfaceList.clear();
}

PixelRect PresentTarget(PixelRect area, int sourceW, int sourceH, bool fullScreen) {
  if (!fullScreen || sourceW <= 0 || sourceH <= 0) return area;
  int scale = std::min(area.w / sourceW, area.h / sourceH);
  int w = sourceW * scale, h = sourceH * scale;
  if (scale < 1) {  // a screen smaller than the picture: fit it, keeping its shape
    bool widthBound = int64_t(area.w) * sourceH < int64_t(area.h) * sourceW;
    w = widthBound ? area.w : int(int64_t(area.h) * sourceW / sourceH);
    h = widthBound ? int(int64_t(area.w) * sourceH / sourceW) : area.h;
  }
  return {area.x + (area.w - w) / 2, area.y + (area.h - h) / 2, w, h};
}

int32_t PresentFrame() {
  if (!Display.renderer || !Display.BackBuffer) return 1;
  if (Platform.renderTargetsLost) {
    // The renderer dropped its textures: report the loss; the texture is made again below.
    Platform.renderTargetsLost = false;
    DropScreenTexture();
    return 2;
  }
  // Made again whenever it is missing, so one failed attempt does not fail every frame after.
  if (!Display.screenTexture) Display.screenTexture = MakeScreenTexture();
  if (!Display.screenTexture) return 3;
  if (!FormIsVisible()) return 0;  // nobody would see it
  if (!Display.FullScreen) ImguiWindowMenu();
  ImguiPrepareFrame();
  const SDL_Surface* back = Display.BackBuffer;
  const PixelRect area = FormDrawingArea(Display.renderer);
  const PixelRect target = PresentTarget(area, back->w, back->h, Display.FullScreen);
  if (ShownAlready(back, target)) {
    Display.changedPresents = 0;
    ImguiFrameUnchanged();
  } else {
    const bool clean = !Imgui.framePending;  // what ImGui draws may reach over the picture
    if (CopyPicture(back, area, target) != 0) return 4;
    ImguiRenderPending();
    SDL_RenderPresent(Display.renderer);
    KeepShown(back, target, clean);
  }
  ++DrawLog.presents;
  return 0;
}

void ClearSurface(SDL_Surface* surface, uint32_t fill) {
  if (SDL_FillRect(surface, nullptr, fill) != 0) Fail("cannot clear a surface");
}

void ClearBackBuffer() { ClearSurface(Display.BackBuffer, 0); }

void DarkenSurface(SDL_Surface* surface) {
  // Each RGB565 channel shifted down two bits within its own field: a quarter of its light.
  constexpr uint16_t QuarterMask = 0x39E7;
  if (SDL_LockSurface(surface) != 0) Fail("cannot lock a surface");
  auto* row = static_cast<uint8_t*>(surface->pixels);
  for (int y = 0; y < surface->h; ++y, row += surface->pitch) {
    auto* pixel = reinterpret_cast<uint16_t*>(row);
    for (int x = 0; x < surface->w; ++x) pixel[x] = uint16_t((pixel[x] >> 2) & QuarterMask);
  }
  SDL_UnlockSurface(surface);
}

uint32_t ColorToPixel(int32_t colour) {
  static const SDL_PixelFormat* format = SDL_AllocFormat(DisplayPixelFormat);
  return ScaleChannel(colour, 0, format->Rmask) + ScaleChannel(colour, 8, format->Gmask) +
         ScaleChannel(colour, 16, format->Bmask);
}

void MakeRect(RECT& rect, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  rect = {left, top, right, bottom};
}

SDL_Surface* LoadImageSurface(const std::string& fileName, bool sheet) {
  std::string problem;
  SDL_Surface* surface = DecodeImageFile(ReadImageFile(fileName), sheet, problem);
  if (!surface) throw DisplayError(TrWith("%s cannot be read: %s", {fileName, problem}));
  return surface;
}

int32_t LoadSurface(const std::string& fileName) {
  SDL_Surface* surface = LoadImageSurface(fileName, IsSheetFile(fileName));
  Display.SurfaceList.push_back({fileName, surface});
  return int32_t(Display.SurfaceList.size()) - 1;
}

void ReloadAllSurfaces() {
  for (SurfaceEntry& entry : Display.SurfaceList) {
    SDL_FreeSurface(entry.surface);
    entry.surface = nullptr;
    entry.surface = LoadImageSurface(entry.fileName, IsSheetFile(entry.fileName));
  }
}

