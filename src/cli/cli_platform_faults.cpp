// velmora-cli sim: checks a simulation configuration file and shows what it sets up.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "platform/sim/sim_describe.h"
#include "platform/sim/sim_runtime.h"

namespace {

constexpr char kSimUsage[] =
    "Usage: velmora-cli sim [--config FILE]\n"
    "  Loads the simulation configuration FILE (default: the file named by\n"
    "  VELMORA_SIM_CONFIG, or none) and prints the simulated network and the faults in\n"
    "  force, one tab-separated line each: workgroup, host (name, address, workgroup,\n"
    "  reachability), server (host, program id, class id, description), faults (program\n"
    "  id and the configuration keys set).\n"
    "Exit code: 0 when the configuration was accepted, 1 when it was refused (the message\n"
    "names the line), 2 for a usage error.\n";

int RunSim(const std::vector<std::string>& input) {
  std::vector<std::string> args = input;
  std::string path;
  const bool named = TakeOption(args, "--config", path);
  if (!args.empty()) {
    std::cerr << "velmora-cli sim: unexpected argument '" << args.front() << "'\n" << kSimUsage;
    return 2;
  }
  CSimRuntime& runtime = CSimRuntime::Instance();
  std::string error;
  const bool loaded = named ? runtime.LoadConfigurationFile(path, &error)
                            : runtime.LoadConfigurationFromEnvironment(&error);
  if (!loaded) {
    std::cerr << "velmora-cli sim: " << error << "\n";
    return 1;
  }
  std::cout << DescribeSimulation(runtime);
  return 0;
}

const CliCommandRegistration kSimCommand(
    {"sim", "check a simulation configuration and show the simulated network", kSimUsage, RunSim});

}  // namespace
