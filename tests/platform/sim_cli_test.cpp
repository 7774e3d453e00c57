// velmora-cli sim, run as a user runs it, on the example of docs/simulation-servers.md.
#include <gtest/gtest.h>

#include <fstream>

#include "command_run.h"
#include "documented_config.h"
#include "temp_dir.h"

TEST(SimCli, AcceptsTheDocumentedExample) {
  TempDir dir;
  const std::string path = dir.File("sim.ini");
  std::ofstream(path) << DocumentedSimConfiguration();
  const CommandRun run = RunShellCommand(std::string("env -u VELMORA_SIM_CONFIG '") +
                                         VELMORA_CLI_PATH + "' sim --config '" + path + "'");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("host\t\\\\BENCH01\t"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("host\t\\\\SCADA1\t10.0.0.5\tPLANT\treachable\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\tshutdown_reason=Planned maintenance #42\t"), std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find(';'), std::string::npos) << run.out;
}
