// The backup commands as a user reaches them in the command bar while the demo project
// acquires: "Backup OPC Data" asks for the file, its sample names the file that is
// written, and the progress bar of a quick backup ends full.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>

#include "acquisition/backup_coordinator.h"
#include "acquisition/gui/export_data_dlg.h"
#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "app/gui/qt_settings_store.h"
#include "demo_session.h"
#include "platform/sim/sim_runtime.h"
#include "ribbon_clicks.h"
#include "ui/thread_progress_dlg.h"

class BackupCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void backupFromTheCommandBarWritesTheSampledNameAndEndsWithAFullBar() {
    DemoSessionRig rig(m_dir.path() + "/Velmora.sq3");
    rig.availableGeometry = [] { return QRect(0, 0, 1280, 800); };
    QVERIFY(rig.Start());
    QVERIFY(rig.ImportDemoProject());
    CMainFrame& frame = rig.Frame();
    COPCDataView* view = frame.DataView();
    view->ResetView();          // the headings of the loaded project
    view->BaseTimer()->stop();  // the test ticks by hand
    frame.UpdateCommandStates();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.SwitchToView(VelmoraView::kOpcData));
    QVERIFY(ClickRibbon(frame.Ribbon(), "Data Acquisition", "Start Data Acquisition"));
    for (int tick = 0; tick < 4; ++tick) {
      QTest::qWait(5);
      view->OnBaseTick();
    }

    const QString folder = m_dir.path() + "/exports";
    QVERIFY(QDir().mkpath(folder));
    bool asked = false;
    QString sample;
    OnNextModal<CExportDataDlg>(
        [&](CExportDataDlg& dialog) {
          QCOMPARE(dialog.windowTitle(), QString("Export OPC Data (csv format)"));
          dialog.PathField()->setText(folder);
          QTest::keyClicks(dialog.NameField(), "trend");
          sample = dialog.NameSample()->text();
          dialog.accept();
        },
        &asked);
    QVERIFY(ClickRibbon(frame.Ribbon(), "Data Acquisition", "Backup OPC Data"));
    QVERIFY(asked);
    QCOMPARE(sample, QString("trend.csv"));
    CThreadProgressDlg* progress = view->SaveProgressDialog();
    QVERIFY(progress != nullptr);
    QCOMPARE(progress->Bar()->value(), 0);
    // The save ends before the next tick sees it run.
    view->Backups()->WaitForWorkers();
    view->OnBaseTick();
    QVERIFY(progress->IsFinished());
    QCOMPARE(progress->Bar()->value(), progress->Bar()->maximum());
    QVERIFY(progress->Text().startsWith("OPC Acquired Data Saved Successfully to File"));
    // The file is the one the sample named, and no other was written.
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{sample});

    rig.prompt.reportAnswers.push_back(1);  // confirm the stop
    QVERIFY(ClickRibbon(frame.Ribbon(), "Data Acquisition", "Stop Data Acquisition"));
    QCOMPARE(rig.prompt.reports.size(), size_t(1));
    QCOMPARE(rig.prompt.reports[0].title, std::string("Confirmation Request"));
    frame.close();  // the loaded project is unchanged: nothing to ask
    QCOMPARE(rig.prompt.reports.size(), size_t(1));
    QVERIFY(rig.prompt.messages.empty());
    rig.session->Detach();
    CSimRuntime::Instance().Reset();
  }

 private:
  QTemporaryDir m_dir;
};

QTEST_MAIN(BackupCommandsTest)
#include "backup_commands_test.moc"
