// The scene loop and what every scene shares: the frame wait, the present and the keys that
// work on every screen.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/game_state.h"

// The game; with a replay file, that play shown again instead of the title; with a checkpoint,
// a practice game from it before the title.
int Main(const char* replayFile = nullptr, int16_t practiceCheckpoint = NoPractice);
// Finds the resource folder and loads the images, effects, settings and music list.
void LoadGameResources();
// The title and what it leads to, until the program is left; a practice checkpoint starts
// with that practice game.
void RunScenes(int16_t practiceCheckpoint = NoPractice);

// Takes in the window's events and paces the frame: at least `ms` since the last wait ended.
void WaitFrame(int32_t ms);
void WaitKeyRelease();

// The menus' new-press rule: the buttons when they differ from the last frame's, else 0
// (kept in Input.InputWord; Input.PrevInputWord follows).
uint16_t NewlyPressed(uint16_t level);
uint16_t ReadNewButtons();
// The end of a scene's frame: the wait, then the present; the present's error.
int32_t EndSceneFrame();

// A line of the player's keys on its steel strip across the field, from y down.
void DrawKeyLine(int32_t y, const std::string& text);

// ---- the window's keys (window_events.cpp) ----

// The window's events since the last look: key presses go to HandleFormKey, a close asks the
// program to quit. WaitFrame calls it after taking the events in.
void HandleWindowEvents();
// Escape quits and the pause key (P unless rebound) toggles the pause at once; Alt+Return, R
// and S are requests that RunWindowRequests carries out once the frame is shown, R and S only
// while no action is bound to them.
void HandleFormKey(const KeyPress& press);
void RunWindowRequests();
void ToggleScreenMode();
void ToggleScreenModeAndPause();

// Where the game's resources are: the current directory when it holds them, otherwise the
// folder the game was built or installed with (the current directory moves there).
void ChangeToResourceFolder();

// ---- a play (main_loop.cpp) ----

// One play of the stage `Game.Stage` from the checkpoint below `Game.RestartFrame`: 1 when
// the stage was cleared, 0 otherwise.
int16_t RunGame();
// One frame of play, in its fixed order; false when the program is being left.
bool PlayFrame();
// Presents the frame, handles a failed present, then the window's requests.
int32_t ShowFrame();
int32_t CheckpointFrame(int32_t restartFrame);
// The stage's start and its checkpoints, where a play resumes and where practice may begin.
inline constexpr std::array<int32_t, 5> Checkpoints = {0, 1550, 3100, 4650, 6500};
// The restart frame that resumes at Checkpoints[number].
int32_t RestartFrameAt(int16_t number);

// ---- the menus and score screens ----
int16_t TitleMenu();
int16_t OptionMenu();
void ApplyOption(int16_t item, int16_t value);
int16_t ContinueScreen();
int16_t NameEntryScreen();
int16_t HiScoreScreen();
void PauseMenu();
void ScorePanel();
// The panel as at start-up, for a new game: no ships shown yet, so the first ship's entry is no
// loss, and that game's first lost ship breaks up from its whole icon.
void ResetScorePanel();
