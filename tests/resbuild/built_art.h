// The resources the build packed, read back, and each sprite drawn from them the way the game
// draws it, for checks on the generated art.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "index.h"
#include "index_reader.h"

// A packed image file: the prefix the game skips, then its PNG.
inline Image LoadSheetFile(const std::string& name) {
  std::vector<uint8_t> file = ReadFileBytes(std::string(RESBUILD_OUTPUT_DIR) + "/" + name);
  if (file.size() < SheetPrefixBytes) throw BuildError(name + " is shorter than its prefix");
  return DecodePng({file.begin() + SheetPrefixBytes, file.end()}, name);
}

class BuiltArt : public testing::Test {
 protected:
  ResourceIndex index = ReadIndex(ReadFileBytes(std::string(RESBUILD_OUTPUT_DIR) + "/out.dat"));
  Image sheet = LoadSheetFile("sheet000.png");

  // The sprite over its box, the key where it draws nothing; a glow reaching past the box
  // (a hit box smaller than the picture) is left out.
  Image Drawn(int id) const {
    const SpriteRecord& box = index.sprites[id];
    Image image = MakeImage(box.Width, box.Height, KeyColour);
    for (const PieceRecord& piece : ChainOf(index, id))
      for (int y = 0; y < piece.Height; ++y)
        for (int x = 0; x < piece.Width; ++x) {
          Rgb c = PixelAt(sheet, piece.SrcX + x, piece.Page * index.pageHeight + piece.SrcY + y);
          int atX = piece.OffsetX - box.Left + x, atY = piece.OffsetY - box.Top + y;
          if (c != KeyColour && atX >= 0 && atY >= 0 && atX < box.Width && atY < box.Height)
            PixelAt(image, atX, atY) = c;
        }
    return image;
  }
};
