#include "canvas.h"

#include <cstdlib>
#include <fstream>
#include <utility>

namespace {

// Images and text art as grids of cells, so that one routine turns both.
int GridWidth(const Image& image) { return image.width; }
int GridWidth(const Art& art) { return WidthOf(art); }
int GridHeight(const Image& image) { return image.height; }
int GridHeight(const Art& art) { return HeightOf(art); }
Rgb& CellAt(Image& image, int x, int y) { return PixelAt(image, x, y); }
Rgb CellAt(const Image& image, int x, int y) { return PixelAt(image, x, y); }
char& CellAt(Art& art, int x, int y) { return art[y][x]; }
char CellAt(const Art& art, int x, int y) { return art[y][x]; }
Image Blank(const Image&, int width, int height) { return MakeImage(width, height, KeyColour); }
Art Blank(const Art&, int width, int height) { return Art(height, std::string(width, '.')); }

// A width x height grid whose cell (x, y) is the source's cell from(x, y).
template <typename Grid, typename From>
Grid Remapped(const Grid& grid, int width, int height, From from) {
  Grid out = Blank(grid, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      auto [fromX, fromY] = from(x, y);
      CellAt(out, x, y) = CellAt(grid, fromX, fromY);
    }
  return out;
}

template <typename Grid>
Grid TransposedGrid(const Grid& grid) {
  return Remapped(grid, GridHeight(grid), GridWidth(grid), [](int x, int y) {
    return std::pair{y, x};
  });
}

template <typename Grid>
Grid MirroredGrid(const Grid& grid) {
  int last = GridWidth(grid) - 1;
  return Remapped(grid, GridWidth(grid), GridHeight(grid), [&](int x, int y) {
    return std::pair{last - x, y};
  });
}

template <typename Grid>
Grid FlippedGrid(const Grid& grid) {
  int last = GridHeight(grid) - 1;
  return Remapped(grid, GridWidth(grid), GridHeight(grid), [&](int x, int y) {
    return std::pair{x, last - y};
  });
}

}  // namespace

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

void Overlay(Image& base, const Image& top, Rgb clear) {
  for (int y = 0; y < top.height; ++y)
    for (int x = 0; x < top.width; ++x)
      if (PixelAt(top, x, y) != clear) PixelAt(base, x, y) = PixelAt(top, x, y);
}

Art ParseArt(std::string_view text) {
  if (text.starts_with('\n')) text.remove_prefix(1);
  Art art;
  for (size_t end; (end = text.find('\n')) != std::string_view::npos; text.remove_prefix(end + 1))
    art.emplace_back(text.substr(0, end));
  if (!text.empty()) art.emplace_back(text);
  return art;
}

int WidthOf(const Art& art) { return art.empty() ? 0 : static_cast<int>(art[0].size()); }
int HeightOf(const Art& art) { return static_cast<int>(art.size()); }

char ArtAt(const Art& art, int x, int y) {
  bool inside = x >= 0 && y >= 0 && y < HeightOf(art) && x < static_cast<int>(art[y].size());
  return inside ? art[y][x] : '.';
}

Art Ringed(const Art& art, char lit, char shade) {
  Art out = Blank(art, WidthOf(art) + 2, HeightOf(art) + 2);
  for (int y = 0; y < HeightOf(art); ++y)
    for (int x = 0; x < WidthOf(art); ++x)
      if (art[y][x] != '.') out[y + 1][x + 1] = art[y][x];
  for (int y = 0; y < HeightOf(art); ++y)
    for (int x = 0; x < WidthOf(art); ++x)
      if (art[y][x] != '.')
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            char& ring = out[y + 1 + dy][x + 1 + dx];
            if (ArtAt(art, x + dx, y + dy) == '.' && ring != shade)
              ring = dx + dy > 0 ? shade : lit;
          }
  return out;
}

Image Transposed(const Image& image) { return TransposedGrid(image); }
Art Transposed(const Art& art) { return TransposedGrid(art); }
Image Mirrored(const Image& image) { return MirroredGrid(image); }
Art Mirrored(const Art& art) { return MirroredGrid(art); }
Image Flipped(const Image& image) { return FlippedGrid(image); }
Art Flipped(const Art& art) { return FlippedGrid(art); }

void BlitArt(Image& image, int x, int y, const Art& art, std::initializer_list<Ink> inks) {
  for (int row = 0; row < HeightOf(art); ++row)
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

void SaveFrames(const std::vector<Image>& frames, const std::filesystem::path& folder,
                const std::string& name, int columns) {
  int rows = (static_cast<int>(frames.size()) + columns - 1) / columns;
  int width = frames.front().width, height = frames.front().height;
  Image grid = MakeImage(columns * width, rows * height, KeyColour);
  for (size_t i = 0; i < frames.size(); ++i)
    Paste(grid, frames[i], static_cast<int>(i) % columns * width,
          static_cast<int>(i) / columns * height);
  SaveSourceImage(grid, folder, name, columns, rows);
}
