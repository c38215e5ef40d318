#include <SDL.h>
#include <gtest/gtest.h>

#include <array>

#include "input/input.h"
#include "platform/platform.h"

namespace {

TEST(KeyboardButtonsTest, EachKeySetsItsBitAndNothingCancels) {
  std::array<uint8_t, SDL_NUM_SCANCODES> keys{};
  EXPECT_EQ(KeyboardButtons(keys.data()), 0);
  keys[SDL_SCANCODE_LEFT] = keys[SDL_SCANCODE_RIGHT] = 1;
  EXPECT_EQ(KeyboardButtons(keys.data()), BTN_LEFT | BTN_RIGHT);
  keys.fill(0);
  keys[SDL_SCANCODE_KP_4] = keys[SDL_SCANCODE_KP_8] = keys[SDL_SCANCODE_KP_ENTER] = 1;
  EXPECT_EQ(KeyboardButtons(keys.data()), 0) << "the keypad is not the arrow keys";
  for (SDL_Scancode key : {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT,
                           SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_SPACE, SDL_SCANCODE_Z,
                           SDL_SCANCODE_X, SDL_SCANCODE_C, SDL_SCANCODE_RETURN})
    keys[key] = 1;
  EXPECT_EQ(KeyboardButtons(keys.data()), 1023);
}

TEST(JoystickButtonsTest, AxesLeaveTheCentreOnlyPastTheDeadZone) {
  EXPECT_EQ(AxisToRange(0), 5000);
  EXPECT_EQ(AxisToRange(3200), 5000);   // inside the 10 % dead zone
  EXPECT_EQ(AxisToRange(32767), 10000);
  EXPECT_EQ(AxisToRange(-32768), 0);
  EXPECT_EQ(AxisToRange(31500), 10000);  // past 95 %: saturated
  EXPECT_EQ(AxisToRange(int16_t(0.525 * 32767)), 7500);
  EXPECT_EQ(AxisToRange(int16_t(-0.525 * 32767)), 2500);

  JoystickState state;
  EXPECT_EQ(JoystickButtons(state), 0) << "exactly 5000 sets neither direction";
  state.x = 4999;
  state.y = 5001;
  EXPECT_EQ(JoystickButtons(state), BTN_LEFT | BTN_DOWN);
  state = {};
  state.button[0] = state.button[1] = state.button[2] = true;
  state.padUp = true;
  EXPECT_EQ(JoystickButtons(state), BTN_Z | BTN_X | BTN_C | BTN_UP);
}

TEST(ButtonNamesTest, NamesInBitOrderEachWithItsBlank) {
  EXPECT_EQ(ButtonNames(513), "ESC RETURN ");
  EXPECT_EQ(ButtonNames(0), "");
  EXPECT_EQ(ButtonNames(BTN_Z | BTN_LEFT), "LEFT Z ");
}

class DeviceTest : public testing::Test {
 protected:
  void SetUp() override { PlatformInit(); }
  void TearDown() override {
    ReleaseInput();
    SetButtonSource(nullptr);
    PlatformShutdown();
  }
};

TEST_F(DeviceTest, ScriptedButtonsReplaceTheDevices) {
  InitInput();
  EXPECT_FALSE(Input.JoystickPresent);
  EXPECT_EQ(ReadButtons(), 0);
  SetButtonSource([] { return uint16_t(BTN_Z | BTN_UP); });
  EXPECT_EQ(ReadButtons(), BTN_Z | BTN_UP);
}

TEST_F(DeviceTest, ALostPadIsDroppedAndAFreshOneTakenUp) {
  int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
  ASSERT_GE(device, 0) << SDL_GetError();
  InitInput();
  ASSERT_TRUE(Input.JoystickPresent);
  SDL_Joystick* pad = SDL_JoystickOpen(device);
  SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, -32768);
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
  SDL_JoystickUpdate();
  EXPECT_EQ(ReadButtons(), BTN_LEFT | BTN_Z);

  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(device);
  EXPECT_EQ(ReadButtons(), 0) << "the frame that finds the pad gone reads it at rest";
  EXPECT_FALSE(Input.JoystickPresent);
  EXPECT_EQ(ReadButtons(), 0);

  device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
  ReadButtons();
  EXPECT_TRUE(Input.JoystickPresent) << "a pad plugged in later is taken up";

  // Fire on Y and turn on A: B, the usual turn, does nothing then.
  Input.bindings.code[BindPadFire] = SDL_CONTROLLER_BUTTON_Y;
  Input.bindings.code[BindPadTurn] = SDL_CONTROLLER_BUTTON_A;
  pad = SDL_JoystickOpen(device);
  for (SDL_GameControllerButton button :
       {SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B})
    SDL_JoystickSetVirtualButton(pad, button, 1);
  SDL_JoystickUpdate();
  EXPECT_EQ(ReadButtons(), BTN_Z | BTN_X);
  Input.bindings = DefaultBindings();
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(device);
}

}  // namespace
