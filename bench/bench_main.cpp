#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "bench_display.h"
#include "perf_report.h"

int main(int argc, char** argv) {
  // Headless: the benchmarks measure the game's own work, not a display's.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (argc == 3 && std::strcmp(argv[1], "--frame-cost-child") == 0)
    return RunFrameCostChild(argv[2]);
  const bool report = argc >= 2 && std::strcmp(argv[argc - 1], "--perf-report") == 0;
  if (report) --argc;
  benchmark::Initialize(&argc, argv);
  if (report) {
    const int missed = RunPerfReport();
    benchmark::Shutdown();
    return missed;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
