#include <gtest/gtest.h>

#include "common/frame_clock.h"
#include "input/input.h"
#include "sprite_ids.h"
#include "stage/hits.h"
#include "stage/stage_state.h"
#include "stage/behaviours.h"
#include "stage/stage.h"
#include "support/headless.h"

namespace {

class ShipTest : public testing::Test {
 protected:
  void SetUp() override {
    StartStageWorld();
    Play.ShipIndex = CreateObject(TypeShip, QG_MyShip, InsertAtHead, KeepTemplateValue,
                             KeepTemplateValue, 0, 0, KeepTemplateValue, 0);
  }
  void TearDown() override { StopHeadlessDisplay(); }

  // One frame of the ship with these buttons held; returns the shots it made.
  size_t Frame(uint16_t buttons) {
    Input.InputWord = buttons;
    size_t before = GroupMembers(QG_MyShot).size();
    RunBehaviour(Play.ShipIndex);
    ++FrameCounter;
    return GroupMembers(QG_MyShot).size() - before;
  }
  GameObject& Ship() { return Obj(Play.ShipIndex); }
};

TEST_F(ShipTest, SteersWithinItsLimits) {
  Frame(BTN_LEFT | BTN_RIGHT);
  EXPECT_EQ(Ship().x, 191) << "both ways at once: no move";
  EXPECT_EQ(Play.ShipBank, 1) << "but it leans left";
  Frame(BTN_UP);
  EXPECT_EQ(Ship().y, 292);
  Frame(BTN_UP | BTN_Z);
  EXPECT_EQ(Ship().y, 286) << "slower while firing";
  for (int32_t n = 0; n < 100; ++n) Frame(BTN_LEFT | BTN_DOWN);
  EXPECT_EQ(Ship().x, -16);
  EXPECT_EQ(Ship().y, 400);
  for (int32_t n = 0; n < 100; ++n) Frame(BTN_RIGHT | BTN_UP);
  EXPECT_EQ(Ship().x, 400);
  EXPECT_EQ(Ship().y, 0);
}

TEST_F(ShipTest, FiresFiveFramesOutOfSix) {
  std::vector<size_t> shots;
  for (int32_t n = 0; n < 13; ++n) shots.push_back(Frame(BTN_Z));
  EXPECT_EQ(shots, (std::vector<size_t>{4, 4, 4, 4, 4, 0, 4, 4, 4, 4, 4, 0, 4}));
  std::vector<uint16_t> volley = GroupMembers(QG_MyShot);
  const GameObject& first = Obj(volley[0]);
  EXPECT_EQ(first.x, 191);
  EXPECT_EQ(first.y, 300 - 24);
  EXPECT_EQ(first.vy, -32);
  EXPECT_EQ(Obj(volley[3]).sprite, Sprite::PlayerShot + 3);
  EXPECT_EQ(Obj(volley[3]).vy, 32);
}

TEST_F(ShipTest, TurningTakesTwoFramesAndAFreshPress) {
  std::vector<int32_t> modes;
  const uint16_t None = 0;
  for (uint16_t buttons : {BTN_X, BTN_X, BTN_X, BTN_X, None, BTN_X, None, None, BTN_X}) {
    Frame(buttons);
    modes.push_back(int32_t(Ship().work3));
  }
  EXPECT_EQ(modes, (std::vector<int32_t>{1, 2, 2, 2, 2, 3, 0, 0, 1}));
  Ship().work3 = 2;
  EXPECT_EQ(Frame(BTN_Z), 4u);
  const GameObject& side = Obj(GroupMembers(QG_MyShot).front());
  EXPECT_EQ(side.vx, -32);
  EXPECT_EQ(side.sprite, Sprite::PlayerShot + 4);
  Ship().work3 = 1;
  Play.ShipTurnCount = 0;
  EXPECT_EQ(Frame(BTN_Z), 0u) << "no shots while turning";
}

TEST_F(ShipTest, ANewShipRisesAndReturnsInvulnerable) {
  Game.Lives = 1;
  MoveObject(Play.ShipIndex, QG_DrawStart, InsertAtTail);
  Ship().y = 20000;
  Ship().behaviour = BehPlainMover;
  ObjectIndex entry = CreateController(BehShipReentry, KeepTemplateValue, KeepTemplateValue, QG_DrawLast);
  for (int32_t age = 0; age <= 200; ++age) {
    RunBehaviour(entry);
    if (age == 1) {
      EXPECT_EQ(Ship().life, Indestructible);
    }
    if (age == 30) {
      EXPECT_EQ(Obj(entry).y, 480);
    }
    if (age == 81) {
      EXPECT_EQ(Ship().group, QG_MyShip);
      EXPECT_EQ(Ship().y, 280);
      EXPECT_EQ(Ship().behaviour, BehShipUnderControl);
    }
    ++FrameCounter;
  }
  EXPECT_EQ(Ship().life, 1);
  EXPECT_NE(Obj(entry).killNext, NoObject);
}

TEST_F(ShipTest, TheLastLossEndsThePlayAfterTheGameOver) {
  Game.Lives = -1;
  ObjectIndex loss = CreateController(BehShipDestroyed, 100, 100, QG_DrawLast);
  for (int32_t age = 0; age <= 301; ++age) {
    RunBehaviour(loss);
    ++FrameCounter;
  }
  EXPECT_FALSE(Play.GameActive);
  EXPECT_EQ(Game.RestartFrame, 301);
  EXPECT_EQ(Play.BgmTrack, -1);
  size_t blasts = 0, wipes = 0;
  for (uint16_t i : GroupMembers(QG_DrawLast)) {
    blasts += Obj(i).behaviour == BehExplosion;
    wipes += Obj(i).behaviour == BehGameOverWipe;
  }
  EXPECT_EQ(blasts, 50u + 5u);  // a small one each frame, a medium one every tenth
  EXPECT_EQ(wipes, 1u);
}

}  // namespace
