// The game's one door to SDL2 for time, the window and its event queue.
// Everything here runs on the game thread.
#pragma once

#include <cstdint>

#include "common/host.h"

struct SDL_Window;
struct SDL_Renderer;

// ---- time: timeGetTime and Sleep (common/host.h) run on a real or a scripted clock ----

// Tests run scenes at full speed: the fake clock only moves when told to or when slept on.
void UseFakeClock(uint32_t startMs);
void UseRealClock();
void AdvanceFakeClock(uint32_t ms);
bool FakeClockInUse();

// ---- start-up and shutdown of the library ----

void PlatformInit();              // SDL video, events, joystick and game controller
void PlatformShutdown();

// ---- the game's window ----
// There is one window; the two game forms are its two modes.

enum class GameForm : uint8_t { None, Window, FullScreen };

constexpr int ScreenWidth = 640;
constexpr int ScreenHeight = 480;

void ShowForm(GameForm form);     // creates the window if needed and puts it in the form's mode
void UnloadForm();                // closes the window
GameForm ShownForm();
SDL_Window* FormWindow();         // nullptr while no form is shown
void SetWindowTitle(const char* title);
void ShowMouseCursor(bool show);

// The window's drawing area in output pixels: its client area (windowed) or the screen.
struct PixelRect {
  int x, y, w, h;
};
PixelRect FormDrawingArea(SDL_Renderer* renderer);

// ---- events ----

// PumpEvents (common/host.h) runs pending window events: key-downs go to the forms' key
// handler, a close to their unload handler. It is the only place those handlers run.

// How many times the window has been asked to close so far; dialogs watch it to give way.
uint32_t CloseRequestCount();

// Virtual-key codes and shift flags as the key handler expects them.
constexpr int16_t ShiftFlagShift = 1;
constexpr int16_t ShiftFlagCtrl = 2;
constexpr int16_t ShiftFlagAlt = 4;
