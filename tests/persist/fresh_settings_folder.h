// A test fixture that points XDG_CONFIG_HOME at a new empty folder of its own, so that each test
// starts without a settings store; the environment and the store are put back afterwards.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "persist/settings_store.h"

class FreshSettingsFolder : public testing::Test {
 protected:
  void SetUp() override {
    StoreClose();
    StoreSetPatience(DefaultStorePatienceMs);
    std::string pattern =
        (std::filesystem::temp_directory_path() / "veldrane-store-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Folder = pattern;
    savedConfig_ = Variable("XDG_CONFIG_HOME");
    savedHome_ = Variable("HOME");
    setenv("XDG_CONFIG_HOME", Folder.c_str(), 1);
  }

  void TearDown() override {
    StoreClose();
    StoreLookOnly(false);
    StoreSetPatience(DefaultStorePatienceMs);
    Restore("XDG_CONFIG_HOME", savedConfig_);
    Restore("HOME", savedHome_);
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
  }

  std::filesystem::path StoreFolder() const { return Folder / "veldrane"; }
  std::filesystem::path StoreFile() const { return StoreFolder() / "settings.db"; }

  static std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }

  std::filesystem::path Folder;

 private:
  static std::optional<std::string> Variable(const char* name) {
    const char* value = getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }

  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }

  std::optional<std::string> savedConfig_;
  std::optional<std::string> savedHome_;
};
