// velmora-cli servers (OPCEnum and --registry) and network, run as a user runs them, on
// the simulated network.
#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <string>

#include "command_run.h"
#include "temp_dir.h"

namespace {

// stdout only unless mergeErrors; config: a simulation configuration text, or none.
CommandRun RunCli(const std::string& arguments, bool mergeErrors = false,
                  const std::string& config = "") {
  TempDir dir;
  std::string environment = "env -u VELMORA_SIM_CONFIG";
  if (!config.empty()) {
    const std::string path = dir.File("sim.ini");
    std::ofstream(path) << config;
    environment = "env VELMORA_SIM_CONFIG='" + path + "'";
  }
  return RunShellCommand(environment + " '" + VELMORA_CLI_PATH + "' " + arguments +
                         (mergeErrors ? " 2>&1" : " 2>/dev/null"));
}

TEST(CliDiscovery, ServersFromTheRegistryUnderTheirCategoryHeadings) {
  const CommandRun run = RunCli("servers --registry");
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "OPC Data Access Servers Version 1.0\n"
            "Velmora.SimServer.1\t6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E01\n"
            "Velmora.SimServerDA1.1\t6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E02\n"
            "OPC Data Access Servers Version 2.0\n"
            "Velmora.SimServer.1\t6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E01\n"
            "Velmora.SimServerNoBrowse.1\t6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E03\n");
  EXPECT_EQ(RunCli("servers --registry --host Local\\ Host").exitCode, 0);
  EXPECT_EQ(RunCli("servers --registry --host PLANTSRV01").exitCode, 2);
}

TEST(CliDiscovery, ServersOfARemoteHostThroughOpcEnum) {
  const CommandRun run = RunCli("servers --host PLANTSRV01 --da2");
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "Velmora Simulation Server\tVelmora.SimServer.1\t6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E01\n"
            "Velmora Simulation Server without Browsing\tVelmora.SimServerNoBrowse.1\t"
            "6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E03\n");
  // Without --da2 the DA 1.0 server as well, each server once.
  const CommandRun all = RunCli("servers --host PLANTSRV01");
  ASSERT_EQ(all.exitCode, 0);
  EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 3) << all.out;
  EXPECT_NE(all.out.find("Velmora.SimServerDA1.1"), std::string::npos) << all.out;
  EXPECT_EQ(all.out.find("Velmora.SimServer.1"), all.out.rfind("Velmora.SimServer.1"));
  // A host without a DA 2.0 server: the note, and no failure.
  const CommandRun none =
      RunCli("servers --host H1 --da2", true, "[host H1]\nservers = Velmora.SimServerDA1.1\n");
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "No OPC Server Found using OPCEnum ...\n");
  const CommandRun down = RunCli("servers --host DOWN", true, "[host DOWN]\nreachable = 0\n");
  EXPECT_EQ(down.exitCode, 1);
  EXPECT_NE(down.out.find("OPC Enumeration Error"), std::string::npos) << down.out;
  EXPECT_NE(down.out.find("CoCreateInstanceEx Error"), std::string::npos) << down.out;
}

TEST(CliDiscovery, NetworkTreeAndOneContainer) {
  const CommandRun run = RunCli("network", false, "[network]\ncomputer = BENCH01\n");
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "container\tMicrosoft Windows Network\n"
            "  container\tWORKGROUP\n"
            "    host\t\\\\BENCH01\n"
            "    host\t\\\\PLANTSRV01\n");
  const std::string plant =
      "[workgroup PLANT]\nhosts = SCADA1, SCADA2\n[host OFFICE1]\nworkgroup = WORKGROUP\n";
  const CommandRun one = RunCli("network --container plant", false, plant);
  ASSERT_EQ(one.exitCode, 0);
  EXPECT_EQ(one.out, "host\t\\\\SCADA1\nhost\t\\\\SCADA2\n");
  const CommandRun unknown = RunCli("network --container NOWHERE", true);
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.out.find("no container 'NOWHERE'"), std::string::npos) << unknown.out;
  EXPECT_EQ(RunCli("network --depth 2").exitCode, 2);
  EXPECT_EQ(RunCli("network", false, "[network]\navailable = 0\n").exitCode, 1);
}

}  // namespace
