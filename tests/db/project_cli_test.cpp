// velmora-cli project, run as a user runs it, on the built-in simulation servers.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "command_run.h"
#include "temp_dir.h"

namespace {

using CliRun = CommandRun;

// Runs velmora-cli with the arguments (already quoted for the shell); stdout only, or
// stderr only with errorsOnly.
CliRun RunCli(const std::string& arguments, bool errorsOnly = false) {
  return RunShellCommand(std::string("env -u VELMORA_SIM_CONFIG '") + VELMORA_CLI_PATH + "' " +
                         arguments + (errorsOnly ? " 2>&1 >/dev/null" : " 2>/dev/null"));
}

class ProjectCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database = "'" + dir.File("Velmora.sq3") + "'";
    ASSERT_EQ(RunCli("db init --database " + database).exitCode, 0);
  }
  std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = dir.File(name);
    std::ofstream(path, std::ios::binary) << text;
    return "'" + path + "'";
  }
  std::string Demo() const {
    return std::string("'") + VELMORA_SOURCE_DIR + "/examples/demo-plant.vproj'";
  }

  TempDir dir;
  std::string database;
};

TEST_F(ProjectCliTest, ImportListShowExportDelete) {
  const CliRun imported = RunCli("project import " + Demo() + " --database " + database);
  ASSERT_EQ(imported.exitCode, 0);
  EXPECT_EQ(imported.out,
            "Project 'Demo Plant' imported: 5 groups, 22 acquired and 7 calculated items "
            "(project id 1)\n");

  const CliRun list = RunCli("project list --database " + database);
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out.rfind("Project Id\tProject Name\tOPC Server Id\tOPC Server Host\tOPC Server "
                           "Guid\tGroup Count\tTotal Item Count\tCreation Date\tCreation Time\n"
                           "1\tDemo Plant\tVelmora.SimServer.1\tLocal Host\t"
                           "6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01\t5\t29\t",
                           0),
            0u)
      << list.out;

  const CliRun show = RunCli("project show 'Demo Plant' --database " + database);
  EXPECT_EQ(show.exitCode, 0);
  EXPECT_EQ(show.out.rfind("Group Name\tActive Status\tUpdate Rate (ms)\n"
                           "Line 1 Machine 1\t1\t1000\n",
                           0),
            0u)
      << show.out;
  EXPECT_NE(show.out.find("\nGroup Name\tItem Name\tData Type\tItem Type\n"
                          "Line 1 Machine 1\tPlant.Line1.Machine1.Temperature\tDouble\tAcquired "
                          "Data\n"),
            std::string::npos)
      << show.out;
  EXPECT_NE(show.out.find("Line 2 Standby\t0\t10000\n"), std::string::npos);

  const CliRun exported = RunCli("project export 'Demo Plant' --database " + database);
  EXPECT_EQ(exported.exitCode, 0);
  EXPECT_NE(exported.out.find("project = Demo Plant\n"), std::string::npos);

  const CliRun deleted = RunCli("project delete 'Demo Plant' --database " + database);
  EXPECT_EQ(deleted.exitCode, 0);
  EXPECT_EQ(deleted.out, "Project 'Demo Plant' deleted\n");
  EXPECT_EQ(RunCli("project export 'Demo Plant' --database " + database).exitCode, 1);
  EXPECT_EQ(RunCli("project delete 'Demo Plant' --database " + database).exitCode, 1);
}

TEST_F(ProjectCliTest, RoundTripIsByteIdenticalAndNameCanBeChosen) {
  ASSERT_EQ(RunCli("project import " + Demo() + " --database " + database).exitCode, 0);
  const CliRun first = RunCli("project export 'Demo Plant' --database " + database);
  ASSERT_EQ(first.exitCode, 0);
  const std::string file = WriteFile("exported.vproj", first.out);
  ASSERT_EQ(
      RunCli("project import " + file + " --name \"Copy's plant\" --database " + database).exitCode,
      0);
  const CliRun copy = RunCli("project export \"Copy's plant\" --database " + database);
  ASSERT_EQ(copy.exitCode, 0);
  std::string expected = first.out;
  expected.replace(expected.find("project = Demo Plant"), 20, "project = Copy's plant");
  EXPECT_EQ(copy.out, expected);
}

