// The resource index (out.dat) and the sprite sheet built from a manifest and its images.
//
// out.dat, little-endian, no padding: SpriteCount int16 (highest id), PieceCount int16
// (highest piece index), SpriteCount+1 reserved int16 zeros, PieceCount+1 piece records,
// SpriteCount+1 sprite records, PageHeight int16, then SpriteCount+1 names as an int16
// length and that many ASCII bytes. Piece 0 and sprite 0 are empty placeholders.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "image.h"
#include "manifest.h"
#include "source_image.h"

// 20 bytes in the file.
struct PieceRecord {
  int srcY = 0, srcX = 0, width = 0, height = 0;  // on its page
  int offsetX = 0, offsetY = 0;                   // from the sprite's draw point
  int next = 0;                                   // next piece of the sprite; 0 ends the chain
  int surface = 0, page = 0;
};

// 12 bytes in the file.
struct SpriteRecord {
  int firstPiece = 0;  // 0: nothing to draw
  int left = 0, top = 0, width = 0, height = 0;
};

struct ResourceIndex {
  std::vector<SpriteRecord> sprites;  // indexed by id, 0..count
  std::vector<PieceRecord> pieces;    // indexed from 1; 0 is the placeholder
  std::vector<std::string> names;     // one per sprite
  int pageHeight = 0;
};

struct PackedSprites {
  ResourceIndex index;
  Image sheet;
};

// Checks each sprite's image and frame against `images` (see LoadManifestImages).
PackedSprites PackSprites(const Manifest& manifest,
                          const std::map<std::string, SourceImage>& images);

// Every image the manifest names; a missing or bad one is an error naming its manifest line.
std::map<std::string, SourceImage> LoadManifestImages(const Manifest& manifest,
                                                      const std::filesystem::path& folder);

std::vector<uint8_t> EncodeIndex(const ResourceIndex& index);

// What the game loads for an image surface: a fixed prefix it skips, then the PNG.
constexpr size_t SheetPrefixBytes = 762;
std::vector<uint8_t> EncodeSheetFile(const Image& image);
