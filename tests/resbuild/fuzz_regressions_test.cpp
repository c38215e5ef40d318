// Manifests that broke the parser under the fuzz target (fuzz/manifest_fuzz.cpp), parsed as it
// parses them: in a fresh folder holding the files it plants. The inputs are also in
// fuzz/corpus/manifest/, so the fuzz smoke run replays them against the planted files.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "image.h"
#include "manifest.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t MaxManifestBytes = 1 << 20;

// A loader that blocks on a FIFO would stall the whole test run; this ends it instead.
struct Watchdog {
  Watchdog() { alarm(30); }
  ~Watchdog() { alarm(0); }
};

class ManifestFuzzRegressions : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "resbuild-fuzz-regressions.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }

  void Plant(const std::string& name, const std::string& text) {
    WriteFileBytes(folder / name, std::vector<uint8_t>(text.begin(), text.end()));
  }

  std::string FileName() const { return (folder / "fuzz.txt").string(); }
  std::string At(int line) const { return Where(FileName(), line); }
  std::string Path(const std::string& name) const { return (folder / name).string(); }

  // The BuildError's text, or "accepted".
  std::string Parse(const std::string& text) {
    Watchdog watchdog;
    try {
      ParseManifest(text, FileName());
      return "accepted";
    } catch (const BuildError& error) {
      return error.what();
    }
  }

  fs::path folder;
};

}  // namespace

// The name ran to the NUL, so the folder itself was read, and std::ios_base::failure escaped.
TEST_F(ManifestFuzzRegressions, NulInAnIncludeNameIsRefused) {
  const std::string input =
      std::string("count 9\ninclude ") + std::string(108, '\0') + "loo\nin\n";
  EXPECT_EQ(Parse(input), At(2) + "the name of the manifest to include has a NUL byte");
}

// Reading a folder threw std::ios_base::failure rather than a BuildError.
TEST_F(ManifestFuzzRegressions, IncludingAFolderIsRefused) {
  EXPECT_EQ(Parse("include . \x94ou atns"),
            At(1) + "cannot include " + Path(".") + ": not a regular file");
  fs::create_directory(folder / "sub");
  EXPECT_EQ(Parse("count 9\ninclude sub\n"),
            At(2) + "cannot include " + Path("sub") + ": not a regular file");
}

// Opening a FIFO waits for a writer: the builder hung.
TEST_F(ManifestFuzzRegressions, IncludingAFifoIsRefused) {
  ASSERT_EQ(mkfifo((folder / "pipe").c_str(), 0600), 0);
  EXPECT_EQ(Parse("count 9\ninclude pipe\n"),
            At(2) + "cannot include " + Path("pipe") + ": not a regular file");
}

// The fuzzer's device was /dev/zero, read until memory ran out; /dev/null takes the same
// path without that risk, and used to be included as an empty manifest.
TEST_F(ManifestFuzzRegressions, IncludingADeviceIsRefusedEvenThroughALink) {
  fs::create_symlink("/dev/null", folder / "null");
  EXPECT_EQ(Parse("count 9\ninclude null\n"),
            At(2) + "cannot include " + Path("null") + ": not a regular file");
  EXPECT_EQ(Parse("count 9\ninclude /dev/null\n"),
            At(2) + "cannot include /dev/null: not a regular file");

  // A link to a manifest is still followed.
  Plant("part.txt", "sprite 2 a 0 x\n");
  fs::create_symlink("part.txt", folder / "link.txt");
  EXPECT_EQ(Parse("count 9\ninclude link.txt\n"), "accepted");
}

// The fuzzer's big.txt was 1 GiB, read whole before its first line was looked at: over the
// 10 s limit. One byte past the limit is refused the same way.
TEST_F(ManifestFuzzRegressions, IncludingAHugeFileIsRefusedBeforeReadingIt) {
  std::string big = "count 9\n";
  big.resize(MaxManifestBytes + 1, '\0');
  Plant("big.txt", big);
  const std::string input =
      "# a shnr# a 65. gbiAtxtr\n" + std::string(26, '\v') + "include\vbig.txt\v\v\v\vloop.txt" +
      std::string(27, '\v') + "copy ztaG" + std::string(4, '\0') + "-32766bo00";
  ASSERT_EQ(input.size(), 128u);
  EXPECT_EQ(Parse(input), At(2) + "cannot include " + Path("big.txt") + ": larger than " +
                              std::to_string(MaxManifestBytes) + " bytes");
}

TEST_F(ManifestFuzzRegressions, AnIncludeOfExactlyTheLimitIsRead) {
  std::string part = "sprite 2 a 0 x\n#";
  part.resize(MaxManifestBytes - 1, '#');
  part += '\n';
  Plant("part.txt", part);
  EXPECT_EQ(Parse("count 9\ninclude part.txt\n"), "accepted");
}

// Duplicate ids were found only after the whole manifest was read: 200 lines of this range
// asked for 6.5 million sprites and a gigabyte, past the fuzzer's time limit.
TEST_F(ManifestFuzzRegressions, RepeatedRangesStopAtTheFirstRepeatedId) {
  std::string input = "count 32767\n";
  for (int i = 0; i < 200; ++i) input += "range 1 32767 a 0 p\n";
  ASSERT_EQ(input.size(), 4012u);
  EXPECT_EQ(Parse(input), At(3) + "sprite id 1 is already defined at " + FileName() + ":2");

  // Caught on the line that repeats it, before the lines after it are read.
  EXPECT_EQ(Parse("count 32767\nrange 1 32767 a 0 p\nrange 1 32767 a 0 p\nbogus\n"),
            At(3) + "sprite id 1 is already defined at " + FileName() + ":2");
  // Every id once is no repeat.
  EXPECT_EQ(Parse("count 32767\nrange 1 32767 a 0 p\n"), "accepted");
}
