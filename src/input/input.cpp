#include "input/input.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cmath>

InputState Input;

namespace {

struct KeyBinding {
  uint16_t bit;
  SDL_Scancode key;
  const char* name;
};

// Bit order is the order of ButtonNames. The arrows are the separate arrow keys.
constexpr std::array<KeyBinding, 10> KeyTable = {{
    {BTN_ESC, SDL_SCANCODE_ESCAPE, "ESC "},
    {BTN_LEFT, SDL_SCANCODE_LEFT, "LEFT "},
    {BTN_RIGHT, SDL_SCANCODE_RIGHT, "RIGHT "},
    {BTN_UP, SDL_SCANCODE_UP, "UP "},
    {BTN_DOWN, SDL_SCANCODE_DOWN, "DOWN "},
    {BTN_SPACE, SDL_SCANCODE_SPACE, "SPACE "},
    {BTN_Z, SDL_SCANCODE_Z, "Z "},
    {BTN_X, SDL_SCANCODE_X, "X "},
    {BTN_C, SDL_SCANCODE_C, "C "},
    {BTN_RETURN, SDL_SCANCODE_RETURN, "RETURN "},
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
  s.button[0] = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_A);
  s.button[1] = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_B);
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
  for (const KeyBinding& binding : KeyTable)
    if (keyState[binding.key]) mask |= binding.bit;
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
  for (const KeyBinding& binding : KeyTable)
    if (mask & binding.bit) names += binding.name;
  return names;
}

void SetButtonSource(std::function<uint16_t()> source) { Input.buttonSource = std::move(source); }
