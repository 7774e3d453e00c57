#include "explorer/recording_pages.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include "base/clock.h"
#include "base/number_text.h"
#include "base/time_text.h"
#include "explorer/acquisition_loader.h"
#include "explorer/piece_writer.h"
#include "explorer/stored_row_pipeline.h"

namespace {

constexpr int kBusyTimeoutMs = 30000;
// The walk publishes its progress after this many rows; it reads the pages the owner
// asked for after each batch of rows (a page asked for waits little for the walk).
constexpr int kWalkRun = 256;
constexpr size_t kPageChunkBytes = size_t{512} << 10;

// ?2: the last row id of the recording as opened.
constexpr char kIdsStatement[] =
    "SELECT OPCAcqData_Id FROM OPCAcqData WHERE OPCAcq_Id = ?1 AND OPCAcqData_Id <= ?2 ORDER BY "
    "OPCAcqData_Id";
constexpr char kWalkStatement[] =
    "SELECT OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = ?1 AND "
    "OPCAcqData_Id <= ?2 ORDER BY OPCAcqData_Id";
constexpr char kRangeStatement[] =
    "SELECT OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE OPCAcqData_Id BETWEEN ?2 AND "
    "?3 AND OPCAcq_Id = ?1 ORDER BY OPCAcqData_Id";
constexpr char kOffsetStatement[] =
    "SELECT OPCAcqData_Time, OPCAcqData_Value FROM OPCAcqData WHERE OPCAcq_Id = ?1 AND "
    "OPCAcqData_Id <= ?4 ORDER BY OPCAcqData_Id LIMIT ?3 OFFSET ?2";

}  // namespace

std::shared_ptr<CLoadedTable> MakeRecordingPageTable(const std::vector<std::string>& titles,
                                                     size_t rows) {
  // About 2 KB a row of 256 columns; a longer row gets a chunk of its own.
  const size_t chunk = std::clamp<size_t>(rows * 2048, 4096, kPageChunkBytes);
  auto table = std::make_shared<CLoadedTable>(chunk, rows);
  table->Reset(titles);
  return table;
}

// A read-only connection with its statements, used by one thread.
class CRecordingPages::CConnection {
 public:
  CConnection(const std::string& path, int acquisitionId) : m_nAcquisitionId(acquisitionId) {
    // One thread uses each connection: SQLite's own locking of it is not needed.
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
      m_sCause = m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory";
      sqlite3_close(m_db);
      m_db = nullptr;
      return;
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
  }
  ~CConnection() {
    for (sqlite3_stmt* statement : {m_pRange, m_pOffset})
      sqlite3_finalize(statement);
    sqlite3_close(m_db);
  }
  CConnection(const CConnection&) = delete;
  CConnection& operator=(const CConnection&) = delete;

  bool IsOpen() const { return m_db != nullptr; }
  const std::string& Cause() const { return m_sCause; }
  // The cause of the last failed step.
  void NoteError() { m_sCause = sqlite3_errmsg(m_db); }
  sqlite3* Db() const { return m_db; }
  // A statement bound to the acquisition (null when it cannot be prepared).
  sqlite3_stmt* Prepare(const char* text) {
    sqlite3_stmt* statement = nullptr;
    if (m_db == nullptr || sqlite3_prepare_v2(m_db, text, -1, &statement, nullptr) != SQLITE_OK) {
      m_sCause = m_db != nullptr ? sqlite3_errmsg(m_db) : m_sCause;
      sqlite3_finalize(statement);
      return nullptr;
    }
    sqlite3_bind_int(statement, 1, m_nAcquisitionId);
    return statement;
  }
  sqlite3_stmt* Range() { return Kept(m_pRange, kRangeStatement); }
  sqlite3_stmt* Offset() { return Kept(m_pOffset, kOffsetStatement); }

  CValueRowReader reader;
  CLoadedTable::CRowBuilder row;

 private:
  sqlite3_stmt* Kept(sqlite3_stmt*& kept, const char* text) {
    if (kept == nullptr)
      kept = Prepare(text);
    else
      sqlite3_reset(kept);
    return kept;
  }

