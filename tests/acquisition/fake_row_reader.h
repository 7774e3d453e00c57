#pragma once
// A recording for HistoricalDataList tests: the data set of row id n has the time text
// "T<n>" and one cell "V<n>" marked interpolated. A read can be held until released, to
// clear the list while pages are being read.
#include <condition_variable>
#include <mutex>
#include <string>

#include "acquisition/historical_data_list.h"

class CFakeRowReader : public IRecordedRowReader {
 public:
  bool ReadStoredRows(int64_t firstRowId, int64_t lastRowId, int offset, int count, int columns,
                      std::vector<RecordedRow>& rows) const override {
    {
      std::unique_lock lock(m_mutex);
      ++m_nReads;
      m_changed.notify_all();
      m_changed.wait(lock, [this] { return !m_bHold; });
    }
    for (int64_t id = firstRowId + offset; id <= lastRowId && count > 0; ++id, --count)
      rows.emplace_back(id, Make(id, columns));
    return true;
  }
  static DataSetPtr Make(int64_t id, int columns) {
    DataSet row("T" + std::to_string(id), columns);
    row.SetCell(1, "V" + std::to_string(id));
    row.OrStatus(1, kStatusInterpolated);
    return std::make_shared<const CompactDataSet>(row);
  }
  void Hold(bool hold) {
    std::lock_guard lock(m_mutex);
    m_bHold = hold;
    m_changed.notify_all();
  }
  // Waits until reads have started (a held read is waiting).
  void WaitForReads(int reads) const {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_nReads >= reads; });
  }

 private:
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  mutable int m_nReads = 0;
  bool m_bHold = false;
};

// Appends rows whose stored ids are 1000 + index, so that older ones are read back.
inline void FillStored(HistoricalDataList& list, int from, int rows, int idBase = 1000) {
  for (int i = from; i < from + rows; ++i) {
    DataSet row("T" + std::to_string(idBase + i), list.ItemColumns());
    row.SetCell(1, "V" + std::to_string(idBase + i));
    row.OrStatus(1, kStatusInterpolated);
    const int index = list.Append(row);
    list.SetRowId(index, idBase + i);
  }
}
