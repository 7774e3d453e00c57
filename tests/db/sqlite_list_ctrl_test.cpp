// CSQLite::UpdateListCtrl in its plain and keyed forms.
#include <gtest/gtest.h>

#include "../platform/comma_locale.h"
#include "db/recording_list_control.h"
#include "db/sqlite_db.h"
#include "db_test_util.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

class FillListTest : public ::testing::Test {
 protected:
  FillListTest() {
    RawConnection raw(path);
    raw.Exec(
        "CREATE TABLE t(id INTEGER, name TEXT, level FLOAT, note TEXT);"
        "INSERT INTO t VALUES(11, 'Boiler', 0.5, NULL);"
        "INSERT INTO t VALUES(42, 'Pump', 12.25, 'spare');"
        "CREATE TABLE empty(a);");
    db.SetPath(path);
  }
  // Opened first and closed after.
  DbResult<int> Fill(const std::string& statement, ListCtrlForm form = ListCtrlForm::kPlain) {
    return db.UpdateListCtrl(statement, list, form, SqlRun{true, true});
  }
  TempDir dir;
  std::string path = dir.File("Velmora.sq3");
  TestContext ctx;
  CSQLite db{ctx.context};
  CRecordingListControl list;
};

TEST_F(FillListTest, PlainFormShowsEveryColumnFormattedByType) {
  list.AddColumn("stale", 10);
  list.AddRow("stale row", 9);
  EXPECT_EQ(Fill("SELECT id, name AS 'Item Name', level, note FROM t ORDER BY id").Value(), 2);
  ASSERT_EQ(list.Columns().size(), 4u);
  EXPECT_EQ(list.Columns()[0].title, "id");
  EXPECT_EQ(list.Columns()[1].title, "Item Name");
  for (const auto& column : list.Columns()) {
    EXPECT_EQ(column.width, 50);
    EXPECT_EQ(column.align, ListAlign::kLeft);
  }
  ASSERT_EQ(list.Rows().size(), 2u);
  EXPECT_EQ(list.Rows()[0].cells,
            (std::vector<std::string>{"11", "Boiler", "0.500000", "NULL Field"}));
  EXPECT_EQ(list.Rows()[1].cells, (std::vector<std::string>{"42", "Pump", "12.250000", "spare"}));
  EXPECT_EQ(list.Rows()[0].itemData, 0);
  EXPECT_EQ(list.FitCount(), 1);
  EXPECT_EQ(list.Columns()[1].fittedWidth, 9);  // the header is wider than the cells
  EXPECT_FALSE(db.IsOpen());
  // It always logs, on channel 0.
  EXPECT_EQ(ctx.sink.Messages(0),
            (std::vector<std::string>{"Executing SQL Transaction: SELECT id, name AS 'Item Name', "
                                      "level, note FROM t ORDER BY id",
                                      "SQL Query Executed in 0 msec."}));
}

TEST_F(FillListTest, KeyedFormHidesTheKeyAndKeepsItAsItemData) {
  EXPECT_EQ(Fill("SELECT id, name, level FROM t ORDER BY id DESC", ListCtrlForm::kKeyed).Value(),
            2);
  ASSERT_EQ(list.Columns().size(), 2u);
  EXPECT_EQ(list.Columns()[0].title, "name");
  EXPECT_EQ(list.Columns()[1].title, "level");
  ASSERT_EQ(list.Rows().size(), 2u);
  EXPECT_EQ(list.Rows()[0].itemData, 42);
  EXPECT_EQ(list.Rows()[0].cells, (std::vector<std::string>{"Pump", "12.250000"}));
  EXPECT_EQ(list.Rows()[1].itemData, 11);
  EXPECT_EQ(list.Rows()[1].cells, (std::vector<std::string>{"Boiler", "0.500000"}));
}

TEST_F(FillListTest, EmptyResultShowsTheEmptyTableRow) {
  const DbResult<int> rows = Fill("SELECT a FROM empty");
  ASSERT_TRUE(rows.Ok());
  EXPECT_EQ(rows.Value(), 0);
  ASSERT_EQ(list.Columns().size(), 1u);
  EXPECT_EQ(list.Columns()[0].title, "Empty Table");
  EXPECT_EQ(list.Columns()[0].width, 50);
  ASSERT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.Rows()[0].cells, (std::vector<std::string>{"There is No Data to Show ..."}));
  EXPECT_EQ(list.Columns()[0].fittedWidth, 28);
  EXPECT_EQ(list.FitCount(), 1);
}

TEST_F(FillListTest, FloatsKeepThePointInACommaLocale) {
  const CCommaLocale comma;
  if (!comma.Active())
    GTEST_SKIP() << "no de_DE.UTF-8 locale";
  EXPECT_EQ(Fill("SELECT level FROM t ORDER BY id").Value(), 2);
  EXPECT_EQ(list.Cell(0, 0), "0.500000");
  EXPECT_EQ(list.Cell(1, 0), "12.250000");
}

TEST_F(FillListTest, UnpreparableStatementShowsAMessageBoxAndTheEmptyTable) {
  EXPECT_EQ(Fill("SELECT * FROM nothere").Status(), DbStatus::kNotPrepared);
  EXPECT_EQ(db.LastErrorText(), "no such table: nothere");
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "SQL Error:  no such table: nothere!!!! \nSQL Statement: SELECT * FROM nothere");
  EXPECT_EQ(ctx.prompt.messages[0].buttons, MessageButtons::kOk);
  ASSERT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.Cell(0, 0), "There is No Data to Show ...");
  EXPECT_FALSE(ctx.sink.Contains("SQL Query Executed"));
}

TEST_F(FillListTest, StepErrorKeepsTheRowsShownAndReportsFailure) {
  RawConnection raw(path);
  raw.Exec("INSERT INTO t VALUES(-9223372036854775807 - 1, 'Overflow', 0, NULL);");
  EXPECT_EQ(Fill("SELECT abs(id), name FROM t ORDER BY rowid").Status(), DbStatus::kFailed);
  EXPECT_EQ(list.Rows().size(), 2u);
  EXPECT_EQ(db.LastErrorText(), "integer overflow");
  EXPECT_TRUE(ctx.sink.Contains("Step Error integer overflow", 0)) << ctx.sink.Dump();
  EXPECT_FALSE(ctx.sink.Contains("SQL Query Executed"));
}

TEST(RecordingListControl, KeepsCellsAndPrintsThem) {
  CRecordingListControl list;
  list.AddColumn("A", 50);
  list.AddColumn("Bee", 50, ListAlign::kRight);
  const int row = list.AddRow("1", 7);
  list.SetCell(row, 1, "two");
  list.SetCell(5, 0, "ignored");  // no such row
  list.FitColumns();
  EXPECT_EQ(list.Columns()[0].fittedWidth, 1);
  EXPECT_EQ(list.Columns()[1].fittedWidth, 3);
  EXPECT_EQ(list.ToText(), "A\tBee\n1\ttwo\n");
  EXPECT_EQ(list.Cell(0, 3), "");
  list.Clear();
  EXPECT_TRUE(list.Rows().empty());
  EXPECT_TRUE(list.Columns().empty());
  EXPECT_EQ(list.ClearCount(), 1);
}

}  // namespace
