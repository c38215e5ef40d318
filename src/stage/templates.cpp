// The stage's object templates and the type codes that pick them.

#include "graphics/image_resource.h"
#include "objects/object_table.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/hits.h"
#include "stage/stage.h"

namespace {

constexpr int32_t TemplatesWhileBuilding = 61;
constexpr int32_t TemplateCount = 25;

ObjectTemplate BlankTemplate() {
  ObjectTemplate t;
  t.y = -480.0f;
  t.nextPart = NoObject;
  return t;
}

using Extra = void (*)(ObjectTemplate&);

struct TemplateRow {
  ObjectType type;
  uint16_t templ;
  int32_t sprite;
  BehaviourId behaviour;
  QueueGroupId group;
  float life, lastLife;
  int32_t score;
  Extra extra;  // the fields particular to the row
};

void Animate(ObjectTemplate& t, int16_t last, float speed) {
  t.animLast = last;
  t.animSpeed = speed;
  t.animMode = 2;
}

void Explosion(ObjectTemplate& t) {
  Animate(t, 7, 1.0f);
  t.x = 0;
  t.y = -600.0f;
}

void CycleFourWithTimer(ObjectTemplate& t) {
  Animate(t, 3, 1.0f);
  t.work3 = 30.0f;
}

void None(ObjectTemplate&) {}

// clang-format off
constexpr TemplateRow Table[] = {
  // type           tmpl sprite                behaviour             group           life  lastLife score  other fields
  {TypeShip,          1, Sprite::Ship,         BehShipUnderControl,  QG_MyShip,         1,     0,     0, [](ObjectTemplate& t) { t.x = 191; t.y = 300; t.speed = 5; }},
  {TypeMyShot,        2, Sprite::PlayerShot,   BehMyShot,            QG_MyShot,         1,     0,     0, [](ObjectTemplate& t) { t.speed = 32; }},
  {TypeFaller,        3, Sprite::Dart,         BehStraightFaller,    QG_Enemy,          6,     0,     0, [](ObjectTemplate& t) { t.vx = 0; t.vy = 2; t.speed = 2; }},
  {TypeEnemyShot,     4, Sprite::FontSmall,    BehEnemyShot,         QG_EnemyShot,      1,     0,     0, [](ObjectTemplate& t) { t.speed = 4; }},
  {TypeController,    5, 0,                    BehStartBanner,       QG_DrawLast,       0,     0,     0, None},
  {TypeSpark,         6, 0,                    BehBarrierSpark,      QG_DrawLast,       0,     0,     0, None},
  {TypeBoss,          7, Sprite::BossBody,     BehBoss,              QG_Enemy,      30000,     0,     0, [](ObjectTemplate& t) { t.y = -480; t.work2 = 1500; t.work3 = 1500;
                                                                                                                                 t.blastType = TypeBlastCluster; t.deathRoll = 65535; }},
  {TypeBossTurret,    8, Sprite::TurretDown,   BehBossTurret,        QG_DrawLast,      50,     0,  3000, None},
  {TypeSmallBlast,    9, Sprite::ExplosionSmall,  BehExplosion,      QG_DrawLast,   30000,     0,     0, Explosion},
  {TypeMediumBlast,  10, Sprite::ExplosionMedium, BehExplosion,      QG_DrawLast,   30000,     0,     0, Explosion},
  {TypeLargeBlast,   11, Sprite::ExplosionLarge,  BehExplosion,      QG_DrawLast,   30000,     0,     0, Explosion},
  {TypeDrone,        12, Sprite::Drone,        BehDrone,             QG_Enemy,          4,     4,  1000, CycleFourWithTimer},
  {TypeHoming,       13, Sprite::Dart,         BehHoming,            QG_Enemy,          5,     5,  3000, [](ObjectTemplate& t) { t.animLast = 15; t.animMode = 2; t.vy = 2; t.speed = 4; }},
  {TypeSpinner,      14, Sprite::Shooter,      BehSpinner,           QG_Enemy,         10,    10,  1500, CycleFourWithTimer},
  {TypeGunner,       15, Sprite::Shooter,      BehGunner,            QG_Enemy,         10,    10,  2000, CycleFourWithTimer},
  {TypeSideGunner,   16, Sprite::Shooter,      BehSideGunner,        QG_Enemy,         10,    10,  2000, [](ObjectTemplate& t) { CycleFourWithTimer(t); t.animPhase = 2; }},
  {TypeCrossGunner,  17, Sprite::Shooter,      BehCrossGunner,       QG_Enemy,         10,    10,  3000, CycleFourWithTimer},
  {TypeRapidGunner,  18, Sprite::Shooter,      BehRapidGunner,       QG_Enemy,         10,    10,  3500, CycleFourWithTimer},
  {TypeArmoured,     19, Sprite::ArmouredBody, BehArmoured,          QG_Enemy,      30000,    15,  3000, [](ObjectTemplate& t) { t.work1 = 15; t.speed = 8; t.hitKind = HitPushesBack; }},
  {TypeHatch,        20, Sprite::HatchHousing, BehHatch,             QG_Enemy,      30000,    20,  5000, [](ObjectTemplate& t) { t.work1 = 20; }},
  {TypeBeamer,       21, Sprite::Beamer,       BehBeamer,            QG_Enemy,        100,   100,  6000, [](ObjectTemplate& t) { t.work3 = 30; }},
  {TypeScoreLabel,   22, 0,                    BehScoreLabel,        QG_DrawLast,       0,     0,     0, [](ObjectTemplate& t) { t.vy = -1; t.work3 = 3; }},
  {TypeBlastCluster, 23, 0,                    BehExplosionCluster,  QG_DrawLast,       0,     0,     0, None},
  // Enemy shots take their picture from whatever fires them. The beam craft's segments are
  // enemy shots that pour straight down.
  {TypeBeamSegment,  24, Sprite::Beam,         BehEnemyShot,         QG_EnemyShot,      1,     0,     0, [](ObjectTemplate& t) { Animate(t, 3, 1.0f); }},
};
// clang-format on

// Centre offsets and, where none is given, the explosion by sprite size.
void MeasureFromSprites() {
  for (int16_t type = 0; type < TypeCodes; ++type) {
    uint16_t index = World.TypeTemplate[type];
    ObjectTemplate& t = World.Templates[index];
    const SpriteRecord& box = SpriteBox(t.sprite);
    t.templateIndex = index;
    t.centerX = int16_t(box.Width / 2 + box.Left);
    t.centerY = int16_t(box.Height / 2 + box.Top);
    if (t.blastType == 0)
      t.blastType = box.Width < 33 && box.Height < 33   ? TypeSmallBlast
                    : box.Width < 65 && box.Height < 65 ? TypeMediumBlast
                                                        : TypeLargeBlast;
  }
}

}  // namespace

void BuildTemplates() {
  World.Templates.assign(TemplatesWhileBuilding, BlankTemplate());
  World.TypeTemplate.fill(0);  // unlisted types make template 0, which draws and does nothing
  for (const TemplateRow& row : Table) {
    World.TypeTemplate[row.type] = row.templ;
    ObjectTemplate& t = World.Templates[row.templ];
    t.sprite = row.sprite;
    t.behaviour = row.behaviour;
    t.defaultGroup = row.group;
    t.life = row.life;
    t.lastLife = row.lastLife;
    t.score = row.score;
    row.extra(t);
  }
  MeasureFromSprites();
  World.Templates.resize(TemplateCount);
}
