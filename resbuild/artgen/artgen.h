// The art generator's images, one writer per source file; each saves its images (and
// frame grids) into the given folder.
#pragma once

#include <filesystem>

void DrawFonts(const std::filesystem::path& folder);         // font_small, font_large
void DrawStage01Parts(const std::filesystem::path& folder);  // Stage01.parts
void DrawShipAndEffects(const std::filesystem::path& folder);
void DrawEnemies(const std::filesystem::path& folder);
void DrawBoss(const std::filesystem::path& folder);
// title_picture, title_footer, panel_frame, life_icon and the screens after a play; reads the
// fonts and player_ship back.
void DrawScenes(const std::filesystem::path& folder);

// The background map layers (.map.dat) of both stages, written into the game's data folder.
void WriteStageMaps(const std::filesystem::path& folder);

// The programs' desktop icons, <icon-folder>/<n>x<n>/apps/{veldrane,envposter}.png; reads the
// ship back from the image folder.
void DrawIcons(const std::filesystem::path& imageFolder, const std::filesystem::path& iconFolder);
