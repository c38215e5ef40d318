// A frame's cost on an X display beside the floor's: the game and the floor program (a bare SDL
// program that uploads a 640x480 RGB565 picture and presents it 30 times a second) run side by
// side for the same seconds, and the CPU time each used is compared.

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "bench_display.h"
#include "game/play_statistics.h"
#include "game/scenes.h"
#include "input/input.h"
#include "stage/hits.h"
#include "support/autopilot.h"
#include "x_display.h"

namespace {

constexpr unsigned SettleSeconds = 3;  // start-up, and the way from the title into a play
constexpr unsigned MeasuredSeconds = 10;

bool Running(pid_t program) { return program > 0 && waitpid(program, nullptr, WNOHANG) == 0; }

void BM_FrameCostBesideFloor(benchmark::State& state, const char* scene) {
  XDisplayRun run;
  if (!StartXDisplay(run)) return state.SkipWithError(run.problem.c_str());
  for (auto _ : state) {
    const pid_t floor = StartOnDisplay(run, {VELDRANE_BUILD_DIR "/present_floor"});
    const pid_t game = StartOnDisplay(run, {"/proc/self/exe", "--frame-cost-child", scene});
    sleep(SettleSeconds);
    const double floorStart = CpuMilliseconds(floor), gameStart = CpuMilliseconds(game);
    sleep(MeasuredSeconds);
    const double floorMs = CpuMilliseconds(floor) - floorStart;
    const double gameMs = CpuMilliseconds(game) - gameStart;
    const bool ran = Running(floor) && Running(game);
    StopProgram(floor);
    StopProgram(game);
    if (!ran || floorMs <= 0) {
      state.SkipWithError("the game or the floor program did not keep running");
      break;
    }
    state.counters["floor_cpu_ms_per_s"] = floorMs / MeasuredSeconds;
    state.counters["game_cpu_ms_per_s"] = gameMs / MeasuredSeconds;
    state.counters["x_floor"] = gameMs / floorMs;
  }
  StopXDisplay(run);
}
BENCHMARK_CAPTURE(BM_FrameCostBesideFloor, Title, "title")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FrameCostBesideFloor, Play, "play")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int RunFrameCostChild(const std::string& scene) {
  const bool play = scene == "play";
  ShipCannotDie = play;
  int reads = 0;
  SetButtonSource([&]() -> uint16_t {
    if (!play) return 0;
    if (Stats.InPlay) return Autopilot();
    return ++reads % 2 ? BTN_Z : 0;  // Z pressed and let go until the play starts
  });
  return Main();
}
