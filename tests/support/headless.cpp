#include "support/headless.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "common/frame_clock.h"
#include "common/resource_format.h"
#include "game/game_state.h"
#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "input/input.h"
#include "objects/object_table.h"
#include "platform/platform.h"
#include "stage/stage_state.h"

void StartHeadlessDisplay() {
  PlatformInit();
  UseFakeClock(100000);
  Program = ProgramState{};
  Program.CurrentForm = GameForm::Window;
  Display.FullScreen = false;
  ShowForm(Program.CurrentForm);
  InitDisplay(Program.CurrentForm, false);
  RefreshClipBounds();
  Program.LastWaitEnd = NowMs();
}

void StopHeadlessDisplay() {
  ReleaseDisplay();
  FreeAllSurfaces();
  PlatformShutdown();
  Program.CurrentForm = GameForm::None;
  SetButtonSource(nullptr);
  UseRealClock();
}

void StartStageWorld() {
  StartHeadlessDisplay();
  LoadImageResources(BuiltResourceFolder());
  Game = GameRecord{};
  ResetPlay();
  FrameCounter = 0;
  Play.GameActive = true;
}

std::vector<uint16_t> GroupMembers(int32_t group) {
  std::vector<uint16_t> members;
  for (ObjectIndex i = World.QueueGroups[group].head; i != NoObject; i = Obj(i).next)
    members.push_back(i);
  return members;
}

std::string BuiltResourceFolder() { return std::string(VELDRANE_BUILD_DIR) + "/res/"; }

std::filesystem::path ScratchFolder() {
  auto folder = std::filesystem::temp_directory_path() /
                ("veldrane-test-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> SheetBytes(SDL_Surface* surface) {
  std::vector<uint8_t> bytes = SheetPrefix();
  SDL_RWops* memory = SDL_RWFromFP(tmpfile(), SDL_TRUE);
  EXPECT_EQ(IMG_SavePNG_RW(surface, memory, 0), 0);
  Sint64 size = SDL_RWtell(memory);
  SDL_RWseek(memory, 0, RW_SEEK_SET);
  bytes.resize(SheetPrefixBytes + size_t(size));
  SDL_RWread(memory, bytes.data() + SheetPrefixBytes, 1, size_t(size));
  SDL_RWclose(memory);
  return bytes;
}

uint16_t PixelAt(SDL_Surface* surface, int x, int y) {
  return static_cast<const uint16_t*>(surface->pixels)[y * surface->pitch / 2 + x];
}

void PressKey(int32_t key, uint16_t mod) {
  SDL_Event press{};
  press.type = SDL_KEYDOWN;
  press.key.keysym.sym = key;
  press.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  press.key.keysym.mod = mod;
  SDL_PushEvent(&press);
}
