#include "common/resource_format.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/byte_fields.h"
#include "common/game_text.h"

namespace {

const char* ShortFile() { return Tr("the file is too short"); }

PieceRecord ReadPiece(Reader& in) {
  PieceRecord p;
  p.SrcY = in.Read<int16_t>(ShortFile());
  p.SrcX = in.Read<int16_t>(ShortFile());
  p.Width = in.Read<int16_t>(ShortFile());
  p.Height = in.Read<int16_t>(ShortFile());
  p.OffsetX = in.Read<int16_t>(ShortFile());
  p.OffsetY = in.Read<int16_t>(ShortFile());
  p.Next = in.Read<int32_t>(ShortFile());
  p.Surface = in.Read<int16_t>(ShortFile());
  p.Page = in.Read<int16_t>(ShortFile());
  return p;
}

SpriteRecord ReadSprite(Reader& in) {
  SpriteRecord s;
  s.FirstPiece = in.Read<int32_t>(ShortFile());
  s.Left = in.Read<int16_t>(ShortFile());
  s.Top = in.Read<int16_t>(ShortFile());
  s.Width = in.Read<int16_t>(ShortFile());
  s.Height = in.Read<int16_t>(ShortFile());
  return s;
}

// Every chain must stay inside the table and end. A piece already known to lead to the end
// is not walked again, which keeps this linear: 32768 sprites sharing one chain of 32767
// pieces would take a billion steps walked one by one.
void CheckChains(const ResourceIndex& index) {
  const int64_t lastPiece = int64_t(index.pieces.size()) - 1;
  for (const PieceRecord& piece : index.pieces) {
    if (piece.Next < 0 || piece.Next > lastPiece)
      throw FormatError(Tr("a piece links out of range"));
    if (piece.Width < 0 || piece.Height < 0 || piece.Surface < 0 || piece.Page < 0)
      throw FormatError(Tr("a piece holds a bad value"));
  }
  enum : uint8_t { Unseen, OnThisChain, Ends };
  std::vector<uint8_t> seen(index.pieces.size(), Unseen);
  for (const SpriteRecord& sprite : index.sprites) {
    if (sprite.FirstPiece > lastPiece) throw FormatError(Tr("a sprite's piece is out of range"));
    for (int32_t i = sprite.FirstPiece; i > 0 && seen[size_t(i)] != Ends;
         i = index.pieces[size_t(i)].Next) {
      if (seen[size_t(i)] == OnThisChain) throw FormatError(Tr("the pieces link in a circle"));
      seen[size_t(i)] = OnThisChain;
    }
    for (int32_t i = sprite.FirstPiece; i > 0 && seen[size_t(i)] == OnThisChain;
         i = index.pieces[size_t(i)].Next)
      seen[size_t(i)] = Ends;
  }
}

int16_t ReadWord(const std::vector<uint8_t>& bytes, size_t at) {
  return int16_t(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

std::vector<uint8_t> ReadResourceFile(const std::string& path, size_t maxBytes) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) throw ResourceFileError(TrWith("%s is not found", {path}));
  if (fs::is_directory(status))
    throw ResourceFileError(TrWith("%s is a folder, not a file", {path}));
  const uintmax_t size = fs::file_size(path, error);
  if (error) throw ResourceFileError(TrWith("%s cannot be read", {path}));
  if (size > maxBytes) throw ResourceFileError(TrWith("%s is too large", {path}));
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
    throw ResourceFileError(TrWith("%s cannot be read", {path}));
  return bytes;
}

ResourceIndex ParseResourceIndex(const std::vector<uint8_t>& bytes) {
  Reader in{bytes};
  int16_t lastSprite = in.Read<int16_t>(Tr("the counts are bad"));
  int16_t lastPiece = in.Read<int16_t>(Tr("the counts are bad"));
  if (lastSprite < 0 || lastPiece < 0) throw FormatError(Tr("the counts are bad"));
  const size_t sprites = size_t(lastSprite) + 1, pieces = size_t(lastPiece) + 1;
  // Checked before anything is sized by the counts.
  if (!in.Has(2 * sprites + PieceRecordBytes * pieces + SpriteRecordBytes * sprites + 2))
    throw FormatError(ShortFile());
  ResourceIndex index;
  in.at += 2 * sprites;  // reserved values, not used
  for (size_t i = 0; i < pieces; ++i) index.pieces.push_back(ReadPiece(in));
  for (size_t i = 0; i < sprites; ++i) index.sprites.push_back(ReadSprite(in));
  index.pageHeight = in.Read<int16_t>(ShortFile());
  if (index.pageHeight < 0) throw FormatError(Tr("the page height is bad"));
  for (size_t i = 0; i < sprites; ++i) {
    int16_t length = in.Read<int16_t>(Tr("a name is cut short"));
    if (length < 0) throw FormatError(Tr("a name is cut short"));
    index.names.push_back(in.Text(size_t(length), Tr("a name is cut short")));
  }
  CheckChains(index);
  return index;
}

std::vector<uint8_t> EncodeResourceIndex(const ResourceIndex& index) {
  Writer out;
  out.Put(int16_t(index.sprites.size() - 1));
  out.Put(int16_t(index.pieces.size() - 1));
  for (size_t i = 0; i < index.sprites.size(); ++i) out.Put(int16_t(0));
  for (const PieceRecord& p : index.pieces) {
    for (int16_t field : {p.SrcY, p.SrcX, p.Width, p.Height, p.OffsetX, p.OffsetY}) out.Put(field);
    out.Put(p.Next);
    out.Put(p.Surface);
    out.Put(p.Page);
  }
  for (const SpriteRecord& s : index.sprites) {
    out.Put(s.FirstPiece);
    for (int16_t field : {s.Left, s.Top, s.Width, s.Height}) out.Put(field);
  }
  out.Put(index.pageHeight);
  for (const std::string& name : index.names) {
    out.Put(int16_t(name.size()));
    out.bytes.insert(out.bytes.end(), name.begin(), name.end());
  }
  return out.bytes;
}

std::vector<uint8_t> SheetPrefix() {
  static constexpr char Tag[] = "VELDRANE SHEET";
  std::vector<uint8_t> prefix(SheetPrefixBytes, 0);
  std::memcpy(prefix.data(), Tag, sizeof Tag - 1);
  return prefix;
}

bool PngSize(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height) {
  static constexpr uint8_t Signature[] = {137, 80, 78, 71, 13, 10, 26, 10};
  // The signature, then the IHDR chunk whose first fields are the width and height.
  if (size < 24 || !std::equal(std::begin(Signature), std::end(Signature), data)) return false;
  auto bigEndian = [](const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
  };
  width = bigEndian(data + 16);
  height = bigEndian(data + 20);
  return true;
}

MapGrid ParseMapFile(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < MapHeaderBytes) throw FormatError(ShortFile());
  MapGrid grid;
  grid.width = ReadWord(bytes, 0);
  grid.height = ReadWord(bytes, 2);
  if (grid.width <= 0 || grid.height <= 0) throw FormatError(Tr("the size is bad"));
  const size_t cells = size_t(grid.width + 1) * size_t(grid.height + 1);
  if ((bytes.size() - MapHeaderBytes) / 2 < cells) throw FormatError(ShortFile());
  grid.cells.resize(cells);
  for (size_t i = 0; i < cells; ++i) grid.cells[i] = ReadWord(bytes, MapHeaderBytes + 2 * i);
  return grid;
}

std::vector<uint8_t> EncodeMapFile(const MapGrid& grid) {
  Writer out;
  out.Put(grid.width);
  out.Put(grid.height);
  out.Put(int16_t(0));
  for (int16_t cell : grid.cells) out.Put(cell);
  return out.bytes;
}
