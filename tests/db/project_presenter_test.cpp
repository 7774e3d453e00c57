// The rules of the two project dialogs without their windows.
#include "db/project_choice_presenter.h"
#include "db/project_list.h"
#include "db/project_name_presenter.h"
#include "db/project_rows.h"
#include "db/recording_list_control.h"
#include "project_test_fixture.h"

namespace {

class ProjectPresenterTest : public ProjectTest {
 protected:
  // Three projects saved in the order Zeta, Alpha, Mid (ids 1, 2, 3).
  void SaveThree() {
    ASSERT_TRUE(Connect());
    COPCGroup* group = AddGroup("Line", {"Signals.Sine.R8", "Signals.Square.BOOL"}, {"S", "B"});
    AddCalc(*group, "C", "S + B");
    ASSERT_EQ(store->Save("Zeta"), 1);
    AddGroup("Tank", {"Plant.Line1.Tank1.Level"}, {"L"});
    ASSERT_EQ(store->Save("Alpha"), 2);
    ASSERT_EQ(store->Save("Mid"), 3);
  }
};

TEST_F(ProjectPresenterTest, NameDialogListsProjectsByNameAndPreselectsTheCurrentOne) {
  SaveThree();
  CSetProjectNamePresenter presenter(db, ctx.prompt, "Mid");
  CRecordingListControl list;
  EXPECT_EQ(presenter.FillList(&list), 3);
  EXPECT_EQ(presenter.ProjectCount(), 3);
  ASSERT_EQ(list.Columns().size(), 7u);
  EXPECT_EQ(list.Columns()[1].title, "Project Name");
  EXPECT_EQ(list.Columns()[4].title, "OPC Server Guid");
  EXPECT_EQ(list.Columns()[5].title, "Creation Date");
  EXPECT_EQ(list.Cell(0, 1), "Alpha");
  EXPECT_EQ(list.Cell(1, 1), "Mid");
  EXPECT_EQ(list.Cell(2, 1), "Zeta");
  EXPECT_EQ(presenter.CurrentRow(), 1);
  EXPECT_TRUE(presenter.OkEnabled());
  EXPECT_EQ(presenter.RowName(2), "Zeta");
  EXPECT_EQ(presenter.RowName(3), "");
}

TEST_F(ProjectPresenterTest, NameDialogForEmptyProjectStartsWithOkDisabled) {
  SaveThree();
  CSetProjectNamePresenter presenter(db, ctx.prompt, kEmptyProjectName);
  presenter.FillList(nullptr);
  EXPECT_EQ(presenter.CurrentRow(), -1);
  EXPECT_FALSE(presenter.OkEnabled());
  presenter.TextChanged("   ");
  EXPECT_FALSE(presenter.OkEnabled());
  presenter.TextChanged("  New ");
  EXPECT_TRUE(presenter.OkEnabled());
  presenter.TextChanged("");
  EXPECT_FALSE(presenter.OkEnabled());
  EXPECT_FALSE(presenter.Confirm(" \t ")) << "a blank name keeps the dialog open";
  EXPECT_TRUE(presenter.Confirm("  New project\t"));
  EXPECT_EQ(presenter.ChosenName(), "New project");
  EXPECT_TRUE(ctx.prompt.messages.empty());
}

TEST_F(ProjectPresenterTest, ReplacingAnotherProjectAsksAndCancelKeepsTheDialogOpen) {
  SaveThree();
  CSetProjectNamePresenter presenter(db, ctx.prompt, "Mid");
  presenter.FillList(nullptr);
  ctx.prompt.messageAnswers = {MessageAnswer::kCancel, MessageAnswer::kOk};
  EXPECT_FALSE(presenter.Confirm(" Zeta "));
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Project Zeta Already Exists in Velmora Database !!! Please Confirm that you want to "
            "replace existing project ? ");
  EXPECT_EQ(ctx.prompt.messages[0].buttons, MessageButtons::kOkCancel);
  EXPECT_EQ(ctx.prompt.messages[0].icon, MessageIcon::kQuestion);
  EXPECT_TRUE(presenter.Confirm("Zeta"));
  EXPECT_EQ(presenter.ChosenName(), "Zeta");
  // The current name, or a name no project has, asks nothing.
  EXPECT_TRUE(presenter.Confirm("Mid"));
  EXPECT_TRUE(presenter.Confirm("zeta"));
  EXPECT_EQ(ctx.prompt.messages.size(), 2u);
}

TEST_F(ProjectPresenterTest, NameDialogOnAnEmptyDatabase) {
  CSetProjectNamePresenter presenter(db, ctx.prompt, kUnnamedProjectName);
  CRecordingListControl list;
  EXPECT_EQ(presenter.FillList(&list), 0);
  EXPECT_EQ(list.Cell(0, 0), "There is No Data to Show ...");
  EXPECT_EQ(presenter.RowName(0), "") << "the note row is not a project";
  EXPECT_TRUE(presenter.OkEnabled()) << "the current name can be saved at once";
  EXPECT_TRUE(presenter.Confirm(kUnnamedProjectName));
}

