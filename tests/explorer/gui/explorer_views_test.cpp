// The project explorer views on a recorded database: the catalogue with its selection and
// commands, the data view's load (once per acquisition) with its colours and clipboard,
// and the export view's preview and file.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "acquisition/acquisition_recorder.h"
#include "app/gui/main_frame.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/velmora_session.h"
#include "base/database_files.h"
#include "base/log.h"
#include "demo_session.h"
#include "explorer/acquisition_catalogue.h"
#include "explorer/catalogue_statements.h"
#include "explorer/explorer_reports.h"
#include "explorer/gui/loaded_table_model.h"
#include "explorer/gui/prj_data_view.h"
#include "explorer/gui/prj_database_view.h"
#include "explorer/gui/prj_export_view.h"
#include "explorer/project_data.h"
#include "explorer/table_text.h"
#include "sqlite_scalar.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {
// The export and clipboard texts of a recording read in pages (empty when unreadable).
std::string ExportOf(const CRecordingPages& recording, char separator) {
  std::string text;
  return ExportText(recording, separator, text) ? text : std::string();
}
std::string ClipboardOf(const CRecordingPages& recording) {
  std::string text;
  return ClipboardText(recording, text) ? text : std::string();
}
}  // namespace
#include "ui/thread_progress_dlg.h"

namespace {

namespace fs = std::filesystem;

// Records one acquisition of items A, B, C with the given rows through the recorder.
int RecordAcquisition(CSQLite& db, int rows) {
  RecordedConfiguration configuration;
  configuration.serverId = "Velmora.SimServer.1";
  configuration.host = "Local Host";
  RecordedGroup group;
  group.name = "Line 1";
  group.updateRate = 1000;
  for (const char* name : {"A", "B", "C"}) {
    RecordedItem item;
    item.qualifiedId = item.shortId = name;
    item.dataType = 5;
    group.items.push_back(item);
  }
  configuration.groups.push_back(group);
  CAcquisitionRecorder recorder(db);
  int id = -1;
  if (!recorder.RecordStart(configuration, id) || db.OpenExistingFile() != DbStatus::kOk)
    return -1;
  recorder.RecordFirstRead(id, 1000, LocalTime{2026, 12, 7, 10, 0, 0, 0, 1});
  std::string time;
  for (int row = 0; row < rows; ++row) {
    time = Format("07/Dec/2026 10:%02d:%02d.000", row / 60, row % 60);
    DataSet set(time, 3);
    set.SetCell(1, "12.5");
    set.SetCell(2, "7");
    set.SetCell(3, Format("v%d", row));
    set.OrStatus(2, 5);
    int64_t rowId = kNoDataRowId;
    recorder.StoreDataSet(id, true, CompactDataSet(set), rowId);
  }
  db.Close();
  recorder.RecordEnd(id, time, rows);
  return id;
}

// Rows first .. first + count - 1 added to acquisition id as a Resume adds them, then
// the end written as at Stop.
void ResumeAcquisition(CSQLite& db, int id, int first, int count) {
  CAcquisitionRecorder recorder(db);
  if (db.OpenExistingFile() != DbStatus::kOk)
    return;
  std::string time;
  for (int row = first; row < first + count; ++row) {
    time = Format("07/Dec/2026 10:%02d:%02d.000", row / 60, row % 60);
    DataSet set(time, 3);
    set.SetCell(3, Format("v%d", row));
    int64_t rowId = kNoDataRowId;
    recorder.StoreDataSet(id, true, CompactDataSet(set), rowId);
  }
  db.Close();
  // The Stop of that Resume (the recorder writes an end only into the file it started in).
  const size_t blank = time.find(' ');
  SqliteExec(db.Path(), Format("UPDATE OPCAcq SET OPCAcq_EndDate = '%s', OPCAcq_EndTime = '%s', "
                               "OPCAcq_DataCount = %d WHERE OPCAcq_Id = %d",
                               time.substr(0, blank).c_str(), time.substr(blank + 1).c_str(),
                               first + count, id));
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

class ExplorerViewsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    m_pDir = std::make_unique<TempDir>();
    m_pTest = std::make_unique<TestContext>();
    m_pSession = std::make_unique<CVelmoraSession>(m_pTest->context);
    QVERIFY(m_pSession->CheckDatabase(m_pDir->File("Velmora.sq3")));
  }
  void cleanup() {
    m_pSession.reset();
    m_pTest.reset();
    m_pDir.reset();
  }