  sqlite3* m_db = nullptr;
  int m_nAcquisitionId;
  std::string m_sCause;
  sqlite3_stmt* m_pRange = nullptr;
  sqlite3_stmt* m_pOffset = nullptr;
};

CRecordingPages::CRecordingPages(const IClock* clock) : m_worker(clock) {}

CRecordingPages::~CRecordingPages() {
  Stop();
}

void CRecordingPages::Stop() {
  {
    // Under the lock: a worker about to wait sees the flag or gets the notice.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStop.store(true, std::memory_order_release);
  }
  m_wake.notify_all();
  m_worker.Join();
}

void CRecordingPages::Reset(const std::string& databasePath, int acquisitionId,
                            std::vector<std::string> titles, int rowBound, int64_t lastRowId) {
  Stop();
  m_bStop.store(false, std::memory_order_relaxed);
  m_pOwner.reset();
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cache.clear();
    m_lru.clear();
    m_requests.clear();
    m_arrived.clear();
    m_bRequested.store(false, std::memory_order_relaxed);
  }
  m_sDatabasePath = databasePath;
  m_nAcquisitionId = acquisitionId;
  m_titles = std::move(titles);
  m_nLastRowId = lastRowId;
  m_nRows.store(std::max(rowBound, 0), std::memory_order_release);
  // Sized by the worker once the ids are read (the bound may be well above the count).
  m_vIds = {};
  m_vTimes = {};
  m_blockExtremes.Reset(0);
  m_vWidths.assign(m_titles.size(), 0);
  for (size_t c = 0; c < m_titles.size(); ++c)
    m_vWidths[c] = static_cast<uint32_t>(m_titles[c].size());
  m_bIdsReady.store(false, std::memory_order_relaxed);
  m_nIdRows.store(0, std::memory_order_relaxed);
  m_nScanned.store(0, std::memory_order_relaxed);
  m_nDamaged.store(0, std::memory_order_relaxed);
  m_bScanDone.store(false, std::memory_order_release);
}

bool CRecordingPages::Start(CWorkerJob& job) {
  if (m_worker.IsRunning())
    return false;
  m_worker.Join();
  job.SetTotal(RowCount());
  return m_worker.Start(job, [this](CWorkerJob& running) { Work(running); });
}

void CRecordingPages::RunNow(CWorkerJob& job) {
  job.SetTotal(RowCount());
  m_bServeAfterWalk = false;
  Work(job);
  m_bServeAfterWalk = true;
}

void CRecordingPages::Work(CWorkerJob& job) {
  job.SetState(kLoadStateLoading);
  CConnection connection(m_sDatabasePath, m_nAcquisitionId);
  if (!connection.IsOpen()) {
    job.Fail(1, kLoadOpenFailed);
    return;
  }
  // The first rows first: the view shows them while the rest is walked.
  if (RowCount() > 0) {
    Page first = ReadRange(connection, 0, std::min(kPageRows, RowCount()));
    if (first == nullptr) {
      job.Fail(2, connection.Cause());
      return;
    }
    Store(0, std::move(first));
    std::lock_guard<std::mutex> lock(m_mutex);
    m_arrived.push_back(0);
  }
  if (!ReadIds(connection, job) || !Walk(connection, job)) {
    if (!IsFinalJobState(job.State()))
      job.Fail(3, connection.Cause());
    return;
  }
  m_bScanDone.store(true, std::memory_order_release);
  job.SetDone(ScannedRows());
  job.SetState(kJobFinished);
  if (!m_bServeAfterWalk)
    return;
  // The load is over; the worker stays to read the pages the owner asks for, until it is
  // stopped (the job record is no longer written).
  for (;;) {
    ServeRequests(connection);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock,
                [this] { return m_bStop.load(std::memory_order_acquire) || !m_requests.empty(); });
    if (m_bStop.load(std::memory_order_acquire))
      return;
  }
}

