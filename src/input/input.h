// Keyboard and the first game controller (or joystick), read once a frame as one button mask.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "input/key_bindings.h"

constexpr uint16_t BTN_ESC = 1;
constexpr uint16_t BTN_LEFT = 2;
constexpr uint16_t BTN_RIGHT = 4;
constexpr uint16_t BTN_UP = 8;
constexpr uint16_t BTN_DOWN = 16;
constexpr uint16_t BTN_SPACE = 32;
constexpr uint16_t BTN_Z = 64;
constexpr uint16_t BTN_X = 128;
constexpr uint16_t BTN_C = 256;
constexpr uint16_t BTN_RETURN = 512;
// Every bit a button word can hold.
constexpr uint16_t BTN_ALL = BTN_ESC | BTN_LEFT | BTN_RIGHT | BTN_UP | BTN_DOWN | BTN_SPACE |
                             BTN_Z | BTN_X | BTN_C | BTN_RETURN;

// Axes read 0..10000 with 5000 at rest, after a 10 % dead zone and 95 % saturation.
constexpr int32_t AxisCentre = 5000;

struct JoystickState {
  int32_t x = AxisCentre, y = AxisCentre;
  bool button[3] = {false, false, false};
  bool padLeft = false, padRight = false, padUp = false, padDown = false;  // the d-pad
};

typedef struct _SDL_GameController SDL_GameController;
typedef struct _SDL_Joystick SDL_Joystick;

struct InputState {
  // The scene's buttons of this frame and of the last, for its new-press rule.
  uint16_t InputWord = 0;
  uint16_t PrevInputWord = 0;
  bool JoystickPresent = false;
  KeyBindings bindings = DefaultBindings();
  SDL_GameController* controller = nullptr;
  SDL_Joystick* joystick = nullptr;  // the controller's own, or a plain joystick
  // Scripted input for tests and demonstrations: while set, ReadButtons returns what it
  // gives and leaves the devices alone.
  std::function<uint16_t()> buttonSource;
};
extern InputState Input;

void InitInput();
void ReleaseInput();
// The keyboard counts only while the game's window has the focus (SDL's rule): keys typed
// into another program do not steer the ship or leave the game.
uint16_t ReadButtons();
// The keyboard and the pad themselves, whatever the scripted source says: what the person at
// the machine presses while a recorded play runs.
uint16_t ReadDeviceButtons();
std::string ButtonNames(uint16_t mask);

// The pieces of ReadButtons, each over one device's snapshot.
uint16_t KeyboardButtons(const uint8_t* keyState);  // indexed by SDL scancode
uint16_t JoystickButtons(const JoystickState& state);
int32_t AxisToRange(int16_t raw);

// Whether the key (an SDL scancode) is bound to one of the keyboard's actions: the window's
// own letter keys then give way to the action.
bool KeyTakesAction(int scancode);
// The controller's buttons held now, bit n for SDL's button n; 0 without a controller.
uint32_t HeldPadButtons();
// The name of the key or button bound to the action, as the screens write it.
std::string KeyOf(Binding binding);
// The game controller's name as SDL knows it; empty without one.
std::string ControllerName();

void SetButtonSource(std::function<uint16_t()> source);
