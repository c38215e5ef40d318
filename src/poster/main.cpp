// envposter: reports how VELDRANE runs on this machine, from what the game stored.
#include <QApplication>
#include <cstdio>

#include "persist/settings_store.h"
#include "poster/poster_texts.h"
#include "poster/poster_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  StoreLookOnly(true);  // the game's data is read as it is; only the clear button changes it
  if (!UsePosterLanguage(PosterLanguage()))
    std::fprintf(stderr, "envposter: a catalog of the language is missing; texts stay Japanese\n");
  ShowPosterWindow();
  const int code = application.exec();
  ClosePosterWindow();
  StoreClose();
  return code;
}
