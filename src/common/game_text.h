// What the game says outside its bitmap-font screens, in the player's language. The texts are
// written in English; GNU gettext's catalog of the game gives them in Japanese.
#pragma once

#include <initializer_list>
#include <string>

#include "common/language.h"

inline constexpr const char* TextDomain = "veldrane";

// Speaks language from now on, from the catalogs under folder
// (folder/ja/LC_MESSAGES/veldrane.mo); a missing catalog leaves the English texts.
void UseGameLanguage(Language language, const std::string& catalogFolder);
Language GameLanguage();

// text in the chosen language; text itself where the catalog has none.
const char* Tr(const char* text);
// Tr(text) with each "%s" in turn replaced by the next of values (a translation keeps their
// order).
std::string TrWith(const char* text, std::initializer_list<std::string> values);
