#include "acquisition/historical_data_list.h"

#include <algorithm>

#include "base/number_text.h"
#include "base/time_text.h"

namespace {

// Pages of older rows kept after a read (a history table page, a chart page, a backup's
// page in progress).
constexpr size_t kCachedPages = 8;

}  // namespace

void HistoricalDataList::ClearLocked() {
  m_rows.clear();
  m_nFirst = 0;
  m_runs.clear();
  m_pinned.clear();
  m_extremes.Reset(m_nItemColumns + 1);
  m_olderTimes.clear();
  ++m_nGeneration;
}

void HistoricalDataList::Reset(int itemColumns) {
  std::unique_lock lock(m_mutex);
  m_nItemColumns = itemColumns;
  ClearLocked();
  m_pReader.reset();
  m_nKeep = SIZE_MAX;
}

void HistoricalDataList::Clear() {
  std::unique_lock lock(m_mutex);
  ClearLocked();
}

int HistoricalDataList::ItemColumns() const {
  std::shared_lock lock(m_mutex);
  return m_nItemColumns;
}

int HistoricalDataList::Count() const {
  std::shared_lock lock(m_mutex);
  return m_nFirst + static_cast<int>(m_rows.size());
}

uint64_t HistoricalDataList::Generation() const {
  std::shared_lock lock(m_mutex);
  return m_nGeneration;
}

void HistoricalDataList::SetRecording(std::shared_ptr<const IRecordedRowReader> reader,
                                      int keepRows) {
  std::unique_lock lock(m_mutex);
  m_pReader = std::move(reader);
  m_nKeep = m_pReader ? static_cast<size_t>(std::max(keepRows, 1)) : SIZE_MAX;
  EvictLocked();
}

int HistoricalDataList::FirstInMemory() const {
  std::shared_lock lock(m_mutex);
  return m_nFirst;
}

bool HistoricalDataList::InMemory(int index) const {
  std::shared_lock lock(m_mutex);
  return index >= m_nFirst && index < m_nFirst + static_cast<int>(m_rows.size());
}

void HistoricalDataList::EvictLocked() {
  while (m_rows.size() > m_nKeep) {
    Entry& oldest = m_rows.front();
    SummarizeLocked(oldest.row.get());
    if (oldest.rowId == kNoDataRowId) {
      m_pinned.emplace(m_nFirst, std::move(oldest.row));
    } else if (!m_runs.empty() && m_runs.back().firstIndex + m_runs.back().count == m_nFirst &&
               oldest.rowId > m_runs.back().lastRowId) {
      ++m_runs.back().count;
      m_runs.back().lastRowId = oldest.rowId;
    } else {
      m_runs.push_back({m_nFirst, 1, oldest.rowId, oldest.rowId});
    }
    m_rows.pop_front();
    ++m_nFirst;
  }
}

void HistoricalDataList::SummarizeLocked(const CompactDataSet* row) {
  m_olderTimes.push_back(row != nullptr ? TimeStampTextMs(row->TimeText()) : kNoRowTime);
  if (row != nullptr) {
    const int cells = std::min(row->ItemColumns(), m_nItemColumns);
    for (int c = 1; c <= cells; ++c) {
      // As the chart reads a cell: an empty one has no value.
      const std::string_view text = row->Cell(c);
      if (!text.empty())
        m_extremes.Add(c, LeadingDouble(text));
    }
  }
  m_extremes.EndRow();
}

bool HistoricalDataList::BlockExtremes(int block, const std::vector<int>& columns, double* minimum,
                                       double* maximum, bool* minFirst) const {
  std::shared_lock lock(m_mutex);
  if (block < 0 || block >= m_extremes.ClosedBlocks())
    return false;
  for (size_t i = 0; i < columns.size(); ++i) {
    bool first = true;
    if (columns[i] < 1 || !m_extremes.Get(block, columns[i], minimum[i], maximum[i], first))
      return false;
    minFirst[i] = first;
  }
  return true;
}

int64_t HistoricalDataList::OlderRowTimeMs(int index) const {
  std::shared_lock lock(m_mutex);
  return index >= 0 && static_cast<size_t>(index) < m_olderTimes.size()
             ? m_olderTimes[static_cast<size_t>(index)]
             : kNoRowTime;
}

int HistoricalDataList::Append(const DataSet& row) {
  auto compact = std::make_shared<const CompactDataSet>(row);
  std::unique_lock lock(m_mutex);
  m_rows.push_back({std::move(compact), kNoDataRowId});
  // The row just added is stored later in the cycle: it is never the one evicted.
  EvictLocked();
  return m_nFirst + static_cast<int>(m_rows.size()) - 1;
}

void HistoricalDataList::Replace(int index, const DataSet& row) {
  auto compact = std::make_shared<const CompactDataSet>(row);
  std::unique_lock lock(m_mutex);
  if (index < m_nFirst || index >= m_nFirst + static_cast<int>(m_rows.size()))
    return;
  m_rows[static_cast<size_t>(index - m_nFirst)].row = std::move(compact);
}

