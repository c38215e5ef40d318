// What the game says outside its bitmap-font screens, in the player's language. The texts are
// written in English; GNU gettext's catalog of the game gives them in Japanese.
#pragma once

#include <cstdint>
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
// The count's form of a text: singular for 1 where the language has one, with "%s" replaced by
// count.
std::string TrPlural(const char* singular, const char* plural, int64_t count);
// Marks a text for the catalog where it is kept; Tr translates it where it is shown.
constexpr const char* TrLater(const char* text) { return text; }

// Tr(text) with each "%s" in turn replaced by the next of values (a translation keeps their
// order).
std::string TrWith(const char* text, std::initializer_list<std::string> values);
