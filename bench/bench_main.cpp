#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "bench_display.h"

int main(int argc, char** argv) {
  // Headless: the benchmarks measure the game's own work, not a display's.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (argc == 2 && std::strcmp(argv[1], "--start-up-child") == 0) return RunStartUpChild();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
