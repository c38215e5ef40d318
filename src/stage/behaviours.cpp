#include "stage/behaviours.h"

#include <array>
#include <cmath>
#include <string>

#include "common/frame_clock.h"
#include "graphics/image_resource.h"
#include "sound/sound.h"
#include "sprite_ids.h"
#include "stage/random.h"
#include "stage/stage_state.h"

namespace {

constexpr auto RoutineTable() {
  std::array<Behaviour, HighestBehaviour + 1> table{};
  table[BehPlainMover] = PlainMover;
  table[BehScoreLabel] = ScoreLabel;
  table[BehShipUnderControl] = ShipUnderControl;
  table[BehShipDestroyed] = ShipDestroyed;
  table[BehShipReentry] = ShipReentry;
  table[BehMyShot] = MyShot;
  table[BehStraightFaller] = StraightFaller;
  table[BehEnemyShot] = EnemyShot;
  table[BehExplosion] = Explosion;
  table[BehStartBanner] = StartBanner;
  table[BehBarrierSpark] = BarrierSpark;
  table[BehStage1Background] = Stage1Background;
  table[BehBoss] = Boss;
  table[BehBossTurret] = BossTurret;
  table[BehBeamer] = Beamer;
  table[BehSpinner] = Spinner;
  table[BehCirclingSpinner] = CirclingSpinner;
  table[BehSpinnerRing] = SpinnerRing;
  table[BehCirclingSpinnerReversed] = CirclingSpinnerReversed;
  table[BehSpinnerRingReversed] = SpinnerRingReversed;
  table[BehGunner] = Gunner;
  table[BehPathGunner] = PathGunner;
  table[BehPathGunnerEmitter] = PathGunnerEmitter;
  table[BehPathGunnerMirrored] = PathGunnerMirrored;
  table[BehPathGunnerEmitterMirrored] = PathGunnerEmitterMirrored;
  table[BehSideGunner] = SideGunner;
  table[BehCrossGunner] = CrossGunner;
  table[BehRapidGunner] = RapidGunner;
  table[BehDrone] = Drone;
  table[BehCirclingDrone] = CirclingDrone;
  table[BehDroneRing] = DroneRing;
  table[BehCirclingDroneReversed] = CirclingDroneReversed;
  table[BehDroneRingReversed] = DroneRingReversed;
  table[BehZigZagDrone] = ZigZagDrone;
  table[BehZigZagEmitter] = ZigZagEmitter;
  table[BehZigZagDroneReversed] = ZigZagDroneReversed;
  table[BehZigZagEmitterReversed] = ZigZagEmitterReversed;
  table[BehHoming] = Homing;
  table[BehHatch] = Hatch;
  table[BehArmoured] = Armoured;
  table[BehFinaleWaves] = FinaleWaves;
  table[BehStage2Background] = Stage2Background;
  table[BehStartWipeTile] = StartWipeTile;
  table[BehStartWipe] = StartWipe;
  table[BehClosingWipeTile] = ClosingWipeTile;
  table[BehClosingWipe] = ClosingWipe;
  table[BehGameOverWipe] = GameOverWipe;
  table[BehStageClear] = StageClear;
  table[BehExplosionCluster] = ExplosionCluster;
  return table;
}

int16_t BlastSound(int32_t sprite) {
  if (sprite == Sprite::ExplosionSmall) return SE_BURST03;
  if (sprite == Sprite::ExplosionMedium) return SE_BURST01;
  if (sprite == Sprite::ExplosionLarge) return SE_BURST02;
  return -1;
}

}  // namespace

constexpr std::array<Behaviour, HighestBehaviour + 1> StageBehaviours = RoutineTable();

int16_t AnimFrame(ObjectIndex i) {
  GameObject& o = Obj(i);
  int32_t frame = int32_t(o.animPhase);
  if (o.animMode == 2) {
    if (frame > o.animLast) {
      o.animPhase = std::fmod(o.animPhase, float(o.animLast + 1));
      if (o.animPhase < 0) o.animPhase += float(o.animLast + 1);
      frame = RoundHalfEven(o.animPhase);
    }
    return int16_t(frame);
  }
  if (o.animLast <= 0) {  // a single frame has nothing to swing between
    o.animPhase = 0;
    return 0;
  }
  if (frame >= 2 * o.animLast) o.animPhase -= float(2 * o.animLast);
  if (frame > o.animLast) frame = 2 * o.animLast - frame;
  return int16_t(frame);
}

