#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "acquisition/value_text.h"
#include "engine_fixture.h"

namespace {

TEST(BasePeriod, FollowsTheFastestGroupWithinOneToFifteenSeconds) {
  EXPECT_EQ(CAcquisitionSchedule::BasePeriod({500, 2500, 20000}), 1000u);
  EXPECT_EQ(CAcquisitionSchedule::BasePeriod({3000, 5000}), 3000u);
  EXPECT_EQ(CAcquisitionSchedule::BasePeriod({60000}), 15000u);
  EXPECT_EQ(CAcquisitionSchedule::BasePeriod({}), 15000u);
}

TEST_F(EngineTest, PeriodsFollowTheUpdateRatesAndEveryGroupIsReadInTheFirstCycle) {
  COPCGroup* fast = AddGroup("Fast", 500, {"Signals.Ramp.R8"});
  COPCGroup* medium = AddGroup("Medium", 2500, {"Signals.Ramp.I4"});
  COPCGroup* slow = AddGroup("Slow", 20000, {"Signals.Ramp.R4"});
  ASSERT_TRUE(engine->StartCommand());
  EXPECT_EQ(engine->Schedule().Period(server->GroupIndex(fast)), 1u);
  EXPECT_EQ(engine->Schedule().Period(server->GroupIndex(medium)), 2u);
  EXPECT_EQ(engine->Schedule().Period(server->GroupIndex(slow)), 20u);
  EXPECT_EQ(engine->Schedule().BasePeriodMs(), 1000u);
  Ticks(1);
  EXPECT_EQ(engine->DataSetCount(), 1);
  DataSetPtr first = engine->History().Row(0);
  for (int column = 1; column <= 3; ++column)
    EXPECT_FALSE(first->Cell(column).empty()) << column;
  EXPECT_EQ(observer.chartUpdates, 1);
  EXPECT_EQ(observer.lastBasePeriod, 1000u);
}

TEST_F(EngineTest, ASingleSlowGroupIsReadFirstThenEverySixtyTicks) {
  AddGroup("Slow", 60000, {"Signals.Ramp.R8"});
  ASSERT_TRUE(engine->StartCommand());
  EXPECT_EQ(engine->Schedule().BasePeriodMs(), 15000u);
  Ticks(1);
  EXPECT_EQ(engine->DataSetCount(), 1);
  Ticks(59);
  EXPECT_EQ(engine->DataSetCount(), 1);
  Ticks(1);
  EXPECT_EQ(engine->DataSetCount(), 2);
}

TEST_F(EngineTest, ASlowGroupIsInterpolatedAndTheRewrittenRowsAreStoredAgain) {
  AddGroup("Fast", 1000, {"Signals.Counter.I4"});
  AddGroup("Slow", 3000, {"Signals.Ramp.R8", "Signals.Ramp.BSTR"});
  ASSERT_TRUE(engine->StartCommand());
  Ticks(4);
  ASSERT_EQ(engine->DataSetCount(), 4);
  const HistoricalDataList& history = engine->History();
  for (int row = 1; row <= 2; ++row) {
    EXPECT_EQ(history.Row(row)->Status(2), kStatusInterpolated) << row;
    EXPECT_EQ(history.Row(row)->Status(1), 0) << row;
  }
  const double start = std::atof(std::string(history.Row(0)->Cell(2)).c_str());
  const double end = std::atof(std::string(history.Row(3)->Cell(2)).c_str());
  EXPECT_NEAR(std::atof(std::string(history.Row(1)->Cell(2)).c_str()), start + (end - start) / 3,
              0.011);
  EXPECT_EQ(history.Row(1)->Cell(3), history.Row(0)->Cell(3));  // middle row holds
  EXPECT_EQ(history.Row(2)->Cell(3), history.Row(3)->Cell(3));
  EXPECT_EQ(observer.rewritten, (std::vector<int>{1, 2}));
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqData"), "4");
  // The stored rows are the rewritten ones.
  sqlite3* handle = nullptr;
  sqlite3_open(path.c_str(), &handle);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(handle, "SELECT OPCAcqData_Value FROM OPCAcqData ORDER BY OPCAcqData_Id", -1,
                     &statement, nullptr);
  int row = 0;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    std::string text;
    DecompressValueText(static_cast<const uint8_t*>(sqlite3_column_blob(statement, 0)),
                        static_cast<size_t>(sqlite3_column_bytes(statement, 0)), text);
    EXPECT_EQ(text, OPCAcqValueText(*history.Row(row))) << row;
    ++row;
  }
  sqlite3_finalize(statement);
  sqlite3_close(handle);
  // Rewrites update their rows: the count is of rows, not of writes.
  engine->Stop(false);
  EXPECT_EQ(Scalar("SELECT OPCAcq_DataCount FROM OPCAcq"), std::to_string(row));
}