bool CRecordingPages::ReadIds(CConnection& connection, CWorkerJob& job) {
  sqlite3_stmt* query = connection.Prepare(kIdsStatement);
  if (query == nullptr)
    return false;
  sqlite3_bind_int64(query, 2, m_nLastRowId);
  const int bound = RowCount();
  std::vector<int64_t> ids;
  ids.reserve(static_cast<size_t>(std::min(bound, 1 << 20)));
  int code = SQLITE_ROW;
  while (static_cast<int>(ids.size()) < bound && (code = sqlite3_step(query)) == SQLITE_ROW) {
    ids.push_back(sqlite3_column_int64(query, 0));
    if (ids.size() % 65536 == 0 &&
        (job.StopRequested() || m_bStop.load(std::memory_order_acquire))) {
      sqlite3_finalize(query);
      job.SetState(kJobStopped);
      return false;  // not all read: the count stays unsettled
    }
  }
  const bool ended = code == SQLITE_ROW || code == SQLITE_DONE;
  if (!ended)
    connection.NoteError();
  sqlite3_finalize(query);
  if (!ended)
    return false;
  // The ids settle the count; the walk's arrays get their sizes before anyone reads them.
  const int rows = static_cast<int>(ids.size());
  ids.shrink_to_fit();
  m_vIds = std::move(ids);
  m_vTimes.assign(static_cast<size_t>(rows), kNoRowTime);
  m_blockExtremes.Reset(static_cast<int>(m_titles.size()), rows);
  if (rows < bound) {
    m_nRows.store(rows, std::memory_order_release);
    job.SetTotal(rows);
  }
  m_nIdRows.store(rows, std::memory_order_relaxed);
  m_bIdsReady.store(true, std::memory_order_release);
  return true;
}

bool CRecordingPages::Walk(CConnection& connection, CWorkerJob& job) {
  sqlite3_stmt* query = connection.Prepare(kWalkStatement);
  if (query == nullptr)
    return false;
  sqlite3_bind_int64(query, 2, m_nLastRowId);
  const size_t columns = m_titles.size();
  const size_t items = columns > 0 ? columns - 1 : 0;
  std::vector<uint32_t> widths = m_vWidths;
  int rows = 0;
  int damaged = 0;
  bool stopped = false;
  // Rows decoded on more threads, summed up here in row order; the pages the owner asks
  // for are read between batches.
  const int code = PipeStoredRows(
      query, RowCount(), RecordingTextThreads(),
      [columns](StoredBatch& batch, StoredRowDecoder& decoder) {
        WalkStoredBatch(batch, columns, decoder);
      },
      [&](StoredBatch& batch) {
        for (size_t c = 0; c < columns; ++c)
          widths[c] = std::max(widths[c], batch.widths[c]);
        for (size_t r = 0; r < batch.rows.size(); ++r) {
          damaged += batch.damaged[r];
          m_vTimes[static_cast<size_t>(rows)] = batch.times[r];
          const size_t first = r * items;
          for (size_t item = 0; item < items; ++item) {
            if (batch.hasValue[first + item] != 0)
              m_blockExtremes.Add(static_cast<int>(item + 1), batch.values[first + item]);
          }
          m_blockExtremes.EndRow();
          ++rows;
          if (rows % kWalkRun == 0) {
            m_nDamaged.store(damaged, std::memory_order_release);
            m_nScanned.store(rows, std::memory_order_release);
            job.SetDone(rows);
          }
        }
        if (m_bRequested.exchange(false, std::memory_order_acq_rel))
          ServeRequests(connection);
        stopped = job.StopRequested() || m_bStop.load(std::memory_order_acquire);
        return !stopped;
      });
  if (stopped) {
    sqlite3_finalize(query);
    job.SetState(kJobStopped);
    return false;
  }
  const bool ended = code == SQLITE_ROW || code == SQLITE_DONE;
  if (!ended)
    connection.NoteError();
  sqlite3_finalize(query);
  m_blockExtremes.Finish();
  m_vWidths = widths;
  m_nDamaged.store(damaged, std::memory_order_release);
  m_nScanned.store(rows, std::memory_order_release);
  return ended;
}

