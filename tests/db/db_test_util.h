#pragma once
// Helpers of the database tests: a second, raw SQLite connection (to prepare files and
// hold locks the way another program would) and a clock whose sleeps can act.
#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"

// A connection of its own to a file, closed with the object.
class RawConnection {
 public:
  explicit RawConnection(const std::string& path);
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;
  // Runs a script; returns the SQLite code.
  int Exec(const std::string& script);
  // Rows of a query, each row's columns as text ("<null>" for null).
  std::vector<std::vector<std::string>> Rows(const std::string& statement);
  // The single value of a one-row, one-column query as text.
  std::string Value(const std::string& statement);
  sqlite3* Handle() const { return m_pDb; }

 private:
  sqlite3* m_pDb = nullptr;
};

// A fake clock that calls onSleep after each sleep (with the number of sleeps so far) and
// can tick forward on every TickCount call, to give statements a duration.
class HookClock : public IClock {
 public:
  LocalTime LocalNow() const override { return m_clock.LocalNow(); }
  FILETIME UtcFileTimeNow() const override { return m_clock.UtcFileTimeNow(); }
  FILETIME LocalFileTimeNow() const override { return m_clock.LocalFileTimeNow(); }
  int64_t SecondsSince1970() const override { return m_clock.SecondsSince1970(); }
  uint32_t TickCount() const override;
  void SleepMs(uint32_t milliseconds) override;

  std::function<void(int sleeps)> onSleep;
  uint32_t tickStepMs = 0;  // added to the clock on every TickCount call
  int sleeps = 0;
  uint64_t sleptMs = 0;

 private:
  mutable FakeClock m_clock;
};
