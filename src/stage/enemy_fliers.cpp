// The fliers: straight fallers, drones, the circling squadrons and the rings that release them,
// and the zig-zag crossers with their unseen emitters.

#include <cmath>

#include "common/frame_clock.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/stage_state.h"

namespace {

constexpr float CircleRadius = 64;
constexpr float CircleTurn = 0.15f;
constexpr int32_t RingSize = 8;

// How far after its normal frames an enemy's hit images start.
constexpr int32_t DroneFlash = Sprite::DroneHit - Sprite::Drone;
constexpr int32_t SpinnerFlash = Sprite::ShooterHit - Sprite::Shooter;

// After the move: animate, flash and draw, leave at the bottom.
void FallerFrame(ObjectIndex self, int32_t flashOffset) {
  GameObject& o = Obj(self);
  AdvanceAnimation(self);
  DrawObject(o, int32_t(o.animPhase) + DamageFlash(o, flashOffset));
  if (BelowPlayField(o)) Remove(self);
}

// Round a centre (work2, work3) that drifts by the velocity, at the angle in work1.
void CircleStep(GameObject& o, float turn) {
  o.work1 += turn;
  o.work2 += o.vx;
  o.work3 += o.vy;
  o.x = o.work2 + CircleRadius * std::cos(o.work1);
  o.y = o.work3 + CircleRadius * std::sin(o.work1);
}

void Circling(ObjectIndex self, float turn, int32_t flashOffset) {
  CircleStep(Obj(self), turn);
  FallerFrame(self, flashOffset);
}

// Eight circlers evenly spaced round the spawner's place, sharing its drift.
void Ring(ObjectIndex self, int16_t type, BehaviourId behaviour) {
  const GameObject& o = Obj(self);
  for (int32_t i = 0; i < RingSize; ++i) {
    ObjectIndex child = SpawnWith(type, behaviour, o.x, o.y, o.vx, o.vy);
    if (child == NoObject) continue;
    Obj(child).work1 = float(i) * 2 * Pi / RingSize;
    Obj(child).work2 = o.x;
    Obj(child).work3 = o.y;
  }
  Remove(self);
}

// Across the screen in bands: straight, down a step, straight, up a step, straight.
void ZigZagStep(GameObject& o, float direction) {
  float x = o.x;
  if (x < -100 || x > 3000) return;
  if (x <= 96) {
    o.x += 8 * direction;
  } else if (x <= 160) {
    o.x += 4 * direction;
    o.y += 4;
  } else if (x <= 224) {
    o.x += 8 * direction;
  } else if (x <= 288) {
    o.x += 4 * direction;
    o.y -= 4;
  } else {
    o.x += 8 * direction;
  }
}

void ZigZag(ObjectIndex self, float direction) {
  GameObject& o = Obj(self);
  ZigZagStep(o, direction);
  VelocityStep(o);
  AdvanceAnimation(self);
  DrawObject(o, int32_t(o.animPhase) + DamageFlash(o, DroneFlash));
  bool gone = direction > 0 ? o.x > Play.PlayField.right : o.x < -32;
  if (gone) Remove(self);
}

template <typename Emitting>
void ZigZagEmitting(ObjectIndex self, BehaviourId childBehaviour, Emitting emitting) {
  GameObject& o = Obj(self);
  VelocityStep(o);
  if (emitting(Age(o) % 100) && FrameCounter % 4 == 0)
    SpawnWith(TypeDrone, childBehaviour, o.x, o.y, o.vx, o.vy);
  if (BelowPlayField(o)) Remove(self);
}

}  // namespace

void StraightFaller(ObjectIndex self) {
  GameObject& o = Obj(self);
  VelocityStep(o);
  if (OutsideThreeSidedRule(o)) Remove(self);
  DrawObject(o, 0);
}

void Drone(ObjectIndex self) {
  VelocityStep(Obj(self));
  FallerFrame(self, DroneFlash);
}

void CirclingDrone(ObjectIndex self) { Circling(self, CircleTurn, DroneFlash); }
void CirclingDroneReversed(ObjectIndex self) { Circling(self, -CircleTurn, DroneFlash); }
void CirclingSpinner(ObjectIndex self) { Circling(self, CircleTurn, SpinnerFlash); }
void CirclingSpinnerReversed(ObjectIndex self) { Circling(self, -CircleTurn, SpinnerFlash); }

void DroneRing(ObjectIndex self) { Ring(self, TypeDrone, BehCirclingDrone); }
void DroneRingReversed(ObjectIndex self) { Ring(self, TypeDrone, BehCirclingDroneReversed); }
void SpinnerRing(ObjectIndex self) { Ring(self, TypeSpinner, BehCirclingSpinner); }
void SpinnerRingReversed(ObjectIndex self) { Ring(self, TypeSpinner, BehCirclingSpinnerReversed); }

void ZigZagDrone(ObjectIndex self) { ZigZag(self, 1); }
void ZigZagDroneReversed(ObjectIndex self) { ZigZag(self, -1); }

// The two emitters work in different parts of their 100-frame cycle.
void ZigZagEmitter(ObjectIndex self) {
  ZigZagEmitting(self, BehZigZagDrone, [](int32_t p) { return p > 40; });
}
void ZigZagEmitterReversed(ObjectIndex self) {
  ZigZagEmitting(self, BehZigZagDroneReversed, [](int32_t p) { return p < 60; });
}
