#include <SDL.h>
#include <imgui.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "common/frame_clock.h"
#include "common/resource_format.h"
#include "common/utility.h"
#include "game/game_state.h"
#include "game/play_statistics.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "platform/imgui_layer.h"
#include "platform/platform.h"
#include "sprite_ids.h"
#include "stage/behaviours.h"
#include "stage/hits.h"
#include "stage/stage_state.h"
#include "support/button_script.h"
#include "support/headless.h"

namespace {

class SpineTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessDisplay();
    LoadImageResources(BuiltResourceFolder());
    Game = GameRecord{};
  }
  void TearDown() override { StopHeadlessDisplay(); }

  // Starts a play from the checkpoint below `restartFrame`.
  int16_t PlayFrom(int32_t restartFrame) {
    Game.RestartFrame = restartFrame;
    return RunGame();
  }

  // Buttons that press Escape once `frames` frames of play have run.
  void LeaveAfter(int32_t frames) {
    int32_t start = -1;
    SetButtonSource([=]() mutable -> uint16_t {
      if (!Play.GameActive) return 0;
      if (start < 0) start = FrameCounter;
      return FrameCounter - start >= frames ? BTN_ESC : 0;
    });
  }
};

TEST_F(SpineTest, WaitFrameSleepsOnlyForWhatIsLeftOfTheFrame) {
  uint32_t now = NowMs();
  Program.LastWaitEnd = now - 40;
  WaitFrame(33);
  EXPECT_EQ(NowMs(), now) << "a late frame is not made up";
  EXPECT_EQ(Program.LastWaitEnd, now);

  Program.LastWaitEnd = now - 10;
  WaitFrame(33);
  EXPECT_EQ(NowMs(), now + 23);

  Program.LastWaitEnd = NowMs() + 2000;  // a second or more left: the clock jumped
  uint32_t before = NowMs();
  WaitFrame(33);
  EXPECT_EQ(NowMs(), before);

  UseFakeClock(5);  // the 32-bit clock wrapped 21 ms ago
  Program.LastWaitEnd = 0xFFFFFFF0u;
  WaitFrame(33);
  EXPECT_EQ(NowMs(), 5u + 12u);
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
  int32_t tries = Stats.TryCount;
  LeaveAfter(30);
  uint32_t start = NowMs();
  EXPECT_EQ(PlayFrom(0), 0);
  EXPECT_EQ(FrameCounter, 30);
  EXPECT_TRUE(Program.QuitRequested);
  EXPECT_FALSE(Stats.InPlay);
  EXPECT_EQ(Stats.TryCount, tries + 1);
  // One frame wait for the release check, then 31 frames of 33 ms each.
  EXPECT_EQ(NowMs() - start, 32u * 33u);
  EXPECT_EQ(Program.TimingText, "WORK  0 WAIT 33 FLIP  0 ELSE  0");
  EXPECT_EQ(Program.TotalText, "TOTAL 33(MS)");
}

TEST_F(SpineTest, HeldButtonsHoldTheStartAndMusicFollowsThePlan) {
  int calls = 0;
  SetButtonSource([&]() -> uint16_t {
    ++calls;
    if (calls <= 10) return BTN_Z;
    return calls <= 11 ? 0 : BTN_ESC;
  });
  EXPECT_EQ(PlayFrom(7000), 0);
  EXPECT_EQ(FrameCounter, 6500) << "escape in the first frame: no frame counted";
  EXPECT_EQ(Play.BgmTrack, 1);
  EXPECT_EQ(calls, 12);

  Program.QuitRequested = false;
  ShipCannotDie = true;  // no game over before the switch
  LeaveAfter(1800);
  PlayFrom(5000);  // from 4650 past the switch at 6400
  ShipCannotDie = false;
  EXPECT_EQ(Play.BgmTrack, 1);
  Program.QuitRequested = false;
  LeaveAfter(10);
  PlayFrom(0);
  EXPECT_EQ(Play.BgmTrack, 0);
}

