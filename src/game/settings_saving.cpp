// Saving the options and the ranking without ever stopping the game: a busy store is tried
// again from the frames while the game goes on, and what the store has not taken by the exit is
// kept beside it for the next start.
#include "common/host.h"
#include "game/settings.h"
#include "game/settings_parts.h"

namespace {

// A save in play may hold the frame this long; after that the frames try again.
constexpr int InPlayPatienceMs = 50;
constexpr uint32_t RetryIntervalMs = 500;
// The exit may wait this long for a busy store.
constexpr int ExitPatienceMs = 3000;

bool Refusal(StoreStatus status) {
  return status == StoreStatus::ReadOnly || status == StoreStatus::Newer ||
         status == StoreStatus::NewerUnread;
}

// One try at the unsaved changes; a busy store leaves them waiting for the frames.
void TrySaving(int patienceMs, bool tell) {
  StoreSetPatience(patienceMs);
  Settings.saveWaits = false;
  if (ApplyChanges(Settings.unsaved)) {
    Settings.unsaved.clear();
    Settings.newEntries.clear();
    AdoptUnknownValues();
    return;
  }
  const StoreResult result = StoreLastResult();
  if (result.status == StoreStatus::Busy) {
    Settings.saveWaits = true;
    Settings.nextTryMs = NowMs() + RetryIntervalMs;
    return;
  }
  if (Refusal(result.status)) Settings.unsaved.clear();  // this store takes none
  if (tell && !(Refusal(result.status) && Settings.refusalTold)) TellSaveProblem(result);
  Settings.refusalTold = Settings.refusalTold || Refusal(result.status);
}

}  // namespace

void SaveSettings() {
  Settings.unsaved = SettingsChanges();  // made from memory, so it holds every earlier change
  TrySaving(InPlayPatienceMs, true);
}

void SaveSettingsSoon() {
  Settings.unsaved = SettingsChanges();
  TrySaving(0, false);
}

void RetryWaitingSave() {
  if (!Settings.saveWaits || int32_t(NowMs() - Settings.nextTryMs) < 0) return;
  TrySaving(0, false);
}

std::string WaitingSaveLine() {
  return Settings.saveWaits ? "SETTINGS STORE IS BUSY: SAVING WHEN IT IS FREE" : "";
}

void FinishSaving(const std::vector<StoreChange>& more) {
  std::vector<StoreChange> changes = Settings.unsaved;
  changes.insert(changes.end(), more.begin(), more.end());
  StoreSetPatience(ExitPatienceMs);
  Settings.saveWaits = false;
  if (ApplyChanges(changes)) {
    Settings.unsaved.clear();
    return;
  }
  const StoreResult result = StoreLastResult();
  std::string problem;
  if (!Refusal(result.status)) KeepChanges(changes, problem);
  TellExitProblem(result, KeptChangesPath(), problem);
  Settings.unsaved.clear();
}
