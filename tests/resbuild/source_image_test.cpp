#include <gtest/gtest.h>

#include <fstream>

#include "index.h"
#include "source_image.h"

namespace fs = std::filesystem;

namespace {

class SourceFolder : public testing::Test {
 protected:
  fs::path folder =
      fs::path(testing::TempDir()) / testing::UnitTest::GetInstance()->current_test_info()->name();

  void SetUp() override {
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  void WriteText(const std::string& file, const std::string& text) {
    std::ofstream(folder / file) << text;
  }

  std::string LoadError(const std::string& name) {
    try {
      LoadSourceImage(folder, name);
    } catch (const BuildError& error) {
      return error.what();
    }
    return "no error";
  }
};

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST_F(SourceFolder, ReadsTheFrameGridAndCutsFramesRowByRow) {
  Image image = MakeImage(6, 4, Rgb{0, 0, 0});
  PixelAt(image, 4, 2) = Rgb{200, 100, 50};  // top-left of frame 5 in a 3x2 grid of 2x2
  WriteFileBytes(folder / "grid.png", EncodePng(image));
  WriteText("grid.ini", "3\n2\n");

  SourceImage source = LoadSourceImage(folder, "grid");
  EXPECT_EQ(FrameCount(source), 6);
  EXPECT_EQ(FrameWidth(source), 2);
  EXPECT_EQ(FrameHeight(source), 2);
  Image frame = FrameImage(source, 5);
  EXPECT_EQ(frame.width, 2);
  EXPECT_EQ(PixelAt(frame, 0, 0), (Rgb{200, 100, 50}));
}

TEST_F(SourceFolder, WithoutAGridFileTheImageIsOneFrame) {
  WriteFileBytes(folder / "one.png", EncodePng(MakeImage(7, 3, Rgb{1, 1, 1})));
  SourceImage source = LoadSourceImage(folder, "one");
  EXPECT_EQ(FrameCount(source), 1);
  EXPECT_EQ(FrameWidth(source), 7);
}

TEST_F(SourceFolder, BadFilesAreErrorsNamingTheFile) {
  EXPECT_TRUE(Contains(LoadError("missing"), "cannot open " + (folder / "missing.png").string()));

  WriteText("broken.png", "\x89PNG\r\n\x1a\n not really");
  EXPECT_TRUE(
      Contains(LoadError("broken"), (folder / "broken.png").string() + ": not a readable PNG"));

  Image nearKey = MakeImage(4, 4, KeyColour);
  PixelAt(nearKey, 3, 1) = Rgb{252, 2, 250};
  WriteFileBytes(folder / "pink.png", EncodePng(nearKey));
  EXPECT_TRUE(Contains(LoadError("pink"), "pink.png: pixel (3,1) is so close to magenta"));

  WriteFileBytes(folder / "odd.png", EncodePng(MakeImage(5, 4, KeyColour)));
  WriteText("odd.ini", "2\n1\n");
  EXPECT_TRUE(Contains(LoadError("odd"), "odd.ini: 2x1 frames do not divide"));
  WriteText("odd.ini", "five\n");
  EXPECT_TRUE(Contains(LoadError("odd"), "odd.ini: expected the column count"));
}

TEST_F(SourceFolder, ManifestImagesFailAtTheLineThatNamesThem) {
  WriteFileBytes(folder / "there.png", EncodePng(MakeImage(2, 2, KeyColour)));
  Manifest manifest =
      ParseManifest("count 3\nsprite 1 there 0 a\ncopy there\nsprite 2 gone 0 b\n", "m.txt");
  try {
    LoadManifestImages(manifest, folder);
    ADD_FAILURE() << "no error";
  } catch (const BuildError& error) {
    EXPECT_TRUE(Contains(error.what(), "m.txt:4: image 'gone': cannot open")) << error.what();
    EXPECT_TRUE(Contains(error.what(), "gone.png")) << error.what();
  }
}

TEST(ReadFileBytes, RefusesWhatIsNotARegularFileByName) {
  const fs::path folder = fs::temp_directory_path() / "resbuild-read-test";
  fs::create_directories(folder / "image.png");
  try {
    ReadFileBytes(folder / "image.png");
    ADD_FAILURE() << "a folder was read";
  } catch (const BuildError& error) {
    EXPECT_EQ(std::string(error.what()),
              "cannot read " + (folder / "image.png").string() + ": not a regular file");
  }
  fs::remove_all(folder);
}
