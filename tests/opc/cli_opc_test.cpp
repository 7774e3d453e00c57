// velmora-cli servers / browse / read, run as a user runs them, on the built-in simulation
// servers.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "command_run.h"

namespace {

using CliRun = CommandRun;

// Runs velmora-cli with the arguments (already quoted for the shell); stdout only unless
// mergeErrors.
CliRun RunCli(const std::string& arguments, bool mergeErrors = false) {
  return RunShellCommand(std::string("env -u VELMORA_SIM_CONFIG '") + VELMORA_CLI_PATH + "' " +
                         arguments + (mergeErrors ? " 2>&1" : " 2>/dev/null"));
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream stream(text);
  while (std::getline(stream, part, separator))
    parts.push_back(part);
  if (!text.empty() && text.back() == separator)
    parts.emplace_back();
  return parts;
}

// Item id → its five fields.
std::map<std::string, std::vector<std::string>> ReadLines(const std::string& out) {
  std::map<std::string, std::vector<std::string>> lines;
  for (const std::string& line : Split(out, '\n')) {
    if (line.empty())
      continue;
    const std::vector<std::string> fields = Split(line, '\t');
    lines[fields[0]] = fields;
  }
  return lines;
}

const char* const kTypes[] = {"I1",  "I2", "I4", "I8",   "UI1",  "UI2",  "UI4",
                              "UI8", "R4", "R8", "BOOL", "BSTR", "DATE", "CY"};

// Value text form and data type text of each simulated type.
struct TypeForm {
  const char* pattern;
  const char* typeText;
};
const std::map<std::string, TypeForm> kForms = {
    {"I1", {"-?[0-9]+", "Char"}},
    {"I2", {"-?[0-9]+", "Short"}},
    {"I4", {"-?[0-9]+", "Long"}},
    {"I8", {"-?[0-9]+", "Native"}},
    {"UI1", {"[0-9]+", "Byte"}},
    {"UI2", {"[0-9]+", "Word"}},
    {"UI4", {"[0-9]+", "DWord"}},
    {"UI8", {"[0-9]+", "Native"}},
    {"R4", {"-?[0-9]+\\.[0-9]{2}", "Float"}},
    {"R8", {"-?[0-9]+\\.[0-9]{2}", "Double"}},
    {"BOOL", {"[01]", "Boolean"}},
    {"BSTR", {".*", "String"}},
    {"DATE", {"[0-9]{2}-[0-9]{2}-[0-9]{4} [0-9]{1,2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}", "Native"}},
    {"CY", {"-?[0-9]+(\\.[0-9]{1,4})?", "Native"}},
};
const std::regex kTimeText("[0-9]{2}/[A-Z][a-z]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}");

TEST(CliOpcRead, EveryDataTypeWithItsValueFormAndTypeText) {
  std::string arguments = "read --server Velmora.SimServer.1";
  for (const char* type : kTypes)
    arguments += std::string(" Signals.Sine.") + type + " Signals.Counter." + type;
  const CliRun run = RunCli(arguments);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto lines = ReadLines(run.out);
  ASSERT_EQ(lines.size(), 28u) << run.out;
  for (const char* type : kTypes) {
    for (const std::string signal : {"Signals.Sine.", "Signals.Counter."}) {
      const std::string id = signal + type;
      ASSERT_EQ(lines.count(id), 1u) << id;
      const std::vector<std::string>& fields = lines.at(id);
      ASSERT_EQ(fields.size(), 5u) << id;
      EXPECT_TRUE(std::regex_match(fields[1], std::regex(kForms.at(type).pattern)))
          << id << ": " << fields[1];
      EXPECT_EQ(fields[2], "Good") << id;
      EXPECT_TRUE(std::regex_match(fields[3], kTimeText)) << id << ": " << fields[3];
      EXPECT_EQ(fields[4], kForms.at(type).typeText) << id;
    }
  }
}

TEST(CliOpcRead, FixedValuesAndDecimals) {
  const CliRun run = RunCli(
      "read --server Velmora.SimServer.1 Static.R8 Static.I4 Static.BOOL Static.BSTR Static.CY "
      "Static.DATE Text.Mixed Text.Empty");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto lines = ReadLines(run.out);
  EXPECT_EQ(lines.at("Static.R8")[1], "3.25");
  EXPECT_EQ(lines.at("Static.I4")[1], "42");
  EXPECT_EQ(lines.at("Static.BOOL")[1], "0");
  EXPECT_EQ(lines.at("Static.BSTR")[1], "Initial text");
  EXPECT_EQ(lines.at("Static.CY")[1], "12.3456");
  EXPECT_EQ(lines.at("Static.DATE")[1], "07-12-2026 12:00:00.000");
  EXPECT_EQ(lines.at("Text.Mixed")[1], "It's 'quoted'; a,b;c");
  EXPECT_EQ(lines.at("Text.Empty")[1], "");
  EXPECT_EQ(lines.at("Text.Empty")[4], "String");
  const CliRun precise =
      RunCli("read --server Velmora.SimServer.1 --decimals 4 --device Static.R8");
  ASSERT_EQ(precise.exitCode, 0);
  EXPECT_EQ(ReadLines(precise.out).at("Static.R8")[1], "3.2500");
}

TEST(CliOpcRead, ArraysShowQuestionMarks) {
  std::string arguments = "read --server Velmora.SimServer.1";
  for (const char* type : kTypes)
    arguments += std::string(" Signals.Arrays.") + type;
  const CliRun run = RunCli(arguments);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto lines = ReadLines(run.out);
  ASSERT_EQ(lines.size(), 14u);
  for (const char* type : kTypes) {
    const std::vector<std::string>& fields = lines.at(std::string("Signals.Arrays.") + type);
    EXPECT_EQ(fields[1], "???") << type;
    EXPECT_EQ(fields[4], std::string(kForms.at(type).typeText) + " Array") << type;
  }
}

TEST(CliOpcRead, FixedQualityItemsShowTheirQualityTexts) {
  const std::map<std::string, std::string> expected = {
      {"Good", "Good"},
      {"GoodLocalOverride", "Good (Local Override)"},
      {"GoodHighLimited", "Good"},
      {"GoodConstant", "Good"},
      {"Uncertain", "Uncertain"},
      {"UncertainLastUsableValue", "Uncertain (Last Useable Value)"},
      {"UncertainSensorNotAccurate", "Uncertain (Sensor Not Accurate)"},
      {"UncertainEUExceeded", "Uncertain (Engineering Units Exceeded)"},
      {"UncertainSubNormal", "Uncertain (Sub-Normal)"},
      {"UncertainUndefinedSubstatus", "No Value"},
      {"Bad", "Bad"},
      {"BadConfigurationError", "Bad (Configuration Error)"},
      {"BadNotConnected", "Bad (Not Connected)"},
      {"BadDeviceFailure", "Bad (Device Failure)"},
      {"BadSensorFailure", "Bad (Sensor Failure)"},
      {"BadLastKnownValue", "Bad (Last Known Value)"},
      {"BadCommFailure", "Bad (Communications Failed)"},
      {"BadOutOfService", "Bad (Out of Service)"},
  };
  std::string arguments = "read --server Velmora.SimServer.1";
  for (const auto& [name, text] : expected)
    arguments += " Quality." + name;
  const CliRun run = RunCli(arguments);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto lines = ReadLines(run.out);
  ASSERT_EQ(lines.size(), expected.size());
  for (const auto& [name, text] : expected)
    EXPECT_EQ(lines.at("Quality." + name)[2], text) << name;
}

TEST(CliOpcRead, RefusedItemIsPrintedWithItsTextAndFailsTheRun) {
  const CliRun run = RunCli("read --server Velmora.SimServer.1 Static.I4 No.Such.Item");
  EXPECT_EQ(run.exitCode, 1);
  const auto lines = ReadLines(run.out);
  ASSERT_EQ(lines.size(), 2u) << run.out;
  EXPECT_EQ(lines.at("Static.I4")[1], "42");
  EXPECT_EQ(
      lines.at("No.Such.Item"),
      (std::vector<std::string>{"No.Such.Item", "The ItemID is not in the OPC Server Address Space",
                                "Error Code: C0040007"}));
  // The log and the report go to stderr.
  const CliRun merged = RunCli("read --server Velmora.SimServer.1 No.Such.Item", true);
  EXPECT_EQ(merged.exitCode, 1);
  EXPECT_NE(merged.out.find("Connecting to OPC Server Velmora.SimServer.1 on Local Host"),
            std::string::npos);
  EXPECT_NE(merged.out.find("OPC Items Addition Error"), std::string::npos);
}

// A server that adds an item but answers its read with a failure code (a write-only item):
// the run fails and says which item, with the code and the server's text.
TEST(CliOpcRead, ItemWhoseReadFailsFailsTheRunWithItsCodeAndText) {
  char folder[] = "/tmp/velmora-cli-read.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string config = std::string(folder) + "/sim.ini";
  {
    std::FILE* file = std::fopen(config.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("[server Velmora.SimServer.1]\nunreadable_item = Static.R8\n", file);
    std::fclose(file);
  }
  const CliRun run = RunShellCommand("VELMORA_SIM_CONFIG='" + config + "' '" + VELMORA_CLI_PATH +
                                     "' read --server Velmora.SimServer.1 Static.I4 Static.R8 "
                                     "2>&1 >/dev/null");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("velmora-cli read: the read of Static.R8 failed: "), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("Error Code: C0040006"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("the read of Static.I4"), std::string::npos) << run.out;
  const CliRun good = RunShellCommand("VELMORA_SIM_CONFIG='" + config + "' '" + VELMORA_CLI_PATH +
                                      "' read --server Velmora.SimServer.1 Static.I4 2>/dev/null");
  EXPECT_EQ(good.exitCode, 0);
  EXPECT_NE(RunCli("read --help").out.find("the server answered an item's read with a failure"),
            std::string::npos);
  std::remove(config.c_str());
  rmdir(folder);
}

TEST(CliOpcRead, UsageErrorsAndUnknownServers) {
  EXPECT_EQ(RunCli("read Static.R8").exitCode, 2);
  EXPECT_EQ(RunCli("read --server Velmora.SimServer.1").exitCode, 2);
  EXPECT_EQ(RunCli("read --server Velmora.SimServer.1 --decimals x Static.R8").exitCode, 2);
  // The decimals the acquisition view offers, as for acquire.
  const CliRun decimals = RunCli("read --server Velmora.SimServer.1 --decimals 6 Static.R8", true);
  EXPECT_EQ(decimals.exitCode, 2);
  EXPECT_EQ(
      decimals.out.rfind("velmora-cli read: --decimals needs a whole number from 0 to 5\n", 0), 0u)
      << decimals.out;
  EXPECT_EQ(RunCli("read --server Velmora.SimServer.1 Static.R8 --decimals").exitCode, 2);
  EXPECT_EQ(RunCli("read --server No.Such.Server Static.R8").exitCode, 1);
}

TEST(CliOpcServers, ListsTheSimulationServersWithTheirClassIds) {
  const CliRun run = RunCli("servers");
  ASSERT_EQ(run.exitCode, 0);
  const std::vector<std::string> lines = Split(run.out, '\n');
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0],
            "Velmora Simulation Server\tVelmora.SimServer.1\t6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E01");
  // Both categories; with --da2 the DA 2.0 one, as the server selection dialog asks it.
  EXPECT_NE(run.out.find("Velmora.SimServerDA1.1"), std::string::npos);
  EXPECT_NE(run.out.find("Velmora.SimServerNoBrowse.1"), std::string::npos);
  EXPECT_EQ(RunCli("servers --da2").out.find("Velmora.SimServerDA1.1"), std::string::npos);
  EXPECT_EQ(RunCli("servers --host NOSUCHHOST").exitCode, 1);
  EXPECT_NE(RunCli("servers --host PLANTSRV01").out.find("Velmora.SimServer.1"), std::string::npos);
}

