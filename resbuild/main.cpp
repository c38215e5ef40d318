// resbuild <manifest> <source-image-folder> <output-folder>
// Packs the sprites the manifest lists into out.dat and sheet000.png, and passes the
// manifest's copied images through as game surfaces.
#include <filesystem>
#include <iostream>
#include <string>

#include "index.h"

namespace fs = std::filesystem;

static void Build(const fs::path& manifestPath, const fs::path& sourceFolder,
                  const fs::path& outputFolder) {
  std::vector<uint8_t> text = ReadFileBytes(manifestPath);
  Manifest manifest = ParseManifest(std::string(text.begin(), text.end()), manifestPath.string());
  std::map<std::string, SourceImage> images = LoadManifestImages(manifest, sourceFolder);
  PackedSprites packed = PackSprites(manifest, images);

  fs::create_directories(outputFolder);
  WriteFileBytes(outputFolder / "out.dat", EncodeIndex(packed.index));
  WriteFileBytes(outputFolder / "sheet000.png", EncodeSheetFile(packed.sheet));
  for (const CopyLine& copy : manifest.copies)
    WriteFileBytes(outputFolder / (copy.image + ".png"),
                   EncodeSheetFile(images.at(copy.image).image));
}

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: resbuild <manifest> <source-image-folder> <output-folder>\n";
    return 2;
  }
  try {
    Build(argv[1], argv[2], argv[3]);
  } catch (const std::exception& error) {  // BuildError, or a filesystem error naming its path
    std::cerr << "resbuild: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
