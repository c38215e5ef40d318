// envposter: reports how VELDRANE runs on this machine, from what the game stored.
#include <QApplication>

#include "persist/settings_store.h"
#include "poster/poster_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  StoreLookOnly(true);  // the game's data is read as it is; only the clear button changes it
  ShowPosterWindow();
  const int code = application.exec();
  ClosePosterWindow();
  StoreClose();
  return code;
}
