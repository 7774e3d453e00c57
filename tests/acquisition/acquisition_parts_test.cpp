// The engine's parts on their own: the schedule, the outage policy, the backup clock, the
// counts of what an acquisition made and missed, and the notices a tick hands back.
#include <gtest/gtest.h>

#include "acquisition/acquisition_counts.h"
#include "acquisition/acquisition_notice.h"
#include "acquisition/acquisition_schedule.h"
#include "acquisition/acquisition_window.h"
#include "acquisition/backup_clock.h"
#include "acquisition/data_set_writer.h"
#include "acquisition/outage_policy.h"
#include "acquisition/stored_rows.h"
#include "scripted_user_prompt.h"

namespace {

TEST(AcquisitionSchedule, EveryGroupIsDueAtTheFirstTickThenByItsPeriod) {
  CAcquisitionSchedule schedule;
  schedule.Reset({500, 2500, 20000});
  EXPECT_EQ(schedule.BasePeriodMs(), 1000u);
  EXPECT_EQ(schedule.Period(0), 1u);
  EXPECT_EQ(schedule.Period(1), 2u);
  EXPECT_EQ(schedule.Period(2), 20u);
  EXPECT_EQ(schedule.Period(3), 0u);
  std::vector<int> reads(3, 0);
  for (int tick = 0; tick < 40; ++tick) {
    for (int g = 0; g < 3; ++g) {
      if (schedule.Advance(g, true)) {
        schedule.MarkRead(g);
        ++reads[static_cast<size_t>(g)];
      }
    }
  }
  EXPECT_EQ(reads, (std::vector<int>{40, 20, 2}));
}

TEST(AcquisitionSchedule, AnInactiveGroupIsNeverDueButItsTicksCount) {
  CAcquisitionSchedule schedule;
  schedule.Reset({3000});
  EXPECT_FALSE(schedule.Advance(0, false));
  EXPECT_TRUE(schedule.Advance(0, true));  // its ticks went on while inactive
}

TEST(AcquisitionSchedule, WhileAwayADueGroupCountsAsReadAndAllAreReadWhenBack) {
  CAcquisitionSchedule schedule;
  schedule.Reset({2000});
  EXPECT_TRUE(schedule.AdvanceWhileAway(0, true));
  EXPECT_FALSE(schedule.AdvanceWhileAway(0, true));
  EXPECT_TRUE(schedule.AdvanceWhileAway(0, true));
  EXPECT_FALSE(schedule.AdvanceWhileAway(0, false));  // inactive: no tick counted
  schedule.ReadAllAtNextCycle();
  EXPECT_TRUE(schedule.Advance(0, true));
}

TEST(AcquisitionSchedule, AGroupAddedAfterTheStartIsReadAtOnce) {
  CAcquisitionSchedule schedule;
  schedule.Reset({});
  EXPECT_EQ(schedule.BasePeriodMs(), 15000u);
  EXPECT_TRUE(schedule.Advance(2, true));
  EXPECT_EQ(schedule.Period(2), 1u);
}

TEST(AcquisitionSchedule, TheSettledRowsEndAtTheSlowestGroupsLastRow) {
  CAcquisitionSchedule schedule;
  schedule.Reset({1000, 3000});
  schedule.LastRow(0) = 9;
  schedule.LastRow(1) = 6;
  EXPECT_EQ(schedule.SettledRowCount(10), 7);
  schedule.ForgetRows();
  EXPECT_EQ(schedule.LastRow(0), kNoDataSetRow);
  EXPECT_EQ(schedule.SettledRowCount(10), 10);
}

TEST(AcquisitionSchedule, TicksThatNeverRanAreCountedByTheBasePeriod) {
  CAcquisitionSchedule schedule;
  schedule.Reset({1000});
  EXPECT_EQ(schedule.CountSkipped(100, 0).ticks, 0);  // no previous cycle
  EXPECT_EQ(schedule.CountSkipped(101, 0).ticks, 0);  // on time
  const SkippedTicks late = schedule.CountSkipped(105, 250);
  EXPECT_EQ(late.ticks, 3);
  EXPECT_EQ(late.secondsLate, 3);
  EXPECT_EQ(late.lockedMs, 250);
  schedule.RestartTickCount();
  EXPECT_EQ(schedule.CountSkipped(200, 250).ticks, 0);
  schedule.Reset({5000});
  schedule.CountSkipped(300, 0);
  EXPECT_EQ(schedule.CountSkipped(311, 0).ticks, 2);  // 10 s late, 5 s base period
}

TEST(OutagePolicy, AFailedReadReconnectsOnlyWhenAskedAndTheServerIsGone) {
  COutagePolicy policy;
  EXPECT_EQ(policy.DecideOnReadFailure(false, true), ReadFailureDecision::kStop);
  policy.SetReconnectOnServerLoss(true);
  EXPECT_EQ(policy.DecideOnReadFailure(false, true), ReadFailureDecision::kReconnect);
  EXPECT_EQ(policy.DecideOnReadFailure(true, true), ReadFailureDecision::kStop);
  EXPECT_EQ(policy.DecideOnReadFailure(false, false), ReadFailureDecision::kStop);
}

TEST(OutagePolicy, TheAttemptsBackOffAndEveryDueTickIsMissed) {
  COutagePolicy policy;
  policy.SetReconnectOnServerLoss(true);
  policy.Begin(1000, "10:00:00");
  EXPECT_TRUE(policy.IsReconnecting());
  int64_t now = 1000;
  std::vector<int> pauses;
  for (int attempt = 0; attempt < 6; ++attempt) {
    while (!policy.TryNow(++now, true)) {
    }
    pauses.push_back(policy.AttemptFailed(now, true));
  }
  EXPECT_EQ(pauses, (std::vector<int>{2, 5, 10, 30, 30, 30}));
  EXPECT_TRUE(policy.TryNow(now + 30, false));
  const std::string line = policy.End(now + 30, "10:02:00");
  EXPECT_FALSE(policy.IsReconnecting());
  // The failed cycle, then one per second up to the last failed attempt.
  const int missed = 1 + static_cast<int>(now - 1000);
  EXPECT_EQ(policy.ServerAwayCycles(), missed);
  EXPECT_EQ(line, "Connection to Server Restored ... Outage from 10:00:00 to 10:02:00 (" +
                      std::to_string(now + 30 - 1000) + " s) - " + std::to_string(missed) +
                      " Acquisition Cycles Missed");
  EXPECT_FALSE(policy.EndedInOutage());
}

TEST(OutagePolicy, AStopDuringTheOutageEndsItAndSaysSo) {
  COutagePolicy policy;
  policy.Begin(50, "08:00:00");
  EXPECT_EQ(policy.EndAtStop(53, "08:00:03"),
            "Connection to Server Not Restored at the End of the Acquisition ... Outage from "
            "08:00:00 to 08:00:03 (3 s) - 1 Acquisition Cycle Missed");
  EXPECT_TRUE(policy.EndedInOutage());
  EXPECT_EQ(policy.ServerAwayCycles(), 1);
  policy.OnAcquisitionStart(false);  // Resume keeps the count
  EXPECT_FALSE(policy.EndedInOutage());
  EXPECT_EQ(policy.ServerAwayCycles(), 1);
  policy.OnAcquisitionStart(true);
  EXPECT_EQ(policy.ServerAwayCycles(), 0);
}

TEST(OutagePolicy, TheFailedAttemptLine) {
  EXPECT_EQ(ReconnectFailedLine("Velmora.SimServer.1", "Local Host", 5),
            "Reconnection to OPC Server Velmora.SimServer.1 on Local Host Failed - Next Try in "
            "5 s");
}

TEST(BackupClock, DueEveryFrequencyMinutesFromTheRestart) {
  CBackupClock clock;
  clock.Set(5, 1);
  clock.Restart(1000);
  EXPECT_FALSE(clock.Due(1299));
  EXPECT_TRUE(clock.Due(1300));
  EXPECT_EQ(clock.NextTime(), 1600);
  EXPECT_FALSE(clock.Due(1301));
  // A late tick catches up one period at a time.
  EXPECT_TRUE(clock.Due(2000));
  EXPECT_EQ(clock.NextTime(), 1900);
}

TEST(BackupClock, NeverDueWithoutAFrequency) {
  CBackupClock clock;
  clock.Restart(1000);
  EXPECT_FALSE(clock.IsAutomatic());
  EXPECT_FALSE(clock.Due(1000000));
}

TEST(BackupClock, RestartingTheRowsChangesTheEpoch) {
  CBackupClock clock;
  clock.SetNextRowToSave(45);
  const uint32_t epoch = clock.SaveEpoch();
  clock.RestartRows();
  EXPECT_EQ(clock.NextRowToSave(), 0);
  EXPECT_NE(clock.SaveEpoch(), epoch);
}

TEST(AcquisitionWindow, ContinuousAcquisitionAlwaysAcquires) {
  CAcquisitionWindow window;
  window.Set(100, 110);
  EXPECT_FALSE(window.EnforceShortest());  // only the time-controlled mode has a window
  EXPECT_EQ(window.Place(0), WindowPlace::kAcquire);
  EXPECT_EQ(window.Place(1000), WindowPlace::kAcquire);
}

TEST(AcquisitionWindow, TheWindowOpensOnceAndEndsAfterItsEnd) {
  CAcquisitionWindow window;
  window.SetMode(kTimeControlledAcquisition);
  window.Set(100, 130);
  EXPECT_TRUE(window.EnforceShortest());
  EXPECT_EQ(window.End(), 160);
  EXPECT_FALSE(window.EnforceShortest());
  EXPECT_EQ(window.Place(99), WindowPlace::kBefore);
  EXPECT_FALSE(window.Opened());
  EXPECT_EQ(window.Place(100), WindowPlace::kOpening);
  EXPECT_TRUE(window.Opened());
  EXPECT_EQ(window.Place(160), WindowPlace::kAcquire);
  EXPECT_EQ(window.Place(161), WindowPlace::kAfter);
  window.Close();
  EXPECT_EQ(window.Place(120), WindowPlace::kOpening);
}

TEST(StoredRows, TheCountOnlyCountsInsertsUntilARestart) {
  CStoredRows stored;
  stored.Inserted("07/Dec/2026 09:00:00.000");
  stored.Inserted("07/Dec/2026 09:00:01.000");
  EXPECT_EQ(stored.Count(), 2);
  EXPECT_EQ(stored.LastTime(), "07/Dec/2026 09:00:01.000");
  stored.SetCount(1);  // the file now at the path holds one of them
  EXPECT_EQ(stored.Count(), 1);
  stored.Restart();
  EXPECT_EQ(stored.Count(), 0);
  EXPECT_EQ(stored.LastTime(), "");
}

TEST(AcquisitionCounts, MissedCyclesAddUpAndEachGetsItsLine) {
  CAcquisitionCounts counts;
  counts.AddAcquired();
  counts.AddAcquired();
  EXPECT_EQ(counts.AddMissed(1, "09:00:05", "the Velmora Database could not be opened: locked"),
            "1 Acquisition Cycle Missed at 09:00:05: the Velmora Database could not be opened: "
            "locked");
  EXPECT_EQ(counts.AddMissed(3, "09:00:09", "the previous cycle ended 3 s late"),
            "3 Acquisition Cycles Missed at 09:00:09: the previous cycle ended 3 s late");
  EXPECT_EQ(counts.Acquired(), 2);
  EXPECT_EQ(counts.DatabaseMissed(), 4);
  counts.Restart();
  EXPECT_EQ(counts.Acquired(), 0);
  EXPECT_EQ(counts.DatabaseMissed(), 0);
}

TEST(AcquisitionCounts, ALateCycleSaysHowLongItWaitedForALock) {
  SkippedTicks late;
  late.ticks = 2;
  late.secondsLate = 2;
  EXPECT_EQ(CAcquisitionCounts::LateReason(late), "the previous cycle ended 2 s late");
  late.lockedMs = 2150;
  EXPECT_EQ(CAcquisitionCounts::LateReason(late),
            "the previous cycle ended 2 s late (Velmora Database locked by another program for "
            "2150 ms)");
}

TEST(AcquisitionNotice, CollectedPromptsAreShownLaterInOrder) {
  std::vector<AcquisitionNotice> notices;
  CNoticeCollector collector(notices);
  ReportRequest request;
  request.title = "OPC Data Read Error";
  EXPECT_EQ(collector.ShowReport(request), ReportAnswer::kFirstButton);
  EXPECT_EQ(collector.ShowMessage("Symbol not bound", MessageButtons::kOk, MessageIcon::kError, ""),
            MessageAnswer::kOk);
  ASSERT_EQ(notices.size(), 2u);
  ScriptedUserPrompt prompt;
  prompt.reportAnswers.push_back(1);
  prompt.messageAnswers.push_back(MessageAnswer::kOk);
  ShowNotices(prompt, notices);
  ASSERT_EQ(prompt.reports.size(), 1u);
  EXPECT_EQ(prompt.reports[0].title, "OPC Data Read Error");
  ASSERT_EQ(prompt.messages.size(), 1u);
  EXPECT_EQ(prompt.messages[0].text, "Symbol not bound");
  EXPECT_EQ(prompt.messages[0].icon, MessageIcon::kError);
}

}  // namespace
