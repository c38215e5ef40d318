// Opening, checking and setting aside the store's file.
#include "persist/store_open.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/game_text.h"
#include "persist/store_connection.h"

namespace fs = std::filesystem;

namespace {

// Marks a file as this store's ("VELD") and its table layout, so a foreign database is told
// apart from an empty one, and a newer game's from a damaged one.
constexpr int64_t ApplicationId = 0x56454C44;
constexpr int64_t LayoutVersion = 1;

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

const char* const ReadsTheTable = "SELECT application, section, key, value FROM settings";

enum class Verdict { Ready, Fresh, Busy, Damaged, Newer, NewerUnread, Failed };

struct Outcome {
  Verdict kind;
  std::string reason;
  int code = SQLITE_OK;
};

Outcome FromCode(sqlite3* db, int code) {
  const std::string reason = ReasonOf(db, code);
  if (IsBusy(code)) return {Verdict::Busy, reason, code};
  return {IsDamage(code) ? Verdict::Damaged : Verdict::Failed, reason, code};
}

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

// Tells a file that is this store's, an empty one, a newer game's, and anything else (damaged).
Outcome CheckLayout(sqlite3* db) {
  int64_t objects = 0, applicationId = 0, version = 0;
  int rc = QueryNumber(db, "SELECT count(*) FROM sqlite_schema", objects);
  if (rc == SQLITE_OK) rc = QueryNumber(db, "PRAGMA application_id", applicationId);
  if (rc == SQLITE_OK) rc = QueryNumber(db, "PRAGMA user_version", version);
  if (rc != SQLITE_OK) return FromCode(db, rc);

  if (objects == 0 && applicationId == 0 && version == 0) return {Verdict::Fresh, ""};
  if (applicationId != ApplicationId) return {Verdict::Damaged, Tr("not a settings store")};
  if (version > LayoutVersion)
    return {Verdict::Newer,
            TrWith("made by a newer version of the game (layout %s, this one reads %s)",
                   {std::to_string(version), std::to_string(LayoutVersion)})};
  if (version != LayoutVersion)
    return {Verdict::Damaged, TrWith("unknown layout version %s", {std::to_string(version)})};
  Statement probe;
  rc = probe.Prepare(db, ReadsTheTable);
  if (IsBusy(rc) || IsDamage(rc)) return FromCode(db, rc);
  if (rc != SQLITE_OK) return {Verdict::Damaged, Tr("no settings table of the expected form")};
  std::string check;
  rc = QueryText(db, "PRAGMA integrity_check(1)", check);
  if (rc != SQLITE_OK) return FromCode(db, rc);
  if (check != "ok") return {Verdict::Damaged, TrWith("integrity check: %s", {check})};
  return {Verdict::Ready, ""};
}

// One read transaction: checks that straddled another program's making of the store could see
// half of it and take it for a foreign file. Tried again while another program holds the file.
Outcome CheckedInOneLook(sqlite3* db) {
  Outcome checked{Verdict::Busy, ""};
  do {
    const int rc = Exec(db, "BEGIN");
    checked = rc == SQLITE_OK ? CheckLayout(db) : FromCode(db, rc);
    if (!sqlite3_get_autocommit(db)) Exec(db, "COMMIT");
  } while (checked.kind == Verdict::Busy && PauseForRetry());
  return checked;
}

// Checks before it writes anything, so that a damaged file is set aside with its bytes as found.
Outcome MakeReady(sqlite3* db) {
  Outcome checked = CheckedInOneLook(db);
  if (checked.kind == Verdict::Fresh) {
    // IF NOT EXISTS: another program may have made the layout since the check.
    const int rc = InWriteTransaction(db, [db] { return Exec(db, CreateLayout); });
    if (rc != SQLITE_OK) return FromCode(db, rc);
    checked = {Verdict::Ready, ""};
  }
  if (checked.kind != Verdict::Ready) return checked;
  // WAL lets readers go on while another program writes. Switching to it needs the file alone,
  // and SQLite reports a program that is opening it at the same time as busy at once, without
  // waiting, so the switch is tried again.
  int rc = SQLITE_OK;
  do {
    rc = Exec(db, "PRAGMA journal_mode = WAL");
  } while (IsBusy(rc) && PauseForRetry());
  if (rc == SQLITE_OK) rc = Exec(db, "PRAGMA synchronous = FULL");
  return rc == SQLITE_OK ? checked : FromCode(db, rc);
}

// Closes without folding the journal into the file, which would change a damaged file's bytes.
void CloseUntouched(sqlite3* db) {
  if (db) sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  sqlite3_close_v2(db);
}

// The file opened for writing and made ready; ready is set only when the outcome is Ready.
Outcome OpenChecked(const std::string& path, bool create, sqlite3*& ready) {
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    const std::string reason = ReasonOf(db, rc);
    sqlite3_close_v2(db);
    return {Verdict::Failed, reason, rc};
  }
  // SQLite falls back to reading alone where the system refuses writing.
  if (sqlite3_db_readonly(db, "main") == 1) {
    sqlite3_close_v2(db);
    return {Verdict::Failed, Tr("the file cannot be written"), SQLITE_READONLY};
  }
  WaitForLocks(db);
  const Outcome outcome = MakeReady(db);
  if (outcome.kind == Verdict::Ready)
    ready = db;
  else if (outcome.kind == Verdict::Damaged)
    CloseUntouched(db);
  else
    sqlite3_close_v2(db);  // the last one out removes the journal files it made
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

// SQLite keeps parts of a database in files beside it, named by adding these.
const char* const SideFiles[] = {"-wal", "-shm", "-journal"};

bool AnyExists(const std::string& path) {
  if (StoreFileExists(path)) return true;
  for (const char* side : SideFiles)
    if (StoreFileExists(path + side)) return true;
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
  if (StoreFileExists(to)) {
    taken = true;
    return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

enum class Moved { Aside, ByAnother, Failed };

std::string FolderOf(const std::string& path) {
  const std::string folder = fs::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// Renames what is at path, if it is still the file seen, to path.damaged-YYYYMMDD-HHMMSS (with
// "-2", "-3"... when that name is taken), taking a database's side files along. A lock on the
// folder keeps two programs from both moving the store, one of them the other's fresh one.
Moved SetAside(const std::string& path, const FileIdentity& seen, bool withSideFiles,
               std::string& aside) {
  const int lock = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lock >= 0) flock(lock, LOCK_EX);

  Moved result = Moved::Failed;
  if (!SameFile(IdentityOf(path), seen)) {
    result = Moved::ByAnother;
  } else {
    const std::string base = path + ".damaged-" + AsideStamp();
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
      if (StoreFileExists(from) && std::rename(from.c_str(), (aside + side).c_str()) != 0)
        std::remove(from.c_str());
    }
  }
  const int failure = errno;
  if (lock >= 0) close(lock);  // also releases the lock
  errno = failure;
  return result;
}

// Moves a damaged thing at path aside; false when it could not be moved.
bool ReplaceDamaged(const std::string& path, const FileIdentity& seen, bool withSideFiles,
                    const std::string& reason) {
  std::string aside;
  switch (SetAside(path, seen, withSideFiles, aside)) {
    case Moved::Aside: {
      const std::string told =
          TrWith("%s was damaged (%s); moved it to %s and started a fresh store",
                 {path, OneLine(reason), aside});
      std::fprintf(stderr, "%s\n", TrWith("settings store: %s", {told}).c_str());
      Store.Last.reason = told;
      return true;
    }
    case Moved::ByAnother:
      return true;
    case Moved::Failed:
      break;
  }
  const std::string why = std::strerror(errno);
  return Finish(StoreStatus::Failed,
                TrWith("%s is damaged (%s) and could not be moved aside: %s",
                       {path, OneLine(reason), why}));
}

// The store's folder, made when create asks for it; false (with the reason told) when it
// cannot be there.
bool FolderReady(const std::string& path, bool create, bool& setAside) {
  setAside = false;
  const std::string folder = fs::path(path).parent_path().string();
  struct stat info;
  if (!folder.empty() && stat(folder.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
    setAside = ReplaceDamaged(folder, IdentityOf(folder), false, Tr("a file where its folder belongs"));
    return false;
  }
  if (!create || folder.empty()) return true;
  std::error_code error;
  fs::create_directories(folder, error);
  if (!error) return true;
  const bool readOnly = error.value() == EROFS || error.value() == EACCES;
  return Finish(readOnly ? StoreStatus::ReadOnly : StoreStatus::Failed,
                path + ": cannot make its folder " + folder + ": " + error.message());
}

sqlite3* Opened(sqlite3* db) {
  Finish(StoreStatus::Ok, Store.Last.reason);
  return db;
}

// A file URI for SQLite, with the characters that would end the path escaped.
std::string FileUri(const std::string& path, const char* parameter) {
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (c == '?' || c == '#' || c == '%' || c < 0x21 || c >= 0x7f) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    } else {
      uri += char(c);
    }
  }
  return uri + "?" + parameter;
}

// immutable reads the file alone, with no lock and no file beside it: safe while no program
// has the store open, which the missing side files tell.
Outcome LookThrough(const std::string& path, bool immutable, sqlite3*& db) {
  const std::string uri = FileUri(path, immutable ? "immutable=1" : "mode=ro");
  int rc = sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  Outcome outcome = rc == SQLITE_OK ? Outcome{Verdict::Ready, ""} : FromCode(db, rc);
  if (rc == SQLITE_OK) {
    WaitForLocks(db);
    outcome = CheckedInOneLook(db);
  }
  if (outcome.kind == Verdict::Newer) {
    Statement probe;  // a newer layout may still hold the table as this one knows it
    if (probe.Prepare(db, ReadsTheTable) != SQLITE_OK) outcome.kind = Verdict::NewerUnread;
  }
  if (outcome.kind != Verdict::Ready && outcome.kind != Verdict::Newer) {
    CloseUntouched(db);
    db = nullptr;
  }
  return outcome;
}

}  // namespace

