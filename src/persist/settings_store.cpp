#include "persist/settings_store.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Marks a file as this store's ("VELD") and its table layout, so a foreign database is told
// apart from an empty one.
constexpr int64_t ApplicationId = 0x56454C44;
constexpr int64_t LayoutVersion = 1;

// SQLite waits this long for another program's lock before reporting busy...
constexpr int BusyTimeoutMs = 5000;
// ...and a transaction that still finds the file busy is tried again this many times in all.
constexpr int Attempts = 6;
constexpr auto PauseBeforeRetry = std::chrono::milliseconds(20);

// NOCASE folds ASCII letters only, which is how names are matched.
const char* const CreateLayout =
    "CREATE TABLE IF NOT EXISTS settings ("
    " application TEXT NOT NULL COLLATE NOCASE,"
    " section TEXT NOT NULL COLLATE NOCASE,"
    " key TEXT NOT NULL COLLATE NOCASE,"
    " value TEXT NOT NULL,"
    " PRIMARY KEY (application, section, key)) WITHOUT ROWID;"
    "PRAGMA application_id = 1447382084;"
    "PRAGMA user_version = 1;";
static_assert(ApplicationId == 1447382084);

struct StoreState {
  sqlite3* Db = nullptr;
  std::string Path;  // of the open file
  pid_t Owner = 0;   // the process that opened Db
  bool HasExplicitPath = false;
  std::string ExplicitPath;
  bool FailureTold = false;  // one line per failure to open, not one per call
  bool LookOnly = false;     // reads open the store as it is, for reading alone
  bool DbLooksOnly = false;  // Db was opened so
  std::string Problem;       // why the store could not be looked at
};

StoreState State;

struct CloseAtExit {
  ~CloseAtExit() { StoreClose(); }
} closeAtExit;

bool IsBusy(int code) {
  code &= 0xff;
  return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

bool IsDamage(int code) {
  code &= 0xff;
  return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

void PauseForRetry() { std::this_thread::sleep_for(PauseBeforeRetry); }

class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(handle_); }

  int Prepare(sqlite3* db, const char* sql) {
    return sqlite3_prepare_v2(db, sql, -1, &handle_, nullptr);
  }
  void Bind(int index, const std::string& text) {
    sqlite3_bind_text64(handle_, index, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
  }
  int Step() { return sqlite3_step(handle_); }
  std::string Text(int column) {
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(handle_, column));
    return text ? std::string(text, sqlite3_column_bytes(handle_, column)) : std::string();
  }
  int64_t Number(int column) { return sqlite3_column_int64(handle_, column); }

 private:
  sqlite3_stmt* handle_ = nullptr;
};

int Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

int QueryNumber(sqlite3* db, const char* sql, int64_t& number) {
  Statement query;
  int rc = query.Prepare(db, sql);
  if (rc != SQLITE_OK) return rc;
  rc = query.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? SQLITE_ERROR : rc;
  number = query.Number(0);
  return SQLITE_OK;
}

int QueryText(sqlite3* db, const char* sql, std::string& text) {
  Statement query;
  int rc = query.Prepare(db, sql);
  if (rc != SQLITE_OK) return rc;
  rc = query.Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? SQLITE_ERROR : rc;
  text = query.Text(0);
  return SQLITE_OK;
}