void CRecordingPages::ServeRequests(CConnection& connection) {
  while (!m_bStop.load(std::memory_order_acquire)) {
    int page = -1;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      while (!m_requests.empty() && page < 0) {
        const int asked = m_requests.front();
        m_requests.pop_front();
        if (m_cache.find(asked) == m_cache.end())
          page = asked;
      }
    }
    if (page < 0)
      return;
    const int first = page * kPageRows;
    Page table = ReadRange(connection, first, std::min(kPageRows, RowCount() - first));
    if (table == nullptr)
      continue;
    Store(page, std::move(table));
    std::lock_guard<std::mutex> lock(m_mutex);
    m_arrived.push_back(page);
  }
}

CRecordingPages::Page CRecordingPages::ReadRange(CConnection& connection, int firstRow,
                                                 int rows) const {
  auto table = MakeRecordingPageTable(m_titles, static_cast<size_t>(std::max(rows, 1)));
  if (rows <= 0)
    return table;
  const int idRows =
      m_bIdsReady.load(std::memory_order_acquire) ? m_nIdRows.load(std::memory_order_relaxed) : 0;
  sqlite3_stmt* query = nullptr;
  if (firstRow + rows <= idRows) {
    query = connection.Range();
    if (query != nullptr) {
      sqlite3_bind_int64(query, 2, m_vIds[static_cast<size_t>(firstRow)]);
      sqlite3_bind_int64(query, 3, m_vIds[static_cast<size_t>(firstRow + rows - 1)]);
    }
  } else {
    query = connection.Offset();
    if (query != nullptr) {
      sqlite3_bind_int(query, 2, firstRow);
      sqlite3_bind_int(query, 3, rows);
      sqlite3_bind_int64(query, 4, m_nLastRowId);
    }
  }
  if (query == nullptr)
    return nullptr;
  const int itemColumns = std::max(0, ColumnCount() - 1);
  int read = 0;
  while (read < rows && sqlite3_step(query) == SQLITE_ROW) {
    ReadStoredRow(query, 0, connection.reader, itemColumns, connection.row);
    table->AppendRow(connection.row);
    ++read;
  }
  sqlite3_reset(query);
  return table;
}

void CRecordingPages::Store(int page, Page table) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_cache.find(page);
  if (found != m_cache.end()) {
    m_lru.erase(found->second.second);
    m_cache.erase(found);
  }
  m_lru.push_front(page);
  m_cache.emplace(page, std::make_pair(std::move(table), m_lru.begin()));
  while (m_cache.size() > kCachedPages) {
    m_cache.erase(m_lru.back());
    m_lru.pop_back();
  }
}

CRecordingPages::Page CRecordingPages::CachedPage(int page, bool request) const {
  if (page < 0 || page * kPageRows >= RowCount())
    return nullptr;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_cache.find(page);
    if (found != m_cache.end()) {
      m_lru.splice(m_lru.begin(), m_lru, found->second.second);
      return found->second.first;
    }
    if (!request || std::find(m_requests.begin(), m_requests.end(), page) != m_requests.end())
      return nullptr;
    // The latest request first: the rows on screen now matter more than those scrolled by.
    m_requests.push_front(page);
    m_bRequested.store(true, std::memory_order_release);
  }
  m_wake.notify_all();
  return nullptr;
}

CRecordingPages::CConnection& CRecordingPages::OwnerConnection() const {
  if (m_pOwner == nullptr)
    m_pOwner = std::make_unique<CConnection>(m_sDatabasePath, m_nAcquisitionId);
  return *m_pOwner;
}

CRecordingPages::Page CRecordingPages::ReadPage(int page) const {
  Page cached = CachedPage(page, false);
  const int rowCount = RowCount();
  if (cached != nullptr || page < 0 || page * kPageRows >= rowCount)
    return cached;
  const int first = page * kPageRows;
  Page table = ReadRange(OwnerConnection(), first, std::min(kPageRows, rowCount - first));
  if (table != nullptr)
    Store(page, table);
  return table;
}

