#include "chart/chart_date.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/clock.h"

namespace {

constexpr double kMsPerDay = 86400000.0;
constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
// Days from 1970-01-01 to the automation epoch 1899-12-30.
const int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::string TwoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

}  // namespace

double ChartDateFromParts(const ChartDateParts& parts) {
  const int64_t days = DaysFromCivil(parts.year, parts.month, parts.day) - kEpochDays;
  const double ms =
      ((parts.hour * 60.0 + parts.minute) * 60.0 + parts.second) * 1000.0 + parts.millisecond;
  return static_cast<double>(days) + ms / kMsPerDay;
}

double ChartDateFromUnixMs(int64_t unixMs) {
  int64_t days = unixMs / 86400000;
  int64_t ms = unixMs % 86400000;
  if (ms < 0) {
    ms += 86400000;
    --days;
  }
  return static_cast<double>(days - kEpochDays) + static_cast<double>(ms) / kMsPerDay;
}

ChartDateParts ChartDateToParts(double date) {
  const int64_t totalMs = static_cast<int64_t>(std::llround(date * kMsPerDay));
  int64_t days = totalMs / 86400000;
  int64_t ms = totalMs % 86400000;
  if (ms < 0) {
    ms += 86400000;
    --days;
  }
  const LocalTime civil = LocalTimeFromUnixMs((days + kEpochDays) * 86400000LL);
  ChartDateParts parts;
  parts.year = civil.year;
  parts.month = civil.month;
  parts.day = civil.day;
  parts.hour = static_cast<int>(ms / 3600000);
  parts.minute = static_cast<int>(ms / 60000 % 60);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.millisecond = static_cast<int>(ms % 1000);
  return parts;
}

double AddChartMonths(double date, int months) {
  ChartDateParts parts = ChartDateToParts(date);
  int index = parts.year * 12 + (parts.month - 1) + months;
  parts.year = index >= 0 ? index / 12 : (index - 11) / 12;
  parts.month = index - parts.year * 12 + 1;
  parts.day = std::min(parts.day, DaysInMonth(parts.year, parts.month));
  return ChartDateFromParts(parts);
}

int ChartMonthsBetween(double from, double to) {
  const ChartDateParts a = ChartDateToParts(from);
  const ChartDateParts b = ChartDateToParts(to);
  int months = (b.year - a.year) * 12 + (b.month - a.month);
  // A month not yet complete does not count.
  if (months > 0 && AddChartMonths(from, months) > to)
    --months;
  else if (months < 0 && AddChartMonths(from, months) < to)
    ++months;
  return months;
}

std::string FormatChartDate(const std::string& format, double date) {
  const ChartDateParts parts = ChartDateToParts(date);
  std::string text;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      text += format[i];
      continue;
    }
    switch (format[++i]) {
      case 'Y':
        text += std::to_string(parts.year);
        break;
      case 'y':
        text += TwoDigits(parts.year % 100);
        break;
      case 'm':
        text += TwoDigits(parts.month);
        break;
      case 'd':
        text += TwoDigits(parts.day);
        break;
      case 'b':
        text += std::string(kMonthNames[parts.month - 1]).substr(0, 3);
        break;
      case 'B':
        text += kMonthNames[parts.month - 1];
        break;
      case 'H':
        text += TwoDigits(parts.hour);
        break;
      case 'M':
        text += TwoDigits(parts.minute);
        break;
      case 'S':
        text += TwoDigits(parts.second);
        break;
      case '%':
        text += '%';
        break;
      default:
        text += '%';
        text += format[i];
        break;
    }
  }
  return text;
}
