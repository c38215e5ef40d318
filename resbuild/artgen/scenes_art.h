// What the title picture, its footer, the score panel, the life icons and the screens after a
// play share: the screen's layout where the game draws over them, the chrome logo, small
// engraved text, steel plates, the citadel's pieces, and the images artgen drew earlier that
// these reuse.
#pragma once

#include <filesystem>
#include <span>
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

constexpr Tone PlateSteel{pal::MetalBase, pal::MetalShade, pal::MetalDark};
constexpr Tone RivetHead{pal::MetalGlint, pal::MetalLight, pal::MetalShade};

// A raised steel plate: lit along its top and left, in shade along its bottom and right,
// bolted at its corners.
void RaisedPlate(Image& image, int left, int top, int width, int height);

// --- the citadel in the sky (scenes_citadel.cpp) ---

// Stars scattered above `bottom`: `density(x, y)` in ten thousand, one in six of them bright.
template <typename Density>
void StarField(Image& image, int bottom, int seed, Density density) {
  for (int y = 0; y < bottom; ++y)
    for (int x = 0; x < image.width; ++x) {
      int chance = density(x, y);
      uint32_t roll = Hash(x, y, seed) % 10000;
      if (chance <= 0) continue;
      if (roll < static_cast<uint32_t>(chance) / 6)
        Plot(image, x, y, pal::StarBright);
      else if (roll < static_cast<uint32_t>(chance))
        Plot(image, x, y, roll % 2 ? pal::StarDim : pal::Dusk);
    }
}

// Bands of the sky from the top down, each fading into the next by ordered dither.
struct SkyStop {
  int y;
  Rgb colour;
};
Rgb SkyBandAt(std::span<const SkyStop> stops, int x, int y);

// A crescent moon lit from the top-left, its dark side a shade above the sky.
void Moon(Image& image, int centreX, int centreY, int radius);

struct Puff {
  int x, y, radius;
};
struct CloudTones {
  Rgb lit, base, shade, rim;
};
constexpr CloudTones NearCloud{pal::White, pal::Cloud, pal::CloudShade, pal::StarDim};
constexpr CloudTones FarCloud{pal::CloudShade, pal::StarDim, pal::Violet, pal::Dusk};
void CloudBank(Image& image, const std::vector<Puff>& puffs, int floor, CloudTones tones);
std::vector<Puff> PuffRow(int top, int spacing, int radius, int seed);
std::vector<Puff> Wisp(int x, int y, int length, int seed);

void BrickTower(Image& image, int left, int top, int width, int bottom, int seed, bool round);
void LitWindow(Image& image, int x, int y);
void ArrowSlit(Image& image, int x, int y);
void ConeRoof(Image& image, int left, int width, int eaves, int height);
void Skyline(Image& image);
void Bridge(Image& image, int left, int right);

// --- the pictures, built from the images above ---

Image TitlePicture(const Image& hero);
Image TitleFooter(const SmallFont& font);
Image PanelFrame(const SmallFont& font, const Image& lifeIcon);
// The life icon, then its seven loss frames.
std::vector<Image> LifeIconFrames();

// --- the screens after a play (scenes_screens.cpp) ---

// The citadel at night behind the play field, dimmed: on alert behind the continue prompt,
// still behind the high-score table and the name entry.
enum class Backdrop { Continue, Ranking };
Image ScreenBackdrop(Backdrop which);

// A steel plate round a dark recess that holds the game's text, the recess `PlateFrame` in.
constexpr int PlateFrame = 7;
Image FramedPlate(int width, int height);
struct PlateSize {
  std::string_view name;
  int width, height;
};
// Sized for the large font's 18-row lines on a 13-pixel advance and the small font's 7 rows.
constexpr PlateSize ScreenPlates[] = {
    {"heading_plate", 256, 40},   // "C O N T I N U E ?", "HI SCORE", "NAME ENTRY"
    {"ranking_plate", 308, 176},  // the five ranking lines, 32 apart
    {"choice_plate", 132, 80},    // the cursor, "Y E S" and "N O"
    {"keys_plate", 340, 25},      // a line of the player's keys: 54 letters of the small font
};

// "1ST" to "5TH" in the large font struck in gold, silver, bronze and iron.
std::vector<Image> PlaceLabels(const Image& largeFont);
// The bar behind a new entry's ranking line, inside the ranking plate's recess.
constexpr int HighlightWidth = 292, HighlightHeight = 24;
Image EntryHighlight();

}  // namespace scenes
