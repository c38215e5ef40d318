// The object templates and the type codes that pick them.

#include "graphics/image_resource.h"
#include "objects/object_table.h"

namespace {

constexpr int32_t TemplatesWhileBuilding = 61;

// Explosion type codes by the size of what blows up.
constexpr int32_t SmallBlast = 7, MediumBlast = 8, LargeBlast = 9;

ObjectTemplate BlankTemplate() {
  ObjectTemplate t;
  t.y = -480.0f;
  t.nextPart = NoObject;
  return t;
}

using Extra = void (*)(ObjectTemplate&);

struct TemplateRow {
  int16_t type;
  uint16_t templ;
  int32_t sprite;
  int32_t behaviour;
  int16_t group;
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
  // type tmpl sprite behaviour group  life  lastLife score  other fields
  {  0,   1,   481,   3,       5,      1,     0,       0, [](ObjectTemplate& t) { t.x = 191; t.y = 300; t.speed = 5; }},
  {  1,   2,   483,   6,       4,      1,     0,       0, [](ObjectTemplate& t) { t.speed = 32; }},
  {  2,   3,   541,   7,       3,      6,     0,       0, [](ObjectTemplate& t) { t.vx = 0; t.vy = 2; t.speed = 2; }},
  {  3,   4,     1,   8,       1,      1,     0,       0, [](ObjectTemplate& t) { t.speed = 4; }},
  {  5,   5,     0,  10,       6,      0,     0,       0, None},
  { 11,   6,     0,  11,       6,      0,     0,       0, None},
  { 12,   7,   681,  13,       3,  30000,     0,       0, [](ObjectTemplate& t) { t.y = -480; t.work2 = 1500; t.work3 = 1500;
                                                                                  t.blastType = 10; t.deathRoll = 65535; }},
  { 13,   8,   595,  14,       6,     50,     0,    3000, None},
  {  7,   9,   397,   9,       6,  30000,     0,       0, Explosion},
  {  8,  10,   405,   9,       6,  30000,     0,       0, Explosion},
  {  9,  11,   413,   9,       6,  30000,     0,       0, Explosion},
  { 20,  12,   500,  34,       3,      4,     4,    1000, CycleFourWithTimer},
  { 21,  13,   541,  43,       3,      5,     5,    3000, [](ObjectTemplate& t) { t.animLast = 15; t.animMode = 2; t.vy = 2; t.speed = 4; }},
  { 22,  14,   583,  21,       3,     10,    10,    1500, CycleFourWithTimer},
  { 23,  15,   583,  26,       3,     10,    10,    2000, CycleFourWithTimer},
  { 24,  16,   583,  31,       3,     10,    10,    2000, [](ObjectTemplate& t) { CycleFourWithTimer(t); t.animPhase = 2; }},
  { 25,  17,   583,  32,       3,     10,    10,    3000, CycleFourWithTimer},
  { 26,  18,   583,  33,       3,     10,    10,    3500, CycleFourWithTimer},
  { 27,  19,   534,  45,       3,  30000,    15,    3000, [](ObjectTemplate& t) { t.work1 = 15; t.speed = 8; t.hitKind = 2; }},
  { 28,  20,   577,  44,       3,  30000,    20,    5000, [](ObjectTemplate& t) { t.work1 = 20; }},
  { 29,  21,   532,  20,       3,    100,   100,    6000, [](ObjectTemplate& t) { t.work3 = 30; }},
  {  6,  22,     0,   2,       6,      0,     0,       0, [](ObjectTemplate& t) { t.vy = -1; t.work3 = 3; }},
  { 10,  23,     0,  54,       6,      0,     0,       0, None},
  // The beam craft's segments: enemy shots that pour straight down.
  {  4,  24,   702,   8,       1,      1,     0,       0, [](ObjectTemplate& t) { Animate(t, 3, 1.0f); }},
};
// clang-format on

// Centre offsets and, where none is given, the explosion by sprite size.
void MeasureFromSprites() {
  for (int16_t type = 0; type < TypeCodes; ++type) {
    uint16_t index = TypeTemplate[type];
    ObjectTemplate& t = Templates[index];
    const SpriteRecord& box = SpriteBox(t.sprite);
    t.templateIndex = index;
    t.centerX = int16_t(box.Width / 2 + box.Left);
    t.centerY = int16_t(box.Height / 2 + box.Top);
    if (t.blastType == 0)
      t.blastType = box.Width < 33 && box.Height < 33   ? SmallBlast
                    : box.Width < 65 && box.Height < 65 ? MediumBlast
                                                        : LargeBlast;
  }
}

}  // namespace

void BuildTemplates() {
  Templates.assign(TemplatesWhileBuilding, BlankTemplate());
  TypeTemplate.fill(0);  // unlisted types make template 0, which draws and does nothing
  for (const TemplateRow& row : Table) {
    TypeTemplate[row.type] = row.templ;
    ObjectTemplate& t = Templates[row.templ];
    t.sprite = row.sprite;
    t.behaviour = row.behaviour;
    t.defaultGroup = row.group;
    t.life = row.life;
    t.lastLife = row.lastLife;
    t.score = row.score;
    row.extra(t);
  }
  MeasureFromSprites();
  Templates.resize(TemplateCount);
}
