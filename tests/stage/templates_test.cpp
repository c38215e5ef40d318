#include <gtest/gtest.h>

#include "graphics/image_resource.h"
#include "objects/object_table.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/hits.h"
#include "stage/stage.h"

namespace {

TEST(TemplateTest, TemplatesMeasureTheirSprites) {
  Images.SpriteTable.assign(Sprite::BossBody + 1, SpriteRecord{});
  Images.SpriteTable[Sprite::Ship] = {0, 0, 0, 64, 64};
  Images.SpriteTable[Sprite::BossBody] = {0, -8, 4, 160, 120};
  Images.SpriteTable[Sprite::ArmouredBody] = {0, 0, 0, 64, 32};
  BuildTemplates();
  auto of = [](ObjectType type) -> const ObjectTemplate& {
    return World.Templates[World.TypeTemplate[type]];
  };
  EXPECT_EQ(World.Templates.size(), 25u);
  const ObjectTemplate& ship = of(TypeShip);
  EXPECT_EQ(ship.templateIndex, 1);
  EXPECT_EQ(ship.centerX, 32);
  EXPECT_EQ(ship.centerY, 32);
  EXPECT_EQ(ship.blastType, TypeMediumBlast);  // 64 x 64
  EXPECT_EQ(of(TypeMyShot).blastType, TypeSmallBlast);  // the empty box
  const ObjectTemplate& boss = of(TypeBoss);
  EXPECT_EQ(boss.blastType, TypeBlastCluster);  // given, not measured
  EXPECT_EQ(boss.centerX, 80 - 8);
  EXPECT_EQ(boss.centerY, 60 + 4);
  EXPECT_EQ(boss.deathRoll, 65535);
  EXPECT_EQ(of(TypeArmoured).blastType, TypeMediumBlast);  // 64 x 32
  EXPECT_EQ(of(TypeArmoured).hitKind, HitPushesBack);
  EXPECT_EQ(of(TypeArmoured).lastLife, 15);
  EXPECT_EQ(of(TypeSideGunner).animPhase, 2);
  EXPECT_EQ(of(TypeLargeBlast).y, -600);
  for (int16_t type : {14, 15, 19}) EXPECT_EQ(World.TypeTemplate[type], 0);
  EXPECT_EQ(World.TypeTemplate[TypeBeamSegment], 24);
  EXPECT_EQ(World.Templates[24].defaultGroup, QG_EnemyShot);
  EXPECT_EQ(World.Templates[0].y, -480);
  EXPECT_EQ(World.Templates[0].blastType, TypeSmallBlast);  // sprite 0 has the empty box
}

}  // namespace
