#pragma once
// HistoricalDataList: the data sets of the current acquisition, in acquisition order.
// Rows are immutable and shared by pointer; a rewrite replaces the row. Appending costs
// the same whatever the length (a deque never moves its rows).
// Thread rule: the acquisition (GUI) thread appends, replaces and clears; any thread may
// call Count(), Row() and Snapshot() at the same time and keeps a consistent row.
#include <deque>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "acquisition/data_set.h"

class HistoricalDataList {
 public:
  // Empties the list and sets the number of item columns N.
  void Reset(int itemColumns);
  void Clear();
  int ItemColumns() const;
  int Count() const;

  // Appends a row and returns its index.
  int Append(const DataSet& row);
  // Replaces row index (ignored outside the list).
  void Replace(int index, const DataSet& row);
  // The row, or null outside the list.
  DataSetPtr Row(int index) const;
  // Editable copy of a row (empty DataSet outside the list).
  DataSet Edit(int index) const;
  // Rows [first, first + count) as they are now.
  std::vector<DataSetPtr> Snapshot(int first, int count) const;

  // Heap bytes held by the rows (memory figures).
  size_t HeapBytes() const;

 private:
  mutable std::shared_mutex m_mutex;
  std::deque<DataSetPtr> m_rows;
  int m_nItemColumns = 0;
};
