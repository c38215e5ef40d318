// The sprite manifest: which image frame each sprite id shows, under what name.
//
//   count <highest-id>
//   sprite <id> <image> <frame> <name> [box <left> <top> <width> <height>] [origin <x> <y>]
//   range <first-id> <count> <image> <first-frame> <name-prefix> [box ...] [origin ...]
//   copy <image>
//   include <manifest>        (a path relative to the including manifest's folder)
//
// `#` starts a comment. Box and origin are in pixels of the frame cell; the box defaults to
// the whole cell and the origin (the draw point) to its top-left. A range gives ids
// first-id.. the frames first-frame.. and names prefix + the frame number in three digits.
// `copy` passes an image to the output folder whole, for surfaces the game draws from itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct Box {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Point {
  int x = 0, y = 0;
};

struct SpriteLine {
  int id = 0;
  std::string image;
  int frame = 0;
  std::string name;
  std::optional<Box> box;
  Point origin;
  std::string file;  // where the manifest defines it, for error messages
  int line = 0;
};

struct CopyLine {
  std::string image;
  std::string file;
  int line = 0;
};

// The name a sprite or range line gives its ids, for the code that draws them.
struct NamedIds {
  std::string name;  // a sprite's name, or a range's prefix without its trailing "_"
  int first = 0, count = 1;
  bool range = false;
  std::string file;
  int line = 0;
};

struct Manifest {
  std::string fileName;
  int count = 0;
  std::vector<SpriteLine> sprites;  // ranges expanded, in manifest order
  std::vector<NamedIds> names;      // one per sprite or range line
  std::vector<CopyLine> copies;
};

// Syntax, duplicate ids and ids above the count are errors naming file and line. Included
// manifests are read from the folder of `fileName`.
Manifest ParseManifest(const std::string& text, const std::string& fileName);

// "file:line: " for an error about a manifest line.
std::string Where(const std::string& file, int line);
