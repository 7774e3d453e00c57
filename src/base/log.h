#pragma once
// CLog: "Log (text, channel)" of every subsystem. Formats the time-stamped line with the
// clock and hands it to the sink. Lines written before the first sink exists (start-up,
// before the output pane) are kept and handed to it, oldest first, when it comes; once
// a sink has been set, a line without one is dropped, as is one on a channel outside
// 0..3. Thread rule: GUI thread (or the CLI's one thread).
#include <string>
#include <utility>
#include <vector>

#include "base/clock.h"
#include "base/log_sink.h"

// "%02d/%s/%d %02d:%02d:%02d: %s"
std::string FormatLogLine(const LocalTime& t, const std::string& text);

class CLog {
 public:
  explicit CLog(const IClock& clock, ILogSink* sink = nullptr) : m_clock(clock), m_pSink(sink) {}
  void SetSink(ILogSink* sink);
  ILogSink* Sink() const { return m_pSink; }
  void Log(const std::string& text, int channel) const;

 private:
  // At most this many early lines are kept.
  static constexpr size_t kMaxPendingLines = 1000;

  const IClock& m_clock;
  ILogSink* m_pSink;
  bool m_bSinkSeen = false;
  mutable std::vector<std::pair<int, std::string>> m_pending;
};

// printf-style composition for the program's fixed message formats.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