CRecordingPages::Page CRecordingPages::ReadRow(int row, int& rowInPage) const {
  rowInPage = row % kPageRows;
  Page cached = CachedPage(row / kPageRows, false);
  if (cached != nullptr || row < 0 || row >= RowCount())
    return cached;
  rowInPage = 0;
  return ReadRange(OwnerConnection(), row, 1);
}

std::vector<int> CRecordingPages::TakeArrivedPages() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<int> arrived;
  arrived.swap(m_arrived);
  return arrived;
}

size_t CRecordingPages::CachedPageCount() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_cache.size();
}

std::string CRecordingPages::Cell(int row, int column) const {
  const Page page = ReadPage(row / kPageRows);
  return page != nullptr ? std::string(page->Cell(row % kPageRows, column)) : std::string();
}

uint8_t CRecordingPages::Status(int row, int column) const {
  const Page page = ReadPage(row / kPageRows);
  return page != nullptr ? page->Status(row % kPageRows, column) : 0;
}

bool CRecordingPages::IsDamaged(int row) const {
  const Page page = ReadPage(row / kPageRows);
  return page != nullptr && page->IsDamaged(row % kPageRows);
}

int64_t CRecordingPages::RowTimeMs(int row) const {
  if (row < 0 || row >= ScannedRows())
    return kNoRowTime;
  return m_vTimes[static_cast<size_t>(row)];
}

size_t CRecordingPages::ColumnWidth(int column) const {
  if (column < 0 || static_cast<size_t>(column) >= m_vWidths.size() || !ScanComplete())
    return 0;
  return m_vWidths[static_cast<size_t>(column)];
}

bool CRecordingPages::BlockExtremes(int block, int column, double& minimum, double& maximum,
                                    bool& minFirst) const {
  const int end = std::min((block + 1) * kBlockRows, RowCount());
  if (block < 0 || block >= BlockCount() || column < 1 || column >= ColumnCount() ||
      (ScannedRows() < end && !ScanComplete()))
    return false;
  return m_blockExtremes.Get(block, column, minimum, maximum, minFirst);
}

size_t CRecordingPages::HeapBytes() const {
  // The arrays are sized by the worker before the ids are published.
  size_t bytes = 0;
  if (IdsReady())
    bytes += m_vIds.capacity() * sizeof(int64_t) + m_vTimes.capacity() * sizeof(int64_t) +
             m_blockExtremes.HeapBytes();
  std::lock_guard<std::mutex> lock(m_mutex);
  for (const auto& entry : m_cache)
    bytes += entry.second.first->HeapBytes();
  return bytes;
}

