// The scene loop and what every scene shares: the frame wait, the present and the keys that
// work on every screen.
#pragma once

#include <cstdint>

int Main();
void RunScenes();
int32_t WaitFrame(int32_t ms);
void WaitKeyRelease();
void ToggleScreenMode();
void ToggleScreenModeAndPause();
void HandleFormKey(int16_t key, int16_t shift);

// Where the game's resources are: the current directory when it holds them, otherwise the
// folder the game was built or installed with (the current directory moves there).
void ChangeToResourceFolder();

// One play of the stage (1 = stage cleared, 0 = otherwise) and the present of every frame.
int16_t RunGame(int16_t stage, int32_t restartFrame);
int32_t ShowFrame();
int32_t CheckpointFrame(int32_t restartFrame);

// The menus and score screens.
int16_t TitleMenu();
int16_t OptionMenu();
int16_t ContinueScreen();
int16_t NameEntryScreen();
int16_t HiScoreScreen();
void PauseMenu();
void ScorePanel();
