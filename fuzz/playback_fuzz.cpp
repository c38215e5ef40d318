// Replays on arbitrary bytes, read, checked and played back as `veldrane --replay` does, in a
// window on SDL's dummy driver with the built resources. A record the game refuses ends there;
// one it accepts plays to its end, and none may draw a sanitizer report on the way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "common/replay_format.h"
#include "common/resource_format.h"
#include "game/game_state.h"
#include "game/replay.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "platform/platform.h"

namespace {

// A stage's opening waves, and still a few plays a second under the sanitizers.
constexpr size_t MostFrames = 300;

// As the game shuts down, so that the leak check at exit sees only what the plays left.
void ShutDown() {
  ReleaseDisplay();
  FreeAllSurfaces();
  PlatformShutdown();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  PlatformInit();
  UseFakeClock(0);  // frames do not wait
  Program.CurrentForm = GameForm::Window;
  ShowForm(Program.CurrentForm);
  InitDisplay(Program.CurrentForm, false);
  LoadImageResources(VELDRANE_FUZZ_RESOURCES);
  std::atexit(ShutDown);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReplayRecord record;
  try {
    record = ParseReplay(std::vector<uint8_t>(data, data + size));
    CheckReplay(record);
  } catch (const FormatError&) {
    return 0;
  }
  if (record.buttons.size() > MostFrames) return 0;
  Program.QuitRequested = Program.PauseRequested = false;  // a play that was left asked for them
  PlayReplay(record);
  return 0;
}
