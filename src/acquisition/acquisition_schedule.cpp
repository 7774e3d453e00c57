#include "acquisition/acquisition_schedule.h"

#include <algorithm>

#include "acquisition/data_set_writer.h"

namespace {

constexpr uint32_t kFirstBasePeriod = 15000;
// Far above any period: the group is read at the next cycle.
constexpr uint32_t kReadAtFirstCycle = 1000;

}  // namespace

void CAcquisitionSchedule::Reset(const std::vector<uint32_t>& updateRates) {
  m_entries.clear();
  for (uint32_t rate : updateRates)
    m_entries.push_back(Entry{kReadAtFirstCycle, rate / 1000 == 0 ? 1 : rate / 1000, 0});
  m_nBasePeriod = BasePeriod(updateRates);
}

uint32_t CAcquisitionSchedule::BasePeriod(const std::vector<uint32_t>& updateRates) {
  uint32_t base = kFirstBasePeriod;
  for (uint32_t rate : updateRates) {
    if (std::min(rate, base) <= 1000) {
      base = 1000;
    } else if (rate < base) {
      base = rate;
    }
  }
  return base;
}

uint32_t CAcquisitionSchedule::Period(int group) const {
  return group >= 0 && group < static_cast<int>(m_entries.size())
             ? m_entries[static_cast<size_t>(group)].period
             : 0;
}

CAcquisitionSchedule::Entry& CAcquisitionSchedule::At(int group) {
  // Groups cannot change while acquiring (that makes Resume impossible), but a Resume
  // after a reset may meet more groups than the schedule has: they start afresh.
  if (group >= static_cast<int>(m_entries.size()))
    m_entries.resize(static_cast<size_t>(group) + 1, Entry{kReadAtFirstCycle, 1, 0});
  return m_entries[static_cast<size_t>(group)];
}

bool CAcquisitionSchedule::Advance(int group, bool active) {
  Entry& entry = At(group);
  ++entry.ticks;
  return active && entry.ticks >= entry.period;
}

void CAcquisitionSchedule::MarkRead(int group) {
  At(group).ticks = 0;
}

bool CAcquisitionSchedule::AdvanceWhileAway(int group, bool active) {
  Entry& entry = At(group);
  if (!active || ++entry.ticks < entry.period)
    return false;
  entry.ticks = 0;
  return true;
}

void CAcquisitionSchedule::ReadAllAtNextCycle() {
  for (Entry& entry : m_entries)
    entry.ticks = kReadAtFirstCycle;
}

int& CAcquisitionSchedule::LastRow(int group) {
  return At(group).lastRow;
}

void CAcquisitionSchedule::ForgetRows() {
  for (Entry& entry : m_entries)
    entry.lastRow = kNoDataSetRow;
}

int CAcquisitionSchedule::SettledRowCount(int historyCount) const {
  int settled = historyCount;
  for (const Entry& entry : m_entries) {
    // A group without a row (after a Clear) interpolates nothing before its next write.
    if (entry.lastRow != kNoDataSetRow)
      settled = std::min(settled, entry.lastRow + 1);
  }
  return settled;
}

SkippedTicks CAcquisitionSchedule::CountSkipped(int64_t now, uint64_t busyWaitedMs) {
  SkippedTicks skipped;
  if (m_nLastCycleSecond != 0 && now - m_nLastCycleSecond > 1) {
    // Ticks of a base period above a second read nothing most of the time.
    skipped.secondsLate = static_cast<int>(now - m_nLastCycleSecond - 1);
    skipped.ticks = static_cast<int>((now - m_nLastCycleSecond - 1) * 1000 /
                                     std::max<uint32_t>(m_nBasePeriod, 1000));
    if (busyWaitedMs > m_nBusyMsAtLastCycle)
      skipped.lockedMs = static_cast<int>(busyWaitedMs - m_nBusyMsAtLastCycle);
  }
  m_nLastCycleSecond = now;
  m_nBusyMsAtLastCycle = busyWaitedMs;
  return skipped;
}
