// The whole program over a store that works against it: held by another program for longer
// than every wait, on a disk that fails at start, written by a newer game, or on a read-only
// medium. Whatever happens, no value the player did not change is replaced.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/frame_clock.h"
#include "game/play_statistics.h"
#include "game/scenes.h"
#include "game/settings.h"
#include "input/input.h"
#include "persist/hooked_vfs.h"
#include "persist/lock_holder.h"
#include "persist/settings_store.h"
#include "persist/store_changes.h"
#include "persist/stored_values.h"
#include "platform/imgui_layer.h"
#include "sound/mixer.h"
#include "support/button_script.h"
#include "support/whole_program.h"

namespace {

namespace fs = std::filesystem;

// What the player stored in earlier runs.
const std::vector<StoredValue> PlayersStore = {
    {OptionsSection, "MixRate", "44100"},      {OptionsSection, "FModEnabled", "1"},
    {OptionsSection, "CurrentBGMVol", "100"},  {OptionsSection, "CurrentSEVol", "90"},
    {OptionsSection, "ShowFrameRate", "1"},    {OptionsSection, "TryCount", "5"},
    {RankingSection, "S0", "50000"},           {RankingSection, "N0", "AAA"},
};

class StoreFaultsTest : public WholeProgramTest {
 protected:
  // Title: OPTION; the options: the music turned up a step and a music folder chosen (or
  // not), Esc; the title again: GAME START; the play: Esc, which leaves the program.
  void RunThePlayer(bool turnMusicUp, const std::function<void()>& atTitle) {
    std::vector<uint16_t> options = {BTN_DOWN, BTN_Z, BTN_DOWN, BTN_DOWN};
    if (turnMusicUp)
      options.insert(options.end(), {BTN_RIGHT, BTN_DOWN, BTN_DOWN, BTN_DOWN, BTN_DOWN, BTN_DOWN, BTN_Z});
    options.push_back(BTN_ESC);
    bool chosen = false;
    Imgui.dialogScript = [&chosen] {
      if (!std::exchange(chosen, true)) PressReturnInDialog();
      return true;
    };
    std::vector<ButtonStep> steps = {{0, 1}};
    for (uint16_t word : options) steps.insert(steps.end(), {{word, 1}, {0, 1}});
    steps.insert(steps.end(), {{0, 5}, {BTN_Z, 1}, {0, 1}});
    bool titleSeen = false;
    ScriptButtons(
        steps, [] { return uint16_t(Stats.InPlay && FrameCounter > 10 ? BTN_ESC : 0); },
        [&] {
          if (!titleSeen && atTitle) atTitle();
          titleSeen = true;
          busyLineSeen = busyLineSeen || !WaitingSaveLine().empty();
        });
    Imgui.LastMessageBoxText.clear();
    EXPECT_EQ(Main(), 0);
    Imgui.dialogScript = nullptr;
  }

  // Another start that leaves at the title, as the player's next one.
  void StartAgain() {
    ScriptButtons({{0, 1}, {BTN_ESC, 1}});
    EXPECT_EQ(Main(), 0);
  }

  std::string Stored(const std::string& section, const std::string& key) {
    return StoreGet(GameApplication, section, key, "(none)");
  }

