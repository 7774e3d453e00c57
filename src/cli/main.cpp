// velmora-cli: headless use of the Velmora core (database, OPC servers, expressions,
// projects, acquisition).
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "cli/cli_command.h"

#ifdef _WIN32
#include "platform/win/win_sys_console.h"
#endif

namespace {

constexpr char kVersionText[] = "velmora-cli 2.0.0 (Velmora OPC Explorer 2.0)";

void PrintHelp(std::ostream& out) {
  out << "Usage: velmora-cli COMMAND [ARGUMENTS]\n"
         "       velmora-cli --version | --help\n\n"
         "Commands:\n";
  std::vector<CliCommand> commands = CliCommands();
  std::sort(commands.begin(), commands.end(),
            [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
  for (const CliCommand& command : commands) {
    out << "  " << command.name
        << std::string(command.name.size() < 10 ? 10 - command.name.size() : 1, ' ')
        << command.summary << "\n";
  }
  out << "\nRun 'velmora-cli COMMAND --help' for the arguments of a command.\n";
}

// The one check of every command's output: what it printed must have reached stdout (a
// full disk, a closed pipe, a file size limit). A command that printed its result into
// nothing has failed, whatever it returned.
int CheckOutput(int code) {
  errno = 0;
  std::cout.flush();
  const bool streamFailed = !std::cout.good();
  const bool flushFailed = std::fflush(stdout) != 0;
  const int error = errno;
  // Not closed: the C++ streams flush stdout once more at exit.
  if (!streamFailed && !flushFailed && std::ferror(stdout) == 0)
    return code;
  std::cerr << "velmora-cli: the output could not be written"
            << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
  return code == 0 ? 1 : code;
}

int Dispatch(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintHelp(std::cerr);
    return 2;
  }
  const std::string name = args.front();
  if (name == "--version" || name == "-v") {
    std::cout << kVersionText << "\n";
    return 0;
  }
  if (name == "--help" || name == "-h" || name == "help") {
    PrintHelp(std::cout);
    return 0;
  }
  for (const CliCommand& command : CliCommands()) {
    if (command.name != name)
      continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (!rest.empty() && (rest.front() == "--help" || rest.front() == "-h")) {
      std::cout << command.usage;
      return 0;
    }
    return command.run(rest);
  }
  std::cerr << "velmora-cli: unknown command '" << name << "'\n";
  PrintHelp(std::cerr);
  return 2;
}

}  // namespace

#ifdef _WIN32
// The arguments as the system holds them (wide), so that every character arrives.
int wmain(int argc, wchar_t** argv) {
  IgnoreFileSizeLimitSignal();
  winconsole::UseUtf8Console();
  return CheckOutput(Dispatch(winconsole::Utf8Arguments(argc, argv)));
}
#else
int main(int argc, char** argv) {
  IgnoreFileSizeLimitSignal();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return CheckOutput(Dispatch(args));
}
#endif
