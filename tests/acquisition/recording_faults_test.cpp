// Faults met while recording: every fault of the simulation servers at Start and in the
// middle of a run, and the database going away, locked, damaged or shared. Whatever
// happens, the data sets stored before the fault stay whole, the end is recorded when the
// file is still there, and nothing is claimed as stored that is not.
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "acquisition/value_text.h"
#include "engine_fixture.h"

namespace {

// Each stored data set of the file, decoded; fails the test on a row that is not whole.
std::vector<std::vector<StoredValueField>> StoredRows(const std::string& path, int columns) {
  std::vector<std::vector<StoredValueField>> rows;
  sqlite3* handle = nullptr;
  sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(handle, "SELECT OPCAcqData_Value FROM OPCAcqData ORDER BY OPCAcqData_Id", -1,
                     &statement, nullptr);
  while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
    std::string text;
    EXPECT_EQ(DecompressValueText(static_cast<const uint8_t*>(sqlite3_column_blob(statement, 0)),
                                  static_cast<size_t>(sqlite3_column_bytes(statement, 0)), text),
              0);
    std::vector<StoredValueField> fields;
    EXPECT_TRUE(SplitValueText(text, fields)) << text;
    EXPECT_EQ(static_cast<int>(fields.size()), columns) << text;
    rows.push_back(std::move(fields));
  }
  sqlite3_finalize(statement);
  sqlite3_close(handle);
  return rows;
}

class RecordingFaultTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    AddGroup("Group01", 1000, {"Signals.Ramp.R8", "Text.Semicolon"});
    server->SetShutdownHandler([this] { shutdownRequested = true; });
  }
  // Ticks as the command line does: a shutdown request stops the acquisition.
  void Run(int ticks) {
    for (int i = 0; i < ticks && engine->IsRunning(); ++i) {
      if (!shutdownRequested)
        Ticks(1);
      if (shutdownRequested && engine->IsRunning())
        engine->Stop(false);
    }
  }
  int Rows() { return std::stoi(Scalar("SELECT COUNT(*) FROM OPCAcqData")); }
  std::string End() {
    return Scalar("SELECT (OPCAcq_EndTime <> 'Undefined') || ' ' || OPCAcq_DataCount FROM OPCAcq");
  }

  bool shutdownRequested = false;
};

struct ServerFault {
  const char* name;
  std::function<void(CSimFaults&, int64_t elapsedMs)> inject;
  bool stops;
  int rowsAfter;       // data sets still stored after a mid-run injection
  const char* report;  // the report that says why, or null
};

const ServerFault kServerFaults[] = {
    {"read_error", [](CSimFaults& f, int64_t) { f.m_hrReadError = E_FAIL; }, true, 0,
     "OPC Data Read Error"},
    {"dead", [](CSimFaults& f, int64_t) { f.m_bDead = true; }, true, 0, "OPC Data Read Error"},
    {"die_after_ms", [](CSimFaults& f, int64_t elapsed) { f.m_nDieAfterMs = elapsed; }, true, 0,
     "OPC Data Read Error"},
    // The request comes with the next read, whose data set is kept.
    {"shutdown_after_ms", [](CSimFaults& f, int64_t elapsed) { f.m_nShutdownAfterMs = elapsed; },
     true, 1, nullptr},
    {"slow_read_ms", [](CSimFaults& f, int64_t) { f.m_nSlowReadMs = 300; }, false, 0, nullptr},
    {"state", [](CSimFaults& f, int64_t) { f.m_nServerState = 2; }, false, 0, nullptr},
};

