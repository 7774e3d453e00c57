// Saving a project: the rows written, replacing a project of the same name, quoting, the
// dead band, partial failures, and the "Save Project" command around Save.
#include <climits>
#include <cmath>

#include "db/project_commands.h"
#include "project_test_fixture.h"

namespace {

using ProjectSaveTest = ProjectTest;

// The two-group configuration most cases save.
void BuildPlant(ProjectTest& t, COPCGroup*& line, COPCGroup*& tank) {
  line = t.AddGroup("Line", {"Plant.Line1.Machine1.Temperature", "Plant.Line1.Machine1.Mode"},
                    {"Temp", "Mode"}, 1000);
  tank = t.AddGroup("Tank", {"Plant.Line1.Tank1.Level", "Plant.Line1.Tank1.InletValve"},
                    {"Level", "Inlet"}, 5000, false, 12.7f);
  line->AcquiredItems()[0]->SetDescription("Oven temperature");
  ProjectTest::AddCalc(*line, "TempF", "CelciusToFahrenheit(Temp)");
  ProjectTest::AddCalc(*line, "Twice", "2 * Temp");
}

class FixedName : public IProjectNameChooser {
 public:
  explicit FixedName(std::optional<std::string> answer) : m_answer(std::move(answer)) {}
  std::optional<std::string> ChooseProjectName(const std::string& currentName) override {
    asked.push_back(currentName);
    return m_answer;
  }
  std::vector<std::string> asked;

 private:
  std::optional<std::string> m_answer;
};

TEST_F(ProjectSaveTest, WritesTheProjectItsGroupsAndItsItemsAcquiredFirst) {
  ASSERT_TRUE(Connect());
  COPCGroup* line = nullptr;
  COPCGroup* tank = nullptr;
  BuildPlant(*this, line, tank);
  server->SetConfigurationModified(true);

  const int id = store->Save("Plant A");
  EXPECT_EQ(id, 1);
  EXPECT_FALSE(server->IsConfigurationModified()) << "a save clears the modified flag";
  EXPECT_FALSE(db.IsOpen()) << "the file is not held open after a save";

  const auto project = Rows("SELECT * FROM OPCPrj");
  ASSERT_EQ(project.size(), 1u);
  EXPECT_EQ(project[0], (std::vector<std::string>{
                            "1", "Plant A", "Velmora.SimServer.1", "Local Host",
                            "6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01", "2026-12-07", "10:00:00"}));
  const auto groups = Rows(
      "SELECT OPCPrj_Id, OPCGrp_Name, OPCGrp_Active, OPCGrp_UpdateRate, OPCGrp_TimeBias, "
      "OPCGrp_DeadBand, OPCGrp_ReadInterface FROM OPCGrp ORDER BY OPCGrp_Id");
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0], (std::vector<std::string>{"1", "Line", "1", "1000", "0", "0.0", "0"}));
  EXPECT_EQ(groups[1], (std::vector<std::string>{"1", "Tank", "0", "5000", "0", "12.0", "0"}));

  const auto items = Rows(
      "SELECT g.OPCGrp_Name, OPCItem_QualifiedName, OPCItem_ShortName, OPCItem_Data, "
      "OPCItem_DataType, OPCItem_ItemType FROM OPCItem JOIN OPCGrp g USING (OPCGrp_Id) ORDER BY "
      "OPCItem_Id");
  const std::vector<std::vector<std::string>> expected = {
      {"Line", "Plant.Line1.Machine1.Temperature", "Temp", "Oven temperature", "5", "0"},
      {"Line", "Plant.Line1.Machine1.Mode", "Mode", "Plant.Line1.Machine1.Mode", "8", "0"},
      {"Line", "TempF", "TempF", "CelciusToFahrenheit(Temp)", "4", "1"},
      {"Line", "Twice", "Twice", "2 * Temp", "4", "1"},
      {"Tank", "Plant.Line1.Tank1.Level", "Level", "Plant.Line1.Tank1.Level", "4", "0"},
      {"Tank", "Plant.Line1.Tank1.InletValve", "Inlet", "Plant.Line1.Tank1.InletValve", "11", "0"},
  };
  EXPECT_EQ(items, expected);
}

