// The acquisition view on the simulation server: lists, colours, headings, decimals, the
// mode buttons and pickers, the commands and the base tick.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <memory>

#include "acquisition/acquisition_engine.h"
#include "acquisition/acquisition_services.h"
#include "acquisition/gui/data_view_controls.h"
#include "acquisition/gui/historical_data_model.h"
#include "acquisition/gui/opc_data_view.h"
#include "acquisition/gui/real_time_data_model.h"
#include "acquisition/gui/window_time.h"
#include "base/settings.h"
#include "db/database_check.h"
#include "db/sqlite_db.h"
#include "opc/default_names.h"
#include "opc/opc_items.h"
#include "opc/opc_server.h"
#include "opc/opc_texts.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "sim_group.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

constexpr char kRampR8[] = "Signals.Ramp.R8";
constexpr char kBadItem[] = "Quality.BadOutOfService";

// The server, the database, the engine and the view, as the session puts them together.
struct Rig {
  Rig() {
    CSimRuntime::Instance().Reset();
    CSimRuntime::Instance().SetClock(&test.clock);
    server = std::make_unique<COPCServer>(test.context);
    connected = server->Connect(kSimServerProgId, kLocalHost, GUID_NULL);
    db = std::make_unique<CSQLite>(test.context);
    databaseReady = CheckVelmoraDatabase(*db, dir.File("Velmora.sq3"));
    engine = std::make_unique<CAcquisitionEngine>(test.context, *server, *db,
                                                  MakeAcquisitionServices(*server, test.context));
  }
  ~Rig() {
    view.reset();
    engine.reset();
    server.reset();
    CSimRuntime::Instance().Reset();
  }

  // Makes the view over the engine (a view made before is let go first) and keeps the real
  // timer out of the way: the tests tick by hand.
  void Attach() {
    MakeView();
    view->BaseTimer()->stop();
    realTimeTester = std::make_unique<QAbstractItemModelTester>(
        view->RealTimeModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    historyTester = std::make_unique<QAbstractItemModelTester>(
        view->HistoryModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
  }

  void MakeView() {
    realTimeTester.reset();
    historyTester.reset();
    view.reset();
    view = std::make_unique<COPCDataView>(*engine, test.context, [] { return std::string(); });
    view->resize(1200, 800);
  }

  COPCGroup* AddGroup(const std::string& name, DWORD rate, const std::vector<std::string>& ids) {
    return AddSimGroup(*server, name, rate, ids, true, 1);
  }

  // Base ticks one second apart, through the view's tick slot.
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) {
      test.clock.AdvanceMs(1000);
      view->OnBaseTick();
    }
  }

  QString Cell(int row, int column, int role = Qt::DisplayRole) const {
    return view->HistoryModel()->index(row, column).data(role).toString();
  }
  QColor Foreground(int row, int column) const {
    return view->HistoryModel()
        ->index(row, column)
        .data(Qt::ForegroundRole)
        .value<QBrush>()
        .color();
  }
  QString Heading(int column) const {
    return view->HistoryModel()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  }

  TempDir dir;
  TestContext test;
  std::unique_ptr<COPCServer> server;
  std::unique_ptr<CSQLite> db;
  std::unique_ptr<CAcquisitionEngine> engine;
  std::unique_ptr<COPCDataView> view;
  std::unique_ptr<QAbstractItemModelTester> realTimeTester;
  std::unique_ptr<QAbstractItemModelTester> historyTester;
  bool connected = false;
  bool databaseReady = false;
};

int Decimals(const QString& text) {
  const qsizetype dot = text.indexOf('.');
  return dot < 0 ? 0 : static_cast<int>(text.size() - dot - 1);
}

}  // namespace

class AcquisitionViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    rig = std::make_unique<Rig>();
    QVERIFY(rig->connected);
    QVERIFY(rig->databaseReady);
  }
  void cleanup() { rig.reset(); }

  void attachResetsTheViewAndShowsTheServer() {
    rig->Attach();
    QVERIFY(rig->test.sink.Contains("Clearing Historical Data ...."));
    CServerAttributesBox* box = rig->view->ServerBox();
    QCOMPARE(box->ServerId()->text(), QString(kSimServerProgId));
    QCOMPARE(box->Host()->text(), QString(kLocalHost));
    QCOMPARE(box->ConnectionStatus()->text(), QString("Connected"));
    QCOMPARE(box->ServerStatus()->text(), QString("Running"));
    QVERIFY(rig->view->BaseTimer()->interval() == 1000);
    QVERIFY(rig->view->ModeBox()->ContinuousButton()->isChecked());
    QVERIFY(!rig->view->ModeBox()->StartDate()->isEnabled());
    QVERIFY(!rig->view->StatusBox()->TimeFieldsVisible());
    QCOMPARE(rig->view->StatusBox()->Decimals()->currentText(), QString("2"));
    QCOMPARE(rig->view->HistoryModel()->columnCount(), 1);
  }

  void ticksFillBothListsWithColoursFromTheStatusBits() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8, kBadItem}));
    rig->Attach();
    QSignalSpy chart(rig->view.get(), &COPCDataView::ChartUpdate);
    QSignalSpy ticks(rig->view.get(), &COPCDataView::TickDone);
    rig->view->StartAcquisition();
    QVERIFY(rig->engine->IsRunning());
    rig->Ticks(3);
    CHistoricalDataModel* history = rig->view->HistoryModel();
    QCOMPARE(history->rowCount(), 3);
    QCOMPARE(history->columnCount(), 3);
    QCOMPARE(rig->Heading(0), QString("OPC Data Acquisition Time  "));
    QCOMPARE(rig->Heading(1), QString(kRampR8));
    QCOMPARE(rig->Heading(2), QString(kBadItem));
    QVERIFY(rig->Cell(2, 0).contains("/Dec/2026 10:00:03"));
    QCOMPARE(rig->Cell(2, 1).toStdString(), std::string(rig->engine->History().Row(2)->Cell(1)));
    QCOMPARE(rig->Foreground(2, 1), QColor(Qt::black));
    QCOMPARE(rig->Foreground(2, 2), QColor(255, 0, 0));  // 0x0000FF is red
    QCOMPARE(chart.count(), 3);
    QCOMPARE(chart.last().at(0).toUInt(), 1000u);
    QCOMPARE(ticks.count(), 3);

    CRealTimeDataModel* realTime = rig->view->RealTimeModel();
    QCOMPARE(realTime->rowCount(), 2);
    QCOMPARE(realTime->index(0, RealTimeDataList::kQualifiedId).data().toString(),
             QString(kRampR8));
    QCOMPARE(realTime->index(0, RealTimeDataList::kValue).data().toString(), rig->Cell(2, 1));
    QCOMPARE(realTime->index(1, RealTimeDataList::kQuality).data().toString(),
             QString::fromStdString(QualityText(1, 0x1C)));

    CAcquisitionStatusBox* status = rig->view->StatusBox();
    QVERIFY(status->TimeFieldsVisible());
    QVERIFY(QRegularExpression("^\\d+ msec$").match(status->AcquisitionTime()->text()).hasMatch());
    QCOMPARE(status->DataSetCount()->text(), QString("3"));
    QCOMPARE(status->NextAcquisition()->text(), QString("07/12/2026 10:00:04.000"));
    // Fitted to the contents while the list is short.
    QVERIFY(rig->view->HistoryTable()->columnWidth(1) >=
            rig->view->HistoryTable()->horizontalHeader()->sectionSizeHint(1));
  }

  void rowsRewrittenByTheInterpolationAreRepainted() {
    QVERIFY(rig->AddGroup("Fast", 1000, {"Signals.Counter.I4"}));
    QVERIFY(rig->AddGroup("Slow", 3000, {kRampR8}));
    rig->Attach();
    rig->view->StartAcquisition();
    rig->Ticks(3);
    QCOMPARE(rig->Cell(1, 2), QString());
    QSignalSpy changed(rig->view->HistoryModel(), &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(rig->view->HistoryModel(), &QAbstractItemModel::rowsInserted);
    rig->Ticks(1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex().row(), 1);
    QCOMPARE(changed.first().at(1).toModelIndex().row(), 2);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.first().at(1).toInt(), 3);
    QVERIFY(!rig->Cell(1, 2).isEmpty());
    QCOMPARE(rig->Foreground(1, 2), QColor(0x54, 0x98, 0xE1));  // interpolated
  }

  void tabWalksThroughTheControlsInOrder() {
    rig->Attach();
    rig->view->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig->view.get()));
    CAcquisitionModeBox* mode = rig->view->ModeBox();
    QTest::mouseClick(mode->TimeControlledButton(), Qt::LeftButton);
    const QList<QWidget*> expected = {mode->StartDate(),
                                      mode->StartTime(),
                                      mode->EndDate(),
                                      mode->EndTime(),
                                      rig->view->StatusBox()->Decimals(),
                                      rig->view->RealTimeTable(),
                                      rig->view->HistoryTable()};
    mode->TimeControlledButton()->setFocus();
    QWidget* previous = mode->TimeControlledButton();
    for (QWidget* next : expected) {
      // Inside a date or time picker, Tab first walks through its sections.
      for (int section = 0; section < 3 && QApplication::focusWidget() != nullptr &&
                            (QApplication::focusWidget() == previous ||
                             previous->isAncestorOf(QApplication::focusWidget()));
           ++section) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      previous = next;
      QWidget* focus = QApplication::focusWidget();
      // The pickers take the focus on their line edit.
      QVERIFY2(focus == next || next->isAncestorOf(focus),
               qPrintable(QString("expected %1, got %2")
                              .arg(next->metaObject()->className(),
                                   focus ? focus->metaObject()->className() : "none")));
    }
  }

  void theModeButtonsAreDisabledWhileRunningAndStopWithCancelKeepsRunning() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->Attach();
    QSignalSpy states(rig->view.get(), &COPCDataView::CommandStatesChanged);
    QSignalSpy running(rig->view.get(), &COPCDataView::RunningChanged);
    CAcquisitionModeBox* mode = rig->view->ModeBox();
    QVERIFY(mode->ContinuousButton()->isEnabled());
    rig->view->StartAcquisition();
    QVERIFY(!mode->ContinuousButton()->isEnabled());
    QVERIFY(!mode->TimeControlledButton()->isEnabled());
    QVERIFY(states.count() > 0);
    QCOMPARE(running.count(), 1);
    QCOMPARE(running.last().at(0).toBool(), true);
    rig->Ticks(2);

    rig->test.prompt.reportAnswers.push_back(2);  // Cancel
    rig->view->StopAcquisition();
    QVERIFY(rig->test.prompt.HasReportTitled("Confirmation Request"));
    QVERIFY(rig->engine->IsRunning());
    QVERIFY(!mode->ContinuousButton()->isEnabled());
    QVERIFY(rig->view->StatusBox()->TimeFieldsVisible());
    rig->Ticks(1);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 3);

    rig->test.prompt.reportAnswers.push_back(1);  // Ok
    rig->view->StopAcquisition();
    QVERIFY(!rig->engine->IsRunning());
    QVERIFY(mode->ContinuousButton()->isEnabled());
    QVERIFY(!rig->view->StatusBox()->TimeFieldsVisible());
    QCOMPARE(running.last().at(0).toBool(), false);
    rig->Ticks(2);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 3);

    rig->view->ResumeAcquisition();
    rig->Ticks(2);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 5);
    QVERIFY(rig->test.sink.Contains("Data Acquistion Resumed"));
  }

  void headingsFollowTheIdentifierCommands() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8, kBadItem}));
    rig->Attach();
    QSignalSpy headings(rig->view.get(), &COPCDataView::HeadingsChanged);
    rig->view->StartAcquisition();
    rig->Ticks(2);
    QSignalSpy resets(rig->view->HistoryModel(), &QAbstractItemModel::modelReset);
    rig->view->ShowShortId();
    QCOMPARE(settings::Read(rig->test.settings, settings::kTagDisplayType), 1);
    QCOMPARE(rig->Heading(1), QString("G01_A001"));
    QCOMPARE(rig->Heading(2), QString("G01_A002"));
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 2);
    QCOMPARE(resets.count(), 0);  // only the headings changed
    rig->view->ShowFullyQualifiedId();
    QCOMPARE(settings::Read(rig->test.settings, settings::kTagDisplayType), 0);
    QCOMPARE(rig->Heading(1), QString(kRampR8));
    QCOMPARE(headings.count(), 2);

    // The setting also decides the headings of the next acquisition.
    rig->view->ShowShortId();
    rig->test.prompt.reportAnswers.push_back(1);
    rig->view->StopAcquisition();
    rig->view->StartAcquisition();
    QCOMPARE(rig->Heading(2), QString("G01_A002"));
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 0);
  }

  void aDecimalsChoiceChangesOnlyTheNewTexts() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->Attach();
    rig->view->StartAcquisition();
    rig->Ticks(1);
    QComboBox* decimals = rig->view->StatusBox()->Decimals();
    decimals->setFocus();
    QTest::keyClick(decimals, Qt::Key_Down);
    QTest::keyClick(decimals, Qt::Key_Down);
    QCOMPARE(decimals->currentText(), QString("4"));
    QCOMPARE(rig->engine->Decimals(), 4);
    QCOMPARE(settings::Read(rig->test.settings, settings::kDecimalNbr), 4);
    QVERIFY(rig->test.sink.Contains("New Value: 4 Decinal Numbers . Warning"));
    rig->Ticks(1);
    QCOMPARE(Decimals(rig->Cell(0, 1)), 2);
    QCOMPARE(Decimals(rig->Cell(1, 1)), 4);
  }

  void aColourCommandWritesTheSettingAndRepaints() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8, kBadItem}));
    rig->Attach();
    rig->view->StartAcquisition();
    rig->Ticks(1);
    QString askedTitle;
    QColor offered;
    rig->view->SetColourChooser([&](const QColor& initial, const QString& title) {
      offered = initial;
      askedTitle = title;
      return std::optional<QColor>(QColor(0, 128, 0));
    });
    QSignalSpy changed(rig->view->HistoryModel(), &QAbstractItemModel::dataChanged);
    QSignalSpy states(rig->view.get(), &CVelmoraView::CommandStatesChanged);
    rig->view->OnCommand(CommandId::kBadQualityColour);
    QCOMPARE(askedTitle, QString("Bad Data Quality"));
    QCOMPARE(offered, QColor(255, 0, 0));
    QCOMPARE(settings::Read(rig->test.settings, settings::kBadQualityColor), 0x008000);
    QCOMPARE(rig->Foreground(0, 2), QColor(0, 128, 0));
    QVERIFY(changed.count() > 0);
    // The command bar's swatch shows the colour in force.
    QCOMPARE(states.count(), 1);
    QCOMPARE(rig->view->CommandState(CommandId::kBadQualityColour).swatch, QColor(0, 128, 0));

    // 0x00BBGGRR: blue in the high byte.
    rig->view->SetColourChooser(
        [](const QColor&, const QString&) { return std::optional<QColor>(QColor(1, 2, 3)); });
    rig->view->OnCommand(CommandId::kStandardColour);
    QCOMPARE(settings::Read(rig->test.settings, settings::kStandardColor), 0x030201);
    QCOMPARE(rig->Foreground(0, 1), QColor(1, 2, 3));

    // A cancelled choice changes nothing.
    rig->view->SetColourChooser([](const QColor&, const QString&) { return std::nullopt; });
    rig->view->OnCommand(CommandId::kInactiveGroupColour);
    rig->view->OnCommand(CommandId::kInterpolatedColour);
    QCOMPARE(settings::Read(rig->test.settings, settings::kInactiveColor), 0x404040);
    QCOMPARE(settings::Read(rig->test.settings, settings::kInterpolatedColor), 0xE19854);
    QCOMPARE(states.count(), 2);
    QCOMPARE(rig->view->CommandState(CommandId::kInactiveGroupColour).swatch, QColor(64, 64, 64));
  }

  void theColoursAreReadFromTheSettingsAtAttach() {
    settings::Write(rig->test.settings, settings::kBadQualityColor, 0xFF0000);  // blue
    QVERIFY(rig->AddGroup("Group01", 1000, {kBadItem}));
    rig->Attach();
    rig->view->StartAcquisition();
    rig->Ticks(1);
    QCOMPARE(rig->Foreground(0, 1), QColor(0, 0, 255));
    QCOMPARE(rig->view->CommandState(CommandId::kBadQualityColour).swatch, QColor(0, 0, 255));
  }

  void theTimeControlledModeTakesTheWindowFromThePickers() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->Attach();
    CAcquisitionModeBox* mode = rig->view->ModeBox();
    QTest::mouseClick(mode->TimeControlledButton(), Qt::LeftButton);
    QCOMPARE(rig->engine->Window().Mode(), kTimeControlledAcquisition);
    QVERIFY(rig->test.sink.Contains("OPC Data Acquisition Type Changed to Time-Controlled"));
    QVERIFY(mode->StartDate()->isEnabled() && mode->EndTime()->isEnabled());

    // Starts 5 s from now, ends 30 s later: the end moves to start + 60 s.
    const QDateTime start = PickerNow(rig->test.clock).addSecs(5);
    mode->SetWindowStart(start);
    mode->SetWindowEnd(start.addSecs(30));
    rig->view->StartAcquisition();
    QCOMPARE(rig->engine->Window().Start(), rig->test.clock.SecondsSince1970() + 5);
    QCOMPARE(mode->EndDate()->date(), start.addSecs(60).date());
    QCOMPARE(mode->EndTime()->time(), start.addSecs(60).time());
    QVERIFY(!mode->ContinuousButton()->isEnabled());

    rig->Ticks(4);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 0);
    QVERIFY(!rig->view->StatusBox()->TimeFieldsVisible());
    rig->Ticks(1);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 1);
    QVERIFY(rig->view->StatusBox()->TimeFieldsVisible());
    rig->Ticks(61);
    QVERIFY(!rig->engine->IsRunning());
    QVERIFY(mode->TimeControlledButton()->isEnabled());
    QVERIFY(!rig->view->StatusBox()->TimeFieldsVisible());

    QTest::mouseClick(mode->ContinuousButton(), Qt::LeftButton);
    QCOMPARE(rig->engine->Window().Mode(), kContinuousAcquisition);
    QVERIFY(!mode->StartDate()->isEnabled());
    QVERIFY(rig->test.sink.Contains("OPC Data Acquisition Type Changed to Continuous Acquisition"));
  }

  void aFailedReadStopsAndRefreshesTheServerAttributes() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->Attach();
    rig->view->StartAcquisition();
    rig->Ticks(1);
    CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
    rig->test.prompt.reportAnswers.push_back(1);  // the read error report
    rig->Ticks(1);
    QVERIFY(!rig->engine->IsRunning());
    QVERIFY(rig->test.prompt.HasReportTitled("OPC Data Read Error"));
    QCOMPARE(rig->view->ServerBox()->ConnectionStatus()->text(), QString("Not Connected"));
    QCOMPARE(rig->view->ServerBox()->ServerStatus()->text(), QString());
    QVERIFY(rig->view->ModeBox()->ContinuousButton()->isEnabled());
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 1);
  }

  void aTickFromTheChartNoticeIsAWholeCycleOfItsOwn() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->Attach();
    // The chart notice comes once the engine's tick is over: a tick from there (an event
    // loop the chart runs) is a cycle of its own, with its own data set and notice.
    int notices = 0;
    bool inner = false;
    connect(rig->view.get(), &COPCDataView::ChartUpdate, rig->view.get(), [&] {
      ++notices;
      if (inner)
        return;
      inner = true;
      rig->test.clock.AdvanceMs(1000);
      rig->view->OnBaseTick();
      inner = false;
    });
    rig->view->StartAcquisition();
    rig->Ticks(3);
    QCOMPARE(notices, 6);
    QCOMPARE(rig->engine->DataSetCount(), 6);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 6);
  }

  void aReportOfTheTickIsShownAfterTheCycleAndTicksGoOnMeanwhile() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->Attach();
    rig->view->StartAcquisition();
    rig->Ticks(2);
    // The database goes away: the storage report comes after the tick, the acquisition
    // already stopped and its end recorded; a tick while it is open finds nothing to do.
    QVERIFY(QFile::remove(rig->dir.File("Velmora.sq3").c_str()));
    bool stoppedWhenAsked = false;
    int ticksWhileOpen = 0;
    rig->test.prompt.reportAnswers.push_back(1);
    rig->test.prompt.onReport = [&](const ReportRequest&) {
      stoppedWhenAsked = !rig->engine->IsRunning();
      rig->test.clock.AdvanceMs(1000);
      rig->view->OnBaseTick();
      ++ticksWhileOpen;
    };
    rig->Ticks(1);
    QVERIFY(rig->test.prompt.HasReportTitled("OPC Data Storage Error"));
    QVERIFY(stoppedWhenAsked);
    QCOMPARE(ticksWhileOpen, 1);
    QCOMPARE(rig->test.prompt.reports.size(), size_t{1});
    QVERIFY(rig->test.sink.Contains("Data Acquistion Stopped"));
  }

  void clearAndResetEmptyTheLists() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8, kBadItem}));
    rig->Attach();
    rig->view->StartAcquisition();
    rig->Ticks(6);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 6);

    rig->test.prompt.reportAnswers.push_back(1);
    rig->view->ClearOpcData();  // confirmed: stops, clears and resumes
    QVERIFY(rig->engine->IsRunning());
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 0);
    QCOMPARE(rig->view->HistoryModel()->columnCount(), 3);
    rig->Ticks(5);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 5);

    // The close-project sequence stops first, then resets.
    rig->engine->Stop(false);
    rig->view->ResetView();
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 0);
    QCOMPARE(rig->view->HistoryModel()->columnCount(), 1);
    QCOMPARE(rig->view->RealTimeModel()->rowCount(), 0);
    QCOMPARE(rig->view->StatusBox()->DataSetCount()->text(), QString());
    QVERIFY(!rig->view->StatusBox()->TimeFieldsVisible());
    QVERIFY(rig->test.sink.Contains("Clear Data Terminated ... 5 Data Set Cleared in"));
    QVERIFY(rig->view->ModeBox()->ContinuousButton()->isEnabled());
  }

  void alwaysShowLastKeepsTheLastRowVisible() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->Attach();
    rig->view->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig->view.get()));
    QSignalSpy toggled(rig->view.get(), &COPCDataView::AlwaysShowLastChanged);
    rig->view->StartAcquisition();
    rig->Ticks(120);
    QTableView* table = rig->view->HistoryTable();
    auto lastVisible = [table] { return table->rowAt(table->viewport()->height() - 2); };
    QCOMPARE(lastVisible(), 119);
    rig->view->ToggleAlwaysShowLast();
    QVERIFY(!rig->view->AlwaysShowLast());
    QCOMPARE(toggled.last().at(0).toBool(), false);
    table->scrollToTop();
    rig->Ticks(2);
    QCOMPARE(table->rowAt(0), 0);
    rig->view->ToggleAlwaysShowLast();
    QVERIFY(rig->view->AlwaysShowLast());
    QCOMPARE(lastVisible(), 121);
  }

  void aViewLetGoNoLongerListensAndANewOneShowsTheAcquisition() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->Attach();
    rig->view->StartAcquisition();
    rig->realTimeTester.reset();
    rig->historyTester.reset();
    rig->view.reset();
    rig->test.clock.AdvanceMs(1000);
    ShowNotices(rig->test.prompt, rig->engine->Tick().notices);  // the engine goes on alone
    QCOMPARE(rig->engine->DataSetCount(), 1);

    // Made again in the middle of the acquisition: nothing is reset.
    rig->Attach();
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 1);
    QVERIFY(!rig->view->ModeBox()->ContinuousButton()->isEnabled());
    rig->Ticks(1);
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 2);

    // A stopped acquisition that may be resumed is kept too.
    rig->engine->Stop(false);
    rig->Attach();
    QCOMPARE(rig->view->HistoryModel()->rowCount(), 2);
    QVERIFY(rig->view->ModeBox()->ContinuousButton()->isEnabled());
    QVERIFY(!rig->view->StatusBox()->TimeFieldsVisible());
  }

  void theBaseTimerDrivesTheEngine() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8}));
    rig->MakeView();
    QVERIFY(rig->view->BaseTimer()->isActive());
    rig->view->BaseTimer()->setInterval(10);
    rig->view->StartAcquisition();
    QTRY_VERIFY(rig->engine->DataSetCount() >= 1);
  }

  void thePickersAndTheEngineAgreeOnTheWindow() {
    // A clock one hour ahead of UTC: the pickers show local time, the engine keeps UTC.
    FakeClock clock(LocalTime{2026, 12, 7, 10, 0, 0, 0, 1}, 60);
    const QDate date(2026, 12, 7);
    const int64_t seconds = WindowSecondsFromPickers(date, QTime(10, 0, 30), clock);
    QCOMPARE(seconds, clock.SecondsSince1970() + 30);
    const QDateTime back = PickerTimeFromWindowSeconds(seconds + 60, clock);
    QCOMPARE(back, QDateTime(date, QTime(10, 1, 30)));
    QCOMPARE(PickerNow(clock), QDateTime(date, QTime(10, 0, 0)));
  }

  void theViewLooksTidy() {
    QVERIFY(rig->AddGroup("Group01", 1000, {kRampR8, kBadItem, "Signals.Counter.I4"}));
    QVERIFY(rig->AddGroup("Group02", 3000, {"Signals.Ramp.BSTR", "Signals.Sine.R4"}));
    rig->Attach();
    rig->view->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig->view.get()));
    rig->view->StartAcquisition();
    rig->Ticks(8);
    // The history table takes most of the height.
    QVERIFY(rig->view->HistoryTable()->height() * 10 >= rig->view->RealTimeTable()->height() * 14);
    const QPixmap shot = rig->view->grab();
    QVERIFY(!shot.isNull());
    const QByteArray folder = qgetenv("VELMORA_VIEW_SHOT_DIR");
    if (!folder.isEmpty())
      QVERIFY(shot.save(QDir(QString::fromLocal8Bit(folder)).filePath("acquisition_view.png")));
  }

 private:
  std::unique_ptr<Rig> rig;
};

QTEST_MAIN(AcquisitionViewTest)
#include "acquisition_view_test.moc"
