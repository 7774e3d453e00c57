#include <gtest/gtest.h>

#include "opc/opc_read.h"
#include "opc/statistics_presenter.h"
#include "opc_model_access.h"
#include "opc_test_fixture.h"

namespace {

using OpcReadTest = OpcServerTest;

void SetClock(FakeClock& clock, int year, int month, int day, int hour, int minute, int second,
              int millisecond) {
  LocalTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  t.millisecond = millisecond;
  clock.Set(t);
}

TEST_F(OpcReadTest, CacheReadTakesValuesQualitiesAndTheLocalReadTime) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group =
      AddGroupWithItems("Group01", {"Static.R8", "Static.BSTR", "Quality.Uncertain"});
  SetClock(ctx.clock, 2026, 3, 3, 9, 5, 7, 42);
  ASSERT_TRUE(ReadGroup(*server, *group));
  EXPECT_EQ(group->TimeText(), "03/Mar/2026 09:05:07.042");
  EXPECT_EQ(FileTimeToUint64(group->LastReadTime()),
            FileTimeToUint64(ctx.clock.LocalFileTimeNow()));
  EXPECT_TRUE(group->Connection().ErrorMessage().empty());
  EXPECT_EQ(group->AcquiredItems()[0]->ValueText(2), "3.25");
  EXPECT_EQ(group->AcquiredItems()[0]->QualityText(), "Good");
  EXPECT_EQ(group->AcquiredItems()[1]->ValueText(2), "Initial text");
  EXPECT_EQ(group->AcquiredItems()[2]->QualityText(), "Uncertain");
  EXPECT_FALSE(group->AcquiredItems()[2]->IsGood());
}

TEST_F(OpcReadTest, DeviceReadReadsToo) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.I4"}, kReadSyncDevice);
  ASSERT_TRUE(ReadGroup(*server, *group));
  EXPECT_EQ(group->AcquiredItems()[0]->ValueText(2), "42");
}

TEST_F(OpcReadTest, StatisticsAfterReadsAtTenAndOneSecondAndAQuarterLater) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8"});
  SetClock(ctx.clock, 2026, 12, 7, 10, 0, 0, 0);
  ASSERT_TRUE(ReadGroup(*server, *group));
  UpdateReadStatistics(*group);
  EXPECT_EQ(COPCModelAccess::Statistics(*group).m_nCount, 0);
  EXPECT_EQ(COPCModelAccess::Statistics(*group).m_nMinimum, 600000);
  SetClock(ctx.clock, 2026, 12, 7, 10, 0, 1, 250);
  ASSERT_TRUE(ReadGroup(*server, *group));
  UpdateReadStatistics(*group);
  const GroupReadStatistics& statistics = group->Statistics();
  EXPECT_EQ(statistics.m_nLast, 1250);
  EXPECT_EQ(statistics.m_nMinimum, 1250);
  EXPECT_EQ(statistics.m_nMaximum, 1250);
  EXPECT_EQ(statistics.m_nCount, 1);
  EXPECT_EQ(statistics.m_nAverage, 1250);
  EXPECT_EQ(statistics.m_nTotal, 1250);
  EXPECT_EQ(group->TimeText(), "07/Dec/2026 10:00:01.250");
}

TEST(OpcReadStatistics, UpdateRuleOverSeveralIntervals) {
  GroupReadStatistics statistics;
  const uint64_t t0 = 134000000000000000ULL;
  const uint64_t ms = 10000;
  for (uint64_t at : {t0, t0 + 1000 * ms, t0 + 3000 * ms, t0 + 3500 * ms + 9999})
    statistics.Update(FileTimeFromUint64(at));
  EXPECT_EQ(statistics.m_nCount, 3);
  EXPECT_EQ(statistics.m_nLast, 500);
  EXPECT_EQ(statistics.m_nMinimum, 500);
  EXPECT_EQ(statistics.m_nMaximum, 2000);
  EXPECT_EQ(statistics.m_nTotal, 3500);
  EXPECT_EQ(statistics.m_nAverage, 1166);
  // A clock set back gives no interval.
  statistics.Update(FileTimeFromUint64(t0));
  EXPECT_EQ(statistics.m_nCount, 3);
  EXPECT_EQ(statistics.m_nPreviousReadTime, t0);
  statistics.Reset();
  EXPECT_EQ(statistics.m_nMinimum, 600000);
  EXPECT_EQ(statistics.m_nPreviousReadTime, 0u);
}

