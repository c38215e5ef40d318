// artgen <image-folder> <data-folder> <icon-folder>: draws every source image the packer reads
// into the image folder, writes the stage map files into the data folder and the programs'
// desktop icons into the icon folder.
#include <filesystem>
#include <iostream>

#include "artgen.h"
#include "image.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: artgen <image-folder> <data-folder> <icon-folder>\n";
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    std::filesystem::create_directories(argv[2]);
    DrawFonts(argv[1]);
    DrawStage01Parts(argv[1]);
    DrawShipAndEffects(argv[1]);
    DrawEnemies(argv[1]);
    DrawBoss(argv[1]);
    DrawScenes(argv[1]);  // after the fonts and the ship, whose images it reuses
    WriteStageMaps(argv[2]);
    DrawIcons(argv[1], argv[3]);
  } catch (const std::exception& error) {  // BuildError, or a filesystem error naming its path
    std::cerr << "artgen: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
