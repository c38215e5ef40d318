#include "artgen.h"

void WriteStageMaps(const std::filesystem::path&) {}
