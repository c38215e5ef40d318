#include "source_image.h"

#include <fstream>

Image FrameImage(const SourceImage& source, int frame) {
  int width = FrameWidth(source), height = FrameHeight(source);
  return Crop(source.image, frame % source.columns * width, frame / source.columns * height, width,
              height);
}

static void ReadGrid(const std::filesystem::path& path, SourceImage& source) {
  std::ifstream in(path);
  if (!in) return;  // no grid file: one frame
  if (!(in >> source.columns >> source.rows) || source.columns < 1 || source.rows < 1)
    throw BuildError(path.string() + ": expected the column count and row count of the frames");
  if (source.image.width % source.columns || source.image.height % source.rows)
    throw BuildError(path.string() + ": " + std::to_string(source.columns) + "x" +
                     std::to_string(source.rows) + " frames do not divide the image evenly");
}

static void CheckNearKey(const std::filesystem::path& path, const Image& image) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      Rgb c = PixelAt(image, x, y);
      if (IsTransparent(c) && c != KeyColour)
        throw BuildError(path.string() + ": pixel (" + std::to_string(x) + "," + std::to_string(y) +
                         ") is so close to magenta that the game would show it transparent");
    }
}

SourceImage LoadSourceImage(const std::filesystem::path& folder, const std::string& name) {
  std::filesystem::path png = folder / (name + ".png");
  SourceImage source;
  source.image = DecodePng(ReadFileBytes(png), png.string());
  CheckNearKey(png, source.image);
  ReadGrid(folder / (name + ".ini"), source);
  return source;
}
