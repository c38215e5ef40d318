#include <gtest/gtest.h>

#include <set>

#include "game/game_state.h"
#include "graphics/image_resource.h"
#include "objects/object_table.h"
#include "support/headless.h"

namespace {

std::vector<ObjectIndex> Members(int32_t group) { return GroupMembers(group); }

// Every record is in exactly one group, the links agree both ways and with `group`.
void ExpectListsConsistent() {
  std::set<ObjectIndex> seen;
  for (int32_t g = 0; g < GroupCount; ++g) {
    ObjectIndex prev = NoObject;
    for (ObjectIndex i : Members(g)) {
      ASSERT_TRUE(seen.insert(i).second) << "record " << i << " is in two groups";
      EXPECT_EQ(ObjectTable[i].group, g);
      EXPECT_EQ(ObjectTable[i].prev, prev);
      prev = i;
    }
    EXPECT_EQ(QueueGroups[g].tail, prev);
  }
  EXPECT_EQ(seen.size(), size_t(ObjectRecords));
}

ObjectIndex Make(int16_t type, int32_t group = KeepTemplate, float x = KeepTemplateValue,
                 int16_t tag = 0) {
  return CreateObject(type, group, KeepTemplate, x, KeepTemplateValue, KeepTemplateValue,
                      KeepTemplateValue, KeepTemplateValue, tag);
}

// A sprite table where sprite id n (for the ids the templates use) has a box of our choosing.
void UseSpriteBoxes() {
  SpriteCount = 700;
  SpriteTable.assign(701, SpriteRecord{});
  SpriteTable[481] = {0, 0, 0, 64, 64};    // ship
  SpriteTable[483] = {0, 0, 0, 16, 32};    // shot
  SpriteTable[681] = {0, -8, 4, 160, 120};  // boss
  SpriteTable[534] = {0, 0, 0, 64, 32};    // armoured enemy
}

class ObjectTableTest : public testing::Test {
 protected:
  void SetUp() override {
    UseSpriteBoxes();
    FrameCounter = 0;
    ResetObjects();
    BuildTemplates();
  }
};

TEST_F(ObjectTableTest, ResetLeavesEveryRecordFreeButTheReservedOne) {
  ExpectListsConsistent();
  EXPECT_EQ(Members(QG_Reserved), std::vector<ObjectIndex>{0});
  std::vector<ObjectIndex> free = Members(QG_UnUse);
  ASSERT_EQ(free.size(), 3000u);
  EXPECT_EQ(free.front(), 1);
  EXPECT_EQ(free.back(), 3000);
  for (int32_t g : {0, 1, 2, 3, 4, 5, 6, 7, 9, 11}) EXPECT_TRUE(Members(g).empty()) << g;
  EXPECT_EQ(QueueGroups[QG_UnUse].name, "QG_UnUse");
  EXPECT_EQ(QueueGroups[2].name, "");
}

TEST_F(ObjectTableTest, CreateTakesTemplateValuesUnlessGiven) {
  FrameCounter = 1234;
  ObjectIndex shot = CreateObject(1, KeepTemplate, KeepTemplate, 100, 200, KeepTemplateValue,
                                  -8, KeepTemplateValue, 9999);
  EXPECT_EQ(Members(QG_MyShot), std::vector<ObjectIndex>{shot});
  const GameObject& o = ObjectTable[shot];
  EXPECT_EQ(o.stamp, 1234);
  EXPECT_EQ(o.x, 100);
  EXPECT_EQ(o.y, 200);
  EXPECT_EQ(o.vy, -8);
  EXPECT_EQ(o.speed, 32);
  EXPECT_EQ(o.tag, 9999);  // the tag is copied even when it is 9999
  EXPECT_EQ(o.root, shot);
  EXPECT_EQ(o.nextPart, NoObject);

  ObjectIndex ship = Make(0);
  EXPECT_EQ(ObjectTable[ship].x, 191);
  EXPECT_EQ(ObjectTable[ship].y, 300);
  EXPECT_EQ(ObjectTable[ship].group, QG_MyShip);
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, InsertModesPlaceAtHeadOrTail) {
  ObjectIndex a = Make(3), b = Make(3);
  ObjectIndex c = CreateObject(3, QG_EnemyShot, InsertAtHead, 0, 0, 0, 0, 0, 0);
  ObjectIndex d = CreateObject(3, QG_EnemyShot, InsertAtTail, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(Members(QG_EnemyShot), (std::vector<ObjectIndex>{c, a, b, d}));
  MoveObject(b, QG_DrawLast, InsertAtHead);
  MoveObject(NoObject, QG_DrawLast, InsertAtHead);  // no object, no change
  EXPECT_EQ(Members(QG_EnemyShot), (std::vector<ObjectIndex>{c, a, d}));
  EXPECT_EQ(Members(QG_DrawLast), std::vector<ObjectIndex>{b});
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, KillsAreDeferredAndTakeTheLastGroupNamed) {
  ObjectIndex a = Make(20), b = Make(20), c = Make(20);
  KillObject(a, QG_UnUse);
  KillObject(b, QG_UnUse);
  KillObject(a, QG_EntryOnDeathRoll);  // listed already: only the group changes
  EXPECT_EQ(Members(QG_Enemy), (std::vector<ObjectIndex>{a, b, c}));
  FlushKills();
  EXPECT_EQ(Members(QG_Enemy), std::vector<ObjectIndex>{c});
  EXPECT_EQ(Members(QG_EntryOnDeathRoll), std::vector<ObjectIndex>{a});
  EXPECT_EQ(ObjectTable[a].killNext, NoObject);
  EXPECT_EQ(KillListHead, NoObject);
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, MultiPartObjectsLiveAndDieTogether) {
  Templates[5].nextPart = 1;  // the type-5 controller gets a second part from template 6
  ObjectIndex first = Make(5, QG_DrawLast, 10);
  ObjectIndex second = ObjectTable[first].nextPart;
  ASSERT_NE(second, NoObject);
  EXPECT_EQ(ObjectTable[second].root, first);
  EXPECT_EQ(ObjectTable[second].behaviour, Templates[6].behaviour);
  EXPECT_EQ(ObjectTable[second].x, 10);
  EXPECT_EQ(ObjectTable[second].nextPart, NoObject);
  KillObject(second, QG_UnUse);
  FlushKills();
  EXPECT_TRUE(Members(QG_DrawLast).empty());
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, FullTableCreatesNothing) {
  for (int32_t i = 0; i < 3000; ++i) ASSERT_NE(Make(3), NoObject);
  EXPECT_EQ(Make(3), NoObject);
  EXPECT_EQ(Make(99), NoObject);  // no such type
  EXPECT_EQ(Members(QG_EnemyShot).size(), 3000u);
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, DueSpawnsAreReleasedInStampOrderOnly) {
  std::vector<ObjectIndex> spawns;
  for (int32_t stamp : {90, 100, 120, 95}) {
    ObjectIndex i = Make(20, QG_PreEventQue);
    ObjectTable[i].stamp = stamp;
    spawns.push_back(i);
  }
  FrameCounter = 100;
  ReleasePreEvents();
  EXPECT_EQ(Members(QG_Enemy), (std::vector<ObjectIndex>{spawns[0], spawns[1]}));
  EXPECT_EQ(Members(QG_PreEventQue), (std::vector<ObjectIndex>{spawns[2], spawns[3]}));

  FrameCounter = 120;
  DropPreEvents();
  EXPECT_EQ(Members(QG_PreEventQue), std::vector<ObjectIndex>{});
  EXPECT_EQ(Members(QG_UnUse).back(), spawns[3]);
  ReleasePreEvents();  // empty: nothing happens
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, TemplatesMeasureTheirSprites) {
  EXPECT_EQ(Templates.size(), size_t(TemplateCount));
  const ObjectTemplate& ship = Templates[TypeTemplate[0]];
  EXPECT_EQ(ship.templateIndex, 1);
  EXPECT_EQ(ship.centerX, 32);
  EXPECT_EQ(ship.centerY, 32);
  EXPECT_EQ(ship.blastType, 8);  // 64 x 64: medium
  EXPECT_EQ(Templates[TypeTemplate[1]].blastType, 7);
  const ObjectTemplate& boss = Templates[TypeTemplate[12]];
  EXPECT_EQ(boss.blastType, 10);  // given, not measured
  EXPECT_EQ(boss.centerX, 80 - 8);
  EXPECT_EQ(boss.centerY, 60 + 4);
  EXPECT_EQ(boss.deathRoll, 65535);
  EXPECT_EQ(Templates[TypeTemplate[27]].blastType, 8);
  EXPECT_EQ(Templates[TypeTemplate[27]].hitKind, 2);
  EXPECT_EQ(Templates[TypeTemplate[27]].lastLife, 15);
  EXPECT_EQ(Templates[TypeTemplate[24]].animPhase, 2);
  EXPECT_EQ(Templates[TypeTemplate[9]].y, -600);
  for (int16_t type : {14, 15, 19}) EXPECT_EQ(TypeTemplate[type], 0);
  EXPECT_EQ(TypeTemplate[4], 24);  // the beam segments
  EXPECT_EQ(Templates[24].defaultGroup, QG_EnemyShot);
  EXPECT_EQ(Templates[0].y, -480);
  EXPECT_EQ(Templates[0].blastType, 7);  // sprite 0 has the empty box
}

}  // namespace
