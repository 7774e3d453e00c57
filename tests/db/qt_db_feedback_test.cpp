// The desktop wait cursor and error beep around database work.
#include <QApplication>
#include <QCursor>
#include <QTest>
#include <QThread>

#include "app/gui/velmora_session.h"
#include "db/gui/qt_db_feedback.h"
#include "db/sqlite_db.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

bool WaitCursorShown() {
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
}

// Notes, for every log line, whether the wait cursor was shown while it was written.
class CursorLogSink : public RecordingLogSink {
 public:
  void Log(int channel, const std::string& line) override {
    RecordingLogSink::Log(channel, line);
    waitShown.push_back(WaitCursorShown());
  }
  std::vector<bool> waitShown;
};

struct CursorContext {
  FakeClock clock;
  CursorLogSink sink;
  CLog log{clock, &sink};
  ScriptedUserPrompt prompt;
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
};

}  // namespace

class QtDbFeedbackTest : public QObject {
  Q_OBJECT

 private slots:
  void nestedWaitsShowOneWaitCursorUntilTheOutermostEnds() {
    CQtDbFeedback feedback;
    QVERIFY(QApplication::overrideCursor() == nullptr);
    feedback.BeginWait();
    QVERIFY(WaitCursorShown());
    feedback.BeginWait();
    QCOMPARE(feedback.WaitDepth(), 2);
    feedback.EndWait();
    QVERIFY(WaitCursorShown());
    feedback.EndWait();
    QCOMPARE(feedback.WaitDepth(), 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    // An end without its begin leaves a cursor set by someone else alone.
    QApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    feedback.EndWait();
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void aFeedbackGoneDuringAWaitRestoresTheCursor() {
    {
      CQtDbFeedback feedback;
      feedback.BeginWait();
      feedback.BeginWait();
    }
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void aDatabaseOperationRunsUnderTheWaitCursor() {
    CursorContext ctx;
    CQtDbFeedback feedback;
    CSQLite db(ctx.context);
    db.SetFeedback(&feedback);
    db.SetPath(m_dir.File("Velmora.sq3"));
    QCOMPARE(db.ExecSQL("CREATE TABLE t(x INTEGER)", SqlRun{true, true, true}), DbStatus::kOk);
    QCOMPARE(ctx.sink.waitShown, (std::vector<bool>{true, true}));  // start and end lines
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(feedback.WaitDepth(), 0);
    QCOMPARE(feedback.BeepCount(), 0);
  }

  void aFailedOperationBeepsAndLeavesNoWaitCursor() {
    CursorContext ctx;
    CQtDbFeedback feedback;
    CSQLite db(ctx.context);
    db.SetFeedback(&feedback);
    db.SetPath(m_dir.File("Velmora.sq3"));
    QCOMPARE(db.ExecSQL("SELECT FROM nowhere", SqlRun{true, true, true}), DbStatus::kFailed);
    QCOMPARE(feedback.BeepCount(), 1);
    QVERIFY(ctx.sink.Contains("SQL Query Failed: "));
    QVERIFY(!ctx.sink.waitShown.empty());
    QVERIFY(ctx.sink.waitShown.back());  // the error line is written while waiting
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(feedback.WaitDepth(), 0);
  }

  void theSessionsDatabaseWorkRunsUnderTheWaitCursor() {
    CursorContext ctx;
    {
      CVelmoraSession session(ctx.context);
      CSQLite& db = session.Database();
      db.SetPath(m_dir.File("Session.sq3"));
      QCOMPARE(db.ExecSQL("CREATE TABLE s(x INTEGER)", SqlRun{true, true, true}), DbStatus::kOk);
      QCOMPARE(db.ExecSQL("SELECT FROM nowhere", SqlRun{true, true, true}), DbStatus::kFailed);
      QVERIFY(QApplication::overrideCursor() == nullptr);
    }
    QVERIFY(ctx.sink.Contains("SQL Query Failed: "));
    QCOMPARE(ctx.sink.waitShown, std::vector<bool>(ctx.sink.waitShown.size(), true));
    QCOMPARE(ctx.sink.waitShown.size(), size_t(4));  // two start lines, an end, an error
  }

  void workOffTheGuiThreadShowsNothing() {
    CQtDbFeedback feedback;
    QThread* worker = QThread::create([&feedback] {
      feedback.BeginWait();
      feedback.ErrorBeep();
    });
    worker->start();
    QVERIFY(worker->wait(5000));
    delete worker;
    QCOMPARE(feedback.WaitDepth(), 0);
    QCOMPARE(feedback.BeepCount(), 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

 private:
  TempDir m_dir;
};

QTEST_MAIN(QtDbFeedbackTest)
#include "qt_db_feedback_test.moc"
