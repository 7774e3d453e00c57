// The main frame: command bar, navigation rules, view creation, status bar, panes,
// web pages and the close-project sequence behind Exit and the close box.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "acquisition/gui/opc_data_view.h"
#include "app/gui/about_dlg.h"
#include "app/gui/main_frame.h"
#include "app/gui/outlook_bar.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/ribbon_bar.h"
#include "app/gui/velmora_pane_view.h"
#include "app/gui/velmora_session.h"
#include "app/gui/velmora_start_view.h"
#include "app/gui/view_factory.h"
#include "base/log_sink.h"
#include "base/settings.h"
#include "chart/gui/opc_chart_view.h"
#include "explorer/gui/prj_data_view.h"
#include "explorer/gui/prj_database_view.h"
#include "explorer/gui/prj_export_view.h"
#include "opc/gui/opc_server_view.h"
#include "ribbon_clicks.h"
#include "scripted_user_prompt.h"
#include "ui/rich_text_view.h"

namespace {

// A catalogue that only says which acquisition is selected: what the navigation asks.
class CSelectingCatalogue : public CVelmoraView {
 public:
  explicit CSelectingCatalogue(QWidget* parent) : CVelmoraView("Velmora Projects", "", parent) {}
  int SelectedAcquisitionId() const override { return selected; }
  int selected = kNoAcquisition;
};

// Makes the real views but fails the one at failAt (creation order, 0-based; -1 none); a
// selecting catalogue in place of the real one when asked.
class FailingViewFactory : public CVelmoraViewFactory {
 public:
  FailingViewFactory(CVelmoraSession& session, int failAt, bool selectingCatalogue)
      : CVelmoraViewFactory(session),
        m_nFailAt(failAt),
        m_bSelectingCatalogue(selectingCatalogue) {}
  CVelmoraView* CreateView(VelmoraView view, QWidget* parent) override {
    if (m_nCalls++ == m_nFailAt)
      return nullptr;
    if (view == VelmoraView::kPrjDatabase && m_bSelectingCatalogue)
      return new CSelectingCatalogue(parent);
    return CVelmoraViewFactory::CreateView(view, parent);
  }
  int Calls() const { return m_nCalls; }

 private:
  int m_nFailAt;
  bool m_bSelectingCatalogue;
  int m_nCalls = 0;
};

class RunningSession : public CUnconnectedProjectSession {
 public:
  bool IsAcquisitionRunning() const override { return running; }
  void StopAcquisition() override { running = false; }
  std::string ServerId() const override { return "Velmora.Sim.DA2"; }
  std::string ServerHost() const override { return "Local Host"; }
  void RemoveGroupsAndDisconnect() override { ++disconnects; }
  bool running = true;
  int disconnects = 0;
};

struct Frame {
  // expectedMessages: the message boxes the creation itself shows (a view that fails).
  explicit Frame(int failAt = -1, int expectedMessages = 0, bool selectingCatalogue = false)
      : factory(session, failAt, selectingCatalogue) {
    for (int i = 0; i < expectedMessages; ++i)
      prompt.messageAnswers.push_back(MessageAnswer::kOk);
    frame.SetCreationPauses(false);
    frame.CreateFrame();
    created = frame.CreateViews(nullptr, factory);
  }
  FakeClock clock;
  CLog log{clock};
  ScriptedUserPrompt prompt;
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
  CVelmoraSession session{context};  // outlives the frame's views
  FailingViewFactory factory;
  CMainFrame frame{context};
  int created = 0;
};

QStringList ActionTexts(const QList<QAction*>& actions) {
  QStringList texts;
  for (QAction* action : actions)
    texts << action->text();
  return texts;
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    SetVelmoraSettingsDirectory(m_dir.path());
  }

