#include "common/game_text.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>

namespace {

Language Chosen = Language::English;

}  // namespace

void UseGameLanguage(Language language, const std::string& catalogFolder) {
  // gettext heeds LANGUAGE only outside the plain "C" locale; C.UTF-8 is always there, whatever
  // locales this machine has made. The C library's own texts (strerror's) are not ours to
  // translate: they stay as in the C locale, as the store's reasons do.
  std::setlocale(LC_MESSAGES, "C.UTF-8");
  setenv("LANGUAGE", LanguageCode(language), 1);
  bindtextdomain("libc", "/nonexistent");
  bindtextdomain(TextDomain, catalogFolder.c_str());
  bind_textdomain_codeset(TextDomain, "UTF-8");
  textdomain(TextDomain);  // also forgets the texts looked up in the language before
  Chosen = language;
}

Language GameLanguage() { return Chosen; }

const char* Tr(const char* text) { return dgettext(TextDomain, text); }

std::string TrWith(const char* text, std::initializer_list<std::string> values) {
  std::string translated = Tr(text);
  size_t at = 0;
  for (const std::string& value : values) {
    at = translated.find("%s", at);
    if (at == std::string::npos) break;
    translated.replace(at, 2, value);
    at += value.size();
  }
  return translated;
}

std::string TrPlural(const char* singular, const char* plural, int64_t count) {
  std::string translated = dngettext(TextDomain, singular, plural,
                                     static_cast<unsigned long>(count < 0 ? -count : count));
  const size_t at = translated.find("%s");
  if (at != std::string::npos) translated.replace(at, 2, std::to_string(count));
  return translated;
}
