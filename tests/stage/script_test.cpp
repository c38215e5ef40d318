#include <gtest/gtest.h>

#include <array>
#include <map>

#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "input/input.h"
#include "stage/hits.h"
#include "stage/stage_state.h"
#include "stage/behaviours.h"
#include "stage/stage.h"
#include "support/headless.h"

namespace {

int32_t TypeOf(uint16_t i) {
  for (int16_t type = 0; type < TypeCodes; ++type)
    if (World.TypeTemplate[type] == Obj(i).templateIndex && type != TypeBeamSegment) return type;
  return -1;
}

class ScriptTest : public testing::Test {
 protected:
  void SetUp() override {
    StartStageWorld();
    LoadStageScript();
  }
  void TearDown() override { StopHeadlessDisplay(); }
};

TEST_F(ScriptTest, FourHundredSeventyNineEntriesInReleaseOrder) {
  std::vector<uint16_t> queue = GroupMembers(QG_PreEventQue);
  ASSERT_EQ(queue.size(), 479u);
  int32_t last = 0;
  for (uint16_t i : queue) {
    EXPECT_GE(Obj(i).stamp, last);
    last = Obj(i).stamp;
  }
  EXPECT_EQ(queue.back(), Play.BossIndex);
  EXPECT_EQ(Obj(Play.BossIndex).stamp, 6900);
  EXPECT_EQ(Obj(Play.BossIndex).y, -480) << "the boss keeps its template's place";

  std::map<int32_t, int32_t> types;
  for (uint16_t i : queue) ++types[TypeOf(i)];
  EXPECT_EQ(types, (std::map<int32_t, int32_t>{
                       {TypeController, 1}, {TypeBoss, 1}, {TypeDrone, 204}, {TypeHoming, 52},
                       {TypeSpinner, 26}, {TypeGunner, 40}, {TypeSideGunner, 64},
                       {TypeCrossGunner, 46}, {TypeRapidGunner, 24}, {TypeArmoured, 11},
                       {TypeHatch, 7}, {TypeBeamer, 3}}));
}

TEST_F(ScriptTest, EntriesOfOneFrameKeepTheirLineOrder) {
  std::vector<std::pair<int32_t, float>> at4128, at2432;
  for (uint16_t i : GroupMembers(QG_PreEventQue)) {
    const GameObject& o = Obj(i);
    if (o.stamp == 4128) at4128.push_back({o.behaviour, o.x});
    if (o.stamp == 2432) at2432.push_back({o.behaviour, o.y});
  }
  EXPECT_EQ(at4128, (std::vector<std::pair<int32_t, float>>{
                        {BehSideGunner, 0}, {BehSideGunner, 416}, {BehBeamer, 288}}));
  EXPECT_EQ(at2432, (std::vector<std::pair<int32_t, float>>{{BehHatch, -96},
                                                            {BehHatch, -96},
                                                            {BehDroneRing, -64},
                                                            {BehDroneRingReversed, -64}}));
  for (uint16_t i : GroupMembers(QG_PreEventQue)) {
    EXPECT_EQ(Obj(i).vy, i == Play.BossIndex ? 0 : 1);
  }
}

// A play resumed as the game resumes one: the frame it starts on, how many are still to come
// then, the first of them (its frame and type), and how many come out on that frame.
using Resumed = std::array<int32_t, 5>;

Resumed Resume(int32_t restartFrame) {
  Game.RestartFrame = restartFrame;
  Resumed r{-1, 0, 0, 0, 0};
  int32_t reads = 0;
  SetButtonSource([&]() -> uint16_t {
    if (++reads == 1) return 0;  // the set-up waits for every button to be up
    if (reads == 2) {
      std::vector<uint16_t> queue = GroupMembers(QG_PreEventQue);
      r = {FrameCounter, int32_t(queue.size()), Obj(queue.front()).stamp, TypeOf(queue.front()), 0};
    }
    if (FrameCounter <= r[2]) return 0;
    r[4] = r[1] - int32_t(GroupMembers(QG_PreEventQue).size());
    return BTN_ESC;
  });
  RunGame();
  SetButtonSource(nullptr);
  Program.QuitRequested = false;
  return r;
}

TEST_F(ScriptTest, ACheckpointDropsEveryEarlierWave) {
  // Each boundary from both sides; the boss is the last of those left.
  const std::pair<int32_t, Resumed> rows[] = {
      {0, {0, 479, 128, TypeDrone, 4}},          {1550, {0, 479, 128, TypeDrone, 4}},
      {1551, {1550, 285, 1632, TypeHoming, 2}},  {3100, {1550, 285, 1632, TypeHoming, 2}},
      {3101, {3100, 226, 3104, TypeRapidGunner, 3}}, {4650, {3100, 226, 3104, TypeRapidGunner, 3}},
      {4651, {4650, 145, 4672, TypeGunner, 4}},  {6200, {4650, 145, 4672, TypeGunner, 4}},
      {6201, {6500, 15, 6528, TypeHoming, 4}},
  };
  for (const auto& [restart, expected] : rows) EXPECT_EQ(Resume(restart), expected) << restart;
}

TEST(BossPatternTest, FormationsHoldTheirTurretPlaces) {
  BuildBossPatterns();
  auto cell = [](int32_t row, int32_t column) {
    const BossCell& c = Play.BossPatterns[row][column];
    return std::vector<int16_t>{c.a, c.b, c.kind};
  };
  EXPECT_EQ(cell(0, 0), (std::vector<int16_t>{128, 0, 2}));
  EXPECT_EQ(cell(11, 0), (std::vector<int16_t>{288, 160, 3}));
  EXPECT_EQ(cell(41, 0), (std::vector<int16_t>{416, 448, 2}));
  EXPECT_EQ(cell(8, 1), (std::vector<int16_t>{128, 128, 0}));
  EXPECT_EQ(cell(6, 1), (std::vector<int16_t>{96, 0, 0}));
  EXPECT_EQ(cell(27, 1), (std::vector<int16_t>{416, 448, 1}));
  EXPECT_EQ(cell(3, 2), (std::vector<int16_t>{256, 320, 0}));
  EXPECT_EQ(cell(11, 2), (std::vector<int16_t>{288, 192, 3}));
  EXPECT_EQ(cell(19, 2), (std::vector<int16_t>{416, 160, 0}));
  EXPECT_EQ(cell(7, 3), (std::vector<int16_t>{64, 0, 1}));
  EXPECT_EQ(cell(35, 3), (std::vector<int16_t>{288, 256, 3}));
  for (auto [row, column] : {std::pair{42, 0}, {28, 1}, {42, 1}, {20, 2}, {36, 3}, {42, 3}})
    EXPECT_EQ(cell(row, column), (std::vector<int16_t>{-32, -32, 2})) << row << "," << column;
}

}  // namespace