TEST_F(SpineTest, AFallenBossHandsOverAndTakesTheEnemiesWithIt) {
  ObjectIndex boss = NoObject, enemy = NoObject;
  int32_t clears = Stats.StageClearCount;
  SetButtonSource([&]() -> uint16_t {
    if (!Play.GameActive) return 0;
    if (FrameCounter == 5) {
      boss = CreateObject(TypeBoss, KeepTemplate, KeepTemplate, 144, 0, 0, 0, 0, 0);
      enemy = CreateObject(TypeDrone, KeepTemplate, KeepTemplate, 50, 60, 0, 0, 0, 0);
      MoveObject(boss, QG_EntryOnDeathRoll, InsertAtTail);
      Play.BossIndex = boss;
    }
    return FrameCounter >= 7 ? BTN_ESC : 0;
  });
  EXPECT_EQ(PlayFrom(0), 1);
  EXPECT_EQ(Play.BossIndex, 0);
  EXPECT_EQ(Stats.StageClearCount, clears + 1);
  EXPECT_EQ(Obj(enemy).group, QG_UnUse);
  bool handedOver = false, blownUp = false;
  const int32_t droneBlast = World.Templates[World.TypeTemplate[TypeDrone]].blastType;
  for (ObjectIndex i : GroupMembers(QG_DrawLast)) {
    const GameObject& o = Obj(i);
    handedOver |= o.behaviour == BehStageClear && o.tag == int16_t(boss);
    blownUp |= o.templateIndex == World.TypeTemplate[droneBlast] && o.x == 50 && o.y == 60;
  }
  EXPECT_TRUE(handedOver);
  EXPECT_TRUE(blownUp);
}

TEST_F(SpineTest, ScreenModeSwitchesKeepSurfacesAndBackBuffer) {
  const size_t surfaces = Display.SurfaceList.size();
  SDL_Surface* sheetBefore = Display.SurfaceList[0].surface;
  PressKey(SDLK_RETURN, KMOD_LALT);
  WaitFrame(33);
  EXPECT_FALSE(Display.FullScreen) << "the frame is shown before the switch";
  EXPECT_EQ(ShowFrame(), 0);
  EXPECT_TRUE(Display.FullScreen);
  EXPECT_EQ(Program.CurrentForm, GameForm::FullScreen);
  EXPECT_TRUE(Program.PauseRequested);
  EXPECT_TRUE(Program.ScreenModeChanged);
  ASSERT_NE(Display.BackBuffer, nullptr);
  EXPECT_EQ(Display.BackBuffer->w, 640);
  EXPECT_EQ(Display.BackBuffer->h, 480);
  EXPECT_EQ(Display.SurfaceList.size(), surfaces);
  EXPECT_NE(Display.SurfaceList[0].surface, sheetBefore) << "reloaded";
  EXPECT_EQ(Display.SurfaceList[0].fileName,
            BuiltResourceFolder() + BuiltFolder + SheetFileName);
  RefreshClipBounds();
  DrawTextLarge(0, 0, "FULL");
  EXPECT_EQ(ShowFrame(), 0);

  Platform.renderTargetsLost = true;  // a lost display in full screen drops back to the window
  Program.PauseRequested = false;
  EXPECT_NE(ShowFrame(), 0);
  EXPECT_FALSE(Display.FullScreen);
  EXPECT_TRUE(Program.PauseRequested);
  EXPECT_EQ(ShowFrame(), 0);

  Platform.renderTargetsLost = true;  // in the window the surfaces are reloaded
  EXPECT_NE(ShowFrame(), 0);
  EXPECT_FALSE(Display.FullScreen);
  EXPECT_EQ(ShowFrame(), 0);
  EXPECT_EQ(Display.SurfaceList.size(), surfaces);
}

