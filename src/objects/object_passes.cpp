#include "objects/object_passes.h"

#include <cmath>

#include "game/game_state.h"
#include "graphics/image_resource.h"
#include "sound/sound.h"
#include "stage/behaviours.h"
#include "stage/stage.h"

ObjectIndex ShipIndex = NoObject;
ObjectIndex BossIndex = 0;
bool ShipCannotDie = false;

namespace {

constexpr float PushBack = 16.0f;
constexpr float ParkedY = 20000.0f;

constexpr int32_t HitLosesOne = 0, HitPushesBack = 2;
constexpr int16_t SeBarrier = 0, SeHit = 11, SeHitArmour = 12;
constexpr int32_t DestroyedBehaviour = 4, ReentryBehaviour = 5, ParkedBehaviour = 1;

struct Box {
  int32_t left, top, right, bottom;
};

int32_t Whole(float v) { return int32_t(std::nearbyint(v)); }

Box BoxOf(const GameObject& o) {
  const SpriteRecord& s = SpriteBox(o.sprite);
  return {Whole(o.x + s.Left), Whole(o.y + s.Top), Whole(o.x + s.Left + s.Width),
          Whole(o.y + s.Top + s.Height)};
}

Box RectAt(float left, float top, float right, float bottom) {
  return {Whole(left), Whole(top), Whole(right), Whole(bottom)};
}

// Edges that only touch do not overlap.
bool Overlap(const Box& a, const Box& b) {
  return a.left < b.right && a.top < b.bottom && b.left < a.right && b.top < a.bottom;
}

// Objects above or left of the screen, or past the play field's right, take no part.
bool InHitArea(const GameObject& o) {
  const SpriteRecord& s = SpriteBox(o.sprite);
  return o.x >= 0 && o.y >= 0 && o.x + s.Left + s.Width <= PlayField.right + 3;
}

const GameObject& Ship() { return ObjectTable[ShipIndex]; }

// Every object of `outer` against every object of `inner`, both walked head to tail.
template <typename Test, typename Settle>
void Pairs(int32_t outer, int32_t inner, Test test, Settle settle) {
  for (ObjectIndex o = QueueGroups[outer].head; o != NoObject; o = ObjectTable[o].next)
    for (ObjectIndex i = QueueGroups[inner].head; i != NoObject; i = ObjectTable[i].next)
      if (test(i, o)) settle(i, o);
}

template <typename Act>
void Each(int32_t group, Act act) {
  for (ObjectIndex i = QueueGroups[group].head; i != NoObject; i = ObjectTable[i].next) act(i);
}

void TakeLife(GameObject& victim, GameObject& attacker, ObjectIndex v) {
  if (!(ShipCannotDie && v == ShipIndex)) victim.life -= 1;
  attacker.life -= 1;
}

// Life, push-back and sound of one hit, by the victim's kind.
void Strike(ObjectIndex v, GameObject& victim, GameObject& attacker) {
  int32_t hitKind = Templates[victim.templateIndex].hitKind;
  if (hitKind == HitLosesOne) {
    TakeLife(victim, attacker, v);
    PlaySe(victim.life > IndestructibleAbove ? SeHitArmour : SeHit);
  } else if (hitKind == HitPushesBack) {
    if (victim.life < IndestructibleAbove) {
      if (attacker.vy == 0)
        victim.x += attacker.vx > 0 ? PushBack : -PushBack;
      else
        victim.y += attacker.vy > 0 ? PushBack : -PushBack;
      PlaySe(SeHit);
    } else {
      PlaySe(SeHitArmour);
    }
    TakeLife(victim, attacker, v);
  }
}

void LoseShip(const GameObject& ship) {
  --Lives;
  CreateController(DestroyedBehaviour, ship.x, ship.y, QG_DrawLast, InsertAtTail);
  if (Lives >= 0) CreateController(ReentryBehaviour, KeepTemplateValue, KeepTemplateValue,
                                   QG_DrawLast, InsertAtTail);
  MoveObject(ShipIndex, QG_DrawStart, InsertAtTail);  // parked far below until the next entry
  GameObject& parked = ObjectTable[ShipIndex];
  parked.y = ParkedY;
  parked.behaviour = ParkedBehaviour;
}

void Destroy(ObjectIndex v, GameObject& victim) {
  Spawn(int16_t(victim.blastType), victim.x, victim.y);
  if (v == ShipIndex) {
    LoseShip(victim);
    return;
  }
  if (victim.deathRoll != 0)
    MoveObject(v, QG_EntryOnDeathRoll, InsertAtTail);  // its controller finishes it
  else
    KillObject(v, QG_UnUse);
  Score += Templates[victim.templateIndex].score;
  ObjectIndex label = Spawn(TypeScoreLabel, victim.x + victim.centerX, victim.y + victim.centerY);
  if (label != NoObject) ObjectTable[label].templateIndex = victim.templateIndex;
}

}  // namespace