int64_t HistoricalDataList::RowId(int index) const {
  std::shared_lock lock(m_mutex);
  if (index < m_nFirst || index >= m_nFirst + static_cast<int>(m_rows.size()))
    return kNoDataRowId;
  return m_rows[static_cast<size_t>(index - m_nFirst)].rowId;
}

void HistoricalDataList::SetRowId(int index, int64_t rowId) {
  std::unique_lock lock(m_mutex);
  if (index < m_nFirst || index >= m_nFirst + static_cast<int>(m_rows.size()))
    return;
  m_rows[static_cast<size_t>(index - m_nFirst)].rowId = rowId;
}

std::vector<StoredRow> HistoricalDataList::StoredRowsInMemory() const {
  std::shared_lock lock(m_mutex);
  std::vector<StoredRow> rows;
  for (const Entry& entry : m_rows) {
    if (entry.rowId != kNoDataRowId && entry.row)
      rows.push_back({entry.rowId, std::string(entry.row->TimeText())});
  }
  return rows;
}

std::vector<StoredRun> HistoricalDataList::StoredRunsOutOfMemory() const {
  std::shared_lock lock(m_mutex);
  return m_runs;
}

DataSetPtr HistoricalDataList::Row(int index) const {
  {
    std::shared_lock lock(m_mutex);
    if (index < 0 || index >= m_nFirst + static_cast<int>(m_rows.size()))
      return nullptr;
    if (index >= m_nFirst)
      return m_rows[static_cast<size_t>(index - m_nFirst)].row;
  }
  std::vector<DataSetPtr> rows;
  ReadOlder(index, index + 1, rows);
  return rows.empty() ? nullptr : rows.front();
}

DataSet HistoricalDataList::Edit(int index) const {
  DataSetPtr row = Row(index);
  return row ? DataSet(*row) : DataSet();
}

std::vector<DataSetPtr> HistoricalDataList::Snapshot(int first, int count) const {
  std::vector<DataSetPtr> rows;
  if (first < 0) {
    count += first;
    first = 0;
  }
  int olderEnd = 0;
  {
    std::shared_lock lock(m_mutex);
    const int size = m_nFirst + static_cast<int>(m_rows.size());
    const int end = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(first) + count, size));
    if (end <= first)
      return rows;
    olderEnd = std::min(end, m_nFirst);
    if (first >= m_nFirst) {
      for (int i = first; i < end; ++i)
        rows.push_back(m_rows[static_cast<size_t>(i - m_nFirst)].row);
      return rows;
    }
  }
  // Older rows first, read without the lock; the newer ones are taken afterwards, so a
  // row evicted meanwhile is read back rather than missed.
  ReadOlder(first, olderEnd, rows);
  std::shared_lock lock(m_mutex);
  const int64_t end = static_cast<int64_t>(first) + count;
  for (int i = olderEnd; i < end; ++i) {
    // The lock is let go for an older row: the owner may append or clear meanwhile, so the
    // list's extent is looked at again for every row.
    if (i >= m_nFirst + static_cast<int>(m_rows.size()))
      break;
    if (i >= m_nFirst) {
      rows.push_back(m_rows[static_cast<size_t>(i - m_nFirst)].row);
    } else {
      lock.unlock();
      std::vector<DataSetPtr> one;
      ReadOlder(i, i + 1, one);
      rows.push_back(one.empty() ? nullptr : one.front());
      lock.lock();
    }
  }
  return rows;
}

namespace {

// One page of rows no longer in memory: pinned rows, and the stored rows read back.
std::vector<DataSetPtr> ReadOlderPage(const HistoryOlderRows& older, int page) {
  constexpr int kPageRows = HistoricalDataList::kPageRows;
  const int pageFirst = page * kPageRows;
  const int pageEnd = pageFirst + kPageRows;
  std::vector<DataSetPtr> rows(static_cast<size_t>(kPageRows));
  for (auto it = older.pinned.lower_bound(pageFirst);
       it != older.pinned.end() && it->first < pageEnd; ++it) {
    rows[static_cast<size_t>(it->first - pageFirst)] = it->second;
  }
  if (!older.reader)
    return rows;
  for (const StoredRun& run : older.runs) {
    const int from = std::max(pageFirst, run.firstIndex);
    const int to = std::min(pageEnd, run.firstIndex + run.count);
    if (to <= from)
      continue;
    std::vector<RecordedRow> read;
    if (run.Contiguous()) {
      // Every row's id is known: each lands on its own index, a missing one stays null.
      const int64_t firstId = run.firstRowId + (from - run.firstIndex);
      older.reader->ReadStoredRows(firstId, firstId + (to - from) - 1, 0, to - from,
                                   older.itemColumns, read);
      for (const RecordedRow& row : read) {
        const int64_t at = row.first - run.firstRowId + run.firstIndex - pageFirst;
        if (at >= 0 && at < kPageRows)
          rows[static_cast<size_t>(at)] = row.second;
      }
    } else {
      older.reader->ReadStoredRows(run.firstRowId, run.lastRowId, from - run.firstIndex, to - from,
                                   older.itemColumns, read);
      for (size_t i = 0; i < read.size() && static_cast<int>(i) < to - from; ++i)
        rows[static_cast<size_t>(from - pageFirst) + i] = read[i].second;
    }
  }
  return rows;
}

}  // namespace

