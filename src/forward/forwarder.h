#pragma once
// CForwarder: a thread that sends one acquisition's recorded rows to PostgreSQL while the
// acquisition records them, and catches up at the end within a bounded wait. The
// recording is its spool (read back from the local database), so the acquisition cycle
// never waits for it; when the server is away it tries again after growing pauses.
//
// Thread rule: Start, Notify, TakeMessages and Finish on the owner's thread. The thread
// writes the counters (atomics) and appends messages under a lock; the owner takes the
// messages and logs them on its own thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ForwarderOptions {
  std::string databasePath;
  std::string url;
  int acquisitionId = -1;
  std::string project;
  int batchRows = 0;       // 0: the default
  int firstPauseMs = 250;  // after a failure; doubled up to maxPauseMs
  int maxPauseMs = 4000;
  int idlePauseMs = 250;  // between looks when everything is sent
};

class CForwarder {
 public:
  CForwarder() = default;
  ~CForwarder();
  CForwarder(const CForwarder&) = delete;
  CForwarder& operator=(const CForwarder&) = delete;

  void Start(const ForwarderOptions& options);
  bool IsStarted() const { return m_thread.joinable(); }
  // A row was recorded: look now rather than after the idle pause.
  void Notify();
  // The last rows of the acquisition that may still be rewritten (a slower group's values
  // interpolated into them): they wait until they settle or the acquisition ends.
  void SetUnsettledRows(int rows) { m_nUnsettled.store(rows, std::memory_order_release); }
  // Messages for the log since the last call (connection failures, returns).
  std::vector<std::string> TakeMessages();
  // Keeps sending for at most waitMs, then ends the thread (returns when it has ended).
  void Finish(int waitMs);
  // The same without waiting: the thread ends on its own; HasEnded tells when, and
  // Finish(0) then only joins it.
  void RequestFinish(int waitMs);
  bool HasEnded() const { return m_bEnded.load(std::memory_order_acquire); }

  // Rows confirmed by the server during this run.
  int64_t Forwarded() const { return m_nForwarded.load(std::memory_order_acquire); }
  // After Finish: rows of the acquisition the server has not confirmed; -1 when the local
  // database could not be read.
  int64_t Waiting() const { return m_nWaiting.load(std::memory_order_acquire); }
  // After Finish: the last failure, empty when none stays unresolved.
  std::string LastFailure() const;

 private:
  void Run();
  void Say(const std::string& text);
  // Waits up to ms (less when the end's deadline comes first); false when it is past.
  bool Pause(int ms);

  ForwarderOptions m_options;
  std::thread m_thread;
  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_bFinishing = false;
  bool m_bNotified = false;
  std::chrono::steady_clock::time_point m_deadline;
  std::vector<std::string> m_messages;
  std::string m_sLastFailure;
  std::atomic<int64_t> m_nForwarded{0};
  std::atomic<int64_t> m_nWaiting{-1};
  std::atomic<bool> m_bEnded{false};
  std::atomic<int> m_nUnsettled{0};
};
