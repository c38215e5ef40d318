// The texts the report tool shows. They are written in Japanese, the tool's own language;
// English comes from the tool's Qt translation, and Qt's own buttons from Qt's.
#pragma once

#include <QCoreApplication>

#include "common/language.h"

struct PosterTexts {
  Q_DECLARE_TR_FUNCTIONS(PosterTexts)
};

// The stored choice of the player, else the locale's.
Language PosterLanguage();

// Puts the texts into language from now on, in place of any earlier choice: English takes the
// tool's catalog, Japanese Qt's own for its standard buttons; the settings store's reasons follow
// through the game's catalog. False when a catalog it needs is missing; the texts then stay as
// written.
bool UsePosterLanguage(Language language);
// The texts as written, and Qt's in English: no catalog at all.
void UsePosterTextsAsWritten();
