// Drawing speed: sprites with a colour key onto the 16-bit back buffer, in nanoseconds per
// pixel of their pieces, beside SDL's colour-key blitter and a plain memcpy of the same pieces
// measured in the same run, and a memcpy of a whole frame.

#include <SDL.h>
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

// Work timed with a clock of its own, so that the figures per pixel are exact, not rates.
template <typename Work>
double Seconds(Work work) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point start = Clock::now();
  work();
  benchmark::ClobberMemory();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

template <typename Draw>
void MeasurePixels(benchmark::State& state, int64_t pixelsPerIteration, Draw draw) {
  double totalSeconds = 0;
  for (auto _ : state) {
    double seconds = Seconds(draw);
    state.SetIterationTime(seconds);
    totalSeconds += seconds;
  }
  double pixels = double(state.iterations()) * double(pixelsPerIteration);
  state.counters["ns_per_pixel"] = totalSeconds * 1e9 / pixels;
  state.SetBytesProcessed(int64_t(pixels) * 2);
}

// One piece of a drawn sprite as it lands on the back buffer: clipped as DrawPiece clips.
struct PieceCopy {
  SDL_Surface* sheet;
  SDL_Rect from;
  SDL_Point to;
};

std::vector<PieceCopy> PieceCopies(int32_t id, const std::vector<SDL_Point>& points) {
  const SDL_Rect screen{0, 0, Images.ClipWidth, Images.ClipHeight};
  std::vector<PieceCopy> copies;
  for (SDL_Point point : points)
    for (int32_t i = SpriteBox(id).FirstPiece; i > 0; i = Images.PieceTable[size_t(i)].Next) {
      const PieceRecord& piece = Images.PieceTable[size_t(i)];
      const SDL_Rect placed{point.x + piece.OffsetX, point.y + piece.OffsetY, piece.Width,
                            piece.Height};
      SDL_Rect shown;
      if (!SDL_IntersectRect(&placed, &screen, &shown)) continue;
      const int32_t top = PageTop(piece.Page, piece.SrcY, Images.PageHeight);
      copies.push_back(
          {Display.SurfaceList[size_t(piece.Surface)].surface,
           {piece.SrcX + shown.x - placed.x, top + shown.y - placed.y, shown.w, shown.h},
           {shown.x, shown.y}});
    }
  return copies;
}

void SdlBlits(const std::vector<PieceCopy>& copies) {
  for (const PieceCopy& copy : copies) {
    SDL_Rect from = copy.from, to{copy.to.x, copy.to.y, 0, 0};
    SDL_BlitSurface(copy.sheet, &from, Display.BackBuffer, &to);
  }
}

void MemcpyRows(const std::vector<PieceCopy>& copies) {
  const SDL_Surface* back = Display.BackBuffer;
  for (const PieceCopy& copy : copies)
    for (int32_t row = 0; row < copy.from.h; ++row)
      std::memcpy(
          static_cast<uint8_t*>(back->pixels) + (copy.to.y + row) * back->pitch + copy.to.x * 2,
          static_cast<const uint8_t*>(copy.sheet->pixels) +
              (copy.from.y + row) * copy.sheet->pitch + copy.from.x * 2,
          size_t(copy.from.w) * 2);
}

// The game's keyed drawing of `id` at each point, SDL's keyed blitter on the same pieces and a
// memcpy of their rows, taken in turns in every round so that all three meet the same machine.
// The iteration time is the game's.
void CompareKeyedDrawing(benchmark::State& state, int32_t id,
                         const std::vector<SDL_Point>& points) {
  EnsureGameDisplay();
  const std::vector<PieceCopy> copies = PieceCopies(id, points);
  double pixels = 0;
  for (const PieceCopy& copy : copies) pixels += double(copy.from.w) * copy.from.h;
  double game = 0, sdl = 0, copied = 0;
  for (auto _ : state) {
    const double seconds = Seconds([&] {
      for (SDL_Point point : points) DrawSprite(point.x, point.y, id);
    });
    sdl += Seconds([&] { SdlBlits(copies); });
    copied += Seconds([&] { MemcpyRows(copies); });
    state.SetIterationTime(seconds);
    game += seconds;
  }
  const double nanosecondsPerPixel = 1e9 / (pixels * double(state.iterations()));
  state.counters["game_ns_px"] = game * nanosecondsPerPixel;
  state.counters["sdl_ns_px"] = sdl * nanosecondsPerPixel;
  state.counters["memcpy_ns_px"] = copied * nanosecondsPerPixel;
  state.counters["game_x_memcpy"] = game / copied;
  state.counters["sdl_x_memcpy"] = sdl / copied;
  state.counters["game_x_sdl"] = game / sdl;
}

// Sixteen draws a round, so that reading the clock costs little beside them.
void BM_DrawSprite64(benchmark::State& state) {
  std::vector<SDL_Point> points;
  for (int i = 0; i < 16; ++i) points.push_back({200 + 8 * i, 200});
  CompareKeyedDrawing(state, Sprite64, points);
}
BENCHMARK(BM_DrawSprite64)->UseManualTime();

void BM_DrawSpriteClipped(benchmark::State& state) {
  CompareKeyedDrawing(state, Sprite64, std::vector<SDL_Point>(16, {-20, -20}));
}
BENCHMARK(BM_DrawSpriteClipped)->UseManualTime();

// A whole screen covered by 300 sprites of 32x32.
void BM_FullScreenOfSprites(benchmark::State& state) {
  std::vector<SDL_Point> points;
  for (int y = 0; y < ScreenHeight; y += 32)
    for (int x = 0; x < ScreenWidth; x += 32) points.push_back({x, y});
  CompareKeyedDrawing(state, Sprite32, points);
}
BENCHMARK(BM_FullScreenOfSprites)->UseManualTime();

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint16_t> from(FramePixels, 0x1234), to(FramePixels);
  MeasurePixels(state, FramePixels,
                [&] { std::memcpy(to.data(), from.data(), from.size() * sizeof(uint16_t)); });
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
