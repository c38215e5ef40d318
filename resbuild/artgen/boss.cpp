#include "artgen.h"

void DrawBoss(const std::filesystem::path&) {}
