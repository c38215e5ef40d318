// Another program holding the settings store in SQLite's exclusive locking mode, so that no
// other connection may read or write it, until Release().
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "persist/child_process.h"

struct LockHolder {
  int release[2] = {-1, -1};
  pid_t child = -1;

  explicit LockHolder(const std::filesystem::path& file) {
    int held[2];
    if (pipe(held) != 0 || pipe(release) != 0) return;
    child = InChild([&] {
      sqlite3* db = nullptr;
      char byte = 0;
      const bool locked =
          sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
          sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"
                           "UPDATE settings SET value = value WHERE 0;", nullptr, nullptr,
                       nullptr) == SQLITE_OK;
      if (write(held[1], locked ? "y" : "n", 1) != 1) return false;
      const bool released = read(release[0], &byte, 1) == 1;
      sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      sqlite3_close(db);
      return locked && released;
    });
    char answer = 0;
    if (read(held[0], &answer, 1) != 1 || answer != 'y') child = -1;
    close(held[0]);
    close(held[1]);
  }
  bool Release() {
    if (child < 0 || write(release[1], "x", 1) != 1) return false;
    close(release[0]);
    close(release[1]);
    return ExitCode(child) == 0;
  }
};

