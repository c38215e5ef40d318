#include "common/game_text.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>

namespace {

Language Chosen = Language::English;

}  // namespace

void UseGameLanguage(Language language, const std::string& catalogFolder) {
  // gettext heeds LANGUAGE only outside the plain "C" locale; C.UTF-8 is always there, whatever
  // locales this machine has made.
  std::setlocale(LC_MESSAGES, "C.UTF-8");
  setenv("LANGUAGE", LanguageCode(language), 1);
  bindtextdomain(TextDomain, catalogFolder.c_str());
  bind_textdomain_codeset(TextDomain, "UTF-8");
  textdomain(TextDomain);  // also forgets the texts looked up in the language before
  Chosen = language;
}

Language GameLanguage() { return Chosen; }

const char* Tr(const char* text) { return dgettext(TextDomain, text); }

std::string TrWith(const char* text, const std::string& value) {
  std::string translated = Tr(text);
  const size_t at = translated.find("%s");
  if (at != std::string::npos) translated.replace(at, 2, value);
  return translated;
}
