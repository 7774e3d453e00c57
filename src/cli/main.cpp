// velmora-cli: headless use of the Velmora core (database, OPC servers, expressions,
// projects, acquisition).
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"

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

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
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
