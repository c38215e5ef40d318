#include "support/autopilot.h"

#include "input/input.h"
#include "stage/behaviours.h"
#include "stage/stage_state.h"

namespace {

bool BossOpenToFire() {
  if (Play.BossIndex <= 0 || Play.BossIndex == NoObject) return false;
  const GameObject& boss = Obj(Play.BossIndex);
  return boss.group == QG_Enemy && boss.life < IndestructibleAbove;
}

float TargetX(const GameObject& ship) {
  if (BossOpenToFire()) {
    const GameObject& boss = Obj(Play.BossIndex);
    return boss.x + boss.centerX - 32;
  }
  float targetX = 191, lowest = -1e9f;
  for (ObjectIndex e = World.QueueGroups[QG_Enemy].head; e != NoObject; e = Obj(e).next) {
    const GameObject& enemy = Obj(e);
    if (enemy.y > lowest && enemy.y > -32 && enemy.y < ship.y - 40) {
      lowest = enemy.y;
      targetX = enemy.x + enemy.centerX - 32;
    }
  }
  return targetX;
}

}  // namespace

uint16_t Autopilot() {
  if (Play.ShipIndex == NoObject) return 0;
  const GameObject& ship = Obj(Play.ShipIndex);
  float targetX = TargetX(ship);
  uint16_t buttons = BTN_Z;
  if (ship.x < targetX - 4) buttons |= BTN_RIGHT;
  if (ship.x > targetX + 4) buttons |= BTN_LEFT;
  if (ship.y < 370) buttons |= BTN_DOWN;
  return buttons;
}
