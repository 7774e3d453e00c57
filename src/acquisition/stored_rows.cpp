#include "acquisition/stored_rows.h"

void CStoredRows::Restart() {
  m_rowIds.clear();
  m_sLastTime.clear();
  m_nCount = 0;
}

int64_t& CStoredRows::IdOf(int row, int historyCount) {
  if (m_rowIds.size() < static_cast<size_t>(historyCount))
    m_rowIds.resize(static_cast<size_t>(historyCount), kNoDataRowId);
  return m_rowIds[static_cast<size_t>(row)];
}

void CStoredRows::Inserted(std::string_view timeText) {
  ++m_nCount;
  m_sLastTime = std::string(timeText);
}

std::vector<StoredRow> CStoredRows::Rows(const HistoricalDataList& history) const {
  std::vector<StoredRow> rows;
  for (size_t row = 0; row < m_rowIds.size(); ++row) {
    DataSetPtr data = history.Row(static_cast<int>(row));
    if (m_rowIds[row] != kNoDataRowId && data)
      rows.push_back({m_rowIds[row], std::string(data->TimeText())});
  }
  return rows;
}