TEST(OpcReadStatistics, TotalDoesNotOverflowInLongAcquisitions) {
  GroupReadStatistics statistics;
  uint64_t t = 134000000000000000ULL;
  statistics.Update(FileTimeFromUint64(t));
  // Thirty days of one-hour intervals: 2 592 000 000 ms in total.
  for (int i = 0; i < 720; ++i) {
    t += 3600000ULL * 10000;
    statistics.Update(FileTimeFromUint64(t));
  }
  EXPECT_EQ(statistics.m_nTotal, 2592000000LL);
  EXPECT_EQ(statistics.m_nAverage, 3600000);
}

TEST_F(OpcReadTest, GroupOfOnlyCalculatedItemsHasNothingToRead) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  group->AppendCalcItem()->SetExpression("1 + 1");
  EXPECT_FALSE(ReadGroup(*server, *group));
  EXPECT_EQ(group->Connection().ErrorMessage(),
            "No Item to Read to OPCServer Velmora.SimServer.1 on Local Host ...");
  EXPECT_TRUE(ctx.sink.Contains(
      "No Item to Read to OPCServer Velmora.SimServer.1 on Local Host ...", kLogDataAcquisition));
  EXPECT_NE(group->Connection().ErrorReport().find("No Item to Read"), std::string::npos);
}

TEST_F(OpcReadTest, AsynchronousReadInterfacesAreNotImplemented) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8"}, kReadAsync10);
  // A read reaching the server would fail with this code instead.
  CSimRuntime::Instance().Faults(kSimServerProgId).m_hrReadError = E_ACCESSDENIED;
  EXPECT_FALSE(ReadGroup(*server, *group));
  EXPECT_EQ(ctx.sink.Count("Not Implemented", kLogDataAcquisition), 1);
  EXPECT_FALSE(ctx.sink.Contains("80070005"));
  EXPECT_EQ(group->AcquiredItems()[0]->Value().vt, VT_EMPTY);
  group->SetReadInterface(kReadAsync20);
  EXPECT_FALSE(ReadGroup(*server, *group));
  EXPECT_EQ(ctx.sink.Count("Not Implemented", kLogDataAcquisition), 2);
  // An unknown code fails without a log line.
  ctx.sink.Clear();
  group->SetReadInterface(7);
  EXPECT_FALSE(ReadGroup(*server, *group));
  EXPECT_TRUE(ctx.sink.lines.empty());
}

TEST_F(OpcReadTest, FailedReadGivesTheCodeAndItsReason) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8"});
  ASSERT_TRUE(ReadGroup(*server, *group));
  CSimRuntime::Instance().Faults(kSimServerProgId).m_hrReadError = E_ACCESSDENIED;
  EXPECT_FALSE(ReadGroup(*server, *group));
  const std::string message =
      "Error Occured during IOPCSyncIO::Read \nOPC Server: Velmora.SimServer.1 \nHost: Local Host "
      "\nCode: 80070005 \nReason: Access is denied.";
  EXPECT_EQ(group->Connection().ErrorMessage(), message);
  EXPECT_TRUE(ctx.sink.Contains(message, kLogDataAcquisition));
  EXPECT_EQ(group->Connection().ErrorReport(),
            "\\par Detailed Description: {\\b Error Occured during IOPCSyncIO::Read} "
            "\\par OPC Server: {\\b Velmora.SimServer.1} "
            "\\par Host: {\\b Local Host} "
            "\\par Code: {\\b 80070005} "
            "\\par Reason: {\\b Access is denied.} ");
  EXPECT_EQ(group->TimeText(), "Unknown");
  // The items keep their previous values.
  EXPECT_EQ(group->AcquiredItems()[0]->ValueText(2), "3.25");
  // The next good read clears the message and the report.
  CSimRuntime::Instance().Faults(kSimServerProgId).m_hrReadError = S_OK;
  EXPECT_TRUE(ReadGroup(*server, *group));
  EXPECT_TRUE(group->Connection().ErrorMessage().empty());
  EXPECT_TRUE(group->Connection().ErrorReport().empty());
}

