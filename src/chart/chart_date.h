#pragma once
// Automation dates, the time scale of the charts: days since 30 December 1899 as a
// double, the fraction being the time of day. Calendar arithmetic and the label formats
// of the date-time axis, independent of the locale (English month names).
#include <cstdint>
#include <string>

struct ChartDateParts {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

double ChartDateFromParts(const ChartDateParts& parts);
// The same date from milliseconds since 1 January 1970 on the wall clock (equal, to the
// bit, to ChartDateFromParts of the same time).
double ChartDateFromUnixMs(int64_t unixMs);
// Rounded to the nearest millisecond.
ChartDateParts ChartDateToParts(double date);
// The same day and time months later (negative: earlier); the day is kept within the
// target month (31 January + 1 month = 28 or 29 February).
double AddChartMonths(double date, int months);
// Whole calendar months from one date to a later one (may be negative).
int ChartMonthsBetween(double from, double to);
// Formats with %Y %y %m %d %b %B %H %M %S %%; any other character is copied.
std::string FormatChartDate(const std::string& format, double date);
