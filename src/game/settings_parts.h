// Shared by the settings module's files: the changes a save makes, the values a failed read
// left unknown, and what the player is told.
#pragma once

#include <string>
#include <vector>

#include "persist/settings_store.h"
#include "persist/store_changes.h"
#include "persist/stored_values.h"

// Every value this run knows, as Set changes, and the scores entered while the ranking was
// unknown, as Rank changes.
std::vector<StoreChange> SettingsChanges();
// Reads the values still unknown and takes them into the game; false when the store is still
// unreadable.
bool AdoptUnknownValues();

// One line on standard error for a stored value that is damage.
void TellDamagedValue(const StoredSetting& setting, const std::string& text);
// The same for a stored key's name that is no key the game can bind, and for a key stored for
// two actions.
void TellDamagedKey(const StoredSetting& setting, const std::string& text);
void TellDoubledKey(const StoredSetting& setting, const std::string& text);
// A message box when the start-up read did not go plainly.
void TellStartUp(const StoreResult& read);
// A message box when a save in play did not go through, for any reason but a busy store.
void TellSaveProblem(const StoreResult& result);
// A line on standard error when the save at exit did not go through.
void TellExitProblem(const StoreResult& result, const std::string& keptIn,
                     const std::string& keepProblem);
