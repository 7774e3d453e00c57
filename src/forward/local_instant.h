#pragma once
// Local time texts of the recording ("dd/Mon/yyyy hh:mm:ss.mmm") turned into instants by
// the station's time-zone rules (the process's TZ). A local time of the hour that the
// autumn change repeats has two instants: the rows keep their order, so the earlier one is
// taken unless it would go back before the previous row's instant. A local time that the
// spring change skips is read as the zone's library does (an hour on).
// Thread rule: an object per thread; the C library's time-zone conversion is thread-safe.
#include <cstdint>
#include <optional>
#include <string_view>

// The fields of a time text, or nothing when it is not one.
struct LocalTimeFields {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};
std::optional<LocalTimeFields> ParseRecordedTime(std::string_view text);

class CLocalInstants {
 public:
  // previousUnixMs: the instant of the row before the first one converted (resuming).
  void SetPrevious(std::optional<int64_t> previousUnixMs) { m_previous = previousUnixMs; }
  const std::optional<int64_t>& Previous() const { return m_previous; }
  // Milliseconds since 1970 (UTC) of the next row's time text, in row order.
  std::optional<int64_t> Next(std::string_view timeText);

 private:
  std::optional<int64_t> m_previous;
};
