// CSQLite: open, scripts, query cells, one-value queries, table listing, error texts.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "db/recording_list_control.h"
#include "db/sql_format.h"
#include "db/sqlite_db.h"
#include "db_test_util.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

class CountingFeedback : public IDbFeedback {
 public:
  void BeginWait() override { ++begins; }
  void EndWait() override { ++ends; }
  void ErrorBeep() override { ++beeps; }
  int begins = 0;
  int ends = 0;
  int beeps = 0;
};

class SQLiteTest : public ::testing::Test {
 protected:
  SQLiteTest() {
    db.SetPath(path);
    db.SetFeedback(&feedback);
  }
  // Creates table t with the given rows through a second connection.
  void MakeTable(const std::string& script) {
    RawConnection raw(path);
    ASSERT_EQ(raw.Exec(script), SQLITE_OK);
  }

  TempDir dir;
  std::string path = dir.File("Velmora.sq3");
  TestContext ctx;
  CountingFeedback feedback;
  CSQLite db{ctx.context};
};

TEST_F(SQLiteTest, OpenFailureIsToldApartAndLoggedOnChannelZero) {
  const std::string bad = dir.File("no such folder/Velmora.sq3");
  db.SetPath(bad);
  EXPECT_EQ(db.ExecSQL("CREATE TABLE t(a);", SqlRun{true, true, true, kLogProjects}),
            DbStatus::kOpenFailed);
  ASSERT_EQ(ctx.sink.lines.size(), 1u) << ctx.sink.Dump();
  EXPECT_EQ(ctx.sink.lines[0].channel, 0);
  EXPECT_EQ(ctx.sink.Messages()[0],
            "Error Opening Database " + bad + ": unable to open database file ");
  EXPECT_FALSE(db.IsOpen());

  std::vector<QueryCell> cells;
  EXPECT_EQ(db.GetQueryData("SELECT 1", {}, cells, SqlRun{true, true, true}).Status(),
            DbStatus::kOpenFailed);
  EXPECT_EQ(db.QueryInt64("SELECT 1", {}, SqlRun{true, true}).Status(), DbStatus::kOpenFailed);
  EXPECT_EQ(db.HasRow("SELECT 1", {}, SqlRun{true, true}).Status(), DbStatus::kOpenFailed);
  EXPECT_EQ(db.OpenExistingFile(), DbStatus::kOpenFailed);
  CRecordingListControl list;
  EXPECT_EQ(db.UpdateListCtrl("SELECT 1", list, ListCtrlForm::kPlain, SqlRun{true, true}).Status(),
            DbStatus::kOpenFailed);
  EXPECT_TRUE(cells.empty());
  EXPECT_EQ(ctx.sink.Count("Error Opening Database"), 6);
  EXPECT_EQ(ctx.sink.Count("Executing SQL Transaction"), 0);
}

TEST_F(SQLiteTest, OpenCreatesTheFileAndReopeningDoesNotLeakTheHandle) {
  EXPECT_EQ(db.OpenFile(), DbStatus::kOk);
  sqlite3* first = db.Handle();
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(db.OpenFile(), DbStatus::kOk);  // the first handle is closed, not lost
  EXPECT_EQ(db.OpenExistingFile(), DbStatus::kOk);
  EXPECT_TRUE(std::filesystem::exists(path));
  db.Close();
  EXPECT_FALSE(db.IsOpen());
  EXPECT_TRUE(ctx.sink.lines.empty());
}

TEST_F(SQLiteTest, OpenFirstAndCloseAfterAreIndependent) {
  EXPECT_EQ(db.ExecSQL("CREATE TABLE t(a);", SqlRun().Opening()), DbStatus::kOk);
  EXPECT_TRUE(db.IsOpen());
  EXPECT_EQ(db.ExecSQL("INSERT INTO t VALUES(1);", SqlRun().Closing()), DbStatus::kOk);
  EXPECT_FALSE(db.IsOpen());
  // Without open first and without a handle the work fails instead of crashing.
  EXPECT_EQ(db.ExecSQL("INSERT INTO t VALUES(2);"), DbStatus::kFailed);
  EXPECT_EQ(db.LastResult(), SQLITE_MISUSE);
  std::vector<QueryCell> cells;
  // Nothing to prepare on without a handle.
  EXPECT_EQ(db.GetQueryData("SELECT a FROM t", {}, cells).Status(), DbStatus::kNotPrepared);
  EXPECT_TRUE(cells.empty());
  EXPECT_EQ(db.QueryInt64("SELECT COUNT(*) FROM t", {}, SqlRun().Opening().Closing()).Value(), 1);
}

