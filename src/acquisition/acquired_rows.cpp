#include "acquisition/acquired_rows.h"

#include <algorithm>

#include "acquisition/historical_data_list.h"

std::shared_ptr<const AcquiredRows> TakeAcquiredRows(const HistoricalDataList& list,
                                                     std::vector<std::string> headings, int first,
                                                     int end) {
  auto taken = std::make_shared<AcquiredRows>();
  headings.resize(static_cast<size_t>(std::max(0, list.ItemColumns())));
  taken->headings = std::move(headings);
  taken->endRow = std::clamp(end, 0, list.Count());
  taken->firstRow = std::clamp(first, 0, taken->endRow);
  taken->range = list.TakeRange(taken->firstRow, taken->endRow);
  return taken;
}
