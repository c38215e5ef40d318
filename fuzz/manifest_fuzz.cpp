// The resource builder's manifest parser on arbitrary text: it may refuse it with a
// BuildError, and must do nothing else.
//
// The text is parsed as a manifest in a folder of our own, made once per process, so that
// `include` lines reach only the files planted there: a good fragment, a file that includes
// itself, a FIFO, a link to an endless device and a huge sparse file. Everything else an
// include names is missing (or outside, by an absolute or ../ path, read-only).
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "image.h"
#include "manifest.h"

namespace fs = std::filesystem;

namespace {

fs::path folder;

void RemoveFolder() {
  std::error_code error;
  fs::remove_all(folder, error);
}

void Plant(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

const fs::path& Folder() {
  if (!folder.empty()) return folder;
  std::string pattern = (fs::temp_directory_path() / "manifest_fuzz.XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("manifest_fuzz: mkdtemp");
    std::abort();
  }
  folder = pattern;
  std::atexit(RemoveFolder);
  Plant(folder / "part.txt", "sprite 300 ship 1 wing box 0 0 8 8 origin 4 4\ncopy tiles\n");
  fs::create_directory(folder / "sub");
  Plant(folder / "sub" / "deep.txt", "range 400 3 font 0 d_\ninclude ../part.txt\n");
  Plant(folder / "loop.txt", "include loop.txt\n");
  if (mkfifo((folder / "pipe").c_str(), 0600) != 0) std::perror("manifest_fuzz: mkfifo");
  fs::create_symlink("/dev/zero", folder / "zero");
  // Sparse: it takes no room, yet reading it whole would take a gigabyte.
  Plant(folder / "big.txt", "count 9\n");
  if (truncate((folder / "big.txt").c_str(), off_t(1) << 30) != 0)
    std::perror("manifest_fuzz: truncate");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string fileName = (Folder() / "fuzz.txt").string();
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    ParseManifest(text, fileName);
  } catch (const BuildError&) {
  }
  return 0;
}