TEST_F(SQLiteTest, LoggedScriptWritesStartAndTimedEndLines) {
  HookClock clock;
  clock.tickStepMs = 7;  // the clock moves on while the statement runs
  RecordingLogSink sink;
  CLog log(clock, &sink);
  AppContext context{clock, log, ctx.prompt, ctx.settings};
  CSQLite timed(context);
  timed.SetPath(path);
  EXPECT_EQ(
      timed.ExecSQL("CREATE TABLE t(a);", SqlRun::Logged(kLogDataAcquisition).Opening().Closing()),
      DbStatus::kOk);
  ASSERT_EQ(sink.lines.size(), 2u) << sink.Dump();
  EXPECT_EQ(sink.Messages()[0], "Executing SQL Transaction: CREATE TABLE t(a);");
  EXPECT_EQ(sink.Messages()[1], "SQL Query Executed in 7 msec.");
  EXPECT_EQ(sink.lines[0].channel, 1);
  EXPECT_EQ(sink.lines[1].channel, 1);
  EXPECT_EQ(timed.LastDurationMs(), 7);
}

TEST_F(SQLiteTest, FailedScriptKeepsSqlitesMessageLogsItAndBeeps) {
  EXPECT_EQ(db.ExecSQL("INSERT INTO nothere VALUES(1);", SqlRun{true, true, true, kLogProjects}),
            DbStatus::kFailed);
  EXPECT_EQ(db.LastResult(), SQLITE_ERROR);
  EXPECT_EQ(db.LastErrorText(), "no such table: nothere");
  EXPECT_TRUE(ctx.sink.Contains("SQL Query Failed: no such table: nothere ", kLogProjects));
  EXPECT_FALSE(ctx.sink.Contains("SQL Query Executed"));
  EXPECT_EQ(feedback.beeps, 1);

  // Without log: the text is kept, nothing is written, nothing beeps.
  ctx.sink.Clear();
  EXPECT_EQ(db.ExecSQL("DROP TABLE nothere;", SqlRun{true, true}), DbStatus::kFailed);
  EXPECT_EQ(db.LastErrorText(), "no such table: nothere");
  EXPECT_TRUE(ctx.sink.lines.empty());
  EXPECT_EQ(feedback.beeps, 1);

  EXPECT_EQ(db.ExecSQL("CREATE TABLE t(a);", SqlRun{true, true}), DbStatus::kOk);
  EXPECT_EQ(db.LastResult(), SQLITE_OK);
  EXPECT_EQ(db.LastErrorText(), "");
}

TEST_F(SQLiteTest, FailedTransactionScriptIsRolledBackAndTheHandleStaysUsable) {
  MakeTable("CREATE TABLE t(a);");
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  EXPECT_EQ(db.ExecSQL("BEGIN TRANSACTION; INSERT INTO t VALUES(1); INSERT INTO nothere "
                       "VALUES(2); COMMIT;"),
            DbStatus::kFailed);
  EXPECT_EQ(sqlite3_get_autocommit(db.Handle()), 1) << "transaction left open";
  EXPECT_EQ(db.ExecSQL("BEGIN TRANSACTION; INSERT INTO t VALUES(3); COMMIT;"), DbStatus::kOk);
  db.Close();
  RawConnection raw(path);
  EXPECT_EQ(raw.Value("SELECT group_concat(a) FROM t"), "3");
}

TEST_F(SQLiteTest, NoRowGivesZeroColumnsAndNoRowFromQueryInt64) {
  MakeTable("CREATE TABLE t(a INTEGER);");
  std::vector<QueryCell> cells;
  const DbResult<int> columns =
      db.GetQueryData("SELECT a FROM t", {}, cells, SqlRun{true, true, true});
  ASSERT_TRUE(columns.Ok());
  EXPECT_EQ(columns.Value(), 0);
  EXPECT_TRUE(cells.empty());
  EXPECT_EQ(db.QueryInt64("SELECT a FROM t", {}, SqlRun{true, true}).Status(), DbStatus::kNoRow);
  EXPECT_TRUE(ctx.sink.Contains("SQL Query Executed in 0 msec."));
}

