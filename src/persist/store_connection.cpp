// The store's record, its clock for waiting on other programs, its outcomes, and the choice of
// connection for each read and write.
#include "persist/store_connection.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <thread>

#include "common/game_text.h"
#include "persist/store_open.h"

namespace fs = std::filesystem;

StoreState Store;

namespace {

constexpr auto PauseBeforeRetry = std::chrono::milliseconds(10);
constexpr auto LongestSleep = std::chrono::milliseconds(5);

struct CloseAtExit {
  ~CloseAtExit() { StoreClose(); }
} closeAtExit;

// SQLite calls this while a lock it wants is held by another connection.
int WaitWhileBusy(void*, int) {
  const StoreClock::duration left = Store.Deadline - StoreClock::now();
  if (left <= StoreClock::duration::zero()) return 0;
  std::this_thread::sleep_for(std::min<StoreClock::duration>(left, LongestSleep));
  return 1;
}

}  // namespace

int Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

bool IsBusy(int code) {
  code &= 0xff;
  return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool IsDamage(int code) {
  code &= 0xff;
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

void BeginCall() {
  Store.Deadline = StoreClock::now() + std::chrono::milliseconds(Store.PatienceMs);
  Store.Last = StoreResult{};
}

bool BeforeDeadline() { return StoreClock::now() < Store.Deadline; }

bool PauseForRetry() {
  if (!BeforeDeadline()) return false;
  std::this_thread::sleep_for(PauseBeforeRetry);
  return true;
}

void WaitForLocks(sqlite3* db) { sqlite3_busy_handler(db, WaitWhileBusy, nullptr); }

// BEGIN IMMEDIATE takes the write lock before anything is read, so no other writer can slip in
// between the reads and the writes of body.
int InWriteTransaction(sqlite3* db, const std::function<int()>& body) {
  int rc = SQLITE_OK;
  do {
    rc = Exec(db, "BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) continue;
    rc = body();
    if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
    if (rc != SQLITE_OK && !sqlite3_get_autocommit(db)) Exec(db, "ROLLBACK");
  } while (IsBusy(rc) && PauseForRetry());
  return rc;
}

std::string ReasonOf(sqlite3* db, int code) {
  if (db && (sqlite3_extended_errcode(db) & 0xff) == (code & 0xff) && code != SQLITE_OK)
    return OneLine(sqlite3_errmsg(db));
  return sqlite3_errstr(code);
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    const bool breaks = c == '\n' || c == '\r';
    if (!breaks)
      line += c;
    else if (!line.empty() && line.back() != ' ')
      line += ' ';
  }
  return line;
}

bool Finish(StoreStatus status, const std::string& reason) {
  // What was done on the way (a damaged file set aside) stays told when all went well.
  if (status != StoreStatus::Ok || !reason.empty()) Store.Last.reason = reason;
  Store.Last.status = status;
  return status == StoreStatus::Ok;
}

StoreStatus StatusOf(int code) {
  if (IsBusy(code)) return StoreStatus::Busy;
  if ((code & 0xff) == SQLITE_READONLY) return StoreStatus::ReadOnly;
  return StoreStatus::Failed;
}

std::string AsideStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[32] = "00000000-000000";
  if (localtime_r(&now, &local)) std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

std::string CurrentPath() {
  return Store.HasExplicitPath ? Store.ExplicitPath : DefaultStorePath();
}

bool StoreFileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

void CloseConnection() {
  sqlite3_close_v2(Store.Db);
  Store.Db = nullptr;
}

// A connection copied by fork() must not be used: its locks stayed with the parent. Closing
// the copy is safe, since the parent's locks keep it from folding or deleting the journal,
// and it clears SQLite's record of the file, which a new connection would otherwise share.
static void DropInheritedConnection() {
  if (Store.Db && Store.Owner != getpid()) CloseConnection();
}

// The store's connection from now on.
static sqlite3* Kept(sqlite3* db, const std::string& path) {
  if (!db) return nullptr;
  Store.Db = db;
  Store.Path = path;
  Store.Owner = getpid();
  return db;
}

static bool Writable(const std::string& path) {
  return !Store.ExplicitReadOnly && !OnReadOnlyPlace(path);
}

sqlite3* WriteConnection() {
  DropInheritedConnection();
  if (Store.Db) return Store.Db;
  const std::string path = CurrentPath();
  if (path.empty()) {
    Finish(StoreStatus::Failed,
           Store.HasExplicitPath
               ? Tr("no file named for the settings store")
               : Tr("no folder for settings: neither XDG_CONFIG_HOME nor HOME names one"));
    return nullptr;
  }
  if (!Writable(path)) {
    Finish(StoreStatus::ReadOnly, TrWith("%s is on a read-only file, folder or medium", {path}));
    return nullptr;
  }
  return Kept(OpenWritable(path, true), path);
}

sqlite3* ReadConnection(bool& temporary) {
  DropInheritedConnection();
  temporary = false;
  if (Store.Db) return Store.Db;
  const std::string path = CurrentPath();
  if (path.empty() || !StoreFileExists(path)) return nullptr;  // nothing stored: defaults
  if (!Store.LookOnly && Writable(path)) {
    if (sqlite3* db = Kept(OpenWritable(path, false), path)) return db;
    const StoreStatus status = Store.Last.status;
    if (status != StoreStatus::ReadOnly && status != StoreStatus::Newer) return nullptr;
  }
  temporary = true;
  return LookAt(path);
}

std::string DefaultStorePath() {
  // Relative folders are not allowed by the XDG rules and are ignored.
  std::string base;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (config && config[0] == '/')
    base = config;
  else if (home && home[0] == '/')
    base = std::string(home) + "/.config";
  else
    return std::string();
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  if (base == "/") base.clear();
  return base + "/veldrane/settings.db";
}

bool StoreOpen(const std::string& path, StoreAccess access) {
  StoreClose();
  Store.HasExplicitPath = true;
  Store.ExplicitPath = path;
  Store.ExplicitReadOnly = access == StoreAccess::ReadOnly;
  BeginCall();
  if (Store.ExplicitReadOnly) return Finish(StoreStatus::Ok);  // read per call, as found
  try {
    return WriteConnection() != nullptr;
  } catch (const std::exception& exception) {
    return Finish(StoreStatus::Failed, exception.what());
  }
}

void StoreClose() {
  CloseConnection();
  Store.Path.clear();
  Store.Owner = 0;
  Store.HasExplicitPath = false;
  Store.ExplicitPath.clear();
  Store.ExplicitReadOnly = false;
}

void StoreLookOnly(bool lookOnly) { Store.LookOnly = lookOnly; }

void StoreSetPatience(int ms) { Store.PatienceMs = std::max(ms, 0); }

StoreResult StoreLastResult() { return Store.Last; }

std::string StorePath() { return Store.Db ? Store.Path : CurrentPath(); }