HistoryOlderRows HistoricalDataList::TakeOlderLocked(int first, int end) const {
  HistoryOlderRows older;
  older.reader = m_pReader;
  older.generation = m_nGeneration;
  older.itemColumns = m_nItemColumns;
  older.firstInMemory = m_nFirst;
  // Only what the asked rows need: the runs and pinned rows of their pages.
  const int pageFirst = first / kPageRows * kPageRows;
  const int pageEnd = (end - 1) / kPageRows * kPageRows + kPageRows;
  for (const StoredRun& run : m_runs) {
    if (run.firstIndex < pageEnd && run.firstIndex + run.count > pageFirst)
      older.runs.push_back(run);
  }
  for (auto it = m_pinned.lower_bound(pageFirst); it != m_pinned.end() && it->first < pageEnd;
       ++it) {
    older.pinned.insert(*it);
  }
  return older;
}

void HistoricalDataList::ReadOlder(int first, int end, std::vector<DataSetPtr>& rows) const {
  if (end <= first)
    return;
  HistoryOlderRows older;
  {
    std::shared_lock lock(m_mutex);
    older = TakeOlderLocked(first, end);
  }
  for (int page = first / kPageRows; page * kPageRows < end; ++page) {
    // Rows of the page before this end are wanted; a cached read serves them when it was
    // made with all of them out of memory (rows out of memory never change any more).
    const int wantedEnd = std::min(end, (page + 1) * kPageRows);
    std::vector<DataSetPtr> pageRows;
    bool cached = false;
    {
      std::lock_guard lock(m_cacheMutex);
      for (const CachedPage& entry : m_cache) {
        if (entry.generation == older.generation && entry.page == page &&
            wantedEnd <= entry.validEnd) {
          pageRows = entry.rows;
          cached = true;
          break;
        }
      }
    }
    if (!cached) {
      pageRows = ReadOlderPage(older, page);
      // A page that reaches into memory is kept for the rows that were out of it.
      const int validEnd = std::min((page + 1) * kPageRows, older.firstInMemory);
      if (validEnd > page * kPageRows) {
        std::lock_guard lock(m_cacheMutex);
        m_cache.push_front({older.generation, page, validEnd, pageRows});
        if (m_cache.size() > kCachedPages)
          m_cache.pop_back();
      }
    }
    const int from = std::max(first, page * kPageRows);
    const int to = std::min(end, (page + 1) * kPageRows);
    for (int i = from; i < to; ++i) {
      const size_t at = static_cast<size_t>(i - page * kPageRows);
      rows.push_back(at < pageRows.size() ? pageRows[at] : nullptr);
    }
  }
}

std::shared_ptr<const CHistoryRange> HistoricalDataList::TakeRange(int first, int end) const {
  auto range = std::make_shared<CHistoryRange>();
  std::shared_lock lock(m_mutex);
  const int size = m_nFirst + static_cast<int>(m_rows.size());
  range->m_nEnd = std::clamp(end, 0, size);
  range->m_nFirst = std::clamp(first, 0, range->m_nEnd);
  if (range->m_nFirst < std::min(range->m_nEnd, m_nFirst))
    range->m_older = TakeOlderLocked(range->m_nFirst, std::min(range->m_nEnd, m_nFirst));
  range->m_older.firstInMemory = m_nFirst;
  range->m_nNewerFirst = std::max(range->m_nFirst, m_nFirst);
  for (int i = range->m_nNewerFirst; i < range->m_nEnd; ++i)
    range->m_newer.push_back(m_rows[static_cast<size_t>(i - m_nFirst)].row);
  return range;
}

std::vector<DataSetPtr> CHistoryRange::Read(int from, int count) const {
  std::vector<DataSetPtr> rows;
  const int begin = std::max(from, m_nFirst);
  const int end = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(from) + count, m_nEnd));
  int i = begin;
  while (i < end && i < m_nNewerFirst) {
    const int page = i / HistoricalDataList::kPageRows;
    const std::vector<DataSetPtr> pageRows = ReadOlderPage(m_older, page);
    const int to = std::min({end, m_nNewerFirst, (page + 1) * HistoricalDataList::kPageRows});
    for (; i < to; ++i)
      rows.push_back(pageRows[static_cast<size_t>(i - page * HistoricalDataList::kPageRows)]);
  }
  for (; i < end; ++i)
    rows.push_back(m_newer[static_cast<size_t>(i - m_nNewerFirst)]);
  return rows;
}

size_t HistoricalDataList::HeapBytes() const {
  std::shared_lock lock(m_mutex);
  size_t bytes = 0;
  for (const Entry& entry : m_rows) {
    // The row, plus the control block make_shared puts beside it and the deque slot.
    bytes += entry.row->HeapBytes() + 16 + sizeof(Entry);
  }
  return bytes + m_extremes.HeapBytes() + m_olderTimes.size() * sizeof(int64_t);
}
