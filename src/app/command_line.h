#pragma once
// The desktop program's own command-line options:
//   --database PATH      use PATH as the database for this start and store it as DataPath
//   --settings-dir DIR   keep the settings under DIR instead of the user's config folder
// Both also accept the --name=value form.
#include <string>
#include <vector>

struct CommandLineOptions {
  std::string databasePath;
  std::string settingsDir;
  bool help = false;
  bool ok = true;
  std::string error;  // why parsing failed
};

inline constexpr char kCommandLineUsage[] =
    "Usage: velmora [--database PATH] [--settings-dir DIR]\n"
    "  --database PATH      use PATH as the database (Velmora.sq3) and store it as DataPath\n"
    "  --settings-dir DIR   keep the settings under DIR instead of the user's config folder\n"
    "  --help               show this text\n";

// args excludes the program name.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& args);
