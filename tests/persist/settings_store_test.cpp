#include "persist/settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "persist/child_process.h"
#include "persist/fresh_settings_folder.h"
#include "persist/hooked_vfs.h"

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

size_t Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

bool Mentions(const std::string& text, const fs::path& path) {
  return text.find(path.string()) != std::string::npos;
}

// One text from sql, run on the file at path by a connection of the test's own.
std::string QueryFile(const fs::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string text = "(no answer)";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) == SQLITE_OK &&
        sqlite3_step(query) == SQLITE_ROW)
      text = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
    sqlite3_finalize(query);
  }
  sqlite3_close(db);
  return text;
}

bool ExecFile(const fs::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  bool done = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              nullptr) == SQLITE_OK &&
              sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return done;
}

std::vector<StoredValue> Batch(const std::string& text) {
  std::vector<StoredValue> values;
  for (int i = 0; i < 10; ++i) values.push_back({"Batch", "V" + std::to_string(i), text});
  return values;
}

bool AllEqual(const std::vector<std::string>& texts) {
  return std::adjacent_find(texts.begin(), texts.end(), std::not_equal_to<>()) == texts.end();
}

// Adds 1 to a stored counter times times, each in a read-modify-write of its own.
bool AddOnes(int times) {
  for (int i = 0; i < times; ++i) {
    const bool done = StoreUpdate("App", [](StoreTransaction& store) {
      const int count = std::stoi(store.Get("Stats", "Count", "0"));
      store.Set("Stats", "Count", std::to_string(count + 1));
    });
    if (!done) return false;
  }
  return true;
}

// Runs a callback right after the n-th time a connection gives up its last lock on one database
// file, which is between two of its statements: there another program's commit can land.
class UnlockHook {
 public:
  UnlockHook(const fs::path& file, int n, std::function<void()> callback)
      : file_(fs::weakly_canonical(file).string()),
        n_(n),
        callback_(std::move(callback)),
        vfs_({nullptr, [this](const std::string& name, int level) { Unlocked(name, level); }}) {}
  bool Fired() const { return fired_; }

 private:
  void Unlocked(const std::string& name, int level) {
    if (level != SQLITE_LOCK_NONE || name != file_ || running_ || ++count_ != n_) return;
    running_ = true;
    callback_();
    running_ = false;
    fired_ = true;
  }

  std::string file_;
  int n_;
  std::function<void()> callback_;
  int count_ = 0;
  bool running_ = false;
  bool fired_ = false;
  HookedVfs vfs_;
};

class SettingsStoreTest : public FreshSettingsFolder {
 protected:
  // What has been set aside in place of original, without SQLite's side files.
  static std::vector<fs::path> KeptAside(const fs::path& original) {
    std::vector<fs::path> aside;
    const std::string prefix = original.filename().string() + ".damaged-";
    for (const auto& entry : fs::directory_iterator(original.parent_path())) {
      const std::string name = entry.path().filename().string();
      const bool side = std::regex_search(name, std::regex("-(wal|shm|journal)$"));
      if (name.rfind(prefix, 0) == 0 && !side) aside.push_back(entry.path());
    }
    std::sort(aside.begin(), aside.end());
    return aside;
  }

  // A store file made through the store, with its journal folded in.
  void MakeStore(int values) {
    std::vector<StoredValue> many;
    for (int i = 0; i < values; ++i)
      many.push_back({"Section", "Key" + std::to_string(i), std::string(200, 'a' + i % 26)});
    ASSERT_TRUE(StoreSave("App", many));
    StoreClose();
    ASSERT_FALSE(fs::exists(StoreFile().string() + "-wal"));
  }

  // Uses the store over the damaged file at StoreFile() and expects it kept aside byte for
  // byte, told of in one line naming both files, and replaced by a store that works.
  void ExpectKeptAsideAndReplaced() {
    const std::string before = ReadBytes(StoreFile());
    CaptureStderr();
    EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "default");
    const std::string told = GetCapturedStderr();
    const std::vector<fs::path> aside = KeptAside(StoreFile());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(std::regex_match(aside[0].filename().string(),
                                 std::regex(R"(settings\.db\.damaged-\d{8}-\d{6})")));
    EXPECT_EQ(ReadBytes(aside[0]), before);
    EXPECT_EQ(Lines(told), 1u) << told;
    EXPECT_TRUE(Mentions(told, StoreFile()) && Mentions(told, aside[0])) << told;

    EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "fresh"}}));
    StoreClose();
    CaptureStderr();
    EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "fresh");
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(KeptAside(StoreFile()).size(), 1u);
  }
};

