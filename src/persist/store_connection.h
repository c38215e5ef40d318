// Inside the settings store: its one record, the SQLite statement helper, and the calls the
// store's files share to open, wait and tell. Not for use outside src/persist/.
#pragma once

#include <sqlite3.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "persist/settings_store.h"

using StoreClock = std::chrono::steady_clock;

struct StoreState {
  sqlite3* Db = nullptr;  // the writable connection, kept open between calls
  std::string Path;       // of the open file
  pid_t Owner = 0;        // the process that opened Db
  bool HasExplicitPath = false;
  std::string ExplicitPath;
  bool ExplicitReadOnly = false;  // opened as if on a read-only medium
  bool LookOnly = false;          // reads never open the store for writing
  int PatienceMs = DefaultStorePatienceMs;
  StoreClock::time_point Deadline;  // of the call under way
  StoreResult Last;
};
extern StoreState Store;

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

int Exec(sqlite3* db, const char* sql);
bool IsBusy(int code);
bool IsDamage(int code);

// Each public call starts its clock: waits for another program's lock end at its deadline.
void BeginCall();
bool BeforeDeadline();
// A short pause before a busy step is tried again; false when the deadline has passed.
bool PauseForRetry();
// Makes db wait for locks until the call's deadline.
void WaitForLocks(sqlite3* db);
// Runs body inside BEGIN IMMEDIATE ... COMMIT, all of it again while another program holds the
// file and the deadline allows; rolled back unless it ends SQLITE_OK.
int InWriteTransaction(sqlite3* db, const std::function<int()>& body);

// SQLite's reason for code, never its "not an error" for a code it did not record.
std::string ReasonOf(sqlite3* db, int code);
// SQLite's reports (an integrity check's above all) may run over several lines.
std::string OneLine(const std::string& text);

// Ends the call: records its outcome for StoreLastResult() and hands back whether it was Ok.
bool Finish(StoreStatus status, const std::string& reason = "");
StoreStatus StatusOf(int code);

// The local time as YYYYMMDD-HHMMSS, for the names of files set aside.
std::string AsideStamp();

// The file the store uses: the one given to StoreOpen(), else the default one.
std::string CurrentPath();
bool StoreFileExists(const std::string& path);

// A connection to write through, opened (and made, and damage set aside) as needed; nullptr
// when there is none, with the reason recorded by Finish().
sqlite3* WriteConnection();

// A connection to read through. `temporary` says the caller closes it after its read. nullptr
// with Last.status Ok: there is no store, so every value is absent.
sqlite3* ReadConnection(bool& temporary);
void CloseConnection();