TEST_F(OpcReadTest, ReadWithoutConnection) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8"});
  server->Disconnect();
  EXPECT_FALSE(ReadGroup(*server, *group));
  EXPECT_EQ(group->Connection().ErrorMessage(),
            "No Connection to OPCServer Velmora.SimServer.1 on Local Host ...");
}

// ---- Statistics dialog ----

TEST(OpcStatisticsBars, PositionIsValueTimesFiveOverTheRateInSeconds) {
  EXPECT_EQ(StatisticsBarPosition(1000, 500), 5000);  // p = 0 taken as 1
  EXPECT_EQ(StatisticsBarPosition(1000, 1000), 5000);
  EXPECT_EQ(StatisticsBarPosition(2500, 5000), 2500);
  EXPECT_EQ(StatisticsBarPosition(5000, 5000), kStatisticsTargetPosition);
  EXPECT_EQ(StatisticsBarPosition(600000, 1000), 10000);  // held inside the range
  EXPECT_EQ(StatisticsBarPosition(0, 1000), 0);
}

TEST_F(OpcReadTest, StatisticsDialogFigures) {
  StatisticsServerPart offline = BuildStatisticsServerPart(*server);
  EXPECT_EQ(offline.m_sConnectionStatus, "Not Connected");
  EXPECT_TRUE(offline.m_sServerStatus.empty());
  EXPECT_TRUE(offline.m_groups.empty());

  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8"});
  server->AddGroup("Slow", 5000, 0, 0.0f, 0, kReadSyncCache, true);
  group->SetUpdateRate(500);
  COPCModelAccess::Statistics(*group).m_nLast = 1000;
  COPCModelAccess::Statistics(*group).m_nMaximum = 1200;
  COPCModelAccess::Statistics(*group).m_nAverage = 1100;
  COPCModelAccess::Statistics(*group).m_nCount = 3;
  const StatisticsServerPart part = BuildStatisticsServerPart(*server);
  EXPECT_EQ(part.m_sServerId, "Velmora.SimServer.1");
  EXPECT_EQ(part.m_sHost, "Local Host");
  EXPECT_EQ(part.m_sConnectionStatus, "Connected");
  EXPECT_EQ(part.m_sServerStatus, "Running");
  EXPECT_EQ(part.m_sGroupCount, "2");
  ASSERT_EQ(part.m_groups.size(), 2u);
  EXPECT_EQ(part.m_groups[1].m_sName, "Slow");
  EXPECT_EQ(part.m_groups[1].m_sUpdateRate, "5000 ms");

  const StatisticsGroupPart figures = BuildStatisticsGroupPart(*group);
  EXPECT_EQ(figures.m_sFrameTitle, " OPC Group Statistics for Group 'Group01'");
  EXPECT_EQ(figures.m_sCount, "3");
  EXPECT_EQ(figures.m_current.m_sText, "1000 ms");
  EXPECT_EQ(figures.m_current.m_nPosition, 5000);
  EXPECT_EQ(figures.m_minimum.m_sText, "600000 ms");
  EXPECT_EQ(figures.m_minimum.m_nPosition, 10000);
  EXPECT_EQ(figures.m_maximum.m_nPosition, 6000);
  EXPECT_EQ(figures.m_average.m_sText, "1100 ms");

  EXPECT_EQ(FindStatisticsGroup(*server, "Group01", ctx.prompt), group);
  EXPECT_EQ(FindStatisticsGroup(*server, "Removed", ctx.prompt), nullptr);
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Internal Error !!! Unable to Get Pointer to Instance of Selected OPC Group ....");
}

}  // namespace
