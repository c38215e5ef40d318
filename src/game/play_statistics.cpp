#include "game/play_statistics.h"

PlayStatistics Stats;
