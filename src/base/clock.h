#pragma once
// IClock: the only way core code learns the time. The GUI and the CLI use SystemClock;
// tests and simulated acquisitions use FakeClock, which only moves when told to.
#include <cstdint>
#include <mutex>

#include "base/filetime.h"

struct LocalTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int dayOfWeek = 4;  // 0 = Sunday
};

class IClock {
 public:
  virtual ~IClock() = default;
  // Local wall-clock time with milliseconds.
  virtual LocalTime LocalNow() const = 0;
  // Current time as a UTC FILETIME.
  virtual FILETIME UtcFileTimeNow() const = 0;
  // Local wall-clock time as a FILETIME (what the read time stamps of groups hold).
  virtual FILETIME LocalFileTimeNow() const = 0;
  // Seconds since 1970-01-01 00:00:00 UTC.
  virtual int64_t SecondsSince1970() const = 0;
  // Milliseconds from an arbitrary origin, for measuring durations.
  virtual uint32_t TickCount() const = 0;
  // Waits; a fake clock advances instead of sleeping.
  virtual void SleepMs(uint32_t milliseconds) = 0;
};

// Calendar arithmetic shared by the clocks and the formatters (proleptic Gregorian).
int64_t DaysFromCivil(int year, int month, int day);
LocalTime LocalTimeFromUnixMs(int64_t unixMs);  // treats unixMs as a wall-clock reading
int64_t UnixMsFromLocalTime(const LocalTime& t);
FILETIME FileTimeFromUnixMs(int64_t unixMs);
int64_t UnixMsFromFileTime(const FILETIME& ft);
LocalTime LocalTimeFromFileTime(const FILETIME& localFileTime);

class SystemClock : public IClock {
 public:
  LocalTime LocalNow() const override;
  FILETIME UtcFileTimeNow() const override;
  FILETIME LocalFileTimeNow() const override;
  int64_t SecondsSince1970() const override;
  uint32_t TickCount() const override;
  void SleepMs(uint32_t milliseconds) override;
};

// A clock that stands still until advanced. Thread rule: safe from any thread.
class FakeClock : public IClock {
 public:
  // Starts at the given local wall-clock time; utcOffsetMinutes = local - UTC.
  explicit FakeClock(const LocalTime& start = LocalTime{2026, 12, 7, 10, 0, 0, 0, 1},
                     int utcOffsetMinutes = 0);
  void Set(const LocalTime& localTime);
  void AdvanceMs(int64_t milliseconds);

  LocalTime LocalNow() const override;
  FILETIME UtcFileTimeNow() const override;
  FILETIME LocalFileTimeNow() const override;
  int64_t SecondsSince1970() const override;
  uint32_t TickCount() const override;
  void SleepMs(uint32_t milliseconds) override { AdvanceMs(milliseconds); }

 private:
  mutable std::mutex m_mutex;
  int64_t m_nLocalUnixMs;
  int64_t m_nTickMs = 0;
  int m_nUtcOffsetMinutes;
};

// A clock that stands still until advanced, like FakeClock, but keeps UTC and gives the
// local time by the process's time-zone rules (TZ), so that a run can cross a daylight
// saving change. Thread rule: safe from any thread.
class ZonedFakeClock : public IClock {
 public:
  explicit ZonedFakeClock(int64_t utcUnixMs);
  void AdvanceMs(int64_t milliseconds);
  LocalTime LocalNow() const override;
  FILETIME UtcFileTimeNow() const override;
  FILETIME LocalFileTimeNow() const override;
  int64_t SecondsSince1970() const override;
  uint32_t TickCount() const override;
  void SleepMs(uint32_t milliseconds) override { AdvanceMs(milliseconds); }

 private:
  int64_t UtcMs() const;

  mutable std::mutex m_mutex;
  int64_t m_nUtcUnixMs;
  int64_t m_nTickMs = 0;
};
