#include <gtest/gtest.h>

#include "game/game_state.h"
#include "game/scenes.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "objects/object_passes.h"
#include "persist/play_statistics.h"
#include "stage/behaviours.h"
#include "stage/random.h"
#include "support/autopilot.h"
#include "support/headless.h"

namespace {

constexpr int32_t FrameLimit = 16000;  // beyond the boss leaving of its own accord

struct PlayRecord {
  int16_t result = 0;
  int32_t lastFrame = 0, score = 0;
  int32_t bossReleased = -1, scoreAt6000 = 0;
  int32_t bossFell = -1;  // the frame its fall was taken over
};

// One play from frame 0 with a fixed seed, as a player on autopilot would play it.
PlayRecord Play(uint64_t seed, int32_t stopAt = FrameLimit) {
  PlayRecord record;
  SeedRandom(seed);
  Score = 0;
  QuitRequested = false;
  bool started = false;  // the play waits for every button to be up before it starts
  SetButtonSource([&]() -> uint16_t {
    if (!started) {
      started = true;
      return 0;
    }
    if (GameActive && BossIndex > 0 && record.bossReleased < 0 &&
        Obj(BossIndex).group != QG_PreEventQue)
      record.bossReleased = FrameCounter - 1;  // released in the frame before this one
    if (FrameCounter == 6000) record.scoreAt6000 = Score;
    if (record.bossReleased >= 0 && record.bossFell < 0 && BossIndex == 0)
      record.bossFell = FrameCounter;
    return !GameActive || FrameCounter >= stopAt ? BTN_ESC : Autopilot();
  });
  record.result = RunGame(0, 0);
  record.lastFrame = FrameCounter;
  record.score = Score;
  return record;
}

class PlayTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessDisplay();
    LoadImageResources(BuiltResourceFolder());
    LastWaitEnd = timeGetTime();
  }
  void TearDown() override {
    ShipCannotDie = false;
    QuitRequested = false;
    StopHeadlessDisplay();
  }
};

TEST_F(PlayTest, TheStagePlaysThroughToTheBoss) {
  Lives = 99;
  PlayRecord play = Play(1, 7000);
  EXPECT_EQ(play.bossReleased, 6900);
  EXPECT_GT(play.scoreAt6000, 50000) << "enemies fall to the autopilot's fire";
  EXPECT_GE(play.score, play.scoreAt6000);
  EXPECT_EQ(play.result, 0) << "left before the boss fell";
}

TEST_F(PlayTest, AnUnbeatableShipClearsTheStageTheSameWayEveryTime) {
  ShipCannotDie = true;
  Lives = 2;
  int32_t clears = StageClearCount;
  PlayRecord first = Play(42);
  EXPECT_EQ(first.result, 1);
  EXPECT_EQ(StageClearCount, clears + 1);
  EXPECT_LT(first.lastFrame, FrameLimit);
  EXPECT_GE(first.score, first.scoreAt6000 + 10000 + 10000) << "the tally ran";
  EXPECT_GT(first.bossFell, 6900);
  EXPECT_EQ(first.lastFrame - first.bossFell, 211 + 180 + 60) << "the boss bonus was counted";
  PlayRecord second = Play(42);
  EXPECT_EQ(second.lastFrame, first.lastFrame);
  EXPECT_EQ(second.score, first.score);
}

}  // namespace
