// The start-up check: create, check, upgrade, and the three failure reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "db/database_check.h"
#include "db_test_util.h"
#include "temp_dir.h"
#include "test_context.h"

namespace {

const std::string kHeadingCreate =
    "{\\f1\\cb5\\cf5\\b Error occured while Creating Velmora Database} \\par\\par \\fs18 Velmora "
    "2.0 is unable to provide standard features ... \\par ";
const std::string kHeadingUpdate =
    "{\\f1\\cb5\\cf5\\b Error occured while Updating Velmora Database} \\par\\par \\fs18 Velmora "
    "2.0 is unable to provide standard features ... \\par ";
const std::string kDllClosing =
    "\\par \\par {\\f1 \\b Please Check if File 'sqlite3.dll' is Present in Velmora Directory} "
    "\\par}";

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class DatabaseCheckTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.File("Velmora.sq3");
  TestContext ctx;
  CSQLite db{ctx.context};
};

TEST_F(DatabaseCheckTest, MissingFileIsCreatedWithTheWholeSchema) {
  EXPECT_TRUE(CheckVelmoraDatabase(db, path));
  EXPECT_EQ(db.Path(), path);
  EXPECT_FALSE(db.IsOpen());
  EXPECT_TRUE(ctx.prompt.reports.empty());
  EXPECT_EQ(ctx.sink.Messages(0),
            std::vector<std::string>{
                "Velmora Database Created and Initialized Successfully (File: " + path + ") "});
  EXPECT_EQ(ctx.sink.lines.size(), 1u);
  RawConnection raw(path);
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"), "9");
  EXPECT_EQ(
      raw.Value("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"),
      "9");
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM Config"), "0");
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM OleVariant"), "55");
}

