// Changes to the game's stored values, as its saves make them: applied in one write
// transaction, or, when the store refuses them (busy, failing), kept in a file beside it until a
// later apply merges them. A change says how to merge, so a run that could not read the store
// never writes over what it did not read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class ChangeKind : uint8_t {
  Set,   // the text replaces the stored value
  Add,   // the text, a whole number, is added to the stored number (absent or not one: 0)
  Fill,  // the text is stored only where no text, or an empty one, is
  Rank,  // a new entry of the score ranking: key is its name, text its points
};

struct StoreChange {
  ChangeKind kind = ChangeKind::Set;
  std::string section;
  std::string key;
  std::string text;
  bool operator==(const StoreChange&) const = default;
};

// An entry for the ranking, placed where its points take it in the stored one (the built-in
// ranking when place 0 is unset), as the name entry places it.
StoreChange RankChange(int32_t points, const std::string& name);

// Applies the changes kept beside the store, then changes, to the game's values in one write
// transaction; the kept file goes once they are in. The outcome is StoreLastResult(); with
// nothing to apply the store is not touched, and the result is true.
bool ApplyChanges(const std::vector<StoreChange>& changes);

// Adds changes to the file beside the store, for the next ApplyChanges; false, with the reason
// in problem, when even that could not be written.
bool KeepChanges(const std::vector<StoreChange>& changes, std::string& problem);

// The store's path and ".pending".
std::string KeptChangesPath();
