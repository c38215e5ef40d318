#include "index.h"

#include <cstdint>

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

// A value for a 16-bit field of out.dat; anything wider is an error naming the manifest line.
int16_t Field16(int value, const SpriteLine& sprite) {
  if (value < INT16_MIN || value > INT16_MAX)
    throw BuildError(Where(sprite.file, sprite.line) + std::to_string(value) +
                     " does not fit a 16-bit field of " + IndexFileName);
  return static_cast<int16_t>(value);
}

// Box and piece offsets are stored relative to the draw point, the origin.
void AddSprite(const SpriteLine& sprite, const SourceImage& source, ResourceIndex& index,
               SheetParts& parts) {
  Box box = sprite.box.value_or(Box{0, 0, FrameWidth(source), FrameHeight(source)});
  SpriteRecord& record = index.sprites[sprite.id];
  record = {0, Field16(box.left - sprite.origin.x, sprite),
            Field16(box.top - sprite.origin.y, sprite), Field16(box.width, sprite),
            Field16(box.height, sprite)};
  index.names[sprite.id] = sprite.name;

  int previous = 0;
  for (const Piece& piece : CutFrame(FrameImage(source, sprite.frame))) {
    int current = static_cast<int>(index.pieces.size());
    if (previous)
      index.pieces[previous].Next = current;
    else
      record.FirstPiece = current;
    previous = current;
    PieceRecord pieceRecord;
    pieceRecord.Width = Field16(piece.pixels.width, sprite);
    pieceRecord.Height = Field16(piece.pixels.height, sprite);
    pieceRecord.OffsetX = Field16(piece.x - sprite.origin.x, sprite);
    pieceRecord.OffsetY = Field16(piece.y - sprite.origin.y, sprite);
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
    throw BuildError(std::string(SheetFileName) + ": " + error.what());
  }

  Image sheet = MakeImage(SheetWidth, packed.pages * index.pageHeight, KeyColour);
  for (size_t i = 0; i < parts.images.size(); ++i) {
    const Placement& at = packed.placements[i];
    Paste(sheet, parts.images[i], at.x, at.page * index.pageHeight + at.y);
  }
  for (size_t i = 1; i < index.pieces.size(); ++i) {
    const Placement& at = packed.placements[parts.ofPiece[i]];
    index.pieces[i].SrcX = static_cast<int16_t>(at.x);
    index.pieces[i].SrcY = static_cast<int16_t>(at.y);
    index.pieces[i].Page = static_cast<int16_t>(at.page);
  }
  return sheet;
}

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
  // The index counts sprites and pieces in 16 bits.
  if (index.sprites.size() > size_t(INT16_MAX) + 1 || index.pieces.size() > size_t(INT16_MAX) + 1)
    throw BuildError(std::string(IndexFileName) +
                     ": more sprites or pieces than 16 bits can count");
  packed.sheet = PlaceParts(parts, index);
  return packed;
}

std::vector<uint8_t> EncodeSheetFile(const Image& image) {
  std::vector<uint8_t> file = SheetPrefix();
  std::vector<uint8_t> png = EncodePng(image);
  file.insert(file.end(), png.begin(), png.end());
  return file;
}
