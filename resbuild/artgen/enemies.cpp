#include "artgen.h"

void DrawEnemies(const std::filesystem::path&) {}
