// The title picture and its footer, the score panel's frame, the life icon with its loss
// frames and the screens after a play. They reuse the fonts and the ship as artgen saved
// them, so they are drawn last.
#include <utility>

#include "artgen.h"
#include "scenes_art.h"

namespace scenes {

Image LoadDrawn(const std::filesystem::path& folder, const std::string& name) {
  std::filesystem::path file = folder / (name + ".png");
  return DecodePng(ReadFileBytes(file), file.string());
}

void Stamp(Image& base, const Image& top, int x, int y) {
  for (int row = 0; row < top.height; ++row)
    for (int col = 0; col < top.width; ++col)
      if (PixelAt(top, col, row) != KeyColour) Plot(base, x + col, y + row, PixelAt(top, col, row));
}

bool SmallFont::Inked(char code, int x, int y) const {
  constexpr int Columns = 16;
  auto index = static_cast<unsigned char>(code);
  if (x < 0 || y < 0 || x >= GlyphWidth || y >= GlyphHeight) return false;
  return PixelAt(sheet, index % Columns * GlyphWidth + x, index / Columns * GlyphHeight + y) !=
         KeyColour;
}

int TextWidth(std::string_view text) {
  return text.empty() ? 0 : static_cast<int>(text.size()) * GlyphAdvance - 1;
}

namespace {

// Calls plot(x, y) for every inked pixel of the text set at (left, top).
template <typename Plotter>
void ForEachInked(std::string_view text, const SmallFont& font, int left, int top, Plotter plot) {
  for (size_t i = 0; i < text.size(); ++i)
    for (int y = 0; y < GlyphHeight; ++y)
      for (int x = 0; x < GlyphWidth; ++x)
        if (font.Inked(text[i], x, y)) plot(left + static_cast<int>(i) * GlyphAdvance + x, top + y);
}

}  // namespace

void EngraveText(Image& image, int x, int y, std::string_view text, const SmallFont& font, Rgb cut,
                 Rgb lip) {
  ForEachInked(text, font, x + 1, y + 1, [&](int px, int py) { Plot(image, px, py, lip); });
  ForEachInked(text, font, x, y, [&](int px, int py) { Plot(image, px, py, cut); });
}

void RaisedPlate(Image& image, int left, int top, int width, int height) {
  FillRect(image, left, top, width, height, pal::Ink);
  FillRect(image, left, top, width - 1, height - 1, PlateSteel.light);
  FillRect(image, left + 1, top + 1, width - 2, height - 2, PlateSteel.shade);
  FillRect(image, left + 1, top + 1, width - 3, height - 3, PlateSteel.base);
  for (int x : {left + 3, left + width - 6})
    for (int y : {top + 3, top + height - 6}) {
      FillRect(image, x + 1, y + 1, 2, 2, pal::Ink);
      Rivet(image, x, y, RivetHead);
    }
}

namespace {

bool IsKey(const Image& image, int x, int y) {
  return x < 0 || y < 0 || x >= image.width || y >= image.height ||
         PixelAt(image, x, y) == KeyColour;
}

}  // namespace

// Doubling makes the outline two pixels thick; its inner half takes the colour of the
// hull just inside it.
Image HeroShip(const Image& shipStrip) {
  constexpr int ShipCell = 64, LevelFrame = 1, CoreLampFrame = 3;
  Image ship = Crop(shipStrip, LevelFrame * ShipCell, 0, ShipCell, ShipCell);
  Overlay(ship, Crop(shipStrip, CoreLampFrame * ShipCell, 0, ShipCell, ShipCell));
  Image doubled = MakeImage(2 * ShipCell, 2 * ShipCell, KeyColour);
  Scale2x(
      ShipCell, ShipCell,
      [&](int x, int y) { return IsKey(ship, x, y) ? KeyColour : PixelAt(ship, x, y); },
      [&](int x, int y, Rgb colour) { PixelAt(doubled, x, y) = colour; });
  Image thinned = doubled;
  for (int y = 0; y < doubled.height; ++y)
    for (int x = 0; x < doubled.width; ++x) {
      if (PixelAt(doubled, x, y) != pal::Ink) continue;
      bool outer = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) outer = outer || IsKey(doubled, x + dx, y + dy);
      if (outer) continue;
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        int inX = x + dx, inY = y + dy;
        // Only where the outline borders the key on the far side is this its inner half.
        if (IsKey(doubled, x - 2 * dx, y - 2 * dy) && !IsKey(doubled, inX, inY) &&
            PixelAt(doubled, inX, inY) != pal::Ink) {
          PixelAt(thinned, x, y) = PixelAt(doubled, inX, inY);
          break;
        }
      }
    }
  return thinned;
}

}  // namespace scenes

void DrawScenes(const std::filesystem::path& folder) {
  using namespace scenes;
  SmallFont font{LoadDrawn(folder, "font_small")};
  std::vector<Image> life = LifeIconFrames();
  SaveSourceImage(TitlePicture(HeroShip(LoadDrawn(folder, "player_ship"))), folder,
                  "title_picture");
  SaveSourceImage(TitleFooter(font), folder, "title_footer");
  SaveSourceImage(PanelFrame(font, life.front()), folder, "panel_frame");
  SaveFrames(life, folder, "life_icon", static_cast<int>(life.size()));
  SaveSourceImage(ScreenBackdrop(Backdrop::Continue), folder, "continue_backdrop");
  SaveSourceImage(ScreenBackdrop(Backdrop::Ranking), folder, "ranking_backdrop");
  for (const PlateSize& plate : ScreenPlates)
    SaveSourceImage(FramedPlate(plate.width, plate.height), folder, std::string(plate.name));
  std::vector<Image> places = PlaceLabels(LoadDrawn(folder, "font_large"));
  SaveFrames(places, folder, "ranking_place", static_cast<int>(places.size()));
  SaveSourceImage(EntryHighlight(), folder, "entry_highlight");
}