std::string NumberText(int32_t value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

int32_t Age(const GameObject& o) { return FrameCounter - o.stamp; }

void VelocityStep(GameObject& o) {
  o.x += o.vx;
  o.y += o.vy;
}

int32_t RoundHalfEven(float value) { return int32_t(std::nearbyint(value)); }

void DrawAt(float x, float y, int32_t sprite) { DrawSprite(RoundHalfEven(x), RoundHalfEven(y), sprite); }

void DrawObject(const GameObject& o, int32_t spriteOffset) { DrawAt(o.x, o.y, o.sprite + spriteOffset); }

void Remove(ObjectIndex i) { KillObject(i, QG_UnUse); }

int32_t DamageFlash(GameObject& o, int32_t flashOffset) {
  if (FrameCounter % 2 != 0 || o.lastLife == o.life) return 0;
  o.lastLife = o.life;
  return flashOffset;
}

void AdvanceAnimation(ObjectIndex i) {
  GameObject& o = Obj(i);
  o.animPhase += o.animSpeed;
  o.animPhase = AnimFrame(i);
}

bool OutsideFullRule(const GameObject& o) {
  const SpriteRecord& box = SpriteBox(o.sprite);
  return o.x + box.Left + box.Width < Play.PlayField.left || o.x > Play.PlayField.right ||
         o.y + box.Top + box.Height < Play.PlayField.top || o.y > Play.PlayField.bottom;
}

bool OutsideThreeSidedRule(const GameObject& o) {
  const SpriteRecord& box = SpriteBox(o.sprite);
  return o.x + box.Left + box.Width < Play.PlayField.left || o.x > Play.PlayField.right ||
         o.y > Play.PlayField.bottom;
}

bool BelowPlayField(const GameObject& o) { return o.y > Play.PlayField.bottom; }

ObjectIndex Spawn(int16_t type, float x, float y, float vx, float vy) {
  return CreateObject(type, KeepTemplate, KeepTemplate, x, y, vx, vy, KeepTemplateValue,
                      KeepTemplate);
}

ObjectIndex SpawnWith(int16_t type, BehaviourId behaviour, float x, float y, float vx, float vy) {
  ObjectIndex i = Spawn(type, x, y, vx, vy);
  if (i != NoObject) Obj(i).behaviour = behaviour;
  return i;
}

ObjectIndex CreateController(BehaviourId behaviour, float x, float y, int32_t group,
                             int32_t insertMode) {
  ObjectIndex i = CreateObject(TypeController, group, insertMode, x, y, KeepTemplateValue,
                               KeepTemplateValue, KeepTemplateValue, KeepTemplate);
  if (i != NoObject) Obj(i).behaviour = behaviour;
  return i;
}

void PlainMover(ObjectIndex self) {
  GameObject& o = Obj(self);
  VelocityStep(o);
  DrawObject(o, 0);
}

void ScoreLabel(ObjectIndex self) {
  GameObject& o = Obj(self);
  int32_t age = Age(o);
  float w = o.work3;
  std::string text = NumberText(World.Templates[o.templateIndex].score);
  if (age == 1) o.x -= float(text.size()) / 2.0f * 6.0f + 6.0f;
  if (age >= 15 && age <= 15 + w) {
    o.y += o.vy;
    DrawText(RoundHalfEven(o.x), RoundHalfEven(o.y), text);
  } else if (age >= 16 + w && age <= 22 + w && age % 2 == 0) {
    DrawText(RoundHalfEven(o.x), RoundHalfEven(o.y), text);
  } else if (age >= 23 + w) {
    Remove(self);
  }
}

void Explosion(ObjectIndex self) {
  GameObject& o = Obj(self);
  if (o.lastLife > 0) {  // a start delay
    o.lastLife -= 1;
    return;
  }
  o.animPhase = AnimFrame(self);
  if (o.work1 == 0) {
    int16_t sound = BlastSound(o.sprite);
    if (sound >= 0) PlaySe(sound);
  }
  DrawObject(o, int32_t(o.animPhase));
  o.animPhase += o.animSpeed;
  o.work1 += 1;
  if (o.work1 > 2 * o.animLast - 1) Remove(self);
}

void ExplosionCluster(ObjectIndex self) {
  GameObject& o = Obj(self);
  if (Age(o) > 49) return;
  Spawn(TypeSmallBlast, o.x - 16 + UniformRandom() * 122, o.y - 16 + UniformRandom() * 122);
  if (FrameCounter % 3 == 1)
    Spawn(TypeMediumBlast, o.x - 16 + UniformRandom() * 94, o.y - 16 + UniformRandom() * 94);
  if (FrameCounter % 10 == 1) Spawn(TypeLargeBlast, o.x, o.y);
}
