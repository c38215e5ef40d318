#include "poster/poster_texts.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

#include "common/game_text.h"
#include "persist/stored_values.h"

namespace {

std::vector<std::unique_ptr<QTranslator>> Installed;

// The tool's catalog lies beside the program in a build, and in the data folder when installed.
bool LoadOwnCatalog(QTranslator& translator) {
  const QString program = QCoreApplication::applicationDirPath();
  for (const QString& folder : {program, program + "/../share/veldrane/translations"})
    if (translator.load("envposter_en", folder)) return true;
  return false;
}

// The settings store words its reasons through the game's catalog, found the same way.
std::string GameCatalogFolder() {
  const QString program = QCoreApplication::applicationDirPath();
  for (const QString& folder : {program + "/locale", program + "/../share/veldrane/locale"})
    if (QFileInfo::exists(folder + "/ja/LC_MESSAGES/" + TextDomain + ".mo"))
      return folder.toStdString();
  return {};
}

}  // namespace

Language PosterLanguage() { return ChosenLanguage(ReadSetting(LanguageSetting)); }

void UsePosterTextsAsWritten() {
  for (const auto& translator : Installed) QCoreApplication::removeTranslator(translator.get());
  Installed.clear();
}

bool UsePosterLanguage(Language language) {
  UseGameLanguage(language, GameCatalogFolder());
  UsePosterTextsAsWritten();
  auto translator = std::make_unique<QTranslator>();
  const bool loaded =
      language == Language::English
          ? LoadOwnCatalog(*translator)
          : translator->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (!loaded) return false;
  QCoreApplication::installTranslator(translator.get());
  Installed.push_back(std::move(translator));
  return true;
}