int ReadValue(sqlite3* db, const std::string& application, const std::string& section,
              const std::string& key, std::string& text, bool& found) {
  Statement query;
  int rc = query.Prepare(
      db, "SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
  if (rc != SQLITE_OK) return rc;
  query.Bind(1, application);
  query.Bind(2, section);
  query.Bind(3, key);
  rc = query.Step();
  found = rc == SQLITE_ROW;
  if (found) text = query.Text(0);
  return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// REPLACE drops a row whose names differ only in case, so each key is kept once.
int WriteValue(sqlite3* db, const std::string& application, const std::string& section,
               const std::string& key, const std::string& text) {
  Statement write;
  int rc = write.Prepare(
      db, "INSERT OR REPLACE INTO settings (application, section, key, value) "
          "VALUES (?1, ?2, ?3, ?4)");
  if (rc != SQLITE_OK) return rc;
  write.Bind(1, application);
  write.Bind(2, section);
  write.Bind(3, key);
  write.Bind(4, text);
  rc = write.Step();
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// Reads alone rarely meet a busy file (WAL readers do not wait for writers), but can during
// another program's recovery of the journal.
template <typename Read>
int RetryWhileBusy(Read read) {
  int rc = read();
  for (int attempt = 1; attempt < Attempts && IsBusy(rc); ++attempt) {
    PauseForRetry();
    rc = read();
  }
  return rc;
}

// BEGIN IMMEDIATE takes the write lock before anything is read, so no other writer can slip in
// between the reads and the writes of body.
template <typename Body>
int InWriteTransaction(sqlite3* db, Body body) {
  int rc = SQLITE_BUSY;
  for (int attempt = 0; attempt < Attempts && IsBusy(rc); ++attempt) {
    if (attempt > 0) PauseForRetry();
    rc = Exec(db, "BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) continue;
    rc = body();
    if (rc == SQLITE_OK) rc = Exec(db, "COMMIT");
    if (rc != SQLITE_OK && !sqlite3_get_autocommit(db)) Exec(db, "ROLLBACK");
  }
  return rc;
}

enum class Verdict { Ready, Busy, Damaged, Failed };

struct Outcome {
  Verdict Kind;
  std::string Reason;
};

Outcome FromCode(sqlite3* db, int code) {
  const std::string reason = sqlite3_errmsg(db);
  if (IsBusy(code)) return {Verdict::Busy, reason};
  return {IsDamage(code) ? Verdict::Damaged : Verdict::Failed, reason};
}

// Tells a file that is this store's, an empty one (fresh), and anything else (damaged).
Outcome CheckLayout(sqlite3* db, bool& fresh) {
  int64_t objects = 0, applicationId = 0, version = 0;
  int rc = QueryNumber(db, "SELECT count(*) FROM sqlite_schema", objects);
  if (rc == SQLITE_OK) rc = QueryNumber(db, "PRAGMA application_id", applicationId);
  if (rc == SQLITE_OK) rc = QueryNumber(db, "PRAGMA user_version", version);
  if (rc != SQLITE_OK) return FromCode(db, rc);

  fresh = objects == 0 && applicationId == 0 && version == 0;
  if (fresh) return {Verdict::Ready, ""};
  if (applicationId != ApplicationId) return {Verdict::Damaged, "not a settings store"};
  if (version != LayoutVersion)
    return {Verdict::Damaged, "unknown layout version " + std::to_string(version)};
  Statement probe;
  rc = probe.Prepare(db, "SELECT application, section, key, value FROM settings");
  if (IsBusy(rc) || IsDamage(rc)) return FromCode(db, rc);
  if (rc != SQLITE_OK) return {Verdict::Damaged, "no settings table of the expected form"};
  std::string check;
  rc = QueryText(db, "PRAGMA integrity_check(1)", check);
  if (rc != SQLITE_OK) return FromCode(db, rc);
  if (check != "ok") return {Verdict::Damaged, "integrity check: " + check};
  return {Verdict::Ready, ""};
}

// Checks before it writes anything, so that a damaged file is set aside with its bytes as found.
Outcome MakeReady(sqlite3* db) {
  // One read transaction: checks that straddled another program's making of the store could
  // see half of it and take it for a foreign file.
  bool fresh = false;
  int rc = Exec(db, "BEGIN");
  const Outcome checked = rc == SQLITE_OK ? CheckLayout(db, fresh) : FromCode(db, rc);
  if (!sqlite3_get_autocommit(db)) Exec(db, "COMMIT");
  if (checked.Kind != Verdict::Ready) return checked;

  if (fresh) {
    // IF NOT EXISTS: another program may have made the layout since the check.
    rc = InWriteTransaction(db, [db] { return Exec(db, CreateLayout); });
    if (rc != SQLITE_OK) return FromCode(db, rc);
  }

  // WAL lets readers go on while another program writes. A write-protected file is left as it
  // is, to be read only.
  if (!sqlite3_db_readonly(db, "main")) {
    rc = Exec(db, "PRAGMA journal_mode = WAL");
    if (rc == SQLITE_OK) rc = Exec(db, "PRAGMA synchronous = FULL");
    if (rc != SQLITE_OK) return FromCode(db, rc);
  }
  return {Verdict::Ready, ""};
}

// Closes without folding the journal into the file, which would change a damaged file's bytes.
void CloseUntouched(sqlite3* db) {
  if (db) sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  sqlite3_close_v2(db);
}

Outcome OpenChecked(const std::string& path, sqlite3*& ready) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
  if (rc != SQLITE_OK) {
    const std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close_v2(db);
    // A file there that this user may not read or write is as good as damaged; a missing one
    // could not be made.
    const bool unreadable =
        access(path.c_str(), F_OK) == 0 && access(path.c_str(), R_OK | W_OK) != 0;
    return {unreadable ? Verdict::Damaged : Verdict::Failed, reason};
  }
  sqlite3_busy_timeout(db, BusyTimeoutMs);
  Outcome outcome = MakeReady(db);
  for (int attempt = 1; attempt < Attempts && outcome.Kind == Verdict::Busy; ++attempt) {
    PauseForRetry();
    outcome = MakeReady(db);
  }
  if (outcome.Kind == Verdict::Ready) {
    ready = db;
  } else {
    CloseUntouched(db);
    if (outcome.Kind == Verdict::Busy) outcome.Kind = Verdict::Failed;
  }
  return outcome;
}

struct FileIdentity {
  bool Present = false;
  dev_t Device = 0;
  ino_t Inode = 0;
};

FileIdentity IdentityOf(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return {};
  return {true, info.st_dev, info.st_ino};
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.Present && b.Present && a.Device == b.Device && a.Inode == b.Inode;
}

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[32] = "00000000-000000";
  if (localtime_r(&now, &local)) std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// SQLite keeps parts of a database in files beside it, named by adding these.
const char* const SideFiles[] = {"-wal", "-shm", "-journal"};

bool AnyExists(const std::string& path) {
  if (access(path.c_str(), F_OK) == 0) return true;
  for (const char* side : SideFiles)
    if (access((path + side).c_str(), F_OK) == 0) return true;
  return false;
}

// Renames from to to unless to exists.
bool RenameNew(const std::string& from, const std::string& to, bool& taken) {
  taken = false;
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno == EEXIST) {
    taken = true;
    return false;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without RENAME_NOREPLACE: the folder lock keeps out other stores at least.
  if (access(to.c_str(), F_OK) == 0) {
    taken = true;
    return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

enum class Moved { Aside, ByAnother, Failed };

// Renames what is at path, if it is still the file seen, to path.damaged-YYYYMMDD-HHMMSS (with
// "-2", "-3"... when that name is taken), taking a database's side files along. A lock on the
// folder keeps two programs from both moving the store, one of them the other's fresh one.
Moved SetAside(const std::string& path, const FileIdentity& seen, bool withSideFiles,
               std::string& aside) {
  std::string folder = fs::path(path).parent_path().string();
  if (folder.empty()) folder = ".";
  const int lock = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lock >= 0) flock(lock, LOCK_EX);

  Moved result = Moved::Failed;
  if (!SameFile(IdentityOf(path), seen)) {
    result = Moved::ByAnother;
  } else {
    const std::string base = path + ".damaged-" + TimeStamp();
    for (int number = 1; number < 1000; ++number) {
      aside = number == 1 ? base : base + "-" + std::to_string(number);
      if (AnyExists(aside)) continue;
      bool taken = false;
      if (RenameNew(path, aside, taken)) {
        result = Moved::Aside;
        break;
      }
      if (!taken) break;
    }
  }
  if (result == Moved::Aside && withSideFiles) {
    for (const char* side : SideFiles) {
      const std::string from = path + side;
      // Left beside a fresh file, an old journal would be played into it.
      if (access(from.c_str(), F_OK) == 0 && std::rename(from.c_str(), (aside + side).c_str()) != 0)
        std::remove(from.c_str());
    }
  }
  const int failure = errno;
  if (lock >= 0) close(lock);  // also releases the lock
  errno = failure;
  return result;
}

// SQLite's reports (an integrity check's above all) may run over several lines.
std::string OneLine(const std::string& reason) {
  std::string line;
  for (char c : reason) {
    const bool breaks = c == '\n' || c == '\r';
    if (!breaks)
      line += c;
    else if (!line.empty() && line.back() != ' ')
      line += ' ';
  }
  return line;
}

bool TellFailure(const std::string& path, const std::string& reason) {
  if (!State.FailureTold) {
    const std::string line = OneLine(reason);
    if (path.empty())
      std::fprintf(stderr, "settings store: %s; settings will not be kept\n", line.c_str());
    else
      std::fprintf(stderr, "settings store: cannot use %s (%s); settings will not be kept\n",
                   path.c_str(), line.c_str());
    State.FailureTold = true;
  }
  return false;
}

// Moves a damaged thing at path aside; false when it could not be moved.
bool ReplaceDamaged(const std::string& path, const FileIdentity& seen, bool withSideFiles,
                    const std::string& reason) {
  std::string aside;
  switch (SetAside(path, seen, withSideFiles, aside)) {
    case Moved::Aside:
      std::fprintf(stderr,
                   "settings store: %s was damaged (%s); kept it as %s and made a fresh one\n",
                   path.c_str(), OneLine(reason).c_str(), aside.c_str());
      return true;
    case Moved::ByAnother:
      return true;
    case Moved::Failed:
      break;
  }
  return TellFailure(path, reason + "; could not move it aside: " + std::strerror(errno));
}

bool OpenStore(const std::string& path) {
  if (path.empty())
    return TellFailure("", "no folder for settings: neither XDG_CONFIG_HOME nor HOME names one");
  const std::string folder = fs::path(path).parent_path().string();
  // Each turn either opens the store or moves one damaged thing aside; a few are plenty.
  for (int turn = 0; turn < 4; ++turn) {
    struct stat info;
    if (!folder.empty() && stat(folder.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
      if (!ReplaceDamaged(folder, IdentityOf(folder), false, "a file where its folder belongs"))
        return false;
      continue;
    }
    std::error_code error;
    if (!folder.empty()) fs::create_directories(folder, error);
    if (error) return TellFailure(path, "cannot make its folder: " + error.message());

    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
      if (!ReplaceDamaged(path, IdentityOf(path), true, "not a file")) return false;
      continue;
    }
    // Taken before opening: if another program replaces the file meanwhile, the check below
    // sees the new file, and this identity no longer matches, so the new one is left alone.
    FileIdentity seen = IdentityOf(path);
    sqlite3* db = nullptr;
    const Outcome outcome = OpenChecked(path, db);
    if (outcome.Kind == Verdict::Ready) {
      State.Db = db;
      State.Path = path;
      State.Owner = getpid();
      State.FailureTold = false;
      return true;
    }
    if (outcome.Kind != Verdict::Damaged) return TellFailure(path, outcome.Reason);
    if (!seen.Present) seen = IdentityOf(path);
    if (!ReplaceDamaged(path, seen, true, outcome.Reason)) return false;
  }
  return TellFailure(path, "it was replaced again and again while being opened");
}

// Opens the file as it is, for reading: nothing is made, moved or written. A missing or empty
// store is no problem (it reads as defaults); anything else that keeps it closed is.
void LookAtStore(const std::string& path) {
  State.Problem.clear();
  struct stat info;
  if (path.empty() || stat(path.c_str(), &info) != 0) return;
  sqlite3* db = nullptr;
  int rc = S_ISREG(info.st_mode)
               ? sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr)
               : SQLITE_CANTOPEN;
  Outcome outcome{Verdict::Failed, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)};
  bool fresh = false;
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    rc = RetryWhileBusy([&] {
      int begun = Exec(db, "BEGIN");
      outcome = begun == SQLITE_OK ? CheckLayout(db, fresh) : FromCode(db, begun);
      if (!sqlite3_get_autocommit(db)) Exec(db, "COMMIT");
      return outcome.Kind == Verdict::Busy ? SQLITE_BUSY : SQLITE_OK;
    });
  }
  if (outcome.Kind == Verdict::Ready && !fresh) {
    State.Db = db;
    State.Path = path;
    State.Owner = getpid();
    State.DbLooksOnly = true;
    return;
  }
  CloseUntouched(db);
  if (outcome.Kind != Verdict::Ready) State.Problem = path + ": " + OneLine(outcome.Reason);
}

void CloseConnection() {
  sqlite3_close_v2(State.Db);
  State.Db = nullptr;
  State.DbLooksOnly = false;
}

sqlite3* Connection(bool forWriting) {
  // A connection copied by fork() must not be used: its locks stayed with the parent. Closing
  // the copy is safe, since the parent's locks keep it from folding or deleting the journal,
  // and it clears SQLite's record of the file, which a new connection would otherwise share.
  if (State.Db && State.Owner != getpid()) CloseConnection();
  if (State.Db && forWriting && State.DbLooksOnly) CloseConnection();
  const std::string path = State.HasExplicitPath ? State.ExplicitPath : DefaultStorePath();
  if (!State.Db && State.LookOnly && !forWriting)
    LookAtStore(path);
  else if (!State.Db)
    OpenStore(path);
  return State.Db;
}

// Every failure of an open store is told; a damaged file is closed, so that the next use
// checks it again and moves it aside.
void TellTrouble(const char* doing, int code) {
  const std::string reason = OneLine(State.Db ? sqlite3_errmsg(State.Db) : sqlite3_errstr(code));
  std::fprintf(stderr, "settings store: could not %s %s: %s\n", doing, State.Path.c_str(),
               reason.c_str());
  if (IsDamage(code)) CloseConnection();
}

// Only running out of memory throws here; a transaction it cut short must not stay open.
void TellException(const char* doing, const std::exception& exception) {
  if (State.Db && !sqlite3_get_autocommit(State.Db)) Exec(State.Db, "ROLLBACK");
  std::fprintf(stderr, "settings store: could not %s: %s\n", doing, exception.what());
}

}  // namespace

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

