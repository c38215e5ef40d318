// What the player is told when the store does not take or give the settings plainly: what
// happened, to which file, and what the game does about it.
#include <cstdio>

#include "common/game_text.h"
#include "game/settings.h"
#include "game/settings_parts.h"
#include "platform/imgui_layer.h"

namespace {

// A stored text shown in a message: one line, and not too long.
std::string Shown(const std::string& text) {
  constexpr size_t Longest = 40;
  std::string shown;
  for (char c : text.substr(0, Longest)) shown += (c >= 0 && c < ' ') ? '?' : c;
  return text.size() > Longest ? shown + "..." : shown;
}

// The store's own reason, on a line of its own.
std::string Detail(const StoreResult& result) { return "\n(" + result.reason + ")\n"; }

std::string KeptUntouched() {
  return Tr("Starting with the default settings.\nThe stored settings and high scores are not "
            "written over;\nthe next save reads them again and merges.");
}

std::string NotSaved() {
  return Tr("This file is left unchanged, so\nthis run's settings and scores are not saved.");
}

}  // namespace

void TellDamagedValue(const StoredSetting& setting, const std::string& text) {
  std::fprintf(stderr, "%s\n",
               TrWith("veldrane: %s holds \"%s\" for %s, which is not a number; using %s",
                      {StorePath(), Shown(text), setting.Key, setting.Default})
                   .c_str());
}

void TellDamagedKey(const StoredSetting& setting, const std::string& text) {
  std::fprintf(
      stderr, "%s\n",
      TrWith("veldrane: %s holds \"%s\" for %s, which is no key the game can use; using %s",
             {StorePath(), Shown(text), setting.Key, setting.Default})
          .c_str());
}

void TellDoubledKey(const StoredSetting& setting, const std::string& text) {
  std::fprintf(stderr, "%s\n",
               TrWith("veldrane: %s holds \"%s\" for %s, a key another action has; using the "
                      "usual keys",
                      {StorePath(), Shown(text), setting.Key})
                   .c_str());
}

void TellStartUp(const StoreResult& read) {
  const std::string detail = Detail(read);
  switch (read.status) {
    case StoreStatus::Ok:
      if (!read.reason.empty())
        ShowMessageBox(Tr("The settings file was damaged, so it was kept under another name.") +
                       detail + Tr("Starting with the default settings."));
      return;
    case StoreStatus::Busy:
      ShowMessageBox(Tr("The settings file could not be read, as another program is using it.") +
                     detail + KeptUntouched());
      return;
    case StoreStatus::Newer:
      ShowMessageBox(Tr("The settings file was saved by a newer version of VELDRANE.") + detail +
                     Tr("The settings and high scores it could read were read.\n") + NotSaved());
      return;
    case StoreStatus::NewerUnread:
      ShowMessageBox(
          Tr("The settings file was saved by a newer version of VELDRANE and could not be read.") +
          detail + Tr("Starting with the default settings.") + "\n" + NotSaved());
      return;
    case StoreStatus::ReadOnly:
    case StoreStatus::Failed:
      ShowMessageBox(Tr("The settings file could not be read.") + detail + KeptUntouched());
      return;
  }
}

void TellSaveProblem(const StoreResult& result) {
  const std::string detail = "\n(" + result.reason + ")";
  switch (result.status) {
    case StoreStatus::ReadOnly:
      ShowMessageBox(Tr("The settings file cannot be written, so\nthis run's settings and scores "
                        "cannot be saved.") +
                     detail);
      return;
    case StoreStatus::Newer:
    case StoreStatus::NewerUnread:
      ShowMessageBox(Tr("The settings file was saved by a newer version of VELDRANE.") +
                     std::string("\n") + NotSaved() + detail);
      return;
    default:
      ShowMessageBox(Tr("The settings could not be saved.") + detail +
                     Tr("\nThey are saved again at exit; if that fails they are kept beside the "
                        "settings file,\nand merged at the next start."));
      return;
  }
}

void TellExitProblem(const StoreResult& result, const std::string& keptIn,
                     const std::string& keepProblem) {
  if (result.status == StoreStatus::ReadOnly || result.status == StoreStatus::Newer ||
      result.status == StoreStatus::NewerUnread) {
    std::fprintf(stderr, "%s\n",
                 TrWith("veldrane: %s; this run's settings and statistics were not saved",
                        {result.reason})
                     .c_str());
  } else if (keepProblem.empty()) {
    std::fprintf(stderr, "%s\n",
                 TrWith("veldrane: the settings store could not take this run's settings and "
                        "statistics (%s); kept them in %s, to be merged at the next start",
                        {result.reason, keptIn})
                     .c_str());
  } else {
    std::fprintf(stderr, "%s\n",
                 TrWith("veldrane: the settings store could not take this run's settings and "
                        "statistics (%s), nor could they be kept beside it (%s); they are lost",
                        {result.reason, keepProblem})
                     .c_str());
  }
}
