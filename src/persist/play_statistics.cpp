#include "persist/play_statistics.h"

int32_t TryCount = 0;
int32_t StageClearCount = 0;
int32_t DeadCount = 0;
bool InPlay = false;
bool PrevInPlay = false;
std::string FpsText;
