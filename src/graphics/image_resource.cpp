#include "graphics/image_resource.h"

#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "graphics/display.h"

std::string ResourceDir;
int16_t SpriteCount = 0;
int16_t PieceCount = 0;
std::vector<SpriteRecord> SpriteTable(1);
std::vector<PieceRecord> PieceTable(1);
std::vector<std::string> SpriteNames(1);
int16_t PageHeight = 0;
int32_t StagePartsSurface = 0;
int32_t ClipWidth = 0;
int32_t ClipHeight = 0;

namespace {

// No real index comes near this; a larger file is damaged and is not read into memory.
constexpr uintmax_t MaxIndexBytes = 16u << 20;

// Reads the little-endian fields of the index front to back, never past its end.
struct IndexReader {
  const std::vector<uint8_t>& bytes;
  size_t at = 0;
  bool ok = true;

  bool Has(size_t count) const { return ok && bytes.size() - at >= count; }

  template <typename T>
  T Read() {
    T value{};
    if (!Has(sizeof(T))) {
      ok = false;
      return value;
    }
    std::memcpy(&value, bytes.data() + at, sizeof(T));  // the host is little-endian too
    at += sizeof(T);
    return value;
  }
};

struct ResourceIndex {
  int16_t spriteCount = 0, pieceCount = 0, pageHeight = 0;
  std::vector<SpriteRecord> sprites;
  std::vector<PieceRecord> pieces;
  std::vector<std::string> names;
};

[[noreturn]] void Damaged(const std::string& path, const std::string& why) {
  throw ResourceError(path + " が壊れています (" + why + ")");
}

PieceRecord ReadPiece(IndexReader& in) {
  PieceRecord p;
  p.SrcY = in.Read<int16_t>();
  p.SrcX = in.Read<int16_t>();
  p.Width = in.Read<int16_t>();
  p.Height = in.Read<int16_t>();
  p.OffsetX = in.Read<int16_t>();
  p.OffsetY = in.Read<int16_t>();
  p.Next = in.Read<int32_t>();
  p.Surface = in.Read<int16_t>();
  p.Page = in.Read<int16_t>();
  return p;
}

SpriteRecord ReadSprite(IndexReader& in) {
  SpriteRecord s;
  s.FirstPiece = in.Read<int32_t>();
  s.Left = in.Read<int16_t>();
  s.Top = in.Read<int16_t>();
  s.Width = in.Read<int16_t>();
  s.Height = in.Read<int16_t>();
  return s;
}

// Every chain must end inside the table within PieceCount + 1 steps.
void CheckChains(const ResourceIndex& index, const std::string& path) {
  for (const PieceRecord& piece : index.pieces) {
    if (piece.Next < 0 || piece.Next > index.pieceCount) Damaged(path, "ピースの連結が範囲外です");
    if (piece.Width < 0 || piece.Height < 0 || piece.Surface < 0 || piece.Page < 0)
      Damaged(path, "ピースの値が不正です");
  }
  for (const SpriteRecord& sprite : index.sprites) {
    if (sprite.FirstPiece > index.pieceCount) Damaged(path, "スプライトのピースが範囲外です");
    int32_t steps = 0;
    for (int32_t i = sprite.FirstPiece; i > 0; i = index.pieces[i].Next)
      if (++steps > index.pieceCount + 1) Damaged(path, "ピースの連結が循環しています");
  }
}

ResourceIndex ParseResourceIndex(const std::vector<uint8_t>& bytes, const std::string& path) {
  IndexReader in{bytes};
  ResourceIndex index;
  index.spriteCount = in.Read<int16_t>();
  index.pieceCount = in.Read<int16_t>();
  if (!in.ok || index.spriteCount < 0 || index.pieceCount < 0) Damaged(path, "件数が不正です");
  size_t sprites = size_t(index.spriteCount) + 1, pieces = size_t(index.pieceCount) + 1;
  if (!in.Has(2 * sprites + 20 * pieces + 12 * sprites + 2)) Damaged(path, "ファイルが短すぎます");
  in.at += 2 * sprites;  // reserved values, not used
  for (size_t i = 0; i < pieces; ++i) index.pieces.push_back(ReadPiece(in));
  for (size_t i = 0; i < sprites; ++i) index.sprites.push_back(ReadSprite(in));
  index.pageHeight = in.Read<int16_t>();
  if (index.pageHeight < 0) Damaged(path, "ページの高さが不正です");
  for (size_t i = 0; i < sprites; ++i) {
    int16_t length = in.Read<int16_t>();
    if (!in.ok || length < 0 || !in.Has(size_t(length))) Damaged(path, "名前が途切れています");
    index.names.emplace_back(reinterpret_cast<const char*>(bytes.data() + in.at), size_t(length));
    in.at += size_t(length);
  }
  CheckChains(index, path);
  return index;
}

std::vector<uint8_t> ReadIndexFile(const std::string& path) {
  std::error_code error;
  uintmax_t size = std::filesystem::file_size(path, error);
  if (error) throw ResourceError(path + " が見つかりません");
  if (size > MaxIndexBytes) Damaged(path, "ファイルが大きすぎます");
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  if (!in.good() && !in.eof()) throw ResourceError(path + " を読み込めません");
  return bytes;
}

// A page starts PageHeight rows below the one before; sheets stay within 16-bit rows.
int32_t PageTop(int16_t page, int16_t srcY) { return int16_t(page * PageHeight + srcY); }

void Blit(SDL_Surface* source, SDL_Rect from, SDL_Surface* dest, int32_t x, int32_t y) {
  SDL_Rect to{x, y, 0, 0};
  if (SDL_BlitSurface(source, &from, dest, &to) != 0)
    throw DisplayError(std::string("cannot draw a piece: ") + SDL_GetError());
}

SDL_Surface* PieceSurface(const PieceRecord& piece) {
  return piece.Surface < SurfaceCount ? SurfaceList[piece.Surface].surface : nullptr;
}

}  // namespace

