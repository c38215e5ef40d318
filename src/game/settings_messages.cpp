// What the player is told when the store does not take or give the settings plainly: what
// happened, to which file, and what the game does about it.
#include <cstdio>

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

const char* const KeptUntouched =
    "既定の設定で始めます。\n保存されている設定とハイスコアは書き換えず、\n"
    "次に保存するときに読み直して合わせます。";
const char* const NotSaved = "このファイルは変更しないため、\nこの回の設定とスコアは保存されません。";

}  // namespace

void TellDamagedValue(const StoredSetting& setting, const std::string& text) {
  std::fprintf(stderr, "veldrane: %s holds \"%s\" for %s, which is not a number; using %s\n",
               StorePath().c_str(), Shown(text).c_str(), setting.Key, setting.Default);
}

void TellStartUp(const StoreResult& read) {
  const std::string detail = "\n(" + read.reason + ")\n";
  switch (read.status) {
    case StoreStatus::Ok:
      if (!read.reason.empty())
        ShowMessageBox("設定ファイルが壊れていたため、別の名前で残しました。" + detail +
                       "既定の設定で始めます。");
      return;
    case StoreStatus::Busy:
      ShowMessageBox("設定ファイルを別のプログラムが使っているため、読み込めませんでした。" +
                     detail + KeptUntouched);
      return;
    case StoreStatus::Newer:
      ShowMessageBox("設定ファイルは新しい版の VELDRANE で保存されています。" + detail +
                     "読める設定とハイスコアは読み込みました。\n" + NotSaved);
      return;
    case StoreStatus::NewerUnread:
      ShowMessageBox("設定ファイルは新しい版の VELDRANE で保存されていて、読めませんでした。" +
                     detail + "既定の設定で始めます。\n" + NotSaved);
      return;
    case StoreStatus::ReadOnly:
    case StoreStatus::Failed:
      ShowMessageBox("設定ファイルを読み込めませんでした。" + detail + KeptUntouched);
      return;
  }
}

void TellSaveProblem(const StoreResult& result) {
  const std::string detail = "\n(" + result.reason + ")";
  switch (result.status) {
    case StoreStatus::ReadOnly:
      ShowMessageBox("設定ファイルに書き込めないため、\nこの回の設定とスコアは保存できません。" +
                     detail);
      return;
    case StoreStatus::Newer:
    case StoreStatus::NewerUnread:
      ShowMessageBox("設定ファイルは新しい版の VELDRANE で保存されています。\n" +
                     std::string(NotSaved) + detail);
      return;
    default:
      ShowMessageBox("設定を保存できませんでした。" + detail +
                     "\n終了するときにもう一度保存し、できなければ設定ファイルの横に残して、\n"
                     "次に起動したときに合わせます。");
      return;
  }
}

void TellExitProblem(const StoreResult& result, const std::string& keptIn,
                     const std::string& keepProblem) {
  if (result.status == StoreStatus::ReadOnly || result.status == StoreStatus::Newer ||
      result.status == StoreStatus::NewerUnread) {
    std::fprintf(stderr, "veldrane: %s; this run's settings and statistics were not saved\n",
                 result.reason.c_str());
  } else if (keepProblem.empty()) {
    std::fprintf(stderr,
                 "veldrane: the settings store could not take this run's settings and statistics "
                 "(%s); kept them in %s, to be merged at the next start\n",
                 result.reason.c_str(), keptIn.c_str());
  } else {
    std::fprintf(stderr,
                 "veldrane: the settings store could not take this run's settings and statistics "
                 "(%s), nor could they be kept beside it (%s); they are lost\n",
                 result.reason.c_str(), keepProblem.c_str());
  }
}
