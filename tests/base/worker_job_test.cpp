// The worker job facility: the owner polls the record while the worker fills it. Also run
// under ThreadSanitizer (preset tsan), where any unordered access fails the test.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "base/clock.h"
#include "base/worker_job.h"

namespace {

using namespace std::chrono_literals;

// Polls like the GUI tick until the state is final (or 10 s pass); calls tick each time.
template <typename Tick>
bool PollToEnd(const CWorkerJob& job, Tick tick) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < deadline) {
    const bool final = job.IsFinal();
    tick();
    if (final) {
      return true;
    }
    std::this_thread::sleep_for(1ms);
  }
  return false;
}

// Waits (bounded) until the worker has stopped at a gate.
void WaitUntil(const std::atomic<bool>& flag) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!flag.load() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
  }
}

}  // namespace

TEST(WorkerJob, RunsToTheEndWithMonotonicProgressAndElapsedTime) {
  FakeClock clock;
  CWorkerJob job;
  job.SetTotal(2000);  // the owner knows the count before the start
  CWorker worker(&clock);
  ASSERT_TRUE(worker.Start(job, [&clock](CWorkerJob& j) {
    j.SetState(11);  // a kind's own running code
    for (int i = 0; i < j.Total(); ++i) {
      j.AddDone();
      if (i % 100 == 99) {
        j.MarkProgressChanged();
        clock.AdvanceMs(10);
        std::this_thread::sleep_for(1ms);  // lets the poller see it running
      }
    }
  }));
  EXPECT_TRUE(worker.IsRunning());
  int32_t previous = 0;
  int changes = 0;
  ASSERT_TRUE(PollToEnd(job, [&] {
    const int32_t state = job.State();
    EXPECT_TRUE(state == kJobRunning || state == 11 || state == kJobFinished) << state;
    const int32_t done = job.Done();
    EXPECT_GE(done, previous);
    EXPECT_LE(done, job.Total());
    previous = done;
    changes += job.TakeProgressChanged() ? 1 : 0;
  }));
  worker.Join();
  EXPECT_FALSE(worker.IsRunning());
  EXPECT_EQ(job.State(), kJobFinished);  // set by the facility: the work left none
  EXPECT_EQ(job.Done(), 2000);
  EXPECT_EQ(job.ElapsedMs(), 200);
  EXPECT_EQ(job.ErrorCode(), kJobErrorNone);
  EXPECT_EQ(job.ErrorText(), "");
  EXPECT_GE(changes, 1);
  EXPECT_FALSE(IsFinalJobState(11));
  EXPECT_TRUE(IsFinalJobState(kJobFailed));
}

TEST(WorkerJob, StopFlagIsHonouredAndEndsStopped) {
  CWorkerJob job;
  CWorker worker;
  std::atomic<bool> started{false};
  ASSERT_TRUE(worker.Start(job, [&started](CWorkerJob& j) {
    started = true;
    while (!j.StopRequested()) {
      j.AddDone();
      std::this_thread::sleep_for(1ms);
    }
  }));
  WaitUntil(started);
  worker.RequestStop();
  ASSERT_TRUE(PollToEnd(job, [] {}));
  EXPECT_EQ(job.State(), kJobStopped);
  worker.Join();
  EXPECT_FALSE(worker.IsRunning());
}

TEST(WorkerJob, FailureCarriesItsCauseTextAndAnExceptionFailsTheJob) {
  CWorkerJob job;
  CWorker worker;
  ASSERT_TRUE(worker.Start(job, [](CWorkerJob& j) {
    j.SetError(5, "Access Denied");
    j.SetState(kJobFailed);
  }));
  ASSERT_TRUE(PollToEnd(job, [] {}));
  EXPECT_EQ(job.State(), kJobFailed);
  EXPECT_EQ(job.ErrorCode(), 5);
  EXPECT_EQ(job.ErrorText(), "Access Denied");

  worker.Join();
  std::atomic<bool> release{false};
  ASSERT_TRUE(worker.Start(job, [&release](CWorkerJob&) {
    WaitUntil(release);
    throw std::runtime_error("bad row");
  }));
  EXPECT_EQ(job.ErrorText(), "");  // cleared by the start, hidden until the end
  release = true;
  ASSERT_TRUE(PollToEnd(job, [] {}));
  EXPECT_EQ(job.State(), kJobFailed);
  EXPECT_EQ(job.ErrorCode(), kJobErrorException);
  EXPECT_EQ(job.ErrorText(), "bad row");
}

TEST(WorkerJob, SecondStartIsRefusedWhileOneRuns) {
  CWorkerJob job;
  CWorkerJob other;
  CWorker worker;
  std::atomic<bool> release{false};
  std::atomic<int> runs{0};
  ASSERT_TRUE(worker.Start(job, [&](CWorkerJob&) {
    ++runs;
    WaitUntil(release);
  }));
  EXPECT_FALSE(worker.Start(other, [&](CWorkerJob&) { ++runs; }));
  EXPECT_EQ(other.State(), kJobIdle);  // untouched
  EXPECT_FALSE(worker.WaitFor(20));    // still held at the gate
  release = true;
  EXPECT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(job.State(), kJobFinished);
  ASSERT_TRUE(worker.Start(other, [&](CWorkerJob&) { ++runs; }));  // free again
  worker.Join();
  EXPECT_EQ(runs.load(), 2);
  EXPECT_EQ(other.State(), kJobFinished);
}

TEST(WorkerJob, DestructionStopsAndJoinsTheThread) {
  CWorkerJob job;
  std::atomic<bool> started{false};
  std::atomic<bool> left{false};
  {
    CWorker worker;
    ASSERT_TRUE(worker.Start(job, [&](CWorkerJob& j) {
      started = true;
      while (!j.StopRequested()) {
        std::this_thread::sleep_for(1ms);
      }
      std::this_thread::sleep_for(20ms);  // a slow tidy-up is still waited for
      left = true;
    }));
    WaitUntil(started);
  }
  EXPECT_TRUE(left.load());
  EXPECT_EQ(job.State(), kJobStopped);
}
