// A source image as the art generator leaves it: `<name>.png`, and for a frame grid a
// `<name>.ini` whose first two lines are the column and row counts.
#pragma once

#include <filesystem>
#include <string>

#include "image.h"

struct SourceImage {
  Image image;
  int columns = 1, rows = 1;
};

inline int FrameCount(const SourceImage& source) { return source.columns * source.rows; }
inline int FrameWidth(const SourceImage& source) { return source.image.width / source.columns; }
inline int FrameHeight(const SourceImage& source) { return source.image.height / source.rows; }

// Frames are numbered row by row from 0.
Image FrameImage(const SourceImage& source, int frame);

// Loads and checks `<folder>/<name>.png` (and its .ini); a pixel that would turn transparent
// in the game without being the exact key colour is an error too.
SourceImage LoadSourceImage(const std::filesystem::path& folder, const std::string& name);
