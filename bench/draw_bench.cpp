// Drawing speed: sprites with a colour key onto the 16-bit back buffer, in nanoseconds per
// pixel of their boxes, beside a plain memcpy of the same bytes measured in the same run.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "bench_display.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "platform/platform.h"

namespace {

// The ship's body (64x64) and the small drone (32x32) of the real sprite sheet.
constexpr int32_t Sprite64 = 481, Sprite32 = 500;
constexpr int64_t FramePixels = int64_t(ScreenWidth) * ScreenHeight;

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
  EnsureGameDisplay();
  MeasurePixels(state, 16 * 64 * 64, [] {
    for (int i = 0; i < 16; ++i) DrawSprite(200 + 8 * i, 200, Sprite64);
  });
}
BENCHMARK(BM_DrawSprite64)->UseManualTime();

void BM_DrawSpriteClipped(benchmark::State& state) {
  EnsureGameDisplay();
  MeasurePixels(state, 16 * 44 * 44, [] {
    for (int i = 0; i < 16; ++i) DrawSprite(-20, -20, Sprite64);
  });
}
BENCHMARK(BM_DrawSpriteClipped)->UseManualTime();

// A whole screen covered by 300 sprites of 32x32.
void BM_FullScreenOfSprites(benchmark::State& state) {
  EnsureGameDisplay();
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
  EnsureGameDisplay();
  MeasurePixels(state, FramePixels, [] {
    ClearBackBuffer();
    benchmark::DoNotOptimize(PresentFrame());
  });
}
BENCHMARK(BM_ClearAndPresent)->UseManualTime();

}  // namespace
