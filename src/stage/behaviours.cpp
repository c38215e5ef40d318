#include "stage/behaviours.h"

#include <array>
#include <cmath>
#include <string>

#include "game/game_state.h"
#include "graphics/image_resource.h"
#include "sound/sound.h"
#include "stage/random.h"

namespace {

// 15..19 are empty: nothing runs, nothing is drawn.
constexpr std::array<Behaviour, BehaviourCount + 1> Routines = {
    nullptr,
    PlainMover,                 // 1
    ScoreLabel,                 // 2
    ShipUnderControl,           // 3
    ShipDestroyed,              // 4
    ShipReentry,                // 5
    MyShot,                     // 6
    StraightFaller,             // 7
    EnemyShot,                  // 8
    Explosion,                  // 9
    StartBanner,                // 10
    BarrierSpark,               // 11
    Stage1Background,           // 12
    Boss,                       // 13
    BossTurret,                 // 14
    nullptr,                    // 15
    nullptr,                    // 16
    nullptr,                    // 17
    nullptr,                    // 18
    nullptr,                    // 19
    Beamer,                     // 20
    Spinner,                    // 21
    CirclingSpinner,            // 22
    SpinnerRing,                // 23
    CirclingSpinnerReversed,    // 24
    SpinnerRingReversed,        // 25
    Gunner,                     // 26
    PathGunner,                 // 27
    PathGunnerEmitter,          // 28
    PathGunnerMirrored,         // 29
    PathGunnerEmitterMirrored,  // 30
    SideGunner,                 // 31
    CrossGunner,                // 32
    RapidGunner,                // 33
    Drone,                      // 34
    CirclingDrone,              // 35
    DroneRing,                  // 36
    CirclingDroneReversed,      // 37
    DroneRingReversed,          // 38
    ZigZagDrone,                // 39
    ZigZagEmitter,              // 40
    ZigZagDroneReversed,        // 41
    ZigZagEmitterReversed,      // 42
    Homing,                     // 43
    Hatch,                      // 44
    Armoured,                   // 45
    FinaleWaves,                // 46
    Stage2Background,           // 47
    StartWipeTile,              // 48
    StartWipe,                  // 49
    ClosingWipeTile,            // 50
    ClosingWipe,                // 51
    GameOverWipe,               // 52
    StageClear,                 // 53
    ExplosionCluster,           // 54
};

constexpr int32_t SmallBlastSprite = 397, MediumBlastSprite = 405, LargeBlastSprite = 413;
constexpr int16_t SeSmallBlast = 3, SeMediumBlast = 1, SeLargeBlast = 2;

int16_t BlastSound(int32_t sprite) {
  if (sprite == SmallBlastSprite) return SeSmallBlast;
  if (sprite == MediumBlastSprite) return SeMediumBlast;
  if (sprite == LargeBlastSprite) return SeLargeBlast;
  return -1;
}

}  // namespace

void RunBehaviour(ObjectIndex i) {
  uint16_t number = uint16_t(ObjectTable[i].behaviour & 0xFFFF);
  if (number >= 1 && number <= BehaviourCount && Routines[number]) Routines[number](i);
}

int16_t AnimFrame(ObjectIndex i) {
  GameObject& o = ObjectTable[i];
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
  GameObject& o = ObjectTable[i];
  o.animPhase += o.animSpeed;
  o.animPhase = AnimFrame(i);
}

bool OutsideFullRule(const GameObject& o) {
  const SpriteRecord& box = SpriteBox(o.sprite);
  return o.x + box.Left + box.Width < PlayField.left || o.x > PlayField.right ||
         o.y + box.Top + box.Height < PlayField.top || o.y > PlayField.bottom;
}

bool OutsideThreeSidedRule(const GameObject& o) {
  const SpriteRecord& box = SpriteBox(o.sprite);
  return o.x + box.Left + box.Width < PlayField.left || o.x > PlayField.right ||
         o.y > PlayField.bottom;
}

bool BelowPlayField(const GameObject& o) { return o.y > PlayField.bottom; }

ObjectIndex Spawn(int16_t type, float x, float y, float vx, float vy) {
  return CreateObject(type, KeepTemplate, KeepTemplate, x, y, vx, vy, KeepTemplateValue,
                      KeepTemplate);
}

ObjectIndex SpawnWith(int16_t type, int32_t behaviour, float x, float y, float vx, float vy) {
  ObjectIndex i = Spawn(type, x, y, vx, vy);
  if (i != NoObject) ObjectTable[i].behaviour = behaviour;
  return i;
}

ObjectIndex CreateController(int32_t behaviour, float x, float y, int32_t group,
                             int32_t insertMode) {
  ObjectIndex i = CreateObject(TypeController, group, insertMode, x, y, KeepTemplateValue,
                               KeepTemplateValue, KeepTemplateValue, KeepTemplate);
  if (i != NoObject) ObjectTable[i].behaviour = behaviour;
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
  std::string text = NumberText(Templates[o.templateIndex].score);
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
