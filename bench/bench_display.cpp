#include "bench_display.h"

#include <string>

#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "platform/platform.h"

void EnsureGameDisplay() {
  static bool ready = false;
  if (ready) return;
  PlatformInit();
  ShowForm(GameForm::Window);
  InitDisplay(GameForm::Window, false);
  LoadImageResources(std::string(VELDRANE_BUILD_DIR) + "/res/");
  RefreshClipBounds();
  ready = true;
}
