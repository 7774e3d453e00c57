// Loading a saved project: groups and items re-created on the server in saved order, the
// load command around it, and every way a load stops.
#include "db/project_commands.h"
#include "project_test_fixture.h"

namespace {

using ProjectLoadTest = ProjectTest;

class RecordingObserver : public IProjectLoadObserver {
 public:
  void OnGroupLoaded(COPCGroup& group) override { events.push_back("group " + group.Name()); }
  void OnGroupItemsLoaded(COPCGroup& group) override { events.push_back("items " + group.Name()); }
  void OnLoadFailed() override { events.push_back("failed"); }
  std::vector<std::string> events;
};

class FixedChoice : public IProjectChooser {
 public:
  explicit FixedChoice(std::optional<ProjectChoice> choice) : m_choice(std::move(choice)) {}
  std::optional<ProjectChoice> ChooseProject() override { return m_choice; }

 private:
  std::optional<ProjectChoice> m_choice;
};

ProjectChoice ChoiceOf(int id, const std::string& name, const std::string& serverId) {
  ProjectChoice choice;
  choice.m_nId = id;
  choice.m_sName = name;
  choice.m_sServerId = serverId;
  choice.m_sHost = kLocalHost;
  choice.m_clsid = GUID_NULL;
  return choice;
}

// Saves a two-group project with calculated items and closes the server again.
int SavePlant(ProjectTest& t) {
  EXPECT_TRUE(t.Connect());
  COPCGroup* line = t.AddGroup("Line",
                               {"Plant.Line1.Machine1.Temperature", "Plant.Line1.Machine1.Running",
                                "Plant.Line1.Machine1.Mode"},
                               {"Temp", "Run", "Mode"}, 2000, true, 12.7f);
  // Calculated items were defined between acquired additions: order is per kind.
  ProjectTest::AddCalc(*line, "TempF", "CelciusToFahrenheit(Temp)");
  ProjectTest::AddCalc(*line, "Both", "TempF + Run");
  line->AcquiredItems()[1]->SetDescription("Machine runs");
  t.AddGroup("Idle", {"Signals.Counter.I4"}, {"Count"}, 10000, false);
  const int id = t.store->Save("Plant");
  EXPECT_EQ(id, 1);
  t.CloseServer();
  t.ctx.sink.Clear();
  return id;
}

TEST_F(ProjectLoadTest, RecreatesGroupsAndItemsInSavedOrder) {
  const int id = SavePlant(*this);
  server->SetConfigurationModified(true);
  RecordingObserver observer;
  ASSERT_TRUE(OpenSavedProject(*store, state, ChoiceOf(id, "Plant", kSimServerProgId), &observer));
  EXPECT_EQ(state.Name(), "Plant");
  EXPECT_FALSE(server->IsConfigurationModified());
  EXPECT_FALSE(db.IsOpen());

  ASSERT_EQ(server->GroupCount(), 2);
  const COPCGroup& line = *server->Group(0);
  EXPECT_EQ(line.Name(), "Line");
  EXPECT_EQ(line.UpdateRate(), 2000u);
  EXPECT_EQ(line.DeadBand(), 12.0f) << "stored as 12, loaded as 12";
  EXPECT_EQ(line.Locale(), 1033u);
  EXPECT_TRUE(line.IsActive());
  const COPCGroup& idle = *server->Group(1);
  EXPECT_FALSE(idle.IsActive());
  EXPECT_EQ(idle.UpdateRate(), 10000u);

  ASSERT_EQ(line.AcquiredCount(), 3);
  EXPECT_EQ(line.AcquiredItems()[0]->ShortId(), "Temp");
  EXPECT_EQ(line.AcquiredItems()[1]->ShortId(), "Run");
  EXPECT_EQ(line.AcquiredItems()[1]->Description(), "Machine runs");
  EXPECT_EQ(line.AcquiredItems()[2]->QualifiedId(), "Plant.Line1.Machine1.Mode");
  EXPECT_EQ(line.AcquiredItems()[2]->DataType(), VT_BSTR);
  for (const auto& item : line.AcquiredItems()) {
    EXPECT_EQ(item->Valid(), 1) << item->QualifiedId() << " is on the server again";
    EXPECT_NE(item->ServerItem(), 0u);
  }
  ASSERT_EQ(line.CalcCount(), 2);
  EXPECT_EQ(line.CalcItems()[0]->ShortId(), "TempF");
  EXPECT_EQ(line.CalcItems()[0]->Expression(), "CelciusToFahrenheit(Temp)");
  EXPECT_EQ(line.CalcItems()[0]->DataType(), VT_R4);
  EXPECT_EQ(line.CalcItems()[1]->ShortId(), "Both");
  EXPECT_EQ(server->TotalItemCount(), 6);

  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"group Line", "group Idle", "items Line", "items Idle"}));
  EXPECT_EQ(ctx.sink.Count("Add OPC Group 'Line' to OPC Server Velmora.SimServer.1", kLogOpcServer),
            1);
  EXPECT_EQ(
      ctx.sink.Count("Project loaded from SQLite Database (Velmora.sq3) in 0 ms", kLogOpcServer),
      1);
  EXPECT_TRUE(ctx.prompt.reports.empty()) << "every item was accepted";
}

