// Start-up: settings branch, splash screen, views, the database location with DataPath
// and the dialog of a first start, the main window kept hidden until the end.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

#include "app/database_location.h"
#include "app/gui/main_frame.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/qt_user_prompt.h"
#include "app/gui/splash_screen_dlg.h"
#include "app/gui/velmora_app.h"
#include "app/gui/view_factory.h"
#include "base/settings.h"
#include "db/database_check.h"
#include "db/sqlite_db.h"
#include "scripted_user_prompt.h"
#include "test_context.h"
#include "ui/velmora_view.h"

namespace {

struct Start {
  explicit Start(CommandLineOptions options = {}) : options(std::move(options)) {}
  CommandLineOptions options;
  InMemorySettingsStore settings;
  ScriptedUserPrompt prompt;
  std::vector<std::string> checked;
  bool frameVisibleAtCheck = true;

  std::unique_ptr<CVelmoraApp> Run() {
    auto app = std::make_unique<CVelmoraApp>(options, VelmoraAppServices{&settings, &prompt});
    app->SetQuickStart(true);
    CVelmoraApp* raw = app.get();
    app->SetDatabaseCheck([this, raw](const std::string& path) {
      checked.push_back(path);
      frameVisibleAtCheck = raw->MainFrame()->isVisible();
      return true;
    });
    app->InitInstance();
    return app;
  }
};

// The request the start-up asks with, proposing proposedPath, shown by the program's own
// prompt; answer acts on the dialog once it is shown.
std::optional<std::string> RunDatabaseDialog(const QString& proposedPath,
                                             std::function<void(QFileDialog&)> answer) {
  InMemorySettingsStore settings;
  ScriptedUserPrompt scripted;
  scripted.reportAnswers.push_back(1);  // no file chosen here: the path error report
  (void)LocateDatabase(settings, scripted, "", {});
  if (scripted.fileRequests.size() != 1)
    return std::nullopt;
  FileRequest request = scripted.fileRequests[0];
  request.initialPath = proposedPath.toStdString();
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr)
      return;
    answer(*dialog);
    if (dialog->isVisible())
      dialog->reject();  // a refused answer: the test sees no file
  });
  CQtUserPrompt prompt;
  return prompt.ChooseFile(request);
}

// The dialog's Ok, as the button runs it (accept() itself is protected).
void Accept(QFileDialog& dialog) {
  QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
}

