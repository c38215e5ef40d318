// Dear ImGui on the game window: message boxes and the other small dialogs, drawn over the
// last presented frame.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

union SDL_Event;
struct SDL_Window;
struct SDL_Renderer;

struct ImFont;
struct SDL_Texture;

// What the menu bar is drawn from besides ImGui's own input; a change redraws it.
struct MenuLook {
  int language = -1;
  int zoom = 0;
  bool atTitle = false;
  bool disabled = false;
  bool operator==(const MenuLook&) const = default;
};

struct ImguiState {
  SDL_Renderer* renderer = nullptr;  // the renderer dialogs draw on; nullptr while detached
  ImFont* menuFont = nullptr;        // ImGui's own, sized for the menu bar
  ImFont* dialogFont = nullptr;      // the CJK font, loaded with the first dialog
  ImFont* japaneseMenuFont = nullptr;  // the CJK font at the menu's size, once it speaks Japanese
  void (*presentFrame)() = nullptr;  // shows the last frame with the pending dialog over it
  bool framePending = false;
  int modalDepth = 0;
  // The menu bar is drawn into menuStrip only while it may change: for a few frames after
  // ImGui hears of the mouse or the window, while one of its menus is open, or when its look
  // changes. Other frames copy the strip.
  SDL_Texture* menuStrip = nullptr;
  int menuLiveFrames = 0;
  MenuLook menuLook;
  bool menuBuilt = false;  // the pending frame holds the bar
  bool menuWanted = false;  // the frame being presented shows the bar
  bool frameRendered = false;  // the pending frame is rendered, its strip drawn
  // The strip read back as RGB565, so that a present at the game's own size can carry the bar
  // in the picture's texture: one copy a frame costs a software renderer much less than two.
  std::vector<uint16_t> menuPixels;
  int menuPixelsWidth = 0;         // 0: none to carry
  uint32_t menuPixelsVersion = 0;  // counts the strip's redraws
  bool menuInPicture = false;      // the frame being presented carries the bar itself
  std::string LastMessageBoxText;    // for tests and the log
  // ImGui reads key states once a frame, so a key pressed and released between two frames (as
  // quick or synthetic presses are) would go unseen: such a release waits for the next frame.
  std::vector<int> keysDownThisFrame;  // scancodes
  std::vector<int> heldKeyUps;
  std::vector<int> keysPressed;  // scancodes that went down since the last dialog frame
  // For tests: run in each frame of a modal dialog after the dialog has drawn itself, in place
  // of a person; false closes the dialog.
  std::function<bool()> dialogScript;
};
extern ImguiState Imgui;

// The display layer attaches ImGui to each renderer it makes, with its own present, and
// detaches it before release.
void ImguiAttach(SDL_Window* window, SDL_Renderer* renderer, void (*presentFrame)());
void ImguiDetach();
// Frees ImGui's context and fonts at shutdown.
void ImguiShutdown();

// Feeds ImGui; true when a dialog is open and the event is its own.
bool ImguiProcessEvent(const SDL_Event& event);

// Renders the frame built since the last present and redraws the menu bar's strip from it, if
// it holds the bar; before the present draws anything, as the strip's pixels may go with the
// picture.
void ImguiPrepareFrame();
// Draws the menu bar, unless the picture carried it, and the dialog frame built since the last
// present, if any (called by the present).
void ImguiRenderPending();
// The present showed nothing new: the bar stays as it is on show.
void ImguiFrameUnchanged();

// The windowed form's menu bar, to be shown on the frame about to be presented: added to that
// frame when it may have changed. What the player chooses is queued in
// Platform.pendingCommands; while a dialog is open it is disabled.
void ImguiWindowMenu();

// Runs `drawDialog` once a frame until it returns false or the window is asked to close.
void RunModalDialog(const std::function<bool()>& drawDialog);

// Escape closes a dialog as it comes up: closed as it went down, the key would still be held
// when the dialog is gone, and the game's screen below would take it for its own.
bool EscapeReleased();

// Without a visible display (the dummy video driver) dialogs only write to stderr.
bool DialogsAreHeadless();

void ShowMessageBox(const std::string& text);

// Lets the player pick a folder, starting in `initialFolder` (the current directory when empty).
// The chosen path has no trailing "/" (except the root itself); empty text when cancelled.
std::string BrowseForFolder(const std::string& title, const std::string& initialFolder);