TEST_F(EngineTest, AnInactiveGroupHasEmptyCellsWithTheInactiveBitAfterTheFirstRow) {
  AddGroup("Active", 1000, {"Signals.Ramp.R8"});
  AddGroup("Sleeping", 1000, {"Signals.Ramp.I2", "Signals.Ramp.BOOL"}, false);
  ASSERT_TRUE(engine->StartCommand());
  Ticks(3);
  const HistoricalDataList& history = engine->History();
  ASSERT_EQ(history.Count(), 3);
  EXPECT_EQ(history.Row(0)->Status(2), 0);
  for (int row = 1; row < 3; ++row) {
    for (int column = 2; column <= 3; ++column) {
      EXPECT_EQ(history.Row(row)->Cell(column), "");
      EXPECT_EQ(history.Row(row)->Status(column), kStatusInactive);
    }
  }
}

TEST_F(EngineTest, StopRecordsTheEndAndResumeAppendsToTheSameAcquisition) {
  AddGroup("Group01", 1000, {"Signals.Ramp.R8"});
  ASSERT_TRUE(engine->StartCommand());
  Ticks(3);
  const int id = engine->AcquisitionId();
  EXPECT_NE(id, -1);
  test.prompt.reportAnswers.push_back(2);  // Cancel keeps it running
  engine->StopCommand();
  EXPECT_TRUE(engine->IsRunning());
  engine->StopCommand();
  EXPECT_FALSE(engine->IsRunning());
  EXPECT_EQ(Scalar("SELECT OPCAcq_DataCount FROM OPCAcq"), "3");
  EXPECT_TRUE(engine->IsResumeAllowed());
  ASSERT_TRUE(engine->ResumeCommand());
  Ticks(2);
  EXPECT_EQ(engine->AcquisitionId(), id);
  EXPECT_EQ(engine->DataSetCount(), 5);
  engine->Stop(false);
  EXPECT_EQ(Scalar("SELECT COUNT(*) || ' ' || MAX(OPCAcq_DataCount) FROM OPCAcq"), "1 5");
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcqData"), "5");
  EXPECT_TRUE(test.sink.Contains("Data Acquistion Resumed - No Automatic Backup of OPC Data"));
}

TEST_F(EngineTest, AFailedReadStopsTheAcquisitionWithTheReport) {
  AddGroup("Group01", 1000, {"Signals.Ramp.R8"});
  ASSERT_TRUE(engine->StartCommand());
  Ticks(2);
  CSimRuntime::Instance().Faults(kSimServerProgId).m_hrReadError = E_FAIL;
  Ticks(1);
  EXPECT_FALSE(engine->IsRunning());
  EXPECT_EQ(engine->DataSetCount(), 2);
  ASSERT_TRUE(test.prompt.HasReportTitled("OPC Data Read Error"));
  EXPECT_NE(test.prompt.reports.back().body.find("Data Acquisition is stopped"), std::string::npos);
  EXPECT_NE(test.prompt.reports.back().body.find("80004005"), std::string::npos);
}

TEST_F(EngineTest, ALostServerRefusesTheStart) {
  AddGroup("Group01", 1000, {"Signals.Ramp.R8"});
  CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
  EXPECT_FALSE(engine->StartCommand());
  EXPECT_FALSE(engine->IsRunning());
  EXPECT_TRUE(
      test.prompt.HasMessageContaining("Connection to Server has been lost !!! End of Job ..."));
}