TEST_F(SpineTest, AScreenTextureThatCouldNotBeMadeIsMadeAtTheNextPresent) {
  SDL_DestroyTexture(Display.screenTexture);
  Display.screenTexture = nullptr;  // as when the rebuild after a loss failed
  EXPECT_EQ(ShowFrame(), 0);
  EXPECT_NE(Display.screenTexture, nullptr);
}

// Keys reach the game only through the frame wait; routines that merely keep the window's
// events flowing (a stall, a folder listing, a dialog) take them in and leave them queued.
TEST_F(SpineTest, WindowKeysWaitForTheFrame) {
  PressKey(SDLK_RETURN, KMOD_LALT);
  PressKey(SDLK_s);
  WaitSeconds(0.1f);
  EXPECT_FALSE(Display.FullScreen);
  ASSERT_EQ(Platform.pendingKeys.size(), 2u);
  EXPECT_EQ(Platform.pendingKeys[0].key, KeyReturn);
  EXPECT_EQ(Platform.pendingKeys[0].shift, ShiftFlagAlt);

  WaitFrame(33);
  EXPECT_TRUE(Platform.pendingKeys.empty());
  uint32_t before = NowMs();
  ShowFrame();
  EXPECT_TRUE(Display.FullScreen);
  EXPECT_GE(NowMs() - before, 300u) << "the stall came after the present";
  before = NowMs();
  ShowFrame();
  EXPECT_TRUE(Display.FullScreen) << "each request is carried out once";
  EXPECT_EQ(NowMs() - before, 0u);
}

TEST_F(SpineTest, WindowKeysAndTheCloseBox) {
  const KeyPress p{'P', 0, SDL_SCANCODE_P}, r{'R', 0, SDL_SCANCODE_R};
  HandleFormKey(p);
  EXPECT_TRUE(Program.PauseRequested);
  HandleFormKey(p);
  EXPECT_FALSE(Program.PauseRequested);
  HandleFormKey({KeyReturn, 0, SDL_SCANCODE_RETURN});  // Return without Alt: nothing
  HandleFormKey({KeyReturn, ShiftFlagAlt | ShiftFlagShift, SDL_SCANCODE_RETURN});
  SDL_Surface* sheet = Display.SurfaceList[0].surface;
  HandleFormKey(r);
  ShowFrame();
  EXPECT_FALSE(Display.FullScreen);
  EXPECT_NE(Display.SurfaceList[0].surface, sheet) << "reloaded";
  EXPECT_FALSE(Program.QuitRequested);

  // The pause on Tab and fire on R: P is no key of the game's then, and R fires, not reloads.
  Input.bindings.code[BindPause] = SDL_SCANCODE_TAB;
  Input.bindings.code[BindFire] = SDL_SCANCODE_R;
  HandleFormKey(p);
  HandleFormKey(r);
  EXPECT_FALSE(Program.PauseRequested);
  EXPECT_FALSE(Program.reloadRequested);
  HandleFormKey({KeyTab, 0, SDL_SCANCODE_TAB});
  EXPECT_TRUE(Program.PauseRequested);
  Input.bindings = DefaultBindings();
  Program.PauseRequested = false;

  HandleFormKey({KeyEscape, 0, SDL_SCANCODE_ESCAPE});
  EXPECT_TRUE(Program.QuitRequested);

  // A controller's Start pauses and goes on, as P does.
  const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
  ReadButtons();  // takes the controller up
  SDL_Joystick* pad = SDL_JoystickOpen(device);
  for (bool down : {true, false, true}) {
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, down);
    WaitFrame(33);
  }
  EXPECT_FALSE(Program.PauseRequested) << "two presses";
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, false);
  WaitFrame(33);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, true);
  WaitFrame(33);
  EXPECT_TRUE(Program.PauseRequested) << "a third";
  Program.PauseRequested = false;
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(device);
  ReadButtons();

  Program.QuitRequested = false;
  SDL_Event close{};
  close.type = SDL_QUIT;
  SDL_PushEvent(&close);
  WaitFrame(33);
  EXPECT_TRUE(Program.QuitRequested);
  Program.QuitRequested = false;
  WaitFrame(33);
  EXPECT_FALSE(Program.QuitRequested) << "one close, one request";
}

