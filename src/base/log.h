#pragma once
// CLog: "Log (text, channel)" of every subsystem. Formats the time-stamped line with the
// clock and hands it to the sink; without a sink, or on a channel outside 0..3, the
// line is dropped. Thread rule: GUI thread (or the CLI's one thread).
#include <string>

#include "base/clock.h"
#include "base/log_sink.h"

// "%02d/%s/%d %02d:%02d:%02d: %s"
std::string FormatLogLine(const LocalTime& t, const std::string& text);

class CLog {
 public:
  explicit CLog(const IClock& clock, ILogSink* sink = nullptr) : m_clock(clock), m_pSink(sink) {}
  void SetSink(ILogSink* sink) { m_pSink = sink; }
  ILogSink* Sink() const { return m_pSink; }
  void Log(const std::string& text, int channel) const;

 private:
  const IClock& m_clock;
  ILogSink* m_pSink;
};

// printf-style composition for the program's fixed message formats.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
