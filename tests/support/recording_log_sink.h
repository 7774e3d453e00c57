#pragma once
// Keeps every log line for assertions.
#include <string>
#include <vector>

#include "base/log_sink.h"

class RecordingLogSink : public ILogSink {
 public:
  struct Line {
    int channel;
    std::string text;  // the whole line, time stamp included
  };
  void Log(int channel, const std::string& line) override { lines.push_back({channel, line}); }

  // True when a line (on the channel, or any channel with -1) contains the text.
  bool Contains(const std::string& text, int channel = -1) const;
  int Count(const std::string& text, int channel = -1) const;
  // Message part of every line (after "dd/Mon/yyyy hh:mm:ss: ").
  std::vector<std::string> Messages(int channel = -1) const;
  std::string Dump() const;
  void Clear() { lines.clear(); }

  std::vector<Line> lines;
};
