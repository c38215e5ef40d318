#include "platform/platform.h"

#include <SDL.h>

#include <stdexcept>
#include <string>

#include "graphics/display.h"
#include "graphics/game_windows.h"
#include "platform/imgui_layer.h"

namespace {

bool fakeClock = false;
uint32_t fakeNow = 0;

SDL_Window* window = nullptr;
uint32_t closeRequests = 0;
GameForm shownForm = GameForm::None;

// Windows virtual-key codes for the keys the game's key handler and menus know.
int16_t VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<int16_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<int16_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<int16_t>(112 + (key - SDLK_F1));
  switch (key) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    default: return 0;
  }
}

int16_t ShiftStateOf(uint16_t mod) {
  int16_t shift = 0;
  if (mod & KMOD_SHIFT) shift |= ShiftFlagShift;
  if (mod & KMOD_CTRL) shift |= ShiftFlagCtrl;
  if (mod & KMOD_ALT) shift |= ShiftFlagAlt;
  return shift;
}

void DispatchEvent(const SDL_Event& event) {
  bool close = event.type == SDL_QUIT ||
               (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
  if (close) {
    ++closeRequests;
    FormUnload();
    return;
  }
  if (ImguiProcessEvent(event)) return;
  switch (event.type) {
    case SDL_KEYDOWN:
      // A held key repeats at the platform's rate; the game's keys act once per press.
      if (!event.key.repeat) {
        int16_t key = VirtualKeyOf(event.key.keysym.sym);
        if (key != 0) FormKeyDown(key, ShiftStateOf(event.key.keysym.mod));
      }
      break;
    case SDL_RENDER_DEVICE_RESET:
      MarkDisplayLost();
      break;
    default:
      break;
  }
}

}  // namespace

uint32_t timeGetTime() { return fakeClock ? fakeNow : SDL_GetTicks(); }

void Sleep(uint32_t ms) {
  if (fakeClock)
    fakeNow += ms;
  else
    SDL_Delay(ms);
}

void UseFakeClock(uint32_t startMs) {
  fakeClock = true;
  fakeNow = startMs;
}

void UseRealClock() { fakeClock = false; }

void AdvanceFakeClock(uint32_t ms) { fakeNow += ms; }

bool FakeClockInUse() { return fakeClock; }

void PlatformInit() {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER | SDL_INIT_GAMECONTROLLER) != 0)
    throw std::runtime_error(std::string("SDL could not start: ") + SDL_GetError());
}

void PlatformShutdown() {
  UnloadForm();
  SDL_Quit();
}

void ShowForm(GameForm form) {
  if (form == shownForm) return;
  UnloadForm();
  if (form == GameForm::None) return;
  uint32_t flags = form == GameForm::FullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP
                                                : SDL_WINDOW_RESIZABLE;
  window = SDL_CreateWindow("VELDRANE", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            ScreenWidth, ScreenHeight, flags);
  if (!window) throw std::runtime_error(std::string("no window: ") + SDL_GetError());
  shownForm = form;
}

void UnloadForm() {
  if (!window) return;
  SDL_DestroyWindow(window);
  window = nullptr;
  shownForm = GameForm::None;
}

GameForm ShownForm() { return shownForm; }

uint32_t CloseRequestCount() { return closeRequests; }

SDL_Window* FormWindow() { return window; }

void SetWindowTitle(const char* title) {
  if (window) SDL_SetWindowTitle(window, title);
}

void ShowMouseCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

PixelRect FormDrawingArea(SDL_Renderer* renderer) {
  PixelRect area{0, 0, ScreenWidth, ScreenHeight};
  if (renderer) SDL_GetRendererOutputSize(renderer, &area.w, &area.h);
  return area;
}

void PumpEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) DispatchEvent(event);
}
