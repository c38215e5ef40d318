#include "input/key_bindings.h"

#include <SDL.h>
#include <strings.h>

#include <algorithm>
#include <span>

namespace {

struct NamedCode {
  int16_t code;
  const char* name;  // at most five characters, in the bitmap font's letters
};

constexpr NamedCode Keys[] = {
    {SDL_SCANCODE_UP, "UP"},         {SDL_SCANCODE_DOWN, "DOWN"},
    {SDL_SCANCODE_LEFT, "LEFT"},     {SDL_SCANCODE_RIGHT, "RIGHT"},
    {SDL_SCANCODE_A, "A"},           {SDL_SCANCODE_B, "B"},
    {SDL_SCANCODE_C, "C"},           {SDL_SCANCODE_D, "D"},
    {SDL_SCANCODE_E, "E"},           {SDL_SCANCODE_F, "F"},
    {SDL_SCANCODE_G, "G"},           {SDL_SCANCODE_H, "H"},
    {SDL_SCANCODE_I, "I"},           {SDL_SCANCODE_J, "J"},
    {SDL_SCANCODE_K, "K"},           {SDL_SCANCODE_L, "L"},
    {SDL_SCANCODE_M, "M"},           {SDL_SCANCODE_N, "N"},
    {SDL_SCANCODE_O, "O"},           {SDL_SCANCODE_P, "P"},
    {SDL_SCANCODE_Q, "Q"},           {SDL_SCANCODE_R, "R"},
    {SDL_SCANCODE_S, "S"},           {SDL_SCANCODE_T, "T"},
    {SDL_SCANCODE_U, "U"},           {SDL_SCANCODE_V, "V"},
    {SDL_SCANCODE_W, "W"},           {SDL_SCANCODE_X, "X"},
    {SDL_SCANCODE_Y, "Y"},           {SDL_SCANCODE_Z, "Z"},
    {SDL_SCANCODE_1, "1"},           {SDL_SCANCODE_2, "2"},
    {SDL_SCANCODE_3, "3"},           {SDL_SCANCODE_4, "4"},
    {SDL_SCANCODE_5, "5"},           {SDL_SCANCODE_6, "6"},
    {SDL_SCANCODE_7, "7"},           {SDL_SCANCODE_8, "8"},
    {SDL_SCANCODE_9, "9"},           {SDL_SCANCODE_0, "0"},
    {SDL_SCANCODE_SPACE, "SPACE"},   {SDL_SCANCODE_TAB, "TAB"},
    {SDL_SCANCODE_BACKSPACE, "BKSP"}, {SDL_SCANCODE_LSHIFT, "LSHFT"},
    {SDL_SCANCODE_RSHIFT, "RSHFT"},  {SDL_SCANCODE_LCTRL, "LCTRL"},
    {SDL_SCANCODE_RCTRL, "RCTRL"},   {SDL_SCANCODE_LALT, "LALT"},
    {SDL_SCANCODE_RALT, "RALT"},     {SDL_SCANCODE_INSERT, "INS"},
    {SDL_SCANCODE_DELETE, "DEL"},    {SDL_SCANCODE_HOME, "HOME"},
    {SDL_SCANCODE_END, "END"},       {SDL_SCANCODE_PAGEUP, "PGUP"},
    {SDL_SCANCODE_PAGEDOWN, "PGDN"}, {SDL_SCANCODE_COMMA, "COMMA"},
    {SDL_SCANCODE_PERIOD, "DOT"},    {SDL_SCANCODE_SLASH, "SLASH"},
    {SDL_SCANCODE_SEMICOLON, "SEMI"}, {SDL_SCANCODE_APOSTROPHE, "QUOTE"},
    {SDL_SCANCODE_MINUS, "MINUS"},   {SDL_SCANCODE_EQUALS, "EQUAL"},
    {SDL_SCANCODE_KP_0, "KP0"},      {SDL_SCANCODE_KP_1, "KP1"},
    {SDL_SCANCODE_KP_2, "KP2"},      {SDL_SCANCODE_KP_3, "KP3"},
    {SDL_SCANCODE_KP_4, "KP4"},      {SDL_SCANCODE_KP_5, "KP5"},
    {SDL_SCANCODE_KP_6, "KP6"},      {SDL_SCANCODE_KP_7, "KP7"},
    {SDL_SCANCODE_KP_8, "KP8"},      {SDL_SCANCODE_KP_9, "KP9"},
};

// The stick and the pad move the ship, and the guide button belongs to the system.
constexpr NamedCode PadButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, "A"},         {SDL_CONTROLLER_BUTTON_B, "B"},
    {SDL_CONTROLLER_BUTTON_X, "X"},         {SDL_CONTROLLER_BUTTON_Y, "Y"},
    {SDL_CONTROLLER_BUTTON_BACK, "BACK"},   {SDL_CONTROLLER_BUTTON_START, "START"},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, "L3"}, {SDL_CONTROLLER_BUTTON_RIGHTSTICK, "R3"},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, "LB"}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, "RB"},
};

// Escape is always the way out, and Return ends the name entry and, with Alt, switches the
// screen mode.
constexpr int16_t ReservedKeys[] = {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_RETURN,
                                    SDL_SCANCODE_KP_ENTER};

std::span<const NamedCode> NamesFor(Binding binding) {
  if (IsPadBinding(binding)) return PadButtons;
  return Keys;
}

const NamedCode* Find(Binding binding, int16_t code) {
  const auto names = NamesFor(binding);
  const auto found = std::find_if(names.begin(), names.end(),
                                  [code](const NamedCode& named) { return named.code == code; });
  return found == names.end() ? nullptr : &*found;
}

}  // namespace

const int16_t EscapeScancode = SDL_SCANCODE_ESCAPE;

KeyBindings DefaultBindings() {
  return {{SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT, SDL_SCANCODE_RIGHT,
           SDL_SCANCODE_Z, SDL_SCANCODE_X, SDL_SCANCODE_P, SDL_CONTROLLER_BUTTON_A,
           SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_START}};
}

BindCheck CheckBinding(const KeyBindings& bindings, Binding binding, int16_t code) {
  const bool pad = IsPadBinding(binding);
  if (!pad && std::find(std::begin(ReservedKeys), std::end(ReservedKeys), code) !=
                  std::end(ReservedKeys))
    return {BindRefusal::Reserved};
  if (!Find(binding, code)) return {BindRefusal::NotBindable};
  for (int other = 0; other < BindingCount; ++other)
    if (other != binding && IsPadBinding(other) == pad && bindings.code[size_t(other)] == code)
      return {BindRefusal::Bound, Binding(other)};
  return {};
}

bool BindingsAreSound(const KeyBindings& bindings) {
  for (int binding = 0; binding < BindingCount; ++binding)
    if (CheckBinding(bindings, Binding(binding), bindings.code[size_t(binding)]).refusal !=
        BindRefusal::None)
      return false;
  return true;
}

std::string BoundKeyName(Binding binding, int16_t code) {
  const NamedCode* named = Find(binding, code);
  return named ? named->name : "";
}

int16_t BoundKeyCode(Binding binding, const std::string& name) {
  for (const NamedCode& named : NamesFor(binding))
    if (strcasecmp(named.name, name.c_str()) == 0) return named.code;
  return -1;
}
