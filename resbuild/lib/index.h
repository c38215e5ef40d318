// The resource index (out.dat) and the sprite sheet built from a manifest and its images.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/resource_format.h"
#include "image.h"
#include "manifest.h"
#include "source_image.h"

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

// What the game loads for an image surface: the sheet prefix, then the PNG.
std::vector<uint8_t> EncodeSheetFile(const Image& image);
