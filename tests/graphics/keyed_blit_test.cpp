// The game's keyed copy against SDL's colour-key blitter: the same pixels for every sprite of the
// built sheet at every edge, for the row widths and offsets a vector loop gets wrong, for
// clipping anywhere, and for every copy handed on to SDL.
#include "graphics/keyed_blit.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "graphics/display.h"
#include "graphics/image_resource.h"
#include "platform/platform.h"
#include "support/headless.h"

namespace {

constexpr uint16_t Key = 0xF81F;

uint32_t Hash(uint32_t x, uint32_t y) {
  uint32_t h = x * 73856093u ^ y * 19349663u;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  return h ^ h >> 15;
}

SDL_Surface* NewSurface(int width, int height, uint32_t format = SDL_PIXELFORMAT_RGB565) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, SDL_BITSPERPIXEL(format), format);
  EXPECT_NE(surface, nullptr) << SDL_GetError();
  return surface;
}

uint8_t* Row(SDL_Surface* surface, int y) {
  return static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
}

size_t RowBytes(const SDL_Surface* surface) {
  return size_t(surface->w) * surface->format->BytesPerPixel;
}

// Bytes that change from each pixel to the next, so that a pixel wrongly kept or copied shows.
void PaintBackground(SDL_Surface* surface, uint32_t seed) {
  for (int y = 0; y < surface->h; ++y)
    for (size_t i = 0; i < RowBytes(surface); ++i)
      Row(surface, y)[i] = uint8_t(Hash(uint32_t(i), uint32_t(y) + seed));
}

// Where two surfaces of one size and format differ first; empty when nowhere.
std::string FirstDifference(SDL_Surface* a, SDL_Surface* b) {
  for (int y = 0; y < a->h; ++y) {
    if (std::memcmp(Row(a, y), Row(b, y), RowBytes(a)) == 0) continue;
    size_t i = 0;
    while (Row(a, y)[i] == Row(b, y)[i]) ++i;
    return "at " + std::to_string(i / a->format->BytesPerPixel) + "," + std::to_string(y);
  }
  return "";
}

// A keyed RGB565 sheet, a quarter of its pixels the key, scattered through the rows.
SDL_Surface* KeyedSheet(int width, int height) {
  SDL_Surface* sheet = NewSurface(width, height);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint16_t*>(Row(sheet, y));
    for (int x = 0; x < width; ++x) {
      const uint32_t h = Hash(uint32_t(x) + 1000, uint32_t(y));
      row[x] = h % 4 == 0 ? Key : uint16_t(h >> 16 == Key ? 0 : h >> 16);
    }
  }
  SDL_SetColorKey(sheet, SDL_TRUE, Key);
  return sheet;
}

// One copy made by KeyedBlit and by SDL_BlitSurface onto twin destinations.
struct Twins {
  SDL_Surface* source = nullptr;
  SDL_Surface* mine = nullptr;
  SDL_Surface* sdls = nullptr;

  Twins(SDL_Surface* sheet, int width, int height, uint32_t format = SDL_PIXELFORMAT_RGB565)
      : source(sheet),
        mine(NewSurface(width, height, format)),
        sdls(NewSurface(width, height, format)) {
    PaintBackground(mine, 7);
    PaintBackground(sdls, 7);
  }
  ~Twins() {
    SDL_FreeSurface(mine);
    SDL_FreeSurface(sdls);
    SDL_FreeSurface(source);
  }

  // What went differently; empty when nothing did.
  std::string Copy(SDL_Rect from, int x, int y) {
    SDL_Rect to{x, y, 0, 0};
    const int result = KeyedBlit(source, from, mine, x, y);
    const int expected = SDL_BlitSurface(source, &from, sdls, &to);
    if (result != expected)
      return "returned " + std::to_string(result) + ", not " + std::to_string(expected);
    return FirstDifference(mine, sdls);
  }
};

std::string Describe(SDL_Rect from, int x, int y) {
  return "from " + std::to_string(from.x) + "," + std::to_string(from.y) + " " +
         std::to_string(from.w) + "x" + std::to_string(from.h) + " to " + std::to_string(x) + "," +
         std::to_string(y);
}

