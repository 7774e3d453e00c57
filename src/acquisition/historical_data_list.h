#pragma once
// HistoricalDataList: the data sets of the current acquisition, in acquisition order.
// Rows are immutable and shared by pointer; a rewrite replaces the row. Appending costs
// the same whatever the length (a deque never moves its rows).
// With a recording attached (SetRecording), only a window of the newest rows stays in
// memory: the rows the acquisition may still rewrite and some more for display. Older
// rows are read back from the recording on demand (a few pages of them are cached), so
// Count(), Row() and Snapshot() keep their meaning whatever the length. An older row that
// was never stored (the database was locked) stays in memory. Rows leaving memory leave
// their time behind and are summed up per block (their values' extremes), so that a chart
// of weeks finds its rows and draws without reading them back.
// Thread rule: the acquisition (GUI) thread appends, replaces, clears and sets row ids;
// any thread may call Count(), Row(), Snapshot() and Generation() at the same time and
// keeps a consistent row. No lock is held while the recording is read.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/data_set.h"
#include "acquisition/recorded_row_reader.h"
#include "base/block_extremes.h"
#include "base/time_text.h"

// A row of the recording that this list wrote: its OPCAcqData_Id and time text.
struct StoredRow {
  int64_t rowId;
  std::string timeText;
};

// Rows of the list whose stored rows were read back in id order: count rows from list
// index firstIndex, stored in ids firstRowId .. lastRowId of the recording.
struct StoredRun {
  int firstIndex = 0;
  int count = 0;
  int64_t firstRowId = 0;
  int64_t lastRowId = 0;
  bool Contiguous() const { return lastRowId - firstRowId + 1 == count; }
};

// A data set not stored yet.
inline constexpr int64_t kNoDataRowId = -1;

// What a read of rows no longer in memory needs, taken under the list's lock.
struct HistoryOlderRows {
  std::shared_ptr<const IRecordedRowReader> reader;
  std::vector<StoredRun> runs;
  std::map<int, DataSetPtr> pinned;
  uint64_t generation = 0;
  int itemColumns = 0;
  int firstInMemory = 0;
};

// Rows [first, end) of a list as they were when taken (TakeRange): the rows then in
// memory by pointer, the older ones read back from the recording page by page. Whatever
// the length it holds at most the list's window; the list may go on, be cleared or reset.
// Thread rule: immutable once taken; any thread reads it.
class CHistoryRange {
 public:
  int First() const { return m_nFirst; }
  int End() const { return m_nEnd; }
  // Rows [from, from + count) of the range (null where the recording cannot give one).
  std::vector<DataSetPtr> Read(int from, int count) const;

 private:
  friend class HistoricalDataList;
  HistoryOlderRows m_older;
  std::vector<DataSetPtr> m_newer;  // rows m_older.firstInMemory .. m_nEnd - 1 (from m_nFirst)
  int m_nNewerFirst = 0;
  int m_nFirst = 0;
  int m_nEnd = 0;
};

class HistoricalDataList {
 public:
  // Rows read back per page (and cached per page).
  static constexpr int kPageRows = 256;

  // Empties the list, sets the number of item columns N and detaches the recording.
  void Reset(int itemColumns);
  // Empties the list; the recording stays attached.
  void Clear();
  int ItemColumns() const;
  int Count() const;
  // Changes at every Reset and Clear: rows read before belong to another list.
  uint64_t Generation() const;

  // From now on rows beyond the newest keepRows that are stored are read back from reader.
  void SetRecording(std::shared_ptr<const IRecordedRowReader> reader, int keepRows);
  // The first row held in memory (older ones come from the recording).
  int FirstInMemory() const;
  bool InMemory(int index) const;

  // Appends a row and returns its index.
  int Append(const DataSet& row);
  // Replaces row index (ignored outside the list and for rows no longer in memory).
  void Replace(int index, const DataSet& row);
  // The row, or null outside the list (or when the recording cannot give it back).
  DataSetPtr Row(int index) const;
  // Editable copy of a row (empty DataSet outside the list).
  DataSet Edit(int index) const;
  // Rows [first, first + count) as they are now; older rows are read from the recording
  // (null where it cannot give them).
  std::vector<DataSetPtr> Snapshot(int first, int count) const;

  // Rows [first, end) as they are now, for a worker that reads them page by page.
  std::shared_ptr<const CHistoryRange> TakeRange(int first, int end) const;

  // The stored row id of a row in memory (kNoDataRowId when not stored or not in memory).
  int64_t RowId(int index) const;
  void SetRowId(int index, int64_t rowId);
  // The rows in memory that are stored, and the stored rows read back from the recording.
  std::vector<StoredRow> StoredRowsInMemory() const;
  std::vector<StoredRun> StoredRunsOutOfMemory() const;

  // Blocks of rows no longer in memory: block b holds rows b * kBlockRows on. Per item
  // column of columns (1..N), the block's minimum and maximum (NaN: no value) and whether
  // the minimum came first; false while a row of the block is still in memory.
  static constexpr int kBlockRows = CBlockExtremes::kBlockRows;
  bool BlockExtremes(int block, const std::vector<int>& columns, double* minimum, double* maximum,
                     bool* minFirst) const;
  // The time of a row no longer in memory, in ms since 1970 on the wall clock; kNoRowTime
  // for a row in memory or outside the list (its own text says its time).
  int64_t OlderRowTimeMs(int index) const;

  // Heap bytes held by the rows (memory figures).
  size_t HeapBytes() const;

 private:
  struct Entry {
    DataSetPtr row;
    int64_t rowId = kNoDataRowId;
  };
  struct CachedPage {
    uint64_t generation = 0;
    int page = -1;
    int validEnd = 0;  // the rows before this index were out of memory when read
    std::vector<DataSetPtr> rows;
  };

  void EvictLocked();
  void ClearLocked();
  // Adds the row leaving memory (the next one in order) to the block summary.
  void SummarizeLocked(const CompactDataSet* row);
  // Rows [first, end) of those no longer in memory, from the cache or the recording.
  void ReadOlder(int first, int end, std::vector<DataSetPtr>& rows) const;

  mutable std::shared_mutex m_mutex;
  std::deque<Entry> m_rows;  // rows m_nFirst .. m_nFirst + size - 1
  int m_nFirst = 0;
  HistoryOlderRows TakeOlderLocked(int first, int end) const;

  std::vector<StoredRun> m_runs;       // older rows, stored
  std::map<int, DataSetPtr> m_pinned;  // older rows never stored
  std::shared_ptr<const IRecordedRowReader> m_pReader;
  size_t m_nKeep = SIZE_MAX;
  uint64_t m_nGeneration = 0;
  int m_nItemColumns = 0;
  CBlockExtremes m_extremes;         // table columns 0..N (0, the time, stays empty)
  std::deque<int64_t> m_olderTimes;  // the time of every row no longer in memory

  mutable std::mutex m_cacheMutex;
  mutable std::deque<CachedPage> m_cache;  // newest first
};
