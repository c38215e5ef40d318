// Drawing speed: sprites with a colour key onto the 16-bit back buffer, in nanoseconds per
// drawn pixel, beside a plain memcpy of the same bytes measured in the same run.

#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "platform/platform.h"

namespace {

constexpr int32_t Sprite32 = 1, Sprite64 = 2;
constexpr int64_t FramePixels = int64_t(ScreenWidth) * ScreenHeight;

// A sheet with a 32x32 and a 64x64 ball (a quarter of each square is transparent corner), cut
// into the same bands the resource builder makes.
void MakeBallSheet() {
  SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, 96, 64, 24, SDL_PIXELFORMAT_RGB24);
  SDL_FillRect(picture, nullptr, SDL_MapRGB(picture->format, 255, 0, 255));
  auto* pixels = static_cast<uint8_t*>(picture->pixels);
  auto ball = [&](int left, int size) {
    float r = size / 2.0f;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (std::hypot(x + 0.5f - r, y + 0.5f - r) < r) {
          uint8_t* p = pixels + y * picture->pitch + (left + x) * 3;
          p[0] = uint8_t(60 + 3 * x), p[1] = uint8_t(90 + 2 * y), p[2] = 200;
        }
  };
  ball(0, 32);
  ball(32, 64);
  pixels[0] = 255, pixels[1] = 0, pixels[2] = 255;  // the key, in the top-left corner
  auto path = std::filesystem::temp_directory_path() / "veldrane-bench-sheet.png";
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "wb");
  std::vector<char> prefix(SheetPrefixBytes, 0);
  SDL_RWwrite(file, prefix.data(), 1, prefix.size());
  IMG_SavePNG_RW(picture, file, 1);
  SDL_FreeSurface(picture);
  LoadSurface(path.string());

  SpriteCount = 2;
  PieceCount = 3;
  PageHeight = 512;
  PieceTable = {{}, {0, 0, 32, 32, 0, 0, 0, 0, 0}, {0, 32, 64, 32, 0, 0, 3, 0, 0},
                {32, 32, 64, 32, 0, 32, 0, 0, 0}};
  SpriteTable = {{}, {1, 0, 0, 32, 32}, {2, 0, 0, 64, 64}};
  SpriteNames = {"", "ball32", "ball64"};
}

struct Display {
  Display() {
    PlatformInit();
    ShowForm(GameForm::Window);
    InitDirectDraw(GameForm::Window, false);
    RefreshClipBounds();
    MakeBallSheet();
  }
};

void EnsureDisplay() { static Display display; }

// Times `draw` with a clock of its own so that the figure per pixel is exact, not a rate.
template <typename Draw>
void MeasurePixels(benchmark::State& state, int64_t pixelsPerIteration, Draw draw) {
  using Clock = std::chrono::steady_clock;
  double totalSeconds = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    draw();
    benchmark::ClobberMemory();
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    totalSeconds += seconds;
  }
  double pixels = double(state.iterations()) * double(pixelsPerIteration);
  state.counters["ns_per_pixel"] = totalSeconds * 1e9 / pixels;
  state.SetBytesProcessed(int64_t(pixels) * 2);
}

// Sixteen draws a round, so that reading the clock costs little beside them.
void BM_DrawSprite64(benchmark::State& state) {
  EnsureDisplay();
  MeasurePixels(state, 16 * 64 * 64, [] {
    for (int i = 0; i < 16; ++i) DrawSprite(200 + 8 * i, 200, Sprite64);
  });
}
BENCHMARK(BM_DrawSprite64)->UseManualTime();

void BM_DrawSpriteClipped(benchmark::State& state) {
  EnsureDisplay();
  MeasurePixels(state, 16 * 44 * 44, [] {
    for (int i = 0; i < 16; ++i) DrawSprite(-20, -20, Sprite64);
  });
}
BENCHMARK(BM_DrawSpriteClipped)->UseManualTime();

// A whole screen covered by 300 sprites of 32x32.
void BM_FullScreenOfSprites(benchmark::State& state) {
  EnsureDisplay();
  MeasurePixels(state, FramePixels, [] {
    for (int y = 0; y < ScreenHeight; y += 32)
      for (int x = 0; x < ScreenWidth; x += 32) DrawSprite(x, y, Sprite32);
  });
}
BENCHMARK(BM_FullScreenOfSprites)->UseManualTime();

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint16_t> from(FramePixels, 0x1234), to(FramePixels);
  MeasurePixels(state, FramePixels, [&] {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint16_t));
  });
}
BENCHMARK(BM_MemcpyFrame)->UseManualTime();

void BM_ClearAndPresent(benchmark::State& state) {
  EnsureDisplay();
  MeasurePixels(state, FramePixels, [] {
    ClearBackBuffer();
    benchmark::DoNotOptimize(PresentFrame(GameForm::Window));
  });
}
BENCHMARK(BM_ClearAndPresent)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