TEST_F(RecordingFaultTest, EveryServerFaultAtStartAndMidRunKeepsWhatWasStored) {
  for (const ServerFault& fault : kServerFaults) {
    for (const int ticksBefore : {0, 3}) {
      SCOPED_TRACE(std::string(fault.name) + (ticksBefore == 0 ? " at Start" : " mid-run"));
      CSimRuntime::Instance().ClearFaults();
      server->RemoveAllGroups();
      ASSERT_TRUE(server->Connect(kSimServerProgId, kLocalHost, GUID_NULL));
      const uint32_t created = test.clock.TickCount();
      AddGroup("Group01", 1000, {"Signals.Ramp.R8", "Text.Semicolon"});
      ASSERT_EQ(SqliteExec(path,
                           "DELETE FROM OPCAcqData; DELETE FROM OPCAcqItem; DELETE FROM "
                           "OPCAcqGrp; DELETE FROM OPCAcq;"),
                SQLITE_OK);
      test.prompt.reports.clear();
      test.prompt.messages.clear();
      shutdownRequested = false;

      const auto inject = [&] {
        fault.inject(CSimRuntime::Instance().Faults(kSimServerProgId),
                     static_cast<int64_t>(test.clock.TickCount() - created));
      };
      if (ticksBefore == 0)
        inject();
      const bool started = engine->StartCommand();
      if (ticksBefore == 0 && !server->IsAlive()) {
        // A server that is gone at Start: refused, nothing recorded.
        EXPECT_FALSE(started);
        EXPECT_TRUE(test.prompt.HasMessageContaining("Connection to Server has been lost"));
        EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcq"), "0");
        continue;
      }
      ASSERT_TRUE(started);
      Run(ticksBefore);
      if (ticksBefore > 0)
        inject();
      Run(3);
      const int expected =
          fault.stops ? ticksBefore + (ticksBefore > 0 ? fault.rowsAfter : 0) : ticksBefore + 3;
      EXPECT_EQ(engine->IsRunning(), !fault.stops);
      if (engine->IsRunning())
        engine->Stop(false);
      if (fault.report != nullptr) {
        EXPECT_TRUE(test.prompt.HasReportTitled(fault.report));
      }
      EXPECT_EQ(Rows(), expected);
      EXPECT_EQ(End(), "1 " + std::to_string(expected));
      EXPECT_EQ(engine->Stored().Count(), engine->Counts().Acquired());
      for (const auto& row : StoredRows(path, 2))
        EXPECT_EQ(row[1].text, "Alpha;Beta;Gamma");
    }
  }
}

TEST_F(RecordingFaultTest, ALostServerWithoutReconnectionStopsAndRecordsTheEnd) {
  ASSERT_TRUE(engine->StartCommand());
  Run(2);
  CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
  Run(2);
  EXPECT_FALSE(engine->IsRunning());
  EXPECT_EQ(End(), "1 2");
  EXPECT_NE(engine->StopCause().find("800706BA"), std::string::npos);
  EXPECT_EQ(engine->StopCause().find('\n'), std::string::npos);
}

TEST_F(RecordingFaultTest, AServerRestartIsRiddenThroughInTheSameAcquisition) {
  engine->SetReconnectOnServerLoss(true);
  CSimFaults& faults = CSimRuntime::Instance().Faults(kSimServerProgId);
  faults.m_nDieAfterMs = 4500;     // dies after the fourth cycle
  faults.m_nReviveAfterMs = 6000;  // and is back 6 s later
  ASSERT_TRUE(engine->StartCommand());
  Run(5);
  EXPECT_TRUE(engine->IsRunning());
  EXPECT_TRUE(engine->Outage().IsReconnecting());
  EXPECT_EQ(engine->Attributes().connectionStatus, "Reconnecting ...");
  faults.m_nDieAfterMs = -1;  // the restarted server stays up
  Run(15);
  EXPECT_TRUE(engine->IsRunning());
  EXPECT_FALSE(engine->Outage().IsReconnecting());
  EXPECT_EQ(engine->Attributes().connectionStatus, "Connected");
  engine->Stop(false);

  EXPECT_EQ(test.sink.Count("Connection to Server has been lost ..."), 1);
  // Tries 1 s (6 s) and 2 s (8 s) after the loss fail; 5 s later (13 s) it is back.
  EXPECT_EQ(test.sink.Count("Reconnection to OPC Server Velmora.SimServer.1 on Local Host Failed"),
            2);
  EXPECT_TRUE(test.sink.Contains("Next Try in 5 s"));
  EXPECT_TRUE(test.sink.Contains("(8 s) - 8 Acquisition Cycles Missed"));
  EXPECT_EQ(engine->MissedCycles(), 8);
  EXPECT_TRUE(test.prompt.reports.empty());
  // No data set was invented for the outage: 4 before, 8 after (ticks 13 to 20).
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcq"), "1");
  EXPECT_EQ(Rows(), 12);
  EXPECT_EQ(End(), "1 12");
  const auto rows = StoredRows(path, 2);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows.back()[1].text, "Alpha;Beta;Gamma");
  EXPECT_EQ(rows.back()[1].status, 0);
}

