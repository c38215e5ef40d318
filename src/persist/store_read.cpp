// Reading the store: every value an application wants, by one query.
#include <exception>
#include <unordered_map>

#include "persist/store_connection.h"

namespace {

// How NOCASE compares: ASCII letters folded, every other byte as it is.
std::string Folded(const std::string& text) {
  std::string folded = text;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return folded;
}

std::string NameOf(const std::string& section, const std::string& key) {
  return Folded(section) + '\0' + Folded(key);
}

using Values = std::unordered_map<std::string, std::string>;

// Every value of application, by folded section and key.
int ReadApplication(sqlite3* db, const std::string& application, Values& values) {
  Statement query;
  int rc = query.Prepare(db, "SELECT section, key, value FROM settings WHERE application = ?1");
  if (rc != SQLITE_OK) return rc;
  query.Bind(1, application);
  while ((rc = query.Step()) == SQLITE_ROW)
    values[NameOf(query.Text(0), query.Text(1))] = query.Text(2);
  return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int ReadWhileBusy(sqlite3* db, const std::string& application, Values& values) {
  int rc = SQLITE_OK;
  do {
    values.clear();
    rc = ReadApplication(db, application, values);
  } while (IsBusy(rc) && PauseForRetry());
  return rc;
}

}  // namespace

std::string StoreGet(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& defaultText) {
  return StoreGetMany(application, {{section, key, defaultText}}).front();
}

std::vector<std::string> StoreGetMany(const std::string& application,
                                      const std::vector<StoredValue>& wanted) {
  std::vector<std::string> texts;
  for (const StoredValue& value : wanted) texts.push_back(value.Text);
  BeginCall();
  try {
    bool temporary = false;
    sqlite3* db = ReadConnection(temporary);
    if (!db) return texts;  // defaults: nothing stored, or the reason is recorded
    const StoreStatus opened = Store.Last.status;  // Ok, or Newer for a newer layout it reads
    Values values;
    const int rc = ReadWhileBusy(db, application, values);
    const std::string reason = rc == SQLITE_OK ? "" : StorePath() + ": " + ReasonOf(db, rc);
    if (temporary) sqlite3_close_v2(db);
    if (rc != SQLITE_OK) {
      Finish(StatusOf(rc), reason);
      if (IsDamage(rc) && !temporary) CloseConnection();  // checked, and set aside, next time
      return texts;
    }
    for (size_t i = 0; i < wanted.size(); ++i) {
      const auto found = values.find(NameOf(wanted[i].Section, wanted[i].Key));
      if (found != values.end()) texts[i] = found->second;
    }
    Finish(opened, Store.Last.reason);
    return texts;
  } catch (const std::exception& exception) {  // only running out of memory throws here
    Finish(StoreStatus::Failed, exception.what());
    texts.resize(wanted.size());
    return texts;
  }
}
