#include "pumpingwait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace vantlo {

void PumpingWait(int milliseconds, const tstoprequest& stop) {
  QElapsedTimer clock;
  clock.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (stop.IsSet()) return;
    if (clock.elapsed() < milliseconds) QThread::msleep(5);
  } while (clock.elapsed() < milliseconds);
}

void SleepThenPump(int milliseconds) {
  QThread::msleep(static_cast<unsigned long>(2000 + (milliseconds > 0 ? milliseconds : 0)));
  QCoreApplication::processEvents();
}

}  // namespace vantlo
