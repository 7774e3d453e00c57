#pragma once
// Time texts shared by the log, the group read times and the data sets.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "base/clock.h"

// "Jan" .. "Dec" for 1..12; "???" outside.
const char* MonthAbbreviation(int month);
// "%02d/%s/%d %02d:%02d:%02d" (log lines, without the text).
std::string FormatLogTime(const LocalTime& t);
// "%02d/%s/%d %02d:%02d:%02d.%03d" (read times, data set times).
std::string FormatTimeStampMs(const LocalTime& t);
// "%02d/%s/%d %02d:%02d:%02d[.%03d]" read back (the day of week is not read); false
// when the text is not such a time.
bool ParseTimeStampText(std::string_view text, LocalTime& time);

// A time stamp text as ms since 1970 on the wall clock it was written in;
// kNoRowTime when the text is not such a time.
inline constexpr int64_t kNoRowTime = std::numeric_limits<int64_t>::min();
int64_t TimeStampTextMs(std::string_view text);
