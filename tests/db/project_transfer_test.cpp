// Import of a project file through the server and Save, export back to a file, and the
// removal of a project.
#include <fstream>
#include <sstream>

#include "db/project_export.h"
#include "db/project_import.h"
#include "project_test_fixture.h"

namespace {

using ProjectTransferTest = ProjectTest;

constexpr char kPlantFile[] =
    "project = Plant\n"
    "server = Velmora.SimServer.1\n"
    "host = Local Host\n"
    "class-id = 6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E01\n"
    "group = Line\n"
    "update-rate = 2000\n"
    "dead-band = 12.7\n"
    "item Temp = Plant.Line1.Machine1.Temperature\n"
    "description = Oven temperature\n"
    "item Run = Plant.Line1.Machine1.Running\n"
    "item Mode = Plant.Line1.Machine1.Mode\n"
    "calc TempF = CelciusToFahrenheit(Temp)\n"
    "calc Both = TempF + Run\n"
    "group = Idle\n"
    "active = no\n"
    "update-rate = 10000\n"
    "read-interface = 1\n"
    "item Count = Signals.Counter.I4\n";

constexpr char kItemRows[] =
    "SELECT g.OPCGrp_Name, g.OPCGrp_Active, g.OPCGrp_UpdateRate, g.OPCGrp_TimeBias, "
    "g.OPCGrp_DeadBand, g.OPCGrp_ReadInterface, OPCItem_QualifiedName, OPCItem_ShortName, "
    "OPCItem_Data, OPCItem_DataType, OPCItem_ItemType FROM OPCItem JOIN OPCGrp g USING "
    "(OPCGrp_Id) ORDER BY OPCItem_Id";

ProjectFile ParseOrFail(const std::string& text) {
  ProjectFile file;
  ProjectFileError error;
  EXPECT_TRUE(ParseProjectFile(text, file, error)) << error.Text();
  return file;
}

TEST_F(ProjectTransferTest, ImportSavesWithTheServersCanonicalTypes) {
  const ProjectImportResult result = ImportProject(*store, state, ParseOrFail(kPlantFile));
  ASSERT_TRUE(result.Succeeded()) << result.m_sError;
  EXPECT_EQ(result.m_nProjectId, 1);
  EXPECT_EQ(result.m_nGroupCount, 2);
  EXPECT_EQ(result.m_nAcquiredCount, 4);
  EXPECT_EQ(result.m_nCalcCount, 2);
  EXPECT_TRUE(result.m_failures.empty());
  EXPECT_EQ(state.Name(), "Plant");
  EXPECT_TRUE(ctx.sink.Contains("Project saved to SQLite Database (Velmora.sq3) in"));
  EXPECT_EQ(Value("SELECT OPCPrj_ServerGuid FROM OPCPrj"), "6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01");
  const std::vector<std::vector<std::string>> expected = {
      {"Line", "1", "2000", "0", "12.0", "0", "Plant.Line1.Machine1.Temperature", "Temp",
       "Oven temperature", "5", "0"},
      {"Line", "1", "2000", "0", "12.0", "0", "Plant.Line1.Machine1.Running", "Run",
       "Plant.Line1.Machine1.Running", "11", "0"},
      {"Line", "1", "2000", "0", "12.0", "0", "Plant.Line1.Machine1.Mode", "Mode",
       "Plant.Line1.Machine1.Mode", "8", "0"},
      {"Line", "1", "2000", "0", "12.0", "0", "TempF", "TempF", "CelciusToFahrenheit(Temp)", "4",
       "1"},
      {"Line", "1", "2000", "0", "12.0", "0", "Both", "Both", "TempF + Run", "4", "1"},
      {"Idle", "0", "10000", "0", "0.0", "1", "Signals.Counter.I4", "Count", "Signals.Counter.I4",
       "3", "0"},
  };
  EXPECT_EQ(Rows(kItemRows), expected);
}

TEST_F(ProjectTransferTest, ExportImportRoundTripGivesTheSameRowsAndText) {
  ASSERT_TRUE(ImportProject(*store, state, ParseOrFail(kPlantFile)).Succeeded());
  ProjectFile exported;
  std::string error;
  ASSERT_EQ(ExportProject(db, "Plant", exported, error), 1) << error;
  const std::string first = WriteProjectFile(exported);
  EXPECT_NE(first.find("dead-band = 12\n"), std::string::npos) << first;
  EXPECT_NE(first.find("item Temp = Plant.Line1.Machine1.Temperature\n"
                       "description = Oven temperature\n"),
            std::string::npos)
      << first;
  EXPECT_EQ(first.find("description = Plant.Line1.Machine1.Running"), std::string::npos)
      << "a description equal to the item id is left out";
  const auto rows = Rows(kItemRows);

  // Into a second database, through a second server connection.
  TempDir otherDir;
  CSQLite other(ctx.context);
  other.SetPath(otherDir.File("Velmora.sq3"));
  ASSERT_EQ(other.OpenFile(), DbStatus::kOk);
  ASSERT_TRUE(CreateSchema(other));
  other.Close();
  COPCServer otherServer(ctx.context);
  CProjectStore otherStore(other, otherServer);
  CProjectState otherState;
  ASSERT_TRUE(ImportProject(otherStore, otherState, ParseOrFail(first)).Succeeded());
  ProjectFile again;
  ASSERT_EQ(ExportProject(other, "Plant", again, error), 1) << error;
  EXPECT_EQ(WriteProjectFile(again), first);
  RawConnection raw(otherDir.File("Velmora.sq3"));
  EXPECT_EQ(raw.Rows(kItemRows), rows);
}

TEST_F(ProjectTransferTest, RefusedItemsAreListedAndNothingIsSaved) {
  const std::string text = std::string(kPlantFile) +
                           "item Ghost = Plant.Nowhere.Nothing\n"
                           "item Bad-Id = Signals.Sine.R8\n"
                           "item Count = Signals.Sine.R4\n"
                           "calc Count = 1\n";
  const ProjectImportResult result = ImportProject(*store, state, ParseOrFail(text));
  EXPECT_FALSE(result.Succeeded());
  EXPECT_EQ(result.m_sError, "4 item(s) refused; nothing saved");
  ASSERT_EQ(result.m_failures.size(), 4u);
  // Short id rules first, in file order, then the server's answers.
  EXPECT_EQ(result.m_failures[0].m_nLine, 20);
  EXPECT_EQ(result.m_failures[0].m_sShortId, "Bad-Id");
  EXPECT_EQ(result.m_failures[0].m_sReason,
            "a short id may hold letters, digits and the underscore only");
  EXPECT_EQ(result.m_failures[1].m_nLine, 21);
  EXPECT_EQ(result.m_failures[1].m_sReason, "short id already used on line 18");
  EXPECT_EQ(result.m_failures[2].m_nLine, 22) << "a calculated item named like an acquired one";
  EXPECT_EQ(result.m_failures[2].m_sReason, "short id already used on line 18");
  EXPECT_EQ(result.m_failures[3].m_nLine, 19);
  EXPECT_EQ(result.m_failures[3].m_sGroup, "Idle");
  EXPECT_EQ(result.m_failures[3].m_sItem, "Plant.Nowhere.Nothing");
  EXPECT_EQ(result.m_failures[3].m_hr, OPC_E_UNKNOWNITEMID);
  EXPECT_EQ(result.m_failures[3].m_sReason, "The ItemID is not in the OPC Server Address Space");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCPrj"), "0");
  EXPECT_EQ(state.Name(), "Empty Project");
}

TEST_F(ProjectTransferTest, CalculatedItemRuleRefusesAnItem) {
  int checked = 0;
  const ProjectImportResult result = ImportProject(
      *store, state, ParseOrFail(kPlantFile),
      [&checked](const COPCGroup& group, const COPCCalcItem& item) -> std::string {
        ++checked;
        EXPECT_EQ(group.CalcCount(), 2) << "every item of the group is there when checked";
        return item.ShortId() == "Both" ? "Use of Unknown Item Symbol X" : "";
      });
  EXPECT_EQ(checked, 2);
  ASSERT_EQ(result.m_failures.size(), 1u);
  EXPECT_EQ(result.m_failures[0].m_nLine, 13);
  EXPECT_EQ(result.m_failures[0].m_sItem, "TempF + Run");
  EXPECT_EQ(result.m_failures[0].m_sReason, "Use of Unknown Item Symbol X");
  EXPECT_FALSE(result.Succeeded());
}

TEST_F(ProjectTransferTest, UnknownServerOrBadFileStopsBeforeAnything) {
  ProjectFile file = ParseOrFail(kPlantFile);
  file.m_sServerId = "No.Such.Server.1";
  file.m_sClassId.clear();
  ProjectImportResult result = ImportProject(*store, state, file);
  EXPECT_EQ(result.m_sError, "cannot connect to OPC server No.Such.Server.1 on Local Host");
  EXPECT_TRUE(ctx.prompt.HasReportTitled("OPC Server Connection Error"));

  file = ParseOrFail(kPlantFile);
  file.m_sClassId = "{not-a-guid}";
  result = ImportProject(*store, state, file);
  EXPECT_EQ(result.m_sError, "class-id '{not-a-guid}' is not a GUID");

  file = ParseOrFail(kPlantFile);
  file.m_groups.resize(17, file.m_groups[1]);
  result = ImportProject(*store, state, file);
  EXPECT_EQ(result.m_sError, "the file has 17 groups; a server takes at most 16");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCPrj"), "0");
}

TEST_F(ProjectTransferTest, ImportNeedsAServerWithoutGroups) {
  ASSERT_TRUE(Connect());
  AddGroup("Existing", {"Signals.Sine.R8"}, {"Sine"});
  const ProjectImportResult result = ImportProject(*store, state, ParseOrFail(kPlantFile));
  EXPECT_EQ(result.m_sError, "the server connection already holds groups");
  EXPECT_EQ(server->GroupCount(), 1);
}

TEST_F(ProjectTransferTest, ExportOfAnUnknownProjectFindsNothing) {
  ProjectFile file;
  std::string error;
  EXPECT_EQ(ExportProject(db, "Nobody", file, error), 0);
  db.SetPath(dir.File("gone/Velmora.sq3"));
  EXPECT_EQ(ExportProject(db, "Nobody", file, error), -1);
}

TEST_F(ProjectTransferTest, DeleteRemovesOneProjectWithItsGroupsAndItems) {
  ASSERT_TRUE(ImportProject(*store, state, ParseOrFail(kPlantFile)).Succeeded());
  CloseServer();
  ProjectFile other = ParseOrFail(kPlantFile);
  other.m_sName = "Operator's plant";
  ASSERT_TRUE(ImportProject(*store, state, other).Succeeded());
  ASSERT_EQ(Value("SELECT COUNT(*) FROM OPCItem"), "12");

  std::string error;
  EXPECT_EQ(DeleteProject(db, "Operator's plant", error), 1) << error;
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(Value("SELECT group_concat(OPCPrj_Name) FROM OPCPrj"), "Plant");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCGrp"), "2");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCItem"), "6");
  EXPECT_EQ(DeleteProject(db, "Operator's plant", error), 0);
  EXPECT_EQ(DeleteProject(db, "Plant", error), 1);
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCGrp") + Value("SELECT COUNT(*) FROM OPCItem"), "00");
}

TEST_F(ProjectTransferTest, DemoProjectImports) {
  std::ifstream in(std::string(VELMORA_SOURCE_DIR) + "/examples/demo-plant.vproj");
  ASSERT_TRUE(in) << "examples/demo-plant.vproj";
  std::stringstream text;
  text << in.rdbuf();
  const ProjectFile file = ParseOrFail(text.str());
  const ProjectImportResult result = ImportProject(*store, state, file);
  ASSERT_TRUE(result.Succeeded()) << result.m_sError;
  EXPECT_GE(result.m_nGroupCount, 3);
  EXPECT_GE(std::stoi(Value("SELECT COUNT(DISTINCT OPCGrp_UpdateRate) FROM OPCGrp")), 3);
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCGrp WHERE OPCGrp_Active = 0"), "1");
  EXPECT_NE(Value("SELECT COUNT(*) FROM OPCItem WHERE OPCItem_DataType = 8"), "0") << "a string";
  EXPECT_NE(Value("SELECT COUNT(*) FROM OPCItem WHERE OPCItem_DataType = 11"), "0") << "a boolean";
  EXPECT_NE(Value("SELECT COUNT(*) FROM OPCItem WHERE OPCItem_ItemType = 1"), "0");
}

}  // namespace
