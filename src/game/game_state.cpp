#include "game/game_state.h"

int32_t FrameMs = 33;
GameForm CurrentForm = GameForm::None;
bool QuitRequested = false;
bool PauseRequested = false;
bool ScreenModeChanged = false;
uint16_t InputWord = 0;
uint16_t PrevInputWord = 0;
uint32_t LastWaitEnd = 0;
int32_t Score = 0;
int32_t HiScore = 0;
int16_t Lives = 3;
int16_t Stage = 0;
int32_t RestartFrame = 0;
int32_t NextExtendScore = 2000000;
int32_t ExtendInterval = 2000000;
int16_t BgmTrack = 0;
int32_t FrameCounter = 0;
bool GameActive = false;
bool ShowFrameRate = false;

RECT PlayField = {0, 0, 447, ScreenHeight};

std::string TimingText;
std::string TotalText;