TEST_F(SettingsStoreTest, DefaultPathFollowsXdgConfigHomeThenHome) {
  setenv("XDG_CONFIG_HOME", "/config/here", 1);
  setenv("HOME", "/home/player", 1);
  EXPECT_EQ(DefaultStorePath(), "/config/here/veldrane/settings.db");
  setenv("XDG_CONFIG_HOME", "/config/here//", 1);
  EXPECT_EQ(DefaultStorePath(), "/config/here/veldrane/settings.db");
  setenv("XDG_CONFIG_HOME", "/", 1);
  EXPECT_EQ(DefaultStorePath(), "/veldrane/settings.db");
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(DefaultStorePath(), "/home/player/.config/veldrane/settings.db");
  setenv("XDG_CONFIG_HOME", "relative/config", 1);
  EXPECT_EQ(DefaultStorePath(), "/home/player/.config/veldrane/settings.db");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultStorePath(), "/home/player/.config/veldrane/settings.db");
  setenv("HOME", "relative", 1);
  EXPECT_EQ(DefaultStorePath(), "");
  unsetenv("HOME");
  EXPECT_EQ(DefaultStorePath(), "");
}

TEST_F(SettingsStoreTest, ReadingMakesNothingAndTheFirstSaveMakesTheFolderAndAWalFile) {
  ASSERT_FALSE(fs::exists(StoreFolder()));
  EXPECT_EQ(StorePath(), StoreFile().string());
  CaptureStderr();
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "default");
  EXPECT_EQ(StoreLastResult().status, StoreStatus::Ok);
  EXPECT_FALSE(fs::exists(StoreFolder()));
  EXPECT_TRUE(StoreDeleteApplication("App")) << "nothing stored is nothing to delete";
  EXPECT_FALSE(fs::exists(StoreFolder()));
  EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "made"}}));
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_TRUE(fs::is_regular_file(StoreFile()));
  EXPECT_EQ(QueryFile(StoreFile(), "PRAGMA journal_mode"), "wal");
  EXPECT_EQ(QueryFile(StoreFile(), "PRAGMA user_version"), "1");
  EXPECT_EQ(QueryFile(StoreFile(), "SELECT count(*) FROM settings"), "1");
}

TEST_F(SettingsStoreTest, ValuesSurviveAFreshOpenExactly) {
  const std::vector<StoredValue> values = {
      {"Section", "Blanks", "  two  blanks  "}, {"Section", "Empty", ""},
      {"Section", "Zero", std::string("a\0b", 3)}, {"Other", "Blanks", "\t1\n"},
      {"Section", "Wide", "\xe3\x83\x97\xe3\x83\xad"}};
  ASSERT_TRUE(StoreSave("App", values));
  StoreClose();
  for (const StoredValue& value : values)
    EXPECT_EQ(StoreGet("App", value.Section, value.Key, "default"), value.Text) << value.Key;
  // A stored empty text is a value, not a missing one.
  EXPECT_EQ(StoreGet("App", "Section", "Empty", "default"), "");
  EXPECT_EQ(StoreGet("App", "Section", "Missing", "default"), "default");
}

TEST_F(SettingsStoreTest, NamesMatchWithoutRegardToAsciiCaseOnly) {
  ASSERT_TRUE(StoreSave("VELDRANE", {{"SAVE", "FModEnabled", "0"}, {"SAVE", "Key\xc3\xa9", "e"}}));
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "FmodEnabled", "1"), "0");
  EXPECT_EQ(StoreGet("veldrane", "save", "FMODENABLED", "1"), "0");
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "FModEnabled ", "1"), "1") << "a blank is no case";
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "FModEnable", "1"), "1");
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "KEY\xc3\xa9", "none"), "e");
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "Key\xc3\x89", "none"), "none") << "É is not é here";
}

TEST_F(SettingsStoreTest, SavingUnderAnotherCaseReplaces) {
  ASSERT_TRUE(StoreSave("VELDRANE", {{"SAVE", "FModEnabled", "0"}}));
  ASSERT_TRUE(StoreSave("veldrane", {{"save", "FMODENABLED", "1"}}));
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "FmodEnabled", "x"), "1");
  // Even within one batch, the later of two spellings wins.
  ASSERT_TRUE(StoreSave("VELDRANE", {{"SAVE", "MixRate", "1"}, {"Save", "MIXRATE", "2"}}));
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "MixRate", "x"), "2");
  StoreClose();
  EXPECT_EQ(QueryFile(StoreFile(), "SELECT count(*) FROM settings"), "2");
}

