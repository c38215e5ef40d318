#include "common/language.h"

#include <cstdlib>

Language LanguageFromLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !value[0]) continue;
    return std::string(value).rfind("ja", 0) == 0 ? Language::Japanese : Language::English;
  }
  return Language::English;
}

Language ChosenLanguage(const std::string& stored) {
  if (stored == "ja") return Language::Japanese;
  if (stored == "en") return Language::English;
  return LanguageFromLocale();
}

const char* LanguageCode(Language language) {
  return language == Language::Japanese ? "ja" : "en";
}
