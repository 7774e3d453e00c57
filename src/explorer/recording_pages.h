#pragma once
// CRecordingPages: a recorded acquisition read from the database in pages, so that none of
// it needs to be in memory whole. Rows are read in fixed pages of kPageRows (a row cache of
// at most kCachedPages pages, the least recently used dropped first) and decoded as the
// loader decodes them (CLoadedTable pages).
//
// The recording is taken up to its last row id when opened (rows added later are not
// shown); its row count starts as the id range (no scan needed, at least the true count)
// and is made exact once the ids are read.
//
// A worker first reads page 0 (the first rows are there at once), then the row ids of the
// whole recording (row -> OPCAcqData_Id: any page is then one range read; their number
// settles the row count), then walks every
// row once: it counts the rows that could not be read, notes each row's time (ms since
// 1970, wall clock), the longest text of each column and, per column, the extremes of every
// block of kBlockRows rows (a chart of the whole recording draws from them). Between runs
// of that walk it reads the pages the owner asked for.
//
// The walk decodes its rows on a thread per core (copies of the stored rows, nothing
// shared) and sums them up on the worker in row order.
//
// Thread rule: Reset, Start, RunNow, Stop and every reading method on the owner's thread
// (the owner reads with its own connection). The worker writes the job record, the row
// ids (published before any page is read by id), the walk's results (published row by
// row through ScannedRows) and the pages it is asked for (under the cache's lock).
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/block_extremes.h"
#include "base/time_text.h"
#include "base/worker_job.h"
#include "explorer/loaded_table.h"

struct sqlite3;

class CRecordingPages {
 public:
  static constexpr int kPageRows = 256;
  static constexpr int kBlockRows = CBlockExtremes::kBlockRows;
  static constexpr size_t kCachedPages = 48;
  static constexpr int64_t kAllRows = std::numeric_limits<int64_t>::max();
  using Page = std::shared_ptr<const CLoadedTable>;

  explicit CRecordingPages(const IClock* clock = nullptr);
  ~CRecordingPages();
  CRecordingPages(const CRecordingPages&) = delete;
  CRecordingPages& operator=(const CRecordingPages&) = delete;

  // Stops a worker and forgets everything; then the recording to read: its columns, its
  // rows up to lastRowId and at most rowBound of them (the count until the ids settle it).
  void Reset(const std::string& databasePath, int acquisitionId, std::vector<std::string> titles,
             int rowBound, int64_t lastRowId = kAllRows);
  void Clear() { Reset(std::string(), -1, {}, 0); }
  // The worker (first page, row ids, walk); false when it cannot start.
  bool Start(CWorkerJob& job);
  // The same on this thread.
  void RunNow(CWorkerJob& job);
  // The worker stays after the walk (to read pages) until Stop or Reset.
  bool IsRunning() const { return m_worker.IsRunning(); }
  void Wait() { m_worker.Join(); }
  // Asks the worker to end and waits for it.
  void Stop();

  const std::string& DatabasePath() const { return m_sDatabasePath; }
  int AcquisitionId() const { return m_nAcquisitionId; }
  int ColumnCount() const { return static_cast<int>(m_titles.size()); }
  const std::string& ColumnTitle(int column) const { return m_titles[static_cast<size_t>(column)]; }
  const std::vector<std::string>& Titles() const { return m_titles; }
  // The rows there are: the bound given until the ids are read, then exact.
  int RowCount() const { return m_nRows.load(std::memory_order_acquire); }
  int64_t LastRowId() const { return m_nLastRowId; }

  // ---- Pages ----
  // The page if cached; else null, and with request the worker is asked for it.
  Page CachedPage(int page, bool request) const;
  // The page, read now with the owner's connection when it is not cached (the rows
  // beyond the recording are missing from it).
  Page ReadPage(int page) const;
  // One row read now (sparse reading: a chart's samples), or its cached page. The row is
  // at index RowInPage of what is returned.
  Page ReadRow(int row, int& rowInPage) const;
  // Pages the worker has read since the last call (the view repaints their rows).
  std::vector<int> TakeArrivedPages() const;
  size_t CachedPageCount() const;

  // Convenience reads (each reads its page now when needed).
  std::string Cell(int row, int column) const;
  uint8_t Status(int row, int column) const;
  bool IsDamaged(int row) const;

  // True once the row ids are read: any page is then one range read.
  bool IdsReady() const { return m_bIdsReady.load(std::memory_order_acquire); }