  void commandBarHasEveryCategoryPanelAndCommand() {
    Frame f;
    CRibbonBar* ribbon = f.frame.Ribbon();
    QStringList categories;
    for (int i = 0; i < ribbon->count(); ++i)
      categories << ribbon->tabText(i).remove('&');
    QCOMPARE(categories, (QStringList{"Home", "OPC Server", "Data Acquisition", "OPC Data Chart",
                                      "Projects", "View", "Help"}));
    QStringList panels;
    for (QLabel* title : ribbon->findChildren<QLabel*>("RibbonPanelTitle"))
      panels << title->text();
    for (const char* panel :
         {"Quit Velmora", "Velmora Project", "OPC Server", "OPC Group", "OPC Item",
          "OPC Data Acquisition", "OPC Data", "Backup Data Saving", "Data Type Color",
          "Performance", "Status Bar Display", "Output Pane Display", "Caption Bar Display"})
      QVERIFY2(panels.contains(panel), panel);
    const QStringList commands = ActionTexts(ribbon->Actions());
    for (const char* command : {"Exit",
                                "Load Project",
                                "Save Project",
                                "Close Project",
                                "Select OPC Server",
                                "Disconnect OPC Server",
                                "Add OPC Group",
                                "Remove OPC Group",
                                "Add OPC Item(s)",
                                "Add Calc. OPC Item(s)",
                                "Remove Item",
                                "Start Data Acquisition",
                                "Resume Data Acquisition",
                                "Stop Data Acquisition",
                                "OPC Data Display",
                                "Always Show Last Acquired Data",
                                "Show Fully Qualified Identifier",
                                "Show Short Identifier",
                                "Reconnect on Server Loss",
                                "Clear OPC Data",
                                "Backup OPC Data",
                                "Auto Backup Settings",
                                "Standard Color",
                                "Bad Data Quality",
                                "Interpolated Data Color",
                                "Inactive Group Color",
                                "Acquisition Statistics",
                                "Chart Title Options",
                                "Background Color",
                                "Chart Series Selection",
                                "Left Axis",
                                "Right Axis",
                                "Automatic Range",
                                "Manual Range",
                                "Set Axis Range",
                                "Chart Legend Options",
                                "Save Image to File",
                                "Copy to Clipboard",
                                "Delete Project",
                                "View Project Data",
                                "Export Data",
                                "Show the Status Bar",
                                "Hide the Status Bar",
                                "Show the Output Pane",
                                "Hide the Output Pane",
                                "Caption Bar Display",
                                "Check for Update",
                                "About Velmora 2.0"})
      QVERIFY2(commands.contains(command), command);
    QCOMPARE(commands.count("Copy to Clipboard"), 2);
    QCOMPARE(commands.count("Set Axis Range"), 2);
    QCOMPARE(
        ActionTexts(f.frame.Command(CommandId::kLeftAxis)->menu()->actions()),
        (QStringList{"Automatic Range", "Manual Range", "Set Axis Range", "Axis Attributes..."}));
    QCOMPARE(ActionTexts(f.frame.Command(CommandId::kOpcDataDisplay)->menu()->actions()),
             (QStringList{"Always Show Last Acquired Data", "Show Fully Qualified Identifier",
                          "Show Short Identifier", "Reconnect on Server Loss"}));
  }

  void laterCommandsStayDisabledAndFrameCommandsWork() {
    Frame f;
    for (CommandId id : {CommandId::kLoadProject, CommandId::kSaveProject, CommandId::kSelectServer,
                         CommandId::kStartAcquisition, CommandId::kDeleteProject,
                         CommandId::kChartSaveImage, CommandId::kCheckForUpdate})
      QVERIFY(!f.frame.Command(id)->isEnabled());
    // Close Project needs a project.
    QVERIFY(!f.frame.Command(CommandId::kCloseProject)->isEnabled());
    RunningSession session;
    f.frame.SetProjectSession(&session);
    QVERIFY(f.frame.Command(CommandId::kCloseProject)->isEnabled());
    f.frame.SetProjectSession(nullptr);
    for (CommandId id :
         {CommandId::kExit, CommandId::kShowStatusBar, CommandId::kHideOutputPane,
          CommandId::kCaptionBar, CommandId::kWebHomePage, CommandId::kApplicationLook})
      QVERIFY(f.frame.Command(id)->isEnabled());
    QVERIFY(!f.frame.Command(CommandId::kApplicationLook)->menu()->actions().isEmpty());
    QCOMPARE(f.frame.Command(CommandId::kExit)->shortcut(), QKeySequence(QKeySequence::Quit));
    // Every command can be reached from the window, whichever category is shown.
    for (QAction* action : f.frame.Ribbon()->Actions())
      QVERIFY(f.frame.actions().contains(action));
  }