TEST_F(ProjectSaveTest, SavingTwiceUnderOneNameLeavesOneProjectWithNewIds) {
  ASSERT_TRUE(Connect());
  COPCGroup* line = nullptr;
  COPCGroup* tank = nullptr;
  BuildPlant(*this, line, tank);
  ASSERT_EQ(store->Save("Plant"), 1);
  ASSERT_EQ(store->Save("Other"), 2);
  const std::string firstGroupIds = Value(
      "SELECT group_concat(OPCGrp_Id) FROM OPCGrp JOIN OPCPrj USING (OPCPrj_Id) WHERE "
      "OPCPrj_Name = 'Plant'");
  const std::string firstMaxItem = Value("SELECT MAX(OPCItem_Id) FROM OPCItem");

  ctx.clock.AdvanceMs(61000);
  EXPECT_EQ(store->Save("Plant"), 3);
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCPrj WHERE OPCPrj_Name = 'Plant'"), "1");
  EXPECT_EQ(Value("SELECT OPCPrj_Id FROM OPCPrj WHERE OPCPrj_Name = 'Plant'"), "3");
  EXPECT_EQ(Value("SELECT OPCPrj_Time FROM OPCPrj WHERE OPCPrj_Name = 'Plant'"), "10:01:01");
  // The old groups and items are gone, the new ones have new ids.
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCGrp WHERE OPCPrj_Id = 1"), "0");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCGrp WHERE OPCPrj_Id = 3"), "2");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCItem WHERE OPCGrp_Id NOT IN (SELECT OPCGrp_Id FROM "
                  "OPCGrp)"),
            "0")
      << "no item is left without its group";
  EXPECT_NE(Value("SELECT group_concat(OPCGrp_Id) FROM OPCGrp WHERE OPCPrj_Id = 3"), firstGroupIds);
  EXPECT_GT(std::stoi(Value("SELECT MIN(OPCItem_Id) FROM OPCItem JOIN OPCGrp USING (OPCGrp_Id) "
                            "WHERE OPCPrj_Id = 3")),
            std::stoi(firstMaxItem));
  // The other project is untouched.
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCGrp WHERE OPCPrj_Id = 2"), "2");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCItem"), "12");
}

TEST_F(ProjectSaveTest, NameWithSingleQuotesIsStoredMatchedAndReplaced) {
  ASSERT_TRUE(Connect());
  COPCGroup* group = AddGroup("O'Brien's group", {"Text.Apostrophe"}, {"Note"});
  group->AcquiredItems()[0]->SetDescription("Operator's 'note'");
  AddCalc(*group, "Quoted", "if(Note > 0, 1, 0)");
  const std::string name = "Operator's 'night' shift";
  ASSERT_EQ(store->Save(name), 1);
  ASSERT_EQ(store->Save("Operator"), 2) << "a name that only starts alike is another project";
  ASSERT_EQ(store->Save(name), 3);
  const auto projects = Rows("SELECT OPCPrj_Id, OPCPrj_Name FROM OPCPrj ORDER BY OPCPrj_Id");
  ASSERT_EQ(projects.size(), 2u);
  EXPECT_EQ(projects[0], (std::vector<std::string>{"2", "Operator"}));
  EXPECT_EQ(projects[1], (std::vector<std::string>{"3", name}));
  EXPECT_EQ(Value("SELECT OPCGrp_Name FROM OPCGrp WHERE OPCPrj_Id = 3"), "O'Brien's group");
  EXPECT_EQ(Value("SELECT OPCItem_Data FROM OPCItem JOIN OPCGrp USING (OPCGrp_Id) WHERE "
                  "OPCPrj_Id = 3 AND OPCItem_ItemType = 0"),
            "Operator's 'note'");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCItem"), "4");
}

TEST_F(ProjectSaveTest, DeadBandIsTruncatedTowardZero) {
  EXPECT_EQ(StoredDeadBand(12.7f), 12);
  EXPECT_EQ(StoredDeadBand(0.99f), 0);
  EXPECT_EQ(StoredDeadBand(-3.9f), -3);
  EXPECT_EQ(StoredDeadBand(std::nanf("")), 0);
  EXPECT_EQ(StoredDeadBand(1e20f), INT_MAX);
  EXPECT_EQ(StoredDeadBand(-1e20f), INT_MIN);
}

TEST_F(ProjectSaveTest, UnopenableDatabaseFailsWithoutAMessageOfItsOwn) {
  ASSERT_TRUE(Connect());
  AddGroup("Line", {"Signals.Sine.R8"}, {"Sine"});
  server->SetConfigurationModified(true);
  db.SetPath(dir.File("missing/folder/Velmora.sq3"));
  EXPECT_EQ(store->Save("Plant"), -1);
  EXPECT_TRUE(ctx.prompt.messages.empty());
  EXPECT_TRUE(ctx.sink.Contains("Error Opening Database"));
  EXPECT_TRUE(server->IsConfigurationModified()) << "nothing was saved";
}

