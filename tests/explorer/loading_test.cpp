// Loading recorded rows into the compact table: decoding, marks and colours, the worker,
// and rows of any length.
#include <thread>

#include "acquisition/value_text.h"
#include "explorer/acquisition_loader.h"
#include "explorer/explorer_reports.h"
#include "explorer/project_data.h"
#include "explorer_fixture.h"

namespace {

class LoadingTest : public ExplorerTest {
 protected:
  CProjectData data{db, test.context};
};

TEST_F(LoadingTest, MarksGiveTheColoursAndBadQualityWins) {
  const int id = Record(
      Configuration({{"A", "B", "C"}}), 1,
      [](int, int column) { return column == 1   ? "12.5"
                                   : column == 2 ? "7"
                                                 : "x"; },
      [](int, int column) -> uint8_t { return column == 2   ? 5
                                              : column == 3 ? 6
                                                            : 0; });
  ASSERT_TRUE(data.LoadNow(id));
  const CRecordingPages& table = data.Recording();
  ASSERT_EQ(table.RowCount(), 1);
  ASSERT_EQ(table.ColumnCount(), 4);
  EXPECT_EQ(table.ColumnTitle(0), "OPC Acquisition Time");
  EXPECT_EQ(table.ColumnTitle(2), "B");
  EXPECT_EQ(table.Cell(0, 0), "07/Dec/2026 10:00:00.000");
  EXPECT_EQ(table.Cell(0, 1), "12.5");
  EXPECT_EQ(table.Cell(0, 2), "7");
  const DataColours colours = ProjectDataColours(test.settings);
  EXPECT_EQ(CellColour(table.Status(0, 1), colours), 0u);
  EXPECT_EQ(CellColour(table.Status(0, 2), colours), 255u);
  // Inactive plus interpolated: this view's own grey, not the InactiveColor setting.
  EXPECT_EQ(CellColour(table.Status(0, 3), colours), 8421504u);
  EXPECT_EQ(data.Summary().updateRate, 1000);
  EXPECT_EQ(data.ExpectedRows(), 1);
}

TEST_F(LoadingTest, EmptyAcquisitionLoadsOnTheWorkerWithTheSuccessText) {
  const int id = Record(Configuration({{"A", "B"}}), 0, [](int, int) { return ""; });
  ASSERT_TRUE(data.StartLoad(id));
  data.WaitForLoad();
  EXPECT_EQ(data.Job().State(), kJobFinished);
  EXPECT_EQ(data.Recording().RowCount(), 0);
  EXPECT_EQ(data.Recording().ColumnCount(), 3);
  EXPECT_EQ(data.ProgressText(data.Job().State()),
            Format("Loading Project Data Successfully (0 Data Set Loaded in %d msec)",
                   data.Job().ElapsedMs()));
  EXPECT_FALSE(data.NeedsLoad(id));
  EXPECT_TRUE(data.NeedsLoad(id + 1));
  EXPECT_TRUE(data.NeedsLoad(-1));
}

TEST_F(LoadingTest, WorkerReadsEveryRowAndReportsProgress) {
  const int id = Record(Configuration({{"A", "B"}}), 300,
                        [](int row, int column) { return Format("%d-%d", row, column); });
  ASSERT_TRUE(data.StartLoad(id));
  data.WaitForLoad();
  EXPECT_EQ(data.Job().Done(), 300);
  EXPECT_EQ(data.Recording().RowCount(), 300);
  EXPECT_EQ(data.Recording().Cell(299, 2), "299-2");
  EXPECT_EQ(LoadingProgressText(12, 300), "Loading Project Data 12 of 300 ...");
}

TEST_F(LoadingTest, MissingDatabaseFailsTheLoadAndLogsIt) {
  const int id = Record(Configuration({{"A"}}), 1, [](int, int) { return "1"; });
  CAcquisitionLoader loader;
  CLoadedTable table;
  table.Reset({"OPC Acquisition Time", "A"});
  ASSERT_TRUE(loader.Start(dir.File("missing.sq3"), id, 1, table));
  loader.Wait();
  EXPECT_EQ(loader.Job().State(), kJobFailed);
  EXPECT_EQ(loader.Job().ErrorText(), kLoadOpenFailed);
  EXPECT_EQ(table.RowCount(), 0);
}

TEST_F(LoadingTest, MissingSummaryReportsAndLoadsWithNoExpectedRows) {
  ASSERT_TRUE(data.LoadNow(42));
  ASSERT_EQ(test.prompt.reports.size(), 1u);
  EXPECT_EQ(test.prompt.reports[0].title, kRetrievalErrorTitle);
  EXPECT_NE(test.prompt.reports[0].body.find("Number of Data to Retrieve: {\\b 7} "
                                             "\\par Number of Data Retrieved: {\\b 0}"),
            std::string::npos);
  EXPECT_EQ(data.ExpectedRows(), 0);
  EXPECT_EQ(data.Recording().ColumnCount(), 1);
}

TEST_F(LoadingTest, RowLongerThanFiveThousandBytesLoadsWhole) {
  // 256 columns of 40 characters: over 10 000 bytes of value text per row.
  std::vector<std::string> names;
  for (int i = 0; i < 256; ++i)
    names.push_back(Format("Item%d", i));
  const int id = Record(Configuration({names}), 2, [](int row, int column) {
    return Format("%d:%d:", row, column) + std::string(32, static_cast<char>('a' + column % 26));
  });
  ASSERT_TRUE(data.LoadNow(id));
  const CRecordingPages& table = data.Recording();
  ASSERT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.Cell(1, 256), "1:256:" + std::string(32, static_cast<char>('a' + 256 % 26)));
  EXPECT_EQ(table.Cell(0, 1), "0:1:" + std::string(32, 'b'));
}

