#include "base/time_text.h"

#include <cstdio>

const char* MonthAbbreviation(int month) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return month >= 1 && month <= 12 ? kMonths[month - 1] : "???";
}

std::string FormatLogTime(const LocalTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d/%s/%d %02d:%02d:%02d", t.day,
                MonthAbbreviation(t.month), t.year, t.hour, t.minute, t.second);
  return buffer;
}

std::string FormatTimeStampMs(const LocalTime& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d/%s/%d %02d:%02d:%02d.%03d", t.day,
                MonthAbbreviation(t.month), t.year, t.hour, t.minute, t.second, t.millisecond);
  return buffer;
}
