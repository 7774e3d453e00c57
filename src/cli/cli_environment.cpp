#include "cli/cli_environment.h"

void CStreamLogSink::Log(int /*channel*/, const std::string& line) {
  m_out << line << std::endl;  // flushed: a crash must not eat the last lines
}

CCliEnvironment::CCliEnvironment() = default;
