// A pass-through file system for SQLite, made the default while it lives, whose reads can be
// failed and whose unlocks can be watched: a failing disk, or another program's commit landing
// between two statements.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>

class HookedVfs {
 public:
  struct Hooks {
    // Before each read of a database file: SQLITE_OK lets it through, anything else fails it.
    std::function<int(const std::string& file)> read;
    // After a database file's lock went down to `level`.
    std::function<void(const std::string& file, int level)> unlocked;
  };

  explicit HookedVfs(Hooks hooks) : hooks_(std::move(hooks)) {
    real_ = sqlite3_vfs_find(nullptr);
    vfs_ = *real_;
    vfs_.zName = "hooked";
    vfs_.szOsFile = static_cast<int>(sizeof(HookedFile)) + real_->szOsFile;
    vfs_.pNext = nullptr;
    vfs_.xOpen = Open;
    Active = this;
    sqlite3_vfs_register(&vfs_, 1);
  }
  ~HookedVfs() {
    sqlite3_vfs_unregister(&vfs_);
    Active = nullptr;
  }
  HookedVfs(const HookedVfs&) = delete;
  HookedVfs& operator=(const HookedVfs&) = delete;

 private:
  struct HookedFile {
    sqlite3_file Base;
    const char* Name;  // SQLite keeps it until the file is closed; nullptr for other files
    sqlite3_file* Real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
  };
  static_assert(sizeof(HookedFile) % alignof(std::max_align_t) == 0);

  static HookedFile* Hooked(sqlite3_file* file) { return reinterpret_cast<HookedFile*>(file); }
  static sqlite3_file* RealOf(sqlite3_file* file) { return Hooked(file)->Real(); }

  static int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags,
                  int* outFlags) {
    HookedFile* hooked = Hooked(file);
    hooked->Base.pMethods = nullptr;
    const int rc = Active->real_->xOpen(Active->real_, name, hooked->Real(), flags, outFlags);
    if (hooked->Real()->pMethods) {
      hooked->Name = (flags & SQLITE_OPEN_MAIN_DB) ? name : nullptr;
      hooked->Base.pMethods = &Methods;
    }
    return rc;
  }

  static int Read(sqlite3_file* f, void* buffer, int size, sqlite3_int64 offset) {
    const char* name = Hooked(f)->Name;
    if (name && Active && Active->hooks_.read) {
      const int rc = Active->hooks_.read(name);
      if (rc != SQLITE_OK) return rc;
    }
    return RealOf(f)->pMethods->xRead(RealOf(f), buffer, size, offset);
  }

  static int Unlock(sqlite3_file* f, int level) {
    const int rc = RealOf(f)->pMethods->xUnlock(RealOf(f), level);
    const char* name = Hooked(f)->Name;
    if (rc == SQLITE_OK && name && Active && Active->hooks_.unlocked)
      Active->hooks_.unlocked(name, level);
    return rc;
  }

  static const sqlite3_io_methods Methods;
  static inline HookedVfs* Active = nullptr;

  Hooks hooks_;
  sqlite3_vfs* real_ = nullptr;
  sqlite3_vfs vfs_{};
};

inline const sqlite3_io_methods HookedVfs::Methods = {
    3,
    [](sqlite3_file* f) { return RealOf(f)->pMethods->xClose(RealOf(f)); },
    Read,
    [](sqlite3_file* f, const void* buffer, int size, sqlite3_int64 offset) {
      return RealOf(f)->pMethods->xWrite(RealOf(f), buffer, size, offset);
    },
    [](sqlite3_file* f, sqlite3_int64 size) {
      return RealOf(f)->pMethods->xTruncate(RealOf(f), size);
    },
    [](sqlite3_file* f, int flags) { return RealOf(f)->pMethods->xSync(RealOf(f), flags); },
    [](sqlite3_file* f, sqlite3_int64* size) {
      return RealOf(f)->pMethods->xFileSize(RealOf(f), size);
    },
    [](sqlite3_file* f, int level) { return RealOf(f)->pMethods->xLock(RealOf(f), level); },
    Unlock,
    [](sqlite3_file* f, int* out) {
      return RealOf(f)->pMethods->xCheckReservedLock(RealOf(f), out);
    },
    [](sqlite3_file* f, int op, void* argument) {
      return RealOf(f)->pMethods->xFileControl(RealOf(f), op, argument);
    },
    [](sqlite3_file* f) { return RealOf(f)->pMethods->xSectorSize(RealOf(f)); },
    [](sqlite3_file* f) { return RealOf(f)->pMethods->xDeviceCharacteristics(RealOf(f)); },
    [](sqlite3_file* f, int page, int size, int extend, void volatile** memory) {
      return RealOf(f)->pMethods->xShmMap(RealOf(f), page, size, extend, memory);
    },
    [](sqlite3_file* f, int offset, int count, int flags) {
      return RealOf(f)->pMethods->xShmLock(RealOf(f), offset, count, flags);
    },
    [](sqlite3_file* f) { RealOf(f)->pMethods->xShmBarrier(RealOf(f)); },
    [](sqlite3_file* f, int remove) { return RealOf(f)->pMethods->xShmUnmap(RealOf(f), remove); },
    [](sqlite3_file* f, sqlite3_int64 offset, int size, void** memory) {
      return RealOf(f)->pMethods->xFetch(RealOf(f), offset, size, memory);
    },
    [](sqlite3_file* f, sqlite3_int64 offset, void* memory) {
      return RealOf(f)->pMethods->xUnfetch(RealOf(f), offset, memory);
    },
};
