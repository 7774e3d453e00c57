#include "db/gui/qt_db_feedback.h"

#include <QApplication>
#include <QCursor>
#include <QThread>

namespace {

// The cursor belongs to the GUI thread; work on any other thread shows nothing.
bool OnGuiThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace

CQtDbFeedback::~CQtDbFeedback() {
  // Gone in the middle of a wait: the cursor must not stay busy.
  if (m_nWaitDepth > 0)
    QApplication::restoreOverrideCursor();
}

void CQtDbFeedback::BeginWait() {
  if (!OnGuiThread())
    return;
  if (m_nWaitDepth++ == 0)
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CQtDbFeedback::EndWait() {
  if (!OnGuiThread() || m_nWaitDepth == 0)
    return;
  if (--m_nWaitDepth == 0)
    QApplication::restoreOverrideCursor();
}

void CQtDbFeedback::ErrorBeep() {
  if (!OnGuiThread())
    return;
  ++m_nBeeps;
  QApplication::beep();
}
