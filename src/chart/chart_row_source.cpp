#include "chart/chart_row_source.h"

#include <algorithm>
#include <cmath>

#include "acquisition/historical_data_list.h"
#include "base/number_text.h"
#include "base/time_text.h"
#include "chart/chart_date.h"
#include "chart/chart_view_rules.h"

double IChartRowSource::RowTime(int row) const {
  return ParseChartTimeText(TimeText(row)).value_or(0.0);
}

int CHistoryRowSource::RowCount() const {
  return m_list.Count();
}

std::string CHistoryRowSource::TimeText(int row) const {
  const DataSetPtr data = m_list.Row(row);
  return data != nullptr ? std::string(data->TimeText()) : std::string();
}

double CHistoryRowSource::RowTime(int row) const {
  const int64_t ms = m_list.OlderRowTimeMs(row);
  return ms != kNoRowTime ? ChartDateFromUnixMs(ms) : IChartRowSource::RowTime(row);
}

int CHistoryRowSource::BlockRows() const {
  return HistoricalDataList::kBlockRows;
}

bool CHistoryRowSource::BlockExtremes(int block, const std::vector<int>& columns, double* minimum,
                                      double* maximum, bool* minFirst) const {
  return m_list.BlockExtremes(block, columns, minimum, maximum, minFirst);
}

double ChartCellValue(std::string_view text) {
  // Standard text-to-number conversion, except for a cell that holds nothing at all.
  return text.empty() ? kChartNoValue : LeadingDouble(text);
}

void CHistoryRowSource::RowValues(int row, const std::vector<int>& columns, double* values) const {
  const DataSetPtr data = m_list.Row(row);
  for (size_t i = 0; i < columns.size(); ++i) {
    values[i] = data != nullptr ? ChartCellValue(data->Cell(columns[i])) : kChartNoValue;
  }
}

namespace {

bool Before(double a, double b) {
  return a < b - kChartHalfSecond;
}

}  // namespace

int FindChartRow(const IChartRowSource& source, double target, bool atOrAfter, int lastRow,
                 double acquisitionStart, int periodSeconds) {
  if (lastRow < 0)
    return 0;
  const int period = std::max(periodSeconds, 1);
  const double seconds = std::round((target - acquisitionStart) * 86400.0);
  double estimate = seconds / period;
  estimate = std::clamp(estimate, 0.0, static_cast<double>(lastRow));
  int row = static_cast<int>(estimate);
  double time = source.RowTime(row);
  if (atOrAfter) {
    // Back while the previous row is still at or after the target.
    if (!Before(time, target)) {
      while (row > 0 && !Before(source.RowTime(row - 1), target))
        --row;
    } else {
      while (row < lastRow && Before(time, target))
        time = source.RowTime(++row);
    }
  } else {
    // Forward while the next row is at or before the target.
    if (!Before(target, time)) {
      while (row < lastRow && !Before(target, source.RowTime(row + 1)))
        ++row;
    } else {
      while (row > 0 && Before(target, time))
        time = source.RowTime(--row);
    }
  }
  return row;
}
