#pragma once
// The time-controlled window between the date and time pickers (local wall-clock time)
// and the engine (seconds since 1970, UTC). The offset comes from the program's clock, so
// a test clock and the pickers agree; a daylight-saving change between now and the
// window is added as the system's time zone says.
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cstdint>

class IClock;

// Seconds since 1970 (UTC) of the local date and time of the pickers.
int64_t WindowSecondsFromPickers(const QDate& date, const QTime& time, const IClock& clock);
// The local date and time to show in the pickers for seconds since 1970 (UTC).
QDateTime PickerTimeFromWindowSeconds(int64_t seconds, const IClock& clock);
// Now in local time, to the second, as the pickers show it.
QDateTime PickerNow(const IClock& clock);
