#include "acquisition/acquisition_counts.h"

#include "base/log.h"

namespace {

constexpr char kCyclesMissed[] = "%d Acquisition Cycle%s Missed at %s: %s";
constexpr char kLateCycle[] = "the previous cycle ended %d s late";
constexpr char kLockedFor[] = " (Velmora Database locked by another program for %d ms)";

}  // namespace

void CAcquisitionCounts::Restart() {
  m_nAcquired = 0;
  m_nDatabaseMissed = 0;
}

std::string CAcquisitionCounts::AddMissed(int cycles, const std::string& timeText,
                                          const std::string& why) {
  m_nDatabaseMissed += cycles;
  return Format(kCyclesMissed, cycles, cycles == 1 ? "" : "s", timeText.c_str(), why.c_str());
}

std::string CAcquisitionCounts::LateReason(const SkippedTicks& skipped) {
  std::string why = Format(kLateCycle, skipped.secondsLate);
  if (skipped.lockedMs > 0)
    why += Format(kLockedFor, skipped.lockedMs);
  return why;
}
