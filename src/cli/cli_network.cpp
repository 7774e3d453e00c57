// velmora-cli network: the containers and hosts of the network neighbourhood, read level
// by level as the server selection dialog reads them. Log lines go to stderr; results
// to stdout, one "KIND<TAB>NAME" line each.
#include <iostream>
#include <string>
#include <vector>

#include "base/log.h"
#include "cli/cli_command.h"
#include "cli/cli_environment.h"
#include "opc/network_enumeration.h"
#include "platform/sim/sim_runtime.h"

namespace {

constexpr char kNetworkUsage[] =
    "Usage: velmora-cli network [--container NAME]\n"
    "  Lists the containers (domains, workgroups) and hosts of the network neighbourhood,\n"
    "  one line each: \"container\" or \"host\", a tab and the name. Without --container\n"
    "  the whole neighbourhood, depth first, indented by two blanks per level; with it the\n"
    "  children of the container of that name only.\n"
    "Exit code: 0 when listed, 1 when the neighbourhood could not be read or the container\n"
    "is unknown, 2 for a usage error.\n";

constexpr char kLevelFailed[] =
    "velmora-cli network: the network neighbourhood cannot be enumerated (Error Code: %u)";
constexpr char kUnknownContainer[] = "velmora-cli network: no container '%s' in the network";

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

void PrintEntry(const NetworkEntry& entry, int depth) {
  std::cout << std::string(static_cast<size_t>(depth) * 2, ' ')
            << (entry.m_bHost ? "host" : "container") << '\t' << entry.m_resource.lpRemoteName
            << '\n';
}

class CNetworkWalk {
 public:
  explicit CNetworkWalk(const CLog& log) : m_log(log) {}

  // One level; false (with the message) when it could not be read.
  bool Level(const NETRESOURCE* parent, std::vector<NetworkEntry>& entries) const {
    NetworkEnumResult result = EnumerateNetworkLevel(m_log, parent);
    if (result.m_nOpenCode != NO_ERROR || !result.m_bOk) {
      const DWORD code = result.m_nOpenCode != NO_ERROR ? result.m_nOpenCode : result.m_nCode;
      std::cerr << Format(kLevelFailed, static_cast<unsigned>(code)) << "\n";
      return false;
    }
    entries = std::move(result.m_entries);
    return true;
  }

  // Prints the level and, depth first, what the containers in it hold.
  bool PrintTree(const NETRESOURCE* parent, int depth) const {
    std::vector<NetworkEntry> entries;
    if (!Level(parent, entries))
      return false;
    for (const NetworkEntry& entry : entries) {
      PrintEntry(entry, depth);
      if (!entry.m_bHost && !PrintTree(&entry.m_resource, depth + 1))
        return false;
    }
    return true;
  }

  // The container (or host) of that name, searched depth first.
  bool Find(const NETRESOURCE* parent, const std::string& name, NETRESOURCE& found,
            bool& ok) const {
    std::vector<NetworkEntry> entries;
    if (!Level(parent, entries)) {
      ok = false;
      return false;
    }
    for (const NetworkEntry& entry : entries) {
      if (Upper(entry.m_resource.lpRemoteName) == Upper(name)) {
        found = entry.m_resource;
        return true;
      }
    }
    for (const NetworkEntry& entry : entries) {
      if (!entry.m_bHost && (Find(&entry.m_resource, name, found, ok) || !ok))
        return ok;
    }
    return false;
  }

 private:
  const CLog& m_log;
};

int RunNetwork(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::string container;
  const bool hasContainer = TakeOption(args, "--container", container);
  if (!args.empty()) {
    std::cerr << "velmora-cli network: unexpected argument '" << args.front() << "'\n"
              << kNetworkUsage;
    return kExitUsage;
  }
  std::string error;
  if (!CSimRuntime::Instance().LoadConfigurationFromEnvironment(&error)) {
    std::cerr << "velmora-cli: " << error << "\n";
    return kExitFailed;
  }
  CCliEnvironment environment;
  const CNetworkWalk walk(environment.Context().log);
  if (!hasContainer)
    return walk.PrintTree(nullptr, 0) ? kExitOk : kExitFailed;

  NETRESOURCE found;
  bool ok = true;
  if (!walk.Find(nullptr, container, found, ok)) {
    if (ok)
      std::cerr << Format(kUnknownContainer, container.c_str()) << "\n";
    return kExitFailed;
  }
  std::vector<NetworkEntry> entries;
  if (!walk.Level(&found, entries))
    return kExitFailed;
  for (const NetworkEntry& entry : entries)
    PrintEntry(entry, 0);
  return kExitOk;
}

const CliCommandRegistration kNetworkCommand(CliCommand{
    "network", "list the containers and hosts of the network", kNetworkUsage, RunNetwork});

}  // namespace
