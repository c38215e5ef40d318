// Which key or controller button does what: the player's own choice, else the game's first keys.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The keyboard's actions, then the controller's. Movement on a controller is its stick and pad.
enum Binding : uint8_t {
  BindUp,
  BindDown,
  BindLeft,
  BindRight,
  BindFire,
  BindTurn,
  BindPause,
  BindPadFire,
  BindPadTurn,
  BindPadPause,
  BindingCount,
};
inline constexpr int FirstPadBinding = BindPadFire;
inline bool IsPadBinding(int binding) { return binding >= FirstPadBinding; }

// SDL scancodes for the keyboard's actions, SDL controller buttons for the controller's.
struct KeyBindings {
  std::array<int16_t, BindingCount> code;
  bool operator==(const KeyBindings&) const = default;
};

KeyBindings DefaultBindings();
// Escape's scancode: never bound, always the way out.
extern const int16_t EscapeScancode;

// Why a key cannot take an action; Bound names the action that has it.
enum class BindRefusal : uint8_t { None, NotBindable, Reserved, Bound };
struct BindCheck {
  BindRefusal refusal = BindRefusal::None;
  Binding holder = BindingCount;  // with Bound: the action that already has the key
};
BindCheck CheckBinding(const KeyBindings& bindings, Binding binding, int16_t code);
// True when no key serves two actions and every key may be bound.
bool BindingsAreSound(const KeyBindings& bindings);

// The key's short name as the screens write it ("Z", "UP", "START"); empty for an unknown code.
std::string BoundKeyName(Binding binding, int16_t code);
// The code of a name BoundKeyName gives; -1 for any other text.
int16_t BoundKeyCode(Binding binding, const std::string& name);