TEST_F(SQLiteTest, CellsCarryNameTypeAndValueOfEveryKind) {
  std::vector<QueryCell> cells;
  ASSERT_EQ(db.GetQueryData("SELECT 7 AS Seven, 0.1 AS Tenth, 'te''xt' AS Word, NULL AS Nil, "
                            "-2147483648 AS Lowest",
                            {}, cells, SqlRun{true, true})
                .Value(),
            5);
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_EQ(cells[0].columnName, "Seven");
  EXPECT_EQ(cells[0].columnType, kCellInteger);
  EXPECT_EQ(cells[0].intValue, 7);
  EXPECT_EQ(cells[1].columnName, "Tenth");
  EXPECT_EQ(cells[1].columnType, kCellFloat);
  EXPECT_EQ(cells[2].columnType, kCellText);
  EXPECT_EQ(cells[2].text, "te'xt");
  EXPECT_EQ(cells[3].columnName, "Nil");
  EXPECT_EQ(cells[3].columnType, kCellNull);
  EXPECT_EQ(cells[3].text, "NULL Field");
  EXPECT_EQ(cells[4].intValue, -2147483647 - 1);
}

TEST_F(SQLiteTest, FloatIsNarrowedToSinglePrecision) {
  MakeTable("CREATE TABLE f(v FLOAT); INSERT INTO f VALUES(0.1); INSERT INTO f VALUES(1e300);");
  std::vector<QueryCell> cells;
  ASSERT_EQ(db.GetQueryData("SELECT v FROM f", {}, cells, SqlRun{true, true}).Value(), 1);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0].floatValue, 0.1f);
  EXPECT_NE(static_cast<double>(cells[0].floatValue), 0.1);  // really single precision
  EXPECT_TRUE(std::isinf(cells[1].floatValue));
  EXPECT_GT(cells[1].floatValue, 0.0f);
}

TEST_F(SQLiteTest, BlobColumnsProduceNoCell) {
  MakeTable(
      "CREATE TABLE b(id INTEGER, data BLOB, name TEXT);"
      "INSERT INTO b VALUES(1, x'00ff10', 'one'); INSERT INTO b VALUES(2, x'', 'two');"
      "INSERT INTO b VALUES(3, x'41', 'three');");
  std::vector<QueryCell> cells;
  EXPECT_EQ(
      db.GetQueryData("SELECT id, data, name FROM b ORDER BY id", {}, cells, SqlRun{true, true})
          .Value(),
      3);
  ASSERT_EQ(cells.size(), 6u);  // 3 rows x 2 non-blob columns
  for (const QueryCell& cell : cells)
    EXPECT_NE(cell.columnName, "data");
  EXPECT_EQ(cells[5].text, "three");
  // A lone blob column: rows but no cell, so no integer either.
  EXPECT_EQ(db.QueryInt64("SELECT data FROM b WHERE id = 1", {}, SqlRun{true, true}).Status(),
            DbStatus::kNoRow);
}

TEST_F(SQLiteTest, CellsAreAppendedToTheCallersList) {
  std::vector<QueryCell> cells(2);
  EXPECT_EQ(
      db.GetQueryData("SELECT 1, 2 UNION ALL SELECT 3, 4", {}, cells, SqlRun{true, true}).Value(),
      2);
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_EQ(cells[2].intValue, 1);
  EXPECT_EQ(cells[5].intValue, 4);
}

TEST_F(SQLiteTest, StatementThatCannotBePreparedLogsTheResultText) {
  std::vector<QueryCell> cells;
  EXPECT_EQ(
      db.GetQueryData("SELECT * FROM nothere", {}, cells, SqlRun{true, true, true, kLogProjects})
          .Status(),
      DbStatus::kNotPrepared);
  EXPECT_TRUE(cells.empty());
  EXPECT_FALSE(db.IsOpen());
  EXPECT_TRUE(ctx.sink.Contains("SQL Query Failed: SQL error or missing database ", kLogProjects))
      << ctx.sink.Dump();
  EXPECT_FALSE(ctx.sink.Contains("SQL Query Executed"));
  EXPECT_EQ(db.QueryInt64("SELECT * FROM nothere", {}, SqlRun{true, true}).Status(),
            DbStatus::kNotPrepared);
  const DbResult<bool> exists = db.HasRow("SELECT * FROM nothere", {}, SqlRun{true, true});
  ASSERT_TRUE(exists.Ok());
  EXPECT_FALSE(exists.Value());
}

