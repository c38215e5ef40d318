#include "manifest.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "image.h"

namespace {

constexpr int MaxInt16 = 32767;
constexpr int MaxIncludeDepth = 8;  // deeper is a loop of includes
// Real manifests are a few kilobytes; a file far larger is not one and is not read.
constexpr uintmax_t MaxManifestBytes = 1 << 20;

// The tokens of one manifest line, taken in order.
struct Cursor {
  std::vector<std::string> tokens;
  size_t next = 0;
  std::string where;

  [[noreturn]] void Fail(const std::string& message) const { throw BuildError(where + message); }

  bool Done() const { return next == tokens.size(); }

  const std::string& Take(const std::string& what) {
    if (Done()) Fail("missing " + what);
    return tokens[next++];
  }

  // Names go to the game as ASCII.
  const std::string& TakeName(const std::string& what) {
    const std::string& token = Take(what);
    for (char c : token)
      if (c < '!' || c > '~') Fail(what + " '" + token + "' is not plain ASCII");
    return token;
  }

  int TakeInt(const std::string& what, int min, int max) {
    const std::string& token = Take(what);
    int value = 0;
    auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size())
      Fail("expected a number for " + what + ", got '" + token + "'");
    if (value < min || value > max)
      Fail(what + " " + token + " is outside " + std::to_string(min) + ".." + std::to_string(max));
    return value;
  }
};

std::vector<std::string> Tokens(const std::string& line) {
  std::istringstream words(line.substr(0, line.find('#')));
  std::vector<std::string> tokens;
  for (std::string word; words >> word;) tokens.push_back(word);
  return tokens;
}

void TakeOptions(Cursor& cursor, SpriteLine& sprite) {
  bool haveOrigin = false;
  while (!cursor.Done()) {
    const std::string& option = cursor.Take("option");
    if (option == "box" && !sprite.box) {
      Box box;
      box.left = cursor.TakeInt("box left", -MaxInt16, MaxInt16);
      box.top = cursor.TakeInt("box top", -MaxInt16, MaxInt16);
      box.width = cursor.TakeInt("box width", 0, MaxInt16);
      box.height = cursor.TakeInt("box height", 0, MaxInt16);
      sprite.box = box;
    } else if (option == "origin" && !haveOrigin) {
      sprite.origin.x = cursor.TakeInt("origin x", -MaxInt16, MaxInt16);
      sprite.origin.y = cursor.TakeInt("origin y", -MaxInt16, MaxInt16);
      haveOrigin = true;
    } else {
      cursor.Fail("unexpected '" + option + "' (box and origin may each be given once)");
    }
  }
}

[[noreturn]] void DuplicateId(const SpriteLine& sprite, const SpriteLine& first) {
  throw BuildError(Where(sprite.file, sprite.line) + "sprite id " + std::to_string(sprite.id) +
                   " is already defined at " + first.file + ":" + std::to_string(first.line));
}

void CheckDuplicateIds(const Manifest& manifest) {
  std::map<int, const SpriteLine*> lineOfId;
  for (const SpriteLine& sprite : manifest.sprites) {
    auto [it, added] = lineOfId.emplace(sprite.id, &sprite);
    if (!added) DuplicateId(sprite, *it->second);
  }
}

// Ids run 1..MaxInt16, so a sprite past that many repeats one. It is reported then, rather
// than after a few kilobytes of range lines have asked for millions of sprites.
void AddSprite(Manifest& manifest, const SpriteLine& sprite) {
  manifest.sprites.push_back(sprite);
  if (manifest.sprites.size() > size_t(MaxInt16)) CheckDuplicateIds(manifest);
}

void TakeSprite(Cursor& cursor, SpriteLine sprite, Manifest& manifest) {
  sprite.id = cursor.TakeInt("sprite id", 1, MaxInt16);
  sprite.image = cursor.Take("image name");
  sprite.frame = cursor.TakeInt("frame", 0, MaxInt16);
  sprite.name = cursor.TakeName("sprite name");
  TakeOptions(cursor, sprite);
  AddSprite(manifest, sprite);
  manifest.names.push_back({sprite.name, sprite.id, 1, false, sprite.file, sprite.line});
}

