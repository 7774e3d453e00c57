#include "chart/chart_real_time_rows.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHalfSecond = 0.5 / 86400.0;
constexpr double kQuarterHour = 15.0 / 1440.0;

}  // namespace

void CRealTimeRowSource::Revalidate() {
  if (m_nScanned > m_table.RowCount() || (m_nScanned > 0 && m_table.RowTime(0) != m_dFirst)) {
    m_nScanned = 0;
    m_vShifts.clear();
  }
}

void CRealTimeRowSource::ScanTo(int row) const {
  const int rows = m_table.RowCount();
  // A table cleared or refilled since: start again.
  if (m_nScanned > rows || (m_nScanned > 0 && m_table.RowTime(0) != m_dFirst)) {
    m_nScanned = 0;
    m_vShifts.clear();
  }
  const int last = std::min(row, rows - 1);
  for (int r = m_nScanned; r <= last; ++r) {
    const double time = m_table.RowTime(r);
    if (r == 0) {
      m_dFirst = time;
    } else if (time < m_dPrevious - kHalfSecond) {
      // The clocks went back: by the step, to the next quarter hour.
      const double step = std::ceil((m_dPrevious - time) / kQuarterHour) * kQuarterHour;
      const double before = m_vShifts.empty() ? 0.0 : m_vShifts.back().second;
      m_vShifts.emplace_back(r, before + step);
    }
    m_dPrevious = time;
    m_nScanned = r + 1;
  }
}

double CRealTimeRowSource::RowTime(int row) const {
  if (row >= m_nScanned)
    ScanTo(row);
  const double time = m_table.RowTime(row);
  // The last shift that starts at or before row.
  const auto after =
      std::upper_bound(m_vShifts.begin(), m_vShifts.end(), row,
                       [](int r, const std::pair<int, double>& shift) { return r < shift.first; });
  return after == m_vShifts.begin() ? time : time + std::prev(after)->second;
}
