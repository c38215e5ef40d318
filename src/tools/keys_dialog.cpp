#include "tools/keys_dialog.h"

#include <imgui.h>

#include <bit>

#include "common/game_text.h"
#include "game/settings.h"
#include "input/input.h"
#include "platform/imgui_layer.h"

KeysDialogState KeysDialog;

namespace {

constexpr const char* ActionNames[BindingCount] = {
    TrLater("Up"),   TrLater("Down"), TrLater("Left"),  TrLater("Right"), TrLater("Fire"),
    TrLater("Turn"), TrLater("Pause"), TrLater("Fire"), TrLater("Turn"),  TrLater("Pause"),
};
const ImVec4 RefusalColour(1, 0.4f, 0.4f, 1);

std::string RefusalText(const BindCheck& check, int16_t code) {
  switch (check.refusal) {
    case BindRefusal::Bound:
      return TrWith("%s is already the key for %s.",
                    {BoundKeyName(KeysDialog.waiting, code), Tr(ActionNames[check.holder])});
    case BindRefusal::Reserved:
      return Tr("Escape and Return keep their own work and cannot be bound.");
    default:
      return Tr("That key cannot be bound; choose another.");
  }
}

void OfferKey(int16_t code) {
  const BindCheck check = CheckBinding(KeysDialog.edit, KeysDialog.waiting, code);
  if (check.refusal != BindRefusal::None) {
    KeysDialog.message = RefusalText(check, code);
    return;
  }
  KeysDialog.edit.code[KeysDialog.waiting] = code;
  KeysDialog.waiting = BindingCount;
  KeysDialog.message.clear();
}

// The keys pressed since the last frame, or the controller's newly pressed button, go to the
// action waiting for one. Escape stops the wait as it comes up, not as it goes down.
void TakePresses() {
  if (IsPadBinding(KeysDialog.waiting)) {
    const uint32_t held = HeldPadButtons();
    const uint32_t pressed = held & ~KeysDialog.padHeld;
    KeysDialog.padHeld = held;
    if (pressed) OfferKey(int16_t(std::countr_zero(pressed)));
    return;
  }
  for (int scancode : Imgui.keysPressed)
    if (scancode != EscapeScancode && KeysDialog.waiting != BindingCount)
      OfferKey(int16_t(scancode));
}

// BindingCount: no action waits.
void Wait(Binding binding) {
  KeysDialog.waiting = binding;
  KeysDialog.padHeld = HeldPadButtons();
  KeysDialog.message.clear();
}

void DrawKeyButton(int binding) {
  const std::string name =
      KeysDialog.waiting == binding
          ? "..."
          : BoundKeyName(Binding(binding), KeysDialog.edit.code[size_t(binding)]);
  const std::string label = name + "##" + std::to_string(binding);
  if (ImGui::Button(label.c_str(), ImVec2(ImGui::GetFontSize() * 6, 0))) Wait(Binding(binding));
}

void DrawAction(int binding) {
  ImGui::TableNextColumn();
  ImGui::AlignTextToFramePadding();
  ImGui::TextUnformatted(Tr(ActionNames[binding]));
  ImGui::TableNextColumn();
  DrawKeyButton(binding);
}

// The keyboard's actions beside the controller's.
void DrawBindings() {
  if (!ImGui::BeginTable("keys", 4, ImGuiTableFlags_SizingFixedFit | ImGuiTableFlags_PadOuterX))
    return;
  ImGui::TableSetupColumn(Tr("Keyboard"));
  ImGui::TableSetupColumn("##key");
  ImGui::TableSetupColumn(Tr("Controller"));
  ImGui::TableSetupColumn("##button");
  ImGui::TableHeadersRow();
  for (int row = 0; row < FirstPadBinding; ++row) {
    ImGui::TableNextRow();
    DrawAction(row);
    if (FirstPadBinding + row < BindingCount) DrawAction(FirstPadBinding + row);
  }
  ImGui::EndTable();
}

// What the window waits for, why a key was refused, and the controller it sees.
void DrawStatus() {
  ImGui::Separator();
  if (KeysDialog.waiting == BindingCount) {
    ImGui::TextUnformatted(Tr("Click a key to change it."));
  } else {
    const char* prompt = IsPadBinding(KeysDialog.waiting)
                             ? Tr("Press a controller button for %s. Escape cancels.")
                             : Tr("Press a key for %s. Escape cancels.");
    ImGui::TextUnformatted(TrWith(prompt, {Tr(ActionNames[KeysDialog.waiting])}).c_str());
  }
  // The line stays when empty, so the window keeps its size and its buttons their places.
  ImGui::TextColored(RefusalColour, "%s", KeysDialog.message.c_str());
  const std::string controller = ControllerName();
  ImGui::TextDisabled("%s", controller.empty()
                                ? Tr("No game controller is connected.")
                                : TrWith("Controller: %s", {controller}).c_str());
}

// The buttons under the lists; false once the window is to close.
bool DrawButtons(bool escapeCloses) {
  if (ImGui::Button(Tr("Usual keys"))) {
    KeysDialog.edit = DefaultBindings();
    KeysDialog.waiting = BindingCount;
    KeysDialog.message.clear();
  }
  ImGui::SameLine();
  const bool enter = KeysDialog.waiting == BindingCount &&
                     ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter));
  if (ImGui::Button(Tr("OK"), ImVec2(100, 0)) || enter) {
    ChooseKeys(KeysDialog.edit);
    return false;
  }
  ImGui::SameLine();
  return !ImGui::Button(Tr("Cancel"), ImVec2(100, 0)) && !escapeCloses;
}

bool DrawKeysDialog() {
  const ImGuiViewport* view = ImGui::GetMainViewport();
  ImGui::SetNextWindowPos(view->GetCenter(), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
  ImGui::Begin(Tr("Keys"), nullptr,
               ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings);
  // An Escape that ends a wait does not close the window too.
  const bool escape = EscapeReleased();
  const bool escapeCloses = escape && KeysDialog.waiting == BindingCount;
  if (escape) Wait(BindingCount);
  if (KeysDialog.waiting != BindingCount) TakePresses();
  DrawBindings();
  DrawStatus();
  const bool open = DrawButtons(escapeCloses);
  ImGui::End();
  return open;
}

}  // namespace

void ShowKeysDialog() {
  KeysDialog = KeysDialogState{};
  KeysDialog.edit = Input.bindings;
  RunModalDialog(DrawKeysDialog);
}
