#pragma once
// CHistoryPageLoader: reads pages of a history's older rows (those read back from the
// recording) on a worker thread, for a table that must not wait on the database. Each
// request carries the list's generation; a page read while the list was cleared, reset
// or refilled belongs to another list and is dropped, by the worker or when taken.
// Thread rule: Request, TakeLoaded and Cancel on the owner's (GUI) thread; the worker
// reads the list (which any thread may read) and writes only the loaded pages, under
// the loader's own mutex.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "acquisition/historical_data_list.h"

struct LoadedHistoryPage {
  int page = 0;  // rows page * kPageRows .. + kPageRows - 1
  uint64_t generation = 0;
  std::vector<DataSetPtr> rows;  // null for rows that were still in memory
};

class CHistoryPageLoader {
 public:
  explicit CHistoryPageLoader(const HistoricalDataList& list);
  // Waits for the page being read, if any.
  ~CHistoryPageLoader();
  CHistoryPageLoader(const CHistoryPageLoader&) = delete;
  CHistoryPageLoader& operator=(const CHistoryPageLoader&) = delete;

  // Asks for a page of the list's generation; a page already asked for is not asked again.
  void Request(int page, uint64_t generation);
  // The pages read since the last call that are of this generation (the others dropped).
  std::vector<LoadedHistoryPage> TakeLoaded(uint64_t generation);
  // Forgets the pages asked for and not read yet.
  void Cancel();
  // Pages asked for and not taken yet.
  int Pending() const;

 private:
  void Run();

  const HistoricalDataList& m_list;
  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<LoadedHistoryPage> m_requests;  // rows empty until read
  std::vector<LoadedHistoryPage> m_loaded;
  int m_nReading = -1;  // the page being read
  uint64_t m_nReadingGeneration = 0;
  bool m_bStop = false;
  std::thread m_thread;  // last: started once everything above exists
};
