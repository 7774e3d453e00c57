#include "acquisition/gui/window_time.h"

#include <QTimeZone>

#include "base/clock.h"

namespace {

// Local minus UTC, in seconds, as the clock sees it now.
int64_t ClockOffsetSeconds(const IClock& clock) {
  const int64_t localMs = UnixMsFromFileTime(clock.LocalFileTimeNow());
  const int64_t utcMs = UnixMsFromFileTime(clock.UtcFileTimeNow());
  const int64_t diffMs = localMs - utcMs;
  // Round to whole seconds: the two readings may be a millisecond apart.
  return (diffMs >= 0 ? diffMs + 500 : diffMs - 500) / 1000;
}

// How much more (or less) the system's local offset is at utcSeconds than now.
int64_t DaylightShift(int64_t utcSeconds, const IClock& clock) {
  const QTimeZone zone = QTimeZone::systemTimeZone();
  const int then = zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC));
  const int now =
      zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(clock.SecondsSince1970(), Qt::UTC));
  return then - now;
}

}  // namespace

int64_t WindowSecondsFromPickers(const QDate& date, const QTime& time, const IClock& clock) {
  LocalTime local;
  local.year = date.year();
  local.month = date.month();
  local.day = date.day();
  local.hour = time.hour();
  local.minute = time.minute();
  local.second = time.second();
  const int64_t wallSeconds = UnixMsFromLocalTime(local) / 1000;
  const int64_t utc = wallSeconds - ClockOffsetSeconds(clock);
  return utc - DaylightShift(utc, clock);
}

QDateTime PickerTimeFromWindowSeconds(int64_t seconds, const IClock& clock) {
  const int64_t wallSeconds = seconds + ClockOffsetSeconds(clock) + DaylightShift(seconds, clock);
  const LocalTime local = LocalTimeFromUnixMs(wallSeconds * 1000);
  return QDateTime(QDate(local.year, local.month, local.day),
                   QTime(local.hour, local.minute, local.second));
}

QDateTime PickerNow(const IClock& clock) {
  const LocalTime now = clock.LocalNow();
  return QDateTime(QDate(now.year, now.month, now.day), QTime(now.hour, now.minute, now.second));
}