bool OnReadOnlyPlace(const std::string& path) {
  if (!StoreFileExists(path)) return false;
  const auto refused = [](const std::string& file) {
    return access(file.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS || errno == EPERM);
  };
  // WAL keeps files beside the store, so its folder must take new files too.
  return refused(path) || refused(FolderOf(path));
}

sqlite3* OpenWritable(const std::string& path, bool create) {
  // Each turn either opens the store or moves one damaged thing aside; a few are plenty.
  for (int turn = 0; turn < 4; ++turn) {
    bool setAside = false;
    if (!FolderReady(path, create, setAside)) {
      if (setAside) continue;
      return nullptr;
    }
    struct stat info;
    if (stat(path.c_str(), &info) != 0 && !create) return Opened(nullptr);  // nothing stored
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
      if (!ReplaceDamaged(path, IdentityOf(path), true, Tr("not a file"))) return nullptr;
      continue;
    }
    // Taken before opening: if another program replaces the file meanwhile, the check below
    // sees the new file, and this identity no longer matches, so the new one is left alone.
    FileIdentity seen = IdentityOf(path);
    sqlite3* db = nullptr;
    const Outcome outcome = OpenChecked(path, create, db);
    if (outcome.kind == Verdict::Ready) return Opened(db);
    if (outcome.kind == Verdict::Newer) {
      Finish(StoreStatus::Newer, TrWith("%s was %s", {path, outcome.reason}));
      return nullptr;
    }
    if (outcome.kind != Verdict::Damaged) {
      Finish(StatusOf(outcome.code), path + ": " + OneLine(outcome.reason));
      return nullptr;
    }
    if (!seen.Present) seen = IdentityOf(path);
    if (!ReplaceDamaged(path, seen, true, outcome.reason)) return nullptr;
  }
  Finish(StoreStatus::Failed, TrWith("%s was replaced again and again while being opened", {path}));
  return nullptr;
}

