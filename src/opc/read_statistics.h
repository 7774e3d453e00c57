#pragma once
// GroupReadStatistics: the intervals between consecutive successful reads of a group, in
// milliseconds, since the acquisition started.
#include <cstdint>

#include "base/filetime.h"

inline constexpr int32_t kInitialMinimumInterval = 600000;

struct GroupReadStatistics {
  int32_t m_nMinimum = kInitialMinimumInterval;
  int32_t m_nLast = 0;  // "Current Acquisition Rate"
  int32_t m_nMaximum = 0;
  int32_t m_nAverage = 0;
  // 64-bit: a 32-bit sum of milliseconds overflows after 24 days of acquisition.
  int64_t m_nTotal = 0;
  int32_t m_nCount = 0;  // "Number of OPC Data Acquisition"
  uint64_t m_nCurrentReadTime = 0;
  uint64_t m_nPreviousReadTime = 0;  // 0: no interval yet

  // Back to the values of an acquisition start.
  void Reset() { *this = GroupReadStatistics(); }
  // After a successful read whose local read time is readTime.
  void Update(const FILETIME& readTime);
};
