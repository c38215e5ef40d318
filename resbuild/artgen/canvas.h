// Drawing on an Image for the art generator. Everything clips at the image edges.
#pragma once

#include <cmath>
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

// Copies the pixels of `top` that are not `clear`.
void Overlay(Image& base, const Image& top, Rgb clear = KeyColour);

// To the nearest integer, halves away from zero.
inline int Round(double value) { return static_cast<int>(std::lround(value)); }

// Text-authored art: one string per pixel row, one character per pixel.
using Art = std::vector<std::string>;

// Rows of a raw string literal; the line break right after R"( is not a row.
Art ParseArt(std::string_view text);

int WidthOf(const Art& art);
int HeightOf(const Art& art);
// The symbol at (x, y); '.' outside the art.
char ArtAt(const Art& art, int x, int y);

// The art grown by a pixel on every side, its symbols ringed (corners too) with `lit`
// above or left of them and `shade` below or right; shade wins where both reach.
Art Ringed(const Art& art, char lit, char shade);

// Images and text art turn over alike.
Image Transposed(const Image& image);
Art Transposed(const Art& art);
Image Mirrored(const Image& image);  // left to right
Art Mirrored(const Art& art);
Image Flipped(const Image& image);  // top to bottom
Art Flipped(const Art& art);

struct Ink {
  char symbol;
  Rgb colour;
};

// Symbols without an ink leave the image as it is.
void BlitArt(Image& image, int x, int y, const Art& art, std::initializer_list<Ink> inks);

// Writes <folder>/<name>.png and, for a grid of frames, <name>.ini.
void SaveSourceImage(const Image& image, const std::filesystem::path& folder,
                     const std::string& name, int columns = 1, int rows = 1);

// Frames of one size in a grid `columns` wide, numbered row by row.
void SaveFrames(const std::vector<Image>& frames, const std::filesystem::path& folder,
                const std::string& name, int columns);