sqlite3* LookAt(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return Opened(nullptr);
    Finish(StoreStatus::Failed, path + ": " + std::strerror(errno));
    return nullptr;
  }
  if (!S_ISREG(info.st_mode)) {
    Finish(StoreStatus::Failed, TrWith("%s is not a file", {path}));
    return nullptr;
  }
  const bool inUse = StoreFileExists(path + "-wal") || StoreFileExists(path + "-shm");
  sqlite3* db = nullptr;
  Outcome outcome = LookThrough(path, !inUse, db);
  // A journal that cannot be shared here (a read-only folder): the file alone still reads.
  if (inUse && outcome.kind == Verdict::Failed) outcome = LookThrough(path, true, db);
  switch (outcome.kind) {
    case Verdict::Ready:
      return Opened(db);
    case Verdict::Fresh:
      return Opened(nullptr);
    case Verdict::Newer:
      Finish(StoreStatus::Newer, TrWith("%s was %s", {path, outcome.reason}));
      return db;
    case Verdict::NewerUnread:
      Finish(StoreStatus::NewerUnread, TrWith("%s was %s, and cannot be read", {path, outcome.reason}));
      return nullptr;
    default:
      Finish(StatusOf(outcome.code), path + ": " + OneLine(outcome.reason));
      return nullptr;
  }
}
