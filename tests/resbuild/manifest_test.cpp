#include <gtest/gtest.h>

#include <filesystem>

#include "image.h"
#include "manifest.h"

TEST(Manifest, ReadsEveryKindOfLine) {
  Manifest m = ParseManifest(
      "# fonts and a ship\n"
      "\n"
      "count 300   # highest id\n"
      "range 10 3 font 65 f_      # A, B, C\n"
      "sprite 200 ship 4 player box -2 3 20 10 origin 16 8\n"
      "sprite 201 ship 5 bank origin 1 2\n"
      "copy Stage01.parts\n",
      "m.txt");
  EXPECT_EQ(m.count, 300);
  ASSERT_EQ(m.sprites.size(), 5u);

  const SpriteLine& c = m.sprites[2];
  EXPECT_EQ(c.id, 12);
  EXPECT_EQ(c.image, "font");
  EXPECT_EQ(c.frame, 67);
  EXPECT_EQ(c.name, "f_067");
  EXPECT_EQ(c.line, 4);
  EXPECT_FALSE(c.box);

  const SpriteLine& player = m.sprites[3];
  EXPECT_EQ(player.id, 200);
  EXPECT_EQ(player.frame, 4);
  EXPECT_EQ(player.name, "player");
  ASSERT_TRUE(player.box);
  EXPECT_EQ(player.box->left, -2);
  EXPECT_EQ(player.box->top, 3);
  EXPECT_EQ(player.box->width, 20);
  EXPECT_EQ(player.box->height, 10);
  EXPECT_EQ(player.origin.x, 16);
  EXPECT_EQ(player.origin.y, 8);

  EXPECT_FALSE(m.sprites[4].box);
  EXPECT_EQ(m.sprites[4].origin.y, 2);

  ASSERT_EQ(m.copies.size(), 1u);
  EXPECT_EQ(m.copies[0].image, "Stage01.parts");
  EXPECT_EQ(m.copies[0].line, 7);
}

TEST(Manifest, RejectsBadLinesNamingFileAndLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"count 9\nsprite 1 a 0\n", "m.txt:2: missing sprite name"},
      {"count 9\nsprite one a 0 x\n", "m.txt:2: expected a number for sprite id, got 'one'"},
      {"count 9\nsprite 1 a 2x x\n", "m.txt:2: expected a number for frame"},
      {"count 9\nsprite 0 a 0 x\n", "m.txt:2: sprite id 0 is outside 1..32767"},
      {"count 9\nsprite 1 a -1 x\n", "m.txt:2: frame -1 is outside"},
      {"count 9\nsprite 1 a 0 x box 1 2 3\n", "m.txt:2: missing box height"},
      {"count 9\nsprite 1 a 0 x box 0 0 -4 4\n", "m.txt:2: box width -4 is outside"},
      {"count 9\nsprite 1 a 0 x origin 1 2 origin 3 4\n", "m.txt:2: unexpected 'origin'"},
      {"count 9\nsprite 1 a 0 x tilt 3\n", "m.txt:2: unexpected 'tilt'"},
      {"count 9\nsprite 1 a 0 caf\xc3\xa9\n",
       "m.txt:2: sprite name 'caf\xc3\xa9' is not plain ASCII"},
      {"count 9\ncopy\n", "m.txt:2: missing image name"},
      {"count 9\ncopy a b\n", "m.txt:2: unexpected 'b'"},
      {"count 9\nimage a\n", "m.txt:2: unknown keyword 'image'"},
      {"count 9\ninclude\n", "m.txt:2: missing manifest to include"},
      {"count 9\ninclude nowhere.txt\n", "nowhere.txt"},
      {"count 9\ncount 9\n", "m.txt:2: count given twice"},
      {"count 40000\n", "m.txt:1: highest sprite id 40000 is outside"},
      {"sprite 1 a 0 x\n", "m.txt: no 'count' line"},
      {"count 9\nsprite 10 a 0 x\n", "m.txt:2: sprite id 10 is above count 9"},
      {"count 9\nrange 8 3 a 0 p\n", "m.txt:2: sprite id 10 is above count 9"},
      {"count 9\nrange 32767 2 a 0 p\n", "m.txt:2: id count 2 is outside 1..1"},
      {"count 9\nsprite 3 a 0 x\n\nsprite 3 a 1 y\n",
       "m.txt:4: sprite id 3 is already defined at m.txt:2"},
      {"count 9\nrange 1 4 a 0 p\nsprite 2 a 0 x\n",
       "m.txt:3: sprite id 2 is already defined at m.txt:2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ParseManifest(c.text, "m.txt");
      ADD_FAILURE() << "no error";
    } catch (const BuildError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

TEST(Manifest, IncludedManifestsJoinTheOneThatNamesThem) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / "resbuild-include-test";
  fs::create_directories(folder / "parts");
  auto write = [&](const fs::path& path, const std::string& text) {
    WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
  };
  write(folder / "parts" / "ship.txt", "sprite 2 ship 0 body\ncopy tiles\n");
  write(folder / "parts" / "loop.txt", "include loop.txt\n");
  Manifest m = ParseManifest("count 9\nsprite 1 a 0 x\ninclude parts/ship.txt\n",
                             (folder / "m.txt").string());
  ASSERT_EQ(m.sprites.size(), 2u);
  EXPECT_EQ(m.sprites[1].name, "body");
  EXPECT_EQ(m.sprites[1].file, (folder / "parts" / "ship.txt").string());
  EXPECT_EQ(m.sprites[1].line, 1);
  EXPECT_EQ(m.copies.at(0).image, "tiles");
  try {
    ParseManifest("count 9\nsprite 2 a 0 x\ninclude parts/ship.txt\n", (folder / "m.txt").string());
    ADD_FAILURE() << "a duplicate across files was accepted";
  } catch (const BuildError& error) {
    EXPECT_NE(std::string(error.what()).find("ship.txt:1: sprite id 2 is already defined at"),
              std::string::npos)
        << error.what();
  }
  EXPECT_THROW(ParseManifest("count 9\ninclude parts/loop.txt\n", (folder / "m.txt").string()),
               BuildError);
  fs::remove_all(folder);
}
