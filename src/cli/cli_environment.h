#pragma once
// CCliEnvironment: the services a command of velmora-cli hands to the core: the system
// clock, log lines printed on stderr, reports printed on stderr and confirmed, and
// settings kept in memory (the command-line tool never touches the user's settings).
#include <iostream>
#include <ostream>

#include "base/app_context.h"
#include "base/console_prompt.h"

// Prints every log line, as it comes, on its own line of the stream.
class CStreamLogSink : public ILogSink {
 public:
  explicit CStreamLogSink(std::ostream& out) : m_out(out) {}
  void Log(int channel, const std::string& line) override;

 private:
  std::ostream& m_out;
};

class CCliEnvironment {
 public:
  CCliEnvironment();
  CCliEnvironment(const CCliEnvironment&) = delete;
  CCliEnvironment& operator=(const CCliEnvironment&) = delete;

  AppContext& Context() { return m_context; }
  CConsolePrompt& Prompt() { return m_prompt; }

 private:
  SystemClock m_clock;
  CStreamLogSink m_sink{std::cerr};
  CLog m_log{m_clock, &m_sink};
  CConsolePrompt m_prompt{std::cerr};
  InMemorySettingsStore m_settings;
  AppContext m_context{m_clock, m_log, m_prompt, m_settings};
};
