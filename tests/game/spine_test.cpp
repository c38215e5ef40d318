#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "game/game_state.h"
#include "game/scenes.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "objects/object_passes.h"
#include "persist/play_statistics.h"
#include "support/headless.h"

namespace {

class SpineTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessDisplay();
    LoadImageResources(BuiltResourceFolder());
    FrameMs = 33;
    BossIndex = 0;
    LastWaitEnd = timeGetTime();
  }
  void TearDown() override { StopHeadlessDisplay(); }

  // Buttons that press Escape once `frames` frames of play have run.
  void LeaveAfter(int32_t frames) {
    int32_t start = -1;
    SetButtonSource([=]() mutable -> uint16_t {
      if (!GameActive) return 0;
      if (start < 0) start = FrameCounter;
      return FrameCounter - start >= frames ? BTN_ESC : 0;
    });
  }
};

TEST_F(SpineTest, WaitFrameSleepsOnlyForWhatIsLeftOfTheFrame) {
  uint32_t now = timeGetTime();
  LastWaitEnd = now - 40;
  WaitFrame(33);
  EXPECT_EQ(timeGetTime(), now) << "a late frame is not made up";
  EXPECT_EQ(LastWaitEnd, now);

  LastWaitEnd = now - 10;
  WaitFrame(33);
  EXPECT_EQ(timeGetTime(), now + 23);

  LastWaitEnd = timeGetTime() + 2000;  // a second or more left: the clock jumped
  uint32_t before = timeGetTime();
  WaitFrame(33);
  EXPECT_EQ(timeGetTime(), before);

  UseFakeClock(5);  // the 32-bit clock wrapped 21 ms ago
  LastWaitEnd = 0xFFFFFFF0u;
  WaitFrame(33);
  EXPECT_EQ(timeGetTime(), 5u + 12u);
}

TEST_F(SpineTest, CheckpointsFollowTheRestartFrame) {
  EXPECT_EQ(CheckpointFrame(0), 0);
  EXPECT_EQ(CheckpointFrame(1550), 0);
  EXPECT_EQ(CheckpointFrame(1551), 1550);
  EXPECT_EQ(CheckpointFrame(3101), 3100);
  EXPECT_EQ(CheckpointFrame(4650), 3100);
  EXPECT_EQ(CheckpointFrame(6200), 4650);
  EXPECT_EQ(CheckpointFrame(6201), 6500);
}

TEST_F(SpineTest, APlayRunsPacedFramesUntilEscape) {
  int32_t tries = TryCount;
  LeaveAfter(30);
  uint32_t start = timeGetTime();
  EXPECT_EQ(RunGame(0, 0), 0);
  EXPECT_EQ(FrameCounter, 30);
  EXPECT_TRUE(QuitRequested);
  EXPECT_FALSE(InPlay);
  EXPECT_EQ(TryCount, tries + 1);
  // One frame wait for the release check, then 31 frames of 33 ms each.
  EXPECT_EQ(timeGetTime() - start, 32u * 33u);
  EXPECT_EQ(TimingText, "WORK  0 WAIT 33 FLIP  0 ELSE  0");
  EXPECT_EQ(TotalText, "TOTAL 33(MS)");
}

TEST_F(SpineTest, HeldButtonsHoldTheStartAndMusicFollowsThePlan) {
  int calls = 0;
  SetButtonSource([&]() -> uint16_t {
    ++calls;
    if (calls <= 10) return BTN_Z;
    return calls <= 12 ? 0 : BTN_ESC;
  });
  EXPECT_EQ(RunGame(0, 7000), 0);
  EXPECT_EQ(FrameCounter, 6500) << "escape in the first frame: no frame counted";
  EXPECT_EQ(BgmTrack, 1);
  EXPECT_EQ(calls, 13);

  QuitRequested = false;
  ShipCannotDie = true;  // no game over before the switch
  LeaveAfter(1800);
  RunGame(0, 5000);  // from 4650 past the switch at 6400
  ShipCannotDie = false;
  EXPECT_EQ(BgmTrack, 1);
  QuitRequested = false;
  LeaveAfter(10);
  RunGame(0, 0);
  EXPECT_EQ(BgmTrack, 0);
}