  void elevenViewsAreCreatedInOrderAndTheStartViewIsShown() {
    Frame f;
    QCOMPARE(f.created, 11);
    QVERIFY(qobject_cast<CVelmoraStartView*>(f.frame.View(VelmoraView::kStart)));
    QCOMPARE(qobject_cast<CVelmoraPaneView*>(f.frame.View(VelmoraView::kOpcOutline))->Page(),
             OutlinePage::kOpcExplorer);
    QVERIFY(f.frame.ServerView() && f.frame.DataView() && f.frame.DatabaseView());
    QCOMPARE(f.frame.ChartView(VelmoraView::kLiveChart)->Mode(), ChartMode::kLive);
    QCOMPARE(f.frame.ChartView(VelmoraView::kProjectChart)->Mode(), ChartMode::kProject);
    QVERIFY(qobject_cast<CPrjDataView*>(f.frame.View(VelmoraView::kPrjData)));
    QVERIFY(qobject_cast<CPrjExportView*>(f.frame.View(VelmoraView::kPrjExport)));
    QCOMPARE(qobject_cast<CVelmoraPaneView*>(f.frame.View(VelmoraView::kDcomOutline))->Page(),
             OutlinePage::kDcom);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kStart));
    QVERIFY(f.prompt.messages.empty());
  }

  void aViewThatCannotBeCreatedLeavesTheLaterOnesMissing() {
    Frame f(6, 1);  // the catalogue fails
    QCOMPARE(f.created, 6);
    QCOMPARE(f.factory.Calls(), 7);
    QCOMPARE(f.prompt.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(f.prompt.messages[0].text),
             QString("Unable to Create CPrjDatabaseView!!! Please Contact Quorix"));
    for (int v = 0; v < 6; ++v)
      QVERIFY(f.frame.View(static_cast<VelmoraView>(v)) != nullptr);
    for (int v = 6; v < 11; ++v)
      QVERIFY(f.frame.View(static_cast<VelmoraView>(v)) == nullptr);
    // The views that exist work; a missing one is named and nothing switches.
    QVERIFY(f.frame.SwitchToView(VelmoraView::kOpcServer));
    f.prompt.messageAnswers = {MessageAnswer::kOk, MessageAnswer::kOk};  // the two missing views
    f.frame.ChooseEntry(NavigationEntry::kVelmoraProjects);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kOpcServer));
    QCOMPARE(QString::fromStdString(f.prompt.messages.back().text),
             QString("Pointer to CPrjDatabaseView is NULL !!! Unable to Show View"));
    f.frame.ChooseEntry(NavigationEntry::kDcomSettings);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kOpcServer));
  }

  void theFirstViewFailingNamesTheStartView() {
    Frame f(0, 1);
    QCOMPARE(f.created, 0);
    QCOMPARE(QString::fromStdString(f.prompt.messages[0].text),
             QString("Unable to Create CVelmoraStartView!!! Please Contact Quorix"));
    QVERIFY(!f.frame.HasSessionViews());
    QVERIFY(!f.frame.CloseProject(false));
  }

  void groupsShowTheirOutlineOnceAndNoFeaturesOutlineSkipsIt() {
    Frame f;
    COutlookBar* bar = f.frame.OutlookBar();
    QTest::mouseClick(bar->GroupButton(NavigationGroup::kProjects), Qt::LeftButton);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kProjectsOutline));
    QCOMPARE(f.frame.CurrentGroup(), 1);
    QCOMPARE(bar->ExpandedGroup(), NavigationGroup::kProjects);
    f.frame.SwitchToView(VelmoraView::kStart);
    QTest::mouseClick(bar->GroupButton(NavigationGroup::kProjects), Qt::LeftButton);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kStart));  // already current

    settings::Write(f.settings, settings::kNoFeaturesOutline, 1);
    QTest::mouseClick(bar->GroupButton(NavigationGroup::kOpcExplorer), Qt::LeftButton);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kOpcServer));
    QTest::mouseClick(bar->GroupButton(NavigationGroup::kProjects), Qt::LeftButton);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kPrjDatabase));
    QTest::mouseClick(bar->GroupButton(NavigationGroup::kDcom), Qt::LeftButton);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kDcomOutline));
  }

  void entriesOfTheNavigationPaneShowTheirViews() {
    Frame f;
    COutlookBar* bar = f.frame.OutlookBar();
    QListWidget* opc = bar->EntryList(NavigationGroup::kOpcExplorer);
    QCOMPARE(opc->count(), 3);
    QCOMPARE(bar->EntryList(NavigationGroup::kProjects)->count(), 4);
    QCOMPARE(bar->EntryList(NavigationGroup::kDcom)->count(), 1);
    QCOMPARE(opc->item(0)->text(), QString("OPC Explorer Setup"));
    emit opc->itemClicked(opc->item(1));
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kOpcData));
    QCOMPARE(f.frame.CurrentGroup(), kNoCurrentGroup);

    COPCChartView* live = f.frame.ChartView(VelmoraView::kLiveChart);
    live->SetMode(ChartMode::kProject);
    emit opc->itemClicked(opc->item(2));
    QCOMPARE(f.frame.ActiveView(), live);
    QCOMPARE(live->Mode(), ChartMode::kLive);
  }

  void theCatalogueBringsTheProjectsChannelToTheFront() {
    // The view asks through its base class; only the frame knows the output pane.
    Frame f;
    // Views are told they are shown once the session (with its database) is plugged in.
    QVERIFY(f.session.CheckDatabase(m_dir.filePath("Catalogue.sq3").toStdString()));
    f.session.Attach(f.frame);
    QTabWidget* tabs = f.frame.OutputWnd()->Tabs();
    tabs->setCurrentWidget(f.frame.OutputWnd()->List(kLogOpcServer));
    f.frame.ChooseEntry(NavigationEntry::kVelmoraProjects);
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kPrjDatabase));
    QCOMPARE(tabs->currentWidget(), f.frame.OutputWnd()->List(kLogProjects));
  }

  void projectEntriesNeedASelectedAcquisition() {
    Frame f(-1, 0, true);
    auto* catalogue = static_cast<CSelectingCatalogue*>(f.frame.View(VelmoraView::kPrjDatabase));
    QListWidget* projects = f.frame.OutlookBar()->EntryList(NavigationGroup::kProjects);
    for (int row = 1; row <= 3; ++row) {
      f.frame.SwitchToView(VelmoraView::kStart);
      emit projects->itemClicked(projects->item(row));
      QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kPrjDatabase));
    }
    catalogue->selected = 42;
    emit projects->itemClicked(projects->item(1));
    QCOMPARE(f.frame.ActiveView(), f.frame.View(VelmoraView::kPrjData));
    QCOMPARE(qobject_cast<CPrjDataView*>(f.frame.View(VelmoraView::kPrjData))->AcquisitionId(), 42);
    emit projects->itemClicked(projects->item(2));
    QCOMPARE(qobject_cast<CPrjExportView*>(f.frame.View(VelmoraView::kPrjExport))->AcquisitionId(),
             42);
    COPCChartView* chart = f.frame.ChartView(VelmoraView::kProjectChart);
    chart->SetMode(ChartMode::kLive);
    emit projects->itemClicked(projects->item(3));
    QCOMPARE(f.frame.ActiveView(), chart);
    QCOMPARE(chart->AcquisitionId(), 42);
    QCOMPARE(chart->Mode(), ChartMode::kProject);
  }

  void statusBarWelcomesAndLinksToTheMaker() {
    Frame f;
    QCOMPARE(f.frame.StatusPane()->text(), QString("Welcome to Velmora 2.0"));
    QCOMPARE(f.frame.StatusPane()->toolTip(), QString("Velmora 2.0 Messages"));
    QCOMPARE(f.frame.StatusPane()->width(),
             f.frame.StatusPane()->fontMetrics().averageCharWidth() * 50);
    QList<QLabel*> labels = f.frame.statusBar()->findChildren<QLabel*>();
    bool link = false;
    for (QLabel* label : labels)
      link = link || label->text().contains("https://www.quorix.example/");
    QVERIFY(link);
    f.frame.Command(CommandId::kHideStatusBar)->trigger();
    QVERIFY(f.frame.statusBar()->isHidden());
    f.frame.Command(CommandId::kShowStatusBar)->trigger();
    QVERIFY(!f.frame.statusBar()->isHidden());
  }

  void outputPaneFollowsAndWritesOutputPaneVisible() {
    {
      Frame f;
      QVERIFY(!f.frame.OutputWnd()->isHidden());  // nothing stored: shown
      f.frame.Command(CommandId::kHideOutputPane)->trigger();
      QVERIFY(f.frame.OutputWnd()->isHidden());
      QCOMPARE(settings::Read(f.settings, settings::kOutputPaneVisible), 0);
      f.frame.Command(CommandId::kShowOutputPane)->trigger();
      QVERIFY(!f.frame.OutputWnd()->isHidden());
      QCOMPARE(settings::Read(f.settings, settings::kOutputPaneVisible), 1);
    }
    FakeClock clock;
    CLog log(clock);
    ScriptedUserPrompt prompt;
    InMemorySettingsStore store;
    settings::Write(store, settings::kOutputPaneVisible, 0);
    AppContext context{clock, log, prompt, store};
    CMainFrame frame(context);
    frame.CreateFrame();
    QVERIFY(frame.OutputWnd()->isHidden());
    QVERIFY(frame.Command(CommandId::kHideOutputPane)->isChecked());
    // The frame's pane is the log's sink while the frame lives.
    log.Log("into the pane", kLogDataChart);
    QCOMPARE(frame.OutputWnd()->List(kLogDataChart)->count(), 1);
  }

  void logLinesAfterTheFrameIsGoneAreDropped() {
    FakeClock clock;
    CLog log(clock);
    ScriptedUserPrompt prompt;
    InMemorySettingsStore store;
    AppContext context{clock, log, prompt, store};
    {
      CMainFrame frame(context);
      frame.CreateFrame();
      QVERIFY(log.Sink() != nullptr);
    }
    QVERIFY(log.Sink() == nullptr);
    log.Log("dropped", 0);
  }

  void captionBarShowsTheActiveView() {
    Frame f;
    QVERIFY(f.frame.CaptionBar()->isHidden());
    f.frame.Command(CommandId::kCaptionBar)->trigger();
    QVERIFY(!f.frame.CaptionBar()->isHidden());
    f.frame.SwitchToView(VelmoraView::kPrjDatabase);
    QVERIFY(f.frame.CaptionBar()->text().contains("Velmora Projects"));
    f.frame.Command(CommandId::kCaptionBar)->trigger();
    QVERIFY(f.frame.CaptionBar()->isHidden());
  }

  void outlineAndStartPagesUseTheDarkerGreen() {
    Frame f;
    auto* start = qobject_cast<CVelmoraStartView*>(f.frame.View(VelmoraView::kStart));
    const QString html = start->Page()->toHtml();
    QVERIFY(html.contains("#008000"));
    QVERIFY(!start->Page()->toPlainText().contains('\\'));
    auto* dcom = qobject_cast<CVelmoraPaneView*>(f.frame.View(VelmoraView::kDcomOutline));
    QVERIFY(dcom->Outline()->toPlainText().contains("later release"));
    auto* opc = qobject_cast<CVelmoraPaneView*>(f.frame.View(VelmoraView::kOpcOutline));
    for (const char* heading :
         {"OPC Explorer Setup", "OPC Data Acquisition and Storage", "OPC Data Visualization"})
      QVERIFY2(opc->Outline()->toPlainText().contains(heading), heading);
    auto* projects = qobject_cast<CVelmoraPaneView*>(f.frame.View(VelmoraView::kProjectsOutline));
    for (const char* heading : {"Velmora Projects", "Project OPC Data", "Export Project Data",
                                "Project Data Visualization"})
      QVERIFY2(projects->Outline()->toPlainText().contains(heading), heading);
  }

  void webPagesOpenAndAFailureShowsTheHeadingAlone() {
    Frame f;
    QList<QUrl> opened;
    bool succeed = true;
    f.frame.SetUrlOpener([&](const QUrl& url) {
      opened << url;
      return succeed;
    });
    f.frame.Command(CommandId::kWebHomePage)->trigger();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0].host(), QString("velmora.quorix.example"));
    QVERIFY(f.prompt.messages.empty());
    succeed = false;
    f.prompt.messageAnswers.push_back(MessageAnswer::kOk);
    f.frame.Command(CommandId::kWebQuorix)->trigger();
    QCOMPARE(f.prompt.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(f.prompt.messages[0].text),
             QString("An Error Occured Starting your Web Browser \n"));
  }

  void frameStaysHiddenUntilStartupHasFinished() {
    Frame f;
    f.frame.show();
    QVERIFY(!f.frame.isVisible());
    f.frame.SetStartupFinished(true);
    f.frame.show();
    QVERIFY(f.frame.isVisible());
  }

  void exitWhileAcquiringAsksAndCancelKeepsTheWindowOpen() {
    Frame f;
    RunningSession session;
    f.frame.SetProjectSession(&session);
    f.frame.SetStartupFinished(true);
    f.frame.show();
    f.prompt.reportAnswers.push_back(2);  // Cancel on the stop question
    QVERIFY(ClickRibbon(f.frame.Ribbon(), "Home", "Exit"));
    QApplication::processEvents();
    QVERIFY(f.frame.isVisible());
    QCOMPARE(f.prompt.reports.size(), size_t(1));
    QCOMPARE(QString::fromStdString(f.prompt.reports[0].title), QString("Confirmation Request"));
    QCOMPARE(f.prompt.reports[0].buttonMode, 1);
    QVERIFY(session.running);  // not stopped, not disconnected: the user cancelled
    QCOMPARE(session.disconnects, 0);
    // The close box asks the same question; Ok stops the acquisition and closes.
    f.prompt.reportAnswers.push_back(1);
    QVERIFY(f.frame.close());
    QVERIFY(!f.frame.isVisible());
    QCOMPARE(f.prompt.reports.size(), size_t(2));
    QVERIFY(!session.running);
    QCOMPARE(session.disconnects, 1);
  }

  void exitWithoutAnAcquisitionClosesAtOnce() {
    Frame f;
    f.frame.SetStartupFinished(true);
    f.frame.show();
    QVERIFY(ClickRibbon(f.frame.Ribbon(), "Home", "Exit"));
    QVERIFY(!f.frame.isVisible());
    QVERIFY(f.prompt.reports.empty());
  }

  void theAboutBoxOpensFromTheHelpCategory() {
    Frame f;
    QList<QUrl> opened;
    f.frame.SetUrlOpener([&](const QUrl& url) {
      opened << url;
      return true;
    });
    f.frame.SetStartupFinished(true);
    f.frame.show();
    QVERIFY(f.frame.Command(CommandId::kAbout)->isEnabled());
    bool found = false;
    QString title;
    QString credits;
    OnNextModal<CAboutDlg>(
        [&](CAboutDlg& about) {
          title = about.windowTitle();
          credits = about.Credits()->text();
          emit about.Link()->linkActivated("https://www.quorix.example/");
          about.accept();
        },
        &found);
    QVERIFY(ClickRibbon(f.frame.Ribbon(), "Help", "About Velmora 2.0"));
    QVERIFY(found);
    QCOMPARE(title, QString("About Velmora 2.0"));
    for (const char* credit : {"Qt ", "SQLite ", "zlib ", "libcurl "})
      QVERIFY2(credits.contains(credit), credit);
    QVERIFY(credits.contains(QString::fromLatin1(qVersion())));
    QCOMPARE(opened, QList<QUrl>{QUrl("https://www.quorix.example/")});
    QVERIFY(f.prompt.messages.empty() && f.prompt.reports.empty());
  }

  void closeBoxRunsTheSequenceAndStopsOnOk() {
    Frame f;
    RunningSession session;
    f.frame.SetProjectSession(&session);
    f.frame.SetStartupFinished(true);
    f.frame.show();
    f.prompt.reportAnswers.push_back(1);
    QVERIFY(f.frame.close());
    QVERIFY(!session.running);
    QCOMPARE(session.disconnects, 1);
  }

  void closeProjectClearsTheConfigurationDisplay() {
    Frame f;
    COPCServerView* server = f.frame.ServerView();
    QCOMPARE(server->ConfigurationTree()->topLevelItem(0)->text(0),
             QString("No OPC Server Selected"));
    server->ConfigurationTree()->addTopLevelItem(new QTreeWidgetItem({"Velmora.Sim.DA2"}));
    RunningSession session;
    f.frame.SetProjectSession(&session);
    f.prompt.reportAnswers.push_back(2);
    f.frame.Command(CommandId::kCloseProject)->trigger();
    QCOMPARE(server->ConfigurationTree()->topLevelItemCount(), 2);  // cancelled: kept
    f.prompt.reportAnswers.push_back(1);
    f.frame.Command(CommandId::kCloseProject)->trigger();
    QCOMPARE(server->ConfigurationTree()->topLevelItemCount(), 1);
    QCOMPARE(server->ConfigurationTree()->topLevelItem(0)->text(0),
             QString("No OPC Server Selected"));
  }

 private:
  QTemporaryDir m_dir;
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