TEST(KeyedCopyTest, KeyedPixelsLeaveTheDestinationAndOthersAreCopied) {
  const uint16_t source[17] = {Key, 1, Key, Key, 2, 3, 4, 5, Key, 6, 7, Key, Key, Key, 8, 9, Key};
  uint16_t dest[17];
  for (int i = 0; i < 17; ++i) dest[i] = uint16_t(100 + i);
  KeyedCopy(source, 17, dest, 17, 17, 1, Key);
  const uint16_t expected[17] = {100, 1, 102, 103, 2, 3, 4, 5, 108, 6, 7, 111, 112, 113, 8, 9, 116};
  EXPECT_EQ(std::memcmp(dest, expected, sizeof dest), 0);
}

TEST(KeyedCopyTest, RowsFollowTheirOwnPitchesAndStopAtTheWidth) {
  const uint16_t source[2 * 11] = {1,   2,  3,  4,  5,  6,  7,  8,  9,  Key, 99,  //
                                   Key, 12, 13, 14, 15, 16, 17, 18, 19, 20,  99};
  uint16_t dest[3 * 12] = {};
  KeyedCopy(source, 11, dest, 12, 10, 2, Key);
  for (int x = 0; x < 12; ++x) {
    EXPECT_EQ(dest[x], x < 9 ? x + 1 : 0) << x;
    EXPECT_EQ(dest[12 + x], x >= 1 && x < 10 ? x + 11 : 0) << x;
    EXPECT_EQ(dest[24 + x], 0) << x;
  }
}

// An odd sheet width, so that its rows start at every alignment.
TEST(KeyedBlitTest, EveryWidthUpToSeventeenAtEveryOffsetMatchesSdl) {
  Twins twins(KeyedSheet(45, 12), 48, 16);
  for (int width = 1; width <= 17; ++width)
    for (int sourceX = 0; sourceX < 9; ++sourceX)
      for (int destX = 0; destX < 9; ++destX) {
        const SDL_Rect from{sourceX + width, sourceX % 3, width, 3 + destX % 2};
        const int y = (width + destX) % 12;
        const std::string difference = twins.Copy(from, destX + width % 5, y);
        ASSERT_EQ(difference, "") << Describe(from, destX + width % 5, y);
      }
}

// Rectangles reaching past the sheet, past the destination and past a clip rectangle of its own.
TEST(KeyedBlitTest, ClippingAnywhereMatchesSdl) {
  Twins twins(KeyedSheet(56, 30), 64, 40);
  uint32_t state = 12345;
  auto next = [&](int low, int high) {
    state = state * 1103515245u + 12345u;
    return low + int((state >> 8) % uint32_t(high - low + 1));
  };
  for (int round = 0; round < 3000; ++round) {
    if (round % 500 == 0) {
      const SDL_Rect clip{next(0, 10), next(0, 10), next(0, 60), next(0, 36)};
      SDL_SetClipRect(twins.mine, round == 0 ? nullptr : &clip);
      SDL_SetClipRect(twins.sdls, round == 0 ? nullptr : &clip);
    }
    const SDL_Rect from{next(-20, 60), next(-12, 34), next(-4, 40), next(-4, 24)};
    const int x = next(-50, 70), y = next(-30, 45);
    ASSERT_EQ(twins.Copy(from, x, y), "") << Describe(from, x, y) << " in round " << round;
  }
}

TEST(KeyedBlitTest, RectanglesOutsideTheClipChangeNothing) {
  Twins twins(KeyedSheet(40, 12), 48, 16);
  SDL_Surface* before = NewSurface(48, 16);
  PaintBackground(before, 7);
  for (auto [x, y] : {std::pair{-16, 2}, {48, 2}, {4, -8}, {4, 16}, {-16, -8}, {48, 16}})
    EXPECT_EQ(KeyedBlit(twins.source, {2, 2, 16, 8}, twins.mine, x, y), 0);
  const SDL_Rect clip{10, 4, 20, 6};
  SDL_SetClipRect(twins.mine, &clip);
  EXPECT_EQ(KeyedBlit(twins.source, {2, 2, 8, 4}, twins.mine, 30, 4), 0);
  EXPECT_EQ(KeyedBlit(twins.source, {2, 2, 8, 4}, twins.mine, 2, 4), 0);
  EXPECT_EQ(KeyedBlit(twins.source, {2, 2, 8, 4}, twins.mine, 12, 0), 0);
  EXPECT_EQ(KeyedBlit(twins.source, {2, 2, 0, 4}, twins.mine, 12, 5), 0);
  EXPECT_EQ(FirstDifference(twins.mine, before), "");
  SDL_FreeSurface(before);
}