TEST_F(EngineTest, TheTimeWindowOpensLateAndClosesWithTheFinalBackup) {
  AddGroup("Group01", 1000, {"Signals.Ramp.R8"});
  const int64_t now = test.clock.SecondsSince1970();
  engine->SetMode(kTimeControlledAcquisition);
  engine->SetWindow(now + 5, now + 35);
  engine->BackupClock().Set(5, 1);
  ASSERT_TRUE(engine->StartCommand());
  EXPECT_EQ(engine->Window().End(), now + 65);  // at least a minute
  EXPECT_EQ(observer.adjustedEnd, now + 65);
  Ticks(4);
  EXPECT_EQ(engine->DataSetCount(), 0);
  EXPECT_FALSE(engine->Window().Opened());
  Ticks(1);
  EXPECT_TRUE(engine->Window().Opened());
  EXPECT_EQ(engine->AcquisitionStart(), now + 5);
  EXPECT_EQ(engine->DataSetCount(), 1);
  Ticks(60);
  EXPECT_TRUE(engine->IsRunning());
  Ticks(1);
  EXPECT_FALSE(engine->IsRunning());
  EXPECT_EQ(observer.finalBackups, 1);
  EXPECT_EQ(engine->DataSetCount(), 61);
}

TEST_F(EngineTest, ClearEmptiesTheHistoryAndResumesTheRunningAcquisition) {
  AddGroup("Group01", 1000, {"Signals.Ramp.R8"});
  ASSERT_TRUE(engine->StartCommand());
  Ticks(3);
  engine->ClearCommand();
  EXPECT_TRUE(engine->IsRunning());
  EXPECT_EQ(engine->History().Count(), 0);
  EXPECT_NE(test.prompt.reports.back().body.find("Then Resume Automatically"), std::string::npos);
  Ticks(1);
  EXPECT_EQ(engine->History().Count(), 1);
  EXPECT_TRUE(test.sink.Contains("Clearing Historical Data ...."));
}

TEST_F(EngineTest, AfterAClearNothingIsInterpolatedAcrossTheClearedRows) {
  AddGroup("Fast", 1000, {"Signals.Counter.I4"});
  AddGroup("Slow", 3000, {"Signals.Ramp.R8"});
  ASSERT_TRUE(engine->StartCommand());
  Ticks(1);
  engine->ClearCommand();
  Ticks(3);  // the slow group is read again in the third row after the Clear
  const HistoricalDataList& history = engine->History();
  ASSERT_EQ(history.Count(), 3);
  EXPECT_FALSE(history.Row(2)->Cell(2).empty());
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(history.Row(row)->Cell(2), "") << row;
    EXPECT_EQ(history.Row(row)->Status(2), 0) << row;
  }
  EXPECT_TRUE(observer.rewritten.empty());
}

TEST_F(EngineTest, AStartRefusedByTheBindingKeepsThePreviousAcquisition) {
  bool bindingSucceeds = true;
  AcquisitionServices services;
  services.readGroup = [this](COPCGroup& group) { return ReadGroup(*server, group); };
  services.bindCalcItems = [&bindingSucceeds](COPCServer&, IUserPrompt&) {
    return bindingSucceeds;
  };
  engine = std::make_unique<CAcquisitionEngine>(test.context, *server, *db, services);
  engine->SetObserver(&observer);
  AddGroup("Group01", 1000, {"Signals.Ramp.R8"});
  ASSERT_TRUE(engine->StartCommand());
  Ticks(3);
  engine->Stop(false);
  bindingSucceeds = false;
  EXPECT_FALSE(engine->StartCommand());
  EXPECT_FALSE(engine->IsRunning());
  EXPECT_EQ(engine->History().Count(), 3);
  EXPECT_EQ(engine->RealTime().Count(), 1);
  EXPECT_EQ(Scalar("SELECT COUNT(*) FROM OPCAcq"), "1");  // no empty acquisition recorded
}

TEST_F(EngineTest, DecimalsApplyToNewTextsOnlyAndAreLogged) {
  AddGroup("Group01", 1000, {"Signals.Ramp.R8"});
  engine->SetDecimals(1);
  EXPECT_TRUE(test.sink.Contains("New Value: 1 Decinal Number "));
  ASSERT_TRUE(engine->StartCommand());
  Ticks(1);
  engine->SetDecimals(4);
  EXPECT_TRUE(test.sink.Contains("New Value: 4 Decinal Numbers . Warning"));
  Ticks(1);
  const std::string first(engine->History().Row(0)->Cell(1));
  const std::string second(engine->History().Row(1)->Cell(1));
  EXPECT_EQ(first.size() - first.find('.'), 2u);
  EXPECT_EQ(second.size() - second.find('.'), 5u);
}

}  // namespace
