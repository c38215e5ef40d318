#include "artgen.h"
#include "enemies_paint.h"

void DrawEnemies(const std::filesystem::path& folder) {
  using namespace enemy_art;
  DrawEnemyShots(folder);
  DrawDrone(folder);
  DrawDart(folder);
  DrawPod(folder);
  DrawArmoured(folder);
  DrawHatchTurret(folder);
  DrawBeamCraft(folder);
}