TEST_F(DatabaseCheckTest, SecondCheckLogsCheckedAndChangesNothing) {
  ASSERT_TRUE(CheckVelmoraDatabase(db, path));
  const std::string before = FileBytes(path);
  ctx.sink.Clear();
  EXPECT_TRUE(CheckVelmoraDatabase(db, path));
  EXPECT_EQ(
      ctx.sink.Messages(0),
      std::vector<std::string>{"Velmora Database Checked Successfully (File: " + path + ") "});
  EXPECT_EQ(ctx.sink.lines.size(), 1u);
  EXPECT_TRUE(ctx.prompt.reports.empty());
  EXPECT_EQ(FileBytes(path), before);
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(DatabaseCheckTest, VersionOneFileIsUpgradedKeepingProjects) {
  {
    RawConnection raw(path);
    ASSERT_EQ(raw.Exec("CREATE TABLE OPCPrj(OPCPrj_Id INTEGER PRIMARY KEY, OPCPrj_Name TEXT);"
                       "CREATE TABLE OPCGrp(OPCGrp_Id INTEGER PRIMARY KEY, OPCPrj_Id INTEGER);"
                       "CREATE TABLE OPCItem(OPCItem_Id INTEGER PRIMARY KEY, OPCGrp_Id INTEGER);"
                       "CREATE TABLE OPCAcq(OPCAcq_Id INTEGER PRIMARY KEY, OPCAcq_ServerId TEXT);"
                       "CREATE TABLE OPCAcqData(OPCAcqData_Id INTEGER PRIMARY KEY, OPCAcq_Id);"
                       "INSERT INTO OPCPrj VALUES(1, 'Kept'); INSERT INTO OPCGrp VALUES(5, 1);"
                       "INSERT INTO OPCItem VALUES(9, 5); INSERT INTO OPCAcq VALUES(1, 'Gone');"
                       "INSERT INTO OPCAcqData VALUES(1, 1);"),
              SQLITE_OK);
  }
  EXPECT_TRUE(CheckVelmoraDatabase(db, path));
  EXPECT_EQ(ctx.sink.Messages(0),
            (std::vector<std::string>{
                "Velmora Database Checked Successfully (File: " + path + ") ",
                "Velmora Database Updated Successfully (File: " + path + ") from Version 1 to 2"}));
  EXPECT_TRUE(ctx.prompt.reports.empty());
  RawConnection raw(path);
  EXPECT_EQ(raw.Value("SELECT OPCPrj_Name FROM OPCPrj"), "Kept");
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM OPCGrp"), "1");
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM OPCItem"), "1");
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM OPCAcq"), "0");
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM OPCAcqData"), "0");
  EXPECT_EQ(raw.Value("SELECT Config_Mnemo || ',' || Config_IntData FROM Config"), "APP_RELEASE,2");
  // And the next start finds it current.
  ctx.sink.Clear();
  EXPECT_TRUE(CheckVelmoraDatabase(db, path));
  EXPECT_EQ(ctx.sink.lines.size(), 1u);
}

TEST_F(DatabaseCheckTest, FileThatIsNotADatabaseGivesTheUpdateErrorReport) {
  {
    std::ofstream out(path);
    for (int i = 0; i < 200; ++i)
      out << "this is not a database file, just text\n";
  }
  const std::string before = FileBytes(path);
  EXPECT_FALSE(CheckVelmoraDatabase(db, path));
  EXPECT_TRUE(ctx.sink.Contains("Velmora Database Checked Successfully (File: " + path + ") ", 0));
  EXPECT_FALSE(ctx.sink.Contains("Updated"));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  const ReportRequest& report = ctx.prompt.reports[0];
  EXPECT_EQ(report.title, "Velmora Database Update Error");
  EXPECT_EQ(report.buttonMode, 0);
  EXPECT_EQ(report.body, kHeadingUpdate + "\\par Update from Version {\\b 1} to {\\b 2} " +
                             "\\par File: {\\b " + path + "} " +
                             "\\par Error: {\\b file is not a database}" + kDllClosing);
  EXPECT_EQ(FileBytes(path), before);
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(DatabaseCheckTest, PathInAMissingFolderGivesTheCreationErrorReport) {
  const std::string missing = dir.File("gone/Velmora.sq3");
  EXPECT_FALSE(CheckVelmoraDatabase(db, missing));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  const ReportRequest& report = ctx.prompt.reports[0];
  EXPECT_EQ(report.title, "Velmora Database (" + missing + ") Creation Error");
  EXPECT_EQ(report.body, kHeadingCreate + "\\par Drive: {\\b /} " +
                             "\\par File: {\\b Velmora.sq3} " +
                             "\\par \\par Error: {\\b unable to open database file}" +
                             "\\par \\par {\\f1 \\b Please Check if SQL Path is Valid} \\par}");
  EXPECT_TRUE(ctx.sink.lines.empty()) << ctx.sink.Dump();
  EXPECT_FALSE(std::filesystem::exists(dir.File("gone")));
}

TEST_F(DatabaseCheckTest, ReportValuesCannotBreakTheRichText) {
  const std::string missing = dir.File("a{b}\\c/Velmora.sq3");
  EXPECT_FALSE(CheckVelmoraDatabase(db, missing));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_NE(ctx.prompt.reports[0].body.find("\\par File: {\\b Velmora.sq3} "), std::string::npos);
  EXPECT_EQ(ctx.prompt.reports[0].body.find("a{b}"), std::string::npos);
}

TEST_F(DatabaseCheckTest, EmptyPathIsACreationErrorNotATemporaryDatabase) {
  EXPECT_FALSE(CheckVelmoraDatabase(db, ""));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_EQ(ctx.prompt.reports[0].title, "Velmora Database () Creation Error");
  EXPECT_NE(ctx.prompt.reports[0].body.find("Error: {\\b unable to open database file}"),
            std::string::npos);
}

TEST_F(DatabaseCheckTest, ExistingPathThatCannotBeOpenedIsOnlyLogged) {
  std::filesystem::create_directory(path);  // exists, but no file can be opened there
  EXPECT_FALSE(CheckVelmoraDatabase(db, path));
  EXPECT_EQ(ctx.sink.Messages(0),
            std::vector<std::string>{"Invalid SQLite Database !!! Error Opening Database " + path +
                                     " Reason: unable to open database file"});
  EXPECT_TRUE(ctx.prompt.reports.empty());
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(DatabaseCheckTest, EmptyExistingFileGetsTheWholeSchema) {
  { std::ofstream touch(path); }
  EXPECT_TRUE(CheckVelmoraDatabase(db, path));
  EXPECT_EQ(ctx.sink.Messages(0),
            (std::vector<std::string>{
                "Velmora Database Checked Successfully (File: " + path + ") ",
                "Velmora Database Created and Initialized Successfully (File: " + path + ") "}));
  RawConnection raw(path);
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"), "9");
  EXPECT_EQ(raw.Value("SELECT COUNT(*) FROM Config"), "0");
}

TEST_F(DatabaseCheckTest, FailedCreationGivesTheCreationErrorReportAndRollsBack) {
  {
    // No table, so the schema is created, but the name Config is taken by a view.
    RawConnection raw(path);
    ASSERT_EQ(raw.Exec("CREATE VIEW Config AS SELECT 1 AS x;"), SQLITE_OK);
  }
  EXPECT_FALSE(CheckVelmoraDatabase(db, path));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  const ReportRequest& report = ctx.prompt.reports[0];
  EXPECT_EQ(report.title, "Velmora Database Creation Error");
  RawConnection raw(path);
  const std::string error = "view Config already exists";
  EXPECT_EQ(report.body, kHeadingCreate + "\\par nFile: {\\b " + path + "} " +
                             "\\par Error: {\\b " + error + "}" + kDllClosing);
  EXPECT_EQ(raw.Value("SELECT group_concat(name) FROM sqlite_master"), "Config");
  EXPECT_FALSE(ctx.sink.Contains("Created"));
}

}  // namespace
