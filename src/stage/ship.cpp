// The player's ship: steering, the four-way shot and its turn, the barrier sparks, the loss
// of a ship, the next one's entry and the game over.

#include <algorithm>

#include "common/frame_clock.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/random.h"
#include "stage/stage_state.h"

namespace {

// Shot modes, kept in the ship's work3.
constexpr int32_t ModeVertical = 0, ModeTurningOut = 1, ModeHorizontal = 2, ModeTurningBack = 3;

constexpr float SlowSpeed = 6.0f, FastSpeed = 8.0f;
constexpr float LeftLimit = -16, RightLimit = 400, TopLimit = 0, BottomLimit = 400;
constexpr int32_t ShotsPerBurst = 5;
constexpr int16_t TiltFrames = 10;


struct ShotPlacement {
  float dx, dy;    // from the ship's position
  float sx, sy;    // direction, times the shot's speed
  int32_t offset;  // the shot's frame of Sprite::PlayerShot
};

constexpr ShotPlacement VerticalShots[] = {
    {0, -24, 0, -1, 0}, {32, -24, 0, -1, 1}, {0, 56, 0, 1, 2}, {32, 56, 0, 1, 3}};
constexpr ShotPlacement HorizontalShots[] = {
    {-24, 0, -1, 0, 4}, {56, 0, 1, 0, 5}, {-24, 32, -1, 0, 6}, {56, 32, 1, 0, 7}};

// Guns and pods by mode; the flash sprites show while a pod absorbs a hit.
struct PodSprites {
  int32_t podA, podB, flashA, flashB;
};
constexpr PodSprites PodsVertical{Sprite::PodAAbove, Sprite::PodBBelow, Sprite::PodAAboveFlash,
                                  Sprite::PodBBelowFlash};
constexpr PodSprites PodsHorizontal{Sprite::PodALeft, Sprite::PodBRight, Sprite::PodALeftFlash,
                                    Sprite::PodBRightFlash};

constexpr int32_t ReentryX = 192, ReentryY = 280;

bool Held(uint16_t button) { return (Input.InputWord & button) != 0; }
float Axis(uint16_t minus, uint16_t plus) { return float(Held(plus)) - float(Held(minus)); }

void DrawPods(float x, float y, int32_t mode) {
  if (mode == ModeTurningOut || mode == ModeTurningBack) {
    DrawAt(x, y, mode == ModeTurningOut ? Sprite::PodsTurningOut : Sprite::PodsTurningBack);
    return;
  }
  const PodSprites& pods = mode == ModeVertical ? PodsVertical : PodsHorizontal;
  DrawAt(x, y, pods.podA);
  DrawAt(x, y, pods.podB);
  if (Play.PodFlashA > 0) DrawAt(x, y, pods.flashA);
  if (Play.PodFlashB > 0) DrawAt(x, y, pods.flashB);
}

// Guns, pods, body and the blinking core lamp; the pods' flash counts down. The body banks
// by the tilt: the level ship's neighbours are its banking pictures.
void DrawShip(float x, float y, int32_t mode, int16_t bank) {
  DrawPods(x, y, mode);
  if (Play.PodFlashA > 0) --Play.PodFlashA;
  if (Play.PodFlashB > 0) --Play.PodFlashB;
  DrawAt(x, y, Sprite::Ship + bank);
  if (FrameCounter % 16 < 8) DrawAt(x, y, Sprite::ShipCoreLamp);
}

void Steer(GameObject& ship) {
  ship.speed = Held(BTN_Z) ? SlowSpeed : FastSpeed;
  ship.x += Axis(BTN_LEFT, BTN_RIGHT) * ship.speed;
  ship.y += Axis(BTN_UP, BTN_DOWN) * ship.speed;
  ship.x = std::clamp(ship.x, LeftLimit, RightLimit);
  ship.y = std::clamp(ship.y, TopLimit, BottomLimit);
}

// A turn needs a fresh press, then takes that frame and one more.
void Turn(GameObject& ship) {
  int32_t mode = int32_t(ship.work3);
  if ((mode == ModeVertical || mode == ModeHorizontal) && ship.work2 == 0 && Held(BTN_X)) {
    ship.work3 = float(++mode);
    Play.ShipTurnCount = 0;
    PlaySe(SE_ROT);
  }
  ship.work2 = float(Input.InputWord & BTN_X);
  if (mode == ModeTurningOut || mode == ModeTurningBack) {
    if (++Play.ShipTurnCount > 1) ship.work3 = float((mode + 1) % 4);
  }
}

void FireVolley(const GameObject& ship, const ShotPlacement (&volley)[4]) {
  for (const ShotPlacement& p : volley) {
    ObjectIndex shot = CreateObject(TypeMyShot, QG_MyShot, InsertAtTail, ship.x + p.dx,
                                    ship.y + p.dy, KeepTemplateValue, KeepTemplateValue,
                                    KeepTemplateValue, KeepTemplate);
    if (shot == NoObject) continue;
    GameObject& s = Obj(shot);
    s.vx = p.sx * s.speed;
    s.vy = p.sy * s.speed;
    s.sprite += p.offset;
  }
}

// Five frames of fire, one of rest; the fire timer is kept in lastLife.
void Fire(GameObject& ship) {
  if (!Held(BTN_Z) || ship.lastLife >= ShotsPerBurst) {
    ship.lastLife = 0;
    return;
  }
  int32_t mode = int32_t(ship.work3);
  if (mode == ModeVertical) FireVolley(ship, VerticalShots);
  if (mode == ModeHorizontal) FireVolley(ship, HorizontalShots);
  PlaySe(SE_SHOT);
  ship.lastLife += 1;
}

void Tilt() {
  if (Held(BTN_LEFT)) {
    Play.ShipBank = 1;
    Play.ShipBankHold = TiltFrames;
  } else if (Held(BTN_RIGHT)) {
    Play.ShipBank = -1;
    Play.ShipBankHold = TiltFrames;
  } else if (Play.ShipBankHold < 1) {
    Play.ShipBank = 0;
  } else {
    --Play.ShipBankHold;
  }
}

void BlowUpAround(const GameObject& o) {
  Spawn(TypeSmallBlast, o.x - 16 + UniformRandom() * 64, o.y - 16 + UniformRandom() * 64);
  if (FrameCounter % 10 == 1) Spawn(TypeMediumBlast, o.x, o.y);
}

void GameOver(ObjectIndex self, int32_t age) {
  if (age == 51) PlaySe(SE_GAME_OVER2);
  if (age == 250) CreateController(BehGameOverWipe);
  if (age == 301) {
    Remove(self);
    Play.GameActive = false;
    Game.RestartFrame = FrameCounter;
  }
}

}  // namespace