namespace {

// A read-only connection of its own and the walk statement over the recording's rows up
// to the last row id seen when it opened; false with the cause when either fails.
bool OpenWalk(const CRecordingPages& recording, sqlite3*& db, sqlite3_stmt*& query,
              std::string& cause) {
  // Used by the calling thread alone.
  if (sqlite3_open_v2(recording.DatabasePath().c_str(), &db,
                      SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    cause = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return false;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  if (sqlite3_prepare_v2(db, kWalkStatement, -1, &query, nullptr) != SQLITE_OK) {
    cause = sqlite3_errmsg(db);
    sqlite3_close(db);
    return false;
  }
  sqlite3_bind_int(query, 1, recording.AcquisitionId());
  sqlite3_bind_int64(query, 2, recording.LastRowId());
  return true;
}

// The recording's rows in order, each decoded into one reused builder handed to sink.
bool ForEachStoredRow(const CRecordingPages& recording,
                      const std::function<bool(const CLoadedTable::CRowBuilder& row)>& sink,
                      std::string& cause) {
  cause.clear();
  const int rows = recording.RowCount();
  if (rows == 0 || recording.AcquisitionId() < 0)
    return true;
  sqlite3* db = nullptr;
  sqlite3_stmt* query = nullptr;
  if (!OpenWalk(recording, db, query, cause))
    return false;
  CValueRowReader reader;
  CLoadedTable::CRowBuilder row;
  const int itemColumns = std::max(0, recording.ColumnCount() - 1);
  int read = 0;
  int code = SQLITE_ROW;
  bool accepted = true;
  while (accepted && read < rows && (code = sqlite3_step(query)) == SQLITE_ROW) {
    ReadStoredRow(query, 0, reader, itemColumns, row);
    accepted = sink(row);
    ++read;
  }
  const bool ended = code == SQLITE_ROW || code == SQLITE_DONE;
  if (!ended)
    cause = sqlite3_errmsg(db);
  sqlite3_finalize(query);
  sqlite3_close(db);
  return accepted && ended;
}

void DecodeBatch(StoredBatch& batch, int itemColumns, StoredRowDecoder& decoder,
                 const std::function<void(const CLoadedTable::CRowBuilder&, std::string&)>& format,
                 const StoredTextFormat& formatText) {
  batch.text.clear();
  for (const StoredBatch::Row& stored : batch.rows) {
    const char* time = batch.Time(stored);
    std::string_view text;
    const bool inflated = decoder.reader.Inflate(stored.isBlob, batch.bytes.data() + stored.value,
                                                 stored.valueBytes, itemColumns, text);
    if (inflated && time != nullptr && formatText != nullptr &&
        formatText(std::string_view(time, stored.timeBytes), text, batch.text))
      continue;
    ReadInflatedValues(time, stored.timeBytes, inflated, text, itemColumns, decoder.row);
    format(decoder.row, batch.text);
  }
}

}  // namespace

int RecordingTextThreads() {
  // One decoder per core: the thread that reads and writes mostly waits for them (a
  // decoder fewer left one core idle on a two-core machine).
  const unsigned cores = std::thread::hardware_concurrency();
  return cores <= 1 ? 0 : static_cast<int>(std::min(cores, 4u));
}

bool StreamRecordingText(
    const CRecordingPages& recording, int threads,
    const std::function<void(const CLoadedTable::CRowBuilder& row, std::string& out)>& format,
    const std::function<bool(std::string_view text)>& write, std::string& cause,
    const StoredTextFormat& formatText) {
  cause.clear();
  const int rows = recording.RowCount();
  if (rows == 0 || recording.AcquisitionId() < 0)
    return true;
  sqlite3* db = nullptr;
  sqlite3_stmt* query = nullptr;
  if (!OpenWalk(recording, db, query, cause))
    return false;
  const int itemColumns = std::max(0, recording.ColumnCount() - 1);
  // Written on a thread of its own: reading and decoding the next rows go on while the
  // kernel takes the text.
  CPieceWriter writer(write);
  const int code = PipeStoredRows(
      query, rows, threads,
      [&](StoredBatch& batch, StoredRowDecoder& decoder) {
        DecodeBatch(batch, itemColumns, decoder, format, formatText);
      },
      [&](StoredBatch& batch) { return writer.Push(batch.text); });
  const bool written = writer.Finish();
  const bool ended = code == SQLITE_ROW || code == SQLITE_DONE;
  if (!ended)
    cause = sqlite3_errmsg(db);
  sqlite3_finalize(query);
  sqlite3_close(db);
  return written && ended;
}

bool StreamRecordingRows(const CRecordingPages& recording,
                         const std::function<bool(const CLoadedTable& batch)>& sink,
                         std::string& cause) {
  const auto batch = MakeRecordingPageTable(recording.Titles(), CRecordingPages::kPageRows);
  bool accepted = true;
  const bool read = ForEachStoredRow(
      recording,
      [&](const CLoadedTable::CRowBuilder& row) {
        batch->AppendRow(row);
        if (batch->RowCount() == CRecordingPages::kPageRows) {
          accepted = sink(*batch);
          batch->ClearRows();
        }
        return accepted;
      },
      cause);
  // The rows read before a failure are handed on too (the text so far).
  if (accepted && batch->RowCount() > 0)
    accepted = sink(*batch);
  return read && accepted;
}
