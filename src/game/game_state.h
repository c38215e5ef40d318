// The program's own state between scenes: the frame pace, the form on show, the window's
// requests and the overlay's timing texts. A game's and a play's state are the stage's
// (stage/stage_state.h); the frame number is common/frame_clock.h.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// Scene results handed back to the scene loop.
enum SceneResult : int16_t {
  ScenePlayLost = 0,
  SceneFirstChoice = 1,   // title: start; play: stage cleared; continue: yes
  SceneSecondChoice = 2,  // title: options; continue: no
  ScenePractice = 95,     // title: a practice game chosen from the menu
  SceneWatch = 96,        // title: a kept replay chosen from the menu
  SceneDemo = 97,         // title: no key for 30 s, and a demo to show
  SceneIdle = 98,         // title: no key for a long time
  SceneLeave = 99,
};

inline constexpr int16_t NoPractice = -1;

struct ProgramState {
  int32_t FrameMs = 33;
  GameForm CurrentForm = GameForm::None;  // FullScreen lives with the display
  bool QuitRequested = false;
  bool PauseRequested = false;
  bool ScreenModeChanged = false;  // a switch happened in play; the pause menu takes note
  int16_t PauseSkip = 0;  // pause requests to pass over after the menu could not be shown
  uint32_t LastWaitEnd = 0;        // NowMs when the last frame wait returned
  bool ShowFrameRate = false;
  // Where the last frame's time went, drawn by the overlay in the next frame.
  std::string TimingText;
  std::string TotalText;
  // Window keys that rebuild the display or stall wait for the end of the frame, once it is
  // shown, rather than cutting into whatever routine pumped the events.
  bool modeSwitchRequested = false;
  bool reloadRequested = false;
  bool stallRequested = false;
  int16_t zoomRequested = 0;  // 0: none
  bool resourceDialogRequested = false;
  bool keysDialogRequested = false;
  // What the player chose from the window's menu for the title to start.
  int16_t practiceRequested = NoPractice;  // a checkpoint number
  std::string replayRequested;             // a kept replay's file
  bool replayBrowserRequested = false;
  bool practice = false;  // the game running is a practice game
};
extern ProgramState Program;
