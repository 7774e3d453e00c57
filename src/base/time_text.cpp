#include "base/time_text.h"

#include <cstdio>

namespace {

// Whole number of exactly count digits at text[pos].
bool Digits(std::string_view text, size_t pos, size_t count, int& value) {
  if (pos + count > text.size())
    return false;
  value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9')
      return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

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

bool ParseTimeStampText(std::string_view text, LocalTime& time) {
  // DD/Mon/YYYY HH:MM:SS[.mmm]
  LocalTime parts;
  if (!Digits(text, 0, 2, parts.day) || text.size() < 20 || text[2] != '/' || text[6] != '/')
    return false;
  parts.month = 0;
  for (int month = 1; month <= 12; ++month) {
    if (text.substr(3, 3) == MonthAbbreviation(month))
      parts.month = month;
  }
  size_t pos = 7;
  size_t yearDigits = 0;
  while (pos + yearDigits < text.size() && text[pos + yearDigits] >= '0' &&
         text[pos + yearDigits] <= '9')
    ++yearDigits;
  if (parts.month == 0 || yearDigits == 0 || yearDigits > 4 ||
      !Digits(text, pos, yearDigits, parts.year))
    return false;
  pos += yearDigits;
  if (pos + 9 > text.size() || text[pos] != ' ' || text[pos + 3] != ':' || text[pos + 6] != ':' ||
      !Digits(text, pos + 1, 2, parts.hour) || !Digits(text, pos + 4, 2, parts.minute) ||
      !Digits(text, pos + 7, 2, parts.second))
    return false;
  pos += 9;
  if (pos < text.size()) {
    if (text[pos] != '.' || !Digits(text, pos + 1, 3, parts.millisecond) || pos + 4 != text.size())
      return false;
  }
  if (parts.day < 1 || parts.day > 31 || parts.hour > 23 || parts.minute > 59 || parts.second > 59)
    return false;
  time = parts;
  return true;
}

int64_t TimeStampTextMs(std::string_view text) {
  LocalTime time;
  if (!ParseTimeStampText(text, time))
    return kNoRowTime;
  return DaysFromCivil(time.year, time.month, time.day) * 86400000LL +
         ((time.hour * 60LL + time.minute) * 60LL + time.second) * 1000LL + time.millisecond;
}
