// The floor a frame's cost is measured against: a bare SDL program that uploads a 640x480
// RGB565 picture and presents it 30 times a second, and does nothing else.
// Usage: present_floor [frames]; 0 or none runs until the window is closed.

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  constexpr int Width = 640, Height = 480;
  constexpr uint32_t FrameMs = 33;
  const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("present floor", SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, Width, Height, 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  SDL_Texture* texture =
      renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                   Width, Height)
               : nullptr;
  if (!texture) return 1;
  std::vector<uint16_t> picture(size_t(Width) * Height);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = uint16_t(i * 2654435761u >> 16);
  uint32_t lastWaitEnd = SDL_GetTicks();
  bool closed = false;
  for (long frame = 0; !closed && (frames == 0 || frame < frames); ++frame) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) closed = closed || event.type == SDL_QUIT;
    const int32_t remaining = int32_t(lastWaitEnd + FrameMs - SDL_GetTicks());
    if (remaining > 0) SDL_Delay(uint32_t(remaining));
    lastWaitEnd = SDL_GetTicks();
    SDL_UpdateTexture(texture, nullptr, picture.data(), Width * 2);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
  }
  SDL_Quit();
  return 0;
}
