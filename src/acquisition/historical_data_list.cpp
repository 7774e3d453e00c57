#include "acquisition/historical_data_list.h"

void HistoricalDataList::Reset(int itemColumns) {
  std::unique_lock lock(m_mutex);
  m_rows.clear();
  m_nItemColumns = itemColumns;
}

void HistoricalDataList::Clear() {
  std::unique_lock lock(m_mutex);
  m_rows.clear();
}

int HistoricalDataList::ItemColumns() const {
  std::shared_lock lock(m_mutex);
  return m_nItemColumns;
}

int HistoricalDataList::Count() const {
  std::shared_lock lock(m_mutex);
  return static_cast<int>(m_rows.size());
}

int HistoricalDataList::Append(const DataSet& row) {
  auto compact = std::make_shared<const CompactDataSet>(row);
  std::unique_lock lock(m_mutex);
  m_rows.push_back(std::move(compact));
  return static_cast<int>(m_rows.size()) - 1;
}

void HistoricalDataList::Replace(int index, const DataSet& row) {
  auto compact = std::make_shared<const CompactDataSet>(row);
  std::unique_lock lock(m_mutex);
  if (index < 0 || index >= static_cast<int>(m_rows.size()))
    return;
  m_rows[static_cast<size_t>(index)] = std::move(compact);
}

DataSetPtr HistoricalDataList::Row(int index) const {
  std::shared_lock lock(m_mutex);
  if (index < 0 || index >= static_cast<int>(m_rows.size()))
    return nullptr;
  return m_rows[static_cast<size_t>(index)];
}

DataSet HistoricalDataList::Edit(int index) const {
  DataSetPtr row = Row(index);
  return row ? DataSet(*row) : DataSet();
}

std::vector<DataSetPtr> HistoricalDataList::Snapshot(int first, int count) const {
  std::shared_lock lock(m_mutex);
  std::vector<DataSetPtr> rows;
  const int size = static_cast<int>(m_rows.size());
  for (int i = first < 0 ? 0 : first; i < size && i < first + count; ++i) {
    rows.push_back(m_rows[static_cast<size_t>(i)]);
  }
  return rows;
}

size_t HistoricalDataList::HeapBytes() const {
  std::shared_lock lock(m_mutex);
  size_t bytes = 0;
  for (const DataSetPtr& row : m_rows) {
    // The row, plus the control block make_shared puts beside it and the deque slot.
    bytes += row->HeapBytes() + 16 + sizeof(DataSetPtr);
  }
  return bytes;
}
