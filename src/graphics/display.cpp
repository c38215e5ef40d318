#include "graphics/display.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

#include "common/utility.h"
#include "input/input.h"
#include "platform/imgui_layer.h"

SDL_Surface* BackBuffer = nullptr;
SDL_Surface* WorkSurface = nullptr;
bool FullScreen = false;
std::vector<SurfaceEntry> SurfaceList;
int32_t SurfaceCount = 0;

namespace {

constexpr uint32_t DisplayPixelFormat = SDL_PIXELFORMAT_RGB565;
constexpr std::array<uint8_t, 8> PngSignature = {137, 80, 78, 71, 13, 10, 26, 10};

// Larger images are refused before decoding: no sheet is that big, and a damaged header must
// not make the decoder ask for gigabytes.
constexpr uint32_t MaxImageWidth = 8192;
constexpr uint32_t MaxImageHeight = 32767;

SDL_Renderer* renderer = nullptr;
SDL_Texture* screenTexture = nullptr;
bool displayLost = false;

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
  return SDL_CreateTexture(renderer, DisplayPixelFormat, SDL_TEXTUREACCESS_STREAMING,
                           BackBuffer->w, BackBuffer->h);
}

bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& bytes) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

uint32_t ReadBigEndian32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

bool StartsWithPngSignature(const uint8_t* data, size_t size) {
  return size >= PngSignature.size() && std::equal(PngSignature.begin(), PngSignature.end(), data);
}

// Decodes PNG bytes into a surface of the display format. The reason for a failure is
// returned in `problem` (empty on success).
SDL_Surface* DecodePng(const uint8_t* data, size_t size, std::string& problem) {
  if (!StartsWithPngSignature(data, size) || size < 24) {
    problem = "PNG データではありません";
    return nullptr;
  }
  uint32_t width = ReadBigEndian32(data + 16), height = ReadBigEndian32(data + 20);
  if (width == 0 || height == 0 || width > MaxImageWidth || height > MaxImageHeight) {
    problem = "画像の大きさが不正です";
    return nullptr;
  }
  SDL_Surface* decoded = IMG_LoadTyped_RW(SDL_RWFromConstMem(data, int(size)), 1, "PNG");
  if (!decoded) {
    problem = std::string("PNG を復号できません (") + IMG_GetError() + ")";
    return nullptr;
  }
  SDL_SetSurfaceBlendMode(decoded, SDL_BLENDMODE_NONE);
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(decoded, DisplayPixelFormat, 0);
  SDL_FreeSurface(decoded);
  if (!converted) problem = std::string("変換できません (") + SDL_GetError() + ")";
  return converted;
}

// The colour of the top-left pixel is the image's transparent colour.
void KeyOnTopLeftPixel(SDL_Surface* surface) {
  uint16_t key = *static_cast<const uint16_t*>(surface->pixels);
  SDL_SetColorKey(surface, SDL_TRUE, key);
}

// A sheet file: 762 bytes the game ignores, then the PNG data. Other files are plain images.
SDL_Surface* LoadImageSurface(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) throw DisplayError(fileName + " が見つかりません");
  std::string problem;
  SDL_Surface* surface = nullptr;
  if (!MatchExtension(fileName, "png").empty()) {
    if (bytes.size() <= SheetPrefixBytes)
      problem = "ファイルが短すぎます";
    else
      surface = DecodePng(bytes.data() + SheetPrefixBytes, bytes.size() - SheetPrefixBytes, problem);
  } else {
    SDL_Surface* decoded = IMG_Load_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
    if (decoded) {
      surface = SDL_ConvertSurfaceFormat(decoded, DisplayPixelFormat, 0);
      SDL_FreeSurface(decoded);
    }
    if (!surface) problem = "画像を読み込めません";
  }
  if (!surface) throw DisplayError(fileName + " を読み込めません: " + problem);
  KeyOnTopLeftPixel(surface);
  return surface;
}

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

}  // namespace

void InitDirectDraw(GameForm target, bool fullScreen) {
  FullScreen = fullScreen;
  SDL_Window* window = FormWindow();
  if (!window || ShownForm() != target) throw DisplayError("the game window is not shown");
  renderer = SDL_CreateRenderer(window, -1, 0);
  if (!renderer) Fail("cannot create a renderer");
  int width = ScreenWidth, height = ScreenHeight;
  if (!fullScreen) SDL_GetWindowSize(window, &width, &height);
  BackBuffer = CreateDisplaySurface(width, height);
  WorkSurface = CreateDisplaySurface(ScreenWidth, ScreenHeight);
  screenTexture = MakeScreenTexture();
  if (!screenTexture) Fail("cannot create the screen texture");
  displayLost = false;
  ImguiAttach(window, renderer);
  InitDirectInput();
}

void ReleaseDirectDraw() {
  ImguiDetach();
  if (screenTexture) SDL_DestroyTexture(screenTexture);
  if (renderer) SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(BackBuffer);
  SDL_FreeSurface(WorkSurface);
  screenTexture = nullptr;
  renderer = nullptr;
  BackBuffer = WorkSurface = nullptr;
  ReleaseDirectInput();
}

void MarkDisplayLost() { displayLost = true; }

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

int32_t PresentFrame(GameForm) {
  if (!renderer || !BackBuffer) return 1;
  if (displayLost) {
    // The renderer dropped its textures: make the screen texture again and report the loss.
    displayLost = false;
    SDL_DestroyTexture(screenTexture);
    screenTexture = MakeScreenTexture();
    return 2;
  }
  if (!screenTexture) return 3;
  PixelRect area = FormDrawingArea(renderer);
  PixelRect target = PresentTarget(area, BackBuffer->w, BackBuffer->h, FullScreen);
  SDL_Rect dest{target.x, target.y, target.w, target.h};
  if (SDL_UpdateTexture(screenTexture, nullptr, BackBuffer->pixels, BackBuffer->pitch) != 0 ||
      SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255) != 0 || SDL_RenderClear(renderer) != 0 ||
      SDL_RenderCopy(renderer, screenTexture, nullptr, &dest) != 0)
    return 4;
  ImguiRenderPending();
  SDL_RenderPresent(renderer);
  return 0;
}

void ClearSurface(SDL_Surface* surface, uint32_t fill) {
  if (SDL_FillRect(surface, nullptr, fill) != 0) Fail("cannot clear a surface");
}

void ClearBackBuffer() { ClearSurface(BackBuffer, 0); }

uint32_t ColorToPixel(int32_t colour) {
  static const SDL_PixelFormat* format = SDL_AllocFormat(DisplayPixelFormat);
  return ScaleChannel(colour, 0, format->Rmask) + ScaleChannel(colour, 8, format->Gmask) +
         ScaleChannel(colour, 16, format->Bmask);
}

void MakeRect(RECT& rect, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  rect = {left, top, right, bottom};
}

int32_t LoadSurface(const std::string& fileName) {
  SurfaceList.push_back({fileName, LoadImageSurface(fileName)});
  return SurfaceCount++;
}

void ReloadAllSurfaces() {
  for (int32_t i = 0; i < SurfaceCount; ++i) {
    SurfaceEntry& entry = SurfaceList[i];
    SDL_FreeSurface(entry.surface);
    entry.surface = nullptr;
    entry.surface = LoadImageSurface(entry.fileName);
  }
}

bool LoadPngIntoPicture(SDL_Surface*& picture, const std::string& fileName) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName, bytes)) return false;
  std::string problem;
  SDL_Surface* decoded = DecodePng(bytes.data(), bytes.size(), problem);
  if (!decoded) return false;
  SDL_FreeSurface(picture);
  picture = decoded;
  return true;
}