TEST_F(ProjectLoadTest, SavedAgainAfterLoadingGivesTheSameRows) {
  const int id = SavePlant(*this);
  const std::string query =
      "SELECT g.OPCGrp_Name, g.OPCGrp_Active, g.OPCGrp_UpdateRate, g.OPCGrp_DeadBand, "
      "OPCItem_QualifiedName, OPCItem_ShortName, OPCItem_Data, OPCItem_DataType, "
      "OPCItem_ItemType FROM OPCItem JOIN OPCGrp g USING (OPCGrp_Id) ORDER BY OPCItem_Id";
  const auto before = Rows(query);
  ASSERT_TRUE(OpenSavedProject(*store, state, ChoiceOf(id, "Plant", kSimServerProgId), nullptr));
  EXPECT_GT(store->Save("Plant"), 0);
  EXPECT_EQ(Rows(query), before);
}

TEST_F(ProjectLoadTest, UnknownServerReportsTheConnectionErrorAndLeavesEmptyProject) {
  const int id = SavePlant(*this);
  state.SetName("Plant");
  server->SetConfigurationModified(true);
  RecordingObserver observer;
  EXPECT_FALSE(
      OpenSavedProject(*store, state, ChoiceOf(id, "Plant", "No.Such.Server.1"), &observer));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_EQ(ctx.prompt.reports[0].title, "OPC Server Connection Error");
  EXPECT_EQ(ctx.prompt.reports[0].body,
            "{\\f1\\cb5\\cf5\\b Error occured while Connecting to OPC Server} \\par\\par \\fs18 "
            "\\par OPC Server: {\\b No.Such.Server.1} \\par \\par {\\f1 \\b Please Check if OPC "
            "Server is available on this computer} \\par}");
  EXPECT_EQ(state.Name(), "Empty Project");
  EXPECT_EQ(server->GroupCount(), 0);
  EXPECT_FALSE(server->IsConfigurationModified());
  EXPECT_TRUE(observer.events.empty());
  EXPECT_FALSE(ctx.sink.Contains("Project loaded"));
}

TEST_F(ProjectLoadTest, IncoherentGroupRowsStopTheLoad) {
  const int id = SavePlant(*this);
  // A blob cell is not returned: the row comes back one cell short.
  ASSERT_EQ(Exec("UPDATE OPCGrp SET OPCGrp_Name = X'4142' WHERE OPCGrp_Name = 'Idle'"), SQLITE_OK);
  RecordingObserver observer;
  EXPECT_FALSE(OpenSavedProject(*store, state, ChoiceOf(id, "Plant", kSimServerProgId), &observer));
  EXPECT_TRUE(ctx.prompt.HasMessageContaining(
      "Incoherent Data Group from Velmora Database !!! Unable to Load Project Group Data ..."));
  EXPECT_EQ(server->GroupCount(), 0);
  EXPECT_EQ(observer.events, std::vector<std::string>{"failed"});
  EXPECT_EQ(state.Name(), "Empty Project");
  EXPECT_FALSE(db.IsOpen());
}

