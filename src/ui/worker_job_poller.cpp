#include "ui/worker_job_poller.h"

CWorkerJobPoller::CWorkerJobPoller(CWorkerJob& job, Tick tick, QObject* parent)
    : QObject(parent), m_job(job), m_tick(std::move(tick)) {
  m_timer.setInterval(kDefaultIntervalMs);
  connect(&m_timer, &QTimer::timeout, this, &CWorkerJobPoller::OnTimer);
}

void CWorkerJobPoller::OnTimer() {
  // One read per tick: the function and the stop decision see the same state.
  const int32_t state = m_job.State();
  if (IsFinalJobState(state)) {
    m_timer.stop();
  }
  if (m_tick) {
    m_tick(m_job, state);
  }
}
