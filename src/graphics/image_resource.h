// Sprite resources: the resource index (sprites made of pieces cut from sheet pages), the
// sheet surfaces, and the drawing of sprites, boxes and bitmap-font text onto the back buffer.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/resource_format.h"
#include "sprite_ids.h"

struct SDL_Surface;

// The first four fields of a piece: where it is cut from its page.
struct SourceBox {
  int16_t SrcY, SrcX, Width, Height;
};

// A resource file that is missing or damaged; the message names the file.
struct ResourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The glyph of character code c is sprite c + the font's base.
constexpr int32_t SmallFontBase = Sprite::FontSmall;
constexpr int32_t LargeFontBase = Sprite::FontLarge;
constexpr int32_t LargeFontGlyphs = Sprite::FontLargeCount;

struct ImageResources {
  std::string ResourceDir;  // ends in "/"
  std::vector<SpriteRecord> SpriteTable{1};  // by sprite id; sprite 0 is the empty one
  std::vector<PieceRecord> PieceTable{1};    // piece 0 ends every chain
  std::vector<std::string> SpriteNames{1};
  int16_t PageHeight = 0;
  int32_t StagePartsSurface = 0;
  // The back buffer's size, which drawing is clipped to.
  int32_t ClipWidth = 0;
  int32_t ClipHeight = 0;
};
extern ImageResources Images;

void LoadImageResources(const std::string& folder);
// The index in a file; a ResourceError names the file when it is missing or damaged.
ResourceIndex LoadResourceIndex(const std::string& path);
// Replaces the tables only when the whole file reads well.
void ReadResourceIndex(const std::string& path);

// The row of the sheet where a piece starts: a page starts pageHeight rows below the one before,
// and sheets stay within 16-bit rows.
int32_t PageTop(int16_t page, int16_t srcY, int16_t pageHeight);

// The bounding box of a sprite; an id outside the table has the empty box of sprite 0.
const SpriteRecord& SpriteBox(int32_t id);

void DrawSprite(int32_t x, int32_t y, int32_t id);
void DrawPiece(SDL_Surface* dest, int32_t destX, int32_t destY, SDL_Surface* source,
               SourceBox box, int16_t page);
// The same copy without the clip bounds, for pieces known to lie inside the back buffer.
void BlitPiece(SDL_Surface* dest, int32_t destX, int32_t destY, SDL_Surface* source,
               SourceBox box, int16_t page);
void FillBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
void DrawTextWithFont(int32_t x, int32_t y, const std::string& text, int32_t fontBase);
void DrawText(int32_t x, int32_t y, const std::string& text);
void DrawTextLarge(int32_t x, int32_t y, const std::string& text);
// The pixels a text covers in a font: one advance a character across, a capital's height down.
int32_t TextWidth(const std::string& text, int32_t fontBase);
int32_t FontHeight(int32_t fontBase);

// Takes the clip bounds from the back buffer's size.
void RefreshClipBounds();

// What the scenes draw, kept for tests while recording is on: each text once (with its font),
// and each sprite drawn on its own. Off, it costs a test of one flag.
struct DrawnItem {
  int32_t present;   // the frames presented before it was drawn
  int32_t x, y;
  int32_t sprite;    // the sprite, or for a text its font's base
  std::string text;  // empty for a sprite
  bool operator==(const DrawnItem&) const = default;
};
struct DrawLogState {
  bool recording = false;
  int32_t presents = 0;  // counted by the display layer whether recording or not
  std::vector<DrawnItem> items;
};
extern DrawLogState DrawLog;