void TakeRange(Cursor& cursor, SpriteLine sprite, Manifest& manifest) {
  int first = cursor.TakeInt("first id", 1, MaxInt16);
  int count = cursor.TakeInt("id count", 1, MaxInt16 - first + 1);
  sprite.image = cursor.Take("image name");
  int firstFrame = cursor.TakeInt("first frame", 0, MaxInt16 - count + 1);
  std::string prefix = cursor.TakeName("name prefix");
  TakeOptions(cursor, sprite);
  for (int i = 0; i < count; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%03d", firstFrame + i);
    sprite.id = first + i;
    sprite.frame = firstFrame + i;
    sprite.name = prefix + number;
    AddSprite(manifest, sprite);
  }
  if (prefix.size() > 1 && prefix.back() == '_') prefix.pop_back();
  manifest.names.push_back({prefix, first, count, true, sprite.file, sprite.line});
}

void ParseInto(Manifest& manifest, const std::string& text, const std::string& fileName,
               int depth);

void TakeInclude(Cursor& cursor, const std::string& fileName, int depth, Manifest& manifest) {
  namespace fs = std::filesystem;
  const std::string& name = cursor.Take("manifest to include");
  // The system would read the name only up to the NUL, which is another file.
  if (name.find('\0') != std::string::npos)
    cursor.Fail("the name of the manifest to include has a NUL byte");
  fs::path path = fs::path(fileName).parent_path() / name;
  if (depth >= MaxIncludeDepth) cursor.Fail("includes nest too deeply (a loop?)");
  // Reading a folder throws, a FIFO blocks and a device never ends; a missing file is left to
  // ReadFileBytes, which names it.
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::exists(status)) {
    if (!fs::is_regular_file(status))
      cursor.Fail("cannot include " + path.string() + ": not a regular file");
    const uintmax_t size = fs::file_size(path, error);
    if (error) cursor.Fail("cannot include " + path.string() + ": its size is unreadable");
    if (size > MaxManifestBytes)
      cursor.Fail("cannot include " + path.string() + ": larger than " +
                  std::to_string(MaxManifestBytes) + " bytes");
  }
  std::vector<uint8_t> text = ReadFileBytes(path);
  ParseInto(manifest, std::string(text.begin(), text.end()), path.string(), depth + 1);
}

void TakeLine(Cursor& cursor, const std::string& fileName, int line, int depth,
              Manifest& manifest) {
  const std::string keyword = cursor.Take("keyword");
  SpriteLine sprite;
  sprite.file = fileName;
  sprite.line = line;
  if (keyword == "count") {
    if (manifest.count) cursor.Fail("count given twice");
    manifest.count = cursor.TakeInt("highest sprite id", 1, MaxInt16);
  } else if (keyword == "sprite") {
    TakeSprite(cursor, sprite, manifest);
  } else if (keyword == "range") {
    TakeRange(cursor, sprite, manifest);
  } else if (keyword == "copy") {
    manifest.copies.push_back({cursor.Take("image name"), fileName, line});
  } else if (keyword == "include") {
    TakeInclude(cursor, fileName, depth, manifest);
  } else {
    cursor.Fail("unknown keyword '" + keyword + "'");
  }
  if (!cursor.Done()) cursor.Fail("unexpected '" + cursor.tokens[cursor.next] + "'");
}

void CheckIds(const Manifest& manifest) {
  std::map<int, const SpriteLine*> lineOfId;
  for (const SpriteLine& sprite : manifest.sprites) {
    std::string where = Where(sprite.file, sprite.line);
    if (sprite.id > manifest.count)
      throw BuildError(where + "sprite id " + std::to_string(sprite.id) + " is above count " +
                       std::to_string(manifest.count));
    auto [it, added] = lineOfId.emplace(sprite.id, &sprite);
    if (!added) DuplicateId(sprite, *it->second);
  }
}

void ParseInto(Manifest& manifest, const std::string& text, const std::string& fileName,
               int depth) {
  std::istringstream lines(text);
  int line = 0;
  for (std::string content; std::getline(lines, content);) {
    Cursor cursor{Tokens(content), 0, Where(fileName, ++line)};
    if (!cursor.Done()) TakeLine(cursor, fileName, line, depth, manifest);
  }
}

}  // namespace

std::string Where(const std::string& file, int line) {
  return file + ":" + std::to_string(line) + ": ";
}

Manifest ParseManifest(const std::string& text, const std::string& fileName) {
  Manifest manifest;
  manifest.fileName = fileName;
  ParseInto(manifest, text, fileName, 0);
  if (!manifest.count) throw BuildError(fileName + ": no 'count' line");
  CheckIds(manifest);
  return manifest;
}
