// Per-user settings kept in one SQLite file, addressed by application, section and key; every
// value is a text. Names match without regard to ASCII letter case.
//
// The store opens itself on first use at DefaultStorePath(). Reading never makes a file: a
// missing store reads as defaults, and the first write makes it. A damaged file is moved aside
// (told by one line on standard error) and replaced by a fresh one. A store made by a newer
// layout, or on a read-only file, folder or medium, is read but never changed. Every call waits
// at most the patience for another program's lock, and records its outcome for
// StoreLastResult(); nothing throws. Not for use from several threads at once. A child process
// made by fork() drops the connection it inherits and opens one of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class StoreStatus : uint8_t {
  Ok,           // done; a read gives the stored texts, and defaults for absent keys
  Busy,         // another program held the store longer than the patience; nothing was done
  ReadOnly,     // a write to a store on a read-only file, folder or medium; nothing was done
  Newer,        // made by a newer layout: a read gives what it understands, a write is refused
  NewerUnread,  // made by a newer layout this one cannot read: a read gives the defaults
  Failed,       // anything else (no folder, a failing disk): nothing was done
};

struct StoreResult {
  StoreStatus status = StoreStatus::Ok;
  // One line naming the file: why the call failed, or what was done to the file (a damaged
  // one set aside); empty when there is nothing to tell.
  std::string reason;
};

// The outcome of the last call that read or wrote.
StoreResult StoreLastResult();

// How long a call may wait for another program's lock, in milliseconds.
inline constexpr int DefaultStorePatienceMs = 5000;
void StoreSetPatience(int ms);

struct StoredValue {
  std::string Section;
  std::string Key;
  std::string Text;
};

// $XDG_CONFIG_HOME/veldrane/settings.db, else $HOME/.config/veldrane/settings.db; empty text
// when neither gives an absolute folder.
std::string DefaultStorePath();

// Uses the store at path (closing any open one) until StoreClose(). ReadOnly treats it as if it
// were on a read-only medium. False when a writable store could not be opened there; later
// calls try again.
enum class StoreAccess : uint8_t { ReadWrite, ReadOnly };
bool StoreOpen(const std::string& path, StoreAccess access = StoreAccess::ReadWrite);

// Frees the connection and forgets the path; the next call opens the default store again.
void StoreClose();

// For a program that only looks, such as the report tool: reads open the store as it is, for
// reading alone, and never make, repair or move it; one that cannot be read reads as defaults,
// with the reason in StoreLastResult(). Writes open it as usual.
void StoreLookOnly(bool lookOnly);

// The file in use, or the one that will be tried next; empty when there is none.
std::string StorePath();

std::string StoreGet(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultText);

// The texts of wanted, in its order, all read by one query, so a save by another program is
// seen whole or not at all; each wanted Text is the default for its key, and every default when
// the store cannot be read.
std::vector<std::string> StoreGetMany(const std::string& application,
                                      const std::vector<StoredValue>& wanted);

// All of values or none of them, in one transaction; a key saved under another case replaces
// the earlier value.
bool StoreSave(const std::string& application, const std::vector<StoredValue>& values);

// A missing store has nothing to delete: it stays missing.
bool StoreDeleteApplication(const std::string& application);

// Reads and writes inside one write transaction of StoreUpdate.
class StoreTransaction {
 public:
  StoreTransaction(const StoreTransaction&) = delete;
  StoreTransaction& operator=(const StoreTransaction&) = delete;

  std::string Get(const std::string& section, const std::string& key,
                  const std::string& defaultText);
  void Set(const std::string& section, const std::string& key, const std::string& text);

 private:
  friend bool StoreUpdate(const std::string&, const std::function<void(StoreTransaction&)>&);
  explicit StoreTransaction(const std::string& application) : application_(application) {}
  const std::string& application_;
  int error_ = 0;  // the first failure, which makes the whole transaction roll back
};

// Runs change inside one write transaction that holds off every other writer, so counters that
// several programs add to lose nothing. When another program keeps the file busy the whole
// transaction is tried again, so change may run more than once: it must read and write only
// through the handle. False when nothing was saved. An exception from change rolls back and
// goes on to the caller.
bool StoreUpdate(const std::string& application,
                 const std::function<void(StoreTransaction&)>& change);
