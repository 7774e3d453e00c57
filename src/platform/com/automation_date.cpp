#include "platform/com/automation_date.h"

#include <cmath>

namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 counted from 1899-12-30

}  // namespace

DATE AutomationDateFromUnixMs(int64_t unixMs) {
  const int64_t ms = unixMs + kUnixEpochDays * kMsPerDay;
  const int64_t days = ms >= 0 ? ms / kMsPerDay : -((-ms + kMsPerDay - 1) / kMsPerDay);
  const double fraction = static_cast<double>(ms - days * kMsPerDay) / kMsPerDay;
  // Before the epoch the day counts backwards but the time of day stays positive.
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

int64_t UnixMsFromAutomationDate(DATE date) {
  const double whole = std::trunc(date);
  const double fraction = std::fabs(date - whole);
  const int64_t ms = static_cast<int64_t>(whole) * kMsPerDay +
                     static_cast<int64_t>(std::llround(fraction * kMsPerDay));
  return ms - kUnixEpochDays * kMsPerDay;
}

DATE AutomationDateFromLocalTime(const LocalTime& t) {
  return AutomationDateFromUnixMs(UnixMsFromLocalTime(t));
}

LocalTime LocalTimeFromAutomationDate(DATE date) {
  return LocalTimeFromUnixMs(UnixMsFromAutomationDate(date));
}

DATE AutomationDateFromFileTime(const FILETIME& ft) {
  return AutomationDateFromUnixMs(UnixMsFromFileTime(ft));
}
