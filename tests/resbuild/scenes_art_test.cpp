// The title picture, its footer, the panel frame, the life icons and the plates of the screens
// after a play as the game draws them: where the game writes over them they stay dark and
// plain, each lands where it is drawn, the box the title blanks is a window's pane, the logo
// is there in steel, and a lost life fades to nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "../../resbuild/artgen/palette.h"
#include "built_art.h"

namespace {

constexpr int TitlePicture = 396, TitleFooter = 385, PanelFrame = 387;
constexpr int LifeIcon = 388, LossFrames = 7, LastLossFrame = LifeIcon + LossFrames;
constexpr int FieldWidth = 448;

struct Area {
  int left, top, right, bottom;  // inclusive
};
// The menu ("GAME START", "OPTION", "QUIT" and the cursor) and the box the game blanks:
// FillBox(82, 204, 8, 15) fills 7 by 14.
constexpr Area MenuArea{130, 255, 330, 345};
constexpr Area BlankedBox{82, 204, 88, 217};
// The numbers: eleven large-font cells of 13 from x 480, 18 rows from these tops.
constexpr int NumberTops[] = {264, 328, 392};
constexpr Area LifeRow{480, 424, 639, 455};

// The chrome letters' tones, light to deep.
constexpr Rgb LogoSteels[] = {pal::White,     pal::PaleSteel, pal::IceSteel,
                              pal::SteelBlue, pal::DeepSteel, pal::NavySteel};

// The brightest sky the menu's white letters may stand on.
constexpr int DarkestTextGround = 48;

bool Opaque(Rgb c) { return c != KeyColour; }

// Perceived brightness, 0 to 255.
int Brightness(Rgb c) { return (3 * c.r + 6 * c.g + c.b) / 10; }

int OpaqueCount(const Image& image) {
  return static_cast<int>(std::count_if(image.pixels.begin(), image.pixels.end(), Opaque));
}

bool IsLogoSteel(Rgb c) {
  return std::find(std::begin(LogoSteels), std::end(LogoSteels), c) != std::end(LogoSteels);
}

class ScenesArt : public BuiltArt {
 protected:
  // The sprite as it lands on a 640x480 screen when drawn at (x, y); the key elsewhere.
  Image OnScreen(int id, int x, int y) const {
    const SpriteRecord& box = index.sprites[id];
    Image drawn = Drawn(id), screen = MakeImage(640, 480, KeyColour);
    for (int row = 0; row < drawn.height; ++row)
      for (int col = 0; col < drawn.width; ++col) {
        int sx = x + box.Left + col, sy = y + box.Top + row;
        if (sx >= 0 && sy >= 0 && sx < 640 && sy < 480)
          PixelAt(screen, sx, sy) = PixelAt(drawn, col, row);
      }
    return screen;
  }

  // Every pixel of the area drawn, none brighter than `brightest`, in at most `colours` colours.
  static void ExpectDarkAndPlain(const Image& screen, Area area, int brightest, size_t colours) {
    std::set<std::tuple<int, int, int>> seen;
    for (int y = area.top; y <= area.bottom; ++y)
      for (int x = area.left; x <= area.right; ++x) {
        Rgb c = PixelAt(screen, x, y);
        ASSERT_TRUE(Opaque(c)) << x << "," << y;
        ASSERT_LE(Brightness(c), brightest) << x << "," << y;
        seen.insert({c.r, c.g, c.b});
      }
    EXPECT_LE(seen.size(), colours);
  }
};

}  // namespace

TEST_F(ScenesArt, EachPictureHasPiecesAndTheBoxWhereTheGameDrawsIt) {
  struct Expected {
    int id;
    Box box;
  };
  for (Expected expected : {Expected{TitlePicture, {0, 0, 448, 480}},
                            {TitleFooter, {0, 0, 304, 32}},
                            {PanelFrame, {448, 0, 192, 480}}}) {
    SCOPED_TRACE(expected.id);
    const SpriteRecord& sprite = index.sprites[expected.id];
    EXPECT_FALSE(ChainOf(index, expected.id).empty());
    EXPECT_EQ(sprite.Left, expected.box.left);
    EXPECT_EQ(sprite.Top, expected.box.top);
    EXPECT_EQ(sprite.Width, expected.box.width);
    EXPECT_EQ(sprite.Height, expected.box.height);
  }
  for (int id = LifeIcon; id <= LastLossFrame; ++id) {
    EXPECT_FALSE(ChainOf(index, id).empty()) << id;
    EXPECT_EQ(index.sprites[id].Width, 32) << id;
    EXPECT_EQ(index.sprites[id].Height, 32) << id;
  }
}

