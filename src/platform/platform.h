// The game's one door to SDL2 for time, the window and its event queue.
// Everything here runs on the game thread.
#pragma once

#include <cstdint>
#include <vector>

#include "common/host.h"

struct SDL_Window;
struct SDL_Renderer;

// There is one window; the two game forms are its two modes.
enum class GameForm : uint8_t { None, Window, FullScreen };

// What the window's menu bar asks for.
enum class WindowCommand : uint8_t {
  ReloadImages,
  SwitchScreenMode,
  Exit,
  ImageResourceDialog,
  Zoom1,
  Zoom2,
  Zoom3,
  Practice0,  // from the start of the stage
  Practice1,
  Practice2,
  Practice3,
  Practice4,
  Replays,
  Keys,
  LanguageEnglish,
  LanguageJapanese,
};
inline constexpr int PracticeStarts = 5;

// A key pressed on the window, as the game's key handler takes it.
struct KeyPress {
  int16_t key;    // a WindowKey code
  int16_t shift;  // ShiftFlag bits
  int16_t scancode = 0;  // the key's place on the keyboard, as the game's bindings name it
};

struct PlatformState {
  bool fakeClock = false;
  uint32_t fakeNow = 0;
  SDL_Window* window = nullptr;
  GameForm shownForm = GameForm::None;
  // What the window was told since the game last looked: PumpEvents only records it, and
  // the game acts on it where its frame allows.
  bool closePending = false;     // the window was asked to close
  uint32_t closeRequests = 0;   // counts every such request, so dialogs can tell a new one
  std::vector<KeyPress> pendingKeys;
  std::vector<WindowCommand> pendingCommands;
  std::vector<uint8_t> pendingPadButtons;  // controller buttons pressed, as SDL numbers them
  bool renderTargetsLost = false;  // the renderer dropped its textures
  bool windowChanged = false;  // shown, exposed, moved or resized since the last present
  int32_t zoom = 1;  // the window's picture at this many pixels a game pixel
  bool atTitle = false;  // what starts a game is offered only there
};
extern PlatformState Platform;

// ---- time: NowMs and SleepMs (common/host.h) run on a real or a scripted clock ----

// Tests run scenes at full speed: the fake clock only moves when told to or when slept on.
void UseFakeClock(uint32_t startMs);
void UseRealClock();
void AdvanceFakeClock(uint32_t ms);

// ---- start-up and shutdown of the library ----

void PlatformInit();              // SDL video, events, joystick and game controller
void PlatformShutdown();

// ---- the game's window ----

constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;
constexpr int MaxZoom = 3;
// The windowed form's menu bar, above the picture; its height is the menu font's (13) and
// the bar's padding (2 x 3).
constexpr int WindowMenuHeight = 19;

// Creates the window if needed and puts it in the form's mode: in a window, the menu bar over
// a picture of the game's size times Platform.zoom; in full screen, the whole screen.
void ShowForm(GameForm form);
// The window's picture at `zoom` pixels a game pixel; the window is sized to it.
void SetFormZoom(int32_t zoom);
// Whether a window of that zoom fits the desktop.
bool ZoomFits(int32_t zoom);
void UnloadForm();                // closes the window
// False while the window is minimized or hidden, when a frame drawn on it would go unseen.
bool FormIsVisible();
void SetWindowTitle(const char* title);
void ShowMouseCursor(bool show);

// The window's picture area in output pixels: its client area below the menu bar (windowed)
// or the screen.
struct PixelRect {
  int x, y, w, h;
  bool operator==(const PixelRect&) const = default;
};
PixelRect FormDrawingArea(SDL_Renderer* renderer);

// ---- keys, as the key handler knows them ----

enum WindowKey : int16_t {
  KeyBackspace = 8,
  KeyTab = 9,
  KeyReturn = 13,
  KeyEscape = 27,
  KeySpace = 32,
  KeyLeft = 37,
  KeyUp = 38,
  KeyRight = 39,
  KeyDown = 40,
  KeyDigit0 = '0',  // digits and letters are their upper-case characters
  KeyA = 'A',
  KeyF1 = 112,      // to F12
};

constexpr int16_t ShiftFlagShift = 1;
constexpr int16_t ShiftFlagCtrl = 2;
constexpr int16_t ShiftFlagAlt = 4;
