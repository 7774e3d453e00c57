#pragma once
// CPieceWriter: texts written in the order they come, on a thread of its own, so that the
// thread producing them goes on while the kernel takes the last one (a write of a large
// export costs about as much as reading its rows). At most a few pieces wait; the texts
// are swapped, not copied, and their buffers reused. After a refused write no further
// piece is offered.
// Thread rule: Push and Finish on the owner's thread; write runs on the writer's thread,
// and everything it touched is the owner's again once Finish returns.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class CPieceWriter {
 public:
  explicit CPieceWriter(std::function<bool(std::string_view text)> write);
  // Finishes (the pieces still waiting are written).
  ~CPieceWriter();
  CPieceWriter(const CPieceWriter&) = delete;
  CPieceWriter& operator=(const CPieceWriter&) = delete;

  // Hands text over, leaving an emptied buffer in its place; waits while the queue is
  // full. False once a write was refused.
  bool Push(std::string& text);
  // Waits until every piece is written and ends the thread; false when a write was refused.
  bool Finish();

 private:
  static constexpr size_t kMostWaiting = 4;
  void Run();

  std::function<bool(std::string_view)> m_fnWrite;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<std::string> m_waiting;
  std::vector<std::string> m_spare;
  bool m_bRefused = false;
  bool m_bEnding = false;
  std::thread m_thread;
};
