#include "app/command_line.h"

namespace {

// Takes the value of "--name VALUE" or "--name=VALUE" at args[i]; false when it is missing.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
               std::string& value, bool& matched) {
  const std::string& arg = args[i];
  matched = false;
  if (arg == name) {
    matched = true;
    if (i + 1 >= args.size() || args[i + 1].empty())
      return false;
    value = args[++i];
    return true;
  }
  if (arg.rfind(name + "=", 0) == 0) {
    matched = true;
    value = arg.substr(name.size() + 1);
    return !value.empty();
  }
  return true;
}

}  // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    bool matched = false;
    for (auto [name, value] :
         {std::pair<const char*, std::string*>{"--database", &options.databasePath},
          {"--settings-dir", &options.settingsDir}}) {
      if (!TakeValue(args, i, name, *value, matched)) {
        options.ok = false;
        options.error = std::string(name) + " needs a value";
        return options;
      }
      if (matched)
        break;
    }
    if (!matched) {
      options.ok = false;
      options.error = "unknown option '" + arg + "'";
      return options;
    }
  }
  return options;
}
