#include <gtest/gtest.h>

#include "common/frame_clock.h"
#include "graphics/image_resource.h"
#include "sprite_ids.h"
#include "stage/hits.h"
#include "stage/stage_state.h"
#include "stage/behaviours.h"
#include "stage/stage.h"
#include "support/headless.h"

namespace {

// Shots and enemies side by side: every one a 32x32 box at its position.
class HitTest : public testing::Test {
 protected:
  void SetUp() override {
    StartStageWorld();
    Play.ShipIndex = CreateObject(TypeShip, QG_MyShip, InsertAtHead, 200, 300, 0, 0, 0, 0);
  }
  void TearDown() override {
    ShipCannotDie = false;
    StopHeadlessDisplay();
  }

  ObjectIndex Shot(float x, float y, float vx = 0, float vy = -32) {
    return Spawn(TypeMyShot, x, y, vx, vy);
  }
  ObjectIndex Enemy(int16_t type, float x, float y) { return Spawn(type, x, y, 0, 0); }
  float Width(ObjectIndex i) { return SpriteBox(Obj(i).sprite).Width; }
};

TEST_F(HitTest, BoxesThatShareOnlyAnEdgeDoNotOverlap) {
  ObjectIndex enemy = Enemy(TypeDrone, 100, 100);
  ObjectIndex touching = Shot(100 + Width(enemy), 100);
  EXPECT_FALSE(BoxesOverlap(enemy, touching));
  Obj(touching).x -= 1;
  EXPECT_TRUE(BoxesOverlap(enemy, touching));
  Obj(enemy).x = -1;  // left of the screen: out of the game
  EXPECT_FALSE(BoxesOverlap(enemy, touching));
  Obj(enemy).x = 447 + 3 - Width(enemy) + 1;  // its right edge past the play field
  Obj(touching).x = Obj(enemy).x;
  EXPECT_FALSE(BoxesOverlap(enemy, touching));
}

TEST_F(HitTest, ShotsWearDownEnemiesAndScoreTheirKill) {
  ObjectIndex drone = Enemy(TypeDrone, 100, 100);  // life 4, 1000 points
  for (int32_t n = 0; n < 4; ++n) {
    ObjectIndex shot = Shot(100, 100);
    ResolveHit(drone, shot);
    EXPECT_NE(Obj(shot).killNext, NoObject) << "the shot is spent";
  }
  EXPECT_EQ(Game.Score, 1000);
  EXPECT_NE(Obj(drone).killNext, NoObject);
  FlushKills();
  std::vector<uint16_t> effects = GroupMembers(QG_DrawLast);
  ASSERT_EQ(effects.size(), 2u);  // its explosion and its score label
  const GameObject& label = Obj(effects[1]);
  EXPECT_EQ(label.templateIndex, World.TypeTemplate[TypeDrone]);
  EXPECT_EQ(label.x, 100 + World.Templates[World.TypeTemplate[TypeDrone]].centerX);
}

TEST_F(HitTest, IndestructibleEnemiesOnlyTakeTheShot) {
  ObjectIndex armour = Enemy(TypeArmoured, 100, 100);  // 30000 until it opens
  ObjectIndex shot = Shot(100, 100);
  ResolveHit(armour, shot);
  EXPECT_EQ(Obj(armour).life, Indestructible);
  EXPECT_EQ(Obj(armour).y, 100) << "no push-back while closed";
  EXPECT_NE(Obj(shot).killNext, NoObject);
  EXPECT_EQ(Game.Score, 0);
}

TEST_F(HitTest, OpenArmourIsPushedBackAlongTheShot) {
  ObjectIndex armour = Enemy(TypeArmoured, 100, 100);
  Obj(armour).life = 15;
  ResolveHit(armour, Shot(100, 120, 0, -32));
  EXPECT_EQ(Obj(armour).y, 84);
  ResolveHit(armour, Shot(90, 100, 32, 0));
  EXPECT_EQ(Obj(armour).x, 116);
  EXPECT_EQ(Obj(armour).life, 13);
}

TEST_F(HitTest, ASpentShotHitsOnlyOnce) {
  ObjectIndex first = Enemy(TypeDrone, 100, 100), second = Enemy(TypeDrone, 104, 100);
  Obj(first).life = 1;
  Shot(100, 100);
  RunHits();
  EXPECT_EQ(Obj(first).life, 0);
  EXPECT_EQ(Obj(second).life, 4);
}

TEST_F(HitTest, LosingAShipWithShipsLeftParksItAndSendsTheNext) {
  Game.Lives = 2;
  ObjectIndex bullet = Spawn(TypeEnemyShot, 200 + 30 - 16 + 4, 300 + 30 - 16 + 4, 0, 0);
  Obj(bullet).sprite = Sprite::ShotVertical;
  ASSERT_TRUE(HitsShip(bullet));
  RunHits();
  EXPECT_EQ(Game.Lives, 1);
  const GameObject& ship = Obj(Play.ShipIndex);
  EXPECT_EQ(ship.group, QG_DrawStart);
  EXPECT_EQ(ship.y, 20000);
  EXPECT_EQ(ship.behaviour, BehPlainMover);
  std::vector<int32_t> behaviours;
  for (uint16_t i : GroupMembers(QG_DrawLast)) behaviours.push_back(Obj(i).behaviour);
  EXPECT_EQ(behaviours, (std::vector<int32_t>{BehExplosion, BehShipDestroyed, BehShipReentry}));  // explosion, loss, next ship
  EXPECT_EQ(Game.Score, 0);
}

TEST_F(HitTest, LosingTheLastShipSendsNoOther) {
  Game.Lives = 0;
  ObjectIndex drone = Enemy(TypeDrone, 200 + 16, 300 + 16);
  ASSERT_TRUE(HitsShip(drone));
  RunHits();
  EXPECT_EQ(Game.Lives, -1);
  std::vector<int32_t> behaviours;
  for (uint16_t i : GroupMembers(QG_DrawLast)) behaviours.push_back(Obj(i).behaviour);
  EXPECT_EQ(behaviours, (std::vector<int32_t>{BehExplosion, BehShipDestroyed}));
  EXPECT_EQ(Obj(drone).life, 3) << "the drone took a hit too";
}

TEST_F(HitTest, PodsAbsorbBulletsAndLightUp) {
  ObjectIndex above = Spawn(TypeEnemyShot, 210, 300 - 40, 0, 0);
  ObjectIndex below = Spawn(TypeEnemyShot, 210, 300 + 70, 0, 0);
  Obj(above).sprite = Obj(below).sprite = Sprite::ShotVertical;
  Play.PodFlashA = Play.PodFlashB = 0;
  RunHits();
  EXPECT_EQ(Play.PodFlashA, 2);
  EXPECT_EQ(Play.PodFlashB, 2);
  EXPECT_EQ(Game.Score, 200);
  EXPECT_NE(Obj(above).killNext, NoObject);
  EXPECT_EQ(GroupMembers(QG_DrawLast).size(), 2u) << "a spark for each";
  Obj(Play.ShipIndex).work3 = 2;  // pods at the sides now
  ObjectIndex side = Spawn(TypeEnemyShot, 200 - 30, 310, 0, 0);
  Obj(side).sprite = Sprite::ShotVertical;
  EXPECT_TRUE(HitsBarrier(side));
  Obj(side).y = 300 - 40;
  EXPECT_FALSE(HitsBarrier(side));
}

TEST_F(HitTest, ABossThatFallsGoesToItsController) {
  Play.BossIndex = CreateObject(TypeBoss, KeepTemplate, KeepTemplate, 144, 0, 0, 0, 0, 0);
  Obj(Play.BossIndex).life = 1;
  Shot(200, 40);
  RunHits();
  EXPECT_EQ(Obj(Play.BossIndex).group, QG_EntryOnDeathRoll);
  EXPECT_EQ(Obj(Play.BossIndex).killNext, NoObject) << "moved at once, not killed";
}

TEST_F(HitTest, ATestShipTakesNoDamage) {
  ShipCannotDie = true;
  Game.Lives = 0;
  Enemy(TypeDrone, 200 + 16, 300 + 16);
  RunHits();
  EXPECT_EQ(Game.Lives, 0);
  EXPECT_EQ(Obj(Play.ShipIndex).life, 1);
}

}  // namespace
