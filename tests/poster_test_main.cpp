// The report tool's tests: Qt's offscreen platform and a settings folder of their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "poster/poster_texts.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::filesystem::path config = std::filesystem::temp_directory_path() / "envposter-tests-config";
  std::filesystem::create_directories(config);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  QApplication application(argc, argv);
  UsePosterLanguage(Language::Japanese);  // the tool's own language, the store's reasons too
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