  void emptyCatalogueSelectsNothingAndDisablesDelete() {
    CPrjDatabaseView view(*m_pSession);
    view.OnViewShown();
    QCOMPARE(view.SelectedAcquisitionId(), -1);
    QVERIFY(!view.CommandState(CommandId::kDeleteProject).enabled);
    auto* model = qobject_cast<QStandardItemModel*>(view.Catalogue()->model());
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("Empty Table"));
    QCOMPARE(model->item(0, 0)->text(), QString("There is No Data to Show ..."));
  }

  void catalogueSelectsShowsDetailsAndOpensTheData() {
    const int first = RecordAcquisition(m_pSession->Database(), 2);
    const int second = RecordAcquisition(m_pSession->Database(), 4);
    CPrjDatabaseView view(*m_pSession);
    view.OnViewShown();
    QCOMPARE(view.SelectedAcquisitionId(), first);
    QCOMPARE(view.Detail("Server Id")->text(), QString("Velmora.SimServer.1"));
    QCOMPARE(view.Detail("Acquired Items")->text(), QString("3"));
    QCOMPARE(view.ItemList()->model()->rowCount(), 3);
    QVERIFY(view.CommandState(CommandId::kDeleteProject).enabled);
    QCOMPARE(view.Catalogue()->model()->columnCount(), 8);  // the id is the hidden key

    view.Catalogue()->selectionModel()->setCurrentIndex(
        view.Catalogue()->model()->index(1, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QCOMPARE(view.SelectedAcquisitionId(), second);
    QCOMPARE(view.Detail("Acquisition End")->text(), QString("07/Dec/2026 10:00:03.000"));

    QSignalSpy opened(&view, &CPrjDatabaseView::ViewProjectDataRequested);
    emit view.Catalogue()->doubleClicked(view.Catalogue()->model()->index(0, 2));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toInt(), first);
    view.SortChoice()->setCurrentIndex(4);  // by count: still two rows, the same selection row
    QCOMPARE(view.Catalogue()->model()->rowCount(), 2);
  }

  void deletingTheSelectedAcquisitionAsksAndRefreshes() {
    RecordAcquisition(m_pSession->Database(), 2);
    const int second = RecordAcquisition(m_pSession->Database(), 3);
    CPrjDatabaseView view(*m_pSession);
    view.OnViewShown();
    m_pTest->prompt.reportAnswers = {1};
    view.OnCommand(CommandId::kDeleteProject);
    QVERIFY(m_pTest->prompt.HasReportTitled(kConfirmationTitle));
    QCOMPARE(view.Catalogue()->model()->rowCount(), 1);
    QCOMPARE(view.SelectedAcquisitionId(), second);
    QVERIFY(m_pTest->sink.Contains("Database Compress Successfully ...", kLogProjects));
  }

  void anAcquisitionBeingRecordedIsShownNeitherRepairedNorDeleted() {
    // A recorder that has not stopped: to the recording lock, another program.
    RecordedConfiguration configuration;
    configuration.serverId = "Velmora.SimServer.1";
    configuration.host = "Local Host";
    configuration.groups.push_back({"Line 1", 1000, {{"A", "A", "", 5, 0}}});
    CSQLite& db = m_pSession->Database();
    CAcquisitionRecorder recorder(db);
    int id = -1;
    QVERIFY(recorder.RecordStart(configuration, id));
    QCOMPARE(db.OpenExistingFile(), DbStatus::kOk);
    for (int row = 0; row < 3; ++row) {
      DataSet set(Format("07/Dec/2026 10:00:%02d.000", row), 1);
      int64_t rowId = kNoDataRowId;
      QVERIFY(recorder.StoreDataSet(id, true, CompactDataSet(set), rowId) == StoreResult::kStored);
    }
    db.Close();

    CPrjDatabaseView view(*m_pSession);
    view.OnViewShown();
    QCOMPARE(view.SelectedAcquisitionId(), id);
    auto* model = qobject_cast<QStandardItemModel*>(view.Catalogue()->model());
    QCOMPARE(model->item(0, kCatEndDate)->text(), QString("Being Recorded"));
    QVERIFY(m_pTest->prompt.reports.empty());  // no "repair" of a running recording
    QCOMPARE(SqliteScalar(db.Path(), "SELECT OPCAcq_DataCount FROM OPCAcq"), std::string("-1"));

    m_pTest->prompt.reportAnswers.push_back(1);  // the rejection
    view.OnCommand(CommandId::kDeleteProject);
    QVERIFY(m_pTest->prompt.HasReportTitled(kRejectionTitle));
    QVERIFY(!m_pTest->prompt.HasReportTitled(kConfirmationTitle));
    QCOMPARE(SqliteScalar(db.Path(), "SELECT COUNT(*) FROM OPCAcqData"), std::string("3"));
    QVERIFY(recorder.RecordEnd(id, "07/Dec/2026 10:00:02.000", 3));
  }

  void dataViewLoadsOnceWithColoursAndCopies() {
    const int id = RecordAcquisition(m_pSession->Database(), 3);
    CPrjDataView view(*m_pSession);
    QAbstractItemModelTester tester(view.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    view.SetAcquisitionId(id);
    view.show();
    view.OnViewShown();
    QCOMPARE(view.LoadCount(), 0);  // after the show delay
    QTRY_COMPARE_WITH_TIMEOUT(view.LoadCount(), 1, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!view.IsLoading(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(view.Model()->rowCount(), 3, 5000);
    QVERIFY(view.ProgressWindow() != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(view.ProgressWindow() == nullptr ||
                                 view.ProgressWindow()->Text().startsWith(
                                     "Loading Project Data Successfully (3 Data Set Loaded in"),
                             3000);
    QCOMPARE(view.Summary("Data Count")->text(), QString("3"));
    QCOMPARE(view.Model()->columnCount(), 4);
    QCOMPARE(view.Model()->headerData(1, Qt::Horizontal).toString(), QString("A"));
    const QModelIndex plain = view.Model()->index(0, 1);
    const QModelIndex marked = view.Model()->index(0, 2);
    QCOMPARE(plain.data().toString(), QString("12.5"));
    QCOMPARE(marked.data().toString(), QString("7"));
    QCOMPARE(plain.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 0));
    QCOMPARE(marked.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));

    view.OnViewShown();  // the same acquisition again: kept
    QTest::qWait(CPrjDataView::kShowDelayMs + 200);
    QCOMPARE(view.LoadCount(), 1);

    view.DataTable()->setFocus();
    QTest::keyClick(view.DataTable(), Qt::Key_C, Qt::ControlModifier);
    const QString text = QGuiApplication::clipboard()->text();
    QVERIFY(text.startsWith("OPC Acquisition Time,A,B,C,\r\n"));
    QCOMPARE(text, QString::fromStdString(ClipboardOf(view.Data()->Recording())));
    QVERIFY(m_pTest->sink.Contains("Velmora Project Data Copied Successfully to Clipboard in",
                                   kLogProjects));
  }

  void emptyAcquisitionLoadsWithTheSuccessText() {
    const int id = RecordAcquisition(m_pSession->Database(), 0);
    CPrjDataView view(*m_pSession);
    view.SetAcquisitionId(id);
    view.Load();
    QTRY_VERIFY_WITH_TIMEOUT(!view.IsLoading(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(
        view.ProgressWindow() == nullptr || view.ProgressWindow()->Text().startsWith(
                                                "Loading Project Data Successfully (0 Data Set"),
        3000);
    QCOMPARE(view.Model()->rowCount(), 0);
  }

  void exportViewPreviewsAndWritesTheFile() {
    const int id = RecordAcquisition(m_pSession->Database(), 2);
    CPrjDataView data(*m_pSession);
    CPrjExportView view(*m_pSession, data);
    view.SetAcquisitionId(id);
    view.OnViewShown();  // the data view loads it first
    QTRY_COMPARE_WITH_TIMEOUT(view.PreviewedAcquisitionId(), id, 5000);
    QAbstractItemModel* preview = view.PreviewList()->model();
    QAbstractItemModelTester previewTester(preview,
                                           QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(preview->rowCount(), 3);
    QCOMPARE(preview->index(0, 0).data().toString(), QString("OPC Acquisition Time;A;B;C"));
    QCOMPARE(view.RowCountLabel()->text(), QString("2 Row(s)"));
    QVERIFY(
        m_pTest->sink.Contains("Velmora Project Data (2 Data Set with 4 Tags) Loaded "
                               "Successfully in 0 sec.",
                               kLogProjects));
    view.AlignedBox()->setChecked(true);
    QCOMPARE(preview->index(1, 0).data().toString(),
             QString("07/Dec/2026 10:00:00.000 | 12.5 | 7 | v0"));
    view.CommaButton()->setChecked(true);

    const std::string path = m_pDir->File("VelmoraExport.csv");
    std::ofstream(path) << "old content that is longer than the export";
    m_pTest->prompt.fileAnswers = {path};
    QVERIFY(view.Export());
    const FileRequest& request = m_pTest->prompt.fileRequests.back();
    QCOMPARE(QString::fromStdString(request.title),
             QString("Save Velmora Project Export Data File"));
    QCOMPARE(QString::fromStdString(request.initialPath),
             QString::fromStdString(m_pDir->File("VelmoraExport.csv")));
    QCOMPARE(ReadFile(path), ExportOf(data.Data()->Recording(), ','));
    QVERIFY(ReadFile(path).find(" | ") == std::string::npos);
    QVERIFY(
        m_pTest->sink.Contains("Velmora Project Data Exported Successfully to File", kLogProjects));

    m_pTest->prompt.fileAnswers = {m_pDir->File("missing/VelmoraExport.csv")};
    m_pTest->prompt.reportAnswers = {1};  // the export error report
    QVERIFY(!view.Export());
    QVERIFY(m_pTest->prompt.HasReportTitled(kExportErrorTitle));
    QVERIFY(m_pTest->prompt.reports.back().body.find("Cause: {\\b File Not Found} ") !=
            std::string::npos);
  }

  // The database (or a side file of it) typed in the save dialog: refused with the export
  // report, the database left as it was, nothing logged as exported.
  void exportOntoTheDatabaseIsRefused() {
    const int id = RecordAcquisition(m_pSession->Database(), 2);
    CPrjDataView data(*m_pSession);
    CPrjExportView view(*m_pSession, data);
    view.SetAcquisitionId(id);
    view.OnViewShown();
    QTRY_COMPARE_WITH_TIMEOUT(view.PreviewedAcquisitionId(), id, 5000);
    const std::string database = m_pSession->Database().Path();
    const std::string before = ReadFile(database);
    QVERIFY(!before.empty());
    fs::create_directory(m_pDir->Path() / "sub");
    for (const std::string& target :
         {database, m_pDir->File("sub/../Velmora.sq3"), database + "-journal", database + "-wal",
          database + ".lock"}) {
      m_pTest->prompt.fileAnswers = {target};
      m_pTest->prompt.reportAnswers.push_back(1);  // the export report
      QVERIFY(!view.Export());
      QVERIFY(m_pTest->prompt.HasReportTitled(kExportErrorTitle));
      QVERIFY2(m_pTest->prompt.reports.back().body.find(kDatabaseTargetCause) != std::string::npos,
               target.c_str());
      QCOMPARE(ReadFile(database), before);
    }
    QVERIFY(!m_pTest->sink.Contains("Velmora Project Data Exported Successfully", kLogProjects));
  }

  void dataViewMarksAndTellsRowsThatCannotBeRead() {
    const int id = RecordAcquisition(m_pSession->Database(), 3);
    QCOMPARE(SqliteExec(m_pDir->File("Velmora.sq3"),
                        Format("UPDATE OPCAcqData SET OPCAcqData_Value = randomblob(300) WHERE "
                               "OPCAcqData_Id = (SELECT MIN(OPCAcqData_Id) + 1 FROM OPCAcqData "
                               "WHERE OPCAcq_Id = %d)",
                               id)),
             SQLITE_OK);
    CPrjDataView view(*m_pSession);
    view.SetAcquisitionId(id);
    m_pTest->prompt.reportAnswers.push_back(1);  // the retrieval report
    view.Load();
    QTRY_VERIFY_WITH_TIMEOUT(!view.IsLoading(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(m_pTest->prompt.HasReportTitled(kRetrievalErrorTitle), 3000);
    QVERIFY(m_pTest->prompt.reports.back().body.find("1 of 3 data sets could not be read") !=
            std::string::npos);
    QCOMPARE(view.DamageLabel()->text(), QString("1 of 3 data sets could not be read"));
    QVERIFY(!view.DamageLabel()->isHidden());
    QVERIFY(view.ProgressWindow() == nullptr ||
            view.ProgressWindow()->Text() == "1 of 3 data sets could not be read");
    QCOMPARE(view.Model()->rowCount(), 3);
    QVERIFY(view.Model()->headerData(1, Qt::Vertical).toString().contains("(not read)"));
    QCOMPARE(view.Model()->headerData(0, Qt::Vertical).toString(), QString("1"));
    QCOMPARE(view.Model()->index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(),
             QColor(255, 0, 0));
    QCOMPARE(view.Model()->index(1, 1).data().toString(), QString());
    QCOMPARE(view.Model()->index(2, 3).data().toString(), QString("v2"));
  }

  void viewsLoadAgainWhenTheAcquisitionGrew() {
    const int id = RecordAcquisition(m_pSession->Database(), 3);
    CPrjDataView data(*m_pSession);
    CPrjExportView view(*m_pSession, data);
    data.SetAcquisitionId(id);
    view.SetAcquisitionId(id);
    view.OnViewShown();
    QTRY_COMPARE_WITH_TIMEOUT(view.PreviewedAcquisitionId(), id, 5000);
    QCOMPARE(data.LoadCount(), 1);
    QCOMPARE(view.RowCountLabel()->text(), QString("3 Row(s)"));

    ResumeAcquisition(m_pSession->Database(), id, 3, 4);
    // The export never writes the rows of before: it loads first, then writes.
    const std::string path = m_pDir->File("VelmoraExport.csv");
    m_pTest->prompt.fileAnswers = {path};
    QVERIFY(!view.Export());
    QTRY_VERIFY_WITH_TIMEOUT(m_pTest->prompt.fileAnswers.empty(), 5000);
    QCOMPARE(data.LoadCount(), 2);
    QCOMPARE(data.Data()->Recording().RowCount(), 7);
    QCOMPARE(ReadFile(path), ExportOf(data.Data()->Recording(), ';'));
    QCOMPARE(view.RowCountLabel()->text(), QString("7 Row(s)"));

    // The data view shown again after another Resume loads again; unchanged, it does not.
    ResumeAcquisition(m_pSession->Database(), id, 7, 2);
    data.OnViewShown();
    QTRY_COMPARE_WITH_TIMEOUT(data.LoadCount(), 3, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!data.IsLoading(), 5000);
    QCOMPARE(data.Summary("Data Count")->text(), QString("9"));
    QTRY_COMPARE_WITH_TIMEOUT(data.Model()->rowCount(), 9, 3000);
    data.OnViewShown();
    QTest::qWait(CPrjDataView::kShowDelayMs + 200);
    QCOMPARE(data.LoadCount(), 3);
  }

  void frameOpensTheSelectedAcquisitionFromTheCatalogue() {
    m_pSession.reset();
    QTemporaryDir settingsDir;
    SetVelmoraSettingsDirectory(settingsDir.path());
    DemoSessionRig rig(QString::fromStdString(m_pDir->File("Frame.sq3")));
    QVERIFY(rig.Start());
    RecordAcquisition(rig.session->Database(), 1);
    const int second = RecordAcquisition(rig.session->Database(), 2);
    CMainFrame& frame = rig.Frame();
    frame.ChooseEntry(NavigationEntry::kVelmoraProjects);
    CPrjDatabaseView* catalogue = frame.DatabaseView();
    QCOMPARE(frame.ActiveView(), catalogue);
    QCOMPARE(catalogue->Catalogue()->model()->rowCount(), 2);
    emit catalogue->Catalogue()->doubleClicked(catalogue->Catalogue()->model()->index(1, 0));
    auto* data = qobject_cast<CPrjDataView*>(frame.View(VelmoraView::kPrjData));
    QCOMPARE(frame.ActiveView(), data);
    QCOMPARE(data->AcquisitionId(), second);
    QTRY_COMPARE_WITH_TIMEOUT(data->LoadCount(), 1, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!data->IsLoading(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(data->Model()->rowCount(), 2, 3000);
    frame.ChooseEntry(NavigationEntry::kExportProjectData);
    auto* exporter = qobject_cast<CPrjExportView*>(frame.View(VelmoraView::kPrjExport));
    QCOMPARE(exporter->PreviewedAcquisitionId(), second);
    QCOMPARE(data->LoadCount(), 1);  // the export reads the table already loaded
    rig.session->Detach();
  }

 private:
  std::unique_ptr<TempDir> m_pDir;
  std::unique_ptr<TestContext> m_pTest;
  std::unique_ptr<CVelmoraSession> m_pSession;
};

QTEST_MAIN(ExplorerViewsTest)
#include "explorer_views_test.moc"
