#include "index.h"

#include <cstring>

#include "pack.h"
#include "pieces.h"

namespace {

// Sheet rectangles by content: identical piece pixels are stored once and shared.
struct SheetParts {
  std::vector<Image> images;
  std::map<std::string, int> byPixels;
  std::vector<int> ofPiece{-1};  // per piece record; the placeholder has none
};

void AddPart(SheetParts& parts, const Image& pixels) {
  std::string key = std::to_string(pixels.width) + "x" + std::to_string(pixels.height) + ":";
  key.append(reinterpret_cast<const char*>(pixels.pixels.data()),
             pixels.pixels.size() * sizeof(Rgb));
  auto [it, added] = parts.byPixels.emplace(std::move(key), static_cast<int>(parts.images.size()));
  if (added) parts.images.push_back(pixels);
  parts.ofPiece.push_back(it->second);
}

const SourceImage& ImageOf(const std::map<std::string, SourceImage>& images,
                           const SpriteLine& sprite) {
  auto it = images.find(sprite.image);
  if (it == images.end())
    throw BuildError(Where(sprite.file, sprite.line) + "unknown image '" + sprite.image + "'");
  if (sprite.frame >= FrameCount(it->second))
    throw BuildError(Where(sprite.file, sprite.line) + "frame " + std::to_string(sprite.frame) +
                     " is out of range: " + sprite.image + " has " +
                     std::to_string(FrameCount(it->second)) + " frames");
  return it->second;
}

// Box and piece offsets are stored relative to the draw point, the origin.
void AddSprite(const SpriteLine& sprite, const SourceImage& source, ResourceIndex& index,
               SheetParts& parts) {
  Box box = sprite.box.value_or(Box{0, 0, FrameWidth(source), FrameHeight(source)});
  SpriteRecord& record = index.sprites[sprite.id];
  record = {0, box.left - sprite.origin.x, box.top - sprite.origin.y, box.width, box.height};
  index.names[sprite.id] = sprite.name;

  int previous = 0;
  for (const Piece& piece : CutFrame(FrameImage(source, sprite.frame))) {
    int current = static_cast<int>(index.pieces.size());
    if (previous)
      index.pieces[previous].next = current;
    else
      record.firstPiece = current;
    previous = current;
    PieceRecord pieceRecord;
    pieceRecord.width = piece.pixels.width;
    pieceRecord.height = piece.pixels.height;
    pieceRecord.offsetX = piece.x - sprite.origin.x;
    pieceRecord.offsetY = piece.y - sprite.origin.y;
    index.pieces.push_back(pieceRecord);
    AddPart(parts, piece.pixels);
  }
}

Image PlaceParts(const SheetParts& parts, ResourceIndex& index) {
  std::vector<Size> sizes;
  for (const Image& part : parts.images) sizes.push_back({part.width, part.height});
  PackResult packed;
  try {
    packed = PackShelves(sizes, SheetWidth, index.pageHeight);
  } catch (const BuildError& error) {
    throw BuildError(std::string("sheet000.png: ") + error.what());
  }

  Image sheet = MakeImage(SheetWidth, packed.pages * index.pageHeight, KeyColour);
  for (size_t i = 0; i < parts.images.size(); ++i) {
    const Placement& at = packed.placements[i];
    Paste(sheet, parts.images[i], at.x, at.page * index.pageHeight + at.y);
  }
  for (size_t i = 1; i < index.pieces.size(); ++i) {
    const Placement& at = packed.placements[parts.ofPiece[i]];
    index.pieces[i].srcX = at.x;
    index.pieces[i].srcY = at.y;
    index.pieces[i].page = at.page;
  }
  return sheet;
}

// Little-endian fields that refuse values their width cannot hold.
struct Writer {
  std::vector<uint8_t> bytes;

  void Put(int64_t value, int size, int64_t min, int64_t max) {
    if (value < min || value > max)
      throw BuildError("out.dat: " + std::to_string(value) + " does not fit a " +
                       std::to_string(size * 8) + "-bit field");
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  void Int16(int value) { Put(value, 2, INT16_MIN, INT16_MAX); }
  void Int32(int value) { Put(value, 4, INT32_MIN, INT32_MAX); }
};

}  // namespace

std::map<std::string, SourceImage> LoadManifestImages(const Manifest& manifest,
                                                      const std::filesystem::path& folder) {
  std::vector<CopyLine> wanted = manifest.copies;
  for (const SpriteLine& sprite : manifest.sprites)
    wanted.push_back({sprite.image, sprite.file, sprite.line});

  std::map<std::string, SourceImage> images;
  for (const CopyLine& image : wanted) {
    if (images.count(image.image)) continue;
    try {
      images.emplace(image.image, LoadSourceImage(folder, image.image));
    } catch (const BuildError& error) {
      throw BuildError(Where(image.file, image.line) + "image '" + image.image +
                       "': " + error.what());
    }
  }
  return images;
}

PackedSprites PackSprites(const Manifest& manifest,
                          const std::map<std::string, SourceImage>& images) {
  PackedSprites packed;
  ResourceIndex& index = packed.index;
  index.sprites.resize(manifest.count + 1);
  index.names.resize(manifest.count + 1);
  index.pieces.resize(1);
  index.pageHeight = PageHeight;

  SheetParts parts;
  for (const SpriteLine& sprite : manifest.sprites)
    AddSprite(sprite, ImageOf(images, sprite), index, parts);
  packed.sheet = PlaceParts(parts, index);
  return packed;
}

std::vector<uint8_t> EncodeIndex(const ResourceIndex& index) {
  Writer out;
  out.Int16(static_cast<int>(index.sprites.size()) - 1);
  out.Int16(static_cast<int>(index.pieces.size()) - 1);
  for (size_t i = 0; i < index.sprites.size(); ++i) out.Int16(0);
  for (const PieceRecord& piece : index.pieces) {
    for (int field :
         {piece.srcY, piece.srcX, piece.width, piece.height, piece.offsetX, piece.offsetY})
      out.Int16(field);
    out.Int32(piece.next);
    out.Int16(piece.surface);
    out.Int16(piece.page);
  }
  for (const SpriteRecord& sprite : index.sprites) {
    out.Int32(sprite.firstPiece);
    for (int field : {sprite.left, sprite.top, sprite.width, sprite.height}) out.Int16(field);
  }
  out.Int16(index.pageHeight);
  for (const std::string& name : index.names) {
    out.Int16(static_cast<int>(name.size()));
    out.bytes.insert(out.bytes.end(), name.begin(), name.end());
  }
  return out.bytes;
}

std::vector<uint8_t> EncodeSheetFile(const Image& image) {
  static constexpr char Tag[] = "VELDRANE SHEET";
  std::vector<uint8_t> file(SheetPrefixBytes, 0);
  std::memcpy(file.data(), Tag, sizeof Tag - 1);
  std::vector<uint8_t> png = EncodePng(image);
  file.insert(file.end(), png.begin(), png.end());
  return file;
}
