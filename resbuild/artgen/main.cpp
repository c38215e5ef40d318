// artgen <folder>: draws every source image the packer reads into the folder.
#include <filesystem>
#include <iostream>

#include "artgen.h"
#include "image.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: artgen <output-folder>\n";
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    DrawFonts(argv[1]);
    DrawStage01Parts(argv[1]);
  } catch (const std::exception& error) {  // BuildError, or a filesystem error naming its path
    std::cerr << "artgen: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
