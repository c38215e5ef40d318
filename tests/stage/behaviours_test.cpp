#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "common/frame_clock.h"
#include "game/game_state.h"
#include "game/scenes.h"
#include "graphics/image_resource.h"
#include "input/input.h"
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

// ---- the boss ----

// Its face sprites drawn, by family, in drawing order.
std::string BossFacesDrawn() {
  constexpr std::pair<int32_t, const char*> Families[] = {
      {Sprite::BossFaceIris, "iris"},   {Sprite::BossFaceLamps, "lamps"},
      {Sprite::BossFaceVisor, "visor"}, {Sprite::BossFaceFlicker, "flicker"},
      {Sprite::BossFaceLids, "lids"},   {Sprite::BossFaceBurning, "burning"}};
  std::string faces;
  for (const DrawnItem& item : DrawLog.items)
    for (const auto& [first, name] : Families)
      if (item.sprite >= first && item.sprite < Sprite::BossFaceIris + Sprite::BossFaceIrisCount) {
        faces += (faces.empty() ? "" : "+") + std::string(name);
        break;
      }
  return faces;
}

using Changes = std::vector<std::pair<int32_t, std::string>>;

// "<what> <value>" at each frame it changed, from the boss's release after the last checkpoint
// until it leaves of its own accord, the ship neither firing nor dying; `formations` gets the
// one each cycle opens with.
Changes WatchTheBoss(std::vector<int32_t>& formations) {
  Game.RestartFrame = 6500;
  ShipCannotDie = true;
  Changes changes;
  std::map<std::string, std::string> last;
  auto note = [&](const std::string& what, const std::string& value) {
    auto [it, first] = last.try_emplace(what, value);
    if (first || it->second == value) return false;
    changes.push_back({FrameCounter - 1, what + " " + value});  // seen before the next frame
    it->second = value;
    return true;
  };
  SetButtonSource([&]() -> uint16_t {
    const std::string faces = BossFacesDrawn();  // in the frame before
    DrawLog = {};
    DrawLog.recording = true;
    if (Play.BossIndex == 0) {
      changes.push_back({FrameCounter - 1, "gone"});
      return BTN_ESC;
    }
    const GameObject& o = Obj(Play.BossIndex);
    if (o.group != QG_PreEventQue) {
      if (last.empty()) changes.push_back({FrameCounter - 1, "released"});
      note("place", o.y < 0 ? "entering" : o.y == 0 ? "down" : "spiral");
      if (note("hurt", o.life < IndestructibleAbove ? "1" : "0") && o.life >= IndestructibleAbove)
        formations.push_back(int32_t(o.lastLife));
      note("launches", std::to_string(int32_t(o.work1)));
      auto turret = [](const GameObject& t) {
        return t.behaviour == BehBossTurret && t.group != QG_UnUse;
      };
      note("turrets", std::ranges::any_of(World.ObjectTable, turret) ? "1" : "0");
      note("faces", faces);
    }
    return FrameCounter < 15000 ? 0 : BTN_ESC;
  });
  RunGame();
  ShipCannotDie = false;
  DrawLog = {};
  Program.QuitRequested = false;
  return changes;
}

TEST_F(BehaviourTest, TheBossOpensSixteenTimesLaunchesFifteenThenSpiralsAway) {
  // Ages from each cycle's start (the release at 6900, then every 401 frames); formation -1 for
  // every cycle, 0..3 for that one's faces.
  constexpr std::tuple<int32_t, int32_t, const char*> Cycle[] = {
      {-1, 201, "hurt 0"}, {-1, 236, "turrets 1"}, {-1, 466, "hurt 1"}, {-1, 544, "turrets 0"},
      // Opening, open, closing; the closing's last frame shows the first flicker sprite.
      {0, 201, "faces lids"}, {0, 235, "faces burning"}, {0, 430, "faces lids"},
      {0, 465, "faces flicker"}, {0, 466, "faces "}, {1, 201, "faces lamps"}, {1, 430, "faces "},
      {2, 201, "faces visor"}, {2, 218, "faces visor+flicker"}, {2, 447, "faces visor"},
      {2, 466, "faces "}, {3, 201, "faces iris"}, {3, 466, "faces "}};
  std::vector<int32_t> formations;
  Changes seen = WatchTheBoss(formations);
  ASSERT_EQ(formations.size(), 16u) << "cycles opened";
  Changes expected = {{6900, "released"}, {7100, "place down"}, {7100, "hurt 1"},
                      {13417, "place spiral"}, {14416, "gone"}};
  for (int32_t k = 0; k < 16; ++k) {
    const int32_t start = 6900 + 401 * k;
    for (const auto& [formation, age, change] : Cycle)
      if (formation < 0 || formation == formations[size_t(k)])
        expected.push_back({start + age, change});
    // Its launch count; the sixteenth goes on to the spiral instead of launching.
    expected.push_back({start + 501, "launches " + std::to_string(k + 1)});
  }
  std::sort(seen.begin(), seen.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(seen, expected);
}

}  // namespace
