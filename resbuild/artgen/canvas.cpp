#include "canvas.h"

#include <cstdlib>
#include <fstream>

void Plot(Image& image, int x, int y, Rgb colour) {
  if (x >= 0 && y >= 0 && x < image.width && y < image.height) PixelAt(image, x, y) = colour;
}

void FillRect(Image& image, int x, int y, int width, int height, Rgb colour) {
  for (int row = y; row < y + height; ++row)
    for (int col = x; col < x + width; ++col) Plot(image, col, row, colour);
}

// Bresenham: hard pixels, no gaps.
void DrawLine(Image& image, int x0, int y0, int x1, int y1, Rgb colour) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
  for (int error = dx + dy;;) {
    Plot(image, x0, y0, colour);
    if (x0 == x1 && y0 == y1) return;
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y0 += stepY;
    }
  }
}

void FillCircle(Image& image, int centreX, int centreY, int radius, Rgb colour) {
  for (int y = -radius; y <= radius; ++y)
    for (int x = -radius; x <= radius; ++x)
      if (x * x + y * y <= radius * radius + radius) Plot(image, centreX + x, centreY + y, colour);
}

Art ParseArt(std::string_view text) {
  if (text.starts_with('\n')) text.remove_prefix(1);
  Art art;
  for (size_t end; (end = text.find('\n')) != std::string_view::npos; text.remove_prefix(end + 1))
    art.emplace_back(text.substr(0, end));
  if (!text.empty()) art.emplace_back(text);
  return art;
}

void BlitArt(Image& image, int x, int y, const Art& art, std::initializer_list<Ink> inks) {
  for (int row = 0; row < static_cast<int>(art.size()); ++row)
    for (int col = 0; col < static_cast<int>(art[row].size()); ++col)
      for (const Ink& ink : inks)
        if (art[row][col] == ink.symbol) Plot(image, x + col, y + row, ink.colour);
}

void SaveSourceImage(const Image& image, const std::filesystem::path& folder,
                     const std::string& name, int columns, int rows) {
  WriteFileBytes(folder / (name + ".png"), EncodePng(image));
  if (columns * rows == 1) return;
  std::ofstream grid(folder / (name + ".ini"));
  grid << columns << "\n" << rows << "\n";
  if (!grid.flush()) throw BuildError("cannot write " + (folder / (name + ".ini")).string());
}
