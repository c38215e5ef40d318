// Per-user settings kept in one SQLite file, addressed by application, section and key; every
// value is a text. Names match without regard to ASCII letter case.
//
// The store opens itself on first use at DefaultStorePath(). A damaged file is moved aside and
// replaced by a fresh one; a store that cannot be opened at all makes reads give their defaults
// and writes report failure. Problems are told by one line on standard error; nothing throws.
// Not for use from several threads at once. A child process made by fork() drops the
// connection it inherits and opens one of its own.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct StoredValue {
  std::string Section;
  std::string Key;
  std::string Text;
};

// $XDG_CONFIG_HOME/veldrane/settings.db, else $HOME/.config/veldrane/settings.db; empty text
// when neither gives an absolute folder.
std::string DefaultStorePath();

// Opens the store at path (closing any open one) and uses it until StoreClose(); false when it
// cannot be opened, in which case later calls try again.
bool StoreOpen(const std::string& path);

// Frees the connection and forgets the path; the next call opens the default store again.
void StoreClose();

// For a program that only looks, such as the report tool: reads then open the store as it is,
// for reading alone, and never make, repair or move it. A missing store reads as defaults, and
// so does one that cannot be read, with the reason in StoreProblem(). Writes open it as usual.
void StoreLookOnly(bool lookOnly);
// Why the store could not be looked at the last time a read tried; empty when nothing was wrong.
std::string StoreProblem();

// The file in use, or the one that will be tried next; empty when there is none.
std::string StorePath();

std::string StoreGet(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultText);

// The texts of wanted, in its order, all read at one moment, so a save by another program is
// seen whole or not at all; each wanted Text is the default for its key.
std::vector<std::string> StoreGetMany(const std::string& application,
                                      const std::vector<StoredValue>& wanted);

// All of values or none of them, in one transaction; a key saved under another case replaces
// the earlier value.
bool StoreSave(const std::string& application, const std::vector<StoredValue>& values);

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
