#include "poster/poster_texts.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

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

}  // namespace

Language PosterLanguage() { return ChosenLanguage(ReadSetting(LanguageSetting)); }

void UsePosterTextsAsWritten() {
  for (const auto& translator : Installed) QCoreApplication::removeTranslator(translator.get());
  Installed.clear();
}

bool UsePosterLanguage(Language language) {
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