TEST_F(LoadingTest, StringValuesComeBackWithTheirSemicolonsAndPercents) {
  const int id = Record(Configuration({{"S", "T"}}), 1, [](int, int column) {
    return column == 1 ? std::string("a;b,c %3B 100%") : std::string("%25;");
  });
  ASSERT_TRUE(data.LoadNow(id));
  EXPECT_EQ(data.Recording().Cell(0, 1), "a;b,c %3B 100%");
  EXPECT_EQ(data.Recording().Cell(0, 2), "%25;");
}

TEST(DecodeValueTextTest, AgreesWithTheStoredFormat) {
  DataSet row("t", 5);
  row.SetCell(1, "1.00");
  row.SetCell(3, "x;y%z");
  row.SetCell(5, "ON");
  row.OrStatus(2, 2);
  row.OrStatus(5, 7);
  const std::string text = OPCAcqValueText(row);
  std::vector<StoredValueField> fields;
  ASSERT_TRUE(SplitValueText(text, fields));
  CLoadedTable table;
  table.Reset({"t", "1", "2", "3", "4", "5"});
  CLoadedTable::CRowBuilder builder;
  builder.Begin("t");
  DecodeValueTextInto(text, builder);
  table.AppendRow(builder);
  ASSERT_EQ(fields.size(), 5u);
  for (int column = 1; column <= 5; ++column) {
    EXPECT_EQ(table.Cell(0, column), fields[static_cast<size_t>(column - 1)].text);
    EXPECT_EQ(table.Status(0, column), fields[static_cast<size_t>(column - 1)].status);
  }
  // An encoded character after plain cells: the row is decoded again from its start.
  builder.Begin("v");
  DecodeValueTextInto("1.00;;x%3By%25;2;;;", builder);
  table.AppendRow(builder);
  EXPECT_EQ(table.Cell(1, 1), "1.00");
  EXPECT_EQ(table.Cell(1, 2), "x;y%");
  EXPECT_EQ(table.Status(1, 2), 2);
  EXPECT_EQ(table.Cell(1, 3), "");
  EXPECT_EQ(builder.Cells(), 4);
  // A text cut short keeps the cells before the cut.
  builder.Begin("u");
  DecodeValueTextInto("1;;2;4;3", builder);
  table.AppendRow(builder);
  EXPECT_EQ(table.Cell(2, 2), "2");
  EXPECT_EQ(table.Status(2, 2), 4);
  EXPECT_EQ(table.Cell(2, 3), "");
}

TEST(LoadedTableTest, ReadersSeeCompleteRowsWhileTheWriterAppends) {
  CLoadedTable table;
  table.Reset({"t", "a"});
  std::thread writer([&table] {
    CLoadedTable::CRowBuilder row;
    for (int i = 0; i < 20000; ++i) {
      row.Begin(std::to_string(i));
      row.AddCell(std::to_string(i * 2), 1);
      table.AppendRow(row);
    }
  });
  int checked = 0;
  while (checked < 20000) {
    const int rows = table.RowCount();
    for (; checked < rows; ++checked)
      ASSERT_EQ(table.Cell(checked, 1), std::to_string(checked * 2));
  }
  writer.join();
  EXPECT_EQ(table.Status(19999, 1), 1);
  EXPECT_EQ(table.Cell(19999, 5), "");
}

}  // namespace
