#include "artgen.h"

void DrawShipAndEffects(const std::filesystem::path&) {}
