// What the title picture, its footer, the score panel and the life icons share: the screen's
// layout where the game draws over them, the chrome logo, small engraved text, and the
// images artgen drew earlier that these reuse.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "shading.h"

namespace scenes {

// The play field is the screen's left part; the panel fills the rest.
constexpr int ScreenWidth = 640, ScreenHeight = 480, FieldWidth = 448;
constexpr int PanelWidth = ScreenWidth - FieldWidth;

constexpr int LifeIconSize = 32;

// An image artgen saved earlier into the folder (the fonts, the ship).
Image LoadDrawn(const std::filesystem::path& folder, const std::string& name);

// Copies the pixels of `top` that are not the key, its top-left at (x, y).
void Stamp(Image& base, const Image& top, int x, int y);

// The small 5x7 font as its saved sheet: sixteen codes to a row.
struct SmallFont {
  Image sheet;
  bool Inked(char code, int x, int y) const;
};
constexpr int GlyphWidth = 5, GlyphHeight = 7, GlyphAdvance = 6;
int TextWidth(std::string_view text);

// Text cut into a plate: the letters in `cut`, their lower and right lips catching the light.
void EngraveText(Image& image, int x, int y, std::string_view text, const SmallFont& font, Rgb cut,
                 Rgb lip);

// "VELDRANE" in chrome letters on the key: full size for the title, a half-size copy for
// the panel.
Image Logo(bool large);

// Scale2x: a grid doubled, one-pixel steps in its diagonals rounded off. `at(x, y)` reads the
// source, outside it too; `set(x, y, cell)` writes the double.
template <typename At, typename Set>
void Scale2x(int width, int height, At at, Set set) {
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      auto p = at(x, y), up = at(x, y - 1), down = at(x, y + 1), left = at(x - 1, y),
           right = at(x + 1, y);
      bool flat = up == down || left == right;
      set(2 * x, 2 * y, !flat && left == up ? up : p);
      set(2 * x + 1, 2 * y, !flat && up == right ? right : p);
      set(2 * x, 2 * y + 1, !flat && left == down ? left : p);
      set(2 * x + 1, 2 * y + 1, !flat && down == right ? right : p);
    }
}

// The level ship (frame 1 of player_ship) with its core lamp on, doubled, its outline kept
// one pixel thin.
Image HeroShip(const Image& shipStrip);

// The pictures, built from the images above.
Image TitlePicture(const Image& hero);
Image TitleFooter(const SmallFont& font);
Image PanelFrame(const SmallFont& font, const Image& lifeIcon);
// The life icon, then its seven loss frames.
std::vector<Image> LifeIconFrames();

}  // namespace scenes
