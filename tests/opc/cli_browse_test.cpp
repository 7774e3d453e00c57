// velmora-cli browse --access and --find, run as a user runs them, on the built-in
// simulation servers and on a generated address space.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "command_run.h"
#include "temp_dir.h"

namespace {

// stdout of velmora-cli; the simulation configuration only when one is given.
CommandRun RunCli(const std::string& arguments, const std::string& config = "") {
  const std::string environment =
      config.empty() ? "env -u VELMORA_SIM_CONFIG " : "env VELMORA_SIM_CONFIG='" + config + "' ";
  return RunShellCommand(environment + "'" + VELMORA_CLI_PATH + "' " + arguments + " 2>/dev/null");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line))
    lines.push_back(line);
  return lines;
}

TEST(CliBrowse, AccessFilterAndFindPrintWhatTheyAskFor) {
  const CommandRun writable = RunCli("browse --server Velmora.SimServer.1 --access write");
  ASSERT_EQ(writable.exitCode, 0);
  EXPECT_NE(writable.out.find("      Plant.Line1.Machine1.SetPoint\n"), std::string::npos);
  EXPECT_EQ(writable.out.find("Plant.Line1.Machine1.Temperature"), std::string::npos);
  EXPECT_NE(writable.out.find("Static/\n"), std::string::npos);  // branches stay listed

  const CommandRun found = RunCli("browse --server Velmora.SimServer.1 --find '*Temperature*'");
  ASSERT_EQ(found.exitCode, 0);
  const std::vector<std::string> ids = Lines(found.out);
  ASSERT_EQ(ids.size(), 6u);
  for (const std::string& id : ids)
    EXPECT_TRUE(std::regex_match(id, std::regex("^Plant\\..*Temperature$"))) << id;

  const CommandRun readable =
      RunCli("browse --server Velmora.SimServer.1 --find 'Set*' --access write --type R8");
  EXPECT_EQ(Lines(readable.out).size(), 6u);
  const CommandRun flat = RunCli("browse --server Velmora.SimServerDA1.1 --find 'Text_*'");
  EXPECT_EQ(Lines(flat.out).size(), 6u);

  EXPECT_EQ(RunCli("browse --server Velmora.SimServer.1 --access sometimes").exitCode, 2);
  EXPECT_EQ(RunCli("browse --server Velmora.SimServer.1 --find '*' --filter '*'").exitCode, 2);
  EXPECT_EQ(RunCli("browse --server Velmora.SimServerNoBrowse.1 --find '*'").exitCode, 1);
  EXPECT_EQ(RunCli("browse --server Velmora.SimServer.1 --find 'Temp[*'").exitCode, 1);
}

TEST(CliBrowse, FindListsAGeneratedSpace) {
  TempDir dir;
  const std::string config = dir.File("big.ini");
  std::ofstream(config) << "[server Velmora.SimServer.1]\ntags = 20000\n";
  const CommandRun all = RunCli("browse --server Velmora.SimServer.1 --find '*'", config);
  ASSERT_EQ(all.exitCode, 0);
  const std::vector<std::string> ids = Lines(all.out);
  EXPECT_GE(ids.size(), 20000u);
  EXPECT_NE(all.out.find("\nArea01.Unit01.Device001.Temperature\n"), std::string::npos);
}

}  // namespace
