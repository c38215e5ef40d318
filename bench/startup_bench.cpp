// Start-up: from starting the program to its first presented title frame. The benchmark starts
// this benchmark binary again as a child that runs the game's Main; the child says when the
// title asks for its buttons after its first frame, and leaves with Escape.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_display.h"
#include "game/scenes.h"
#include "input/input.h"
#include "platform/platform.h"

extern char** environ;

namespace {

constexpr const char* TitleShown = "title shown\n";

void BM_StartUpToTitle(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    int output[2];
    if (pipe(output) != 0) return state.SkipWithError("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    char self[] = "/proc/self/exe";
    char flag[] = "--start-up-child";
    char* arguments[] = {self, flag, nullptr};
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int failed = posix_spawn(&child, self, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (failed != 0) return state.SkipWithError("could not start the game");
    char line[64] = {};
    const ssize_t got = read(output[0], line, sizeof line - 1);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got <= 0 || std::string(line) != TitleShown) return state.SkipWithError("no title frame");
    state.counters["start_up_ms"] = ms;
  }
}
BENCHMARK(BM_StartUpToTitle)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int RunStartUpChild() {
  // A store of its own, and no frame waits: only the work of starting counts.
  std::string config = (std::filesystem::temp_directory_path() / "veldrane-start-XXXXXX").string();
  if (!mkdtemp(config.data())) return 1;
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  UseFakeClock(0);
  int reads = 0;
  SetButtonSource([&]() -> uint16_t {
    // The title reads its buttons twice before its first frame.
    if (++reads == 3) {
      std::fputs(TitleShown, stdout);
      std::fflush(stdout);
    }
    return reads >= 3 ? BTN_ESC : 0;
  });
  const int code = Main();
  std::filesystem::remove_all(config);
  return code;
}