// Copies that a plain keyed copy would get wrong go to SDL, which must give its own outcome.
TEST(KeyedBlitTest, CopiesItCannotMakeExactlyAreSdls) {
  struct Case {
    const char* name;
    std::function<void(Twins&)> prepare;
    uint32_t destFormat = SDL_PIXELFORMAT_RGB565;
  };
  const std::vector<Case> cases = {
      {"no key", [](Twins& t) { SDL_SetColorKey(t.source, SDL_FALSE, 0); }},
      {"key beyond 16 bits", [](Twins& t) { SDL_SetColorKey(t.source, SDL_TRUE, 0x10000u | Key); }},
      {"colour modulated", [](Twins& t) { SDL_SetSurfaceColorMod(t.source, 255, 128, 255); }},
      {"alpha modulated without blending", [](Twins& t) { SDL_SetSurfaceAlphaMod(t.source, 128); }},
      {"blended", [](Twins& t) { SDL_SetSurfaceBlendMode(t.source, SDL_BLENDMODE_ADD); }},
      {"onto another format", [](Twins&) {}, SDL_PIXELFORMAT_XRGB8888},
      {"onto a locked surface",
       [](Twins& t) {
         SDL_LockSurface(t.mine);
         SDL_LockSurface(t.sdls);
       }},
  };
  for (const Case& c : cases) {
    Twins twins(KeyedSheet(40, 12), 48, 16, c.destFormat);
    c.prepare(twins);
    EXPECT_EQ(twins.Copy({3, 1, 17, 9}, 5, 3), "") << c.name;
    SDL_UnlockSurface(twins.mine);
    SDL_UnlockSurface(twins.sdls);
  }
}

// Once encoded, SDL draws from the encoding, not from pixels the caller still owns.
TEST(KeyedBlitTest, RunLengthEncodedSheetsAreDrawnFromTheirEncoding) {
  SDL_Surface* keyed = KeyedSheet(40, 12);
  std::vector<uint16_t> pixels(40 * 12);
  std::memcpy(pixels.data(), keyed->pixels, pixels.size() * sizeof(uint16_t));
  SDL_FreeSurface(keyed);
  SDL_Surface* sheet =
      SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), 40, 12, 16, 80, SDL_PIXELFORMAT_RGB565);
  SDL_SetColorKey(sheet, SDL_TRUE, Key);
  SDL_SetSurfaceRLE(sheet, 1);
  Twins twins(sheet, 48, 16);
  EXPECT_EQ(twins.Copy({0, 0, 40, 12}, 0, 0), "");
  ASSERT_TRUE(SDL_MUSTLOCK(sheet));
  for (uint16_t& pixel : pixels) pixel = uint16_t(~pixel);
  EXPECT_EQ(twins.Copy({3, 1, 17, 9}, 5, 3), "");
}

TEST(KeyedBlitTest, ASurfaceOntoItselfIsSdls) {
  SDL_Surface* mine = KeyedSheet(40, 12);
  SDL_Surface* sdls = KeyedSheet(40, 12);
  // Along the rows, so that SDL's copy reads pixels it has itself just written.
  SDL_Rect from{0, 1, 30, 9}, to{5, 1, 0, 0};
  EXPECT_EQ(KeyedBlit(mine, from, mine, 5, 1), 0);
  EXPECT_EQ(SDL_BlitSurface(sdls, &from, sdls, &to), 0);
  EXPECT_EQ(FirstDifference(mine, sdls), "");
  SDL_FreeSurface(mine);
  SDL_FreeSurface(sdls);
}

// DrawSprite's pieces put down by SDL's blitter, clipped by the destination's clip rectangle.
void SdlSprite(SDL_Surface* dest, int32_t x, int32_t y, int32_t id) {
  const auto& pieces = Images.PieceTable;
  for (int32_t i = SpriteBox(id).FirstPiece; i > 0; i = pieces[size_t(i)].Next) {
    const PieceRecord& piece = pieces[size_t(i)];
    SDL_Rect from{piece.SrcX, PageTop(piece.Page, piece.SrcY, Images.PageHeight), piece.Width,
                  piece.Height};
    SDL_Rect to{x + piece.OffsetX, y + piece.OffsetY, 0, 0};
    ASSERT_EQ(SDL_BlitSurface(Display.SurfaceList[size_t(piece.Surface)].surface, &from, dest, &to),
              0);
  }
}