TEST_F(RecordingFaultTest, AStartThatCannotBeRecordedIsRefusedWithSqlitesReason) {
  // A group snapshot that cannot be written: with it the columns would be misnamed.
  ASSERT_EQ(SqliteExec(path,
                       "CREATE TRIGGER refuse BEFORE INSERT ON OPCAcqGrp BEGIN SELECT "
                       "RAISE(ABORT, 'group refused'); END;"),
            SQLITE_OK);
  EXPECT_FALSE(engine->StartCommand());
  EXPECT_FALSE(engine->IsRunning());
  ASSERT_TRUE(test.prompt.HasReportTitled("Data Acquisition Start Error"));
  EXPECT_NE(test.prompt.reports.back().body.find("group refused"), std::string::npos);
  EXPECT_NE(test.prompt.reports.back().body.find(path), std::string::npos);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcq"), "0");

  // Another program holds the write lock beyond the wait: refused after the 30 s bound.
  ASSERT_EQ(SqliteExec(path, "DROP TRIGGER refuse;"), SQLITE_OK);
  sqlite3* locker = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &locker), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(locker, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr), SQLITE_OK);
  const uint32_t before = test.clock.TickCount();
  EXPECT_FALSE(engine->StartCommand());
  EXPECT_EQ(test.clock.TickCount() - before, 30000u);
  EXPECT_NE(test.prompt.reports.back().body.find("database is locked"), std::string::npos);
  sqlite3_exec(locker, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(locker);

  // A file that is not a database.
  std::ofstream(path, std::ios::trunc) << std::string(4096, 'x');
  EXPECT_FALSE(engine->StartCommand());
  EXPECT_NE(test.prompt.reports.back().body.find("file is not a database"), std::string::npos);
}

TEST_F(RecordingFaultTest, AFailedWriteStopsAndCountsOnlyTheStoredRows) {
  // The third data set cannot be written (as on a full disk).
  ASSERT_EQ(SqliteExec(path,
                       "CREATE TRIGGER full BEFORE INSERT ON OPCAcqData WHEN (SELECT "
                       "COUNT(*) FROM OPCAcqData) >= 2 BEGIN SELECT RAISE(FAIL, 'database "
                       "or disk is full'); END;"),
            SQLITE_OK);
  ASSERT_TRUE(engine->StartCommand());
  Run(5);
  EXPECT_FALSE(engine->IsRunning());
  ASSERT_TRUE(test.prompt.HasReportTitled("OPC Data Storage Error"));
  EXPECT_NE(test.prompt.reports.back().body.find("database or disk is full"), std::string::npos);
  EXPECT_EQ(engine->Counts().Acquired(), 3);
  EXPECT_EQ(engine->Stored().Count(), 2);
  EXPECT_EQ(End(), "1 2");
  EXPECT_EQ(test.sink.Count("Fail to Write OPC Data to Velmora Database !!! Cause: database or "
                            "disk is full"),
            1);
}

TEST_F(RecordingFaultTest, DamagedDataPagesStopTheAcquisitionAtTheFirstFailedWrite) {
  ASSERT_TRUE(engine->StartCommand());
  Run(3);
  const long pageSize = std::stol(Scalar("PRAGMA page_size"));
  const long root =
      std::stol(Scalar("SELECT rootpage FROM sqlite_master WHERE name = 'OPCAcqData'"));
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp((root - 1) * pageSize);
    file.write(std::string(16, '\xFF').data(), 16);
  }
  Run(3);
  EXPECT_FALSE(engine->IsRunning());
  ASSERT_TRUE(test.prompt.HasReportTitled("OPC Data Storage Error"));
  EXPECT_NE(test.prompt.reports.back().body.find("malformed"), std::string::npos);
  EXPECT_EQ(test.sink.Count("Fail to Write OPC Data to Velmora Database"), 1);
  EXPECT_EQ(engine->Stored().Count(), 3);
}

TEST_F(RecordingFaultTest, AVanishedFileStopsTheAcquisitionAndIsNotCreatedAgain) {
  ASSERT_TRUE(engine->StartCommand());
  Run(3);
  const std::string moved = dir.File("Moved.sq3");
  std::filesystem::rename(path, moved);
  Run(3);
  EXPECT_FALSE(engine->IsRunning());
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_TRUE(test.prompt.HasReportTitled("OPC Data Storage Error"));
  EXPECT_NE(test.prompt.reports.back().body.find(path), std::string::npos);
  EXPECT_EQ(engine->Counts().Acquired(), engine->Stored().Count());
  EXPECT_EQ(StoredRows(moved, 2).size(), 3u);
  EXPECT_NE(engine->StopCause().find("no longer at"), std::string::npos);
}