// The sheet's key is the picture's top-left pixel; everything else hides the cleared screen.
TEST_F(ScenesArt, TitlePictureIsOpaqueButForItsKeyPixel) {
  Image title = Drawn(TitlePicture);
  EXPECT_FALSE(Opaque(PixelAt(title, 0, 0)));
  EXPECT_EQ(OpaqueCount(title), title.width * title.height - 1);
}

TEST_F(ScenesArt, MenuStandsOnCalmDarkSky) {
  ExpectDarkAndPlain(OnScreen(TitlePicture, 0, 0), MenuArea, DarkestTextGround, 4);
}

// The box is the dark pane of a window: the pane a pixel wider than the box on every side, its
// frame beside and below it (above, the pane runs on into the arch).
TEST_F(ScenesArt, BlankedBoxIsAWindowsPane) {
  Image title = OnScreen(TitlePicture, 0, 0);
  for (int y = BlankedBox.top - 1; y <= BlankedBox.bottom + 2; ++y)
    for (int x = BlankedBox.left - 2; x <= BlankedBox.right + 2; ++x) {
      bool frame = x < BlankedBox.left - 1 || x > BlankedBox.right + 1 || y > BlankedBox.bottom + 1;
      ASSERT_EQ(PixelAt(title, x, y) == pal::Ink, !frame) << x << "," << y;
    }
}

// Every text of the screens after a play stands in the dark recess of its plate.
TEST_F(ScenesArt, ScreenTextsStandInTheirPlatesDarkRecesses) {
  struct Row {
    int plate, x, y;
    Area text;
  };
  constexpr int HeadingPlate = 726, RankingPlate = 727, ChoicePlate = 728, KeysPlate = 729;
  for (Row row : {Row{HeadingPlate, 96, 89, {156, 100, 285, 117}},      // "NAME ENTRY"
                  Row{HeadingPlate, 96, 134, {112, 145, 332, 162}},     // "C O N T I N U E ?"
                  Row{RankingPlate, 4, 150, {65, 164, 285, 309}},       // eleven places and a name
                  Row{ChoicePlate, 140, 208, {156, 222, 252, 273}},     // cursor, YES and NO
                  Row{KeysPlate, 54, 438, {62, 447, 385, 453}}}) {      // the widest line of keys
    SCOPED_TRACE(row.text.top);
    ExpectDarkAndPlain(OnScreen(row.plate, row.x, row.y), row.text, 20, 1);
  }
}