bool StoreOpen(const std::string& path) {
  try {
    StoreClose();
    State.HasExplicitPath = true;
    State.ExplicitPath = path;
    if (path.empty()) return TellFailure("", "no file named for the settings store");
    return OpenStore(path);
  } catch (const std::exception& exception) {
    TellException("open the store", exception);
    return false;
  }
}

void StoreClose() {
  CloseConnection();
  State.Problem.clear();
  State.Path.clear();
  State.Owner = 0;
  State.HasExplicitPath = false;
  State.ExplicitPath.clear();
  State.FailureTold = false;
}

void StoreLookOnly(bool lookOnly) {
  if (State.LookOnly != lookOnly && State.DbLooksOnly) CloseConnection();
  State.LookOnly = lookOnly;
}

std::string StoreProblem() { return State.Problem; }

std::string StorePath() {
  if (State.Db) return State.Path;
  return State.HasExplicitPath ? State.ExplicitPath : DefaultStorePath();
}

std::string StoreGet(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultText) {
  return StoreGetMany(application, {{section, key, defaultText}}).front();
}

std::vector<std::string> StoreGetMany(const std::string& application,
                                      const std::vector<StoredValue>& wanted) {
  std::vector<std::string> texts;
  try {
    for (const StoredValue& value : wanted) texts.push_back(value.Text);
    sqlite3* db = Connection(false);
    if (!db) return texts;
    std::vector<std::string> found = texts;
    // One read transaction is one snapshot of the file.
    const int rc = RetryWhileBusy([&] {
      int result = Exec(db, "BEGIN");
      for (size_t i = 0; i < wanted.size() && result == SQLITE_OK; ++i) {
        bool present = false;
        result = ReadValue(db, application, wanted[i].Section, wanted[i].Key, found[i], present);
        if (!present) found[i] = wanted[i].Text;
      }
      if (!sqlite3_get_autocommit(db)) Exec(db, "COMMIT");
      return result;
    });
    if (rc != SQLITE_OK) {
      TellTrouble("read", rc);
      return texts;
    }
    return found;
  } catch (const std::exception& exception) {
    TellException("read", exception);
    texts.resize(wanted.size());  // whatever could be copied, and empty texts for the rest
    return texts;
  }
}