TEST_F(RecordingFaultTest, RepeatedLocalTimesNeverOverwriteEarlierDataSets) {
  ASSERT_TRUE(engine->StartCommand());
  Run(5);
  LocalTime back = test.clock.LocalNow();
  back.second -= 4;  // the clock goes back (a daylight-saving fall-back)
  test.clock.Set(back);
  Run(5);
  engine->Stop(false);
  EXPECT_EQ(Rows(), 10);
  EXPECT_EQ(Scalar("SELECT COUNT(*) - COUNT(DISTINCT OPCAcqData_Time) FROM OPCAcqData"), "4");
  EXPECT_EQ(End(), "1 10");
}

TEST_F(RecordingFaultTest, TwoAcquisitionsOnOneDatabaseKeepEveryDataSetApart) {
  COPCServer otherServer(test.context);
  ASSERT_TRUE(otherServer.Connect(kSimServerProgId, kLocalHost, GUID_NULL));
  COPCGroup* group = otherServer.AddGroup("Other", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  ASSERT_NE(group, nullptr);
  OPCITEMDEF def;
  def.szItemID = "Signals.Sine.R8";
  ASSERT_TRUE(AddNewItemsToGroup(otherServer, *group, {def}, {"Other_Sine"}));
  CSQLite otherDb(test.context);
  otherDb.SetPath(path);
  AcquisitionServices services;
  services.readGroup = [&otherServer](COPCGroup& g) { return ReadGroup(otherServer, g); };
  CAcquisitionEngine other(test.context, otherServer, otherDb, services);

  ASSERT_TRUE(engine->StartCommand());
  ASSERT_TRUE(other.StartCommand());
  for (int i = 0; i < 4; ++i) {
    test.clock.AdvanceMs(1000);
    ShowNotices(test.prompt, engine->Tick().notices);
    ShowNotices(test.prompt, other.Tick().notices);
  }
  engine->Stop(false);
  other.Stop(false);
  EXPECT_EQ(Scalar("SELECT group_concat(OPCAcq_DataCount) FROM OPCAcq"), "4,4");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqData WHERE OPCAcq_Id = 2"), "4");
  EXPECT_EQ(Scalar("SELECT OPCAcqItem_ShortName FROM OPCAcqItem JOIN OPCAcqGrp USING "
                   "(OPCAcqGrp_Id) WHERE OPCAcq_Id = 2"),
            "Other_Sine");
}

TEST_F(RecordingFaultTest, AFileReplacedDuringTheRunStopsItAndOnlyItsRowsAreCounted) {
  ASSERT_TRUE(engine->StartCommand());
  Run(2);
  const std::string older = dir.File("older.sq3");
  std::filesystem::copy_file(path, older);  // a backup taken now, restored later
  Run(3);
  std::filesystem::rename(older, path);
  Run(2);
  EXPECT_FALSE(engine->IsRunning());
  ASSERT_TRUE(test.prompt.HasReportTitled("OPC Data Storage Error"));
  EXPECT_NE(test.prompt.reports.back().body.find("Velmora Database Replaced"), std::string::npos);
  EXPECT_NE(engine->StopCause().find("was replaced during the acquisition"), std::string::npos);
  EXPECT_EQ(engine->Counts().Acquired(), 5);
  EXPECT_EQ(engine->Stored().Count(), 2);  // those of the copy now at the path
  EXPECT_EQ(End(), "0 -1");                // neither end nor count written into the copy
  EXPECT_EQ(Rows(), 2);
}

TEST_F(RecordingFaultTest, AnAcquisitionDeletedUnderTheRecorderStopsIt) {
  ASSERT_TRUE(engine->StartCommand());
  Run(3);
  EXPECT_EQ(CRecordingLockProbe(path).State(engine->AcquisitionId()),
            RecordingLockState::kRecorded);
  // A program that ignores the recording lock.
  ASSERT_EQ(SqliteExec(path, "DELETE FROM OPCAcqData; DELETE FROM OPCAcq;"), SQLITE_OK);
  Run(2);
  EXPECT_FALSE(engine->IsRunning());
  EXPECT_NE(engine->StopCause().find("is no longer in the database"), std::string::npos);
  EXPECT_EQ(engine->Stored().Count(), 0);
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(CRecordingLockProbe(path).State(engine->AcquisitionId()), RecordingLockState::kFree);
}

TEST_F(RecordingFaultTest, TheRecordingLockIsHeldWhileRecordingOnly) {
  ASSERT_TRUE(engine->StartCommand());
  const int id = engine->AcquisitionId();
  Run(2);
  EXPECT_EQ(CRecordingLockProbe(path).State(id), RecordingLockState::kRecorded);
  engine->Stop(false);
  EXPECT_EQ(CRecordingLockProbe(path).State(id), RecordingLockState::kFree);
  ASSERT_TRUE(engine->ResumeCommand());
  EXPECT_EQ(CRecordingLockProbe(path).State(id), RecordingLockState::kRecorded);
  engine->Stop(false);
  EXPECT_EQ(End(), "1 2");
}

TEST_F(RecordingFaultTest, CyclesMissedBehindAnotherWritersLockAreCountedAndLogged) {
  ASSERT_TRUE(engine->StartCommand());
  Run(2);
  sqlite3* locker = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &locker), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(locker, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr), SQLITE_OK);
  Run(1);  // its data set waits the whole bound (30 s) and is given up
  sqlite3_exec(locker, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(locker);
  EXPECT_TRUE(engine->IsRunning());
  Run(2);
  engine->Stop(false);
  EXPECT_EQ(engine->Counts().Acquired(), 5);
  EXPECT_EQ(engine->Stored().Count(), 4);
  // The one not stored, and the 30 one-second cycles that never ran during the wait.
  EXPECT_EQ(engine->Counts().DatabaseMissed(), 31);
  EXPECT_EQ(engine->MissedCycles(), 31);
  EXPECT_TRUE(test.sink.Contains("could not be stored in time")) << test.sink.Dump();
  EXPECT_TRUE(test.sink.Contains("30 Acquisition Cycles Missed at")) << test.sink.Dump();
  EXPECT_TRUE(test.sink.Contains("locked by another program for 30000 ms")) << test.sink.Dump();
  EXPECT_EQ(End(), "1 4");
}