TEST_F(SQLiteTest, StepErrorEndsTheLoopDropsThePartialResultAndReportsFailure) {
  MakeTable(
      "CREATE TABLE t(a INTEGER); INSERT INTO t VALUES(1); INSERT INTO t "
      "VALUES(-9223372036854775807 - 1);");
  // abs() of the lowest 64-bit integer fails on the second row, after one good row.
  std::vector<QueryCell> kept(1);
  EXPECT_EQ(
      db.GetQueryData("SELECT abs(a) FROM t ORDER BY rowid", {}, kept, SqlRun{true, true, true})
          .Status(),
      DbStatus::kFailed);
  EXPECT_EQ(kept.size(), 1u);  // the cells of the call are removed, the caller's stay
  EXPECT_FALSE(db.IsOpen());
  EXPECT_TRUE(ctx.sink.Contains("Step Error integer overflow")) << ctx.sink.Dump();
  EXPECT_FALSE(ctx.sink.Contains("SQL Query Executed"));
  EXPECT_EQ(feedback.beeps, 1);
  EXPECT_EQ(db.QueryInt64("SELECT abs(a) FROM t ORDER BY rowid", {}, SqlRun{true, true}).Status(),
            DbStatus::kFailed);
  EXPECT_EQ(db.HasRow("SELECT abs(a) FROM t ORDER BY rowid DESC", {}, SqlRun{true, true}).Status(),
            DbStatus::kFailed);
}

TEST_F(SQLiteTest, QueryInt64NeedsExactlyOneColumn) {
  MakeTable(
      "CREATE TABLE t(a INTEGER, b TEXT); INSERT INTO t VALUES(4, 'x'); INSERT INTO t "
      "VALUES(9, 'y');");
  const SqlRun once{true, true};
  EXPECT_EQ(
      db.QueryInt64("SELECT MAX(a) FROM t", {}, SqlRun{true, true, true, kLogProjects}).Value(), 9);
  EXPECT_TRUE(ctx.sink.Contains("Executing SQL Transaction: SELECT MAX(a) FROM t", kLogProjects));
  EXPECT_EQ(db.QueryInt64("SELECT a, b FROM t", {}, once).Status(), DbStatus::kNoRow);
  EXPECT_EQ(db.QueryInt64("SELECT a FROM t ORDER BY a", {}, once).Value(), 4);
  EXPECT_EQ(db.QueryInt64("SELECT MAX(a) FROM t WHERE a > 100", {}, once).Value(), 0);  // null
}