QLineEdit* FileNameEdit(QFileDialog& dialog) {
  return dialog.findChild<QLineEdit*>("fileNameEdit");
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void aStoredPathIsCheckedWithoutAskingAndWrittenBack() {
    Start start;
    settings::Write(start.settings, settings::kDataPath, "/data/plant/Velmora.sq3");
    auto app = start.Run();
    QVERIFY(start.prompt.fileRequests.empty());
    QVERIFY(start.prompt.reports.empty());
    QCOMPARE(start.checked, (std::vector<std::string>{"/data/plant/Velmora.sq3"}));
    QVERIFY(!start.frameVisibleAtCheck);  // hidden until start-up has finished
    QVERIFY(app->Database().has_value());
    QCOMPARE(app->Database()->directory, std::string("/data/plant/"));
    QVERIFY(app->IsStartupFinished());
    QVERIFY(app->MainFrame()->isVisible());
    QCOMPARE(app->MainFrame()->ActiveView(), app->MainFrame()->View(VelmoraView::kStart));
    QCOMPARE(settings::Read(start.settings, settings::kDataPath),
             std::string("/data/plant/Velmora.sq3"));
  }

  void noPathAsksForTheFileAndStoresTheChoice() {
    Start start;
    const std::string chosen = m_dir.filePath("chosen/Velmora.sq3").toStdString();
    start.prompt.fileAnswers.push_back(chosen);
    auto app = start.Run();
    QCOMPARE(start.prompt.fileRequests.size(), size_t(1));
    QCOMPARE(start.prompt.fileRequests[0].filter, std::string("SQLite Files (.sq3)|*.sq3"));
    QVERIFY(!start.prompt.fileRequests[0].mustExist);
    QCOMPARE(start.checked, (std::vector<std::string>{chosen}));
    QCOMPARE(settings::Read(start.settings, settings::kDataPath), chosen);
    QVERIFY(app->MainFrame()->isVisible());
  }

  void aFirstStartCreatesTheChosenNewDatabase() {
    InMemorySettingsStore settings;
    ScriptedUserPrompt prompt;
    TestContext test;
    CSQLite db(test.context);
    const std::string chosen = m_dir.filePath("first start/Velmora.sq3").toStdString();
    prompt.fileAnswers.push_back(chosen);
    CVelmoraApp app({}, VelmoraAppServices{&settings, &prompt});
    app.SetQuickStart(true);
    app.SetDatabaseCheck([&db](const std::string& path) { return CheckVelmoraDatabase(db, path); });
    QVERIFY(app.InitInstance());
    QVERIFY(prompt.reports.empty());
    QVERIFY(QFileInfo(QString::fromStdString(chosen)).isFile());
    db.SetPath(chosen);
    QVERIFY(db.QueryInt64("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'", {},
                          SqlRun().Opening().Closing())
                .ValueOr(0) > 0);
    QCOMPARE(settings::Read(settings, settings::kDataPath), chosen);
    QVERIFY(app.MainFrame()->isVisible());
  }

  // The dialog of a first start, run as the program shows it, answered by the user.
  void theDatabaseDialogAcceptsTheProposedNewFile() {
    const QString proposed = m_dir.filePath("data/Velmora/Velmora.sq3");
    QString shownName;
    const auto result = RunDatabaseDialog(proposed, [&](QFileDialog& dialog) {
      shownName = FileNameEdit(dialog)->text();
      Accept(dialog);
    });
    QCOMPARE(shownName, QString("data/Velmora/Velmora.sq3"));  // in the nearest folder
    QCOMPARE(result, std::optional<std::string>(proposed.toStdString()));
  }

  void theDatabaseDialogAddsTheSuffixToATypedName() {
    const auto result = RunDatabaseDialog(m_dir.filePath("Velmora.sq3"), [](QFileDialog& dialog) {
      QCOMPARE(dialog.defaultSuffix(), QString("sq3"));
      FileNameEdit(dialog)->setText("Plant");
      Accept(dialog);
    });
    QCOMPARE(result, std::optional<std::string>(m_dir.filePath("Plant.sq3").toStdString()));
  }

  void theDatabaseDialogTakesAnExistingFileWithoutAsking() {
    const QString existing = m_dir.filePath("Existing.sq3");
    {
      QFile file(existing);
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    bool asked = false;
    // A question about replacing the file would block the dialog: answer it and note it.
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&asked] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        asked = true;
        box->reject();
      }
    });
    watch.start(50);
    const auto result = RunDatabaseDialog(existing, [](QFileDialog& dialog) { Accept(dialog); });
    QVERIFY(!asked);
    QCOMPARE(result, std::optional<std::string>(existing.toStdString()));
  }

  void cancellingTheDialogReportsAndClosesTheProgram() {
    Start start;
    settings::Write(start.settings, settings::kDataPath, "None");
    start.prompt.reportAnswers.push_back(1);  // the path error report
    auto app = start.Run();
    QVERIFY(start.prompt.HasReportTitled("Velmora Database Path Error"));
    QVERIFY(start.checked.empty());
    QVERIFY(!app->Database().has_value());
    QCOMPARE(settings::Read(start.settings, settings::kDataPath), std::string("None"));
    QTRY_VERIFY(!app->MainFrame()->isVisible());  // closed as soon as events run
  }

  void theDatabaseOptionNeedsNoDialogAndIsStored() {
    CommandLineOptions options;
    options.databasePath = m_dir.filePath("db/Velmora.sq3").toStdString();
    Start start(options);
    auto app = start.Run();
    QVERIFY(start.prompt.fileRequests.empty());
    QCOMPARE(start.checked, (std::vector<std::string>{options.databasePath}));
    QCOMPARE(settings::Read(start.settings, settings::kDataPath), options.databasePath);
  }

  void tagDisplayTypeIsReadAtConstruction() {
    Start start;
    settings::Write(start.settings, settings::kTagDisplayType, 2);
    CVelmoraApp app(start.options, VelmoraAppServices{&start.settings, &start.prompt});
    QCOMPARE(app.TagDisplayType(), 2);
    QCOMPARE(app.DecimalNbr(), 2);
    QVERIFY(!app.IsStartupFinished());
  }

  void theViewsOfAFailedCreationAreMissingAndStartupGoesOn() {
    class FailFifth : public CVelmoraViewFactory {
     public:
      using CVelmoraViewFactory::CVelmoraViewFactory;
      CVelmoraView* CreateView(VelmoraView view, QWidget* parent) override {
        return view == VelmoraView::kLiveChart ? nullptr
                                               : CVelmoraViewFactory::CreateView(view, parent);
      }
    };
    auto factory = [](CVelmoraSession& session) -> std::unique_ptr<IViewFactory> {
      return std::make_unique<FailFifth>(session);
    };
    InMemorySettingsStore settings;
    ScriptedUserPrompt prompt;
    settings::Write(settings, settings::kDataPath, "/data/Velmora.sq3");
    prompt.messageAnswers.push_back(MessageAnswer::kOk);  // the view that cannot be made
    CVelmoraApp app({}, VelmoraAppServices{&settings, &prompt, factory});
    app.SetQuickStart(true);
    QVERIFY(app.InitInstance());
    QVERIFY(
        prompt.HasMessageContaining("Unable to Create COPCDataChartView!!! Please Contact "
                                    "Quorix"));
    QVERIFY(app.MainFrame()->View(VelmoraView::kOpcData) != nullptr);
    QVERIFY(app.MainFrame()->View(VelmoraView::kLiveChart) == nullptr);
    QVERIFY(app.MainFrame()->View(VelmoraView::kDcomOutline) == nullptr);
    QVERIFY(app.MainFrame()->isVisible());
  }

  void theRealSettingsStoreIsUsedUnderTheSettingsFolder() {
    QTemporaryDir own;
    CommandLineOptions options;
    options.settingsDir = own.path().toStdString();
    options.databasePath = own.filePath("Velmora.sq3").toStdString();
    ScriptedUserPrompt prompt;
    {
      CVelmoraApp app(options, VelmoraAppServices{nullptr, &prompt});
      app.SetQuickStart(true);
      QVERIFY(app.InitInstance());
    }
    QSettings stored(own.filePath("Quorix/Velmora.conf"), QSettings::IniFormat);
    QCOMPARE(stored.value("Parameters/DataPath").toString(), own.filePath("Velmora.sq3"));
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void splashStepsFillTheBarAndAClickClosesIt() {
    FakeClock clock;
    CSplashScreenDlg splash(clock);
    int versionChecks = 0;
    splash.Open([&] { ++versionChecks; });
    QCOMPARE(splash.Progress()->maximum(), 12);
    for (int i = 0; i < 12; ++i)
      splash.ShowStep("step", false);
    QCOMPARE(splash.Progress()->value(), 12);
    QTRY_COMPARE(versionChecks, 1);
    splash.ShowStep("Terminating Application Startup ...", true);
    QVERIFY(splash.Progress()->isHidden());
    QCOMPARE(splash.StatusText(), QString("Terminating Application Startup ..."));
    QVERIFY(splash.CountDown());
    QTest::mouseClick(&splash, Qt::LeftButton);
    QVERIFY(splash.IsClosed());
    QVERIFY(!splash.CountDown());
    QVERIFY(!splash.isVisible());
    QCOMPARE(versionChecks, 1);
  }

  void splashClosesItselfAfterSixteenSeconds() {
    FakeClock clock;
    CSplashScreenDlg splash(clock);
    splash.Open({});
    clock.AdvanceMs(8000);
    QTest::qWait(450);
    QVERIFY(!splash.IsClosed());
    clock.AdvanceMs(8000);
    QTRY_VERIFY(splash.IsClosed());
    QVERIFY(!splash.isVisible());
  }

 private:
  QTemporaryDir m_dir;
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