TEST_F(SpineTest, TheWindowsPictureSitsBelowItsMenuAndZoomsByWholeFactors) {
  PixelRect area = FormDrawingArea(Display.renderer);
  EXPECT_EQ(area.y, WindowMenuHeight);
  EXPECT_EQ(area.w, 640);
  EXPECT_EQ(area.h, 480);
  Platform.pendingCommands.push_back(WindowCommand::Zoom2);
  WaitFrame(33);
  EXPECT_EQ(ShowFrame(), 0);
  EXPECT_EQ(Settings.WindowZoom, 2);
  int width = 0, height = 0;
  SDL_GetWindowSize(Platform.window, &width, &height);
  EXPECT_EQ(width, 1280);
  EXPECT_EQ(height, 960 + WindowMenuHeight);
  EXPECT_EQ(Display.BackBuffer->w, 640) << "the same picture, shown larger";
  Platform.pendingCommands.push_back(WindowCommand::Exit);
  WaitFrame(33);
  EXPECT_TRUE(Program.QuitRequested);
  SetFormZoom(1);
}

// A frame the same as the one on show is not shown again, but one that a dialog covered is, and
// the menu bar rides in the picture at 1x: what the window holds is read back each time.
TEST_F(SpineTest, AnUnchangedFrameIsShownOnceAndAClosedDialogLeavesNothing) {
  const auto centre = [] {
    uint32_t pixel = 0;
    const SDL_Rect at{320, WindowMenuHeight + 240, 1, 1};
    SDL_RenderReadPixels(Display.renderer, &at, SDL_PIXELFORMAT_RGB888, &pixel, 4);
    return pixel & 0xFFFFFF;
  };
  Display.changedPresents = 0;  // as after a still frame: earlier tests' plays counted on
  ClearBackBuffer();
  PresentFrame();
  PresentFrame();
  ASSERT_EQ(centre(), 0u);
  RunModalDialog([] {  // one frame
    ImGui::SetNextWindowPos(ImVec2(200, 150));
    ImGui::SetNextWindowSize(ImVec2(240, 200));
    ImGui::Begin("cover");
    ImGui::End();
    return false;
  });
  EXPECT_NE(centre(), 0u) << "the dialog was shown";
  PresentFrame();
  EXPECT_EQ(centre(), 0u) << "and is gone with the next frame";
  DrawSprite(0, 0, Sprite::TitlePicture);
  PresentFrame();
  const uint32_t title = centre();
  EXPECT_NE(title, 0u);
  PresentFrame();
  EXPECT_EQ(centre(), title);
  EXPECT_EQ(Display.changedPresents, 0) << "the same frame again was not shown again";
  EXPECT_EQ(Imgui.menuPixelsWidth, 640) << "the bar went with the picture";
}

TEST(MainTest, StartsFromAnyFolderPlaysAndShutsDown) {
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(ScratchFolder());  // no resources here: the build's are used
  UseFakeClock(0);
  Program.QuitRequested = false;
  int32_t frames = 0;
  // Start at the title, then leave after 45 frames of play.
  ScriptButtons({{0}, {BTN_Z}},
                [&]() -> uint16_t { return Play.GameActive && ++frames > 45 ? BTN_ESC : 0; });
  EXPECT_EQ(Main(), 0);
  EXPECT_TRUE(std::filesystem::exists(std::string("res/") + BuiltFolder + IndexFileName));
  EXPECT_EQ(Platform.window, nullptr);
  EXPECT_GT(frames, 45);
  SetButtonSource(nullptr);
  UseRealClock();
  std::filesystem::current_path(previous);
}

}  // namespace
