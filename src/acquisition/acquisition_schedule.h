#pragma once
// CAcquisitionSchedule: which groups are read in which base tick. Each group has a
// period in base ticks (its update rate / 1000, at least 1) and counts the ticks since
// its last read; the base period (the ms between ticks that read something) follows the
// fastest group. It also keeps the row each group last wrote (what its interpolation
// starts from) and counts the ticks that never ran because a cycle ended late.
// Thread rule: the acquisition (GUI) thread, like the engine that owns it.
#include <cstdint>
#include <vector>

// The ticks missed between two cycles and why (seconds late, ms waited for a lock).
struct SkippedTicks {
  int ticks = 0;
  int secondsLate = 0;
  int lockedMs = 0;  // 0: no lock was waited for
};

class CAcquisitionSchedule {
 public:
  // A new acquisition on groups of these update rates (ms): every group is read in the
  // first cycle, from no row.
  void Reset(const std::vector<uint32_t>& updateRates);
  // ms between base ticks that read something: from 15000 down to the fastest group,
  // never below 1000.
  static uint32_t BasePeriod(const std::vector<uint32_t>& updateRates);
  uint32_t BasePeriodMs() const { return m_nBasePeriod; }
  // Base ticks between reads of the group (0: no such group).
  uint32_t Period(int group) const;

  // A cycle's tick for the group (counted whether it is active or not); true when the
  // active group is due. MarkRead after its read succeeded.
  bool Advance(int group, bool active);
  void MarkRead(int group);
  // A tick while the server is away: an active group that is due counts as read.
  bool AdvanceWhileAway(int group, bool active);
  // The server is back: every group is read at the next cycle.
  void ReadAllAtNextCycle();
  // The row the group last wrote (kNoDataSetRow after a Clear), for the interpolation.
  int& LastRow(int group);
  // The history was emptied: no group has a row any more.
  void ForgetRows();
  // Rows no group will rewrite any more, of historyCount rows.
  int SettledRowCount(int historyCount) const;

  // Ticks that never ran between the previous cycle and this one (now, seconds since
  // 1970), with the database's busy-wait counter. RestartTickCount: no previous cycle.
  SkippedTicks CountSkipped(int64_t now, uint64_t busyWaitedMs);
  void RestartTickCount() { m_nLastCycleSecond = 0; }

 private:
  struct Entry {
    uint32_t ticks = 0;   // base ticks since the group was last read
    uint32_t period = 1;  // base ticks between reads
    int lastRow = 0;
  };
  Entry& At(int group);

  std::vector<Entry> m_entries;  // index: the group's position on the server
  uint32_t m_nBasePeriod = 0;
  int64_t m_nLastCycleSecond = 0;  // 0: no cycle since Start, Resume or an outage
  uint64_t m_nBusyMsAtLastCycle = 0;
};
