#include "chart/chart_loaded_rows.h"

#include "chart/chart_date.h"
#include "explorer/recording_pages.h"

namespace {
// A sample at most this many rows after the last: its page is read whole.
constexpr int kNearRows = CRecordingPages::kPageRows / 8;
}  // namespace

int CLoadedTableRowSource::RowCount() const {
  return m_recording.ScannedRows();
}

std::string CLoadedTableRowSource::TimeText(int row) const {
  return m_recording.Cell(row, 0);
}

double CLoadedTableRowSource::RowTime(int row) const {
  const int64_t ms = m_recording.RowTimeMs(row);
  return ms == kNoRowTime ? 0.0 : ChartDateFromUnixMs(ms);
}

void CLoadedTableRowSource::RowValues(int row, const std::vector<int>& columns,
                                      double* values) const {
  // Rows close to the last one read their whole page; a sample far from it reads its row
  // alone (unless its page is cached).
  const bool next = row > m_nLastRow && row - m_nLastRow <= kNearRows;
  m_nLastRow = row;
  int rowInPage = row % CRecordingPages::kPageRows;
  const CRecordingPages::Page page = next ? m_recording.ReadPage(row / CRecordingPages::kPageRows)
                                          : m_recording.ReadRow(row, rowInPage);
  for (size_t i = 0; i < columns.size(); ++i)
    values[i] = page != nullptr ? ChartCellValue(page->Cell(rowInPage, columns[i])) : kChartNoValue;
}

int CLoadedTableRowSource::BlockRows() const {
  return CRecordingPages::kBlockRows;
}

bool CLoadedTableRowSource::BlockExtremes(int block, const std::vector<int>& columns,
                                          double* minimum, double* maximum, bool* minFirst) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    bool first = true;
    if (!m_recording.BlockExtremes(block, columns[i], minimum[i], maximum[i], first))
      return false;
    minFirst[i] = first;
  }
  return true;
}
