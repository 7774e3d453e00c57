#pragma once
// ILogSink receives finished log lines: the output pane, a test recorder, or stderr.
#include <string>

enum LogChannel : int {
  kLogOpcServer = 0,
  kLogDataAcquisition = 1,
  kLogDataChart = 2,
  kLogProjects = 3,
};

class ILogSink {
 public:
  virtual ~ILogSink() = default;
  // line is the complete, time-stamped text; channel is 0..3.
  virtual void Log(int channel, const std::string& line) = 0;
};