  bool busyLineSeen = false;
};

TEST_F(StoreFaultsTest, NoValueThePlayerDidNotChangeIsEverReplaced) {
  struct Row {
    const char* name;
    bool turnMusicUp;
    const char* startBox;  // how the message box at start begins; "" for none
    const char* lastBox;   // how the last message box begins
    bool busyLine;         // the frames said a save waits for the store
    bool keptBeside;       // the run's changes were left beside the store
    const char* music;     // the stored music volume afterwards ("" : the file is unchanged)
    int32_t mixRate;       // in memory at the end
  };
  const Row rows[] = {
      {"held, nothing changed", false, "設定ファイルを別のプログラムが使っているため",
       "設定ファイルを別のプログラムが使っているため", false, true, "100", 11025},
      {"held, music turned up", true, "設定ファイルを別のプログラムが使っているため",
       "設定ファイルを別のプログラムが使っているため", true, true, "63", 11025},
      {"disk fails at start", true, "設定ファイルを読み込めませんでした",
       "設定ファイルを読み込めませんでした", false, false, "63", 44100},
      {"newer layout", true, "設定ファイルは新しい版の VELDRANE で保存されています",
       "設定ファイルは新しい版の VELDRANE で保存されています", false, false, "", 44100},
      {"read-only medium", true, "", "設定ファイルに書き込めないため", false, false, "", 44100},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    StoreClose();
    fs::remove_all(StoreFolder());
    ASSERT_TRUE(StoreSave(GameApplication, PlayersStore));
    StoreClose();
    fs::path file = StoreFile();
    std::optional<LockHolder> holder;
    std::optional<HookedVfs> disk;
    bool failing = false;
    std::function<void()> atTitle;
    const std::string name = row.name;
    if (name.rfind("held", 0) == 0) holder.emplace(file);
    if (name == "disk fails at start") {
      failing = true;
      disk.emplace(HookedVfs::Hooks{
          [&failing](const std::string&) { return failing ? SQLITE_IOERR_READ : SQLITE_OK; },
          nullptr});
      atTitle = [&failing] { failing = false; };
    }
    if (name == "newer layout") {
      sqlite3* db = nullptr;
      sqlite3_open(file.c_str(), &db);
      sqlite3_exec(db, "PRAGMA user_version = 2", nullptr, nullptr, nullptr);
      sqlite3_close(db);
    }
    if (name == "read-only medium") {
      file = Folder / "medium" / "settings.db";
      fs::create_directories(file.parent_path());
      fs::copy_file(StoreFile(), file);
      StoreOpen(file.string(), StoreAccess::ReadOnly);
    }
    const std::string bytes = ReadBytes(file);
    busyLineSeen = false;
    std::string startBox;
    const auto started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration toTitle{};
    RunThePlayer(row.turnMusicUp, [&] {
      toTitle = std::chrono::steady_clock::now() - started;
      startBox = Imgui.LastMessageBoxText;
      if (atTitle) atTitle();
    });
    // The store waits about a second at most; the margin is for a loaded machine, and far
    // below the half minute that a wait on every read would take.
    EXPECT_LT(toTitle, std::chrono::seconds(6));
    EXPECT_EQ(startBox.rfind(row.startBox, 0), 0u) << startBox;
    EXPECT_EQ(startBox.find("not an error"), std::string::npos) << "a reason SQLite never gave";
    EXPECT_EQ(Imgui.LastMessageBoxText.rfind(row.lastBox, 0), 0u) << Imgui.LastMessageBoxText;
    EXPECT_EQ(busyLineSeen, row.busyLine);
    EXPECT_EQ(Mixer.MixRate, row.mixRate);
    EXPECT_EQ(fs::exists(file.string() + ".pending"), row.keptBeside);
    disk.reset();
    if (holder) {
      ASSERT_TRUE(holder->Release());
    }
    EXPECT_EQ(ReadBytes(file) == bytes, *row.music == '\0' || row.keptBeside);
    if (*row.music == '\0') {
      EXPECT_FALSE(fs::exists(file.string() + ".pending"));
      continue;
    }
    if (row.keptBeside) StartAgain();
    StoreClose();
    EXPECT_FALSE(fs::exists(file.string() + ".pending")) << "merged at the start";
    EXPECT_EQ(Stored(OptionsSection, "MixRate"), "44100");
    EXPECT_EQ(Stored(OptionsSection, "CurrentBGMVol"), row.music);
    EXPECT_EQ(Stored(OptionsSection, "BGMFolder"), row.turnMusicUp ? fs::current_path().string() : "(none)")
        << "the folder chosen, where the program runs";
    EXPECT_EQ(Stored(OptionsSection, "CurrentSEVol"), "90");
    EXPECT_EQ(Stored(OptionsSection, "ShowFrameRate"), "1");
    EXPECT_EQ(Stored(RankingSection, "S0"), "50000");
    EXPECT_EQ(Stored(RankingSection, "N0"), "AAA");
    EXPECT_EQ(Stored(OptionsSection, "TryCount"), "6") << "the play of the run was counted";
    EXPECT_EQ(Stored(OptionsSection, "DeadCount"), "1");
  }
}

}  // namespace
