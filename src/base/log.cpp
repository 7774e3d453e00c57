#include "base/log.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "base/time_text.h"

std::string FormatLogLine(const LocalTime& t, const std::string& text) {
  return FormatLogTime(t) + ": " + text;
}

void CLog::SetSink(ILogSink* sink) {
  m_pSink = sink;
  if (sink == nullptr)
    return;
  m_bSinkSeen = true;
  std::vector<std::pair<int, std::string>> pending;
  pending.swap(m_pending);
  for (const auto& [channel, line] : pending)
    sink->Log(channel, line);
}

void CLog::Log(const std::string& text, int channel) const {
  if (channel < 0 || channel > 3)
    return;
  if (m_pSink != nullptr) {
    m_pSink->Log(channel, FormatLogLine(m_clock.LocalNow(), text));
  } else if (!m_bSinkSeen && m_pending.size() < kMaxPendingLines) {
    m_pending.emplace_back(channel, FormatLogLine(m_clock.LocalNow(), text));
  }
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int size = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string result;
  if (size > 0) {
    std::vector<char> buffer(static_cast<size_t>(size) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    result.assign(buffer.data(), static_cast<size_t>(size));
  }
  va_end(args);
  return result;
}
