// The main window on a small screen: with the demo project acquiring, every view fits
// 1024 x 700 and the acquisition tables still show rows; the window's layout and the
// visible view come back at the next start.
#include <QHeaderView>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/velmora_view.h"
#include "demo_session.h"
#include "platform/sim/sim_runtime.h"

namespace {

// Rows a table shows without scrolling.
int VisibleRows(const QTableView* table) {
  const int rowHeight = table->verticalHeader()->defaultSectionSize();
  return rowHeight > 0 ? table->viewport()->height() / rowHeight : 0;
}

}  // namespace

class WindowLayoutTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void everyViewFitsASmallScreenWithTheDemoProjectAcquiring() {
    DemoSessionRig rig(m_dir.path() + "/Velmora.sq3");
    QVERIFY(rig.Start());
    QVERIFY(rig.ImportDemoProject());
    CMainFrame& frame = rig.Frame();
    ScriptedUserPrompt& prompt = rig.prompt;
    COPCDataView* view = frame.DataView();
    view->ResetView();  // the headings of the loaded project
    frame.UpdateCommandStates();
    frame.Command(CommandId::StartAcquisition)->trigger();
    for (int tick = 0; tick < 4; ++tick) {
      QTest::qWait(5);
      view->OnBaseTick();
    }

    frame.showNormal();
    frame.resize(1024, 700);
    {
      QVERIFY(frame.SwitchToView(VelmoraView::OpcData));
      QApplication::processEvents();
      const QByteArray shot = qgetenv("VELMORA_SCREENSHOT");
      if (!shot.isEmpty())
        frame.grab().save(QString::fromLocal8Bit(shot));
    }
    for (int index = 0; index < kViewCount; ++index) {
      const VelmoraView which = static_cast<VelmoraView>(index);
      QVERIFY(frame.SwitchToView(which));
      QApplication::processEvents();
      const QSize minimum = frame.minimumSizeHint().expandedTo(frame.minimumSize());
      QVERIFY2(minimum.width() <= 1024 && minimum.height() <= 700,
               qPrintable(QString("view %1 needs %2 x %3")
                              .arg(frame.View(which)->Title())
                              .arg(minimum.width())
                              .arg(minimum.height())));
      QCOMPARE(frame.size(), QSize(1024, 700));
    }
    QVERIFY(frame.SwitchToView(VelmoraView::OpcData));
    QApplication::processEvents();
    QVERIFY2(VisibleRows(view->HistoryTable()) >= 5,
             qPrintable(QString::number(VisibleRows(view->HistoryTable()))));
    QVERIFY2(VisibleRows(view->RealTimeTable()) >= 3,
             qPrintable(QString::number(VisibleRows(view->RealTimeTable()))));
    const QByteArray shot = qgetenv("VELMORA_SCREENSHOT");
    if (!shot.isEmpty())
      frame.grab().save(QString::fromLocal8Bit(shot));
    prompt.reportAnswers.push_back(1);  // "Please Confirm Data Acquisition Stop"
    frame.Command(CommandId::StopAcquisition)->trigger();
    prompt.reportAnswers.push_back(2);  // do not save the project
    frame.close();
    rig.session->Detach();
    CSimRuntime::Instance().Reset();
  }

  void theWindowLayoutAndTheVisibleViewComeBackAtTheNextStart() {
    DemoSessionRig first(m_dir.path() + "/Layout.sq3");
    {
      QVERIFY(first.Start());
      CMainFrame& frame = first.Frame();
      frame.showNormal();
      frame.resize(1100, 720);
      QVERIFY(frame.SwitchToView(VelmoraView::OpcData));
      auto* splitter = frame.DataView()->findChild<QSplitter*>();
      QVERIFY(splitter != nullptr);
      splitter->setSizes({100, 300});
      QApplication::processEvents();
      m_sizes = splitter->sizes();
      frame.close();
    }
    DemoSessionRig second(m_dir.path() + "/Layout.sq3");
    QVERIFY(second.Start());
    CMainFrame& frame = second.Frame();
    QApplication::processEvents();
    QCOMPARE(frame.size(), QSize(1100, 720));
    QCOMPARE(frame.ActiveView(), frame.View(VelmoraView::OpcData));
    QCOMPARE(frame.DataView()->findChild<QSplitter*>()->sizes(), m_sizes);
  }

 private:
  QTemporaryDir m_dir;
  QList<int> m_sizes;
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
