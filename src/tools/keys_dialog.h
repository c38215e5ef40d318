// The Keys window: the player's key for each action on the keyboard, and button on a game
// controller. A key already in use is refused with the reason; Escape is always the way out.
#pragma once

#include <cstdint>
#include <string>

#include "input/key_bindings.h"

struct KeysDialogState {
  KeyBindings edit{};              // the bindings as the window shows them
  Binding waiting = BindingCount;  // the action waiting for its key; BindingCount: none
  uint32_t padHeld = 0;            // the controller's buttons held when the window last looked
  std::string message;             // why the last key was refused
};
extern KeysDialogState KeysDialog;

// Shows the window until OK, which puts the keys in use and saves them, or Cancel or Escape,
// which change nothing.
void ShowKeysDialog();
