// The catalogue: listing and its order, details, repair, deletion with compaction.
#include "explorer/acquisition_catalogue.h"

#include "explorer/catalogue_statements.h"
#include "explorer/explorer_reports.h"
#include "explorer_fixture.h"

namespace {

std::string Value(int row, int column) {
  return Format("%d.%d", row, column);
}

class CatalogueTest : public ExplorerTest {
 protected:
  CAcquisitionCatalogue catalogue{db, test.context};
};

TEST_F(CatalogueTest, EmptyCatalogueSelectsNothing) {
  EXPECT_EQ(catalogue.Refresh().ValueOr(-1), 0);
  EXPECT_EQ(catalogue.SelectedAcquisitionId(), kNoAcquisitionId);
  ASSERT_EQ(catalogue.Catalogue().Columns().size(), 1u);
  EXPECT_EQ(catalogue.Catalogue().Columns()[0].title, "Empty Table");
  EXPECT_EQ(catalogue.Catalogue().Cell(0, 0), "There is No Data to Show ...");
  EXPECT_EQ(catalogue.Delete(kNoAcquisitionId), DeleteResult::kNoSelection);
  EXPECT_TRUE(test.prompt.reports.empty());
}

TEST_F(CatalogueTest, AListThatCannotBeFilledIsAFailureNotAnEmptyCatalogue) {
  db.SetPath(dir.File("no such folder/Velmora.sq3"));
  EXPECT_EQ(catalogue.Refresh().Status(), DbStatus::kOpenFailed);
  EXPECT_EQ(catalogue.List().Status(), DbStatus::kOpenFailed);
  EXPECT_EQ(catalogue.RowCount(), 0);
  // A file without the catalogue's table.
  db.SetPath(dir.File("Other.sq3"));
  ASSERT_EQ(db.ExecSQL("CREATE TABLE t( a);", SqlRun().Opening().Closing()), DbStatus::kOk);
  EXPECT_EQ(catalogue.List().Status(), DbStatus::kNotPrepared);
  EXPECT_EQ(catalogue.RowCount(), 0);
}

TEST_F(CatalogueTest, ListsDetailsAndCounts) {
  const int id = Record(Configuration({{"A", "B", "C"}, {"D", "E"}}, true), 3, Value);
  EXPECT_EQ(catalogue.Refresh().ValueOr(-1), 1);
  EXPECT_EQ(catalogue.SelectedAcquisitionId(), id);
  const CatalogueDetails& details = catalogue.Details();
  EXPECT_EQ(details.serverId, "Velmora.SimServer.1");
  EXPECT_EQ(details.host, "Local Host");
  EXPECT_EQ(details.start, "07/Dec/2026 10:00:00.000");
  EXPECT_EQ(details.end, "07/Dec/2026 10:00:02.000");
  EXPECT_EQ(details.groups, 2);
  EXPECT_EQ(details.acquiredItems, 3);
  EXPECT_EQ(details.calculatedItems, 2);
  EXPECT_EQ(catalogue.Items().Cell(4, 1), "E");
  EXPECT_EQ(catalogue.Catalogue().Cell(0, kCatDataCount), "3");
  EXPECT_TRUE(test.prompt.reports.empty());
}

TEST_F(CatalogueTest, AcquisitionStartSortsByTheNumericSumOfItsTexts) {
  const auto configuration = Configuration({{"A"}});
  const int first = Record(configuration, 1, Value);
  const int second = Record(configuration, 1, Value);
  const int third = Record(configuration, 1, Value);
  // Calendar order would be first, second, third; the sum reads the leading numbers of
  // the texts only: 10 + 5, 2 + 20 and 3 + 1.
  SqliteExec(path, Format("UPDATE OPCAcq SET OPCAcq_StartDate='10/Jan/2026', "
                          "OPCAcq_StartTime='05:00:00.000' WHERE OPCAcq_Id=%d;"
                          "UPDATE OPCAcq SET OPCAcq_StartDate='02/Feb/2026', "
                          "OPCAcq_StartTime='20:00:00.000' WHERE OPCAcq_Id=%d;"
                          "UPDATE OPCAcq SET OPCAcq_StartDate='03/Mar/2027', "
                          "OPCAcq_StartTime='01:00:00.000' WHERE OPCAcq_Id=%d;",
                          first, second, third));
  EXPECT_EQ(catalogue.SetSortChoice(kCatalogueSortByStart).ValueOr(-1), 3);
  const auto& rows = catalogue.Catalogue().Rows();
  EXPECT_EQ(rows[0].itemData, third);
  EXPECT_EQ(rows[1].itemData, first);
  EXPECT_EQ(rows[2].itemData, second);
  EXPECT_NE(CatalogueStatement(kCatalogueSortByStart)
                .find("ORDER BY OPCAcq_StartDate + "
                      "OPCAcq_StartTime"),
            std::string::npos);
  EXPECT_STREQ(CatalogueSortExpression(99), "OPCAcq_Id");
}

TEST_F(CatalogueTest, RepairSetsEndAndCountFromTheRows) {
  const int id = Record(Configuration({{"A", "B"}}), 500, Value, nullptr, false);
  EXPECT_EQ(Scalar("SELECT OPCAcq_EndDate FROM OPCAcq"), "Undefined");
  EXPECT_EQ(catalogue.Refresh().ValueOr(-1), 1);  // the first row is selected and repaired
  EXPECT_EQ(Scalar(Format("SELECT OPCAcq_EndDate || '|' || OPCAcq_EndTime || '|' || "
                          "OPCAcq_DataCount FROM OPCAcq WHERE OPCAcq_Id=%d",
                          id)),
            "07/Dec/2026|10:08:19.000|500");
  EXPECT_EQ(catalogue.Catalogue().Cell(0, kCatEndTime), "10:08:19.000");
  EXPECT_EQ(catalogue.Catalogue().Cell(0, kCatDataCount), "500");
  EXPECT_TRUE(test.sink.Contains("UPDATE OPCAcq SET OPCAcq_EndDate", kLogProjects));
  EXPECT_TRUE(test.prompt.reports.empty());
  // A complete acquisition is left alone.
  EXPECT_EQ(db.OpenFile(), DbStatus::kOk);
  EXPECT_EQ(catalogue.Repair(), RepairResult::kComplete);
  db.Close();
}

TEST_F(CatalogueTest, RepairWithoutRowsReportsTheUpdateError) {
  Record(Configuration({{"A"}}), 0, Value, nullptr, false);
  catalogue.Refresh();
  ASSERT_EQ(test.prompt.reports.size(), 1u);
  const ReportRequest& report = test.prompt.reports[0];
  EXPECT_EQ(report.title, kUpdateErrorTitle);
  EXPECT_NE(report.body.find("Acquisition Data Count: {\\b 0} "), std::string::npos);
  EXPECT_NE(report.body.find("Acquisition End Date and Time: {\\b Undefined}"), std::string::npos);
  EXPECT_NE(report.body.find("Velmora 2.0 is Unable to Update Project Data"), std::string::npos);
  EXPECT_EQ(Scalar("SELECT OPCAcq_DataCount FROM OPCAcq"), "-1");
}

TEST_F(CatalogueTest, DeletingTheRunningAcquisitionIsRefused) {
  const int id = Record(Configuration({{"A"}}), 2, Value);
  catalogue.Refresh();
  EXPECT_EQ(catalogue.Delete(id), DeleteResult::kRejected);
  ASSERT_EQ(test.prompt.reports.size(), 1u);
  EXPECT_EQ(test.prompt.reports[0].title, kRejectionTitle);
  EXPECT_NE(test.prompt.reports[0].body.find("Active Project Id (Acquisition Running): {\\b 1}"),
            std::string::npos);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqData"), "2");
}

TEST_F(CatalogueTest, DeletionCompactsAndReportsTheSizes) {
  const auto configuration = Configuration({{"A", "B"}});
  const int first = Record(configuration, 200, Value);
  const int second = Record(configuration, 3, Value);
  catalogue.Refresh();
  ASSERT_EQ(catalogue.SelectedAcquisitionId(), first);

  test.prompt.reportAnswers = {2};  // Cancel
  EXPECT_EQ(catalogue.Delete(kNoAcquisitionId), DeleteResult::kCancelled);
  EXPECT_EQ(test.prompt.reports.back().title, kConfirmationTitle);
  EXPECT_NE(test.prompt.reports.back().body.find("Number of Data Acquired: {\\b 200}"),
            std::string::npos);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqData"), "203");

  test.sink.Clear();
  EXPECT_EQ(catalogue.Delete(kNoAcquisitionId), DeleteResult::kDeleted);
  EXPECT_EQ(Scalar(Format("SELECT COUNT(*) FROM OPCAcqData WHERE OPCAcq_Id=%d", first)), "0");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqItem"), "2");
  EXPECT_EQ(Scalar(Format("SELECT COUNT(*) FROM OPCAcqData WHERE OPCAcq_Id=%d", second)), "3");
  EXPECT_TRUE(test.sink.Contains("Executing SQL Transaction: BEGIN TRANSACTION;", kLogProjects));
  EXPECT_TRUE(test.sink.Contains("SQL Query Executed in", kLogProjects));
  EXPECT_TRUE(test.sink.Contains("Database Compress Successfully ...", kLogProjects));
  const std::vector<std::string> lines = test.sink.Messages(kLogProjects);
  bool sizeLine = false;
  for (const std::string& line : lines) {
    if (line.rfind("Original Database Size: ", 0) == 0 &&
        line.find(" bytes  Database Size After Project Removal: ") != std::string::npos)
      sizeLine = true;
  }
  EXPECT_TRUE(sizeLine) << test.sink.Dump();
  // The selection stays at its index: the row now there.
  EXPECT_EQ(catalogue.RowCount(), 1);
  EXPECT_EQ(catalogue.SelectedAcquisitionId(), second);
}

TEST(CatalogueTextTest, FileSizeGroupsThreeDigits) {
  EXPECT_EQ(FileSizeText(0), "0.000.000 bytes");
  EXPECT_EQ(FileSizeText(81920), "0.081.920 bytes");
  EXPECT_EQ(FileSizeText(1234567), "1.234.567 bytes");
  EXPECT_EQ(FileSizeText(2000001005), "2000.001.005 bytes");
}

TEST_F(CatalogueTest, AnAcquisitionBeingRecordedIsShownAndNeitherRepairedNorDeleted) {
  // Another recorder (a program of its own, as far as the lock goes) is still at it.
  CAcquisitionRecorder recorder(db);
  int id = -1;
  ASSERT_TRUE(recorder.RecordStart(Configuration({{"A"}}), id));
  ASSERT_EQ(db.OpenExistingFile(), DbStatus::kOk);
  for (int row = 0; row < 4; ++row) {
    DataSet set(TimeText(row), 1);
    int64_t rowId = kNoDataRowId;
    ASSERT_EQ(recorder.StoreDataSet(id, true, CompactDataSet(set), rowId), StoreResult::kStored);
  }
  db.Close();

  EXPECT_EQ(catalogue.Refresh().ValueOr(-1),
            1);  // selects the row: no repair of a running recording
  EXPECT_TRUE(catalogue.IsBeingRecorded(0));
  EXPECT_EQ(catalogue.Catalogue().Cell(0, kCatEndDate), "Being Recorded");
  EXPECT_EQ(Scalar("SELECT OPCAcq_DataCount || OPCAcq_EndDate FROM OPCAcq"), "-1Undefined");
  EXPECT_TRUE(test.prompt.reports.empty());
  EXPECT_EQ(catalogue.ViewData(0), id);
  EXPECT_EQ(Scalar("SELECT OPCAcq_DataCount FROM OPCAcq"), "-1");

  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  EXPECT_EQ(catalogue.Repair(true), RepairResult::kRecording);
  db.Close();
  ASSERT_EQ(test.prompt.reports.size(), 1u);
  EXPECT_EQ(test.prompt.reports[0].title, kRejectionTitle);
  EXPECT_NE(test.prompt.reports[0].body.find("Being Recorded"), std::string::npos);

  EXPECT_EQ(catalogue.Delete(kNoAcquisitionId), DeleteResult::kRejected);
  ASSERT_EQ(test.prompt.reports.size(), 2u);
  EXPECT_EQ(test.prompt.reports[1].title, kRejectionTitle);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqData"), "4");

  // Once the recording has ended, it is an ordinary acquisition again.
  ASSERT_TRUE(recorder.RecordEnd(id, TimeText(3), 4));
  EXPECT_EQ(catalogue.Refresh().ValueOr(-1), 1);
  EXPECT_FALSE(catalogue.IsBeingRecorded(0));
  EXPECT_EQ(catalogue.Catalogue().Cell(0, kCatEndDate), "07/Dec/2026");
  EXPECT_EQ(catalogue.Delete(kNoAcquisitionId), DeleteResult::kDeleted);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqData"), "0");
}

}  // namespace