TEST_F(SettingsStoreTest, DeleteApplicationRemovesOnlyThatApplication) {
  ASSERT_TRUE(StoreSave("VELDRANE", {{"SAVE", "MixRate", "22050"}, {"ScoreRanking", "S0", "9"}}));
  ASSERT_TRUE(StoreSave("VELDRANE2", {{"SAVE", "MixRate", "44100"}}));
  ASSERT_TRUE(StoreSave("Other", {{"SAVE", "MixRate", "8000"}}));
  EXPECT_TRUE(StoreDeleteApplication("veldrane"));
  EXPECT_EQ(StoreGet("VELDRANE", "SAVE", "MixRate", "none"), "none");
  EXPECT_EQ(StoreGet("VELDRANE", "ScoreRanking", "S0", "none"), "none");
  EXPECT_EQ(StoreGet("VELDRANE2", "SAVE", "MixRate", "none"), "44100");
  EXPECT_EQ(StoreGet("Other", "SAVE", "MixRate", "none"), "8000");
  EXPECT_TRUE(StoreDeleteApplication("Nobody")) << "nothing to delete is no failure";
  StoreClose();
  EXPECT_EQ(StoreGet("Other", "SAVE", "MixRate", "none"), "8000");
}

TEST_F(SettingsStoreTest, GetManyGivesEachValueOrItsDefaultInOrder) {
  ASSERT_TRUE(StoreSave("App", {{"A", "One", "1"}, {"B", "Two", "2"}}));
  EXPECT_EQ(StoreGetMany("App", {{"B", "two", "-"}, {"A", "Missing", "d"}, {"a", "ONE", "-"}}),
            (std::vector<std::string>{"2", "d", "1"}));
  EXPECT_EQ(StoreGetMany("App", {}), std::vector<std::string>());
  EXPECT_EQ(StoreGetMany("Nobody", {{"A", "One", "d"}}), std::vector<std::string>{"d"});
}

TEST_F(SettingsStoreTest, UpdateReadsAndWritesInOneTransaction) {
  int runs = 0;
  const auto addOne = [&runs](StoreTransaction& store) {
    ++runs;
    const int count = std::stoi(store.Get("Stats", "Games", "0"));
    store.Set("Stats", "Games", std::to_string(count + 1));
    store.Set("Stats", "Seen", store.Get("Stats", "games", "unseen"));
  };
  EXPECT_TRUE(StoreUpdate("App", addOne));
  EXPECT_TRUE(StoreUpdate("App", addOne));
  EXPECT_EQ(runs, 2);
  StoreClose();
  EXPECT_EQ(StoreGet("App", "Stats", "Games", "0"), "2");
  EXPECT_EQ(StoreGet("App", "Stats", "Seen", "0"), "2") << "a write is read back before commit";
}

TEST_F(SettingsStoreTest, AnExceptionInAnUpdateKeepsNothingAndReachesTheCaller) {
  ASSERT_TRUE(StoreSave("App", {{"Stats", "Games", "5"}}));
  EXPECT_THROW(StoreUpdate("App",
                           [](StoreTransaction& store) {
                             store.Set("Stats", "Games", "6");
                             store.Set("Stats", "Other", "7");
                             throw std::runtime_error("changed my mind");
                           }),
               std::runtime_error);
  EXPECT_EQ(StoreGet("App", "Stats", "Games", "0"), "5");
  EXPECT_EQ(StoreGet("App", "Stats", "Other", "none"), "none");
  EXPECT_TRUE(StoreSave("App", {{"Stats", "Games", "8"}})) << "no transaction was left open";
  EXPECT_EQ(StoreGet("App", "Stats", "Games", "0"), "8");
}

TEST_F(SettingsStoreTest, StoreOpenUsesTheGivenPathUntilClosed) {
  const fs::path elsewhere = Folder / "elsewhere" / "my.db";
  ASSERT_TRUE(StoreOpen(elsewhere.string()));
  EXPECT_EQ(StorePath(), elsewhere.string());
  ASSERT_TRUE(StoreSave("App", {{"Section", "Key", "there"}}));
  EXPECT_FALSE(fs::exists(StoreFile()));
  StoreClose();
  EXPECT_EQ(StorePath(), StoreFile().string());
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "default");
  ASSERT_TRUE(StoreOpen(elsewhere.string()));
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "there");
}

