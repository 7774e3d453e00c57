#pragma once
// Commands of velmora-cli. Each cli_*.cpp file registers its commands with a static
// CliCommandRegistration; main() dispatches on the first argument.
#include <cstdint>
#include <functional>
#include <optional>
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

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Small helpers shared by the commands.
// "PREFIX reason" and the usage on stderr; returns kExitUsage.
int CliUsageError(const char* prefix, const std::string& reason, const char* usage);
// "PREFIX reason" on stderr; returns kExitFailed.
int CliFailure(const char* prefix, const std::string& reason);
// Takes "--name VALUE" out of args; returns true and sets value when present.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value);
// Takes a flag "--name" out of args.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
// The one rule of the numeric options: text is a whole number from min to max. Anything
// else ("3x", "", overflow, out of range) gives false with error "NAME needs a whole
// number from MIN to MAX", for the command's usage error.
bool ParseIntOption(const std::string& name, const std::string& text, int64_t min, int64_t max,
                    int64_t& value, std::string& error);
// Takes "--name N" out of args by that rule. Absent: true, value left as it is; a
// trailing "--name" without N is refused.
bool TakeIntOption(std::vector<std::string>& args, const std::string& name, int min, int max,
                   std::optional<int>& value, std::string& error);

// The number of decimals of analog values: the choices the acquisition view offers.
inline constexpr int kMaxCliDecimals = 5;
