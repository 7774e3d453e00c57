#pragma once
// Loading the value rows of one recorded acquisition into a CLoadedTable on a worker
// thread. The worker opens its own read-only connection and holds it for the whole load;
// nothing else uses it. Each stored value is inflated into one buffer reused for every
// row (grown when a row needs more, never past what a row of the table's columns can
// hold) and decoded straight into the table's row. A row that is not a blob, does not
// inflate within that bound, is not well formed or has another number of cells than the
// table has item columns keeps its time alone and is marked damaged in the table.
//
// Job record: state 11 while loading, 20 finished, 21 failed (the cause text then holds
// the log line); done = rows read; total = the expected count; elapsed on the final state.
// Thread rule: Start, IsRunning and Wait on the owner's thread; the worker writes only the
// job record and the table.
#include <cstdint>
#include <string>
#include <string_view>

#include "acquisition/value_inflater.h"
#include "base/worker_job.h"
#include "explorer/loaded_table.h"

inline constexpr int32_t kLoadStateLoading = 11;
inline constexpr char kLoadOpenFailed[] =
    "Error Opening Database ... Unable to Load Project Data !!! ";

// Decodes one inflated value text into the row after its time cell: cells of text ";"
// [digit] ";", with %3B and %25 of string values turned back into ";" and "%", and a
// zero byte (%00, or raw in older rows) shown as U+FFFD. Stops when no further ";"
// follows. False when the text is not such a sequence (the cells before the fault stay).
bool DecodeValueTextInto(std::string_view text, CLoadedTable::CRowBuilder& row);

// Reads stored value rows one after another into row builders (the loader's reading of
// each row; the fuzzer's too), reusing one inflate buffer.
class CValueRowReader {
 public:
  CValueRowReader() = default;
  CValueRowReader(const CValueRowReader&) = delete;
  CValueRowReader& operator=(const CValueRowReader&) = delete;
  // The stored value (isBlob: SQLite holds a blob, not text, null or a number) decoded
  // into row after its time cell; false, with the row marked damaged and kept at its time,
  // when it is not a stream that inflates within StoredValueTextLimit(itemColumns) to a
  // well-formed text of exactly itemColumns cells.
  bool Read(bool isBlob, const void* data, size_t size, int itemColumns,
            CLoadedTable::CRowBuilder& row);
  // Only the inflating: the text (valid until the next call), or false when the value is
  // not a stream that inflates within StoredValueTextLimit(itemColumns).
  bool Inflate(bool isBlob, const void* data, size_t size, int itemColumns, std::string_view& text);

 private:
  CValueInflater m_inflater;
};

// One stored row of a statement's current result (the time at column timeColumn, the
// value after it) read into row; false when its values could not be read (the row is
// then marked damaged, as is a row without a time).
struct sqlite3_stmt;
bool ReadStoredRow(sqlite3_stmt* query, int timeColumn, CValueRowReader& reader, int itemColumns,
                   CLoadedTable::CRowBuilder& row);
// The same from the column values copied out of the statement (time null: none).
bool ReadStoredValues(const char* time, size_t timeBytes, bool isBlob, const void* blob,
                      size_t size, CValueRowReader& reader, int itemColumns,
                      CLoadedTable::CRowBuilder& row);

// The decoding after Inflate: the text (inflated false: the value did not inflate) into row
// after its time cell; false, with the row marked damaged, as for Read.
bool DecodeInflatedText(bool inflated, std::string_view text, int itemColumns,
                        CLoadedTable::CRowBuilder& row);
// ReadStoredValues of a value already inflated.
bool ReadInflatedValues(const char* time, size_t timeBytes, bool inflated, std::string_view text,
                        int itemColumns, CLoadedTable::CRowBuilder& row);

// The whole load, on the calling thread (the worker's body; tests call it directly).
void LoadAcquisitionRows(const std::string& databasePath, int acquisitionId, CLoadedTable& table,
                         CWorkerJob& job);

class CAcquisitionLoader {
 public:
  explicit CAcquisitionLoader(const IClock* clock = nullptr) : m_worker(clock) {}

  // Starts the worker on an emptied table whose columns are set; false while a load runs.
  bool Start(const std::string& databasePath, int acquisitionId, int expectedRows,
             CLoadedTable& table);
  bool IsRunning() const { return m_worker.IsRunning(); }
  void Wait() { m_worker.Join(); }
  CWorkerJob& Job() { return m_job; }
  const CWorkerJob& Job() const { return m_job; }
  int AcquisitionId() const { return m_nAcquisitionId; }

 private:
  CWorkerJob m_job;  // before the worker, which must not outlive it
  CWorker m_worker;
  int m_nAcquisitionId = -1;
};

// The progress window's texts.
std::string LoadingProgressText(int rowsRead, int expectedRows);
std::string LoadedText(int rowsLoaded, int elapsedMs);
inline constexpr char kLoadFailedText[] = "Error Loading Project Data ...";
inline constexpr char kLoadingTitle[] = "Loading Velmora Project OPC Data";
inline constexpr char kLoadingStartText[] = "Loading Project Data ...";