TEST_F(SettingsStoreTest, AHealthyStoreIsNeverMovedAside) {
  CaptureStderr();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(StoreSave("App", {{"Section", "Key", std::to_string(i)}}));
    StoreClose();
  }
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "2");
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_TRUE(KeptAside(StoreFile()).empty());
}

TEST_F(SettingsStoreTest, AnEmptyFileIsAFreshStoreNotADamagedOne) {
  WriteBytes(StoreFile(), "");
  CaptureStderr();
  EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "kept"}}));
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_TRUE(KeptAside(StoreFile()).empty());
}

TEST_F(SettingsStoreTest, GarbageIsKeptAsideAndReplaced) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(i * 37 % 251);
  WriteBytes(StoreFile(), garbage);
  ExpectKeptAsideAndReplaced();
}

TEST_F(SettingsStoreTest, ATruncatedDatabaseIsKeptAsideAndReplaced) {
  MakeStore(300);
  ASSERT_GT(fs::file_size(StoreFile()), 12288u);
  fs::resize_file(StoreFile(), 12288);
  ExpectKeptAsideAndReplaced();
}

// The file is as long as its header says, so only a walk over every page finds the damage.
TEST_F(SettingsStoreTest, AGarbledPageIsFoundByTheIntegrityCheck) {
  MakeStore(300);
  const uintmax_t size = fs::file_size(StoreFile());
  std::string bytes = ReadBytes(StoreFile());
  for (uintmax_t i = size - 4096; i < size; ++i) bytes[i] = static_cast<char>(i * 131 % 256);
  WriteBytes(StoreFile(), bytes);
  ASSERT_EQ(fs::file_size(StoreFile()), size);
  ExpectKeptAsideAndReplaced();
}

TEST_F(SettingsStoreTest, AHalfHeaderIsKeptAsideAndReplaced) {
  MakeStore(1);
  fs::resize_file(StoreFile(), 50);
  ExpectKeptAsideAndReplaced();
}

TEST_F(SettingsStoreTest, AForeignDatabaseIsKeptAsideAndReplaced) {
  fs::create_directories(StoreFolder());
  ASSERT_TRUE(ExecFile(StoreFile(), "CREATE TABLE scores (name, points)"));
  ExpectKeptAsideAndReplaced();
}

TEST_F(SettingsStoreTest, AnotherProgramsDatabaseIsKeptAsideEvenWithALikeTable) {
  MakeStore(1);
  ASSERT_TRUE(ExecFile(StoreFile(), "PRAGMA application_id = 42"));
  ExpectKeptAsideAndReplaced();
}

TEST_F(SettingsStoreTest, AnOlderLayoutVersionIsKeptAsideAndReplaced) {
  MakeStore(1);
  ASSERT_TRUE(ExecFile(StoreFile(), "PRAGMA user_version = 0"));
  ExpectKeptAsideAndReplaced();
}

// A newer game's store and one on a read-only medium are read, where they can be, and never
// changed, moved or given files beside them.
TEST_F(SettingsStoreTest, StoresNotOursToChangeAreReadAndLeftAsTheyAre) {
  struct Row {
    const char* name;
    const char* change;  // made to a store that holds Key = "stored"
    StoreAccess access;
    StoreStatus read;
    const char* text;
    StoreStatus write;
  };
  const Row rows[] = {
      {"newer, readable", "PRAGMA user_version = 2", StoreAccess::ReadWrite, StoreStatus::Newer,
       "stored", StoreStatus::Newer},
      {"newer, another table", "PRAGMA user_version = 2; ALTER TABLE settings RENAME TO kept",
       StoreAccess::ReadWrite, StoreStatus::NewerUnread, "default", StoreStatus::Newer},
      {"read-only medium", "", StoreAccess::ReadOnly, StoreStatus::Ok, "stored",
       StoreStatus::ReadOnly},
      {"read-only medium, newer", "PRAGMA user_version = 3", StoreAccess::ReadOnly,
       StoreStatus::Newer, "stored", StoreStatus::ReadOnly},
  };
  for (const Row& row : rows) {
    StoreClose();
    fs::remove_all(StoreFolder());
    ASSERT_TRUE(StoreSave("App", {{"Section", "Key", "stored"}}));
    StoreClose();
    ASSERT_TRUE(ExecFile(StoreFile(), row.change));
    const std::string bytes = ReadBytes(StoreFile());
    ASSERT_EQ(StoreOpen(StoreFile().string(), row.access), row.access == StoreAccess::ReadOnly);

    EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), row.text) << row.name;
    EXPECT_EQ(StoreLastResult().status, row.read) << row.name;
    EXPECT_FALSE(StoreSave("App", {{"Section", "Key", "lost"}})) << row.name;
    EXPECT_EQ(StoreLastResult().status, row.write) << row.name;
    EXPECT_TRUE(Mentions(StoreLastResult().reason, StoreFile())) << StoreLastResult().reason;
    EXPECT_FALSE(StoreDeleteApplication("App")) << row.name;
    StoreClose();
    EXPECT_EQ(ReadBytes(StoreFile()), bytes) << row.name;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(StoreFolder()))
      files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"settings.db"}) << row.name;
  }
}

