#include "support/autopilot.h"

#include "input/input.h"
#include "objects/object_passes.h"

namespace {

bool BossOpenToFire() {
  if (BossIndex <= 0 || BossIndex == NoObject) return false;
  const GameObject& boss = ObjectTable[BossIndex];
  return boss.group == QG_Enemy && boss.life < 29000;
}

float TargetX(const GameObject& ship) {
  if (BossOpenToFire()) {
    const GameObject& boss = ObjectTable[BossIndex];
    return boss.x + boss.centerX - 32;
  }
  float targetX = 191, lowest = -1e9f;
  for (ObjectIndex e = QueueGroups[QG_Enemy].head; e != NoObject; e = ObjectTable[e].next) {
    const GameObject& enemy = ObjectTable[e];
    if (enemy.y > lowest && enemy.y > -32 && enemy.y < ship.y - 40) {
      lowest = enemy.y;
      targetX = enemy.x + enemy.centerX - 32;
    }
  }
  return targetX;
}

}  // namespace

uint16_t Autopilot() {
  if (ShipIndex == NoObject) return 0;
  const GameObject& ship = ObjectTable[ShipIndex];
  float targetX = TargetX(ship);
  uint16_t buttons = BTN_Z;
  if (ship.x < targetX - 4) buttons |= BTN_RIGHT;
  if (ship.x > targetX + 4) buttons |= BTN_LEFT;
  if (ship.y < 370) buttons |= BTN_DOWN;
  return buttons;
}