TEST_F(ProjectPresenterTest, LoadDialogListsCountsAndTheSelectedProjectsContent) {
  SaveThree();
  CGetProjectPresenter presenter(db);
  CRecordingListControl projects;
  EXPECT_EQ(presenter.FillProjects(&projects), 3);
  ASSERT_EQ(projects.Columns().size(), 9u);
  EXPECT_EQ(projects.Columns()[5].title, "Group Count");
  EXPECT_EQ(projects.Columns()[6].title, "Total Item Count");
  EXPECT_EQ(projects.Cell(0, 1), "Alpha");
  EXPECT_EQ(projects.Cell(0, 5), "2");
  EXPECT_EQ(projects.Cell(0, 6), "4");
  EXPECT_EQ(projects.Cell(2, 1), "Zeta");
  EXPECT_EQ(projects.Cell(2, 5), "1");
  EXPECT_EQ(projects.Cell(2, 6), "3");
  EXPECT_FALSE(presenter.OkEnabled());

  CRecordingListControl groups;
  CRecordingListControl items;
  ASSERT_TRUE(presenter.SelectRow(0, &groups, &items));
  EXPECT_TRUE(presenter.OkEnabled());
  const ProjectChoice& choice = presenter.Choice();
  EXPECT_EQ(choice.m_nId, 2);
  EXPECT_EQ(choice.m_sName, "Alpha");
  EXPECT_EQ(choice.m_sServerId, "Velmora.SimServer.1");
  EXPECT_EQ(choice.m_sHost, "Local Host");
  EXPECT_EQ(choice.m_clsid, CLSID_VelmoraSimServer);
  EXPECT_EQ(presenter.GroupCount(), 2);
  EXPECT_EQ(presenter.ItemCount(), 4);
  EXPECT_EQ(groups.ToText(),
            "Group Name\tActive Status\tUpdate Rate (ms)\nLine\t1\t1000\nTank\t1\t1000\n");
  EXPECT_EQ(items.ToText(),
            "Group Name\tItem Name\tData Type\tItem Type\n"
            "Line\tSignals.Sine.R8\tDouble\tAcquired Data\n"
            "Line\tSignals.Square.BOOL\tBoolean\tAcquired Data\n"
            "Line\tC\tFloat\tCalculated Data\n"
            "Tank\tPlant.Line1.Tank1.Level\tFloat\tAcquired Data\n");
  EXPECT_NE(groups.Rows()[0].itemData, 0) << "keyed by the group id";
}

TEST_F(ProjectPresenterTest, LoadDialogRefusesAProjectWhoseClassIdIsNotAGuid) {
  SaveThree();
  ASSERT_EQ(Exec("UPDATE OPCPrj SET OPCPrj_ServerGuid = 'not a guid' WHERE OPCPrj_Name = 'Mid'"),
            SQLITE_OK);
  CGetProjectPresenter presenter(db);
  presenter.FillProjects(nullptr);
  CRecordingListControl groups;
  CRecordingListControl items;
  ASSERT_TRUE(presenter.SelectRow(2, &groups, &items));  // Zeta
  const int groupClears = groups.ClearCount();
  EXPECT_FALSE(presenter.SelectRow(1, &groups, &items));  // Mid
  EXPECT_FALSE(presenter.OkEnabled());
  EXPECT_EQ(presenter.Choice().m_sName, "Zeta") << "nothing else changes";
  EXPECT_EQ(groups.ClearCount(), groupClears);
  EXPECT_EQ(presenter.GroupCount(), 1);
  EXPECT_FALSE(presenter.SelectRow(7, &groups, &items));
  EXPECT_TRUE(presenter.SelectRow(0, &groups, &items));
  EXPECT_TRUE(presenter.OkEnabled());
}

TEST_F(ProjectPresenterTest, LoadDialogSortsByTheChosenColumn) {
  SaveThree();
  CGetProjectPresenter presenter(db);
  CRecordingListControl projects;
  presenter.FillProjects(&projects, 0);
  EXPECT_EQ(presenter.SortIndex(), 0);
  EXPECT_EQ(projects.Cell(0, 1), "Zeta");
  EXPECT_EQ(projects.Cell(2, 1), "Mid");
  EXPECT_EQ(presenter.RowOfProject(2), 1);
  EXPECT_EQ(presenter.RowOfProject(9), -1);
  presenter.FillProjects(&projects, 99);
  EXPECT_EQ(presenter.SortIndex(), kSortByName);
  EXPECT_EQ(projects.Cell(0, 1), "Alpha");
}

TEST(ProjectListTest, StatementsAndSortChoices) {
  EXPECT_EQ(ProjectSortChoices().size(), 7u);
  EXPECT_STREQ(ProjectSortColumn(0), "OPCPrj_Id");
  EXPECT_STREQ(ProjectSortColumn(1), "OPCPrj_Name");
  EXPECT_STREQ(ProjectSortColumn(4), "OPCPrj_ServerGuid");
  EXPECT_STREQ(ProjectSortColumn(6), "OPCPrj_Time");
  EXPECT_STREQ(ProjectSortColumn(-1), "OPCPrj_Name");
  const std::string plain = CProjectRows::ListStatement(false, 5);
  EXPECT_EQ(plain.rfind("SELECT OPCPrj_Id AS 'Project Id', OPCPrj_Name AS 'Project Name', "
                        "OPCPrj_ServerId AS 'OPC Server Id', OPCPrj_ServerHost as 'OPC Server "
                        "Host', ",
                        0),
            0u);
  EXPECT_EQ(plain.find("Group Count"), std::string::npos);
  EXPECT_NE(plain.find("FROM OPCPrj ORDER BY OPCPrj_Date"), std::string::npos);
  EXPECT_NE(CProjectRows::ListStatement(true, 1).find("AS 'Total Item Count'"), std::string::npos);
  int id = 0;
  EXPECT_TRUE(ParseProjectId("42", id));
  EXPECT_EQ(id, 42);
  EXPECT_FALSE(ParseProjectId("4x", id));
  EXPECT_FALSE(ParseProjectId("", id));
  EXPECT_FALSE(ParseProjectId("There is No Data to Show ...", id));
}

}  // namespace
