// The two bitmap fonts, both drawn from one set of 5x7 glyph shapes: the small text font
// as it is, the large menu font doubled, outlined and shaded like polished steel.
#include <string_view>

#include "artgen.h"
#include "canvas.h"
#include "palette.h"

namespace {

// Printable ASCII from the space to '~', sixteen glyphs to a band; '#' is ink. Lower case
// keeps to the same seven rows, so descenders sit on a raised body.
constexpr std::string_view GlyphArt = R"(
..... ..#.. .#.#. .#.#. ..#.. ##... .##.. ..#.. ...#. .#... ..... ..... ..... ..... ..... .....
..... ..#.. .#.#. .#.#. .#### ##..# #..#. ..#.. ..#.. ..#.. ..#.. ..#.. ..... ..... ..... ....#
..... ..#.. .#.#. ##### #.#.. ...#. #.#.. .#... .#... ...#. #.#.# ..#.. ..... ..... ..... ...#.
..... ..#.. ..... .#.#. .###. ..#.. .#... ..... .#... ...#. .###. ##### ..... ##### ..... ..#..
..... ..#.. ..... ##### ..#.# .#... #.#.# ..... .#... ...#. #.#.# ..#.. .##.. ..... ..... .#...
..... ..... ..... .#.#. ####. #..## #..#. ..... ..#.. ..#.. ..#.. ..#.. ..#.. ..... .##.. #....
..... ..#.. ..... .#.#. ..#.. ...## .##.# ..... ...#. .#... ..... ..... .#... ..... .##.. .....

.###. ..#.. .###. ##### ...#. ##### ..##. ##### .###. .###. ..... ..... ...#. ..... .#... .###.
#...# .##.. #...# ...#. ..##. #.... .#... ....# #...# #...# .##.. .##.. ..#.. ..... ..#.. #...#
#..## ..#.. ....# ..#.. .#.#. ####. #.... ...#. #...# #...# .##.. .##.. .#... ##### ...#. ....#
#.#.# ..#.. ...#. ...#. #..#. ....# ####. ..#.. .###. .#### ..... ..... #.... ..... ....# ...#.
##..# ..#.. ..#.. ....# ##### ....# #...# .#... #...# ....# .##.. .##.. .#... ##### ...#. ..#..
#...# ..#.. .#... #...# ...#. #...# #...# .#... #...# ...#. .##.. ..#.. ..#.. ..... ..#.. .....
.###. .###. ##### .###. ...#. .###. .###. .#... .###. .##.. ..... .#... ...#. ..... .#... ..#..

.###. .###. ####. .###. ###.. ##### ##### .###. #...# .###. ..### #...# #.... #...# #...# .###.
#...# #...# #...# #...# #..#. #.... #.... #...# #...# ..#.. ...#. #..#. #.... ##.## #...# #...#
....# #...# #...# #.... #...# #.... #.... #.... #...# ..#.. ...#. #.#.. #.... #.#.# ##..# #...#
.##.# ##### ####. #.... #...# ####. ####. #.### ##### ..#.. ...#. ##... #.... #.#.# #.#.# #...#
#.#.# #...# #...# #.... #...# #.... #.... #...# #...# ..#.. ...#. #.#.. #.... #...# #..## #...#
#.#.# #...# #...# #...# #..#. #.... #.... #...# #...# ..#.. #..#. #..#. #.... #...# #...# #...#
.###. #...# ####. .###. ###.. ##### #.... .#### #...# .###. .##.. #...# ##### #...# #...# .###.

####. .###. ####. .#### ##### #...# #...# #...# #...# #...# ##### .###. ..... .###. ..#.. .....
#...# #...# #...# #.... ..#.. #...# #...# #...# #...# #...# ....# .#... #.... ...#. .#.#. .....
#...# #...# #...# #.... ..#.. #...# #...# #...# .#.#. #...# ...#. .#... .#... ...#. #...# .....
####. #...# ####. .###. ..#.. #...# #...# #.#.# ..#.. .#.#. ..#.. .#... ..#.. ...#. ..... .....
#.... #.#.# #.#.. ....# ..#.. #...# #...# #.#.# .#.#. ..#.. .#... .#... ...#. ...#. ..... .....
#.... #..#. #..#. ....# ..#.. #...# .#.#. #.#.# #...# ..#.. #.... .#... ....# ...#. ..... .....
#.... .##.# #...# ####. ..#.. .###. ..#.. .#.#. #...# ..#.. ##### .###. ..... .###. ..... #####

.#... ..... #.... ..... ....# ..... ..##. ..... #.... ..#.. ...#. #.... .##.. ..... ..... .....
..#.. ..... #.... ..... ....# ..... .#..# .#### #.... ..... ..... #.... ..#.. ..... ..... .....
...#. .###. #.##. .###. .##.# .###. .#... #...# #.##. .##.. ..##. #..#. ..#.. ##.#. #.##. .###.
..... ....# ##..# #.... #..## #...# ###.. #...# ##..# ..#.. ...#. #.#.. ..#.. #.#.# ##..# #...#
..... .#### #...# #.... #...# ##### .#... .#### #...# ..#.. ...#. ##... ..#.. #.#.# #...# #...#
..... #...# #...# #...# #...# #.... .#... ....# #...# ..#.. #..#. #.#.. ..#.. #...# #...# #...#
..... .#### ####. .###. .#### .###. .#... .###. #...# .###. .##.. #..#. .###. #...# #...# .###.

..... ..... ..... ..... .#... ..... ..... ..... ..... ..... ..... ...#. ..#.. .#... .....
####. .#### ..... ..... .#... ..... ..... ..... ..... #...# ..... ..#.. ..#.. ..#.. .....
#...# #...# #.##. .#### ###.. #...# #...# #...# #...# #...# ##### ..#.. ..#.. ..#.. .#...
#...# #...# ##..# #.... .#... #...# #...# #...# .#.#. #...# ...#. .#... ..#.. ...#. #.#.#
####. .#### #.... .###. .#... #...# #...# #.#.# ..#.. .#### ..#.. ..#.. ..#.. ..#.. ...#.
#.... ....# #.... ....# .#..# #..## .#.#. #.#.# .#.#. ....# .#... ..#.. ..#.. ..#.. .....
#.... ....# #.... ####. ..##. .##.# ..#.. .#.#. #...# .###. ##### ...#. ..#.. .#... .....
)";

