// The language a player reads outside the game's bitmap-font screens: English or Japanese,
// taken from the stored choice, else from the locale.
#pragma once

#include <string>

enum class Language { English, Japanese };

// LC_ALL, else LC_MESSAGES, else LANG (the first that is set and not empty): "ja..." is
// Japanese, anything else English.
Language LanguageFromLocale();

// The stored choice ("en" or "ja"); anything else (empty, unknown) leaves it to the locale.
Language ChosenLanguage(const std::string& stored);

// The code stored for a choice: "en" or "ja".
const char* LanguageCode(Language language);
