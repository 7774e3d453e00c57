#include "app/gui/message_pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

void PumpMessagesFor(int milliseconds) {
  constexpr int kRoundMs = 2;
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, kRoundMs);
    const qint64 left = milliseconds - timer.elapsed();
    if (left <= 0)
      return;
    QThread::msleep(static_cast<unsigned long>(left < kRoundMs ? left : kRoundMs));
  }
}
