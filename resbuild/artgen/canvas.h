// Drawing on an Image for the art generator. Everything clips at the image edges.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "image.h"

void Plot(Image& image, int x, int y, Rgb colour);
void FillRect(Image& image, int x, int y, int width, int height, Rgb colour);
void DrawLine(Image& image, int x0, int y0, int x1, int y1, Rgb colour);
void FillCircle(Image& image, int centreX, int centreY, int radius, Rgb colour);

// Text-authored art: one string per pixel row, one character per pixel.
using Art = std::vector<std::string>;

// Rows of a raw string literal; the line break right after R"( is not a row.
Art ParseArt(std::string_view text);

struct Ink {
  char symbol;
  Rgb colour;
};

// Symbols without an ink leave the image as it is.
void BlitArt(Image& image, int x, int y, const Art& art, std::initializer_list<Ink> inks);

// Writes <folder>/<name>.png and, for a grid of frames, <name>.ini.
void SaveSourceImage(const Image& image, const std::filesystem::path& folder,
                     const std::string& name, int columns = 1, int rows = 1);