TEST(CliOpcBrowse, TreeOfBranchesAndQualifiedIds) {
  const CliRun run = RunCli("browse --server Velmora.SimServer.1");
  ASSERT_EQ(run.exitCode, 0);
  const std::vector<std::string> lines = Split(run.out, '\n');
  EXPECT_GE(lines.size(), 100u);
  EXPECT_EQ(lines[0], "Plant/");
  EXPECT_EQ(lines[1], "  Line1/");
  EXPECT_EQ(lines[2], "    Machine1/");
  EXPECT_EQ(lines[3], "      Plant.Line1.Machine1.SetPoint");

  const CliRun filtered = RunCli("browse --server Velmora.SimServer.1 --filter Speed");
  ASSERT_EQ(filtered.exitCode, 0);
  EXPECT_NE(filtered.out.find("      Plant.Line2.Machine2.Speed\n"), std::string::npos);
  EXPECT_EQ(filtered.out.find("Power\n"), std::string::npos);

  const CliRun arrays = RunCli("browse --server Velmora.SimServer.1 --type \"Float Array\"");
  ASSERT_EQ(arrays.exitCode, 0);
  int leaves = 0;
  for (const std::string& line : Split(arrays.out, '\n')) {
    if (line.empty() || line.back() == '/')
      continue;
    ++leaves;
    EXPECT_NE(line.find("Signals.Arrays."), std::string::npos) << line;
  }
  EXPECT_GT(leaves, 0);
  EXPECT_EQ(arrays.out.find("Signals.Arrays.BSTR"), std::string::npos);

  const CliRun flat = RunCli("browse --server Velmora.SimServerDA1.1 --filter \"Quality_*\"");
  ASSERT_EQ(flat.exitCode, 0);
  EXPECT_NE(flat.out.find("Quality_Good\n"), std::string::npos);
  EXPECT_EQ(RunCli("browse --server Velmora.SimServerNoBrowse.1").exitCode, 1);
  EXPECT_EQ(RunCli("browse --server Velmora.SimServer.1 --type NoType").exitCode, 2);
}

}  // namespace
