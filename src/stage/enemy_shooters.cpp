// The timed shooters: small craft that animate and fire volleys in fixed windows of a cycle,
// the path shooters and their emitters, and every enemy bullet.

#include <array>

#include "common/frame_clock.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"

namespace {

enum class Fire { None, Down, UpAndDown, Sideways };

struct Window {
  int16_t from = -1, to = -1;
  bool Contains(int32_t p) const { return p >= from && p <= to; }
};

struct Volley {
  Window window;
  Fire fire = Fire::None;
};

struct ShooterPlan {
  int32_t cycle;
  std::array<Window, 2> animation;
  std::array<Volley, 2> volleys;
};

// clang-format off
constexpr ShooterPlan GunnerPlan      {100, {{{0, 36}}},           {{{{50, 99}, Fire::Down}}}};
constexpr ShooterPlan SideGunnerPlan  {100, {{{0, 36}}},           {{{{50, 99}, Fire::Sideways}}}};
constexpr ShooterPlan CrossGunnerPlan {100, {{{0, 30}, {50, 80}}}, {{{{31, 49}, Fire::Sideways}, {{81, 99}, Fire::UpAndDown}}}};
constexpr ShooterPlan RapidGunnerPlan { 50, {{{0, 5}, {25, 30}}},  {{{{12, 24}, Fire::Sideways}, {{31, 49}, Fire::UpAndDown}}}};
// clang-format on

// The hit images follow a shooter's normal frames.
constexpr int32_t FlashOffset = Sprite::ShooterHit - Sprite::Shooter;
constexpr int32_t VerticalMuzzle = Sprite::ShooterMuzzleVertical - Sprite::Shooter;
constexpr int32_t SidewaysMuzzle = Sprite::ShooterMuzzleHorizontal - Sprite::Shooter;
constexpr float ShotSpeed = 8;

void Shoot(const GameObject& o, float vx, float vy, int32_t sprite) {
  ObjectIndex shot = Spawn(TypeEnemyShot, o.x, o.y, vx, vy);
  if (shot != NoObject) Obj(shot).sprite = sprite;
}

void FireVolley(const GameObject& o, Fire fire) {
  if (fire == Fire::Sideways) {
    Shoot(o, ShotSpeed, o.vy, Sprite::ShotHorizontal);
    Shoot(o, -ShotSpeed, o.vy, Sprite::ShotHorizontal);
    return;
  }
  Shoot(o, 0, ShotSpeed, Sprite::ShotVertical);
  if (fire == Fire::UpAndDown) Shoot(o, 0, -ShotSpeed, Sprite::ShotVertical);
}

void DrawWithFlash(GameObject& o) { DrawObject(o, int32_t(o.animPhase) + DamageFlash(o, FlashOffset)); }

// Everything after the move: flash and draw, animate and fire by the cycle, leave at the bottom.
void ShooterFrame(ObjectIndex self, const ShooterPlan& plan) {
  GameObject& o = Obj(self);
  DrawWithFlash(o);
  int32_t p = (Age(o) % plan.cycle + plan.cycle) % plan.cycle;
  for (const Window& window : plan.animation)
    if (window.Contains(p) && p % 3 == 1) AdvanceAnimation(self);
  for (const Volley& volley : plan.volleys) {
    if (!volley.window.Contains(p)) continue;
    if (p % 2 == 0) DrawObject(o, volley.fire == Fire::Sideways ? SidewaysMuzzle : VerticalMuzzle);
    if (p % 10 == 0) FireVolley(o, volley.fire);
  }
  if (BelowPlayField(o)) Remove(self);
}

void TimedShooter(ObjectIndex self, const ShooterPlan& plan) {
  VelocityStep(Obj(self));
  ShooterFrame(self, plan);
}

// A set course instead of the velocity: down, a diagonal drift, down again.
void PathStep(GameObject& o, float driftX) {
  int32_t age = Age(o);
  if (age >= 0 && age <= 80) {
    o.y += 3;
  } else if (age >= 81 && age <= 176) {
    o.y += 1;
    o.x += driftX;
  } else if (age >= 177 && age <= 20000) {
    o.y += 3;
  }
  o.x += o.vx;
}

void PathShooter(ObjectIndex self, float driftX) {
  PathStep(Obj(self), driftX);
  ShooterFrame(self, GunnerPlan);
}

// Unseen above the screen, it sends a path shooter down every 16 frames.
void PathEmitter(ObjectIndex self, BehaviourId childBehaviour) {
  GameObject& o = Obj(self);
  DrawObject(o, 0);
  VelocityStep(o);
  if (FrameCounter % 16 == 0) SpawnWith(TypeGunner, childBehaviour, o.x, o.y, o.vx, o.vy);
  if (o.y > -32 || Age(o) > 320) Remove(self);
}

}  // namespace

void EnemyShot(ObjectIndex self) {
  GameObject& o = Obj(self);
  VelocityStep(o);
  if (OutsideFullRule(o)) Remove(self);
  o.animPhase += o.animSpeed;
  DrawObject(o, AnimFrame(self));
}

void Spinner(ObjectIndex self) {
  GameObject& o = Obj(self);
  VelocityStep(o);
  DrawWithFlash(o);
  if (FrameCounter % 3 == 1) AdvanceAnimation(self);
  if (OutsideThreeSidedRule(o)) Remove(self);
}

void Gunner(ObjectIndex self) { TimedShooter(self, GunnerPlan); }
void SideGunner(ObjectIndex self) { TimedShooter(self, SideGunnerPlan); }
void CrossGunner(ObjectIndex self) { TimedShooter(self, CrossGunnerPlan); }
void RapidGunner(ObjectIndex self) { TimedShooter(self, RapidGunnerPlan); }
void PathGunner(ObjectIndex self) { PathShooter(self, 2); }
void PathGunnerMirrored(ObjectIndex self) { PathShooter(self, -2); }
void PathGunnerEmitter(ObjectIndex self) { PathEmitter(self, BehPathGunner); }
void PathGunnerEmitterMirrored(ObjectIndex self) { PathEmitter(self, BehPathGunnerMirrored); }