// Eight separate letters of steel, centred over the field, bright along their tops and dark
// along their feet.
TEST_F(ScenesArt, TitleCarriesTheLogoInPolishedSteel) {
  Image title = Drawn(TitlePicture);
  constexpr int Top = 10, Bottom = 110;  // above the ship
  std::vector<std::vector<int>> letter(Bottom, std::vector<int>(FieldWidth, -1));
  std::vector<int> sizes;
  for (int y = Top; y < Bottom; ++y)
    for (int x = 0; x < FieldWidth; ++x) {
      if (!IsLogoSteel(PixelAt(title, x, y)) || letter[y][x] >= 0) continue;
      int label = static_cast<int>(sizes.size());
      std::vector<std::pair<int, int>> stack{{x, y}};
      letter[y][x] = label;
      sizes.push_back(0);
      while (!stack.empty()) {
        auto [px, py] = stack.back();
        stack.pop_back();
        ++sizes[label];
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          int nx = px + dx, ny = py + dy;
          if (nx < 0 || nx >= FieldWidth || ny < Top || ny >= Bottom || letter[ny][nx] >= 0 ||
              !IsLogoSteel(PixelAt(title, nx, ny)))
            continue;
          letter[ny][nx] = label;
          stack.push_back({nx, ny});
        }
      }
    }
  std::vector<int> letters;
  for (int label = 0; label < static_cast<int>(sizes.size()); ++label)
    if (sizes[label] > 300) letters.push_back(label);
  ASSERT_EQ(letters.size(), 8u);

  // The letters' extent; a glint's thin arms reaching past them do not count as rows.
  int left = FieldWidth, right = 0, top = Bottom, bottom = 0;
  for (int y = Top; y < Bottom; ++y) {
    int inRow = 0;
    for (int x = 0; x < FieldWidth; ++x)
      if (letter[y][x] >= 0 && sizes[letter[y][x]] > 300)
        ++inRow, left = std::min(left, x), right = std::max(right, x);
    if (inRow >= 40) top = std::min(top, y), bottom = std::max(bottom, y);
  }
  EXPECT_GE(right - left + 1, 300);
  EXPECT_GE(bottom - top + 1, 44);
  EXPECT_NEAR((left + right) / 2.0, FieldWidth / 2.0, 8);

  auto meanBrightness = [&](int fromRow, int rows) {
    long sum = 0, count = 0;
    for (int y = fromRow; y < fromRow + rows; ++y)
      for (int x = left; x <= right; ++x)
        if (letter[y][x] >= 0 && sizes[letter[y][x]] > 300)
          sum += Brightness(PixelAt(title, x, y)), ++count;
    return count ? sum / count : -1;
  };
  EXPECT_GT(meanBrightness(top, 3), 200);
  EXPECT_LT(meanBrightness(bottom - 5, 6), 120);
}

TEST_F(ScenesArt, FooterPlateSitsUnderTheMiddleOfThePicture) {
  Image footer = OnScreen(TitleFooter, 144, 448);
  int left = 640, right = -1;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (Opaque(PixelAt(footer, x, y))) left = std::min(left, x), right = std::max(right, x);
  ASSERT_GE(right, left);
  EXPECT_GE(left, 144);
  EXPECT_LT(right, FieldWidth);
  EXPECT_NEAR((left + right) / 2.0, FieldWidth / 2.0, 1);
}

TEST_F(ScenesArt, PanelFrameLandsRightOfTheFieldOnly) {
  for (const PieceRecord& piece : ChainOf(index, PanelFrame)) {
    EXPECT_GE(piece.OffsetX, FieldWidth);
    EXPECT_LE(piece.OffsetX + piece.Width, 640);
  }
  Image panel = OnScreen(PanelFrame, 0, 0);
  for (int y = 0; y < 480; ++y) {
    EXPECT_FALSE(Opaque(PixelAt(panel, FieldWidth - 1, y))) << y;
    EXPECT_TRUE(Opaque(PixelAt(panel, FieldWidth, y))) << y;
    EXPECT_TRUE(Opaque(PixelAt(panel, 639, y))) << y;
  }
}

// The game fills the panel black first; the frame leaves none of it showing.
TEST_F(ScenesArt, PanelFrameCoversThePanelWhole) {
  EXPECT_EQ(OpaqueCount(Drawn(PanelFrame)), 192 * 480);
}

TEST_F(ScenesArt, NumberFieldsAndLifeRowAreDarkAndPlain) {
  Image panel = OnScreen(PanelFrame, 0, 0);
  for (int top : NumberTops) {
    SCOPED_TRACE(top);
    ExpectDarkAndPlain(panel, {480, top, 480 + 11 * 13 - 1, top + 17}, 40, 1);
    // A dark margin round the digits, so no lit edge touches them.
    ExpectDarkAndPlain(panel, {477, top - 2, 625, top + 20}, 40, 2);
  }
  ExpectDarkAndPlain(panel, LifeRow, 40, 2);
}