TEST_F(RecordingFaultTest, AnOutageStillGoingAtTheEndIsCountedAndLogged) {
  engine->SetReconnectOnServerLoss(true);
  CSimFaults& faults = CSimRuntime::Instance().Faults(kSimServerProgId);
  faults.m_nDieAfterMs = 3500;        // dies after the third cycle
  faults.m_nReviveAfterMs = 3600000;  // and is not back before the end
  ASSERT_TRUE(engine->StartCommand());
  Run(10);
  EXPECT_TRUE(engine->Outage().IsReconnecting());
  engine->Stop(false);
  EXPECT_TRUE(engine->Outage().EndedInOutage());
  EXPECT_EQ(engine->Outage().ServerAwayCycles(), 7);
  EXPECT_TRUE(test.sink.Contains("Connection to Server Not Restored at the End of the Acquisition"))
      << test.sink.Dump();
  EXPECT_TRUE(test.sink.Contains("7 Acquisition Cycles Missed"));
  EXPECT_EQ(End(), "1 3");
}

}  // namespace

namespace {

TEST_F(RecordingFaultTest, ABindingMessageAfterAReconnectionIsHandedBackNotAskedInTheTick) {
  int binds = 0;
  AcquisitionServices services = Services();
  // The first binding (Start) succeeds; the one after the reconnection reports and fails.
  services.bindCalcItems = [&binds](COPCServer&, IUserPrompt& prompt) {
    if (++binds == 1)
      return true;
    prompt.ShowMessage("Symbol X Cannot be Bound", MessageButtons::kOk, MessageIcon::kError);
    return false;
  };
  engine = std::make_unique<CAcquisitionEngine>(test.context, *server, *db, services);
  engine->SetObserver(&observer);
  engine->SetReconnectOnServerLoss(true);
  CSimFaults& faults = CSimRuntime::Instance().Faults(kSimServerProgId);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(2);
  faults.m_bDead = true;
  Ticks(1);
  ASSERT_TRUE(engine->Outage().IsReconnecting());
  faults.m_bDead = false;
  test.clock.AdvanceMs(1000);
  const TickOutcome outcome = engine->Tick();  // the attempt: back, but not bound
  EXPECT_EQ(binds, 2);
  EXPECT_TRUE(test.prompt.messages.empty());  // nothing asked inside the tick
  ASSERT_EQ(outcome.notices.size(), 1u);
  EXPECT_FALSE(outcome.notices[0].isReport);
  EXPECT_EQ(outcome.notices[0].text, "Symbol X Cannot be Bound");
  EXPECT_TRUE(engine->Outage().IsReconnecting());
  EXPECT_TRUE(
      test.sink.Contains("the calculated items could not be bound again after reconnection"));
  engine->Stop(false);
}

}  // namespace
