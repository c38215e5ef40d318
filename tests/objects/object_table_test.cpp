#include <gtest/gtest.h>

#include <set>

#include "common/frame_clock.h"
#include "graphics/image_resource.h"
#include "objects/object_table.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/stage_state.h"
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
      EXPECT_EQ(Obj(i).group, g);
      EXPECT_EQ(Obj(i).prev, prev);
      prev = i;
    }
    EXPECT_EQ(World.QueueGroups[g].tail, prev);
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
  Images.SpriteTable.assign(Sprite::BossBody + 1, SpriteRecord{});
  Images.SpriteTable[Sprite::Ship] = {0, 0, 0, 64, 64};
  Images.SpriteTable[Sprite::PlayerShot] = {0, 0, 0, 16, 32};
  Images.SpriteTable[Sprite::BossBody] = {0, -8, 4, 160, 120};
  Images.SpriteTable[Sprite::ArmouredBody] = {0, 0, 0, 64, 32};
}

// The objects of the stage's templates, on the sprite boxes above, in a fresh play.
class ObjectTableTest : public testing::Test {
 protected:
  void SetUp() override {
    UseSpriteBoxes();
    FrameCounter = 0;
    ResetPlay();
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
  EXPECT_EQ(World.QueueGroups[QG_UnUse].name, "QG_UnUse");
  EXPECT_EQ(World.QueueGroups[2].name, "");
}

TEST_F(ObjectTableTest, CreateTakesTemplateValuesUnlessGiven) {
  FrameCounter = 1234;
  ObjectIndex shot = CreateObject(TypeMyShot, KeepTemplate, KeepTemplate, 100, 200, KeepTemplateValue,
                                  -8, KeepTemplateValue, 9999);
  EXPECT_EQ(Members(QG_MyShot), std::vector<ObjectIndex>{shot});
  const GameObject& o = Obj(shot);
  EXPECT_EQ(o.stamp, 1234);
  EXPECT_EQ(o.x, 100);
  EXPECT_EQ(o.y, 200);
  EXPECT_EQ(o.vy, -8);
  EXPECT_EQ(o.speed, 32);
  EXPECT_EQ(o.tag, 9999);  // the tag is copied even when it is 9999
  EXPECT_EQ(o.root, shot);
  EXPECT_EQ(o.nextPart, NoObject);

  ObjectIndex ship = Make(TypeShip);
  EXPECT_EQ(Obj(ship).x, 191);
  EXPECT_EQ(Obj(ship).y, 300);
  EXPECT_EQ(Obj(ship).group, QG_MyShip);
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, InsertModesPlaceAtHeadOrTail) {
  ObjectIndex a = Make(TypeEnemyShot), b = Make(TypeEnemyShot);
  ObjectIndex c = CreateObject(TypeEnemyShot, QG_EnemyShot, InsertAtHead, 0, 0, 0, 0, 0, 0);
  ObjectIndex d = CreateObject(TypeEnemyShot, QG_EnemyShot, InsertAtTail, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(Members(QG_EnemyShot), (std::vector<ObjectIndex>{c, a, b, d}));
  MoveObject(b, QG_DrawLast, InsertAtHead);
  MoveObject(NoObject, QG_DrawLast, InsertAtHead);  // no object, no change
  EXPECT_EQ(Members(QG_EnemyShot), (std::vector<ObjectIndex>{c, a, d}));
  EXPECT_EQ(Members(QG_DrawLast), std::vector<ObjectIndex>{b});
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, KillsAreDeferredAndTakeTheLastGroupNamed) {
  ObjectIndex a = Make(TypeDrone), b = Make(TypeDrone), c = Make(TypeDrone);
  KillObject(a, QG_UnUse);
  KillObject(b, QG_UnUse);
  KillObject(a, QG_EntryOnDeathRoll);  // listed already: only the group changes
  EXPECT_EQ(Members(QG_Enemy), (std::vector<ObjectIndex>{a, b, c}));
  FlushKills();
  EXPECT_EQ(Members(QG_Enemy), std::vector<ObjectIndex>{c});
  EXPECT_EQ(Members(QG_EntryOnDeathRoll), std::vector<ObjectIndex>{a});
  EXPECT_EQ(Obj(a).killNext, NoObject);
  EXPECT_EQ(World.KillListHead, NoObject);
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, MultiPartObjectsLiveAndDieTogether) {
  World.Templates[5].nextPart = 1;  // the type-5 controller gets a second part from template 6
  ObjectIndex first = Make(TypeController, QG_DrawLast, 10);
  ObjectIndex second = Obj(first).nextPart;
  ASSERT_NE(second, NoObject);
  EXPECT_EQ(Obj(second).root, first);
  EXPECT_EQ(Obj(second).behaviour, World.Templates[6].behaviour);
  EXPECT_EQ(Obj(second).x, 10);
  EXPECT_EQ(Obj(second).nextPart, NoObject);
  KillObject(second, QG_UnUse);
  FlushKills();
  EXPECT_TRUE(Members(QG_DrawLast).empty());
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, FullTableCreatesNothing) {
  for (int32_t i = 0; i < 3000; ++i) ASSERT_NE(Make(TypeEnemyShot), NoObject);
  EXPECT_EQ(Make(TypeEnemyShot), NoObject);
  EXPECT_EQ(Make(99), NoObject);  // no such type
  EXPECT_EQ(Members(QG_EnemyShot).size(), 3000u);
  ExpectListsConsistent();
}

TEST_F(ObjectTableTest, DueSpawnsAreReleasedInStampOrderOnly) {
  std::vector<ObjectIndex> spawns;
  for (int32_t stamp : {90, 100, 120, 95}) {
    ObjectIndex i = Make(TypeDrone, QG_PreEventQue);
    Obj(i).stamp = stamp;
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

}  // namespace
