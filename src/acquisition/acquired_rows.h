#pragma once
// AcquiredRows: what a save or copy worker writes, taken on the acquisition thread before
// the worker starts: the item headings and the rows first .. end - 1 of the history, as
// shared pointers to its immutable rows. The acquisition may append, rewrite or clear
// the list meanwhile; the worker keeps the rows it was given.
// Thread rule: filled on the acquisition thread, then only read (by the worker).
#include <memory>
#include <string>
#include <vector>

#include "acquisition/data_set.h"

class HistoricalDataList;

struct AcquiredRows {
  std::vector<std::string> headings;  // item columns 1 .. N
  std::vector<DataSetPtr> rows;
  int firstRow = 0;
  int endRow = 0;
};

// Rows [first, end) of the list, first and end kept within it. The headings are cut or
// padded to the list's item columns (the list keeps the columns it was built with).
std::shared_ptr<const AcquiredRows> TakeAcquiredRows(const HistoricalDataList& list,
                                                     std::vector<std::string> headings, int first,
                                                     int end);
