#pragma once
// CAcquisitionCounts: what an acquisition made and what it missed, over every Resume:
// the data sets it acquired, and the cycles whose data set could not be stored in time
// (the database locked by another program or not openable, or a cycle that ended so late
// that the next ones never ran). The cycles missed while the server was away are the
// outage policy's. It keeps no clock and writes no log: the engine hands it the time of
// day and logs the lines it returns.
// Thread rule: the acquisition (GUI) thread, like the engine that owns it.
#include <string>

#include "acquisition/acquisition_schedule.h"

class CAcquisitionCounts {
 public:
  // A new acquisition: nothing acquired, nothing missed.
  void Restart();

  // A data set was made (stored or not).
  void AddAcquired() { ++m_nAcquired; }
  int Acquired() const { return m_nAcquired; }

  // cycles (> 0) could not be stored in time at timeText ("hh:mm:ss"), for the reason
  // why: counted; returns the line to log.
  std::string AddMissed(int cycles, const std::string& timeText, const std::string& why);
  int DatabaseMissed() const { return m_nDatabaseMissed; }

  // The reason of ticks that never ran: the previous cycle ended late, perhaps after
  // waiting for a lock.
  static std::string LateReason(const SkippedTicks& skipped);

 private:
  int m_nAcquired = 0;
  int m_nDatabaseMissed = 0;
};
