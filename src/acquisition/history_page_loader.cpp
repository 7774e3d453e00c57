#include "acquisition/history_page_loader.h"

#include <algorithm>

CHistoryPageLoader::CHistoryPageLoader(const HistoricalDataList& list)
    : m_list(list), m_thread([this] { Run(); }) {}

CHistoryPageLoader::~CHistoryPageLoader() {
  {
    std::lock_guard lock(m_mutex);
    m_bStop = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

void CHistoryPageLoader::Request(int page, uint64_t generation) {
  {
    std::lock_guard lock(m_mutex);
    const auto same = [&](const LoadedHistoryPage& asked) {
      return asked.page == page && asked.generation == generation;
    };
    if ((m_nReading == page && m_nReadingGeneration == generation) ||
        std::any_of(m_requests.begin(), m_requests.end(), same) ||
        std::any_of(m_loaded.begin(), m_loaded.end(), same)) {
      return;
    }
    // The newest request first: the rows on screen now, not those scrolled past.
    m_requests.push_front({page, generation, {}});
  }
  m_wake.notify_one();
}

std::vector<LoadedHistoryPage> CHistoryPageLoader::TakeLoaded(uint64_t generation) {
  std::vector<LoadedHistoryPage> taken;
  std::lock_guard lock(m_mutex);
  for (LoadedHistoryPage& page : m_loaded) {
    if (page.generation == generation)
      taken.push_back(std::move(page));
  }
  m_loaded.clear();
  return taken;
}

void CHistoryPageLoader::Cancel() {
  std::lock_guard lock(m_mutex);
  m_requests.clear();
  m_loaded.clear();
}

int CHistoryPageLoader::Pending() const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_requests.size() + m_loaded.size()) + (m_nReading >= 0 ? 1 : 0);
}

void CHistoryPageLoader::Run() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_bStop || !m_requests.empty(); });
    if (m_bStop)
      return;
    LoadedHistoryPage page = std::move(m_requests.front());
    m_requests.pop_front();
    m_nReading = page.page;
    m_nReadingGeneration = page.generation;
    lock.unlock();
    // Read without the loader's lock: the owner goes on asking and taking meanwhile.
    bool current = m_list.Generation() == page.generation;
    if (current) {
      // Rows still in memory when the read began may be rewritten yet: only the older
      // ones, which never change, are handed over.
      const int first = page.page * HistoricalDataList::kPageRows;
      const int final = m_list.FirstInMemory();
      page.rows = m_list.Snapshot(first, HistoricalDataList::kPageRows);
      for (size_t i = 0; i < page.rows.size(); ++i) {
        if (first + static_cast<int>(i) >= final)
          page.rows[i] = nullptr;
      }
      // A Clear during the read may have mixed the two lists' rows: dropped.
      current = m_list.Generation() == page.generation;
    }
    lock.lock();
    m_nReading = -1;
    if (current && !m_bStop)
      m_loaded.push_back(std::move(page));
  }
}
