// The boss: its entry, fifteen attack cycles of turret formations and homing launches, the
// final spiral, and its turrets.

#include <cmath>

#include "common/frame_clock.h"
#include "graphics/image_resource.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/random.h"
#include "stage/stage.h"
#include "stage/stage_state.h"

namespace {

constexpr float BossX = 144;
// Where it rests while it fights: the top edge, where shots can reach it. Sliding in ends a
// row higher, at age 199, and age 200 sets it down.
constexpr float BossY = 0;
constexpr int32_t Launches = 15;
constexpr float LaunchX = 200;

// Turret sprite by cell kind: the kind fixes the direction it fires in.
constexpr int32_t TurretSprites[] = {Sprite::TurretDown, Sprite::TurretUp, Sprite::TurretLeft,
                                     Sprite::TurretRight};
constexpr float TurretShotSpeed = 8;

void SetCell(int32_t column, int32_t row, int16_t a, int16_t b, int16_t kind) {
  Play.BossPatterns[row][column] = {a, b, kind};
}

void SetCells(int32_t column, int32_t firstRow, std::initializer_list<BossCell> cells) {
  int32_t row = firstRow;
  for (const BossCell& cell : cells) Play.BossPatterns[row++][column] = cell;
}

// ---- the boss ----

void DrawBody(GameObject& o, int32_t age) {
  if (o.life != o.work3 && FrameCounter % 2 != 0 && o.life < IndestructibleAbove && age >= 201) {
    DrawObject(o, 1);  // hit flash
    o.work3 = o.life;
  } else {
    DrawObject(o, 0);
  }
}

// The face images of formation f at time t of the cycle: they open, play, and close again.
void DrawFace(const GameObject& o, int32_t f, int32_t t, int32_t age) {
  auto face = [&](int32_t offset) { DrawObject(o, offset); };
  bool opening = t <= 35, closing = t >= 230;
  switch (f) {
    case 0:
      if (opening)
        face(10 - t / 5);
      else if (closing)
        face(4 + (age - 430) / 5);
      else
        face(t % 2 == 0 ? 3 : 2);
      break;
    case 1:
      if (!closing) face(14 + t % 3);
      break;
    case 2:
      face(13);
      if (opening && t > 17)
        face(11);
      else if (closing && t < 247)
        face(11);
      else if (!opening && !closing)
        face(11 + t % 2);
      break;
    default:
      if (opening)
        face(20 - t / 9);
      else if (closing)
        face(17 + (age - 430) / 12);
      else
        face(17 + t % 2);
      break;
  }
}

// While a formation rises, turrets appear row by row of its pattern column.
void RaiseTurrets(ObjectIndex self, int32_t f, int32_t t, int32_t age) {
  constexpr int32_t Pace[] = {2, 3, 4, 2};  // frames per turret
  if (t < 36 || t > 120 || t % Pace[f] != 0) return;
  const BossCell& cell = Play.BossPatterns[(age - 236) / Pace[f]][f];
  ObjectIndex turret = CreateObject(TypeBossTurret, QG_DrawLast, InsertAtHead, cell.a, cell.b,
                                    KeepTemplateValue, KeepTemplateValue, KeepTemplateValue,
                                    int16_t(self));
  if (turret != NoObject) Obj(turret).sprite = TurretSprites[cell.kind];
}

ObjectIndex LaunchHoming(float x, float y, float vx, float vy, float phase) {
  ObjectIndex i = Spawn(TypeHoming, x, y, vx, vy);
  if (i != NoObject) Obj(i).animPhase = phase;
  return i;
}

void LaunchHomingAt(float vx, float vy, float phase, float heading) {
  ObjectIndex i = LaunchHoming(LaunchX, 0, vx, vy, phase);
  if (i != NoObject) Obj(i).work2 = heading;
}

void Launch(GameObject& o, int32_t age) {
  if (age == 501) {
    o.work1 += 1;
    if (o.work1 <= Launches)
      LaunchHoming(LaunchX, 0, -1, 0, 12);
    else
      o.stamp = FrameCounter - 3000;  // on to the final phase
  }
  if (age == 525 && FrameCounter % 8 > 2) LaunchHomingAt(1, 0, 4, Pi);
  if (age == 550 && FrameCounter % 8 > 4) LaunchHomingAt(-1, 1, 14, 0);
  if (age == 575 && FrameCounter % 8 > 6) LaunchHomingAt(1, 1, 2, Pi);
}

// The image of a homing enemy that points along heading a.
float HeadingFrame(float a) {
  float frame = std::nearbyint(15 * a / (2 * Pi) + 12);
  while (frame < 0) frame += 16;
  while (frame > 15) frame -= 16;
  return frame;
}

void Spiral(GameObject& o, int32_t age) {
  o.y += 1;
  if (age % 4 != 1) return;
  float a = std::sin(float(age) / 500 * 2 * Pi * 24) - Pi / 2;
  ObjectIndex i = LaunchHoming(LaunchX, o.y + 50, -3 * std::cos(a), 3 * std::sin(a), HeadingFrame(a));
  if (i != NoObject) Obj(i).work2 = a;
}

// ---- its turrets ----

float TurretShotVx(int32_t sprite) {
  return sprite == Sprite::TurretLeft ? -TurretShotSpeed
         : sprite == Sprite::TurretRight ? TurretShotSpeed
                                          : 0;
}

float TurretShotVy(int32_t sprite) {
  return sprite == Sprite::TurretDown ? TurretShotSpeed
         : sprite == Sprite::TurretUp ? -TurretShotSpeed
                                       : 0;
}

// The boss's age less 237, or a time when turrets do nothing if the boss is gone.
int32_t BossClock(int16_t boss) {
  if (boss <= 0 || boss >= ObjectRecords || Obj(boss).behaviour != BehBoss) return -1;
  return Age(Obj(boss)) - 237;
}

void TurretAtWork(GameObject& o, int32_t age) {
  bool hit = o.work3 > o.life && age % 2 != 0;
  DrawObject(o, hit ? 1 : 0);
  if (hit) o.work3 = o.life;
  int32_t u = BossClock(o.tag);
  if (u > 110 && u < 115) DrawObject(o, 116 - u);  // the barrel comes out
  if (u >= 115 && u <= 200) {
    DrawObject(o, 2 + u % 2);
    if (age % 5 == 0) {
      ObjectIndex shot = CreateObject(TypeEnemyShot, QG_EnemyShot, InsertAtHead, o.x, o.y,
                                      TurretShotVx(o.sprite), TurretShotVy(o.sprite), 1, KeepTemplate);
      if (shot != NoObject) Obj(shot).sprite = Sprite::TurretShot;
    }
  }
  if (u >= 201 && u <= 205) DrawObject(o, u - 199);  // and goes back in
}

}  // namespace

