#pragma once
// Automation dates (VT_DATE): days since 1899-12-30 00:00, the time of day as the
// fraction. Dates before 1899-12-30 count the days backwards with a positive fraction,
// as the system's conversions do.
#include <cstdint>

#include "base/clock.h"
#include "base/filetime.h"
#include "platform/com/com_types.h"

inline constexpr DATE kMinAutomationDate = -657434.0;  // 0100-01-01
inline constexpr DATE kMaxAutomationDate = 2958465.0;  // 9999-12-31

// Milliseconds since 1970 (wall-clock reading) to automation date and back.
DATE AutomationDateFromUnixMs(int64_t unixMs);
int64_t UnixMsFromAutomationDate(DATE date);
DATE AutomationDateFromLocalTime(const LocalTime& t);
LocalTime LocalTimeFromAutomationDate(DATE date);
DATE AutomationDateFromFileTime(const FILETIME& ft);