TEST_F(SettingsStoreTest, ATableOfAnotherFormIsKeptAsideAndReplaced) {
  MakeStore(1);
  ASSERT_TRUE(ExecFile(StoreFile(), "DROP TABLE settings; CREATE TABLE settings (a, b)"));
  ExpectKeptAsideAndReplaced();
}

TEST_F(SettingsStoreTest, AFolderWhereTheFileBelongsIsKeptAsideAndReplaced) {
  WriteBytes(StoreFile() / "inner" / "note", "my things");
  CaptureStderr();
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "default");
  const std::string told = GetCapturedStderr();
  const std::vector<fs::path> aside = KeptAside(StoreFile());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadBytes(aside[0] / "inner" / "note"), "my things");
  EXPECT_EQ(Lines(told), 1u) << told;
  EXPECT_TRUE(Mentions(told, StoreFile()) && Mentions(told, aside[0])) << told;
  EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "fresh"}}));
  EXPECT_TRUE(fs::is_regular_file(StoreFile()));
}

TEST_F(SettingsStoreTest, AFileWhereTheFolderBelongsIsKeptAsideAndReplaced) {
  WriteBytes(StoreFolder(), "not a folder");
  CaptureStderr();
  EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "fresh"}}));
  const std::string told = GetCapturedStderr();
  const std::vector<fs::path> aside = KeptAside(StoreFolder());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_TRUE(std::regex_match(aside[0].filename().string(),
                               std::regex(R"(veldrane\.damaged-\d{8}-\d{6})")));
  EXPECT_EQ(ReadBytes(aside[0]), "not a folder");
  EXPECT_EQ(Lines(told), 1u) << told;
  EXPECT_TRUE(Mentions(told, StoreFolder()) && Mentions(told, aside[0])) << told;
  StoreClose();
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "fresh");
}

TEST_F(SettingsStoreTest, AnEarlierDamagedFileIsNeverOverwritten) {
  // Every name the next few seconds could give is taken already.
  std::vector<fs::path> decoys;
  const std::time_t now = std::time(nullptr);
  for (std::time_t second = now - 1; second <= now + 5; ++second) {
    std::tm local{};
    char stamp[32];
    localtime_r(&second, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    decoys.push_back(StoreFolder() / ("settings.db.damaged-" + std::string(stamp)));
    WriteBytes(decoys.back(), "earlier " + decoys.back().string());
  }
  WriteBytes(StoreFile(), "damaged now");
  CaptureStderr();
  EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "fresh"}}));
  const std::string told = GetCapturedStderr();

  std::vector<fs::path> added;
  for (const fs::path& aside : KeptAside(StoreFile()))
    if (std::find(decoys.begin(), decoys.end(), aside) == decoys.end()) added.push_back(aside);
  ASSERT_EQ(added.size(), 1u);
  EXPECT_TRUE(std::regex_match(added[0].filename().string(),
                               std::regex(R"(settings\.db\.damaged-\d{8}-\d{6}-2)")));
  EXPECT_EQ(ReadBytes(added[0]), "damaged now");
  EXPECT_TRUE(Mentions(told, added[0])) << told;
  for (const fs::path& decoy : decoys) EXPECT_EQ(ReadBytes(decoy), "earlier " + decoy.string());
}

TEST_F(SettingsStoreTest, AJournalBesideADamagedFileGoesWithIt) {
  WriteBytes(StoreFile(), std::string(1024, 'x'));
  WriteBytes(StoreFile().string() + "-wal", "old journal");
  CaptureStderr();
  EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "fresh"}}));
  GetCapturedStderr();
  const std::vector<fs::path> aside = KeptAside(StoreFile());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadBytes(aside[0]), std::string(1024, 'x'));
  EXPECT_EQ(ReadBytes(aside[0].string() + "-wal"), "old journal");
  StoreClose();
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "fresh");
}