bool StoreSave(const std::string& application, const std::vector<StoredValue>& values) {
  try {
    sqlite3* db = Connection(true);
    if (!db) return false;
    const int rc = InWriteTransaction(db, [&] {
      for (const StoredValue& value : values) {
        const int written = WriteValue(db, application, value.Section, value.Key, value.Text);
        if (written != SQLITE_OK) return written;
      }
      return SQLITE_OK;
    });
    if (rc != SQLITE_OK) TellTrouble("save to", rc);
    return rc == SQLITE_OK;
  } catch (const std::exception& exception) {
    TellException("save", exception);
    return false;
  }
}

bool StoreDeleteApplication(const std::string& application) {
  try {
    sqlite3* db = Connection(true);
    if (!db) return false;
    const int rc = InWriteTransaction(db, [&] {
      Statement erase;
      int result = erase.Prepare(db, "DELETE FROM settings WHERE application = ?1");
      if (result != SQLITE_OK) return result;
      erase.Bind(1, application);
      result = erase.Step();
      return result == SQLITE_DONE ? SQLITE_OK : result;
    });
    if (rc != SQLITE_OK) TellTrouble("delete from", rc);
    return rc == SQLITE_OK;
  } catch (const std::exception& exception) {
    TellException("delete", exception);
    return false;
  }
}

