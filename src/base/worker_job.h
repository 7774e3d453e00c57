#pragma once
// CWorkerJob and CWorker: the one way a background job (backup save, clipboard copy,
// recorded-data load, version-check URL open) talks to the GUI thread. The worker writes
// only its job record and its own buffers; the GUI thread polls the record and reports.
// The two sides share no lock: every shared field is a single 32-bit atomic or a flag.
//
// Thread rule: the owner (GUI thread) prepares the record and calls CWorker::Start. While
// the job runs, only the worker writes the state, the counters and the error; the owner
// only reads them and sets the stop flag. The error text is written by the worker before
// it publishes a final state (release store) and is read by the owner only after it has
// seen a final state (acquire load); ErrorText() enforces that. After the final state the
// worker writes nothing more. The total is written either by the owner before Start or
// by the worker, never by both.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "base/clock.h"

// Generic states. A kind may store its own documented codes instead (10 saving, 11
// loading, 12 copying...): codes below kJobFinalStates mean "running", codes from it on
// mean "ended", so 20 done and 21 failed are the generic finished and failed.
constexpr int32_t kJobIdle = 0;
constexpr int32_t kJobRunning = 1;
constexpr int32_t kJobFinalStates = 20;
constexpr int32_t kJobFinished = 20;
constexpr int32_t kJobFailed = 21;
constexpr int32_t kJobStopped = 22;

// Error cause of a job the facility ended because its work threw.
constexpr int32_t kJobErrorNone = 0;
constexpr int32_t kJobErrorException = -1;

inline bool IsFinalJobState(int32_t state) {
  return state >= kJobFinalStates;
}

class CWorkerJob {
 public:
  CWorkerJob() = default;
  CWorkerJob(const CWorkerJob&) = delete;
  CWorkerJob& operator=(const CWorkerJob&) = delete;

  // --- Read by the owner (any time) ---
  int32_t State() const { return m_nState.load(std::memory_order_acquire); }
  bool IsFinal() const { return IsFinalJobState(State()); }
  int32_t Done() const { return m_nDone.load(std::memory_order_relaxed); }
  int32_t Total() const { return m_nTotal.load(std::memory_order_relaxed); }
  // Duration of the work; valid once the state is final.
  int32_t ElapsedMs() const { return m_nElapsedMs.load(std::memory_order_relaxed); }
  int32_t ErrorCode() const { return m_nErrorCode.load(std::memory_order_relaxed); }
  // The worker's cause text once the state is final; empty before.
  std::string ErrorText() const { return IsFinal() ? m_sErrorText : std::string(); }
  // True once after each MarkProgressChanged: the tick shows the progress only then.
  bool TakeProgressChanged() {
    return m_bProgressChanged.exchange(false, std::memory_order_acq_rel);
  }

  // --- Written by the owner ---
  void RequestStop() { m_bStopRequested.store(true, std::memory_order_release); }

  // --- Written by the worker (or by the owner before Start, for the total) ---
  bool StopRequested() const { return m_bStopRequested.load(std::memory_order_acquire); }
  void SetTotal(int32_t total) { m_nTotal.store(total, std::memory_order_relaxed); }
  void SetDone(int32_t done) { m_nDone.store(done, std::memory_order_relaxed); }
  int32_t AddDone(int32_t count = 1) {
    return m_nDone.fetch_add(count, std::memory_order_relaxed) + count;
  }
  void MarkProgressChanged() { m_bProgressChanged.store(true, std::memory_order_release); }
  // A final state also stores the elapsed time first, so the owner reads it with the state.
  void SetState(int32_t state);
  // Cause of a failure to come; call before the final state.
  void SetError(int32_t code, const std::string& text);
  // SetError, then the final state kJobFailed.
  void Fail(int32_t code, const std::string& text);

 private:
  friend class CWorker;
  // Clears everything but the total; owner side, before the thread starts.
  void Prepare(const IClock* clock);
  uint32_t NowMs() const;

  std::atomic<int32_t> m_nState{kJobIdle};
  std::atomic<int32_t> m_nDone{0};
  std::atomic<int32_t> m_nTotal{0};
  std::atomic<int32_t> m_nElapsedMs{0};
  std::atomic<int32_t> m_nErrorCode{kJobErrorNone};
  std::atomic<bool> m_bStopRequested{false};
  std::atomic<bool> m_bProgressChanged{false};
  std::string m_sErrorText;  // published by the final state, see the thread rule
  // Set by Prepare before the thread exists, then read by the worker only.
  const IClock* m_pClock = nullptr;
  uint32_t m_nStartMs = 0;
};

// Runs one job at a time on its own std::thread. The job record must outlive the worker
// (declare it before the CWorker member). Thread rule: every method on the owner's thread.
class CWorker {
 public:
  using Work = std::function<void(CWorkerJob&)>;

  // Elapsed times come from the clock's tick count; without a clock, from steady_clock.
  explicit CWorker(const IClock* clock = nullptr) : m_pClock(clock) {}
  CWorker(const CWorker&) = delete;
  CWorker& operator=(const CWorker&) = delete;
  // Requests a stop and waits for the thread: a job that must complete ignores the flag.
  ~CWorker();

  // Clears the job (state kJobRunning) and runs work on a new thread. When work returns
  // without a final state, the job ends kJobStopped if a stop was requested, else
  // kJobFinished; an exception ends it kJobFailed with kJobErrorException and its text.
  // Refused (false) while a job of this worker runs, or when no thread can be created.
  bool Start(CWorkerJob& job, Work work);
  // True from Start until the thread has left the work and published the final state.
  bool IsRunning() const { return m_bActive.load(std::memory_order_acquire); }
  void RequestStop();
  // Waits for the thread to end; a no-op when none was started.
  void Join();
  // Waits at most the given time; true when the thread has ended (and was joined).
  bool WaitFor(uint32_t milliseconds);

 private:
  void Run(CWorkerJob& job, const Work& work);

  const IClock* m_pClock;
  CWorkerJob* m_pJob = nullptr;
  std::atomic<bool> m_bActive{false};
  std::thread m_thread;
};
