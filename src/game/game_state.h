// Game-wide state, read and written directly by every scene.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/display.h"
#include "platform/platform.h"

// Scene results handed back to the scene loop.
constexpr int16_t SceneLeave = 99;
constexpr int16_t SceneFirstChoice = 1;   // title: start; play: stage cleared; continue: yes
constexpr int16_t SceneSecondChoice = 2;  // title: options; continue: no
constexpr int16_t SceneIdle = 98;         // title: no key for a long time
constexpr int16_t ScenePlayLost = 0;

extern int32_t FrameMs;
extern GameForm CurrentForm;  // FullScreen lives with the display
extern bool QuitRequested;
extern bool PauseRequested;
extern bool ScreenModeChanged;
extern uint16_t InputWord;
extern uint16_t PrevInputWord;
extern uint32_t LastWaitEnd;
extern int32_t Score;
extern int32_t HiScore;
extern int16_t Lives;
extern int16_t Stage;
extern int32_t RestartFrame;
extern int32_t NextExtendScore;
extern int32_t ExtendInterval;
extern int16_t BgmTrack;
extern int32_t FrameCounter;
extern bool GameActive;
extern bool ShowFrameRate;

// The play area: the left 448 columns of the screen.
extern RECT PlayField;

// Where the last frame's time went, drawn by the overlay in the next frame.
extern std::string TimingText;
extern std::string TotalText;