  // ---- The walk's results ----
  // Rows walked so far (their times and the blocks they close are readable).
  int ScannedRows() const { return m_nScanned.load(std::memory_order_acquire); }
  bool ScanComplete() const { return m_bScanDone.load(std::memory_order_acquire); }
  // Rows that could not be read among those walked.
  int DamagedRows() const { return m_nDamaged.load(std::memory_order_acquire); }
  // The row's time in ms since 1970 (wall clock), kNoRowTime when it is not a time.
  int64_t RowTimeMs(int row) const;
  // The longest text of a column, title included (once the walk is complete).
  size_t ColumnWidth(int column) const;
  // Extremes of block (column >= 1) once walked: NaN when the block has no value;
  // minFirst tells whether the minimum came before the maximum.
  int BlockCount() const { return (RowCount() + kBlockRows - 1) / kBlockRows; }
  bool BlockExtremes(int block, int column, double& minimum, double& maximum, bool& minFirst) const;
  // Heap bytes of the walk's results and of the cache (memory figures).
  size_t HeapBytes() const;

 private:
  class CConnection;
  void Work(CWorkerJob& job);
  bool ReadIds(CConnection& connection, CWorkerJob& job);
  bool Walk(CConnection& connection, CWorkerJob& job);
  void ServeRequests(CConnection& connection);
  Page ReadRange(CConnection& connection, int firstRow, int rows) const;
  void Store(int page, Page table) const;
  CConnection& OwnerConnection() const;

  std::string m_sDatabasePath;
  int m_nAcquisitionId = -1;
  std::vector<std::string> m_titles;
  int64_t m_nLastRowId = kAllRows;
  // Lowered once by the worker, before m_bIdsReady, when the ids are fewer.
  std::atomic<int> m_nRows{0};

  // Row ids and the walk's arrays (sized by the ids' count), written by the worker before
  // m_bIdsReady; the walk's entries are published by m_nScanned.
  std::vector<int64_t> m_vIds;
  std::atomic<bool> m_bIdsReady{false};
  std::atomic<int> m_nIdRows{0};
  std::vector<int64_t> m_vTimes;
  std::vector<uint32_t> m_vWidths;
  CBlockExtremes m_blockExtremes;
  std::atomic<int> m_nScanned{0};
  std::atomic<int> m_nDamaged{0};
  std::atomic<bool> m_bScanDone{false};
  std::atomic<bool> m_bStop{false};
  bool m_bServeAfterWalk = true;  // RunNow: no worker stays

  // The cache, the requests and the pages read for them.
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_wake;
  mutable std::unordered_map<int, std::pair<Page, std::list<int>::iterator>> m_cache;
  mutable std::list<int> m_lru;  // most recent first
  mutable std::deque<int> m_requests;
  mutable std::atomic<bool> m_bRequested{false};  // set with each request
  mutable std::vector<int> m_arrived;

  mutable std::unique_ptr<CConnection> m_pOwner;
  CWorker m_worker;
};

// The decoded row of a recording page with the columns of a recording (page tables are
// made with these sizes).
std::shared_ptr<CLoadedTable> MakeRecordingPageTable(const std::vector<std::string>& titles,
                                                     size_t rows);

// Reads the recording's rows in order (at most its RowCount), in batches of decoded rows
// handed to sink (the batch is emptied after each call), on the caller's thread with a
// connection of its own: an export or a copy streams the rows without the cache. False
// with the cause when the database cannot be read or sink refused a batch (cause empty).
bool StreamRecordingRows(const CRecordingPages& recording,
                         const std::function<bool(const CLoadedTable& batch)>& sink,
                         std::string& cause);
// The recording's rows as text: read in order on the caller's thread, decoded in batches
// on `threads` more threads (none: all on the caller's), each row turned into text by
// format (on a decoding thread: it must not keep state), and the batches' texts handed to
// write in row order on a writing thread (done before the call returns). formatText, when
// given, is offered each row with a time as its inflated value text first; the rows it
// declines go to format. False with the cause when the database cannot be read, or when
// write refused (cause empty).
using StoredTextFormat =
    std::function<bool(std::string_view time, std::string_view valueText, std::string& out)>;
bool StreamRecordingText(
    const CRecordingPages& recording, int threads,
    const std::function<void(const CLoadedTable::CRowBuilder& row, std::string& out)>& format,
    const std::function<bool(std::string_view text)>& write, std::string& cause,
    const StoredTextFormat& formatText = nullptr);
// The threads worth adding for that on this machine.
int RecordingTextThreads();
