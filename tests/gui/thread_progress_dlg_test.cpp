// The progress window fed from a worker job record by the poller, as a view does it.
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "base/worker_job.h"
#include "ui/thread_progress_dlg.h"
#include "ui/worker_job_poller.h"

class ThreadProgressDlgTest : public QObject {
  Q_OBJECT
 private slots:
  void workerCountingToTheEndIsShownThenTheDialogClosesItself() {
    constexpr int kCount = 50;
    QVERIFY(QApplication::overrideCursor() == nullptr);
    CThreadProgressDlg dialog(CThreadProgressDlg::kKindSave, "Counting", 0, kCount, "Counting ...");
    int closedKind = 0;
    int closedCount = 0;
    connect(&dialog, &CThreadProgressDlg::closed, [&](int kind) {
      closedKind = kind;
      ++closedCount;
    });
    dialog.show();
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QVERIFY(!dialog.CloseButton()->isVisible());
    QVERIFY(dialog.IsAnimating());
    QCOMPARE(dialog.Text(), QString("Counting ..."));

    CWorkerJob job;
    job.SetTotal(kCount);
    std::atomic<bool> release{false};
    int lastShown = 0;
    bool monotonic = true;
    QElapsedTimer sinceFinish;
    CWorkerJobPoller poller(job, [&](CWorkerJob& j, int32_t state) {
      if (IsFinalJobState(state)) {
        dialog.Finish(QString("Counted %1 in %2 msec").arg(j.Done()).arg(j.ElapsedMs()));
        sinceFinish.start();
      } else if (j.TakeProgressChanged()) {
        monotonic = monotonic && j.Done() >= lastShown;
        lastShown = j.Done();
        dialog.SetProgress(lastShown, QString("Counting %1 of %2 ...").arg(lastShown).arg(kCount));
      }
    });
    poller.SetInterval(20);
    CWorker worker;
    QVERIFY(worker.Start(job, [&release](CWorkerJob& j) {
      for (int i = 0; i < j.Total(); ++i) {
        if (i == kCount / 2) {
          while (!release.load() && !j.StopRequested()) {  // the test looks at this point
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
        }
        j.AddDone();
        j.MarkProgressChanged();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }));
    poller.Start();

    QTRY_COMPARE(dialog.Bar()->value(), kCount / 2);
    QCOMPARE(dialog.Text(), QString("Counting 25 of 50 ..."));
    QVERIFY(!dialog.CloseButton()->isVisible());
    QVERIFY(!dialog.IsFinished());
    QTest::keyClick(&dialog, Qt::Key_Escape);  // ignored while the work runs
    QVERIFY(dialog.isVisible());

    release = true;
    QTRY_VERIFY(dialog.IsFinished());
    QVERIFY(!poller.IsActive());
    QVERIFY(monotonic);
    QVERIFY(dialog.Text().startsWith("Counted 50 in "));
    QVERIFY(dialog.CloseButton()->isVisible());
    QVERIFY(!dialog.IsAnimating());
    QVERIFY(dialog.isVisible());

    QTRY_COMPARE_WITH_TIMEOUT(closedCount, 1, 5000);
    QVERIFY(sinceFinish.elapsed() >= CThreadProgressDlg::kCloseDelayMs - 50);
    QCOMPARE(closedKind, CThreadProgressDlg::kKindSave);
    QVERIFY(!dialog.isVisible());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    worker.Join();
  }

  void closeButtonEndsAtOnceAndEveryPathRestoresTheCursor() {
    auto* dialog =
        new CThreadProgressDlg(CThreadProgressDlg::kKindClipboard, "Copying", 0, 10, "Copying ...");
    int closedKind = 0;
    connect(dialog, &CThreadProgressDlg::closed, [&](int kind) { closedKind = kind; });
    dialog->show();
    dialog->Finish("Copied");
    QTest::mouseClick(const_cast<QPushButton*>(dialog->CloseButton()), Qt::LeftButton);
    QCOMPARE(closedKind, CThreadProgressDlg::kKindClipboard);
    QVERIFY(!dialog->isVisible());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    delete dialog;

    // A dialog destroyed while still shown gives its cursor back as well.
    dialog = new CThreadProgressDlg(CThreadProgressDlg::kKindLoad, "Loading", 0, 10, "Loading ...");
    dialog->show();
    QVERIFY(QApplication::overrideCursor() != nullptr);
    delete dialog;
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }
};

QTEST_MAIN(ThreadProgressDlgTest)
#include "thread_progress_dlg_test.moc"
