// Start-up: from the exec of the game to its first title frame on an X display, as the window's
// pixels show it: the top of the title picture, where the logo is, as the resource builder drew
// it.

#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "x_display.h"

namespace {

constexpr int LogoWidth = 448, LogoHeight = 120;
constexpr double MatchingRms = 0.05;  // the game's 16-bit colours stay well inside it
constexpr double FirstFrameWaitMs = 10000;
constexpr useconds_t PollMicroseconds = 2000;
constexpr int Runs = 5;

// The logo's pixels as 0xRRGGBB, row by row; empty when the picture cannot be read.
std::vector<uint32_t> TitleLogo() {
  std::vector<uint32_t> logo;
  SDL_Surface* read = IMG_Load(VELDRANE_BUILD_DIR "/res/src/img/title_picture.png");
  SDL_Surface* picture = read ? SDL_ConvertSurfaceFormat(read, SDL_PIXELFORMAT_RGB888, 0) : nullptr;
  SDL_FreeSurface(read);
  if (!picture || picture->w < LogoWidth || picture->h < LogoHeight) return SDL_FreeSurface(picture), logo;
  for (int y = 0; y < LogoHeight; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(picture->pixels) +
                                                        y * picture->pitch);
    for (int x = 0; x < LogoWidth; ++x) logo.push_back(row[x] & 0xFFFFFF);
  }
  SDL_FreeSurface(picture);
  return logo;
}

// The root-mean-square difference of two pictures' channels, 0 to 1.
double RmsDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i)
    for (int shift = 0; shift < 24; shift += 8) {
      const double d = double(int(a[i] >> shift & 0xFF) - int(b[i] >> shift & 0xFF)) / 255;
      sum += d * d;
    }
  return std::sqrt(sum / double(a.size() * 3));
}

bool ShowsTitle(XWindowView* view, pid_t game, const std::vector<uint32_t>& logo) {
  const std::vector<uint32_t> shown =
      WindowPixels(view, game, 0, WindowMenuHeight, LogoWidth, LogoHeight);
  return shown.size() == logo.size() && RmsDifference(shown, logo) < MatchingRms;
}

// Milliseconds from the exec to the title on the display; negative when it never came.
double StartUpMs(const XDisplayRun& run, XWindowView* view, const std::vector<uint32_t>& logo) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  const pid_t game = StartOnDisplay(run, {VELDRANE_BUILD_DIR "/veldrane"});
  double ms = -1;
  for (double waited = 0; game && waited < FirstFrameWaitMs;
       waited = std::chrono::duration<double, std::milli>(Clock::now() - start).count()) {
    if (ShowsTitle(view, game, logo)) {
      ms = waited;
      break;
    }
    usleep(PollMicroseconds);
  }
  StopProgram(game);
  return ms;
}

void BM_StartUpOnDisplay(benchmark::State& state) {
  XDisplayRun run;
  if (!StartXDisplay(run)) return state.SkipWithError(run.problem.c_str());
  const std::vector<uint32_t> logo = TitleLogo();
  XWindowView* view = OpenWindowView(run);
  std::vector<double> times;
  // A first start, not counted, makes the store and brings the files into memory.
  if (!logo.empty() && view && StartUpMs(run, view, logo) >= 0)
    for (auto _ : state)
      for (int i = 0; i < Runs; ++i) times.push_back(StartUpMs(run, view, logo));
  CloseWindowView(view);
  StopXDisplay(run);
  if (times.empty() || *std::min_element(times.begin(), times.end()) < 0)
    return state.SkipWithError("the title did not come on the display");
  std::sort(times.begin(), times.end());
  state.counters["start_up_ms"] = times[times.size() / 2];
  state.counters["worst_start_up_ms"] = times.back();
}
BENCHMARK(BM_StartUpOnDisplay)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