TEST_F(ProjectLoadTest, IncoherentItemRowsStopTheLoadAndKeepTheGroups) {
  const int id = SavePlant(*this);
  ASSERT_EQ(Exec("UPDATE OPCItem SET OPCItem_Data = X'00' WHERE OPCItem_ShortName = 'Count'"),
            SQLITE_OK);
  RecordingObserver observer;
  EXPECT_FALSE(OpenSavedProject(*store, state, ChoiceOf(id, "Plant", kSimServerProgId), &observer));
  EXPECT_TRUE(ctx.prompt.HasMessageContaining(
      "Incoherent Data Group from Velmora Database !!! Unable to Load Project Item Data ..."));
  EXPECT_EQ(server->GroupCount(), 2) << "groups created before the failure stay";
  EXPECT_EQ(observer.events.back(), "failed");
  EXPECT_FALSE(ctx.sink.Contains("Project loaded"));
}

TEST_F(ProjectLoadTest, ItemOfAGroupTheServerRefusedIsAnInternalError) {
  const int id = SavePlant(*this);
  // A name too long for the server's buffer: that group is not created.
  ASSERT_EQ(Exec("UPDATE OPCGrp SET OPCGrp_Name = 'Idle' || printf('%.300c', 'x') WHERE "
                 "OPCGrp_Name = 'Idle'"),
            SQLITE_OK);
  RecordingObserver observer;
  EXPECT_FALSE(OpenSavedProject(*store, state, ChoiceOf(id, "Plant", kSimServerProgId), &observer));
  EXPECT_TRUE(ctx.prompt.HasMessageContaining(
      "Velmora Internal Critical Error While adding Item in OPC Group !!! Unable to Load "
      "Project Item Data ..."));
  EXPECT_EQ(server->GroupCount(), 1);
  EXPECT_EQ(state.Name(), "Empty Project");
}

TEST_F(ProjectLoadTest, MissingDatabaseStopsTheLoadQuietly) {
  const int id = SavePlant(*this);
  db.SetPath(dir.File("gone/Velmora.sq3"));
  EXPECT_FALSE(OpenSavedProject(*store, state, ChoiceOf(id, "Plant", kSimServerProgId), nullptr));
  EXPECT_TRUE(ctx.prompt.messages.empty());
  EXPECT_TRUE(ctx.sink.Contains("Error Opening Database"));
  EXPECT_EQ(state.Name(), "Empty Project");
}

TEST_F(ProjectLoadTest, LoadCommandClosesTheCurrentProjectFirst) {
  const int id = SavePlant(*this);
  std::vector<std::string> steps;
  FixedChoice chooser(ChoiceOf(id, "Plant", kSimServerProgId));
  ASSERT_TRUE(LoadProjectCommand(
      *store, state, chooser,
      [&] {
        steps.push_back("close");
        EXPECT_EQ(server->GroupCount(), 0) << "closed before anything is loaded";
        return true;
      },
      nullptr));
  EXPECT_EQ(steps, std::vector<std::string>{"close"});
  EXPECT_EQ(server->GroupCount(), 2);
  EXPECT_EQ(state.Name(), "Plant");
}

TEST_F(ProjectLoadTest, LoadCommandStopsWhenCancelledOrWhenTheProjectStaysOpen) {
  const int id = SavePlant(*this);
  bool closed = false;
  FixedChoice cancelled(std::nullopt);
  EXPECT_FALSE(LoadProjectCommand(
      *store, state, cancelled, [&] { return closed = true; }, nullptr));
  EXPECT_FALSE(closed) << "a cancelled dialog closes nothing";

  FixedChoice chooser(ChoiceOf(id, "Plant", kSimServerProgId));
  EXPECT_FALSE(LoadProjectCommand(
      *store, state, chooser, [] { return false; }, nullptr));
  EXPECT_EQ(server->GroupCount(), 0) << "nothing loaded beside a project kept open";
  EXPECT_FALSE(server->IsConnected());
}

}  // namespace
