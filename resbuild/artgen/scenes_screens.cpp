// The screens after a play: the citadel at night behind them, dimmed so the text reads, the
// steel plates their texts stand on, the labels of the five places and the bar that marks a
// new entry.
#include <algorithm>
#include <array>
#include <string_view>

#include "scenes_art.h"
#include "tiles_kit.h"

namespace scenes {
namespace {

constexpr int Width = FieldWidth, Height = ScreenHeight;

struct Mood {
  std::array<SkyStop, 5> sky;
  CloudTones far, near;
  bool moon;
};
// The table: a still night under the moon. The continue prompt: the citadel on alert, the
// horizon aglow and smoke drifting.
constexpr Mood Still{{{{40, pal::Ink}, {160, pal::Void}, {300, pal::Navy}, {390, pal::Dusk},
                       {470, pal::Violet}}},
                     FarCloud,
                     NearCloud,
                     true};
constexpr CloudTones Smoke{pal::SmokeLight, pal::Smoke, pal::MetalShade, pal::MetalDark};
constexpr Mood Alert{{{{30, pal::Ink}, {150, pal::Void}, {250, pal::Navy}, {340, pal::Maroon},
                       {420, pal::Red}}},
                     Smoke,
                     Smoke,
                     false};

// How much light the dimmed picture keeps.
constexpr double Dimming = 0.55;

// The palette's colour nearest to the given one at the dimmed light.
Rgb Dimmed(Rgb colour) {
  auto distance = [&](Rgb candidate) {
    double r = candidate.r - colour.r * Dimming, g = candidate.g - colour.g * Dimming,
           b = candidate.b - colour.b * Dimming;
    return r * r + g * g + b * b;
  };
  return *std::min_element(pal::All.begin(), pal::All.end(),
                           [&](Rgb a, Rgb b) { return distance(a) < distance(b); });
}

// A round tower under a cone roof, a lit window high up and an arrow slit below it.
void Tower(Image& image, int left, int width, int top, int seed) {
  BrickTower(image, left, top, width, Height - 1, seed, true);
  ConeRoof(image, left, width, top, width * 5 / 6);
  LitWindow(image, left + width / 2 - 4, top + 24);
  ArrowSlit(image, left + width / 2 - 2, top + 70);
}

Image Citadel(const Mood& mood) {
  Image picture = MakeImage(Width, Height, pal::Ink);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) PixelAt(picture, x, y) = SkyBandAt(mood.sky, x, y);
  StarField(picture, 300, mood.moon ? 41 : 43, [](int, int y) { return 50 - y / 7; });
  if (mood.moon) Moon(picture, 386, 62, 22);
  Skyline(picture);
  CloudBank(picture, PuffRow(380, 28, 16, 13), Height, mood.far);
  // The curtain wall, a bridge out of it and the towers over it, the tallest on the right
  // where the plates leave the most of it in view.
  BrickTower(picture, 0, 396, Width, Height - 1, 17, false);
  for (int x = 40; x < Width; x += 96) LitWindow(picture, x, 420);
  Bridge(picture, 150, 330);
  Tower(picture, 6, 44, 300, 19);
  Tower(picture, 336, 68, 196, 29);
  CloudBank(picture, Wisp(196, 262, 130, 15), Height * 2, mood.far);
  CloudBank(picture, PuffRow(446, 30, 20, 21), Height, mood.near);
  for (Rgb& pixel : picture.pixels) pixel = Dimmed(pixel);
  return picture;
}

// The medal each place's label is struck in, by the large font's tones: White, PaleSteel,
// IceSteel, SteelBlue, DeepSteel, then its lit and its shaded outline.
constexpr std::array<Rgb, 7> ChromeTones{pal::White,     pal::PaleSteel, pal::IceSteel,
                                         pal::SteelBlue, pal::DeepSteel, pal::NavySteel,
                                         pal::Ink};
constexpr std::array<Rgb, 7> Gold{pal::YellowWhite, pal::Yellow, pal::Amber, pal::Orange,
                                  pal::Red,         pal::Maroon, pal::Ink};
constexpr std::array<Rgb, 7> Silver{pal::White,      pal::MetalGlint, pal::MetalLight,
                                    pal::MetalBase,  pal::MetalShade, pal::MetalDark,
                                    pal::Ink};
constexpr std::array<Rgb, 7> Bronze{pal::Sand, pal::Sand,     pal::Clay, pal::Clay,
                                    pal::Soil, pal::SoilDark, pal::Ink};
constexpr std::array<Rgb, 7> Iron{pal::IceSteel,  pal::SteelBlue, pal::DeepSteel, pal::DeepSteel,
                                  pal::NavySteel, pal::Navy,      pal::Ink};
struct Place {
  std::string_view text;
  const std::array<Rgb, 7>& medal;
};
const Place Places[] = {
    {"1ST", Gold}, {"2ND", Silver}, {"3RD", Bronze}, {"4TH", Iron}, {"5TH", Iron}};

// The large font's sheet holds codes 0 to 127, sixteen to a row; the game sets its glyphs a
// cell and a pixel apart.
constexpr int FontColumns = 16, FontRows = 8;

Image PlaceLabel(const Image& largeFont, const Place& place) {
  int cellWidth = largeFont.width / FontColumns, cellHeight = largeFont.height / FontRows;
  int advance = cellWidth + 1;
  Image label =
      MakeImage(static_cast<int>(place.text.size()) * advance - 1, cellHeight, KeyColour);
  for (size_t i = 0; i < place.text.size(); ++i) {
    auto code = static_cast<unsigned char>(place.text[i]);
    Image glyph = Crop(largeFont, code % FontColumns * cellWidth, code / FontColumns * cellHeight,
                       cellWidth, cellHeight);
    for (Rgb& pixel : glyph.pixels) {
      auto tone = std::find(ChromeTones.begin(), ChromeTones.end(), pixel);
      if (tone != ChromeTones.end()) pixel = place.medal[size_t(tone - ChromeTones.begin())];
    }
    Stamp(label, glyph, static_cast<int>(i) * advance, 0);
  }
  return label;
}

}  // namespace

