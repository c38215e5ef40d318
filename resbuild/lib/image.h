// RGB images as the art generator draws them and the packer reads them, with the colour
// key the game uses for transparency, and PNG/file helpers that fail with the file's name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

// Bad input or an output that cannot be written; the message names the file.
struct BuildError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

struct Image {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;  // row by row
};

constexpr Rgb KeyColour{255, 0, 255};
constexpr uint16_t KeyRgb565 = 0xF81F;

constexpr uint16_t ToRgb565(Rgb c) {
  return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

// The game converts every surface to RGB565 and keys on magenta's value there.
constexpr bool IsTransparent(Rgb c) { return ToRgb565(c) == KeyRgb565; }

Image MakeImage(int width, int height, Rgb fill);
Rgb& PixelAt(Image& image, int x, int y);
Rgb PixelAt(const Image& image, int x, int y);
Image Crop(const Image& image, int x, int y, int width, int height);
void Paste(Image& dest, const Image& source, int x, int y);

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// 8-bit RGB PNG data.
std::vector<uint8_t> EncodePng(const Image& image);
// 8-bit RGBA PNG data of `rgba`, four bytes a pixel, row by row.
std::vector<uint8_t> EncodePngRgba(int width, int height, const std::vector<uint8_t>& rgba);
// `fileName` only names the data in the error for anything that is not a readable image.
Image DecodePng(const std::vector<uint8_t>& bytes, const std::string& fileName);
