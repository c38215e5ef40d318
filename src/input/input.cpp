#include "input/input.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cmath>

InputState Input;

namespace {

// The keyboard's part of each button: the player's key for the bound ones, a fixed key for
// the rest.
struct ButtonKey {
  uint16_t bit;
  const char* name;
  int binding;  // -1: the fixed key
  SDL_Scancode fixedKey;
};

// Bit order is the order of ButtonNames.
constexpr std::array<ButtonKey, 10> ButtonKeys = {{
    {BTN_ESC, "ESC ", -1, SDL_SCANCODE_ESCAPE},
    {BTN_LEFT, "LEFT ", BindLeft, SDL_SCANCODE_UNKNOWN},
    {BTN_RIGHT, "RIGHT ", BindRight, SDL_SCANCODE_UNKNOWN},
    {BTN_UP, "UP ", BindUp, SDL_SCANCODE_UNKNOWN},
    {BTN_DOWN, "DOWN ", BindDown, SDL_SCANCODE_UNKNOWN},
    {BTN_SPACE, "SPACE ", -1, SDL_SCANCODE_SPACE},
    {BTN_Z, "Z ", BindFire, SDL_SCANCODE_UNKNOWN},
    {BTN_X, "X ", BindTurn, SDL_SCANCODE_UNKNOWN},
    {BTN_C, "C ", -1, SDL_SCANCODE_C},
    {BTN_RETURN, "RETURN ", -1, SDL_SCANCODE_RETURN},
}};

constexpr double DeadZone = 0.10;
constexpr double Saturation = 0.95;

void OpenFirstJoystick() {
  if (SDL_NumJoysticks() < 1) return;
  if (SDL_IsGameController(0)) {
    Input.controller = SDL_GameControllerOpen(0);
    Input.joystick = Input.controller ? SDL_GameControllerGetJoystick(Input.controller) : nullptr;
  } else {
    Input.joystick = SDL_JoystickOpen(0);
  }
  Input.JoystickPresent = Input.joystick != nullptr;
}

void CloseJoystick() {
  if (Input.controller)
    SDL_GameControllerClose(Input.controller);
  else if (Input.joystick)
    SDL_JoystickClose(Input.joystick);
  Input.controller = nullptr;
  Input.joystick = nullptr;
  Input.JoystickPresent = false;
}

JoystickState ReadController() {
  SDL_GameController* controller = Input.controller;
  JoystickState s;
  s.x = AxisToRange(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
  s.y = AxisToRange(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
  s.button[0] = SDL_GameControllerGetButton(
      controller, SDL_GameControllerButton(Input.bindings.code[BindPadFire]));
  s.button[1] = SDL_GameControllerGetButton(
      controller, SDL_GameControllerButton(Input.bindings.code[BindPadTurn]));
  s.button[2] = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_X);
  s.padLeft = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  s.padRight = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  s.padUp = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_UP);
  s.padDown = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  return s;
}

JoystickState ReadPlainJoystick() {
  SDL_Joystick* joystick = Input.joystick;
  JoystickState s;
  if (SDL_JoystickNumAxes(joystick) >= 2) {
    s.x = AxisToRange(SDL_JoystickGetAxis(joystick, 0));
    s.y = AxisToRange(SDL_JoystickGetAxis(joystick, 1));
  }
  for (int b = 0; b < 3 && b < SDL_JoystickNumButtons(joystick); ++b)
    s.button[b] = SDL_JoystickGetButton(joystick, b);
  if (SDL_JoystickNumHats(joystick) > 0) {
    uint8_t hat = SDL_JoystickGetHat(joystick, 0);
    s.padLeft = hat & SDL_HAT_LEFT;
    s.padRight = hat & SDL_HAT_RIGHT;
    s.padUp = hat & SDL_HAT_UP;
    s.padDown = hat & SDL_HAT_DOWN;
  }
  return s;
}

// A lost device is released and the whole set-up made again; that frame reads it at rest.
uint16_t ReadJoystickButtons() {
  if (!SDL_JoystickGetAttached(Input.joystick)) {
    ReleaseInput();
    InitInput();
    return 0;
  }
  return JoystickButtons(Input.controller ? ReadController() : ReadPlainJoystick());
}

}  // namespace

void InitInput() { OpenFirstJoystick(); }

void ReleaseInput() { CloseJoystick(); }

int32_t AxisToRange(int16_t raw) {
  double travel = std::clamp(raw / 32767.0, -1.0, 1.0);
  double magnitude = std::fabs(travel);
  if (magnitude <= DeadZone) return AxisCentre;
  double scaled = std::min(1.0, (magnitude - DeadZone) / (Saturation - DeadZone));
  int32_t offset = int32_t(std::lround(scaled * AxisCentre));
  return travel < 0 ? AxisCentre - offset : AxisCentre + offset;
}

uint16_t KeyboardButtons(const uint8_t* keyState) {
  uint16_t mask = 0;
  for (const ButtonKey& button : ButtonKeys) {
    const int key =
        button.binding < 0 ? int(button.fixedKey) : Input.bindings.code[size_t(button.binding)];
    if (keyState[key]) mask |= button.bit;
  }
  return mask;
}

uint16_t JoystickButtons(const JoystickState& s) {
  uint16_t mask = 0;
  if (s.x < AxisCentre || s.padLeft) mask |= BTN_LEFT;
  if (s.x > AxisCentre || s.padRight) mask |= BTN_RIGHT;
  if (s.y < AxisCentre || s.padUp) mask |= BTN_UP;
  if (s.y > AxisCentre || s.padDown) mask |= BTN_DOWN;
  if (s.button[0]) mask |= BTN_Z;
  if (s.button[1]) mask |= BTN_X;
  if (s.button[2]) mask |= BTN_C;
  return mask;
}

uint16_t ReadButtons() {
  if (Input.buttonSource) return Input.buttonSource();
  return ReadDeviceButtons();
}

uint16_t ReadDeviceButtons() {
  uint16_t mask = KeyboardButtons(SDL_GetKeyboardState(nullptr));
  if (!Input.JoystickPresent) OpenFirstJoystick();  // a pad plugged in during play is taken up
  if (Input.JoystickPresent) mask |= ReadJoystickButtons();
  return mask;
}

std::string ButtonNames(uint16_t mask) {
  std::string names;
  for (const ButtonKey& button : ButtonKeys)
    if (mask & button.bit) names += button.name;
  return names;
}

void SetButtonSource(std::function<uint16_t()> source) { Input.buttonSource = std::move(source); }

bool KeyTakesAction(int scancode) {
  for (int binding = 0; binding < FirstPadBinding; ++binding)
    if (Input.bindings.code[size_t(binding)] == scancode) return true;
  return false;
}

uint32_t HeldPadButtons() {
  if (!Input.JoystickPresent) OpenFirstJoystick();
  if (!Input.controller) return 0;
  uint32_t held = 0;
  for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
    if (SDL_GameControllerGetButton(Input.controller, SDL_GameControllerButton(button)))
      held |= 1u << button;
  return held;
}

std::string ControllerName() {
  if (!Input.JoystickPresent) OpenFirstJoystick();
  const char* name = Input.controller ? SDL_GameControllerName(Input.controller) : nullptr;
  return Input.controller ? (name ? name : "?") : "";
}

std::string KeyOf(Binding binding) { return BoundKeyName(binding, Input.bindings.code[binding]); }
