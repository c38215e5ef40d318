// The whole stage, drawn, with no frame wait: how fast frames are made and how long the worst
// one takes beside the 33 ms a frame may use.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "bench_display.h"
#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "input/input.h"
#include "platform/platform.h"
#include "stage/hits.h"
#include "stage/random.h"
#include "stage/stage_state.h"
#include "support/autopilot.h"

namespace {

constexpr int32_t StageFrames = 7500;

void BM_WholeStage(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  EnsureGameDisplay();
  UseFakeClock(0);  // frame waits return at once
  ShipCannotDie = true;
  for (auto _ : state) {
    SeedRandom(1);
    Program.QuitRequested = false;
    Game = GameRecord{};
    Game.Lives = 2;
    double worst = 0, total = 0;
    int32_t frames = 0;
    Clock::time_point last{};
    SetButtonSource([&]() -> uint16_t {
      Clock::time_point now = Clock::now();
      if (last == Clock::time_point{}) {  // the play waits for every button to be up
        last = now;
        return 0;
      }
      if (FrameCounter > 0) {
        double ms = std::chrono::duration<double, std::milli>(now - last).count();
        worst = std::max(worst, ms);
        total += ms;
        ++frames;
      }
      last = now;
      return FrameCounter >= StageFrames ? BTN_ESC : Autopilot();
    });
    RunGame();
    state.counters["frames"] = frames;
    state.counters["fps"] = frames / (total / 1000);
    state.counters["mean_frame_ms"] = total / frames;
    state.counters["worst_frame_ms"] = worst;
    state.counters["budget_ms"] = Program.FrameMs;
  }
  SetButtonSource(nullptr);
  UseRealClock();
}
BENCHMARK(BM_WholeStage)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