TEST_F(SettingsStoreTest, WithoutAFolderReadsGiveDefaultsAndWritesFailUntilThereIsOne) {
  WriteBytes(Folder / "blocker", "a file in the way");
  setenv("XDG_CONFIG_HOME", (Folder / "blocker" / "config").c_str(), 1);
  bool ran = false;
  CaptureStderr();
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "default");
  EXPECT_EQ(StoreGetMany("App", {{"S", "A", "a"}, {"S", "B", "b"}}),
            (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(StoreSave("App", {{"Section", "Key", "lost"}}));
  EXPECT_EQ(StoreLastResult().status, StoreStatus::Failed);
  EXPECT_TRUE(Mentions(StoreLastResult().reason,
                       Folder / "blocker" / "config" / "veldrane" / "settings.db"))
      << StoreLastResult().reason;
  EXPECT_FALSE(StoreUpdate("App", [&ran](StoreTransaction&) { ran = true; }));
  EXPECT_EQ(GetCapturedStderr(), "") << "the caller tells, knowing what it will do";
  EXPECT_FALSE(ran);
  EXPECT_EQ(ReadBytes(Folder / "blocker"), "a file in the way") << "above its own folder";

  fs::remove(Folder / "blocker");
  EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "kept"}}));
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "kept");
}

TEST_F(SettingsStoreTest, WithoutAHomeWritesFailAndSayWhy) {
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  EXPECT_EQ(StorePath(), "");
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "default");
  EXPECT_FALSE(StoreSave("App", {{"Section", "Key", "lost"}}));
  EXPECT_EQ(StoreLastResult().status, StoreStatus::Failed);
  EXPECT_NE(StoreLastResult().reason.find("XDG_CONFIG_HOME"), std::string::npos);

  setenv("HOME", Folder.c_str(), 1);
  EXPECT_FALSE(StoreOpen("")) << "an empty path is not the default one";
  EXPECT_FALSE(StoreSave("App", {{"Section", "Key", "lost"}}));
  EXPECT_EQ(StoreLastResult().reason, "設定ストアのファイルが指定されていません");
}

TEST_F(SettingsStoreTest, AStoreInAReadOnlyFolderIsReadAndNotWritten) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser may write anywhere";
  ASSERT_TRUE(StoreSave("App", {{"Section", "Key", "stored"}}));
  StoreClose();
  fs::permissions(StoreFolder(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "stored");
  EXPECT_FALSE(StoreSave("App", {{"Section", "Key", "lost"}}));
  EXPECT_EQ(StoreLastResult().status, StoreStatus::ReadOnly);
  StoreClose();
  EXPECT_EQ(std::distance(fs::directory_iterator(StoreFolder()), fs::directory_iterator()), 1);
  fs::permissions(StoreFolder(), fs::perms::owner_all);
}

TEST_F(SettingsStoreTest, TwoProcessesCountingAtOnceLoseNothing) {
  constexpr int Additions = 300;
  // Neither finds a store yet, so both make it at once too.
  const pid_t first = InChild([] { return AddOnes(Additions); });
  const pid_t second = InChild([] { return AddOnes(Additions); });
  EXPECT_EQ(ExitCode(first), 0);
  EXPECT_EQ(ExitCode(second), 0);
  EXPECT_EQ(StoreGet("App", "Stats", "Count", "0"), std::to_string(2 * Additions));
}

// Another program makes the store between any two statements of the one opening it.
TEST_F(SettingsStoreTest, MakingTheStoreBetweenAnyTwoChecksIsNoDamage) {
  const std::string makeLayout =
      "BEGIN IMMEDIATE;"
      "CREATE TABLE IF NOT EXISTS settings (application TEXT NOT NULL COLLATE NOCASE,"
      " section TEXT NOT NULL COLLATE NOCASE, key TEXT NOT NULL COLLATE NOCASE,"
      " value TEXT NOT NULL, PRIMARY KEY (application, section, key)) WITHOUT ROWID;"
      "PRAGMA application_id = 1447382084; PRAGMA user_version = 1; COMMIT;";
  int fired = 0;
  for (int n = 1; n <= 6; ++n) {
    const fs::path config = Folder / std::to_string(n);
    const fs::path file = config / "veldrane" / "settings.db";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    fs::create_directories(file.parent_path());
    bool made = false;
    CaptureStderr();
    {
      UnlockHook hook(file, n, [&] { made = ExecFile(file, makeLayout); });
      EXPECT_TRUE(StoreSave("App", {{"Section", "Key", "mine"}})) << n;
      StoreClose();
      fired += hook.Fired();
      EXPECT_EQ(hook.Fired(), made) << n;
    }
    EXPECT_EQ(GetCapturedStderr(), "") << "after unlock " << n;
    EXPECT_TRUE(KeptAside(file).empty()) << n;
    EXPECT_EQ(StoreGet("App", "Section", "Key", "lost"), "mine") << n;
    StoreClose();
  }
  EXPECT_GE(fired, 2) << "the other program came in at least after the checks and the making";
}

