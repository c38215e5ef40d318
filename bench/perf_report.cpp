// The performance report: one run of the benchmarks that tell how the game will feel on this
// machine, then each figure beside its target. The figures marked (X) are taken on an X display
// of the report's own, and are not measured where Xvfb is missing.

#include "perf_report.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr const char* ReportedBenchmarks =
    "BM_WholeStage|BM_FrameCostBesideFloor|BM_StartUpOnDisplay|BM_DrawSprite64|"
    "BM_DrawSpriteClipped|BM_FullScreenOfSprites|BM_ScanBadMusicFolder";

using Figures = std::map<std::string, std::vector<double>>;  // "benchmark/counter" → values

// Prints the runs as usual and keeps their counters.
class KeepingReporter : public benchmark::ConsoleReporter {
 public:
  explicit KeepingReporter(Figures& figures) : figures_(figures) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      for (const auto& [name, counter] : run.counters)
        figures_[run.run_name.function_name + "/" + name].push_back(counter.value);
  }

 private:
  Figures& figures_;
};

struct Target {
  const char* what;
  const char* figure;  // "benchmark/counter"; the worst of its values is reported
  bool lowerIsBetter;
  double limit;        // 0: shown without a target
  const char* unit;
};

constexpr Target Targets[] = {
    {"whole stage, frames a second (headless, drawn)", "BM_WholeStage/fps", false, 3000, "fps"},
    {"worst frame's processing time (budget 33 ms)", "BM_WholeStage/worst_frame_ms", true, 1, "ms"},
    {"median frame's processing time", "BM_WholeStage/median_frame_ms", true, 0, "ms"},
    {"a frame's CPU beside the floor's, title (X)", "BM_FrameCostBesideFloor/Title/x_floor", true,
     1.3, "x"},
    {"  in play", "BM_FrameCostBesideFloor/Play/x_floor", true, 1.3, "x"},
    {"  the floor's CPU, ms a second", "BM_FrameCostBesideFloor/Title/floor_cpu_ms_per_s", true, 0,
     "ms"},
    {"start-up to the first title frame (X), median", "BM_StartUpOnDisplay/start_up_ms", true, 0,
     "ms"},
    {"  the slowest of five", "BM_StartUpOnDisplay/worst_start_up_ms", true, 250, "ms"},
    {"keyed drawing per pixel, times memcpy", "BM_DrawSprite64/game_x_memcpy", true, 4, "x"},
    {"  clipped at the screen's corner", "BM_DrawSpriteClipped/game_x_memcpy", true, 4, "x"},
    {"  a screen full of small sprites", "BM_FullScreenOfSprites/game_x_memcpy", true, 4, "x"},
    {"keyed drawing per pixel, times SDL's blitter", "BM_DrawSprite64/game_x_sdl", true, 0, "x"},
    {"music folder of 5,000 files that are not music", "BM_ScanBadMusicFolder/scan_ms", true, 500,
     "ms"},
    {"peak resident memory of a whole play", "BM_WholeStage/peak_rss_mb", true, 64, "MB"},
};

// False when a figure misses its target or is missing.
bool PrintTable(const Figures& figures) {
  bool allMet = true;
  std::printf("\nPerformance report\n");
  for (const Target& target : Targets) {
    const auto found = figures.find(target.figure);
    if (found == figures.end()) {
      std::printf("  %-46s %12s\n", target.what, "not measured");
      allMet = false;
      continue;
    }
    const std::vector<double>& values = found->second;
    const double worst = target.lowerIsBetter ? *std::max_element(values.begin(), values.end())
                                              : *std::min_element(values.begin(), values.end());
    std::printf("  %-46s %10.2f %-3s", target.what, worst, target.unit);
    if (target.limit > 0) {
      const bool met = target.lowerIsBetter ? worst < target.limit : worst > target.limit;
      allMet = allMet && met;
      std::printf("  target %s %g %s: %s", target.lowerIsBetter ? "under" : "over", target.limit,
                  target.unit, met ? "met" : "MISSED");
    }
    std::printf("\n");
  }
  return allMet;
}

}  // namespace

int RunPerfReport() {
  Figures figures;
  KeepingReporter reporter(figures);
  benchmark::RunSpecifiedBenchmarks(&reporter, ReportedBenchmarks);
  return PrintTable(figures) ? 0 : 1;
}
