#include "base/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

int64_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yoe = year - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

LocalTime LocalTimeFromUnixMs(int64_t unixMs) {
  int64_t days = unixMs >= 0 ? unixMs / 86400000 : (unixMs - 86399999) / 86400000;
  int64_t msOfDay = unixMs - days * 86400000;
  LocalTime t;
  t.dayOfWeek = static_cast<int>((days % 7 + 11) % 7);  // 1970-01-01 was a Thursday
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.hour = static_cast<int>(msOfDay / 3600000);
  t.minute = static_cast<int>(msOfDay / 60000 % 60);
  t.second = static_cast<int>(msOfDay / 1000 % 60);
  t.millisecond = static_cast<int>(msOfDay % 1000);
  return t;
}

int64_t UnixMsFromLocalTime(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400000 + t.hour * 3600000LL +
         t.minute * 60000LL + t.second * 1000LL + t.millisecond;
}

FILETIME FileTimeFromUnixMs(int64_t unixMs) {
  return FileTimeFromUint64(kFileTimeUnixEpoch + static_cast<uint64_t>(unixMs) * 10000ULL);
}

int64_t UnixMsFromFileTime(const FILETIME& ft) {
  return static_cast<int64_t>(FileTimeToUint64(ft) - kFileTimeUnixEpoch) / 10000;
}

LocalTime LocalTimeFromFileTime(const FILETIME& localFileTime) {
  return LocalTimeFromUnixMs(UnixMsFromFileTime(localFileTime));
}

namespace {

int64_t SystemUnixMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The local wall-clock reading of a UTC instant by the process's time-zone rules (TZ),
// expressed as if it were UTC milliseconds.
int64_t LocalUnixMsOf(int64_t utcMs) {
  const std::time_t seconds = static_cast<std::time_t>(utcMs / 1000);
  std::tm local{};
#ifdef _WIN32
  // No tm_gmtoff there: the offset is the local reading taken back as if it were UTC.
  localtime_s(&local, &seconds);
  return utcMs + (static_cast<int64_t>(_mkgmtime(&local)) - seconds) * 1000;
#else
  localtime_r(&seconds, &local);
  return utcMs + static_cast<int64_t>(local.tm_gmtoff) * 1000;
#endif
}

int64_t SystemLocalUnixMs() {
  return LocalUnixMsOf(SystemUnixMs());
}

}  // namespace

LocalTime SystemClock::LocalNow() const {
  return LocalTimeFromUnixMs(SystemLocalUnixMs());
}
FILETIME SystemClock::UtcFileTimeNow() const {
  return FileTimeFromUnixMs(SystemUnixMs());
}
FILETIME SystemClock::LocalFileTimeNow() const {
  return FileTimeFromUnixMs(SystemLocalUnixMs());
}
int64_t SystemClock::SecondsSince1970() const {
  return SystemUnixMs() / 1000;
}

uint32_t SystemClock::TickCount() const {
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::SleepMs(uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

FakeClock::FakeClock(const LocalTime& start, int utcOffsetMinutes)
    : m_nLocalUnixMs(UnixMsFromLocalTime(start)), m_nUtcOffsetMinutes(utcOffsetMinutes) {}

void FakeClock::Set(const LocalTime& localTime) {
  std::lock_guard lock(m_mutex);
  m_nLocalUnixMs = UnixMsFromLocalTime(localTime);
}

void FakeClock::AdvanceMs(int64_t milliseconds) {
  std::lock_guard lock(m_mutex);
  m_nLocalUnixMs += milliseconds;
  m_nTickMs += milliseconds;
}

LocalTime FakeClock::LocalNow() const {
  std::lock_guard lock(m_mutex);
  return LocalTimeFromUnixMs(m_nLocalUnixMs);
}

FILETIME FakeClock::UtcFileTimeNow() const {
  std::lock_guard lock(m_mutex);
  return FileTimeFromUnixMs(m_nLocalUnixMs - m_nUtcOffsetMinutes * 60000LL);
}

FILETIME FakeClock::LocalFileTimeNow() const {
  std::lock_guard lock(m_mutex);
  return FileTimeFromUnixMs(m_nLocalUnixMs);
}

int64_t FakeClock::SecondsSince1970() const {
  std::lock_guard lock(m_mutex);
  return (m_nLocalUnixMs - m_nUtcOffsetMinutes * 60000LL) / 1000;
}

uint32_t FakeClock::TickCount() const {
  std::lock_guard lock(m_mutex);
  return static_cast<uint32_t>(m_nTickMs);
}

ZonedFakeClock::ZonedFakeClock(int64_t utcUnixMs) : m_nUtcUnixMs(utcUnixMs) {}

void ZonedFakeClock::AdvanceMs(int64_t milliseconds) {
  std::lock_guard lock(m_mutex);
  m_nUtcUnixMs += milliseconds;
  m_nTickMs += milliseconds;
}
int64_t ZonedFakeClock::UtcMs() const {
  std::lock_guard lock(m_mutex);
  return m_nUtcUnixMs;
}
LocalTime ZonedFakeClock::LocalNow() const {
  return LocalTimeFromUnixMs(LocalUnixMsOf(UtcMs()));
}
FILETIME ZonedFakeClock::UtcFileTimeNow() const {
  return FileTimeFromUnixMs(UtcMs());
}
FILETIME ZonedFakeClock::LocalFileTimeNow() const {
  return FileTimeFromUnixMs(LocalUnixMsOf(UtcMs()));
}
int64_t ZonedFakeClock::SecondsSince1970() const {
  const int64_t ms = UtcMs();
  return ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
}
uint32_t ZonedFakeClock::TickCount() const {
  std::lock_guard lock(m_mutex);
  return static_cast<uint32_t>(m_nTickMs);
}
