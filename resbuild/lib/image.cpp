#include "image.h"

#include <fstream>
#include <iterator>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

Image MakeImage(int width, int height, Rgb fill) {
  return Image{width, height, std::vector<Rgb>(static_cast<size_t>(width) * height, fill)};
}

Rgb& PixelAt(Image& image, int x, int y) {
  return image.pixels[static_cast<size_t>(y) * image.width + x];
}

Rgb PixelAt(const Image& image, int x, int y) {
  return image.pixels[static_cast<size_t>(y) * image.width + x];
}

Image Crop(const Image& image, int x, int y, int width, int height) {
  Image part = MakeImage(width, height, KeyColour);
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
      PixelAt(part, col, row) = PixelAt(image, x + col, y + row);
  return part;
}

void Paste(Image& dest, const Image& source, int x, int y) {
  for (int row = 0; row < source.height; ++row)
    for (int col = 0; col < source.width; ++col)
      PixelAt(dest, x + col, y + row) = PixelAt(source, col, row);
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  // A folder opens but fails to read, and a FIFO or a device may never end.
  std::error_code error;
  if (std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error))
    throw BuildError("cannot read " + path.string() + ": not a regular file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw BuildError("cannot open " + path.string());
  try {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  } catch (const std::ios_base::failure&) {
    throw BuildError("cannot read " + path.string());
  }
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw BuildError("cannot write " + path.string());
}

static void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

namespace {

std::vector<uint8_t> Encode(int width, int height, int channels, const void* pixels) {
  std::vector<uint8_t> png;
  if (!stbi_write_png_to_func(AppendBytes, &png, width, height, channels, pixels,
                              width * channels))
    throw BuildError("cannot encode a PNG image");
  return png;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
  static_assert(sizeof(Rgb) == 3, "pixels go to the encoder as packed RGB");
  return Encode(image.width, image.height, 3, image.pixels.data());
}

std::vector<uint8_t> EncodePngRgba(int width, int height, const std::vector<uint8_t>& rgba) {
  if (rgba.size() != size_t(width) * size_t(height) * 4)
    throw BuildError("RGBA pixels of the wrong count for the picture");
  return Encode(width, height, 4, rgba.data());
}

Image DecodePng(const std::vector<uint8_t>& bytes, const std::string& fileName) {
  int width = 0, height = 0, channels = 0;
  stbi_uc* data = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width,
                                        &height, &channels, 3);
  if (!data) throw BuildError(fileName + ": not a readable PNG (" + stbi_failure_reason() + ")");
  Image image = MakeImage(width, height, KeyColour);
  auto* pixels = reinterpret_cast<const Rgb*>(data);
  image.pixels.assign(pixels, pixels + image.pixels.size());
  stbi_image_free(data);
  return image;
}