// Checks read while another program makes the store must not take it for a foreign file.
TEST_F(SettingsStoreTest, ProcessesMakingTheStoreAtOnceAllKeepTheirValues) {
  constexpr int Children = 4;
  for (int round = 0; round < 20; ++round) {
    const fs::path config = Folder / std::to_string(round);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    CaptureStderr();  // the children write to the captured standard error too
    std::vector<pid_t> children;
    for (int child = 0; child < Children; ++child)
      children.push_back(InChild([&start, child] {
        close(start[1]);
        char byte;
        if (read(start[0], &byte, 1) != 0) return false;  // waits for all to be made
        return StoreSave("App", {{"Children", "C" + std::to_string(child), "here"}});
      }));
    close(start[0]);
    close(start[1]);
    for (pid_t child : children) EXPECT_EQ(ExitCode(child), 0);
    EXPECT_EQ(GetCapturedStderr(), "") << "round " << round;
    for (int child = 0; child < Children; ++child)
      EXPECT_EQ(StoreGet("App", "Children", "C" + std::to_string(child), "lost"), "here");
    StoreClose();
    ASSERT_TRUE(KeptAside(config / "veldrane" / "settings.db").empty()) << "round " << round;
  }
}

TEST_F(SettingsStoreTest, BatchesSavedByTwoProcessesAtOnceStayWhole) {
  constexpr int Batches = 200;
  const auto save = [](int child) {
    return [child] {
      for (int i = 0; i < Batches; ++i) {
        std::vector<StoredValue> values = Batch(std::to_string(child) + "-" + std::to_string(i));
        values.push_back({"Child" + std::to_string(child), "Last", std::to_string(i)});
        if (!StoreSave("App", values)) return false;
      }
      return true;
    };
  };
  const pid_t first = InChild(save(0));
  const pid_t second = InChild(save(1));

  // Meanwhile every reading of a batch must be one whole batch.
  int readings = 0, torn = 0, status = 0;
  for (; waitpid(first, &status, WNOHANG) == 0; ++readings)
    torn += !AllEqual(StoreGetMany("App", Batch("none")));
  EXPECT_EQ(torn, 0) << "of " << readings;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ExitCode(second), 0);

  const std::vector<std::string> last = StoreGetMany("App", Batch("none"));
  EXPECT_TRUE(AllEqual(last));
  EXPECT_TRUE(last[0] == "0-199" || last[0] == "1-199") << last[0];
  EXPECT_EQ(StoreGet("App", "Child0", "Last", "none"), "199");
  EXPECT_EQ(StoreGet("App", "Child1", "Last", "none"), "199");
}

TEST_F(SettingsStoreTest, AWriterHoldingTheFileForASecondDelaysAnotherButDoesNotFailIt) {
  int signal[2];
  ASSERT_EQ(pipe(signal), 0);
  const pid_t child = InChild([&signal] {
    return StoreUpdate("App", [&signal](StoreTransaction& store) {
      store.Set("Held", "By", "child");
      const bool told = write(signal[1], "x", 1) == 1;
      std::this_thread::sleep_for(std::chrono::seconds(1));
      if (!told) throw std::runtime_error("no signal");
    });
  });
  char byte = 0;
  ASSERT_EQ(read(signal[0], &byte, 1), 1);
  close(signal[0]);
  close(signal[1]);

  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(StoreGet("App", "Held", "By", "none"), "none") << "a reader sees what is committed";
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500)) << "and does not wait";
  EXPECT_TRUE(StoreSave("App", {{"Held", "After", "parent"}}));
  EXPECT_GT(Clock::now() - start, std::chrono::milliseconds(500)) << "a writer waits its turn";
  EXPECT_EQ(ExitCode(child), 0);
  EXPECT_EQ(StoreGet("App", "Held", "By", "none"), "child");
  EXPECT_EQ(StoreGet("App", "Held", "After", "none"), "parent");
}

