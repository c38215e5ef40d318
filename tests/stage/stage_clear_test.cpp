#include <gtest/gtest.h>

#include "common/frame_clock.h"
#include "game/scenes.h"
#include "stage/behaviours.h"
#include "stage/stage_state.h"
#include "support/headless.h"

namespace {

class StageClearTest : public testing::Test {
 protected:
  void SetUp() override {
    StartStageWorld();
    boss = CreateObject(TypeBoss, QG_EntryOnDeathRoll, InsertAtTail, 144, 0, 0, 0, 0, 0);
    Obj(boss).life = 0;
  }
  void TearDown() override { StopHeadlessDisplay(); }

  // Plays from the boss's fall to the end of the stage clear; the frames after the fall.
  int32_t RunTally() {
    Play.BossIndex = boss;
    EXPECT_TRUE(PlayFrame());
    EXPECT_EQ(Play.BossIndex, 0) << "the fall was taken over";
    int32_t frames = 0;
    for (; Play.GameActive && frames < 2000; ++frames) PlayFrame();
    return frames;
  }

  ObjectIndex boss = NoObject;
};

TEST_F(StageClearTest, EveryBonusAddsExactlyItsAmount) {
  Game.Score = 12345;
  int32_t frames = RunTally();
  EXPECT_EQ(Game.Score, 12345 + 20000 + 10000 + 10000);
  // 20000 takes 181 steps from age 211; then 60 frames of rest after the last one.
  EXPECT_EQ(frames, 211 + 180 + 60);
  size_t tiles = 0;
  for (uint16_t i : GroupMembers(QG_DrawLast)) tiles += Obj(i).behaviour == BehClosingWipeTile;
  EXPECT_EQ(tiles, 15u * 16u);
}

TEST_F(StageClearTest, NoContinueBonusAfterACheckpointNorBossBonusIfItLeft) {
  Game.RestartFrame = 3100;
  Obj(boss).life = 1500;  // it flew away
  RunTally();
  EXPECT_EQ(Game.Score, 10000);
}

TEST_F(StageClearTest, TheStageBonusGrowsWithTheStage) {
  Game.Stage = 1;
  Game.RestartFrame = 1;
  Obj(boss).life = 5;
  RunTally();
  EXPECT_EQ(Game.Score, 20000);
}

}  // namespace