// Each label is cut dark into a lit tag just above its field, and says something different.
TEST_F(ScenesArt, EachNumberHasItsOwnEngravedLabelAbove) {
  Image panel = OnScreen(PanelFrame, 0, 0);
  std::vector<std::vector<Rgb>> labels;
  for (int top : NumberTops) {
    SCOPED_TRACE(top);
    std::vector<Rgb> label;
    int cut = 0, lit = 0;
    for (int y = top - 20; y < top - 6; ++y)
      for (int x = 476; x < 560; ++x) {
        Rgb c = PixelAt(panel, x, y);
        label.push_back(c);
        cut += c == pal::Ink;
        lit += Brightness(c) > 150;
      }
    EXPECT_GT(cut, 40);
    EXPECT_GT(lit, 300);
    labels.push_back(label);
  }
  EXPECT_NE(labels[0], labels[1]);
  EXPECT_NE(labels[1], labels[2]);
  EXPECT_NE(labels[0], labels[2]);
}

TEST_F(ScenesArt, LifeIconIsTheShipInSteelBlueMirroredAboutItsMiddle) {
  Image icon = Drawn(LifeIcon);
  int blue = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      EXPECT_EQ(Opaque(PixelAt(icon, x, y)), Opaque(PixelAt(icon, 31 - x, y))) << x << "," << y;
      Rgb c = PixelAt(icon, x, y);
      blue +=
          c == pal::PaleSteel || c == pal::IceSteel || c == pal::SteelBlue || c == pal::DeepSteel;
    }
  EXPECT_GT(blue, OpaqueCount(icon) / 3);
  // The cyan canopy in the upper half, on the middle line.
  EXPECT_EQ(PixelAt(icon, 15, 8), pal::Cyan);
  EXPECT_EQ(PixelAt(icon, 16, 8), pal::Cyan);
}

TEST_F(ScenesArt, LostLifeFlashesThenFadesToNearlyNothing) {
  Image icon = Drawn(LifeIcon), flash = Drawn(LifeIcon + 1);
  int white = 0;
  for (int i = 0; i < 32 * 32; ++i) {
    EXPECT_EQ(Opaque(icon.pixels[i]), Opaque(flash.pixels[i])) << i;
    white += flash.pixels[i] == pal::White;
  }
  EXPECT_GT(white, OpaqueCount(icon) / 2);
  for (int id = LifeIcon + 1; id <= LastLossFrame; ++id)
    EXPECT_NE(Drawn(id - 1).pixels, Drawn(id).pixels) << id;
  EXPECT_GT(OpaqueCount(Drawn(LastLossFrame)), 0);
  EXPECT_LT(OpaqueCount(Drawn(LastLossFrame)) * 10, OpaqueCount(icon));
}

// The cracks glow inside the ship's outline; then it bursts round a hot middle.
TEST_F(ScenesArt, LostLifeCracksThenBurstsRoundAFireball) {
  Image icon = Drawn(LifeIcon), cracked = Drawn(LifeIcon + 2);
  int changed = 0;
  for (int i = 0; i < 32 * 32; ++i) {
    ASSERT_EQ(Opaque(icon.pixels[i]), Opaque(cracked.pixels[i])) << i;
    if (icon.pixels[i] == cracked.pixels[i]) continue;
    ++changed;
    Rgb c = cracked.pixels[i];
    EXPECT_TRUE(c == pal::White || c == pal::Yellow || c == pal::Orange) << i;
  }
  EXPECT_GT(changed, 20);
  EXPECT_LT(changed, OpaqueCount(icon) / 3);
  for (int id = LifeIcon + 3; id <= LifeIcon + 5; ++id) {
    Image burst = Drawn(id);
    for (int y = 15; y <= 16; ++y)
      for (int x = 15; x <= 16; ++x) EXPECT_GT(Brightness(PixelAt(burst, x, y)), 150) << id;
  }
}

TEST_F(ScenesArt, EveryPixelIsFromThePalette) {
  for (int id : {TitlePicture, TitleFooter, PanelFrame, LifeIcon, LifeIcon + 1, LifeIcon + 2,
                 LifeIcon + 3, LifeIcon + 4, LifeIcon + 5, LifeIcon + 6, LastLossFrame}) {
    Image image = Drawn(id);
    for (Rgb c : image.pixels)
      ASSERT_TRUE(!Opaque(c) || std::find(pal::All.begin(), pal::All.end(), c) != pal::All.end())
          << id << ": " << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
}
