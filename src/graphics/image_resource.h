// Sprite resources: the resource index (sprites made of pieces cut from sheet pages), the
// sheet surfaces, and the drawing of sprites, boxes and bitmap-font text onto the back buffer.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct SDL_Surface;

struct SpriteRecord {
  int32_t FirstPiece = 0;  // 0 or less: no piece
  int16_t Left = 0, Top = 0, Width = 0, Height = 0;
};

struct PieceRecord {
  int16_t SrcY = 0, SrcX = 0, Width = 0, Height = 0;
  int16_t OffsetX = 0, OffsetY = 0;
  int32_t Next = 0;  // 0 ends the chain
  int16_t Surface = 0, Page = 0;
};

// The first four fields of a piece: where it is cut from its page.
struct SourceBox {
  int16_t SrcY, SrcX, Width, Height;
};

// A resource file that is missing or damaged; the message names the file.
struct ResourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr int32_t SmallFontBase = 1;
constexpr int32_t LargeFontBase = 257;
constexpr int32_t LargeFontGlyphs = 128;

extern std::string ResourceDir;
extern int16_t SpriteCount;  // the highest sprite id
extern int16_t PieceCount;   // the highest piece index
extern std::vector<SpriteRecord> SpriteTable;
extern std::vector<PieceRecord> PieceTable;
extern std::vector<std::string> SpriteNames;
extern int16_t PageHeight;
extern int32_t StagePartsSurface;
extern int32_t ClipWidth;
extern int32_t ClipHeight;

void LoadImageResources(const std::string& folder);
void ReadResourceIndex(const std::string& path);

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

// Takes the clip bounds from the back buffer's size.
void RefreshClipBounds();