std::string StoreTransaction::Get(const std::string& section, const std::string& key,
                                  const std::string& defaultText) {
  if (error_ != SQLITE_OK || !State.Db) return defaultText;
  std::string text;
  bool found = false;
  error_ = ReadValue(State.Db, application_, section, key, text, found);
  return error_ == SQLITE_OK && found ? text : defaultText;
}

void StoreTransaction::Set(const std::string& section, const std::string& key,
                           const std::string& text) {
  if (error_ != SQLITE_OK || !State.Db) return;
  error_ = WriteValue(State.Db, application_, section, key, text);
}

bool StoreUpdate(const std::string& application,
                 const std::function<void(StoreTransaction&)>& change) {
  std::exception_ptr thrown;
  try {
    sqlite3* db = Connection(true);
    if (!db) return false;
    const int rc = InWriteTransaction(db, [&] {
      StoreTransaction handle(application);
      try {
        change(handle);
      } catch (...) {
        thrown = std::current_exception();
        return SQLITE_ABORT;
      }
      return handle.error_;
    });
    if (rc != SQLITE_OK && !thrown) TellTrouble("update", rc);
    if (!thrown) return rc == SQLITE_OK;
  } catch (const std::exception& exception) {
    TellException("update", exception);
    return false;
  }
  std::rethrow_exception(thrown);
}
