#include <gtest/gtest.h>

#include <algorithm>

#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/scenes.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "stage/behaviours.h"
#include "stage/hits.h"
#include "stage/random.h"
#include "stage/stage_state.h"
#include "support/autopilot.h"
#include "support/headless.h"

namespace {

constexpr int32_t FrameLimit = 16000;  // beyond the boss leaving of its own accord
constexpr float BossHitPoints = 1500;

struct PlayRecord {
  int16_t result = 0;
  int32_t lastFrame = 0, score = 0;
  int32_t bossReleased = -1;
  int32_t bossFell = -1;  // the frame its fall was taken over
  // The boss's lowest life while it was open to fire in its first cycle (ages 466..600).
  float bossLifeInFirstCycle = BossHitPoints;
};

bool BossOnStage() { return Play.BossIndex > 0 && Obj(Play.BossIndex).group == QG_Enemy; }

void WatchBoss(PlayRecord& record) {
  if (Play.BossIndex > 0 && record.bossReleased < 0 &&
      Obj(Play.BossIndex).group != QG_PreEventQue)
    record.bossReleased = FrameCounter - 1;  // released in the frame before this one
  if (record.bossReleased >= 0 && record.bossFell < 0 && Play.BossIndex == 0)
    record.bossFell = FrameCounter;
  if (!BossOnStage()) return;
  const GameObject& boss = Obj(Play.BossIndex);
  int32_t age = FrameCounter - boss.stamp;
  bool firstCycle = boss.work1 <= 1;  // its launch count
  if (firstCycle && age >= 466 && age <= 600)
    record.bossLifeInFirstCycle = std::min(record.bossLifeInFirstCycle, boss.life);
}

// One play from frame 0 with a fixed seed, as a player on autopilot would play it.
PlayRecord PlayStage(uint64_t seed) {
  PlayRecord record;
  SeedRandom(seed);
  Game.Score = 0;
  Game.RestartFrame = 0;
  Program.QuitRequested = false;
  bool started = false;  // the play waits for every button to be up before it starts
  SetButtonSource([&]() -> uint16_t {
    if (!started) {
      started = true;
      return 0;
    }
    WatchBoss(record);
    return !Play.GameActive || FrameCounter >= FrameLimit ? BTN_ESC : Autopilot();
  });
  record.result = RunGame();
  record.lastFrame = FrameCounter;
  record.score = Game.Score;
  return record;
}

class PlayTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessDisplay();
    LoadImageResources(BuiltResourceFolder());
    Game = GameRecord{};
  }
  void TearDown() override {
    ShipCannotDie = false;
    StopHeadlessDisplay();
  }
};

// The same play through the whole program, to the same frame and score, is the stage clear walk.
TEST_F(PlayTest, AnUnbeatableShipClearsTheStage) {
  ShipCannotDie = true;
  Game.Lives = 2;
  int32_t clears = Stats.StageClearCount;
  PlayRecord first = PlayStage(42);
  EXPECT_EQ(first.result, 1);
  EXPECT_EQ(Stats.StageClearCount, clears + 1);
  EXPECT_LT(first.bossLifeInFirstCycle, BossHitPoints) << "shots reach it when it opens";
  EXPECT_EQ(first.bossFell, 10274);
  EXPECT_EQ(first.lastFrame - first.bossFell, 211 + 180 + 60) << "the boss bonus was counted";
  EXPECT_EQ(first.score, 1758200);
}

// An invulnerable ship (one that is re-entering, say) rams the boss while it is open to
// attack; the boss's last point of life goes, and the stage clear follows as if it were shot.
TEST_F(PlayTest, ARammedBossEndsTheStage) {
  Game.RestartFrame = 7000;  // from the last checkpoint, 6500
  int32_t rammedAt = -1;
  SetButtonSource([&]() -> uint16_t {
    if (!Play.GameActive || FrameCounter > 9000) return BTN_ESC;
    // Well inside a window where it is open to attack.
    if (rammedAt < 0 && BossOnStage() && FrameCounter - Obj(Play.BossIndex).stamp == 470) {
      GameObject& boss = Obj(Play.BossIndex);
      GameObject& ship = Obj(Play.ShipIndex);
      boss.life = 1;
      ship.life = Indestructible;
      boss.y = ship.y + 32 - SpriteBox(boss.sprite).Top - 8;  // over the ship's core
      rammedAt = FrameCounter;
    }
    return 0;
  });
  EXPECT_EQ(RunGame(), 1);
  ASSERT_EQ(rammedAt, 6900 + 470);
  EXPECT_EQ(Play.BossIndex, 0);
  EXPECT_EQ(FrameCounter - rammedAt, 1 + 211 + 180 + 60) << "taken over the frame after";
}

}  // namespace