constexpr int GlyphWidth = 5, GlyphHeight = 7;
constexpr int FirstPrintable = 32, LastPrintable = 126;
constexpr int FontColumns = 16;
constexpr int SmallCodes = 256, LargeCodes = 128;
// The large font doubles a glyph one row taller than the small one (so descenders hang)
// and rings it with a one-pixel outline.
constexpr int LargeRows = GlyphHeight + 1;
constexpr int LargeCellWidth = 2 * GlyphWidth + 2, LargeCellHeight = 2 * LargeRows + 2;

// Lower case whose tails hang below the line in a font with rows to spare.
constexpr std::string_view Descenders = "gjpqy";

// The glyph of `code` in `rows` rows; descenders move down into the extra rows.
Art Glyph(const Art& glyphs, int code, int rows) {
  int index = code - FirstPrintable;
  int left = index % FontColumns * (GlyphWidth + 1);
  int top = index / FontColumns * (GlyphHeight + 1);
  int drop =
      Descenders.find(static_cast<char>(code)) == std::string_view::npos ? 0 : rows - GlyphHeight;
  Art glyph(rows, std::string(GlyphWidth, '.'));
  for (int row = 0; row < GlyphHeight; ++row)
    glyph[row + drop] = glyphs[top + row].substr(left, GlyphWidth);
  return glyph;
}

// Doubles the art, smoothing diagonal steps the way Scale2x does; unlike Scale2x it leaves
// square corners and junctions alone (where the diagonal pixel agrees with both sides).
Art Smooth2x(const Art& art) {
  Art out(2 * HeightOf(art), std::string(2 * WidthOf(art), '.'));
  for (int y = 0; y < HeightOf(art); ++y)
    for (int x = 0; x < WidthOf(art); ++x)
      for (int corner = 0; corner < 4; ++corner) {
        int dx = corner % 2 ? 1 : -1, dy = corner / 2 ? 1 : -1;
        char side = ArtAt(art, x + dx, y), across = ArtAt(art, x, y + dy);
        bool step = side == across && side != ArtAt(art, x - dx, y) &&
                    across != ArtAt(art, x, y - dy) && ArtAt(art, x + dx, y + dy) != side;
        out[2 * y + corner / 2][2 * x + corner % 2] = step ? side : ArtAt(art, x, y);
      }
  return out;
}

// Gives the ink of row r the symbol shades[r], so a ramp of inks shades the art downwards.
Art ShadeRows(Art art, std::string_view shades) {
  for (size_t row = 0; row < art.size(); ++row)
    for (char& pixel : art[row])
      if (pixel != '.') pixel = shades[row];
  return art;
}

Art SmallLook(const Art& glyph) { return ShadeRows(glyph, "0000011"); }

// Ringed in ink on the shadow side, navy on the lit side.
Art LargeLook(const Art& glyph) {
  return Ringed(ShadeRows(Smooth2x(glyph), "0011122233344444"), 'n', 'k');
}

// One cell per code, sixteen to a row; codes without a printable glyph stay empty.
Image FontSheet(int cellWidth, int cellHeight, int cells, int glyphRows, Art (*look)(const Art&),
                std::initializer_list<Ink> inks) {
  Art glyphs = ParseArt(GlyphArt);
  Image sheet = MakeImage(FontColumns * cellWidth, cells / FontColumns * cellHeight, KeyColour);
  for (int code = FirstPrintable; code <= LastPrintable; ++code)
    BlitArt(sheet, code % FontColumns * cellWidth, code / FontColumns * cellHeight,
            look(Glyph(glyphs, code, glyphRows)), inks);
  return sheet;
}

}  // namespace

void DrawFonts(const std::filesystem::path& folder) {
  SaveSourceImage(FontSheet(GlyphWidth, GlyphHeight, SmallCodes, GlyphHeight, SmallLook,
                            {{'0', pal::White}, {'1', pal::PaleSteel}}),
                  folder, "font_small", FontColumns, SmallCodes / FontColumns);
  SaveSourceImage(FontSheet(LargeCellWidth, LargeCellHeight, LargeCodes, LargeRows, LargeLook,
                            {{'0', pal::White},
                             {'1', pal::PaleSteel},
                             {'2', pal::IceSteel},
                             {'3', pal::SteelBlue},
                             {'4', pal::DeepSteel},
                             {'n', pal::NavySteel},
                             {'k', pal::Ink}}),
                  folder, "font_large", FontColumns, LargeCodes / FontColumns);
}
