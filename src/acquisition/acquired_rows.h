#pragma once
// AcquiredRows: what a save or copy worker writes, taken on the acquisition thread before
// the worker starts: the item headings and the rows first .. end - 1 of the history as
// they are then (the rows in memory by pointer, older ones read back from the recording
// page by page, so a worker holds a page at a time whatever the length). The acquisition
// may append, rewrite or clear the list meanwhile; the worker keeps the rows it was given.
// Thread rule: filled on the acquisition thread, then only read (by the worker).
#include <memory>
#include <string>
#include <vector>

#include <algorithm>

#include "acquisition/data_set.h"
#include "acquisition/historical_data_list.h"

struct AcquiredRows {
  std::vector<std::string> headings;  // item columns 1 .. N
  std::shared_ptr<const CHistoryRange> range;
  int firstRow = 0;
  int endRow = 0;
  // Calls write(row) for the rows in order, a page at a time; false when a row could not
  // be read back from the recording (write is not called for it nor after it).
  template <typename Write>
  bool ForEachRow(Write&& write) const;
};

template <typename Write>
bool AcquiredRows::ForEachRow(Write&& write) const {
  for (int i = firstRow; i < endRow;) {
    const int pageEnd =
        std::min(endRow, (i / HistoricalDataList::kPageRows + 1) * HistoricalDataList::kPageRows);
    for (const DataSetPtr& row : range->Read(i, pageEnd - i)) {
      if (!row)
        return false;
      write(*row);
    }
    i = pageEnd;
  }
  return true;
}

// Rows [first, end) of the list, first and end kept within it. The headings are cut or
// padded to the list's item columns (the list keeps the columns it was built with).
std::shared_ptr<const AcquiredRows> TakeAcquiredRows(const HistoricalDataList& list,
                                                     std::vector<std::string> headings, int first,
                                                     int end);
