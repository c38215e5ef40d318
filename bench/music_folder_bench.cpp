// The start-up's scan of a music folder that holds 5,000 files named .mp3 that are not music
// and a few that are, sorted last: the whole folder is looked at. Target: under half a second.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/resource_format.h"
#include "sound/mixer.h"
#include "sound/sound.h"

namespace fs = std::filesystem;

namespace {

constexpr int BadFiles = 5000;

// Text and zeros under mp3 names, then the shipped music twice over.
fs::path MakeMusicFolder() {
  const fs::path folder =
      fs::temp_directory_path() / ("veldrane-bench-music-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (int i = 0; i < BadFiles; ++i) {
    std::ofstream out(folder / ("track" + std::to_string(10000 + i) + ".mp3"), std::ios::binary);
    out << "not music, file " << i << std::string(1000, i % 2 ? ' ' : '\0');
  }
  const fs::path shipped = fs::path(VELDRANE_BUILD_DIR) / "res" / ShippedMusicFolder;
  for (const char* copy : {"zz1 ", "zz2 "})
    for (const fs::directory_entry& track : fs::directory_iterator(shipped))
      fs::copy_file(track.path(), folder / (copy + track.path().filename().string()));
  return folder;
}

void BM_ScanBadMusicFolder(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const fs::path folder = MakeMusicFolder();
  SoundInit();  // open, as at start-up
  double worstMs = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    ScanBgmFolder(folder.string());
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    worstMs = std::max(worstMs, ms);
  }
  const bool found = !Sounds.BgmSlots[0].empty();
  SoundClose();
  fs::remove_all(folder);
  if (!found) return state.SkipWithError("the music at the end was not found");
  state.counters["scan_ms"] = worstMs;
}
BENCHMARK(BM_ScanBadMusicFolder)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
