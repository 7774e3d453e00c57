#include "cli/cli_command.h"

#include <iostream>

#include <algorithm>
#include <cstdint>

#include "base/number_text.h"

std::vector<CliCommand>& CliCommands() {
  static std::vector<CliCommand> commands;
  return commands;
}

bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--")
      return false;
    if (args[i] == name && i + 1 < args.size()) {
      value = args[i + 1];
      args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
      return true;
    }
    if (args[i].rfind(name + "=", 0) == 0) {
      value = args[i].substr(name.size() + 1);
      args.erase(args.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

int CliUsageError(const char* prefix, const std::string& reason, const char* usage) {
  std::cerr << prefix << reason << "\n" << usage;
  return kExitUsage;
}

int CliFailure(const char* prefix, const std::string& reason) {
  std::cerr << prefix << reason << "\n";
  return kExitFailed;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--")
      return false;
    if (args[i] == name) {
      args.erase(args.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

bool ParseIntOption(const std::string& name, const std::string& text, int64_t min, int64_t max,
                    int64_t& value, std::string& error) {
  const std::optional<int64_t> number = ParseInt64(text);
  if (!number || *number < min || *number > max) {
    error =
        name + " needs a whole number from " + std::to_string(min) + " to " + std::to_string(max);
    return false;
  }
  value = *number;
  return true;
}

bool TakeIntOption(std::vector<std::string>& args, const std::string& name, int min, int max,
                   std::optional<int>& value, std::string& error) {
  std::string text;
  const bool taken = TakeOption(args, name, text);
  // TakeOption leaves a trailing "--name" in place; it is this option without its value.
  const bool dangling = !taken && !args.empty() && args.back() == name &&
                        std::find(args.begin(), args.end(), "--") == args.end();
  if (!taken && !dangling)
    return true;
  int64_t number = 0;
  if (!ParseIntOption(name, text, min, max, number, error))
    return false;
  value = static_cast<int>(number);
  return true;
}
