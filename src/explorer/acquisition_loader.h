#pragma once
// Loading the value rows of one recorded acquisition into a CLoadedTable on a worker
// thread. The worker opens its own read-only connection and holds it for the whole load;
// nothing else uses it. Each stored value is inflated into one buffer reused for every
// row (grown when a row needs more) and decoded straight into the table's row.
//
// Job record: state 11 while loading, 20 finished, 21 failed (the cause text then holds
// the log line); done = rows read; total = the expected count; elapsed on the final state.
// Thread rule: Start, IsRunning and Wait on the owner's thread; the worker writes only the
// job record and the table.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/worker_job.h"
#include "explorer/loaded_table.h"

inline constexpr int32_t kLoadStateLoading = 11;
inline constexpr char kLoadOpenFailed[] =
    "Error Opening Database ... Unable to Load Project Data !!! ";

// Decodes one inflated value text into the row after its time cell: cells of text ";"
// [digit] ";", with %3B and %25 of string values turned back into ";" and "%". Stops
// when no further ";" follows.
void DecodeValueTextInto(std::string_view text, CLoadedTable::CRowBuilder& row);

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
