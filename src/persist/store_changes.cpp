// Applying the game's changes in one transaction, and keeping those the store refused in a
// file beside it, locked while it is written or merged so that two runs lose nothing.
#include "persist/store_changes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

#include "common/game_text.h"
#include "persist/kept_changes.h"
#include "persist/settings_store.h"
#include "persist/store_connection.h"
#include "persist/stored_values.h"

namespace fs = std::filesystem;

namespace {

// Where the id of the last kept block merged is stored, in the same transaction as the merge.
constexpr StoredSetting MergedBlockSetting{"Kept", "Merged", ""};
// A file of the game's kept saves stays far below this; a larger one is not read whole.
constexpr off_t LargestKeptFile = 4 << 20;

// Totals only grow; a sum that would pass the widest number stays there.
int64_t Sum(int64_t total, int64_t added) {
  constexpr int64_t Widest = std::numeric_limits<int64_t>::max();
  constexpr int64_t Lowest = std::numeric_limits<int64_t>::min();
  if (added > 0 && total > Widest - added) return Widest;
  if (added < 0 && total < Lowest - added) return Lowest;
  return total + added;
}

void Rank(StoreTransaction& store, const StoreChange& change) {
  ScoreRankingTable table;
  const std::vector<StoredValue> keys = RankingKeys();
  for (int place = 0; place < RankingPlaces; ++place) {
    const StoredValue& points = keys[size_t(place)];
    const StoredValue& name = keys[size_t(RankingPlaces + place)];
    table[size_t(place)] = {StoredNumber(store.Get(points.Section, points.Key, points.Text)),
                            store.Get(name.Section, name.Key, name.Text)};
  }
  if (table[0].Points == 0) table = BuiltInRanking();  // as the game reads a fresh store
  const int32_t points = StoredNumber(change.text);
  const int place = RankNewScore(table, points);
  if (place == NoRankingPlace) return;
  table[size_t(place)] = {points, change.key};
  for (const StoredValue& value : RankingValues(table))
    store.Set(value.Section, value.Key, value.Text);
}

void Apply(StoreTransaction& store, const StoreChange& change) {
  switch (change.kind) {
    case ChangeKind::Set:
      store.Set(change.section, change.key, change.text);
      break;
    case ChangeKind::Add: {
      const int64_t total = StoredWholeNumber(store.Get(change.section, change.key, "0"));
      store.Set(change.section, change.key,
                StoredNumberText(Sum(total, StoredWholeNumber(change.text))));
      break;
    }
    case ChangeKind::Fill:
      if (store.Get(change.section, change.key, "").empty())
        store.Set(change.section, change.key, change.text);
      break;
    case ChangeKind::Rank:
      Rank(store, change);
      break;
  }
}

// The kept blocks not merged yet: those after the one whose id the store holds.
void ApplyKept(StoreTransaction& store, const std::vector<KeptBlock>& blocks) {
  if (blocks.empty()) return;
  const std::string merged =
      store.Get(MergedBlockSetting.Section, MergedBlockSetting.Key, MergedBlockSetting.Default);
  size_t first = 0;
  for (size_t i = 0; i < blocks.size(); ++i)
    if (blocks[i].id == merged) first = i + 1;
  for (size_t i = first; i < blocks.size(); ++i)
    for (const StoreChange& change : blocks[i].changes) Apply(store, change);
  store.Set(MergedBlockSetting.Section, MergedBlockSetting.Key, blocks.back().id);
}

// The kept file, open and locked against other runs; -1 when there is none. A file replaced or
// removed while this waited for the lock is opened again as it is now.
int OpenLocked(const std::string& path, int flags) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int file = open(path.c_str(), flags | O_CLOEXEC, 0600);
    if (file < 0) return -1;
    if (flock(file, LOCK_EX) != 0) {
      const int failure = errno;
      close(file);
      errno = failure;
      return -1;
    }
    struct stat held, named;
    if (fstat(file, &held) == 0 && stat(path.c_str(), &named) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev)
      return file;
    close(file);
  }
  errno = EAGAIN;
  return -1;
}

bool ReadAll(int file, std::string& text) {
  struct stat info;
  if (fstat(file, &info) != 0 || info.st_size > LargestKeptFile) return false;
  text.resize(size_t(info.st_size));
  return pread(file, text.data(), text.size(), 0) == ssize_t(text.size());
}

// A kept file that could not be read whole is copied aside before it goes, so nothing is lost.
void KeepDamagedCopy(const std::string& path) {
  const std::string aside = path + ".damaged-" + AsideStamp();
  std::error_code error;
  fs::copy_file(path, aside, fs::copy_options::skip_existing, error);
  std::fprintf(stderr, "%s\n",
               TrWith("settings store: part of %s could not be read; merged what could be read "
                      "into the store and kept the file as %s",
                      {path, aside})
                   .c_str());
}

bool WriteAll(int file, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(file, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += size_t(written);
  }
  return fsync(file) == 0;
}

}  // namespace

StoreChange RankChange(int32_t points, const std::string& name) {
  return {ChangeKind::Rank, RankingSection, name, StoredNumberText(points)};
}

std::string KeptChangesPath() {
  const std::string store = StorePath();
  return store.empty() ? store : store + ".pending";
}

bool ApplyChanges(const std::vector<StoreChange>& changes) {
  const std::string path = KeptChangesPath();
  const int file = path.empty() ? -1 : OpenLocked(path, O_RDWR);
  if (file < 0 && changes.empty()) return true;  // nothing to apply: the store is not touched
  KeptFile kept;
  std::string text;
  if (file >= 0) {
    if (ReadAll(file, text))
      kept = ParseKept(text);
    else
      kept.damaged = true;
  }
  const bool applied = StoreUpdate(GameApplication, [&](StoreTransaction& store) {
    ApplyKept(store, kept.blocks);
    for (const StoreChange& change : changes) Apply(store, change);
  });
  if (file >= 0) {
    if (applied) {
      if (kept.damaged) KeepDamagedCopy(path);
      unlink(path.c_str());
    }
    close(file);  // and its lock
  }
  return applied;
}

bool KeepChanges(const std::vector<StoreChange>& changes, std::string& problem) {
  const std::string path = KeptChangesPath();
  if (path.empty()) {
    problem = Tr("no folder for settings");
    return false;
  }
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  const int file = OpenLocked(path, O_WRONLY | O_APPEND | O_CREAT);
  struct stat info;
  if (file < 0 || fstat(file, &info) != 0) {
    problem = path + ": " + std::strerror(errno);
    if (file >= 0) close(file);
    return false;
  }
  const bool kept = WriteAll(file, KeptText({{NewBlockId(), changes}}, info.st_size == 0));
  if (!kept) {
    problem = path + ": " + std::strerror(errno);
    // Half a block would read as damage: the file goes back to what it held.
    if (info.st_size == 0)
      unlink(path.c_str());
    else if (ftruncate(file, info.st_size) != 0)
      problem += Tr("; a part of the changes may be left in it");
  }
  close(file);
  return kept;
}