TEST_F(ProjectCliTest, ParseErrorsNameTheLine) {
  const std::string file =
      WriteFile("bad.vproj", "project = P\nserver = Velmora.SimServer.1\ncolour = red\n");
  const CliRun run = RunCli("project import " + file + " --database " + database, true);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("bad.vproj: line 3: unknown key 'colour'"), std::string::npos) << run.out;
}

// A file past the size limit, or one with a NUL byte, fails before anything is connected or
// saved; the same file without the fault imports.
TEST_F(ProjectCliTest, OversizedAndNulFilesFailAndSaveNothing) {
  constexpr size_t kLimit = 4 * 1024 * 1024;  // the documented limit
  const std::string project = "project = P\nserver = Velmora.SimServer.1\n";
  const std::string comment = "# " + std::string(kLimit - project.size() - 2, 'x') + "\n";
  const std::string big = WriteFile("big.vproj", project + comment);
  const CliRun oversized = RunCli("project import " + big + " --database " + database, true);
  EXPECT_EQ(oversized.exitCode, 1);
  EXPECT_NE(
      oversized.out.find(
          "big.vproj: the file is larger than 4194304 bytes; a project file is at most 4 MiB"),
      std::string::npos)
      << oversized.out;

  const std::string item = "item Sine = Signals.Sine.R8\n";
  const std::string nul =
      WriteFile("nul.vproj", project + std::string("group = G\0x\n", 12) + item);
  const CliRun withNul = RunCli("project import " + nul + " --database " + database, true);
  EXPECT_EQ(withNul.exitCode, 1);
  EXPECT_NE(withNul.out.find("nul.vproj: line 3: the text holds a NUL byte"), std::string::npos)
      << withNul.out;

  const std::string count = "db query --database " + database +
                            " \"SELECT (SELECT COUNT(*) FROM OPCPrj) + (SELECT COUNT(*) FROM "
                            "OPCGrp) + (SELECT COUNT(*) FROM OPCItem) AS n\"";
  EXPECT_EQ(RunCli(count).out, "n\n0\n") << "nothing saved";
  const std::string good = WriteFile("good.vproj", project + "group = Gx\n" + item);
  EXPECT_EQ(RunCli("project import " + good + " --database " + database).exitCode, 0);
  EXPECT_NE(RunCli(count).out, "n\n0\n");
}

TEST_F(ProjectCliTest, RefusedItemsArePrintedAndTheImportFails) {
  const std::string file = WriteFile("refused.vproj",
                                     "project = P\nserver = Velmora.SimServer.1\ngroup = G\n"
                                     "item Good = Signals.Sine.R8\n"
                                     "item Ghost = Plant.Nowhere\n"
                                     "calc Bad = Good + Missing\n");
  const CliRun run = RunCli("project import " + file + " --database " + database);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("line 5: group 'G': 'Ghost' (Plant.Nowhere) refused: The ItemID is not "
                         "in the OPC Server Address Space (Error Code: C0040007)\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("line 6: group 'G': 'Bad' (Good + Missing) refused: Use of Unknown Item "
                         "Symbol Missing"),
            std::string::npos)
      << run.out;
  const CliRun errors = RunCli("project import " + file + " --database " + database, true);
  EXPECT_NE(errors.out.find("import failed: 2 item(s) refused; nothing saved"), std::string::npos)
      << errors.out;
  EXPECT_EQ(RunCli("project list --database " + database).out.find("\nP\t"), std::string::npos);
}

