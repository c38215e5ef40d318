#include "platform/platform.h"

#include <SDL.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/imgui_layer.h"

PlatformState Platform;

namespace {

// The key handler's code for an SDL key; 0 for keys it does not know.
int16_t WindowKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<int16_t>(KeyA + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<int16_t>(KeyDigit0 + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<int16_t>(KeyF1 + (key - SDLK_F1));
  switch (key) {
    case SDLK_BACKSPACE: return KeyBackspace;
    case SDLK_TAB: return KeyTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KeyReturn;
    case SDLK_ESCAPE: return KeyEscape;
    case SDLK_SPACE: return KeySpace;
    case SDLK_LEFT: return KeyLeft;
    case SDLK_UP: return KeyUp;
    case SDLK_RIGHT: return KeyRight;
    case SDLK_DOWN: return KeyDown;
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

// Keeps what the game must hear of; nothing is acted on here.
void RecordEvent(const SDL_Event& event) {
  bool close = event.type == SDL_QUIT ||
               (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
  if (close) {
    Platform.closePending = true;
    ++Platform.closeRequests;
    return;
  }
  if (event.type == SDL_WINDOWEVENT) Platform.windowChanged = true;
  if (ImguiProcessEvent(event)) return;
  switch (event.type) {
    case SDL_KEYDOWN:
      // A held key repeats at the platform's rate; the game's keys act once per press.
      if (!event.key.repeat) {
        int16_t key = WindowKeyOf(event.key.keysym.sym);
        const int16_t scancode = int16_t(event.key.keysym.scancode);
        if (key != 0 || scancode != 0)
          Platform.pendingKeys.push_back({key, ShiftStateOf(event.key.keysym.mod), scancode});
      }
      break;
    case SDL_CONTROLLERBUTTONDOWN:
      Platform.pendingPadButtons.push_back(event.cbutton.button);
      break;
    case SDL_RENDER_DEVICE_RESET:
      Platform.renderTargetsLost = true;
      break;
    default:
      break;
  }
}

}  // namespace

uint32_t NowMs() { return Platform.fakeClock ? Platform.fakeNow : SDL_GetTicks(); }

void SleepMs(uint32_t ms) {
  if (Platform.fakeClock)
    Platform.fakeNow += ms;
  else
    SDL_Delay(ms);
}

void UseFakeClock(uint32_t startMs) {
  Platform.fakeClock = true;
  Platform.fakeNow = startMs;
}

void UseRealClock() { Platform.fakeClock = false; }

void AdvanceFakeClock(uint32_t ms) { Platform.fakeNow += ms; }

void PlatformInit() {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER | SDL_INIT_GAMECONTROLLER) != 0)
    throw std::runtime_error(std::string("SDL could not start: ") + SDL_GetError());
}

void PlatformShutdown() {
  ImguiShutdown();
  UnloadForm();
  SDL_Quit();
  Platform.closePending = false;
  Platform.pendingKeys.clear();
  Platform.pendingCommands.clear();
  Platform.pendingPadButtons.clear();
  Platform.renderTargetsLost = false;
}

void ShowForm(GameForm form) {
  if (form == Platform.shownForm) return;
  UnloadForm();
  if (form == GameForm::None) return;
  const bool full = form == GameForm::FullScreen;
  const uint32_t flags = full ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
  const int zoom = full ? 1 : Platform.zoom;
  Platform.window = SDL_CreateWindow("VELDRANE", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                     ScreenWidth * zoom,
                                     ScreenHeight * zoom + (full ? 0 : WindowMenuHeight), flags);
  if (!Platform.window) throw std::runtime_error(std::string("no window: ") + SDL_GetError());
  Platform.shownForm = form;
}

void UnloadForm() {
  if (!Platform.window) return;
  SDL_DestroyWindow(Platform.window);
  Platform.window = nullptr;
  Platform.shownForm = GameForm::None;
}

void SetFormZoom(int32_t zoom) {
  Platform.zoom = std::clamp(zoom, 1, MaxZoom);
  if (Platform.shownForm != GameForm::Window) return;
  SDL_SetWindowSize(Platform.window, ScreenWidth * Platform.zoom,
                    ScreenHeight * Platform.zoom + WindowMenuHeight);
  SDL_SetWindowPosition(Platform.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

bool ZoomFits(int32_t zoom) {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return zoom == 1;
  return ScreenWidth * zoom <= usable.w && ScreenHeight * zoom + WindowMenuHeight <= usable.h;
}

bool FormIsVisible() {
  const uint32_t hidden = SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED;
  return Platform.window && (SDL_GetWindowFlags(Platform.window) & hidden) == 0;
}

void SetWindowTitle(const char* title) {
  if (Platform.window) SDL_SetWindowTitle(Platform.window, title);
}

void ShowMouseCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

PixelRect FormDrawingArea(SDL_Renderer* renderer) {
  PixelRect area{0, 0, ScreenWidth, ScreenHeight};
  if (renderer) SDL_GetRendererOutputSize(renderer, &area.w, &area.h);
  if (Platform.shownForm == GameForm::Window) {
    area.y = WindowMenuHeight;
    area.h = std::max(area.h - WindowMenuHeight, 1);
  }
  return area;
}

void PumpEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) RecordEvent(event);
}
