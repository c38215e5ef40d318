// The language of what the game says outside its bitmap-font screens: the stored choice, else
// the locale's, and a choice made in the window's menu kept for the next start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/game_text.h"
#include "game/scenes.h"
#include "input/input.h"
#include "persist/settings_store.h"
#include "persist/stored_values.h"
#include "platform/platform.h"
#include "support/button_script.h"
#include "support/whole_program.h"

namespace {

class LanguageTest : public WholeProgramTest {
 protected:
  void SetUp() override {
    WholeProgramTest::SetUp();
    for (const char* name : Variables) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < saved_.size(); ++i)
      if (saved_[i])
        setenv(Variables[i], saved_[i]->c_str(), 1);
      else
        unsetenv(Variables[i]);
    UseGameLanguage(Language::Japanese, VELDRANE_BUILD_DIR "/locale");  // as the tests start
    WholeProgramTest::TearDown();
  }
  static constexpr const char* Variables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::optional<std::string>> saved_;
};

// Each row: the stored choice, the locale's variables, and the menu's "Exit" at the title.
// The stored text is never replaced unless the player chooses, here in the last row's menu.
TEST_F(LanguageTest, TheStoredChoiceElseTheLocaleAndAChoiceFromTheMenuIsKept) {
  struct Row {
    const char *stored, *lcAll, *lcMessages, *lang;
    bool choose;  // Japanese from the window's menu at the title
    const char *exit, *storedAfter;
  };
  const Row rows[] = {
      {"", "", "", "ja_JP.UTF-8", false, "終了", ""},
      {"", "", "", "C.UTF-8", false, "Exit", ""},
      {"", "ja_JP.UTF-8", "", "en_GB.UTF-8", false, "終了", ""},
      {"", "", "en_GB.UTF-8", "ja_JP.UTF-8", false, "Exit", ""},
      {"en", "", "", "ja_JP.UTF-8", false, "Exit", "en"},
      {"ja", "", "", "C", false, "終了", "ja"},
      {"fr", "", "", "ja_JP.UTF-8", false, "終了", "fr"},
      {"en", "", "", "C", true, "終了", "ja"},
  };
  for (const Row& row : rows) {
    const auto described = std::tuple(row.stored, row.lcAll, row.lcMessages, row.lang);
    setenv("LC_ALL", row.lcAll, 1);
    setenv("LC_MESSAGES", row.lcMessages, 1);
    setenv("LANG", row.lang, 1);
    StoreSave(GameApplication, {SettingValue(LanguageSetting, row.stored)});
    StoreClose();
    std::string exit;
    int32_t reads = 0;
    ScriptButtons({}, [&]() -> uint16_t {
      if (++reads == 2 && row.choose)
        Platform.pendingCommands.push_back(WindowCommand::LanguageJapanese);
      if (reads < 5) return 0;
      exit = Tr("Exit");
      return BTN_ESC;
    });
    EXPECT_EQ(Main(), 0);
    StoreClose();
    EXPECT_EQ(std::pair(exit, ReadSetting(LanguageSetting)),
              std::pair(std::string(row.exit), std::string(row.storedAfter)))
        << std::get<0>(described) << " " << row.lcAll << " " << row.lcMessages << " " << row.lang;
  }
}

// `veldrane --help` speaks the stored choice, else the locale's, after a glance at the store
// that neither waits nor changes it: a damaged store stays as it is for the game to tell.
TEST_F(LanguageTest, HelpSpeaksTheStoredChoiceAndLeavesTheStoreAsItIs) {
  const auto firstLine = [](const std::string& environment) {
    const std::string command = environment + " " VELDRANE_BUILD_DIR "/veldrane --help";
    FILE* out = popen(command.c_str(), "r");
    char line[256] = "";
    if (out && !std::fgets(line, sizeof line, out)) line[0] = 0;
    if (out) pclose(out);
    return std::string(line).substr(0, std::string(line).find(' '));
  };
  const std::string home = "XDG_CONFIG_HOME=" + StoreFolder().parent_path().string();
  StoreSave(GameApplication, {SettingValue(LanguageSetting, "ja")});
  StoreClose();
  EXPECT_EQ(firstLine("LC_ALL= LC_MESSAGES= LANG=C.UTF-8 " + home), "使い方:");
  const std::string damaged(4096, 'x');
  std::ofstream(StoreFile(), std::ios::binary | std::ios::trunc) << damaged;
  EXPECT_EQ(firstLine("LC_ALL= LC_MESSAGES= LANG=C.UTF-8 " + home), "usage:");
  std::ifstream kept(StoreFile(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
}

}  // namespace
