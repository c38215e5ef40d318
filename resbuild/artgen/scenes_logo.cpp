// The VELDRANE logo: heavy letters with cut corners, leaning forward, in polished steel over
// a dark bevelled depth. The panel shows the letters as drawn, the title doubles them.
#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "scenes_art.h"

namespace scenes {
namespace {

constexpr int LetterWidth = 19, LetterHeight = 24;

// The letters the name needs, four to a band, one space between letters; '#' is solid.
constexpr std::string_view LetterBands[] = {R"(
#####.........##### ...################ ...##.............. #############......
#####.........##### ..################# ..###.............. ##############.....
#####.........##### .################## .####.............. ###############....
#####.........##### ################### #####.............. ################...
#####.........##### #####.............. #####.............. #####.......#####..
#####.........##### #####.............. #####.............. #####........#####.
#####.........##### #####.............. #####.............. #####.........#####
#####.........##### #####.............. #####.............. #####.........#####
#####.........##### #####.............. #####.............. #####.........#####
#####.........##### #####.............. #####.............. #####.........#####
#####.........##### ################... #####.............. #####.........#####
#####.........##### ################... #####.............. #####.........#####
#####.........##### ################... #####.............. #####.........#####
#####.........##### ################... #####.............. #####.........#####
#####.........##### #####.............. #####.............. #####.........#####
.#####.......#####. #####.............. #####.............. #####.........#####
..#####.....#####.. #####.............. #####.............. #####.........#####
...#####...#####... #####.............. #####.............. #####.........#####
....#####.#####.... #####.............. #####.............. #####........#####.
.....#########..... #####.............. #####.............. #####.......#####..
......#######...... ################### ################### ################...
.......#####....... .################## .################## ###############....
........###........ ..################# ..################# ##############.....
.........#......... ...################ ...################ #############......)",
                                            R"(
...##########...... .....#########..... ...##.........#####
..############..... ....###########.... ..###.........#####
.##############.... ...#############... .####.........#####
################... ..###############.. #####.........#####
#####.......#####.. .#####.......#####. #####.........#####
#####........#####. #####.........##### #####.........#####
#####.........##### #####.........##### #####.........#####
#####.........##### #####.........##### ######........#####
#####.........##### #####.........##### #######.......#####
#####........###### #####.........##### ########......#####
##################. #####.........##### #########.....#####
#################.. #####.........##### ##########....#####
################... ################### ###########...#####
###############.... ################### #####.######..#####
#####..######...... ################### #####..######.#####
#####...######..... ################### #####...###########
#####....######.... #####.........##### #####....##########
#####.....######... #####.........##### #####.....#########
#####......######.. #####.........##### #####......########
#####.......######. #####.........##### #####.......#######
#####........###### #####.........##### #####........######
.####........###### #####.........##### #####.........####.
..###........###### #####.........##### #####.........###..
...##........###### #####.........##### #####.........##...)"};
constexpr std::string_view LetterNames = "VELDRAN";
constexpr int LettersPerBand = 4;

Art LetterArt(char name) {
  size_t index = LetterNames.find(name);
  if (index == std::string_view::npos) throw BuildError(std::string("logo: no letter ") + name);
  Art band = ParseArt(LetterBands[index / LettersPerBand]);
  int left = static_cast<int>(index % LettersPerBand) * (LetterWidth + 1);
  Art letter;
  for (const std::string& row : band) letter.push_back(row.substr(left, LetterWidth));
  return letter;
}

// The word's letters side by side, each marked with its own symbol ('a' for the first), so
// that one letter's depth can be told from the next letter's face.
Art Lettering(std::string_view word) {
  Art lettering(LetterHeight);
  for (size_t i = 0; i < word.size(); ++i) {
    Art letter = LetterArt(word[i]);
    for (std::string& row : letter) std::replace(row.begin(), row.end(), '#', char('a' + i));
    for (int row = 0; row < LetterHeight; ++row)
      lettering[row] += (lettering[row].empty() ? "" : ".") + letter[row];
  }
  return lettering;
}

Art Doubled(const Art& art) {
  Art out(2 * HeightOf(art), std::string(2 * WidthOf(art), '.'));
  Scale2x(
      WidthOf(art), HeightOf(art), [&](int x, int y) { return ArtAt(art, x, y); },
      [&](int x, int y, char symbol) { out[y][x] = symbol; });
  return out;
}

// Leaning forward: each row moves right by one pixel per `rise` rows above the bottom.
Art Leaning(const Art& art, int rise) {
  int height = HeightOf(art), lean = (height - 1) / rise;
  Art out(height, std::string(WidthOf(art) + lean, '.'));
  for (int y = 0; y < height; ++y) out[y].replace((height - 1 - y) / rise, WidthOf(art), art[y]);
  return out;
}

// Steel from light to deep, the order the bevels step along.
constexpr Rgb Steels[] = {pal::White,     pal::PaleSteel, pal::IceSteel,
                          pal::SteelBlue, pal::DeepSteel, pal::NavySteel};
constexpr int Darkest = static_cast<int>(std::size(Steels)) - 1;

// The face's steel by row, two digits a row (indices into Steels) dithered in a checker:
// the sky's light fading to a dark horizon at the middle, the ground's below it, falling
// dark towards the foot.
constexpr int RampRows = 48;
// clang-format off
constexpr std::string_view LargeRamp =
    "00" "00" "01" "11111111" "12" "22222222" "12" "11111111" "01" "000000"
    "55" "55" "45"  // the horizon
    "44" "34" "33333333" "23" "222222222222" "12" "111111" "12" "22" "23" "33" "34" "44" "45";
// clang-format on
static_assert(LargeRamp.size() == 2 * RampRows);

int RampTone(int row, int rows, int x) {
  int atRow = row * RampRows / rows;
  int first = LargeRamp.at(2 * atRow) - '0', second = LargeRamp.at(2 * atRow + 1) - '0';
  return (x + row) % 2 ? second : first;
}

bool Solid(const Art& art, int x, int y) { return ArtAt(art, x, y) != '.'; }

}  // namespace

Image Logo(bool large) {
  Art face = Lettering("VELDRANE");
  if (large) face = Doubled(face);
  face = Leaning(face, 4);
  const int depth = large ? 4 : 2, rows = HeightOf(face);
  // Room for the depth below and to the right, and for the rings round everything: ink, and
  // on the title a red edge that stands out from the sky.
  const int margin = large ? 3 : 1;
  Image logo = MakeImage(WidthOf(face) + depth + 2 * margin, rows + depth + 2 * margin, KeyColour);
  auto faceAt = [&](int x, int y) { return Solid(face, x - margin, y - margin); };
  auto letterAt = [&](int x, int y) { return ArtAt(face, x - margin, y - margin); };
  // The letter whose depth reaches here, or '.'.
  auto depthOf = [&](int x, int y) {
    for (int k = 1; k <= depth; ++k)
      if (faceAt(x - k, y - k)) return letterAt(x - k, y - k);
    return '.';
  };
  auto depthAt = [&](int x, int y) { return depthOf(x, y) != '.'; };
  auto shapeAt = [&](int x, int y) { return faceAt(x, y) || depthAt(x, y); };
  for (int y = 0; y < logo.height; ++y)
    for (int x = 0; x < logo.width; ++x) {
      if (faceAt(x, y)) {
        int tone = RampTone(y - margin, rows, x);
        if (!faceAt(x, y - 1))
          tone = 0;
        else if (!faceAt(x - 1, y))
          tone = std::max(tone - 2, 0);
        else if (!faceAt(x, y + 1) || !faceAt(x + 1, y))
          tone = std::min(tone + 1, Darkest);
        PixelAt(logo, x, y) = Steels[tone];
      } else if (depthAt(x, y)) {
        // The underside catches a little light from the ground; the right sides are in shade.
        bool under = false;
        for (int k = 1; k <= depth; ++k) under = under || faceAt(x, y - k);
        // Ink where it ends, where it folds under a face and where another letter's face
        // stands in front of it.
        bool hidden = !shapeAt(x + 1, y + 1) || faceAt(x + 1, y) || faceAt(x, y + 1);
        for (auto [dx, dy] : {std::pair{-1, 0}, {0, -1}})
          hidden = hidden || (faceAt(x + dx, y + dy) && letterAt(x + dx, y + dy) != depthOf(x, y));
        PixelAt(logo, x, y) = hidden ? pal::Ink : under ? pal::DeepSteel : pal::NavySteel;
      } else {
        int ring = margin + 1;
        for (int dy = -margin; dy <= margin; ++dy)
          for (int dx = -margin; dx <= margin; ++dx)
            if (shapeAt(x + dx, y + dy))
              ring = std::min(ring, std::max(std::abs(dx), std::abs(dy)));
        constexpr Rgb Rings[] = {pal::Ink, pal::Ink, pal::Red, pal::Maroon};
        if (ring <= margin) PixelAt(logo, x, y) = Rings[ring];
      }
    }
  return logo;
}

}  // namespace scenes
