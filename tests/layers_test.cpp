// The code's layers, lowest first: common (and the settings store beside it), platform, then
// graphics, input and sound, then objects, stage, and the game with its tools. A file may
// include its own layer or lower ones only; the resource builder may use common alone; and
// the lowest layer knows nothing of SDL.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::map<std::string, int> LayerOf = {
    {"common", 0}, {"persist", 0}, {"platform", 1}, {"graphics", 2}, {"input", 2},
    {"sound", 2},  {"objects", 3}, {"stage", 4},    {"game", 5},     {"tools", 5},
};

// The report tool's folder, outside the game's layers.
const std::string ReportTool = "poster";

// Generated from data and free of code: every layer may use it.
const std::vector<std::string> Anywhere = {"sprite_ids.h"};

struct Include {
  std::string name;
  bool system;  // <...>
};

std::vector<Include> IncludesOf(const fs::path& file) {
  static const std::regex line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> includes;
  std::ifstream in(file);
  std::smatch match;
  for (std::string text; std::getline(in, text);)
    if (std::regex_search(text, match, line)) includes.push_back({match[2], match[1] == "<"});
  return includes;
}

std::vector<fs::path> SourcesUnder(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".h" || extension == ".cpp") files.push_back(entry.path());
  }
  return files;
}

std::string FirstFolder(const std::string& path) { return path.substr(0, path.find('/')); }

const fs::path Source = VELDRANE_SOURCE_DIR;

// What is wrong with one include of a file in the layer `folder`; empty when nothing is.
std::string Problem(const std::string& folder, const Include& include) {
  if (include.system) {
    bool sdl = include.name.rfind("SDL", 0) == 0;
    return sdl && LayerOf.at(folder) == 0 ? "SDL below the platform layer" : "";
  }
  if (std::find(Anywhere.begin(), Anywhere.end(), include.name) != Anywhere.end()) return "";
  auto to = LayerOf.find(FirstFolder(include.name));
  if (to == LayerOf.end()) return "no layer of the game";
  if (to->second > LayerOf.at(folder)) return "a higher layer than " + folder;
  return "";
}

}  // namespace

TEST(LayerTest, NoFileIncludesAHigherLayer) {
  size_t checked = 0;
  for (const fs::path& file : SourcesUnder(Source / "src")) {
    const std::string relative = fs::relative(file, Source / "src").generic_string();
    const std::string folder = FirstFolder(relative);
    if (folder == ReportTool) continue;  // a program of its own, checked below
    ASSERT_TRUE(LayerOf.count(folder)) << "src/" << relative << " is in no known layer";
    for (const Include& include : IncludesOf(file)) {
      ++checked;
      const std::string problem = Problem(folder, include);
      EXPECT_EQ(problem, "") << "src/" << relative << " includes " << include.name;
    }
  }
  EXPECT_GT(checked, 200u);
}

// The report tool shares the common routines and the settings store with the game, and
// nothing else: no SDL, no game code.
TEST(LayerTest, TheReportToolUsesOnlyTheCommonRoutinesAndTheStore) {
  size_t checked = 0;
  for (const fs::path& file : SourcesUnder(Source / "src" / ReportTool)) {
    for (const Include& include : IncludesOf(file)) {
      ++checked;
      const std::string first = FirstFolder(include.name);
      const bool lowest = LayerOf.count(first) && LayerOf.at(first) == 0;
      const bool allowed =
          include.system ? include.name.rfind("SDL", 0) != 0 : first == ReportTool || lowest;
      EXPECT_TRUE(allowed) << fs::relative(file, Source).generic_string() << " includes "
                           << include.name;
    }
  }
  EXPECT_GT(checked, 20u);
}

TEST(LayerTest, TheResourceBuilderUsesOnlyTheCommonFormats) {
  for (const fs::path& file : SourcesUnder(Source / "resbuild")) {
    for (const Include& include : IncludesOf(file)) {
      const std::string first = FirstFolder(include.name);
      if (include.system || !LayerOf.count(first)) continue;  // its own headers
      EXPECT_EQ(first, "common") << fs::relative(file, Source).generic_string() << " includes "
                                 << include.name;
    }
  }
}

TEST(LayerTest, TheCheckFindsAReachUpward) {
  EXPECT_EQ(Problem("platform", {"graphics/display.h", false}), "a higher layer than platform");
  EXPECT_EQ(Problem("objects", {"stage/stage.h", false}), "a higher layer than objects");
  EXPECT_EQ(Problem("common", {"SDL.h", true}), "SDL below the platform layer");
  EXPECT_EQ(Problem("stage", {"stage/hits.h", false}), "");
  EXPECT_EQ(Problem("game", {"common/utility.h", false}), "");
  EXPECT_EQ(Problem("input", {"sound/sound.h", false}), "") << "one layer, three folders";
}