TEST_F(SettingsStoreTest, AForkedChildUsesAConnectionOfItsOwn) {
  constexpr int Additions = 200;
  ASSERT_TRUE(StoreSave("App", {{"Stats", "Count", "0"}}));  // open when the child is made
  const pid_t child = InChild([] { return AddOnes(Additions); });
  EXPECT_TRUE(AddOnes(Additions));
  EXPECT_EQ(ExitCode(child), 0);
  EXPECT_EQ(StoreGet("App", "Stats", "Count", "0"), std::to_string(2 * Additions));
  StoreClose();
  EXPECT_FALSE(fs::exists(StoreFile().string() + "-wal")) << "the last one out folded it in";
  CaptureStderr();
  EXPECT_EQ(StoreGet("App", "Stats", "Count", "0"), std::to_string(2 * Additions));
  EXPECT_EQ(GetCapturedStderr(), "") << "the file passed its checks";
}

TEST_F(SettingsStoreTest, AKilledSaveLeavesNoHalfBatch) {
  // Made first: a child that saves without pause could hold off the making of the store.
  ASSERT_TRUE(StoreSave("App", Batch("start")));
  for (int round = 0; round < 3; ++round) {
    const std::string before = StoreGet("App", "Batch", "V9", "none");
    const pid_t child = InChild([round] {
      for (int i = 0;; ++i)
        StoreSave("App", Batch(std::to_string(round) + "-" + std::to_string(i)));
      return true;
    });
    for (int wait = 0; wait < 500 && StoreGet("App", "Batch", "V9", "none") == before; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 15 * round));
    kill(child, SIGKILL);
    EXPECT_EQ(ExitCode(child), 128 + SIGKILL);
    StoreClose();

    CaptureStderr();
    const std::vector<std::string> found = StoreGetMany("App", Batch("none"));
    EXPECT_EQ(GetCapturedStderr(), "") << "the file passed its checks";
    EXPECT_TRUE(AllEqual(found));
    EXPECT_EQ(found[0].rfind(std::to_string(round) + "-", 0), 0u) << found[0];
    EXPECT_TRUE(KeptAside(StoreFile()).empty());
  }
}

// ---- a program that only looks ----

TEST_F(SettingsStoreTest, LookingAtAMissingStoreMakesNothing) {
  StoreLookOnly(true);
  CaptureStderr();
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "default");
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(StoreLastResult().reason, "");
  EXPECT_FALSE(fs::exists(StoreFolder())) << "not even its folder";
}

TEST_F(SettingsStoreTest, LookingAtADamagedStoreLeavesItAsItIsAndSaysWhy) {
  MakeStore(50);
  std::string bytes = ReadBytes(StoreFile());
  for (size_t at = 4096; at < bytes.size(); at += 7) bytes[at] = char(0x5A);
  WriteBytes(StoreFile(), bytes);
  StoreLookOnly(true);
  EXPECT_EQ(StoreGet("App", "Section", "Key0", "default"), "default");
  EXPECT_TRUE(Mentions(StoreLastResult().reason, StoreFile())) << StoreLastResult().reason;
  EXPECT_EQ(ReadBytes(StoreFile()), bytes);
  EXPECT_TRUE(KeptAside(StoreFile()).empty());

  // Clearing is a write: it opens the store as the game would, which sets the damage aside.
  CaptureStderr();
  EXPECT_TRUE(StoreDeleteApplication("App"));
  GetCapturedStderr();
  EXPECT_EQ(KeptAside(StoreFile()).size(), 1u);
  EXPECT_EQ(StoreGet("App", "Section", "Key0", "default"), "default");
}

TEST_F(SettingsStoreTest, LookingReadsWhatIsCommittedWhileAnotherProgramWrites) {
  ASSERT_TRUE(StoreSave("App", {{"Section", "Key", "committed"}}));
  StoreClose();
  int started[2], finish[2];
  ASSERT_EQ(pipe(started), 0);
  ASSERT_EQ(pipe(finish), 0);
  const pid_t writer = InChild([&] {
    return StoreUpdate("App", [&](StoreTransaction& store) {
      store.Set("Section", "Key", "uncommitted");
      char byte;
      if (write(started[1], "x", 1) != 1 || read(finish[0], &byte, 1) != 1)
        throw std::runtime_error("no signal");
    });
  });
  char byte;
  ASSERT_EQ(read(started[0], &byte, 1), 1);
  StoreLookOnly(true);
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "committed");
  EXPECT_EQ(StoreLastResult().reason, "");
  ASSERT_EQ(write(finish[1], "x", 1), 1);
  EXPECT_EQ(ExitCode(writer), 0);
  StoreClose();
  EXPECT_EQ(StoreGet("App", "Section", "Key", "default"), "uncommitted");
}

}  // namespace