// Run order is draw order. An object's `next` is read after its behaviour ran, so objects
// appended meanwhile run in the same frame.
void RunObjects() {
  for (int32_t g = FirstRunGroup; g <= LastRunGroup; ++g) {
    for (ObjectIndex i = QueueGroups[g].head; i != NoObject;) {
      RunBehaviour(i);
      i = ObjectTable[i].next;
    }
  }
}

bool BoxesOverlap(ObjectIndex a, ObjectIndex b) {
  const GameObject &oa = ObjectTable[a], &ob = ObjectTable[b];
  return InHitArea(oa) && InHitArea(ob) && Overlap(BoxOf(oa), BoxOf(ob));
}

bool HitsShip(ObjectIndex i) {
  if (ShipIndex == NoObject) return false;
  const GameObject& ship = Ship();
  return Overlap(BoxOf(ObjectTable[i]), RectAt(ship.x + 30, ship.y + 30, ship.x + 34, ship.y + 34));
}

bool HitsBarrier(ObjectIndex b) {
  if (ShipIndex == NoObject) return false;
  const GameObject& ship = Ship();
  Box bullet = BoxOf(ObjectTable[b]);
  float x = ship.x, y = ship.y;
  if (ship.work3 == 0)
    return Overlap(bullet, RectAt(x, y - 32, x + 64, y)) ||
           Overlap(bullet, RectAt(x, y + 64, x + 64, y + 96));
  return Overlap(bullet, RectAt(x - 32, y, x, y + 64)) ||
         Overlap(bullet, RectAt(x + 64, y, x + 96, y + 64));
}

void ResolveBarrierHit(ObjectIndex b) {
  GameObject& bullet = ObjectTable[b];
  const GameObject& ship = Ship();
  bullet.life -= 1;
  Score += 100;
  if (bullet.life < 1) KillObject(b, QG_UnUse);
  if (ship.work3 == 0)
    (ship.y + 32 <= bullet.y ? PodFlashB : PodFlashA) = 2;
  else if (ship.work3 == 2.0f)
    (ship.x + 32 <= bullet.x ? PodFlashB : PodFlashA) = 2;
  const SpriteRecord& s = SpriteBox(bullet.sprite);
  CreateObject(TypeSpark, QG_DrawLast, InsertAtTail, bullet.x + s.Left + s.Width / 2 - 16,
               bullet.y + s.Top + s.Height / 2 - 16, KeepTemplateValue, KeepTemplateValue,
               KeepTemplateValue, KeepTemplate);
  PlaySe(SeBarrier);
}

void ResolveHit(ObjectIndex v, ObjectIndex a) {
  GameObject &victim = ObjectTable[v], &attacker = ObjectTable[a];
  if (attacker.life < 1) return;  // spent: it hits once
  Strike(v, victim, attacker);
  if (victim.life > IndestructibleAbove) victim.life = Indestructible;
  if (attacker.life > IndestructibleAbove) attacker.life = Indestructible;
  if (victim.life < 1) Destroy(v, victim);
  if (attacker.life < 1) KillObject(a, QG_UnUse);
}

void RunHits() {
  auto overlap = [](ObjectIndex inner, ObjectIndex outer) { return BoxesOverlap(inner, outer); };
  auto hitInner = [](ObjectIndex inner, ObjectIndex outer) { ResolveHit(inner, outer); };
  auto hitShip = [](ObjectIndex i) {
    if (HitsShip(i)) ResolveHit(ShipIndex, i);
  };
  Pairs(QG_MyShot, QG_Enemy, overlap, hitInner);
  Each(QG_EnemyShot, [](ObjectIndex b) {
    if (HitsBarrier(b)) ResolveBarrierHit(b);
  });
  Each(QG_Enemy, hitShip);
  Each(QG_EnemyShot, hitShip);
  Pairs(QG_EnemyShot, QG_Unnamed2, overlap, hitInner);
  Pairs(QG_MyShot, QG_Unnamed2, overlap, hitInner);
  Each(QG_Unnamed2, hitShip);
}
