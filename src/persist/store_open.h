// Opening the store's file: made, checked and its damage set aside for writing; or looked at as
// it is, for reading alone. Not for use outside src/persist/.
#pragma once

#include <sqlite3.h>

#include <string>

// True when the file at path exists and it, its folder or its medium cannot be written.
bool OnReadOnlyPlace(const std::string& path);

// A connection that may write, after the file's checks; damage is set aside first. Without
// `create` a missing file is left missing. nullptr when there is none, with Store.Last saying
// why (Ok for a missing file).
sqlite3* OpenWritable(const std::string& path, bool create);

// A connection that only reads the file as it is: nothing is made, moved or written, and no
// file is left beside it. nullptr with Store.Last Ok when it holds nothing yet; otherwise
// Store.Last says why. A newer layout that can be read gives a connection with Store.Last Newer.
sqlite3* LookAt(const std::string& path);
