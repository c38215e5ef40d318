// The heavier enemies: the beam craft, the homing darts, the two armoured kinds, and the
// generator of the finale's waves.

#include <cmath>

#include "common/frame_clock.h"
#include "common/utility.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/stage_state.h"

namespace {

// A dart's hit images follow its sixteen headings.
constexpr int32_t FlashOffset = Sprite::DartHit - Sprite::Dart;

// ---- the beam craft ----

constexpr int32_t BeamCycle = 110, BeamFrames = 20;
constexpr float BeamSpeed = 16;

struct Nozzle {
  float dx, dy;
};
constexpr Nozzle Nozzles[] = {{0, 65}, {16, 73}, {32, 81}, {80, 81}, {96, 73}, {112, 65}};

void PourBeams(const GameObject& o) {
  for (const Nozzle& n : Nozzles) {
    ObjectIndex segment = Spawn(TypeBeamSegment, o.x + n.dx, o.y + n.dy, 0, BeamSpeed);
    if (segment != NoObject) Obj(segment).animPhase = float(FrameCounter % 4);
  }
}

// ---- homing ----

constexpr float HomingTurn = Pi / 16;
constexpr float HeadingFrameBase = 12;  // the image of heading 0, facing left

float AngleToShip(const GameObject& o) {
  const GameObject& ship = Obj(Play.ShipIndex);
  return Angle(o.x + o.centerX, o.y + o.centerY, ship.x + ship.centerX, ship.y + ship.centerY);
}

bool WithinHalfTurn(float difference) { return difference > 0 && difference < Pi; }

// A sixteenth of a half turn toward the ship; the image follows the heading in work2.
void TurnTowardShip(ObjectIndex self) {
  GameObject& o = Obj(self);
  float target = AngleToShip(o), heading = o.work2;
  bool turnLeft = WithinHalfTurn(heading - target) || WithinHalfTurn(heading + 2 * Pi - target);
  heading += turnLeft ? -HomingTurn : HomingTurn;
  if (heading < 0) heading += 2 * Pi;
  if (heading > 2 * Pi) heading -= 2 * Pi;
  o.work2 = heading;
  o.vx = -std::cos(heading) * o.speed;
  o.vy = std::sin(heading) * o.speed;
  o.animPhase = float(o.animLast) * heading / (2 * Pi) + HeadingFrameBase;
  o.animPhase = AnimFrame(self);
}

// ---- the hatch turret ----

constexpr int32_t HatchCycle = 112;
constexpr float MuzzleX = 40, MuzzleY = 40;

ObjectIndex HatchShot(const GameObject& o, float vx, float vy, int32_t sprite) {
  ObjectIndex shot = Spawn(TypeEnemyShot, o.x + MuzzleX, o.y + MuzzleY, vx, vy);
  if (shot != NoObject) Obj(shot).sprite = sprite;
  return shot;
}

void SideShots(const GameObject& o) {
  for (float vx : {-8.0f, 8.0f}) {
    ObjectIndex shot = HatchShot(o, vx, o.vy, Sprite::HatchBolt);
    if (shot == NoObject) continue;
    Obj(shot).animLast = 1;
    Obj(shot).animSpeed = 1;
  }
}

void ClosedHatch(const GameObject& o, int32_t p) {
  DrawObject(o, -4);
  DrawObject(o, -3);
  if (p % 2 == 0 && p % 40 < 10) {  // warning lights
    DrawObject(o, -2);
    DrawObject(o, -1);
  }
  if (p % 3 == 1) SideShots(o);
}

// ---- the armoured diver ----

constexpr int32_t OpenAge = 161, DiveAge = 181;
constexpr int32_t HitsBeforeDive = 5;

void Dive(GameObject& o) {
  float a = AngleToShip(o);
  o.vx = -std::cos(a) * o.speed;
  o.vy = std::sin(a) * o.speed;
}

// ---- the finale ----

void Armour(float x, float y, float vx, float vy) { Spawn(TypeArmoured, x, y, vx, vy); }

}  // namespace

void Beamer(ObjectIndex self) {
  GameObject& o = Obj(self);
  if (o.work3 > 0)
    o.work3 -= 1;  // the first moments after it appears
  else if (Age(o) % BeamCycle < BeamFrames)
    PourBeams(o);
  VelocityStep(o);
  DrawAt(o.x, o.y, DamageFlash(o, 1) ? Sprite::BeamerHit : o.sprite);
  if (BelowPlayField(o)) Remove(self);
}

void Homing(ObjectIndex self) {
  GameObject& o = Obj(self);
  int32_t age = Age(o);
  if (age > 100 && age < 400 && age % 6 == 0) TurnTowardShip(self);
  VelocityStep(o);
  DrawObject(o, int32_t(o.animPhase) + DamageFlash(o, FlashOffset));
  if (BelowPlayField(o) || (age > 400 && OutsideFullRule(o))) Remove(self);
}

// Closed it fires sideways; open (and only then destructible) it fires down.
void Hatch(ObjectIndex self) {
  GameObject& o = Obj(self);
  VelocityStep(o);
  int32_t p = Age(o) % HatchCycle;
  DrawObject(o, 0);
  if (p % 2 == 0) DrawObject(o, 1);  // the lamp
  if (p <= 60) ClosedHatch(o, p);
  if (p >= 61 && p <= 77) DrawAt(o.x, o.y, Sprite::HatchOpening + p - 61);
  if (p == 78) o.life = o.work1;
  if (p >= 79 && p <= 94 && p % 3 == 0) HatchShot(o, 0, 16, Sprite::HatchDownBolt);
  if (p == 95) {
    o.work1 = o.life;  // the damage so far is kept
    o.life = Indestructible;
  }
  if (p >= 96) DrawAt(o.x, o.y, Sprite::HatchOpening + HatchCycle - p);
  if (BelowPlayField(o)) Remove(self);
}

// Shut until it stops and opens; then it dives at the ship, at once if hit often enough.
void Armoured(ObjectIndex self) {
  GameObject& o = Obj(self);
  VelocityStep(o);
  int32_t age = Age(o);
  int32_t k = age <= 160 ? 1 : 2 + age % 2;
  if (age == OpenAge) {
    o.vx = o.vy = 0;
    o.life = o.work1;
  }
  if (age == DiveAge) Dive(o);
  bool hit = FrameCounter % 2 == 0 && o.lastLife != o.life && o.life < 29900;
  if (hit) {
    o.lastLife = o.life;
    DrawObject(o, 4);
    DrawObject(o, 3 + k);
    if (o.work3 > HitsBeforeDive) {
      o.work3 = 0;
      o.stamp = FrameCounter - (DiveAge - 1);
    } else {
      o.work3 += 1;
    }
  } else {
    DrawObject(o, 0);
    DrawObject(o, k);
  }
  if (age > 400 && OutsideFullRule(o)) Remove(self);
}

void FinaleWaves(ObjectIndex self) {
  int32_t age = Age(Obj(self));
  if (age == 1) Armour(192, -160, 0, 1);
  if (age == 20 || age == 40 || age == 60) {
    int32_t k = age / 20;
    Armour(float((3 - k) * 64), -160, 0, 1);
    Armour(float((k + 3) * 64), -160, 0, 1);
  }
  if (age >= 100 && age <= 200 && age % 20 == 0) {
    int32_t k = age / 20;
    Armour(-160, float((k - 5) * 64), 1, 0);
    Armour(544, float((k - 5) * 64), -1, 0);
  }
  if (age == 201) Remove(self);
}