void ReadResourceIndex(const std::string& path) {
  ResourceIndex index = ParseResourceIndex(ReadIndexFile(path), path);
  SpriteCount = index.spriteCount;
  PieceCount = index.pieceCount;
  PageHeight = index.pageHeight;
  SpriteTable = std::move(index.sprites);
  PieceTable = std::move(index.pieces);
  SpriteNames = std::move(index.names);
}

void LoadImageResources(const std::string& folder) {
  ResourceDir = folder;
  ReadResourceIndex(ResourceDir + "dst/out.dat");
  LoadSurface(ResourceDir + "dst/sheet000.png");
  StagePartsSurface = LoadSurface(ResourceDir + "dst/Stage01.parts.png");
}

const SpriteRecord& SpriteBox(int32_t id) {
  return id >= 0 && id <= SpriteCount ? SpriteTable[id] : SpriteTable[0];
}

void DrawSprite(int32_t x, int32_t y, int32_t id) {
  int32_t steps = PieceCount + 1;
  for (int32_t i = SpriteBox(id).FirstPiece; i > 0 && steps-- > 0; i = PieceTable[i].Next) {
    const PieceRecord& piece = PieceTable[i];
    SDL_Surface* source = PieceSurface(piece);
    if (source)
      DrawPiece(BackBuffer, x + piece.OffsetX, y + piece.OffsetY, source,
                {piece.SrcY, piece.SrcX, piece.Width, piece.Height}, piece.Page);
  }
}

void DrawPiece(SDL_Surface* dest, int32_t destX, int32_t destY, SDL_Surface* source,
               SourceBox box, int16_t page) {
  int32_t left = box.SrcX, right = box.SrcX + box.Width;
  int32_t top = PageTop(page, box.SrcY), bottom = top + box.Height;
  int32_t x = destX, y = destY;
  if (x < 0) {
    if (x + box.Width <= 0) return;
    left -= x;
    x = 0;
  }
  if (destX >= ClipWidth) return;
  if (destX + box.Width > ClipWidth) right -= destX + box.Width - ClipWidth;
  if (y < 0) {
    if (y + box.Height <= 0) return;
    top -= y;
    y = 0;
  }
  if (destY >= ClipHeight) return;
  if (destY + box.Height > ClipHeight) bottom -= destY + box.Height - ClipHeight;
  if (right <= left || bottom <= top) return;
  Blit(source, {left, top, right - left, bottom - top}, dest, x, y);
}

void BlitPiece(SDL_Surface* dest, int32_t destX, int32_t destY, SDL_Surface* source,
               SourceBox box, int16_t page) {
  Blit(source, {box.SrcX, PageTop(page, box.SrcY), box.Width, box.Height}, dest, destX, destY);
}

void FillBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
  if (w <= 1 || h <= 1) return;
  SDL_Rect area{x, y, w - 1, h - 1};  // the right and bottom edges are exclusive
  if (SDL_FillRect(BackBuffer, &area, ColorToPixel(colour)) != 0)
    throw DisplayError(std::string("cannot fill a box: ") + SDL_GetError());
}

void DrawTextWithFont(int32_t x, int32_t y, const std::string& text, int32_t fontBase) {
  int32_t advance = SpriteBox('A' + fontBase).Width + 1;
  for (unsigned char code : text) {
    // The large font has glyphs for codes 0..127 only; ids beyond are pictures.
    if (fontBase == LargeFontBase && code >= LargeFontGlyphs) code = '?';
    DrawSprite(x, y, code + fontBase);
    x += advance;
  }
}

void DrawText(int32_t x, int32_t y, const std::string& text) {
  DrawTextWithFont(x, y, text, SmallFontBase);
}

void DrawTextLarge(int32_t x, int32_t y, const std::string& text) {
  DrawTextWithFont(x, y, text, LargeFontBase);
}

void RefreshClipBounds() {
  ClipWidth = BackBuffer ? BackBuffer->w : 0;
  ClipHeight = BackBuffer ? BackBuffer->h : 0;
}
