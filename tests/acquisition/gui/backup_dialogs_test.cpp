// The backup dialogs on their own, and the acquisition view's backup commands, the copy
// of the acquired data and their progress dialogs on the simulation server.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "acquisition/acquisition_engine.h"
#include "acquisition/acquisition_services.h"
#include "acquisition/gui/backup_settings_dlg.h"
#include "acquisition/gui/export_data_dlg.h"
#include "acquisition/gui/opc_data_view.h"
#include "acquisition/gui/separator_buttons.h"
#include "base/settings.h"
#include "db/database_check.h"
#include "db/sqlite_db.h"
#include "opc/opc_server.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "sim_group.h"
#include "temp_dir.h"
#include "test_context.h"
#include "ui/thread_progress_dlg.h"

namespace {

// Runs action on the modal dialog that opens next (of type T); whatever the action finds,
// the dialog is closed afterwards (rejected if the action left it open), so a failing
// check never leaves a test waiting on a modal loop.
template <class T>
void OnNextModal(std::function<void(T&)> action) {
  QTimer::singleShot(0, [action] {
    QWidget* modal = QApplication::activeModalWidget();
    auto close = qScopeGuard([modal] {
      if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && dialog->isVisible())
        dialog->reject();
    });
    auto* dialog = qobject_cast<T*>(modal);
    QVERIFY(dialog != nullptr);
    action(*dialog);
  });
}

// The server, the database, the engine and the view, as the session puts them together.
struct Rig {
  Rig() {
    CSimRuntime::Instance().Reset();
    CSimRuntime::Instance().SetClock(&test.clock);
    server = std::make_unique<COPCServer>(test.context);
    connected = server->Connect(kSimServerProgId, kLocalHost, GUID_NULL);
    db = std::make_unique<CSQLite>(test.context);
    databaseReady = CheckVelmoraDatabase(*db, dir.File("Velmora.sq3"));
    AddSimGroup(*server, "Group01", 1000, {"Signals.Ramp.R8", "Signals.Counter.I4"}, true, 1);
    engine = std::make_unique<CAcquisitionEngine>(test.context, *server, *db,
                                                  MakeAcquisitionServices(*server, test.context));
    view = std::make_unique<COPCDataView>(*engine, test.context, [this] { return projectName; });
    view->BaseTimer()->stop();  // the tests tick by hand
  }
  ~Rig() {
    view.reset();
    engine.reset();
    server.reset();
    CSimRuntime::Instance().Reset();
  }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) {
      test.clock.AdvanceMs(1000);
      view->OnBaseTick();
    }
  }
  // Lets the workers end, then one tick reports them.
  void FinishJobs() {
    view->Backups()->WaitForWorkers();
    view->OnBaseTick();
  }

  TempDir dir;
  TestContext test;
  std::string projectName = "Plant";
  std::unique_ptr<COPCServer> server;
  std::unique_ptr<CSQLite> db;
  std::unique_ptr<CAcquisitionEngine> engine;
  std::unique_ptr<COPCDataView> view;
  bool connected = false;
  bool databaseReady = false;
};

int LineCount(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int lines = 0;
  for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
    ++lines;
  return lines;
}

}  // namespace

class BackupDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void theSettingsDialogShowsTheTablesAndTheLiveNameSample() {
    TestContext test;  // 7 December 2026 10:00:00
    BackupSettings initial;
    initial.path = "/srv/backups";
    initial.frequency = 7;  // not in the table
    initial.type = kFullBackup;
    CBackupSettingsDlg dialog(initial, test.clock, test.prompt);
    QCOMPARE(dialog.windowTitle(), QString("Set Backup OPC Data Saving  (csv Format)"));
    QCOMPARE(dialog.FrequencyChoice()->count(), 12);
    QCOMPARE(dialog.FrequencyChoice()->currentText(), QString("Every Hour"));
    QCOMPARE(dialog.TypeChoice()->currentText(), QString("Full Backup"));
    QCOMPARE(dialog.PathField()->text(), QString("/srv/backups"));
    QVERIFY(dialog.Separators()->Button(';')->isChecked());
    QCOMPARE(dialog.Separators()->Button('\t')->text(), QString("Tab Separator"));
    QCOMPARE(dialog.NameSample()->text(), QString("RootName_07_Dec_2026_10_00_00.csv"));
    QTest::keyClicks(dialog.RootField(), "Line1");
    QCOMPARE(dialog.NameSample()->text(), QString("Line1_07_Dec_2026_10_00_00.csv"));