TEST_F(SpineTest, AFallenBossHandsOverAndTakesTheEnemiesWithIt) {
  ObjectIndex boss = NoObject, enemy = NoObject;
  int32_t clears = StageClearCount;
  SetButtonSource([&]() -> uint16_t {
    if (!GameActive) return 0;
    if (FrameCounter == 5) {
      boss = CreateObject(12, KeepTemplate, KeepTemplate, 144, 0, 0, 0, 0, 0);
      enemy = CreateObject(20, KeepTemplate, KeepTemplate, 50, 60, 0, 0, 0, 0);
      MoveObject(boss, QG_EntryOnDeathRoll, InsertAtTail);
      BossIndex = boss;
    }
    return FrameCounter >= 7 ? BTN_ESC : 0;
  });
  EXPECT_EQ(RunGame(0, 0), 1);
  EXPECT_EQ(BossIndex, 0);
  EXPECT_EQ(StageClearCount, clears + 1);
  EXPECT_EQ(ObjectTable[enemy].group, QG_UnUse);
  bool handedOver = false, blownUp = false;
  for (ObjectIndex i = QueueGroups[QG_DrawLast].head; i != NoObject; i = ObjectTable[i].next) {
    const GameObject& o = ObjectTable[i];
    handedOver |= o.behaviour == 53 && o.tag == int16_t(boss);
    blownUp |= o.templateIndex == TypeTemplate[Templates[TypeTemplate[20]].blastType] &&
               o.x == 50 && o.y == 60;
  }
  EXPECT_TRUE(handedOver);
  EXPECT_TRUE(blownUp);
}

TEST_F(SpineTest, ScreenModeSwitchesKeepSurfacesAndBackBuffer) {
  int32_t surfaces = SurfaceCount;
  SDL_Surface* sheetBefore = SurfaceList[0].surface;
  HandleFormKey(13, ShiftFlagAlt);
  EXPECT_TRUE(FullScreen);
  EXPECT_EQ(CurrentForm, GameForm::FullScreen);
  EXPECT_TRUE(PauseRequested);
  EXPECT_TRUE(ScreenModeChanged);
  ASSERT_NE(BackBuffer, nullptr);
  EXPECT_EQ(BackBuffer->w, 640);
  EXPECT_EQ(BackBuffer->h, 480);
  EXPECT_EQ(SurfaceCount, surfaces);
  EXPECT_NE(SurfaceList[0].surface, sheetBefore) << "reloaded";
  EXPECT_EQ(SurfaceList[0].fileName, BuiltResourceFolder() + "dst/sheet000.png");
  RefreshClipBounds();
  DrawTextLarge(0, 0, "FULL");
  EXPECT_EQ(ShowFrame(), 0);

  MarkDisplayLost();  // a lost display in full screen drops back to the window
  PauseRequested = false;
  EXPECT_NE(ShowFrame(), 0);
  EXPECT_FALSE(FullScreen);
  EXPECT_TRUE(PauseRequested);
  EXPECT_EQ(ShowFrame(), 0);

  MarkDisplayLost();  // in the window the surfaces are reloaded
  EXPECT_NE(ShowFrame(), 0);
  EXPECT_FALSE(FullScreen);
  EXPECT_EQ(ShowFrame(), 0);
  EXPECT_EQ(SurfaceCount, surfaces);
}

TEST_F(SpineTest, WindowKeysSetTheirRequests) {
  HandleFormKey('P', 0);
  EXPECT_TRUE(PauseRequested);
  HandleFormKey('P', 0);
  EXPECT_FALSE(PauseRequested);
  HandleFormKey(13, 0);  // Return without Alt: nothing
  EXPECT_FALSE(FullScreen);
  uint32_t before = timeGetTime();
  HandleFormKey('S', 0);
  EXPECT_GE(timeGetTime() - before, 300u);
  SDL_Surface* sheet = SurfaceList[0].surface;
  HandleFormKey('R', 0);
  EXPECT_NE(SurfaceList[0].surface, sheet);
  EXPECT_FALSE(QuitRequested);
  HandleFormKey(27, 0);
  EXPECT_TRUE(QuitRequested);
}

TEST(MainTest, StartsFromAnyFolderPlaysAndShutsDown) {
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(ScratchFolder());  // no resources here: the build's are used
  UseFakeClock(0);
  QuitRequested = false;
  int32_t frames = 0;
  SetButtonSource([&]() -> uint16_t { return GameActive && ++frames > 45 ? BTN_ESC : 0; });
  EXPECT_EQ(Main(), 0);
  EXPECT_TRUE(std::filesystem::exists("res/dst/out.dat"));
  EXPECT_EQ(FormWindow(), nullptr);
  EXPECT_GT(frames, 45);
  SetButtonSource(nullptr);
  UseRealClock();
  std::filesystem::current_path(previous);
}

}  // namespace
