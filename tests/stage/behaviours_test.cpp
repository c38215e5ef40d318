#include <gtest/gtest.h>

#include <cmath>

#include "common/frame_clock.h"
#include "graphics/image_resource.h"
#include "sprite_ids.h"
#include "stage/hits.h"
#include "stage/stage_state.h"
#include "stage/behaviours.h"
#include "support/headless.h"

namespace {

class BehaviourTest : public testing::Test {
 protected:
  void SetUp() override { StartStageWorld(); }
  void TearDown() override { StopHeadlessDisplay(); }
};

std::vector<int16_t> Frames(int32_t mode, int32_t count) {
  ResetPlay();
  ObjectIndex i = Spawn(TypeDrone, 0, 0);
  Obj(i).animMode = mode;
  Obj(i).animLast = 3;
  Obj(i).animPhase = 0;
  std::vector<int16_t> frames;
  for (int32_t n = 0; n < count; ++n) {
    frames.push_back(AnimFrame(i));
    Obj(i).animPhase += 1;
  }
  return frames;
}

TEST_F(BehaviourTest, AnimationCyclesOrSwingsBackAndForth) {
  EXPECT_EQ(Frames(2, 9), (std::vector<int16_t>{0, 1, 2, 3, 0, 1, 2, 3, 0}));
  EXPECT_EQ(Frames(0, 10), (std::vector<int16_t>{0, 1, 2, 3, 2, 1, 0, 1, 2, 3}));
  ObjectIndex single = Spawn(TypeEnemyShot, 0, 0);  // one frame, stepped on: stays on it
  Obj(single).animSpeed = 1;
  for (int32_t n = 0; n < 5; ++n) {
    Obj(single).animPhase += 1;
    EXPECT_EQ(AnimFrame(single), 0);
  }
}

TEST_F(BehaviourTest, UnknownAndEmptyBehavioursDoNothing) {
  for (int32_t behaviour : {0, 15, 19, 60, -3}) {
    ObjectIndex i = Spawn(TypeDrone, 100, 100, 3, 3);
    Obj(i).behaviour = behaviour;
    RunBehaviour(i);
    EXPECT_EQ(Obj(i).x, 100) << behaviour;
    EXPECT_EQ(Obj(i).group, QG_Enemy);
  }
}

TEST_F(BehaviourTest, ShotsLeaveByTheirWholeBoxAtTheTopButAtOnceOnTheRight) {
  ObjectIndex up = Spawn(TypeMyShot, 100, -20, 0, -1);
  const SpriteRecord& box = SpriteBox(Obj(up).sprite);
  Obj(up).y = float(-box.Top - box.Height) + 1;  // the box's last row still shows
  RunBehaviour(up);
  EXPECT_EQ(Obj(up).killNext, NoObject);
  RunBehaviour(up);
  EXPECT_NE(Obj(up).killNext, NoObject);

  ObjectIndex right = Spawn(TypeMyShot, 440, 100, 8, 0);
  RunBehaviour(right);
  EXPECT_NE(Obj(right).killNext, NoObject) << "x 448 is past 447";
}

TEST_F(BehaviourTest, ExplosionsWaitThenLastFourteenFrames) {
  ObjectIndex blast = Spawn(TypeSmallBlast, 50, 50);
  Obj(blast).lastLife = 5;
  int32_t shownFor = 0;
  for (int32_t frame = 0; frame < 40 && Obj(blast).killNext == NoObject; ++frame) {
    float before = Obj(blast).work1;
    RunBehaviour(blast);
    if (Obj(blast).work1 > before) ++shownFor;
    if (frame < 5) {
      EXPECT_EQ(Obj(blast).work1, 0) << "still waiting at " << frame;
    }
  }
  EXPECT_EQ(shownFor, 14);
}

TEST_F(BehaviourTest, ScoreLabelsCentreRiseBlinkAndGo) {
  ObjectIndex label = Spawn(TypeScoreLabel, 200, 100);
  Obj(label).templateIndex = World.TypeTemplate[TypeDrone];  // 1000 points: " 1000"
  int32_t lifetime = 0;
  for (; Obj(label).killNext == NoObject && lifetime < 100; ++lifetime) {
    ++FrameCounter;
    RunBehaviour(label);
    if (lifetime == 0) {
      EXPECT_EQ(Obj(label).x, 200 - 21);
    }
  }
  EXPECT_EQ(lifetime, 26);  // removed at age 23 + 3
  EXPECT_EQ(Obj(label).y, 100 - 4);  // rose one pixel a frame for ages 15..18
}

TEST_F(BehaviourTest, RingsReleaseEightCirclersRoundOneMovingCentre) {
  ObjectIndex ring = SpawnWith(TypeDrone, BehDroneRing, 96, -64, 0, 1);
  RunBehaviour(ring);
  std::vector<uint16_t> enemies = GroupMembers(QG_Enemy);
  ASSERT_EQ(enemies.size(), 9u);
  for (size_t n = 1; n < enemies.size(); ++n) {
    GameObject& o = Obj(enemies[n]);
    EXPECT_EQ(o.behaviour, BehCirclingDrone);
    EXPECT_NEAR(o.work1, float(n - 1) * 3.14159265f / 4, 1e-5);
    RunBehaviour(enemies[n]);
    EXPECT_NEAR(std::hypot(o.x - o.work2, o.y - o.work3), 64, 1e-3);
    EXPECT_EQ(o.work3, -63) << "the centre drifts with the spawner's velocity";
  }
}

TEST_F(BehaviourTest, GunnersFireOnTheirCycle) {
  ObjectIndex gunner = Spawn(TypeGunner, 200, 100, 0, 0);
  Obj(gunner).stamp = 0;
  std::vector<int32_t> shotFrames;
  for (FrameCounter = 0; FrameCounter < 160; ++FrameCounter) {
    size_t before = GroupMembers(QG_EnemyShot).size();
    RunBehaviour(gunner);
    if (GroupMembers(QG_EnemyShot).size() > before) shotFrames.push_back(FrameCounter);
  }
  EXPECT_EQ(shotFrames, (std::vector<int32_t>{50, 60, 70, 80, 90, 150}));
  const GameObject& shot = Obj(GroupMembers(QG_EnemyShot).front());
  EXPECT_EQ(shot.sprite, Sprite::ShotVertical);
  EXPECT_EQ(shot.vy, 8);
}

TEST_F(BehaviourTest, ZigZagCrossersTakeTheirFirstDiagonalAfterSixteenFrames) {
  ObjectIndex crosser = SpawnWith(TypeDrone, BehZigZagDrone, -32, 0, 0, 0);
  for (int32_t n = 0; n < 16; ++n) RunBehaviour(crosser);
  EXPECT_EQ(Obj(crosser).x, 96);
  EXPECT_EQ(Obj(crosser).y, 0);
  RunBehaviour(crosser);
  EXPECT_EQ(Obj(crosser).x, 104);  // x = 96 is still in the first band
  RunBehaviour(crosser);
  EXPECT_EQ(Obj(crosser).y, 4);
}

TEST_F(BehaviourTest, AHurtShooterFlashesOnTheNextEvenFrame) {
  ObjectIndex gunner = Spawn(TypeGunner, 200, 100, 0, 0);
  FrameCounter = 11;
  Obj(gunner).life -= 1;
  EXPECT_EQ(DamageFlash(Obj(gunner), 4), 0) << "odd frame";
  FrameCounter = 12;
  EXPECT_EQ(DamageFlash(Obj(gunner), 4), 4);
  EXPECT_EQ(DamageFlash(Obj(gunner), 4), 0) << "shown once per hit";
}

}  // namespace
