// The host calls the shared routines need, on Qt's clock and event loop.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "common/host.h"

uint32_t NowMs() {
  static QElapsedTimer clock = [] {
    QElapsedTimer started;
    started.start();
    return started;
  }();
  return uint32_t(clock.elapsed());
}

void SleepMs(uint32_t ms) { QThread::msleep(ms); }

void PumpEvents() { QCoreApplication::processEvents(); }
