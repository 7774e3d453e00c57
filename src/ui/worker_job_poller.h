#pragma once
// CWorkerJobPoller: the GUI side of a worker job. Every interval it reads the job's state
// once and hands the job and that state to the owner's function (which updates a
// progress dialog or writes the log); after the call that saw a final state it stops, so
// the end is reported exactly once. Thread rule: GUI thread.
#include <QObject>
#include <QTimer>
#include <functional>

#include "base/worker_job.h"

class CWorkerJobPoller : public QObject {
  Q_OBJECT
 public:
  using Tick = std::function<void(CWorkerJob& job, int32_t state)>;
  static constexpr int kDefaultIntervalMs = 1000;

  CWorkerJobPoller(CWorkerJob& job, Tick tick, QObject* parent = nullptr);
  void SetInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
  int Interval() const { return m_timer.interval(); }
  void Start() { m_timer.start(); }
  void Stop() { m_timer.stop(); }
  bool IsActive() const { return m_timer.isActive(); }

 private:
  void OnTimer();

  CWorkerJob& m_job;
  Tick m_tick;
  QTimer m_timer;
};