Image ScreenBackdrop(Backdrop which) { return Citadel(which == Backdrop::Continue ? Alert : Still); }

Image FramedPlate(int width, int height) {
  Image plate = MakeImage(width, height, KeyColour);
  RaisedPlate(plate, 0, 0, width, height);
  Recess(plate, PlateFrame, PlateFrame, width - 2 * PlateFrame, height - 2 * PlateFrame, pal::Void);
  return plate;
}

std::vector<Image> PlaceLabels(const Image& largeFont) {
  std::vector<Image> labels;
  for (const Place& place : Places) labels.push_back(PlaceLabel(largeFont, place));
  return labels;
}

// A warm band across the line, rimmed in red, a chevron at its right end pointing at the name.
Image EntryHighlight() {
  Image bar = MakeImage(HighlightWidth, HighlightHeight, pal::Maroon);
  FillRect(bar, 0, 0, HighlightWidth, 1, pal::Amber);
  FillRect(bar, 0, 1, HighlightWidth, 1, pal::Red);
  FillRect(bar, 0, HighlightHeight - 2, HighlightWidth, 1, pal::Red);
  FillRect(bar, 0, HighlightHeight - 1, HighlightWidth, 1, pal::Ink);
  constexpr int Tip = HighlightWidth - 14, Middle = HighlightHeight / 2;
  for (int i = 0; i < 6; ++i) FillRect(bar, Tip + i, Middle - i, 1, 2 * i + 1, pal::Amber);
  FillRect(bar, Tip + 1, Middle, 3, 1, pal::YellowWhite);
  return bar;
}

}  // namespace scenes
