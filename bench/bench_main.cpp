#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char** argv) {
  // Headless: the benchmarks measure the game's own work, not a display's.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
