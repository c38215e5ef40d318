#include "stage/hits.h"

#include <cmath>

#include "graphics/image_resource.h"
#include "sound/sound.h"
#include "stage/behaviours.h"
#include "stage/stage_state.h"

bool ShipCannotDie = false;

namespace {

constexpr float PushBack = 16.0f;
constexpr float ParkedY = 20000.0f;

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
  return o.x >= 0 && o.y >= 0 && o.x + s.Left + s.Width <= Play.PlayField.right + 3;
}

const GameObject& Ship() { return Obj(Play.ShipIndex); }

// Every object of `outer` against every object of `inner`, both walked head to tail.
template <typename Test, typename Settle>
void Pairs(int32_t outer, int32_t inner, Test test, Settle settle) {
  const auto& groups = World.QueueGroups;
  for (ObjectIndex o = groups[outer].head; o != NoObject; o = Obj(o).next)
    for (ObjectIndex i = groups[inner].head; i != NoObject; i = Obj(i).next)
      if (test(i, o)) settle(i, o);
}

template <typename Act>
void Each(int32_t group, Act act) {
  for (ObjectIndex i = World.QueueGroups[group].head; i != NoObject; i = Obj(i).next) act(i);
}

void TakeLife(GameObject& victim, GameObject& attacker, ObjectIndex v) {
  if (!(ShipCannotDie && v == Play.ShipIndex)) victim.life -= 1;
  attacker.life -= 1;
}

// Life, push-back and sound of one hit, by the victim's kind.
void Strike(ObjectIndex v, GameObject& victim, GameObject& attacker) {
  int32_t hitKind = World.Templates[victim.templateIndex].hitKind;
  if (hitKind == HitLosesOne) {
    TakeLife(victim, attacker, v);
    PlaySe(victim.life > IndestructibleAbove ? SE_MISS : SE_HIT);
  } else if (hitKind == HitPushesBack) {
    if (victim.life < IndestructibleAbove) {
      if (attacker.vy == 0)
        victim.x += attacker.vx > 0 ? PushBack : -PushBack;
      else
        victim.y += attacker.vy > 0 ? PushBack : -PushBack;
      PlaySe(SE_HIT);
    } else {
      PlaySe(SE_MISS);
    }
    TakeLife(victim, attacker, v);
  }
}

void LoseShip(const GameObject& ship) {
  --Game.Lives;
  CreateController(BehShipDestroyed, ship.x, ship.y, QG_DrawLast, InsertAtTail);
  if (Game.Lives >= 0)
    CreateController(BehShipReentry, KeepTemplateValue, KeepTemplateValue, QG_DrawLast,
                     InsertAtTail);
  MoveObject(Play.ShipIndex, QG_DrawStart, InsertAtTail);  // parked far below until the next entry
  GameObject& parked = Obj(Play.ShipIndex);
  parked.y = ParkedY;
  parked.behaviour = BehPlainMover;
}

void Destroy(ObjectIndex i, GameObject& o) {
  Spawn(int16_t(o.blastType), o.x, o.y);
  if (i == Play.ShipIndex) {
    LoseShip(o);
    return;
  }
  if (o.deathRoll != 0)
    MoveObject(i, QG_EntryOnDeathRoll, InsertAtTail);  // its controller finishes it
  else
    KillObject(i, QG_UnUse);
  Game.Score = AddScore(Game.Score, World.Templates[o.templateIndex].score);
  ObjectIndex label = Spawn(TypeScoreLabel, o.x + o.centerX, o.y + o.centerY);
  if (label != NoObject) Obj(label).templateIndex = o.templateIndex;
}

}  // namespace

bool BoxesOverlap(ObjectIndex a, ObjectIndex b) {
  const GameObject &oa = Obj(a), &ob = Obj(b);
  return InHitArea(oa) && InHitArea(ob) && Overlap(BoxOf(oa), BoxOf(ob));
}

bool HitsShip(ObjectIndex i) {
  if (Play.ShipIndex == NoObject) return false;
  const GameObject& ship = Ship();
  return Overlap(BoxOf(Obj(i)), RectAt(ship.x + 30, ship.y + 30, ship.x + 34, ship.y + 34));
}

bool HitsBarrier(ObjectIndex b) {
  if (Play.ShipIndex == NoObject) return false;
  const GameObject& ship = Ship();
  Box bullet = BoxOf(Obj(b));
  float x = ship.x, y = ship.y;
  if (ship.work3 == 0)
    return Overlap(bullet, RectAt(x, y - 32, x + 64, y)) ||
           Overlap(bullet, RectAt(x, y + 64, x + 64, y + 96));
  return Overlap(bullet, RectAt(x - 32, y, x, y + 64)) ||
         Overlap(bullet, RectAt(x + 64, y, x + 96, y + 64));
}

void ResolveBarrierHit(ObjectIndex b) {
  GameObject& bullet = Obj(b);
  const GameObject& ship = Ship();
  bullet.life -= 1;
  Game.Score = AddScore(Game.Score, 100);
  if (bullet.life < 1) KillObject(b, QG_UnUse);
  if (ship.work3 == 0)
    (ship.y + 32 <= bullet.y ? Play.PodFlashB : Play.PodFlashA) = 2;
  else if (ship.work3 == 2.0f)
    (ship.x + 32 <= bullet.x ? Play.PodFlashB : Play.PodFlashA) = 2;
  const SpriteRecord& s = SpriteBox(bullet.sprite);
  CreateObject(TypeSpark, QG_DrawLast, InsertAtTail, bullet.x + s.Left + s.Width / 2 - 16,
               bullet.y + s.Top + s.Height / 2 - 16, KeepTemplateValue, KeepTemplateValue,
               KeepTemplateValue, KeepTemplate);
  PlaySe(SE_BARIA_HIT);
}

void ResolveHit(ObjectIndex v, ObjectIndex a) {
  GameObject &victim = Obj(v), &attacker = Obj(a);
  if (attacker.life < 1) return;  // spent: it hits once
  Strike(v, victim, attacker);
  if (victim.life > IndestructibleAbove) victim.life = Indestructible;
  if (attacker.life > IndestructibleAbove) attacker.life = Indestructible;
  if (victim.life < 1) Destroy(v, victim);
  if (attacker.life < 1) {
    // An attacker with a death roll (the boss, rammed) falls as if it were shot down, so its
    // controller finishes it; others simply go.
    if (attacker.deathRoll != 0)
      Destroy(a, attacker);
    else
      KillObject(a, QG_UnUse);
  }
}

void RunHits() {
  auto overlap = [](ObjectIndex inner, ObjectIndex outer) { return BoxesOverlap(inner, outer); };
  auto hitInner = [](ObjectIndex inner, ObjectIndex outer) { ResolveHit(inner, outer); };
  auto hitShip = [](ObjectIndex i) {
    if (HitsShip(i)) ResolveHit(Play.ShipIndex, i);
  };
  Pairs(QG_MyShot, QG_Enemy, overlap, hitInner);
  Each(QG_EnemyShot, [](ObjectIndex b) {
    if (HitsBarrier(b)) ResolveBarrierHit(b);
  });
  Each(QG_Enemy, hitShip);
  Each(QG_EnemyShot, hitShip);
  Pairs(QG_EnemyShot, QG_Obstacle, overlap, hitInner);
  Pairs(QG_MyShot, QG_Obstacle, overlap, hitInner);
  Each(QG_Obstacle, hitShip);
}
