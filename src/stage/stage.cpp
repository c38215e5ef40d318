#include "stage/stage.h"

void SetupStage(int16_t) {}

void RunBehaviour(ObjectIndex) {}
