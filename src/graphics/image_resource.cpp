#include "graphics/image_resource.h"

#include <SDL.h>

#include "common/game_text.h"
#include "graphics/display.h"
#include "graphics/keyed_blit.h"

ImageResources Images;
DrawLogState DrawLog;

int32_t PageTop(int16_t page, int16_t srcY, int16_t pageHeight) {
  return int16_t(page * pageHeight + srcY);
}

namespace {

void Blit(SDL_Surface* source, SDL_Rect from, SDL_Surface* dest, int32_t x, int32_t y) {
  if (KeyedBlit(source, from, dest, x, y) != 0)
    throw DisplayError(std::string("cannot draw a piece: ") + SDL_GetError());
}

SDL_Surface* PieceSurface(const PieceRecord& piece) {
  const auto& surfaces = Display.SurfaceList;
  const size_t index = size_t(piece.Surface);
  return index < surfaces.size() ? surfaces[index].surface : nullptr;
}

}  // namespace

ResourceIndex LoadResourceIndex(const std::string& path) {
  try {
    return ParseResourceIndex(ReadResourceFile(path, MaxIndexFileBytes));
  } catch (const ResourceFileError& error) {
    throw ResourceError(error.what());
  } catch (const FormatError& error) {
    throw ResourceError(TrWith("%s is damaged (%s)", {path, error.what()}));
  }
}

void ReadResourceIndex(const std::string& path) {
  ResourceIndex index = LoadResourceIndex(path);
  Images.PageHeight = index.pageHeight;
  Images.SpriteTable = std::move(index.sprites);
  Images.PieceTable = std::move(index.pieces);
  Images.SpriteNames = std::move(index.names);
}

void LoadImageResources(const std::string& folder) {
  Images.ResourceDir = folder;
  const std::string built = folder + BuiltFolder;
  ReadResourceIndex(built + IndexFileName);
  LoadSurface(built + SheetFileName);
  Images.StagePartsSurface = LoadSurface(built + StagePartsFileName);
}

const SpriteRecord& SpriteBox(int32_t id) {
  const auto& table = Images.SpriteTable;
  return id >= 0 && size_t(id) < table.size() ? table[size_t(id)] : table[0];
}

// The index reader has checked that every chain ends inside the table.
void DrawSprite(int32_t x, int32_t y, int32_t id) {
  if (DrawLog.recording) DrawLog.items.push_back({DrawLog.presents, x, y, id, ""});
  const auto& pieces = Images.PieceTable;
  for (int32_t i = SpriteBox(id).FirstPiece; i > 0; i = pieces[size_t(i)].Next) {
    const PieceRecord& piece = pieces[size_t(i)];
    SDL_Surface* source = PieceSurface(piece);
    if (source)
      DrawPiece(Display.BackBuffer, x + piece.OffsetX, y + piece.OffsetY, source,
                {piece.SrcY, piece.SrcX, piece.Width, piece.Height}, piece.Page);
  }
}

void DrawPiece(SDL_Surface* dest, int32_t destX, int32_t destY, SDL_Surface* source,
               SourceBox box, int16_t page) {
  int32_t left = box.SrcX, right = box.SrcX + box.Width;
  int32_t top = PageTop(page, box.SrcY, Images.PageHeight), bottom = top + box.Height;
  int32_t x = destX, y = destY;
  if (x < 0) {
    if (x + box.Width <= 0) return;
    left -= x;
    x = 0;
  }
  if (destX >= Images.ClipWidth) return;
  if (destX + box.Width > Images.ClipWidth) right -= destX + box.Width - Images.ClipWidth;
  if (y < 0) {
    if (y + box.Height <= 0) return;
    top -= y;
    y = 0;
  }
  if (destY >= Images.ClipHeight) return;
  if (destY + box.Height > Images.ClipHeight) bottom -= destY + box.Height - Images.ClipHeight;
  if (right <= left || bottom <= top) return;
  Blit(source, {left, top, right - left, bottom - top}, dest, x, y);
}

void BlitPiece(SDL_Surface* dest, int32_t destX, int32_t destY, SDL_Surface* source,
               SourceBox box, int16_t page) {
  Blit(source, {box.SrcX, PageTop(page, box.SrcY, Images.PageHeight), box.Width, box.Height}, dest, destX, destY);
}

void FillBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
  if (w <= 1 || h <= 1) return;
  SDL_Rect area{x, y, w - 1, h - 1};  // the right and bottom edges are exclusive
  if (SDL_FillRect(Display.BackBuffer, &area, ColorToPixel(colour)) != 0)
    throw DisplayError(std::string("cannot fill a box: ") + SDL_GetError());
}

namespace {

int32_t FontAdvance(int32_t fontBase) { return SpriteBox('A' + fontBase).Width + 1; }

}  // namespace

void DrawTextWithFont(int32_t x, int32_t y, const std::string& text, int32_t fontBase) {
  const bool recording = DrawLog.recording;
  if (recording) DrawLog.items.push_back({DrawLog.presents, x, y, fontBase, text});
  DrawLog.recording = false;  // the text is one item, not a sprite a glyph
  const int32_t advance = FontAdvance(fontBase);
  for (unsigned char code : text) {
    // The large font has glyphs for codes 0..127 only; ids beyond are pictures.
    if (fontBase == LargeFontBase && code >= LargeFontGlyphs) code = '?';
    DrawSprite(x, y, code + fontBase);
    x += advance;
  }
  DrawLog.recording = recording;
}

void DrawText(int32_t x, int32_t y, const std::string& text) {
  DrawTextWithFont(x, y, text, SmallFontBase);
}

void DrawTextLarge(int32_t x, int32_t y, const std::string& text) {
  DrawTextWithFont(x, y, text, LargeFontBase);
}

int32_t TextWidth(const std::string& text, int32_t fontBase) {
  return int32_t(text.size()) * FontAdvance(fontBase);
}

int32_t FontHeight(int32_t fontBase) {
  const SpriteRecord& capital = SpriteBox('A' + fontBase);
  return capital.Top + capital.Height;
}

void RefreshClipBounds() {
  const SDL_Surface* back = Display.BackBuffer;
  Images.ClipWidth = back ? back->w : 0;
  Images.ClipHeight = back ? back->h : 0;
}