void BuildBossPatterns() {
  for (auto& row : Play.BossPatterns) row.fill({-1, -1, 2});
  for (int16_t k = 0; k <= 5; ++k) {
    SetCell(0, 2 * k, 4, k, 2);
    SetCell(0, 2 * k + 1, 9, k, 3);
  }
  for (int16_t j = 0; j <= 14; ++j) {
    SetCell(0, 12 + 2 * j, 0, j, 3);
    SetCell(0, 13 + 2 * j, 13, j, 2);
  }
  for (int16_t m = 0; m <= 13; ++m) {
    SetCell(1, 2 * m, m, m >= 4 && m <= 9 ? 4 : 0, 0);
    SetCell(1, 2 * m + 1, m, 14, 1);
  }
  SetCells(2, 0, {{6, 10, 0}, {7, 10, 0}, {5, 10, 0}, {8, 10, 0}});
  for (int16_t i = 0, n = 9; n >= 6; ++i, --n) {
    SetCell(2, 4 + 2 * i, 4, n, 2);
    SetCell(2, 5 + 2 * i, 9, n, 3);
  }
  SetCells(2, 12, {{3, 5, 0}, {10, 5, 0}, {2, 5, 0}, {11, 5, 0},
                   {1, 5, 0}, {12, 5, 0}, {0, 5, 0}, {13, 5, 0}});
  SetCells(3, 0, {{0, 1, 2}, {3, 3, 3}, {0, 2, 2}, {3, 2, 3}, {0, 3, 2}, {3, 1, 3}});
  SetCells(3, 6, {{1, 4, 0}, {2, 0, 1}, {2, 4, 0}, {1, 0, 1}});
  SetCells(3, 10, {{10, 1, 2}, {13, 3, 3}, {10, 2, 2}, {13, 2, 3}, {10, 3, 2}, {13, 1, 3}});
  SetCells(3, 16, {{11, 4, 0}, {12, 0, 1}, {12, 4, 0}, {11, 0, 1}});
  for (int16_t i = 0; i <= 3; ++i)
    SetCells(3, 20 + 4 * i,
             {{int16_t(8 - i), 7, 1}, {int16_t(5 + i), 12, 0}, {4, int16_t(8 + i), 2},
              {9, int16_t(11 - i), 3}});
  for (auto& row : Play.BossPatterns)
    for (BossCell& cell : row) {
      cell.a = int16_t(cell.a * TileSize);
      cell.b = int16_t(cell.b * TileSize);
    }
}

void Boss(ObjectIndex self) {
  GameObject& o = Obj(self);
  int32_t age = Age(o), t = age - 200;
  DrawBody(o, age);
  if (age >= 2 && age <= 199) {
    o.x = BossX;
    o.y = float(age - 200);  // sliding down into view
  }
  if (age == 200) {
    o.x = BossX;
    o.y = BossY;
    o.life = o.work2;
  }
  if (age == 201) {
    o.lastLife = float(int32_t(UniformRandom() * BossFormations));
    o.work2 = o.life;
    o.life = Indestructible;
  }
  if (age >= 201 && age <= 466) {
    int32_t f = int32_t(o.lastLife);
    if (t <= 265) DrawFace(o, f, t, age);
    RaiseTurrets(self, f, t, age);
    if (t == 266) o.life = o.work2;
  }
  if (age >= 501 && age <= 600) Launch(o, age);
  if (age == 601) o.stamp += 401;  // the next cycle
  if (age >= 3001 && age <= 3500) Spiral(o, age);
  if (age == 4000) MoveObject(self, QG_EntryOnDeathRoll, InsertAtTail);  // it leaves
}

void BossTurret(ObjectIndex self) {
  GameObject& o = Obj(self);
  int32_t age = Age(o);
  if (age <= 14) {
    DrawObject(o, 7 + age % 5);  // appearing
  } else if (age <= 22) {
    DrawObject(o, age - 3);  // opening
    if (age == 22) {
      KillObject(self, QG_Enemy);  // hittable from the next frame
      o.work3 = o.life;
    }
  } else if (age <= 210) {
    TurretAtWork(o, age);
  } else if (age <= 223) {
    DrawObject(o, 230 - age);  // vanishing
    if (age == 211) KillObject(self, QG_DrawLast);
  } else {
    Remove(self);
  }
}
