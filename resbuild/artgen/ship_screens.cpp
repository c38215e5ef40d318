// Pictures that cover the play: the screen-wipe tiles and the GAME OVER sign.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "palette.h"
#include "ship_art.h"

namespace {

// --- screen wipe ---

constexpr int WipeTile = 32;
constexpr int ClosingFrames = 16, OpeningFrames = 15;

// Steps from the tile's middle: 1 at its four middle pixels, Farthest at its corners. A
// grid of tiles showing the same frame makes one lattice of diamonds.
constexpr int Farthest = WipeTile - 1;

int DiamondDistance(int x, int y) {
  return std::abs(2 * x + 1 - WipeTile) / 2 + std::abs(2 * y + 1 - WipeTile) / 2 + 1;
}

// The covered screen: near-black navy with a faint diagonal lattice that runs on from
// tile to tile.
Rgb Cover(int x, int y) {
  bool onLattice = (x + y) % 16 == 0 || (x - y + WipeTile) % 16 == 0;
  bool crossing = (x + y) % 16 == 0 && (x - y + WipeTile) % 16 == 0;
  return crossing ? pal::NavySteel : onLattice ? pal::Navy : pal::Ink;
}

// Covers the pixels from `nearest` to `farthest` steps from the middle, with a lit steel
// rim two pixels deep along a bound that cuts through the tile.
Image WipeFrame(int nearest, int farthest) {
  Image tile = MakeImage(WipeTile, WipeTile, KeyColour);
  for (int y = 0; y < WipeTile; ++y)
    for (int x = 0; x < WipeTile; ++x) {
      int distance = DiamondDistance(x, y);
      if (distance < nearest || distance > farthest) continue;
      int inside = std::min(nearest > 1 ? distance - nearest : WipeTile,
                            farthest < Farthest ? farthest - distance : WipeTile);
      PixelAt(tile, x, y) = inside == 0   ? pal::DeepSteel
                            : inside == 1 ? pal::NavySteel
                                          : Cover(x, y);
    }
  return tile;
}

// --- GAME OVER ---

constexpr int SignWidth = 156, SignHeight = 64;
constexpr int LetterGap = 2, WordGap = 10, LetterTop = 21;

struct Letter {
  char name;
  std::string_view art;
};

constexpr Letter Letters[] = {
    {'G', R"(
....#######....
..###########..
.#############.
####.......####
####.......####
####...........
####...........
####...........
####...........
####...########
####...########
####...########
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
.#############.
..###########..
....#######....)"},
    {'A', R"(
.....#####.....
...#########...
..###########..
.####.....####.
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
###############
###############
###############
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####)"},
    {'M', R"(
####.........####
#####.......#####
######.....######
#######...#######
########.########
####.#######.####
####..#####..####
####...###...####
####....#....####
####.........####
####.........####
####.........####
####.........####
####.........####
####.........####
####.........####
####.........####
####.........####
####.........####
####.........####
####.........####
####.........####)"},
    {'E', R"(
###############
###############
###############
####...........
####...........
####...........
####...........
####...........
####...........
###########....
###########....
###########....
####...........
####...........
####...........
####...........
####...........
####...........
####...........
###############
###############
###############)"},
    {'O', R"(
....#######....
..###########..
.#############.
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
.#############.
..###########..
....#######....)"},
    {'V', R"(
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####
.####.....####.
.####.....####.
..####...####..
..####...####..
...####.####...
...####.####...
....#######....
....#######....
.....#####.....
.....#####.....
......###......
......###......)"},
    {'R', R"(
############...
#############..
##############.
####.......####
####.......####
####.......####
####.......####
####.......####
##############.
#############..
############...
####....####...
####.....####..
####.....####..
####......####.
####......####.
####.......####
####.......####
####.......####
####.......####
####.......####
####.......####)"},
};

Art LetterArt(char name) {
  for (const Letter& letter : Letters)
    if (letter.name == name) return ParseArt(letter.art);
  throw BuildError(std::string("GAME OVER sign: no letter '") + name + "'");
}

// The words' letters side by side, '#' where they are solid.
Art Lettering(std::string_view words) {
  Art lettering;
  for (char name : words) {
    Art letter = name == ' ' ? Art{} : LetterArt(name);
    if (lettering.empty()) lettering.resize(letter.size());
    int gap = name == ' ' ? WordGap - LetterGap : LetterGap;
    for (size_t row = 0; row < lettering.size(); ++row) {
      if (lettering[row].size()) lettering[row] += std::string(gap, '.');
      if (!letter.empty()) lettering[row] += letter[row];
    }
  }
  return lettering;
}

bool SolidAt(const Art& art, int x, int y) { return ArtAt(art, x, y) == '#'; }

// Everything within a pixel of the lettering, drawn in `colour` with the lettering's
// top-left at (left, top).
void Silhouette(Image& image, const Art& art, int left, int top, Rgb colour) {
  BlitArt(image, left - 1, top - 1, Ringed(art, '#', '#'), {{'#', colour}});
}

// Polished steel: a sky of pale blues above a dark horizon, the ground's glow below it,
// lit edges at the top and left and shaded ones at the bottom and right.
void Chrome(Image& image, const Art& art, int left, int top) {
  constexpr Rgb Tones[] = {pal::White,     pal::PaleSteel, pal::IceSteel,
                           pal::SteelBlue, pal::DeepSteel, pal::NavySteel};
  constexpr std::string_view Ramp = "0112223334544332211234";
  constexpr int Darkest = static_cast<int>(std::size(Tones)) - 1;
  for (int y = 0; y < HeightOf(art); ++y)
    for (int x = 0; x < WidthOf(art); ++x) {
      if (!SolidAt(art, x, y)) continue;
      int tone = Ramp[y] - '0';
      if (!SolidAt(art, x, y - 1))
        tone = 0;
      else if (!SolidAt(art, x - 1, y))
        tone = std::max(tone - 1, 0);
      else if (!SolidAt(art, x + 1, y) || !SolidAt(art, x, y + 1))
        tone = std::min(tone + 1, Darkest);
      PixelAt(image, left + x, top + y) = Tones[tone];
    }
}

// A dark band the width of the sign between two steel rules, for the lettering to stand on
// over any background.
void Band(Image& sign) {
  constexpr int Top = 13, Bottom = 50;
  FillRect(sign, 0, Top, SignWidth, Bottom - Top + 1, pal::Ink);
  FillRect(sign, 0, Top + 1, SignWidth, 1, pal::DeepSteel);
  FillRect(sign, 0, Bottom - 1, SignWidth, 1, pal::DeepSteel);
  FillRect(sign, 0, Top + 3, SignWidth, Bottom - Top - 5, pal::Navy);
}

}  // namespace

// Diamonds growing until the tile is covered, then holes growing until it is open.
std::vector<Image> ScreenWipeFrames() {
  std::vector<Image> frames;
  for (int frame = 0; frame < ClosingFrames; ++frame)
    frames.push_back(WipeFrame(1, 1 + frame * (Farthest - 2) / (ClosingFrames - 1)));
  frames.push_back(WipeFrame(1, Farthest));
  for (int frame = 0; frame < OpeningFrames; ++frame)
    frames.push_back(WipeFrame(2 + frame * (Farthest - 2) / (OpeningFrames - 1), Farthest));
  return frames;
}

Image GameOverPicture() {
  Image sign = MakeImage(SignWidth, SignHeight, KeyColour);
  Band(sign);
  Art lettering = Lettering("GAME OVER");
  // A pixel left of the middle, so that letters and drop shadow together are centred.
  int left = (SignWidth - WidthOf(lettering)) / 2 - 1;
  Silhouette(sign, lettering, left + 2, LetterTop + 2, pal::Ink);
  Silhouette(sign, lettering, left, LetterTop, pal::Ink);
  Chrome(sign, lettering, left, LetterTop);
  return sign;
}
