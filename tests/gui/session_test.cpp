// The application with its session on the simulation servers: the database is checked at
// start-up, a project acquires from the command bar into the database, and a server's
// shutdown request closes the project through the close-project sequence.
#include <QAction>
#include <QColor>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fstream>
#include <sstream>

#include "acquisition/gui/data_view_controls.h"
#include "acquisition/gui/opc_data_view.h"
#include "app/gui/main_frame.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/quit_signals.h"
#include "app/gui/velmora_app.h"
#include "app/gui/velmora_session.h"
#include "base/settings.h"
#include "db/project_import.h"
#include "demo_session.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "scripted_user_prompt.h"
#include "sqlite_scalar.h"

class SessionTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void aLoadedProjectAcquiresFromTheCommandBarAndAShutdownClosesIt() {
    DemoSessionRig rig(m_dir.path() + "/Velmora.sq3");
    settings::Write(rig.settings, settings::kStandardColor, 0x0000FF);  // chosen in an earlier run
    QVERIFY(rig.Start());
    CVelmoraSession& session = *rig.session;
    ScriptedUserPrompt& prompt = rig.prompt;
    CMainFrame& frame = rig.Frame();
    QVERIFY(!frame.Command(CommandId::StartAcquisition)->isEnabled());  // no server yet
    // The acquisition view's commands reach the frame through the view.
    QVERIFY(frame.Command(CommandId::OpcDataDisplay)->isEnabled());
    QVERIFY(frame.Command(CommandId::ShowShortId)->isEnabled());
    QCOMPARE(frame.Command(CommandId::StandardColor)->data().value<QColor>(), QColor(255, 0, 0));
    QCOMPARE(frame.CommandTarget(CommandId::StartAcquisition), frame.DataView());

    QVERIFY(rig.ImportDemoProject());
    frame.UpdateCommandStates();
    QVERIFY(frame.Command(CommandId::StartAcquisition)->isEnabled());

    frame.Command(CommandId::StartAcquisition)->trigger();
    QVERIFY(session.Engine().IsRunning());
    QVERIFY(frame.Command(CommandId::StopAcquisition)->isEnabled());
    COPCDataView* view = frame.DataView();
    QVERIFY(view != nullptr);
    for (int tick = 0; tick < 3; ++tick) {
      QTest::qWait(5);  // distinct millisecond time stamps
      view->OnBaseTick();
    }
    QCOMPARE(session.Engine().DataSetCount(), 3);

    // A shutdown request arrives on the GUI thread and runs the close-project sequence:
    // the acquisition stops without asking; the offer to save the changed project is
    // answered No.
    session.SetProjectModified(true);
    prompt.reportAnswers.push_back(2);
    QVERIFY(CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Maintenance") >= 1);
    QTRY_VERIFY(!session.Server().m_bConnected);
    QVERIFY(!session.Engine().IsRunning());
    QCOMPARE(session.Server().GroupCount(), 0);
    QVERIFY(prompt.HasReportTitled("Confirmation Request"));
    QVERIFY(prompt.reports.back().body.find("Shutdown Request Triggered by OPC Server") !=
            std::string::npos);
    QVERIFY(!frame.Command(CommandId::StopAcquisition)->isEnabled());
    // Ended by the server, the acquisition still has its end and count recorded.
    QCOMPARE(SqliteScalar(rig.options.databasePath, "SELECT OPCAcq_DataCount FROM OPCAcq"),
             std::string("3"));
    session.Detach();
  }

  void aLostServerShowsReconnectingAndAQuitSignalRecordsTheEnd() {
    DemoSessionRig rig(m_dir.path() + "/Signal.sq3");
    QVERIFY(rig.Start());
    QVERIFY(rig.ImportDemoProject());
    CMainFrame& frame = rig.Frame();
    CVelmoraSession& session = *rig.session;
    COPCDataView* view = frame.DataView();
    frame.UpdateCommandStates();
    QAction* reconnect = frame.Command(CommandId::ReconnectOnServerLoss);
    QVERIFY(reconnect->isEnabled() && !reconnect->isChecked());
    reconnect->trigger();
    QVERIFY(reconnect->isChecked());
    QCOMPARE(settings::Read(rig.settings, settings::kReconnectOnServerLoss), 1);

    frame.Command(CommandId::StartAcquisition)->trigger();
    QTest::qWait(5);
    view->OnBaseTick();
    CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
    QTest::qWait(5);
    view->OnBaseTick();
    QVERIFY(session.Engine().IsRunning());
    QCOMPARE(view->ServerBox()->ConnectionStatus()->text(), QString("Reconnecting ..."));
    QVERIFY(rig.prompt.reports.empty());  // no read error report: the acquisition goes on

    bool quit = false;
    CQuitSignals quitSignals([&](int signal) {
      session.EndForSignal(signal);
      quit = true;
    });
    std::raise(SIGTERM);
    QTRY_VERIFY(quit);
    QVERIFY(!session.Engine().IsRunning());
    QCOMPARE(SqliteScalar(rig.options.databasePath,
                          "SELECT OPCAcq_DataCount || ' ' || (OPCAcq_EndTime <> 'Undefined') "
                          "FROM OPCAcq"),
             std::string("1 1"));
    CSimRuntime::Instance().Reset();
    session.Detach();
  }

  void aRefusedSimulationConfigurationIsShownInTheOutputPane() {
    const QString config = m_dir.path() + "/bad-sim.ini";
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[server Velmora.SimServer.1]\nunknown_fault = 7\n");
    file.close();
    qputenv("VELMORA_SIM_CONFIG", config.toUtf8());
    DemoSessionRig rig(m_dir.path() + "/Early.sq3");
    const bool started = rig.Start();  // the session logs the refusal before the pane exists
    qunsetenv("VELMORA_SIM_CONFIG");
    QVERIFY(started);
    COutputList* list = rig.Frame().OutputWnd()->List(kLogOpcServer);
    bool shown = false;
    for (int row = 0; row < list->count(); ++row)
      shown = shown || list->item(row)->text().contains("unknown key");
    QVERIFY(shown);
    CSimRuntime::Instance().Reset();
  }

 private:
  QTemporaryDir m_dir;
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
