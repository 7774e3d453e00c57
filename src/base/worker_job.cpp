#include "base/worker_job.h"

#include <chrono>
#include <exception>
#include <system_error>

void CWorkerJob::SetState(int32_t state) {
  if (IsFinalJobState(state)) {
    m_nElapsedMs.store(static_cast<int32_t>(NowMs() - m_nStartMs), std::memory_order_relaxed);
  }
  m_nState.store(state, std::memory_order_release);
}

void CWorkerJob::SetError(int32_t code, const std::string& text) {
  m_sErrorText = text;
  m_nErrorCode.store(code, std::memory_order_relaxed);
}

void CWorkerJob::Fail(int32_t code, const std::string& text) {
  SetError(code, text);
  SetState(kJobFailed);
}

void CWorkerJob::Prepare(const IClock* clock) {
  m_pClock = clock;
  m_nStartMs = NowMs();
  m_nDone.store(0, std::memory_order_relaxed);
  m_nElapsedMs.store(0, std::memory_order_relaxed);
  m_nErrorCode.store(kJobErrorNone, std::memory_order_relaxed);
  m_sErrorText.clear();
  m_bStopRequested.store(false, std::memory_order_relaxed);
  m_bProgressChanged.store(false, std::memory_order_relaxed);
  m_nState.store(kJobRunning, std::memory_order_release);
}

uint32_t CWorkerJob::NowMs() const {
  if (m_pClock != nullptr) {
    return m_pClock->TickCount();
  }
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

CWorker::~CWorker() {
  RequestStop();
  Join();
}

bool CWorker::Start(CWorkerJob& job, Work work) {
  if (IsRunning()) {
    return false;
  }
  Join();  // the previous thread has ended; collect it
  job.Prepare(m_pClock);
  m_pJob = &job;
  m_bActive.store(true, std::memory_order_release);
  try {
    m_thread = std::thread([this, &job, work = std::move(work)] { Run(job, work); });
  } catch (const std::system_error&) {
    // The work never runs; a failed state keeps a poller from waiting for it forever.
    m_bActive.store(false, std::memory_order_release);
    job.Fail(kJobErrorException, "Unable to Start Worker Thread");
    return false;
  }
  return true;
}

void CWorker::RequestStop() {
  if (m_pJob != nullptr && IsRunning()) {
    m_pJob->RequestStop();
  }
}

void CWorker::Join() {
  if (m_thread.joinable()) {
    m_thread.join();
  }
}

bool CWorker::WaitFor(uint32_t milliseconds) {
  // Polling keeps the worker free of any lock shared with the caller.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (IsRunning()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  Join();
  return true;
}

void CWorker::Run(CWorkerJob& job, const Work& work) {
  try {
    work(job);
  } catch (const std::exception& e) {
    if (!job.IsFinal()) {
      job.Fail(kJobErrorException, e.what());
    }
  } catch (...) {
    if (!job.IsFinal()) {
      job.Fail(kJobErrorException, "Unknown Exception");
    }
  }
  if (!job.IsFinal()) {
    job.SetState(job.StopRequested() ? kJobStopped : kJobFinished);
  }
  m_bActive.store(false, std::memory_order_release);
}