// With every piece inside its sheet, DrawPiece's clip to the back buffer and SDL's to the
// destination's clip rectangle are the same clip.
bool PiecesLieInsideTheirSheets() {
  for (const PieceRecord& piece :
       std::vector(Images.PieceTable.begin() + 1, Images.PieceTable.end())) {
    const SDL_Surface* sheet = Display.SurfaceList[size_t(piece.Surface)].surface;
    const int32_t top = PageTop(piece.Page, piece.SrcY, Images.PageHeight);
    if (piece.SrcX < 0 || top < 0 || piece.Width <= 0 || piece.Height <= 0 ||
        piece.SrcX + piece.Width > sheet->w || top + piece.Height > sheet->h)
      return false;
  }
  return true;
}

// Draw points putting a sprite's box wholly off, one pixel in, half in, and inside, on each side.
std::vector<std::pair<int32_t, int32_t>> DrawPoints(const SpriteRecord& box) {
  const int32_t w = box.Width, h = box.Height, right = Images.ClipWidth, bottom = Images.ClipHeight;
  const int32_t midX = 301, midY = 203;
  std::vector<std::pair<int32_t, int32_t>> points;
  for (int32_t x : {-w, 1 - w, -w / 2, midX, right - w / 2, right - 1, right})
    points.push_back({x, midY});
  for (int32_t y : {-h, 1 - h, -h / 2, bottom - h / 2, bottom - 1, bottom})
    points.push_back({midX, y});
  for (int32_t x : {-w / 2, right - w / 2 - 1})
    for (int32_t y : {-h / 2 - 1, bottom - h / 2}) points.push_back({x, y});
  for (auto& [x, y] : points) x -= box.Left, y -= box.Top;
  return points;
}

size_t ChangedPixels(SDL_Surface* surface, SDL_Surface* background, SDL_Rect area) {
  size_t changed = 0;
  for (int y = area.y; y < area.y + area.h; ++y)
    for (int x = area.x; x < area.x + area.w; ++x)
      changed += PixelAt(surface, x, y) != PixelAt(background, x, y);
  return changed;
}

size_t PieceArea(int32_t id) {
  size_t area = 0;
  for (int32_t i = SpriteBox(id).FirstPiece; i > 0; i = Images.PieceTable[size_t(i)].Next)
    area +=
        size_t(Images.PieceTable[size_t(i)].Width) * size_t(Images.PieceTable[size_t(i)].Height);
  return area;
}

class KeyedSpriteTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessDisplay();
    LoadImageResources(BuiltResourceFolder());
    PaintBackground(background, 3);
  }
  void TearDown() override {
    SDL_FreeSurface(twin);
    SDL_FreeSurface(background);
    StopHeadlessDisplay();
  }

  // Both buffers back to the background: keyed pixels must show it.
  void Clear() {
    SDL_BlitSurface(background, nullptr, Display.BackBuffer, nullptr);
    SDL_BlitSurface(background, nullptr, twin, nullptr);
  }

  SDL_Surface* twin = NewSurface(ScreenWidth, ScreenHeight);
  SDL_Surface* background = NewSurface(ScreenWidth, ScreenHeight);
};

// Both buffers are alike before every draw, so each draw is compared on its own.
TEST_F(KeyedSpriteTest, EverySpriteOfTheBuiltSheetIsDrawnAsSdlDrawsIt) {
  ASSERT_TRUE(PiecesLieInsideTheirSheets());
  size_t drawn = 0, area = 0;
  for (int32_t id = 1; id < int32_t(Images.SpriteTable.size()); ++id) {
    const SpriteRecord& box = SpriteBox(id);
    Clear();
    for (auto [x, y] : DrawPoints(box)) {
      DrawSprite(x, y, id);
      SdlSprite(twin, x, y, id);
      ASSERT_EQ(FirstDifference(Display.BackBuffer, twin), "")
          << "sprite " << id << " drawn at " << x << "," << y;
    }
    // Once more, to count what was copied and what was keyed.
    Clear();
    const SDL_Rect placed{301, 203, box.Width, box.Height}, screen{0, 0, ScreenWidth, ScreenHeight};
    SDL_Rect shown;
    DrawSprite(placed.x - box.Left, placed.y - box.Top, id);
    if (SDL_IntersectRect(&placed, &screen, &shown))
      drawn += ChangedPixels(Display.BackBuffer, background, shown);
    area += PieceArea(id);
  }
  EXPECT_GT(drawn, area / 10);
  EXPECT_LT(drawn, area * 9 / 10);
}

}  // namespace
