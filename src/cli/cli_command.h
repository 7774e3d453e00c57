#pragma once
// Commands of velmora-cli. Each cli_*.cpp file registers its commands with a static
// CliCommandRegistration; main() dispatches on the first argument.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct CliCommand {
  std::string name;     // "db", "eval", "project", ...
  std::string summary;  // one line for --help
  std::string usage;    // full usage lines
  // args: what follows the command name. Returns the process exit code.
  std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<CliCommand>& CliCommands();

struct CliCommandRegistration {
  explicit CliCommandRegistration(CliCommand command) {
    CliCommands().push_back(std::move(command));
  }
};

// Small helpers shared by the commands.
// Takes "--name VALUE" out of args; returns true and sets value when present.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value);
// Takes a flag "--name" out of args.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
