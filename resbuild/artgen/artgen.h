// The art generator's images, one writer per source file; each saves its images (and
// frame grids) into the given folder.
#pragma once

#include <filesystem>

void DrawFonts(const std::filesystem::path& folder);         // font_small, font_large
void DrawStage01Parts(const std::filesystem::path& folder);  // Stage01.parts
