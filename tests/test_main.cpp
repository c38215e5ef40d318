#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/game_text.h"

int main(int argc, char** argv) {
  // Headless and with settings and replay folders of its own, whoever runs the tests.
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::filesystem::path config = std::filesystem::temp_directory_path() / "veldrane-tests-config";
  std::filesystem::create_directories(config);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  std::filesystem::path data = std::filesystem::temp_directory_path() / "veldrane-tests-data";
  std::filesystem::create_directories(data);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  // In the game's own language, whatever the machine's locale: the texts the tests pin.
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  setenv("LANG", "ja_JP.UTF-8", 1);
  UseGameLanguage(Language::Japanese, VELDRANE_BUILD_DIR "/locale");
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
