// resbuild <manifest> <source-image-folder> <output-folder>
//   Packs the sprites the manifest lists into out.dat and sheet000.png, and passes the
//   manifest's copied images through as game surfaces.
// resbuild --sprite-ids <manifest> <header>
//   Writes the header that names the manifest's sprite ids for the game's code.
#include <filesystem>
#include <iostream>
#include <string>

#include "index.h"
#include "sprite_header.h"

namespace fs = std::filesystem;

static Manifest ReadManifest(const fs::path& manifestPath) {
  std::vector<uint8_t> text = ReadFileBytes(manifestPath);
  return ParseManifest(std::string(text.begin(), text.end()), manifestPath.string());
}

static void Build(const fs::path& manifestPath, const fs::path& sourceFolder,
                  const fs::path& outputFolder) {
  Manifest manifest = ReadManifest(manifestPath);
  std::map<std::string, SourceImage> images = LoadManifestImages(manifest, sourceFolder);
  PackedSprites packed = PackSprites(manifest, images);

  fs::create_directories(outputFolder);
  WriteFileBytes(outputFolder / IndexFileName, EncodeResourceIndex(packed.index));
  WriteFileBytes(outputFolder / SheetFileName, EncodeSheetFile(packed.sheet));
  for (const CopyLine& copy : manifest.copies)
    WriteFileBytes(outputFolder / (copy.image + ".png"),
                   EncodeSheetFile(images.at(copy.image).image));
}

// Rewritten only when it changes, so the game is not rebuilt for every manifest comment.
static void WriteSpriteIds(const fs::path& manifestPath, const fs::path& header) {
  std::string text = SpriteIdHeader(ReadManifest(manifestPath));
  std::error_code error;
  if (fs::exists(header, error)) {
    std::vector<uint8_t> old = ReadFileBytes(header);
    if (std::string(old.begin(), old.end()) == text) return;
  }
  fs::create_directories(header.parent_path());
  WriteFileBytes(header, std::vector<uint8_t>(text.begin(), text.end()));
}

int main(int argc, char** argv) {
  const bool ids = argc == 4 && std::string(argv[1]) == "--sprite-ids";
  if (argc != 4) {
    std::cerr << "usage: resbuild <manifest> <source-image-folder> <output-folder>\n"
                 "       resbuild --sprite-ids <manifest> <header>\n";
    return 2;
  }
  try {
    if (ids)
      WriteSpriteIds(argv[2], argv[3]);
    else
      Build(argv[1], argv[2], argv[3]);
  } catch (const std::exception& error) {  // BuildError, or a filesystem error naming its path
    std::cerr << "resbuild: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
