#pragma once
// Runs a shell command and keeps what it wrote on stdout and its exit code (-1 when it
// did not exit normally). Used by the tests that drive velmora-cli as a user would.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

struct CommandRun {
  int exitCode = -1;
  std::string out;
};

inline CommandRun RunShellCommand(const std::string& command) {
  CommandRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr)
    return run;
  std::array<char, 4096> buffer;
  size_t size = 0;
  while ((size = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), size);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}