    test.prompt.folderAnswers.push_back(std::string("/srv/other"));
    dialog.BrowseButton()->click();
    QCOMPARE(dialog.PathField()->text(), QString("/srv/other"));
    dialog.FrequencyChoice()->setCurrentIndex(2);
    dialog.TypeChoice()->setCurrentIndex(1);
    dialog.Separators()->Button(',')->setChecked(true);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Chosen().frequency, 10);
    QCOMPARE(dialog.Chosen().type, kIncrementalBackup);
    QCOMPARE(dialog.Chosen().path, std::string("/srv/other"));
    QCOMPARE(dialog.Chosen().nameRoot, std::string("Line1.csv"));
    QCOMPARE(dialog.Chosen().separator, ',');
  }

  void anEmptyRootIsRefusedAndTheDialogStaysOpen() {
    TestContext test;
    CBackupSettingsDlg dialog(BackupSettings{}, test.clock, test.prompt);
    dialog.show();
    test.prompt.messageAnswers.push_back(MessageAnswer::kOk);  // "FileName is Empty ..."
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QVERIFY(test.prompt.HasMessageContaining(
        "FileName is Empty !!! Please Enter a Valid File Name to Proceed ..."));
    QCOMPARE(test.prompt.messages.back().icon, MessageIcon::kWarning);
    dialog.RootField()->setText("Plant.csv");
    dialog.accept();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.Chosen().nameRoot, std::string("Plant.csv"));
  }

  void theExportDialogSamplesTheNameItWritesWhileANameIsEntered() {
    TestContext test;
    CExportDataDlg dialog("/srv/db", test.prompt);
    QCOMPARE(dialog.windowTitle(), QString("Export OPC Data (csv format)"));
    QCOMPARE(dialog.PathField()->text(), QString("/srv/db"));
    QVERIFY(dialog.NameField()->text().isEmpty());
    QVERIFY(dialog.NameSample()->text().isEmpty());
    QVERIFY(dialog.Separators()->Button(';')->isChecked());
    dialog.NameField()->setText("Run7");
    QCOMPARE(dialog.NameSample()->text(), QString("Run7.csv"));  // what accept() writes
    dialog.Separators()->Button('\t')->setChecked(true);
    dialog.accept();
    QCOMPARE(dialog.FileName(), std::string("Run7.csv"));
    QCOMPARE(dialog.Folder(), std::string("/srv/db"));
    QCOMPARE(dialog.Separator(), '\t');
  }

  void autoBackupSettingsFromTheViewScheduleTheBackups() {
    Rig rig;
    QVERIFY(rig.connected && rig.databaseReady);
    const std::vector<CommandId> commands = rig.view->Commands();
    QVERIFY(std::count(commands.begin(), commands.end(), CommandId::kAutoBackupSettings) == 1);
    QVERIFY(rig.view->CommandState(CommandId::kBackupOpcData).enabled);
    QVERIFY(rig.engine->StartCommand());
    rig.Ticks(3);
    OnNextModal<CBackupSettingsDlg>([&rig](CBackupSettingsDlg& dialog) {
      // The folder does not exist: the database's folder; the root is the project's.
      QCOMPARE(dialog.PathField()->text(), QString::fromStdString(rig.dir.Path().string()));
      QCOMPARE(dialog.RootField()->text(), QString("Plant"));
      dialog.FrequencyChoice()->setCurrentIndex(1);  // every 5 minutes
      dialog.accept();
    });
    rig.view->OnCommand(CommandId::kAutoBackupSettings);
    const BackupSettings applied = rig.view->Backups()->Settings();
    QCOMPARE(applied.nameRoot, std::string("Plant"));  // Plant.csv reduced
    QCOMPARE(applied.frequency, 5);
    QVERIFY(
        rig.test.sink.Contains("Data AutoSave Activated ... Type: Incremental Backup "
                               "Frequency: 5 Min. Path: " +
                               rig.dir.Path().string() + " Name Root: Plant"));
    // "Backup OPC Data" now saves at once under the automatic name.
    rig.view->OnCommand(CommandId::kBackupOpcData);
    QVERIFY(rig.view->SaveProgressDialog() != nullptr);
    QCOMPARE(rig.view->SaveProgressDialog()->windowTitle(), QString("Saving Acquired OPC Data"));
    QCOMPARE(rig.view->SaveProgressDialog()->Bar()->maximum(), 20);
    rig.FinishJobs();
    QVERIFY(rig.view->SaveProgressDialog()->IsFinished());
    QVERIFY(std::filesystem::exists(rig.dir.Path() / "Plant_07_Dec_2026_10_00_03.csv"));
    QVERIFY(rig.test.sink.Contains("OPC Acquired Data Saved Successfully to File"));
    // An empty project proposes no root.
    rig.projectName = "Empty Project";
    OnNextModal<CBackupSettingsDlg>([](CBackupSettingsDlg& dialog) {
      QVERIFY(dialog.RootField()->text().isEmpty());
      dialog.FrequencyChoice()->setCurrentIndex(0);
      dialog.RootField()->setText("x");
      dialog.accept();
    });
    rig.view->OnCommand(CommandId::kAutoBackupSettings);
    QCOMPARE(rig.engine->BackupClock().Frequency(), 0);
    QVERIFY(rig.test.sink.Contains("Backup OPC Data AutoSave is Desactivated ... "));
  }

  void theForwardFieldSetsForwardToAndAnUnreachableServerIsLoggedNotFatal() {
    Rig rig;
    QVERIFY(rig.connected && rig.databaseReady);
    OnNextModal<CBackupSettingsDlg>([](CBackupSettingsDlg& dialog) {
      QVERIFY(dialog.ForwardToField()->text().isEmpty());
      dialog.ForwardToField()->setText(" not a url ");
      dialog.accept();
    });
    rig.view->OnCommand(CommandId::kAutoBackupSettings);
    QCOMPARE(settings::Read(rig.test.settings, settings::kForwardTo), std::string("not a url"));
    QVERIFY(rig.engine->StartCommand());
    // The forwarder's failure comes from its own thread and is logged at a tick.
    for (int i = 0; i < 200 && !rig.test.sink.Contains("Cannot Forward to PostgreSQL"); ++i) {
      rig.Ticks(1);
      QTest::qWait(10);
    }
    QVERIFY2(rig.test.sink.Contains("Cannot Forward to PostgreSQL not a url: bad connection URL",
                                    kLogDataAcquisition),
             rig.test.sink.Dump().c_str());
    QVERIFY(rig.engine->IsRunning());
    QCOMPARE(rig.engine->Stored().Count(), rig.engine->Counts().Acquired());
  }

  void backupWithoutAFrequencyAsksForTheFileAndKeepsTheFolder() {
    Rig rig;
    QVERIFY(rig.connected && rig.databaseReady);
    QVERIFY(rig.engine->StartCommand());
    rig.Ticks(4);
    const std::filesystem::path folder = rig.dir.Path() / "exports";
    std::filesystem::create_directories(folder);
    OnNextModal<CExportDataDlg>([&folder](CExportDataDlg& dialog) {
      dialog.PathField()->setText(QString::fromStdString(folder.string()));
      dialog.NameField()->setText("run.csv");
      dialog.accept();
    });
    rig.view->OnCommand(CommandId::kBackupOpcData);
    // A second request while the first is not reported yet is refused.
    rig.view->OnCommand(CommandId::kBackupOpcData);
    QCOMPARE(rig.test.sink.Count(kOperationInProgress, kLogOpcServer), 1);
    rig.FinishJobs();
    QCOMPARE(LineCount(folder / "run.csv"), 5);
    QCOMPARE(settings::Read(rig.test.settings, settings::kSaveOPCDataPath), folder.string());
    // Cancel writes nothing.
    OnNextModal<CExportDataDlg>([](CExportDataDlg& dialog) { dialog.reject(); });
    rig.view->OnCommand(CommandId::kBackupOpcData);
    QVERIFY(!rig.view->Backups()->IsSaving());
  }

  void theCopyGoesToTheClipboardWithItsProgressDialog() {
    Rig rig;
    QVERIFY(rig.connected && rig.databaseReady);
    QVERIFY(rig.engine->StartCommand());
    rig.Ticks(3);
    QApplication::clipboard()->clear();
    rig.view->CopyAction()->trigger();
    CThreadProgressDlg* dialog = rig.view->CopyProgressDialog();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QString("Copying Acquired OPC Data to Clipboard"));
    QCOMPARE(dialog->Bar()->maximum(), 3);
    QCOMPARE(dialog->Text(), QString("Copying ..."));
    rig.view->CopyToClipboard();  // refused while the first runs
    QCOMPARE(rig.test.sink.Count(kOperationInProgress, kLogOpcServer), 1);
    rig.FinishJobs();
    const QString text = QApplication::clipboard()->text();
    QVERIFY(text.startsWith("Acquisition Date & Time\t"));
    QCOMPARE(text.count('\n'), 5);  // header, 3 rows, then the final CR LF
    QVERIFY(text.endsWith("\n\r\n"));
    QVERIFY(dialog->IsFinished());
    QVERIFY(rig.test.sink.Contains(
        "Copying OPC Acquired Data to Clipboard Successfully (3 Data Set saved in "));
  }
};

QTEST_MAIN(BackupDialogsTest)
#include "backup_dialogs_test.moc"