TEST_F(ProjectSaveTest, CleaningFailureSavesNothingAndSaysSo) {
  ASSERT_TRUE(Connect());
  AddGroup("Line", {"Signals.Sine.R8"}, {"Sine"});
  ASSERT_EQ(Exec("DROP TABLE OPCItem"), SQLITE_OK);
  EXPECT_EQ(store->Save("Plant"), -1);
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Error Occured while Cleaning SQLite Database for Current Project Data !!! Project "
            "Data NOT Saved ...");
  EXPECT_EQ(ctx.prompt.messages[0].icon, MessageIcon::kWarning);
  EXPECT_TRUE(ctx.sink.Contains("Error Occured while Cleaning SQLite Database", kLogOpcServer));
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCPrj"), "0");
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(ProjectSaveTest, RefusedGroupRowLosesThatGroupOnlyAndTheSaveReportsFailure) {
  ASSERT_TRUE(Connect());
  COPCGroup* line = nullptr;
  COPCGroup* tank = nullptr;
  BuildPlant(*this, line, tank);
  ASSERT_EQ(Exec("CREATE TRIGGER refuse BEFORE INSERT ON OPCGrp WHEN NEW.OPCGrp_Name = 'Line' "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END;"),
            SQLITE_OK);
  server->SetConfigurationModified(true);
  EXPECT_EQ(store->Save("Plant"), -1);
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCPrj"), "1");
  EXPECT_EQ(Value("SELECT group_concat(OPCGrp_Name) FROM OPCGrp"), "Tank");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCItem"), "2");
  EXPECT_TRUE(ctx.sink.Contains("Error Saving OPC Group 'Line' of Project 'Plant'"));
  EXPECT_TRUE(server->IsConfigurationModified()) << "the project is not safely saved";
}

TEST_F(ProjectSaveTest, RefusedItemRowsAreReportedNotPassedOver) {
  ASSERT_TRUE(Connect());
  COPCGroup* line = nullptr;
  COPCGroup* tank = nullptr;
  BuildPlant(*this, line, tank);
  ASSERT_EQ(Exec("CREATE TRIGGER refuse BEFORE INSERT ON OPCItem WHEN NEW.OPCItem_ShortName = "
                 "'Twice' BEGIN SELECT RAISE(ABORT, 'refused'); END;"),
            SQLITE_OK);
  EXPECT_EQ(store->Save("Plant"), -1);
  // The calculated items' transaction went back as a whole; the rest is there.
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCItem WHERE OPCItem_ItemType = 1"), "0");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCItem WHERE OPCItem_ItemType = 0"), "4");
  EXPECT_TRUE(ctx.sink.Contains("Error Saving Items of OPC Group 'Line'"));
}

TEST_F(ProjectSaveTest, SaveCommandLogsItsTimeAndTakesTheName) {
  ASSERT_TRUE(Connect());
  AddGroup("Line", {"Signals.Sine.R8"}, {"Sine"});
  FixedName chooser("Night Shift");
  state.SetName(kUnnamedProjectName);
  EXPECT_TRUE(SaveProjectCommand(*store, state, chooser));
  ASSERT_EQ(chooser.asked.size(), 1u);
  EXPECT_EQ(chooser.asked[0], "UnNamed Project");
  EXPECT_EQ(state.Name(), "Night Shift");
  EXPECT_EQ(ctx.sink.Count("Project saved to SQLite Database (Velmora.sq3) in 0 ms", kLogOpcServer),
            1);
  EXPECT_EQ(Value("SELECT OPCPrj_Name FROM OPCPrj"), "Night Shift");
}

TEST_F(ProjectSaveTest, CancelledNameDialogIsNotAFailure) {
  ASSERT_TRUE(Connect());
  AddGroup("Line", {"Signals.Sine.R8"}, {"Sine"});
  FixedName chooser(std::nullopt);
  EXPECT_TRUE(SaveProjectCommand(*store, state, chooser));
  EXPECT_EQ(state.Name(), "Empty Project");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM OPCPrj"), "0");
  EXPECT_FALSE(ctx.sink.Contains("Project saved"));
}

TEST_F(ProjectSaveTest, FailedSaveCommandReturnsFalseAndStillLogsItsTime) {
  ASSERT_TRUE(Connect());
  AddGroup("Line", {"Signals.Sine.R8"}, {"Sine"});
  db.SetPath(dir.File("missing/folder/Velmora.sq3"));
  FixedName chooser("Plant");
  EXPECT_FALSE(SaveProjectCommand(*store, state, chooser));
  EXPECT_TRUE(ctx.sink.Contains("Project saved to SQLite Database (Velmora.sq3) in"));
}

TEST_F(ProjectSaveTest, NameListenerHearsEveryChange) {
  std::vector<std::string> heard;
  state.SetNameListener([&heard](const std::string& name) { heard.push_back(name); });
  state.SetName(kUnnamedProjectName);
  state.Reset();
  EXPECT_EQ(heard, (std::vector<std::string>{"UnNamed Project", "Empty Project"}));
  EXPECT_TRUE(state.IsEmpty());
}

}  // namespace