TEST_F(ProjectCliTest, UsageAndMissingFiles) {
  EXPECT_EQ(RunCli("project list").exitCode, 2);
  EXPECT_EQ(RunCli("project --database " + database).exitCode, 2);
  EXPECT_EQ(RunCli("project frobnicate --database " + database).exitCode, 2);
  EXPECT_EQ(RunCli("project export --database " + database).exitCode, 2);
  EXPECT_EQ(RunCli("project list --name X --database " + database).exitCode, 2);
  EXPECT_EQ(RunCli("project list --sort 9 --database " + database).exitCode, 2);
  EXPECT_EQ(RunCli("project list --database '" + dir.File("none.sq3") + "'").exitCode, 1);
  EXPECT_EQ(
      RunCli("project import '" + dir.File("none.vproj") + "' --database " + database).exitCode, 1);
  EXPECT_EQ(RunCli("project show Nobody --database " + database).exitCode, 1);
}

// A file that is no database, or a database without the tables, is a failure that says
// so, never an empty list or a missing project; so is a statement that cannot run.
TEST_F(ProjectCliTest, FilesWithoutTheSchemaAndBadStatementsFail) {
  std::string text;
  for (int line = 0; line < 200; ++line)
    text += "this is not a database file, just text\n";
  const std::string notDatabase = WriteFile("notdb.sq3", text);
  const std::string empty = WriteFile("empty.sq3", "");
  for (const std::string action : {"list", "show P", "export P", "delete P"}) {
    const CliRun garbage = RunCli("project " + action + " --database " + notDatabase, true);
    EXPECT_EQ(garbage.exitCode, 1) << action;
    EXPECT_NE(garbage.out.find("notdb.sq3: file is not a database"), std::string::npos)
        << garbage.out;
    EXPECT_EQ(garbage.out.find("no project named"), std::string::npos) << garbage.out;
    const CliRun bare = RunCli("project " + action + " --database " + empty, true);
    EXPECT_EQ(bare.exitCode, 1) << action;
    EXPECT_NE(bare.out.find("empty.sq3 is not a Velmora database (no table OPCPrj)"),
              std::string::npos)
        << bare.out;
  }
  const CliRun bad = RunCli("db query --database " + database + " \"SELEC nonsense\"", true);
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.out.find("velmora-cli db: the statement failed: near \"SELEC\": syntax error"),
            std::string::npos)
      << bad.out;
  EXPECT_EQ(RunCli("db query --database " + database + " \"SELEC nonsense\"").out, "");
  EXPECT_EQ(RunCli("db query --database " + notDatabase + " \"SELECT * FROM OPCPrj\"").exitCode, 1);
  const CliRun good = RunCli("db query --database " + database + " \"SELECT 1.5 AS x, 2 AS y\"");
  EXPECT_EQ(good.exitCode, 0);
  EXPECT_EQ(good.out, "x\ty\n1.500000\t2\n");
}

// Every numeric option takes a whole number in its range and nothing else; the message
// names the option and the range.
TEST_F(ProjectCliTest, NumericOptionsRefuseTrailingTextOverflowAndRange) {
  const std::string acquire = "acquire --project Nobody --database " + database;
  const CliRun seconds = RunCli(acquire + " --seconds 3x", true);
  EXPECT_EQ(seconds.exitCode, 2);
  EXPECT_EQ(seconds.out.rfind(
                "velmora-cli acquire: --seconds needs a whole number from 1 to 31536000\n", 0),
            0u)
      << seconds.out;
  for (const std::string option :
       {"--seconds 0", "--seconds=99999999999999999999", "--seconds 31536001", "--seconds",
        "--decimals 2x", "--decimals 6", "--decimals -1", "--decimals ''"}) {
    EXPECT_EQ(RunCli(acquire + " " + option).exitCode, 2) << option;
  }
  EXPECT_NE(RunCli(acquire + " --decimals 9", true)
                .out.find("--decimals needs a whole number "
                          "from 0 to 5"),
            std::string::npos);
  // Valid values get as far as the missing project.
  EXPECT_EQ(RunCli(acquire + " --seconds 1 --decimals 5").exitCode, 1);
  EXPECT_NE(RunCli("project list --sort 1x --database " + database, true)
                .out.find("velmora-cli project: --sort needs a whole number from 0 to 6"),
            std::string::npos);
  EXPECT_EQ(RunCli("project list --sort=6 --database " + database).exitCode, 0);
}

}  // namespace