TEST_F(SQLiteTest, HasRowWithBoundValues) {
  MakeTable(
      "CREATE TABLE t(a); INSERT INTO t VALUES(1); INSERT INTO t VALUES(2); INSERT INTO t "
      "VALUES(3);");
  const SqlRun once{true, true};
  EXPECT_TRUE(db.HasRow("SELECT a FROM t WHERE a = ?", {SqlBinding::Integer(2)}, once).Value());
  EXPECT_FALSE(db.HasRow("SELECT a FROM t WHERE a = ?", {SqlBinding::Integer(5)}, once).Value());
  EXPECT_TRUE(db.HasRow("SELECT a FROM t WHERE a > 2", {}, once).Ok());
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(SQLiteTest, ExecBoundTellsABadStatementFromAFailedStep) {
  MakeTable("CREATE TABLE t(a INTEGER UNIQUE, b TEXT);");
  const std::string text = "it's";
  // No handle: nothing to prepare it on.
  EXPECT_EQ(db.ExecBound("INSERT INTO t VALUES( 1, ?)", {SqlBinding::Text(text)}),
            DbStatus::kNotPrepared);
  EXPECT_EQ(db.LastResult(), SQLITE_MISUSE);
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  EXPECT_EQ(db.ExecBound("INSERT INTO nothere VALUES( ?)", {SqlBinding::Integer(1)}),
            DbStatus::kNotPrepared);
  EXPECT_EQ(db.LastResult(), SQLITE_ERROR);
  EXPECT_EQ(db.LastErrorText(), "no such table: nothere");
  EXPECT_EQ(db.ExecBound("INSERT INTO t VALUES( 1, ?)", {SqlBinding::Text(text)}), DbStatus::kOk);
  EXPECT_EQ(db.LastResult(), SQLITE_OK);
  EXPECT_EQ(db.LastErrorText(), "");
  EXPECT_EQ(db.ExecBound("INSERT INTO t VALUES( 1, ?)", {SqlBinding::Text(text)}),
            DbStatus::kFailed);
  EXPECT_EQ(db.LastResult(), SQLITE_CONSTRAINT);
  EXPECT_EQ(db.LastErrorText(), "UNIQUE constraint failed: t.a");
  EXPECT_EQ(db.QueryInt64("SELECT COUNT(*) FROM t WHERE b = ?", {SqlBinding::Text(text)}).Value(),
            1);
  EXPECT_TRUE(ctx.sink.lines.empty()) << ctx.sink.Dump();  // never logged
}

TEST_F(SQLiteTest, ListTablesInNameOrderAndTableExistsIsCaseSensitive) {
  MakeTable(
      "CREATE TABLE Zeta(a); CREATE TABLE Config(a); CREATE TABLE alpha(a); CREATE INDEX "
      "i ON Zeta(a);");
  std::vector<std::string> tables{"stale"};
  EXPECT_EQ(db.ListTables(tables), DbStatus::kFailed);  // needs the open handle
  EXPECT_TRUE(tables.empty());
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  EXPECT_EQ(db.ListTables(tables), DbStatus::kOk);
  EXPECT_EQ(tables, (std::vector<std::string>{"Config", "Zeta", "alpha"}));
  EXPECT_TRUE(db.TableExists("Config"));
  EXPECT_FALSE(db.TableExists("config"));
  EXPECT_FALSE(db.TableExists("i"));
  EXPECT_FALSE(db.TableExists("Conf"));
}

TEST_F(SQLiteTest, EveryOperationShowsTheWaitCursorOnce) {
  MakeTable("CREATE TABLE t(a);");
  std::vector<QueryCell> cells;
  const SqlRun once{true, true};
  db.ExecSQL("INSERT INTO t VALUES(1);", once);
  db.GetQueryData("SELECT a FROM t", {}, cells, once);
  db.QueryInt64("SELECT a FROM t", {}, once);
  db.HasRow("SELECT a FROM t", {}, once);
  CRecordingListControl list;
  db.UpdateListCtrl("SELECT a FROM t", list, ListCtrlForm::kPlain, once);
  EXPECT_EQ(feedback.begins, 5);
  EXPECT_EQ(feedback.ends, 5);
}

TEST(SQLiteErrorText, CodesAndUnknowns) {
  EXPECT_STREQ(CSQLite::ErrorText(0), "Successful result");
  EXPECT_STREQ(CSQLite::ErrorText(1), "SQL error or missing database");
  EXPECT_STREQ(CSQLite::ErrorText(5), "The database file is locked");
  EXPECT_STREQ(CSQLite::ErrorText(9), "Operation terminated by sqlite3_interrupt()");
  EXPECT_STREQ(CSQLite::ErrorText(14), "Unable to open the database file");
  EXPECT_STREQ(CSQLite::ErrorText(25), "2nd parameter to sqlite3_bind out of range");
  EXPECT_STREQ(CSQLite::ErrorText(26), "File opened that is not a database file");
  EXPECT_STREQ(CSQLite::ErrorText(100), "sqlite3_step() has another row ready");
  EXPECT_STREQ(CSQLite::ErrorText(101), "sqlite3_step() has finished executing");
  EXPECT_STREQ(CSQLite::ErrorText(27), "Unknown Error");
  EXPECT_STREQ(CSQLite::ErrorText(-1), "Unknown Error");
  EXPECT_STREQ(CSQLite::ErrorText(SQLITE_IOERR_READ), "Unknown Error");
}

TEST_F(SQLiteTest, QuotedCompositionDoublesQuotesAndRoundTrips) {
  EXPECT_EQ(SqlQuoted("O'Brien's"), "O''Brien''s");
  EXPECT_EQ(SqlPrintf("SELECT %d, '%q'", 3, "it's"), "SELECT 3, 'it''s'");
  EXPECT_EQ(SqlPrintf("VALUES(%Q)", nullptr), "VALUES(NULL)");
  const std::string name = "Plant 'A'; DROP TABLE t; --";
  MakeTable("CREATE TABLE t(name TEXT);");
  EXPECT_EQ(db.ExecSQL(SqlPrintf("INSERT INTO t VALUES('%q');", name.c_str()), SqlRun{true, true}),
            DbStatus::kOk);
  std::vector<QueryCell> cells;
  ASSERT_EQ(db.GetQueryData("SELECT name FROM t", {}, cells, SqlRun{true, true}).Value(), 1);
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_EQ(cells[0].text, name);
}

}  // namespace
