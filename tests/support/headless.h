// A game display on SDL's dummy driver, a scripted clock and scripted buttons, so that tests
// run frames at full speed and always the same way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct SDL_Surface;

// Window, display and input up, fake clock at 100000 ms, no button source.
void StartHeadlessDisplay();
// Everything down again, surfaces forgotten, clock and buttons back to normal.
void StopHeadlessDisplay();

// A headless display with the built resources loaded, a new game and a fresh play at frame 0,
// reset as the game resets them: score 0, three ships, an empty object table, no ship or boss
// yet, and the play running.
void StartStageWorld();

// The members of a queue group, head to tail.
std::vector<uint16_t> GroupMembers(int32_t group);

// The resources the build made.
std::string BuiltResourceFolder();

// A file holding `bytes`, in a fresh folder removed by the next call.
std::filesystem::path ScratchFolder();
void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// A sheet file (762 bytes, then PNG data) of `surface`'s picture.
std::vector<uint8_t> SheetBytes(SDL_Surface* surface);

uint16_t PixelAt(SDL_Surface* surface, int x, int y);

// A key going down on the window as a person's would: its symbol and its place on the keyboard.
void PressKey(int32_t key, uint16_t mod = 0);
