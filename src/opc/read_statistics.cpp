#include "opc/read_statistics.h"

#include <algorithm>
#include <limits>

namespace {
constexpr uint64_t kFileTimeUnitsPerMs = 10000;
}

void GroupReadStatistics::Update(const FILETIME& readTime) {
  const uint64_t t = FileTimeToUint64(readTime);
  m_nCurrentReadTime = t;
  // A read time earlier than the previous one (the local clock was set back, or daylight
  // saving time ended) gives no interval: it would count as an enormous one.
  if (m_nPreviousReadTime != 0 && t >= m_nPreviousReadTime) {
    const uint64_t elapsedMs = (t - m_nPreviousReadTime) / kFileTimeUnitsPerMs;
    const int32_t interval = static_cast<int32_t>(
        std::min<uint64_t>(elapsedMs, static_cast<uint64_t>(std::numeric_limits<int32_t>::max())));
    m_nLast = interval;
    m_nMinimum = std::min(m_nMinimum, interval);
    m_nMaximum = std::max(m_nMaximum, interval);
    m_nTotal += interval;
    m_nCount += 1;
    m_nAverage = static_cast<int32_t>(m_nTotal / m_nCount);
  }
  m_nPreviousReadTime = t;
}