void ShipUnderControl(ObjectIndex self) {
  GameObject& ship = Obj(self);
  Steer(ship);
  Turn(ship);
  Fire(ship);
  Tilt();
  if (ship.life >= IndestructibleAbove && FrameCounter % 2 != 0) return;  // invulnerable: blinking
  DrawShip(ship.x, ship.y, int32_t(ship.work3), Play.ShipBank);
}

void MyShot(ObjectIndex self) {
  GameObject& o = Obj(self);
  VelocityStep(o);
  if (OutsideFullRule(o)) Remove(self);
  DrawObject(o, 0);
}

void BarrierSpark(ObjectIndex self) {
  GameObject& o = Obj(self);
  const GameObject& ship = Obj(Play.ShipIndex);
  if (o.work1 == 0) {  // stay where the pod was hit, moving with the ship
    o.vx = o.x - ship.x;
    o.vy = o.y - ship.y;
  }
  DrawAt(ship.x + o.vx, ship.y + o.vy, Sprite::BarrierSpark + int32_t(o.work1));
  if (o.work1 > Sprite::BarrierSparkCount - 2) Remove(self);
  o.work1 += 1;
}

void ShipDestroyed(ObjectIndex self) {
  GameObject& o = Obj(self);
  int32_t age = Age(o);
  if (Game.Lives < 0) {
    if (age == 1) {
      StopMusic();
      Play.BgmTrack = -1;
      PlaySe(SE_GAME_OVER);
    }
    DrawSprite(146, 208, Sprite::GameOver);
  }
  if (age < 50)
    BlowUpAround(o);
  else if (Game.Lives >= 0)
    Remove(self);  // the next ship's entry carries on
  else
    GameOver(self, age);
}

void ShipReentry(ObjectIndex self) {
  GameObject& o = Obj(self);
  GameObject& ship = Obj(Play.ShipIndex);
  int32_t age = Age(o);
  if (age == 1) ship.life = Indestructible;
  if (age >= 30 && age <= 80) {
    o.x = ReentryX;
    o.y = float((150 - age) * 4);
    if (FrameCounter % 2 == 0) DrawShip(o.x, o.y, int32_t(ship.work3), 0);
  }
  if (age == 81) {
    ship.x = ReentryX;
    ship.y = ReentryY;
    MoveObject(Play.ShipIndex, QG_MyShip, InsertAtTail);
    ship.behaviour = BehShipUnderControl;
  }
  if (age == 200) {
    ship.life = 1.0f;
    Remove(self);
  }
}
