#include "forward/local_instant.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>

namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool Digits(std::string_view text, size_t at, size_t count, int& value) {
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
      return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

// The instant of the fields read with the given daylight-saving flag, when the zone has
// that reading of them (mktime then gives back the same fields).
std::optional<int64_t> Reading(const LocalTimeFields& f, int isDst) {
  std::tm tm{};
  tm.tm_year = f.year - 1900;
  tm.tm_mon = f.month - 1;
  tm.tm_mday = f.day;
  tm.tm_hour = f.hour;
  tm.tm_min = f.minute;
  tm.tm_sec = f.second;
  tm.tm_isdst = isDst;
  const std::time_t t = std::mktime(&tm);
  if (t == static_cast<std::time_t>(-1) && !(tm.tm_year == 69 && tm.tm_mday == 31))
    return std::nullopt;
  if (isDst >= 0 && (tm.tm_hour != f.hour || tm.tm_min != f.minute || tm.tm_mday != f.day ||
                     tm.tm_isdst != isDst))
    return std::nullopt;
  return static_cast<int64_t>(t) * 1000 + f.millisecond;
}

}  // namespace

std::optional<LocalTimeFields> ParseRecordedTime(std::string_view text) {
  // dd/Mon/yyyy hh:mm:ss.mmm (the milliseconds may be missing in start and end texts).
  LocalTimeFields f;
  if (text.size() < 20 || text[2] != '/' || text[6] != '/' || text[11] != ' ' || text[14] != ':' ||
      text[17] != ':')
    return std::nullopt;
  if (!Digits(text, 0, 2, f.day) || !Digits(text, 7, 4, f.year) || !Digits(text, 12, 2, f.hour) ||
      !Digits(text, 15, 2, f.minute) || !Digits(text, 18, 2, f.second))
    return std::nullopt;
  const std::string_view month = text.substr(3, 3);
  f.month = 0;
  for (size_t m = 0; m < kMonths.size(); ++m) {
    if (month == kMonths[m])
      f.month = static_cast<int>(m) + 1;
  }
  if (f.month == 0 || f.day < 1 || f.day > 31 || f.hour > 23 || f.minute > 59 || f.second > 60)
    return std::nullopt;
  if (text.size() >= 24 && text[20] == '.' && !Digits(text, 21, 3, f.millisecond))
    return std::nullopt;
  return f;
}

std::optional<int64_t> CLocalInstants::Next(std::string_view timeText) {
  const std::optional<LocalTimeFields> fields = ParseRecordedTime(timeText);
  if (!fields)
    return std::nullopt;
  const std::optional<int64_t> summer = Reading(*fields, 1);
  const std::optional<int64_t> winter = Reading(*fields, 0);
  std::optional<int64_t> instant;
  if (summer && winter && *summer != *winter) {
    // The repeated hour: the earlier reading unless the rows have already passed it.
    const int64_t early = std::min(*summer, *winter);
    const int64_t late = std::max(*summer, *winter);
    instant = m_previous && early < *m_previous ? late : early;
  } else if (summer || winter) {
    instant = summer ? summer : winter;
  } else {
    instant = Reading(*fields, -1);  // a skipped hour: the library's own choice
  }
  if (instant)
    m_previous = instant;
  return instant;
}
