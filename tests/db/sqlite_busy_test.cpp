// A database locked by another connection is waited out with short, varied pauses in real
// time, given up after the bound as a failed step, or at once when interrupted.
#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "db/recording_list_control.h"
#include "db/row_ids.h"
#include "db/sqlite_db.h"
#include "db_test_util.h"
#include "recording_log_sink.h"
#include "scripted_user_prompt.h"
#include "temp_dir.h"

namespace {

constexpr char kBusyGetQueryData[] = "Hit SQLITE_BUSY in CSQLite GetQueryData";

class BusyTest : public ::testing::Test {
 protected:
  BusyTest() {
    RawConnection setup(path);
    setup.Exec("CREATE TABLE t(a); INSERT INTO t VALUES(1); INSERT INTO t VALUES(2);");
    db.SetPath(path);
    db.SetWaitClock(&clock);
  }
  // Another program takes the write lock: nobody else may read until it commits.
  void Lock() { ASSERT_EQ(locker.Exec("BEGIN EXCLUSIVE;"), SQLITE_OK); }

  TempDir dir;
  std::string path = dir.File("Velmora.sq3");
  HookClock clock;
  RecordingLogSink sink;
  CLog log{clock, &sink};
  ScriptedUserPrompt prompt;
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
  CSQLite db{context};
  RawConnection locker{path};
};

TEST_F(BusyTest, StepGivesUpAfterTheDefaultBoundInShortVariedPauses) {
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  ASSERT_EQ(db.QueryInt64("SELECT COUNT(*) FROM t").Value(),
            2);  // schema read: the lock hits the step
  Lock();
  std::set<uint64_t> pauses;
  uint64_t before = 0;
  clock.onSleep = [&](int) {
    pauses.insert(clock.sleptMs - before);
    before = clock.sleptMs;
  };
  std::vector<QueryCell> cells;
  EXPECT_EQ(db.GetQueryData("SELECT a FROM t", {}, cells, SqlRun{false, true, true, kLogProjects})
                .Status(),
            DbStatus::kFailed);
  EXPECT_TRUE(cells.empty());
  EXPECT_EQ(clock.sleptMs, 30000u);  // the same bound
  // Pauses of 25 to 100 ms: two writers that meet once do not meet again at every retry.
  EXPECT_GE(clock.sleeps, 300);
  EXPECT_LE(clock.sleeps, 1201);
  EXPECT_GT(pauses.size(), 10u);
  EXPECT_LE(*pauses.rbegin(), 100u);
  EXPECT_EQ(sink.Count(kBusyGetQueryData, kLogProjects), clock.sleeps);
  EXPECT_TRUE(sink.Contains("Step Error database is locked", kLogProjects)) << sink.Dump();
  EXPECT_FALSE(sink.Contains("SQL Query Executed"));
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(db.BusyWaitedMs(), 30000u);
}

TEST_F(BusyTest, FreshConnectionWaitsWhileReadingTheSchemaToo) {
  Lock();
  db.SetBusyWait(5000);
  std::vector<QueryCell> cells;
  EXPECT_EQ(db.GetQueryData("SELECT a FROM t", {}, cells, SqlRun{true, true, true}).Status(),
            DbStatus::kFailed);
  EXPECT_EQ(clock.sleptMs, 5000u);
  EXPECT_EQ(sink.Count(kBusyGetQueryData), clock.sleeps);
  EXPECT_TRUE(sink.Contains("Step Error database is locked"));
}

TEST_F(BusyTest, LockReleasedDuringTheWaitLetsTheQueryFinish) {
  Lock();
  clock.onSleep = [this](int sleeps) {
    if (sleeps == 2)
      locker.Exec("COMMIT;");
  };
  std::vector<QueryCell> cells;
  EXPECT_EQ(db.GetQueryData("SELECT a FROM t", {}, cells, SqlRun{true, true, true}).Value(), 1);
  EXPECT_EQ(cells.size(), 2u);
  EXPECT_EQ(clock.sleeps, 2);
  EXPECT_EQ(sink.Count(kBusyGetQueryData), 2);
  EXPECT_TRUE(sink.Contains("SQL Query Executed"));
  EXPECT_FALSE(sink.Contains("Step Error"));
}

TEST_F(BusyTest, WithoutLogTheWaitIsStillPausedAndSaidOnce) {
  Lock();
  db.SetBusyWait(3000);
  EXPECT_EQ(db.QueryInt64("SELECT COUNT(*) FROM t", {}, SqlRun{true, true}).Status(),
            DbStatus::kFailed);
  EXPECT_EQ(clock.sleptMs, 3000u);
  ASSERT_EQ(sink.lines.size(), 1u) << sink.Dump();
  EXPECT_TRUE(
      sink.Contains("is locked by another connection: GetQueryData waits for it (at most 3 s)"));
}

TEST_F(BusyTest, EveryReadingOperationGivesUpWithAFailure) {
  Lock();
  db.SetBusyWait(2000, 500);
  EXPECT_EQ(db.HasRow("SELECT a FROM t", {}, SqlRun{true, true}).Status(), DbStatus::kFailed);
  EXPECT_EQ(db.QueryInt64("SELECT a FROM t", {}, SqlRun{true, true}).Status(), DbStatus::kFailed);
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  std::vector<std::string> tables{"stale"};
  EXPECT_EQ(db.ListTables(tables), DbStatus::kFailed);
  EXPECT_TRUE(tables.empty());
  EXPECT_EQ(db.LastErrorText(), "database is locked");
  EXPECT_FALSE(db.TableExists("t"));
  db.Close();
  CRecordingListControl list;
  EXPECT_EQ(
      db.UpdateListCtrl("SELECT a FROM t", list, ListCtrlForm::kPlain, SqlRun{true, true}).Status(),
      DbStatus::kFailed);
  EXPECT_EQ(list.Cell(0, 0), "There is No Data to Show ...");
  EXPECT_GE(sink.Count("Hit SQLITE_BUSY in CSQLite UpdateListCtrl", 0), 4);
  EXPECT_TRUE(sink.Contains("Step Error database is locked", 0));
  EXPECT_EQ(clock.sleptMs, 5u * 2000u);  // each operation waited its full bound
}

// A lock is a failure to run, not a statement that cannot be prepared, also when a fresh
// connection meets it while reading the schema.
TEST_F(BusyTest, BoundStatementsReportALockAsAFailure) {
  Lock();
  db.SetBusyWait(2000, 500);
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  EXPECT_EQ(db.ExecBound("INSERT INTO t VALUES( ?)", {SqlBinding::Integer(3)}), DbStatus::kFailed);
  EXPECT_EQ(db.LastResult(), SQLITE_BUSY);
  EXPECT_EQ(db.LastErrorText(), "database is locked");
  EXPECT_EQ(sink.Count("is locked by another connection: ExecBound waits for it (at most 2 s)"), 1);
  ASSERT_EQ(db.OpenFile(), DbStatus::kOk);
  const DbResult<int64_t> id = InsertRow(db, "INSERT INTO t VALUES( ?)", {SqlBinding::Integer(4)});
  EXPECT_EQ(id.Status(), DbStatus::kFailed);
  EXPECT_EQ(db.LastResult(), SQLITE_BUSY);
  EXPECT_EQ(clock.sleptMs, 2u * 2000u);

  // The schema read, then the lock: the step meets it.
  locker.Exec("ROLLBACK;");
  ASSERT_EQ(db.QueryInt64("SELECT COUNT(*) FROM t").Value(), 2);
  Lock();
  EXPECT_EQ(db.ExecBound("INSERT INTO t VALUES( ?)", {SqlBinding::Integer(5)}), DbStatus::kFailed);
  EXPECT_EQ(db.LastResult(), SQLITE_BUSY);
  db.Close();
  EXPECT_EQ(locker.Value("SELECT COUNT(*) FROM t"), "2");
}

TEST_F(BusyTest, ZeroBoundFailsAtOnce) {
  Lock();
  db.SetBusyWait(0);
  EXPECT_EQ(db.HasRow("SELECT a FROM t", {}, SqlRun{true, true}).Status(), DbStatus::kFailed);
  EXPECT_EQ(clock.sleeps, 0);
}

TEST_F(BusyTest, ScriptWaitsForTheLockAndGivesUpAtTheBoundWithSqlitesMessage) {
  // Another program's BEGIN IMMEDIATE: reads go on, writers wait.
  ASSERT_EQ(locker.Exec("BEGIN IMMEDIATE; INSERT INTO t VALUES(9);"), SQLITE_OK);
  const SqlRun logged{true, true, true};
  EXPECT_EQ(db.ExecSQL("INSERT INTO t VALUES(3); INSERT INTO t VALUES(4);", logged),
            DbStatus::kFailed);
  EXPECT_EQ(db.LastErrorText(), "database is locked");
  EXPECT_TRUE(sink.Contains("SQL Query Failed: database is locked "));
  EXPECT_EQ(clock.sleptMs, 30000u);
  EXPECT_EQ(sink.Count("is locked by another connection: ExecSQL waits for it"), 1);

  // Released after 8 pauses: the whole script then runs.
  clock.sleeps = 0;
  clock.onSleep = [this](int sleeps) {
    if (sleeps == 8)
      locker.Exec("ROLLBACK;");
  };
  EXPECT_EQ(db.ExecSQL("INSERT INTO t VALUES(3); INSERT INTO t VALUES(4);", logged), DbStatus::kOk);
  EXPECT_EQ(clock.sleeps, 8);
  EXPECT_EQ(locker.Value("SELECT COUNT(*) FROM t"), "4");
}

TEST(BusyRealClock, WaitsInPausesForTheBoundWithoutSpinning) {
  TempDir dir;
  const std::string path = dir.File("Velmora.sq3");
  RawConnection setup(path);
  ASSERT_EQ(setup.Exec("CREATE TABLE t(a); INSERT INTO t VALUES(1);"), SQLITE_OK);
  ASSERT_EQ(setup.Exec("BEGIN EXCLUSIVE;"), SQLITE_OK);
  SystemClock clock;
  RecordingLogSink sink;
  CLog log(clock, &sink);
  ScriptedUserPrompt prompt;
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
  CSQLite db(context);
  db.SetPath(path);
  db.SetBusyWait(300, 50);
  std::vector<QueryCell> cells;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(db.GetQueryData("SELECT a FROM t", {}, cells, SqlRun{true, true, true}).Status(),
            DbStatus::kFailed);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
  EXPECT_GE(elapsed, 290);
  EXPECT_LT(elapsed, 5000);
  const int tries = sink.Count(kBusyGetQueryData);
  EXPECT_GE(tries, 5);
  EXPECT_LE(tries, 26);  // one per pause of 12 to 50 ms: no busy loop
}

// The program's clock may be simulated; the other program holding the lock is not.
TEST(BusyRealClock, ASimulatedClockDoesNotShortenTheWait) {
  TempDir dir;
  const std::string path = dir.File("Velmora.sq3");
  RawConnection setup(path);
  ASSERT_EQ(setup.Exec("CREATE TABLE t(a); INSERT INTO t VALUES(1);"), SQLITE_OK);
  ASSERT_EQ(setup.Exec("BEGIN EXCLUSIVE;"), SQLITE_OK);
  HookClock simulated;
  RecordingLogSink sink;
  CLog log(simulated, &sink);
  ScriptedUserPrompt prompt;
  InMemorySettingsStore settings;
  AppContext context{simulated, log, prompt, settings};
  CSQLite db(context);
  db.SetPath(path);
  db.SetBusyWait(400);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(db.HasRow("SELECT a FROM t", {}, SqlRun{true, true}).Status(), DbStatus::kFailed);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
  EXPECT_GE(elapsed, 390);
  EXPECT_EQ(simulated.sleeps, 0);  // the simulated clock did not move
}

TEST(BusyRealClock, AnInterruptEndsTheWaitAtOnce) {
  TempDir dir;
  const std::string path = dir.File("Velmora.sq3");
  RawConnection setup(path);
  ASSERT_EQ(setup.Exec("CREATE TABLE t(a); INSERT INTO t VALUES(1);"), SQLITE_OK);
  ASSERT_EQ(setup.Exec("BEGIN EXCLUSIVE;"), SQLITE_OK);
  SystemClock clock;
  RecordingLogSink sink;
  CLog log(clock, &sink);
  ScriptedUserPrompt prompt;
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
  CSQLite db(context);
  db.SetPath(path);
  const auto start = std::chrono::steady_clock::now();
  db.SetWaitInterrupt([&start] {
    return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(300);
  });
  // The default bound of 30 s.
  EXPECT_EQ(db.ExecSQL("INSERT INTO t VALUES(2);", SqlRun{true, true, true}), DbStatus::kFailed);
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
  EXPECT_GE(elapsed, 300);
  EXPECT_LT(elapsed, 1000);
  EXPECT_TRUE(sink.Contains("Wait for the Velmora Database Lock Interrupted: ExecSQL Gives Up"))
      << sink.Dump();
}

}  // namespace
