// Writing the store: values saved whole, read-modify-write updates, and deleting an
// application, each in one transaction.
#include <exception>

#include "persist/store_connection.h"

namespace {

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

// Runs body in one write transaction on the writable connection and records the outcome. A
// damaged file is closed, so that the next use checks it again and moves it aside.
bool Written(const std::function<int(sqlite3*)>& body) {
  sqlite3* db = WriteConnection();
  if (!db) return false;
  const int rc = InWriteTransaction(db, [&] { return body(db); });
  if (rc == SQLITE_OK) return Finish(StoreStatus::Ok, Store.Last.reason);
  Finish(StatusOf(rc), Store.Path + ": " + ReasonOf(db, rc));
  if (IsDamage(rc)) CloseConnection();
  return false;
}

// Only running out of memory throws here; a transaction it cut short must not stay open.
bool Thrown(const std::exception& exception) {
  if (Store.Db && !sqlite3_get_autocommit(Store.Db)) Exec(Store.Db, "ROLLBACK");
  return Finish(StoreStatus::Failed, exception.what());
}

}  // namespace

bool StoreSave(const std::string& application, const std::vector<StoredValue>& values) {
  BeginCall();
  try {
    return Written([&](sqlite3* db) {
      for (const StoredValue& value : values) {
        const int rc = WriteValue(db, application, value.Section, value.Key, value.Text);
        if (rc != SQLITE_OK) return rc;
      }
      return SQLITE_OK;
    });
  } catch (const std::exception& exception) {
    return Thrown(exception);
  }
}

bool StoreDeleteApplication(const std::string& application) {
  BeginCall();
  try {
    if (!Store.Db && !StoreFileExists(CurrentPath())) return Finish(StoreStatus::Ok);
    return Written([&](sqlite3* db) {
      Statement erase;
      int rc = erase.Prepare(db, "DELETE FROM settings WHERE application = ?1");
      if (rc != SQLITE_OK) return rc;
      erase.Bind(1, application);
      rc = erase.Step();
      return rc == SQLITE_DONE ? SQLITE_OK : rc;
    });
  } catch (const std::exception& exception) {
    return Thrown(exception);
  }
}

std::string StoreTransaction::Get(const std::string& section, const std::string& key,
                                  const std::string& defaultText) {
  if (error_ != SQLITE_OK || !Store.Db) return defaultText;
  std::string text;
  bool found = false;
  error_ = ReadValue(Store.Db, application_, section, key, text, found);
  return error_ == SQLITE_OK && found ? text : defaultText;
}

void StoreTransaction::Set(const std::string& section, const std::string& key,
                           const std::string& text) {
  if (error_ != SQLITE_OK || !Store.Db) return;
  error_ = WriteValue(Store.Db, application_, section, key, text);
}

bool StoreUpdate(const std::string& application,
                 const std::function<void(StoreTransaction&)>& change) {
  BeginCall();
  std::exception_ptr thrown;
  bool saved = false;
  try {
    saved = Written([&](sqlite3*) {
      StoreTransaction handle(application);
      try {
        change(handle);
      } catch (...) {
        thrown = std::current_exception();
        return SQLITE_ABORT;
      }
      return handle.error_;
    });
  } catch (const std::exception& exception) {
    return Thrown(exception);
  }
  if (thrown) std::rethrow_exception(thrown);
  return saved;
}
