#pragma once
// CStoredRows: what the recording of an acquisition stored: the OPCAcqData id of each
// history row (so that a row rewritten by the interpolation updates its own row), how
// many data sets are in the database and the time of the last one inserted (the end
// recorded at Stop).
// Thread rule: the acquisition (GUI) thread, like the engine that owns it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/acquisition_recorder.h"
#include "acquisition/historical_data_list.h"

class CStoredRows {
 public:
  // A new acquisition: nothing stored.
  void Restart();
  // The history was emptied: its rows are forgotten, the count and last time stay.
  void ForgetRows() { m_rowIds.clear(); }
  // The id of a history row of a list of historyCount rows (kNoDataRowId: not stored).
  int64_t& IdOf(int row, int historyCount);
  // A data set was inserted (not rewritten).
  void Inserted(std::string_view timeText);
  // The rows this acquisition inserted that the history still holds, with their times.
  std::vector<StoredRow> Rows(const HistoricalDataList& history) const;

  int Count() const { return m_nCount; }
  // The count of what the file now at the path holds (after a replacement).
  void SetCount(int count) { m_nCount = count; }
  const std::string& LastTime() const { return m_sLastTime; }

 private:
  std::vector<int64_t> m_rowIds;
  std::string m_sLastTime;
  int m_nCount = 0;
};
