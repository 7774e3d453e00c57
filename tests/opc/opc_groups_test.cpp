#include <gtest/gtest.h>

#include "base/rtf.h"
#include "opc/default_names.h"
#include "opc/group_commands.h"
#include "opc_test_fixture.h"

namespace {

using OpcGroupsTest = OpcServerTest;

TEST_F(OpcGroupsTest, AddGroupTakesOverTheGroupInterfacesAndHandle) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Line", 2000, 5, 1.5f, 1033, kReadSyncCache, false);
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(group->Connection().IsOnServer());
  EXPECT_NE(group->Connection().ServerGroup(), 0u);
  EXPECT_EQ(group->UpdateRate(), 2000u);
  EXPECT_EQ(group->TimeBias(), 5);
  EXPECT_FALSE(group->IsActive());
  EXPECT_TRUE(group->Connection().GroupStateMgt());
  EXPECT_TRUE(group->Connection().PublicGroupStateMgt());
  EXPECT_TRUE(group->Connection().ItemMgt());
  EXPECT_TRUE(group->Connection().SyncIO());
  EXPECT_TRUE(group->Connection().AsyncIO());
  EXPECT_TRUE(group->Connection().AsyncIO2());
  EXPECT_TRUE(group->Connection().DataObject());
  EXPECT_TRUE(group->Connection().ConnectionPointContainer());
  EXPECT_EQ(server->GroupCount(), 1);
  EXPECT_EQ(server->FindGroupByName("Line"), group);
}

TEST_F(OpcGroupsTest, SettingsAreOneValueACopyOfWhichLeavesTheGroupAlone) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Line", 2000, 5, 1.5f, 1033, kReadSyncDevice, false);
  ASSERT_NE(group, nullptr);
  OPCGroupSettings copy = group->Settings();
  EXPECT_EQ(copy.m_sName, "Line");
  EXPECT_EQ(copy.m_dwUpdateRate, 2000u);
  EXPECT_EQ(copy.m_nTimeBias, 5);
  EXPECT_EQ(copy.m_fDeadBand, 1.5f);
  EXPECT_EQ(copy.m_dwLocale, 1033u);
  EXPECT_EQ(copy.m_nReadInterface, kReadSyncDevice);
  EXPECT_FALSE(copy.m_bActive);

  copy.m_sName = "Other";
  copy.m_nTimeBias = 9;
  copy.m_bActive = true;
  EXPECT_EQ(group->Name(), "Line");
  EXPECT_EQ(group->TimeBias(), 5);
  EXPECT_FALSE(group->IsActive());

  group->SetSettings(copy);
  EXPECT_EQ(group->Settings(), copy);
  EXPECT_EQ(group->Name(), "Other");
  EXPECT_EQ(group->TimeBias(), 9);
  EXPECT_TRUE(group->IsActive());
  EXPECT_EQ(server->FindGroupByName("Other"), group);
  // The accessors write into the same value.
  group->SetDeadBand(2.5f);
  EXPECT_EQ(group->Settings().m_fDeadBand, 2.5f);
}

TEST_F(OpcGroupsTest, RevisedUpdateRateIsTakenOver) {
  ASSERT_TRUE(ConnectFull());
  CSimRuntime::Instance().Faults(kSimServerProgId).m_nMinUpdateRate = 1500;
  COPCGroup* group = server->AddGroup("Slow", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->UpdateRate(), 1500u);
}

TEST_F(OpcGroupsTest, EmptyNameTakesTheServerAssignedName) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  ASSERT_NE(group, nullptr);
  EXPECT_FALSE(group->Name().empty());
  std::string nameOnServer;
  DWORD rate = 0;
  BOOL active = FALSE;
  LONG bias = 0;
  FLOAT band = 0;
  LCID lcid = 0;
  OPCHANDLE client = 0;
  OPCHANDLE handle = 0;
  ASSERT_EQ(group->Connection().GroupStateMgt()->GetState(&rate, &active, &nameOnServer, &bias,
                                                          &band, &lcid, &client, &handle),
            S_OK);
  EXPECT_EQ(group->Name(), nameOnServer);
  EXPECT_EQ(group->Connection().ServerGroup(), handle);
}

TEST_F(OpcGroupsTest, AddGroupFailuresAreLogged) {
  EXPECT_EQ(server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true), nullptr);
  EXPECT_TRUE(ctx.sink.Contains(
      "Addition of Group 'Group01' to OPC Server '' Failed (No Connection)", kLogOpcServer));
  ASSERT_TRUE(ConnectFull());
  ASSERT_NE(server->AddGroup("Twice", 1000, 0, 0.0f, 0, kReadSyncCache, true), nullptr);
  EXPECT_EQ(server->AddGroup("Twice", 1000, 0, 0.0f, 0, kReadSyncCache, true), nullptr);
  EXPECT_TRUE(ctx.sink.Contains(
      "Fail to Add Group 'Twice' to OPC Server Velmora.SimServer.1 on Local Host !!! IOPCServer "
      "Interface Error. Error Code: C004000C  Reason: Unknown error 0xC004000C"))
      << ctx.sink.Dump();
  EXPECT_EQ(server->GroupCount(), 1);
  EXPECT_EQ(server->AddGroup(std::string(260, 'x'), 1000, 0, 0.0f, 0, kReadSyncCache, true),
            nullptr);
}

TEST_F(OpcGroupsTest, FindGroupByNameIsCaseSensitiveAndRecountTotals) {
  ASSERT_TRUE(ConnectFull());
  AddGroupWithItems("Group01", {"Static.R8", "Static.I4"});
  COPCGroup* second = AddGroupWithItems("Group02", {"Static.BOOL"});
  second->AppendCalcItem()->SetShortId("C1");
  int index = -1;
  EXPECT_EQ(server->FindGroupByName("Group02", &index), second);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(server->FindGroupByName("group02"), nullptr);
  server->RecountItems();
  EXPECT_EQ(server->TotalAcquiredCount(), 3);
  EXPECT_EQ(server->TotalCalculatedCount(), 1);
  EXPECT_EQ(server->TotalItemCount(), 4);
  EXPECT_EQ(second->ItemCount(), 2);
}

TEST_F(OpcGroupsTest, CopySettingsCopiesSettingsInterfacesAndRequestedItems) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* source = AddGroupWithItems("Group01", {"Static.R8"});
  COPCCalcItem* calc = source->AppendCalcItem();
  calc->SetShortId("Twice");
  calc->SetExpression("G01_A000 * 2");
  calc->Bind({}, {{"G01_A000", 0}});
  COPCGroup copy(nullptr);
  copy.CopySettings(*source, true, false);
  EXPECT_EQ(copy.Server(), server.get());
  EXPECT_EQ(copy.Name(), "Group01");
  EXPECT_EQ(copy.ReadInterface(), kReadSyncCache);
  EXPECT_EQ(copy.Connection().SyncIO(), source->Connection().SyncIO());
  ASSERT_EQ(copy.AcquiredCount(), 1);
  EXPECT_EQ(copy.CalcCount(), 0);
  EXPECT_EQ(copy.AcquiredItems()[0]->QualifiedId(), "Static.R8");
  EXPECT_EQ(copy.AcquiredItems()[0]->ShortId(), "G01_A000");
  EXPECT_EQ(copy.AcquiredItems()[0]->DataType(), VT_R8);
  EXPECT_EQ(copy.AcquiredItems()[0]->Definition(), source->AcquiredItems()[0]->Definition());
  EXPECT_EQ(copy.AcquiredItems()[0]->Group(), &copy);
  EXPECT_EQ(copy.AcquiredItems()[0]->Valid(), 0);
  COPCGroup withCalc(nullptr);
  withCalc.CopySettings(*source, false, true);
  EXPECT_EQ(withCalc.AcquiredCount(), 0);
  ASSERT_EQ(withCalc.CalcCount(), 1);
  EXPECT_EQ(withCalc.CalcItems()[0]->Expression(), "G01_A000 * 2");
  EXPECT_EQ(withCalc.CalcItems()[0]->Definition(), calc->Definition());
  EXPECT_EQ(withCalc.CalcItems()[0]->Binding().at("G01_A000"), 0);
}

TEST_F(OpcGroupsTest, RemoveGroupLogsAndDropsTheGroup) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8"});
  EXPECT_TRUE(server->RemoveGroup(group));
  EXPECT_EQ(server->GroupCount(), 0);
  EXPECT_TRUE(ctx.sink.Contains(
      "Successful Removal of OPC Group 'Group01' to OPC Server Velmora.SimServer.1 on Local Host"));
  COPCGroup stranger(server.get());
  EXPECT_FALSE(server->RemoveGroup(&stranger));
}

TEST_F(OpcGroupsTest, RemoveAllGroupsRemovesEveryGroupFromTheServer) {
  ASSERT_TRUE(ConnectFull());
  AddGroupWithItems("Group01", {"Static.R8"});
  AddGroupWithItems("Group02", {"Static.I4"});
  server->RemoveAllGroups();
  EXPECT_EQ(server->GroupCount(), 0);
  EXPECT_EQ(server->TotalItemCount(), 0);
  EXPECT_EQ(ctx.sink.Count("Successful Removal of OPC Group"), 2);
  // The names are free again on the server.
  EXPECT_NE(server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true), nullptr);
}

// ---- The "Add OPC Group" command and its dialog rules ----

TEST_F(OpcGroupsTest, SixteenGroupsShowTheMaximumMessage) {
  ASSERT_TRUE(ConnectFull());
  for (int i = 0; i < 16; ++i) {
    EXPECT_TRUE(CanAddGroup(*server, ctx.prompt));
    ASSERT_NE(AddGroupCommand(*server, NewGroupSettings(*server)), nullptr);
  }
  EXPECT_FALSE(CanAddGroup(*server, ctx.prompt));
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Maximum Group Count (16) is Reached ... No More Addition Allowed ....");
  EXPECT_EQ(server->Group(15)->Name(), "Group16");
}

TEST_F(OpcGroupsTest, DialogStartsWithTheFirstFreeDefaultName) {
  ASSERT_TRUE(ConnectFull());
  EXPECT_EQ(NewGroupSettings(*server).m_sName, "Group01");
  server->AddGroup("Group02", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  // Group count + 1 is taken: the next one.
  EXPECT_EQ(NewGroupSettings(*server).m_sName, "Group03");
  const OPCGroupSettings values = NewGroupSettings(*server);
  EXPECT_EQ(values.m_dwUpdateRate, 1000u);
  EXPECT_EQ(values.m_nReadInterface, kReadSyncCache);
  EXPECT_TRUE(values.m_bActive);
}

TEST_F(OpcGroupsTest, EmptyNameAnsweredWithOkGetsTheFirstFreeDefaultName) {
  ASSERT_TRUE(ConnectFull());
  for (const char* name : {"Group01", "Group02", "Group03"})
    server->AddGroup(name, 1000, 0, 0.0f, 0, kReadSyncCache, true);
  OPCGroupSettings values;
  values.m_sName = "   ";
  ctx.prompt.messageAnswers = {MessageAnswer::kCancel, MessageAnswer::kOk};
  EXPECT_FALSE(AcceptGroupDialog(*server, values, ctx.prompt));
  EXPECT_TRUE(AcceptGroupDialog(*server, values, ctx.prompt));
  EXPECT_EQ(values.m_sName, "Group04");
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Group Name is Empty !!! Do you want use Automatically Generated Name ? ");
  values.m_sName = "  Trimmed  ";
  EXPECT_TRUE(AcceptGroupDialog(*server, values, ctx.prompt));
  EXPECT_EQ(values.m_sName, "Trimmed");
}

TEST_F(OpcGroupsTest, NameInUseDisablesOkExceptForTheGroupsOwnName) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  EXPECT_EQ(GroupNameMessage(*server, "Group01", nullptr),
            "Group Name Already in Use !!! Addition Not Allowed ...");
  EXPECT_FALSE(GroupDialogOkEnabled(*server, "Group01", nullptr));
  EXPECT_EQ(GroupNameMessage(*server, "Group01", group), "");
  EXPECT_TRUE(GroupDialogOkEnabled(*server, "Group01", group));
  EXPECT_TRUE(GroupDialogOkEnabled(*server, "group01", nullptr));
  // Without a readable status OK stays disabled.
  CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
  EXPECT_FALSE(GroupDialogOkEnabled(*server, "Other", nullptr));
}

TEST_F(OpcGroupsTest, DeviceReadChoiceAsksForConfirmation) {
  EXPECT_TRUE(ConfirmReadInterfaceChoice(kReadSyncCache, ctx.prompt));
  EXPECT_TRUE(ctx.prompt.messages.empty());
  ctx.prompt.messageAnswers = {MessageAnswer::kCancel, MessageAnswer::kOk};
  EXPECT_FALSE(ConfirmReadInterfaceChoice(kReadSyncDevice, ctx.prompt));
  EXPECT_TRUE(ConfirmReadInterfaceChoice(kReadSyncDevice, ctx.prompt));
  ASSERT_EQ(ctx.prompt.messages.size(), 2u);
  EXPECT_EQ(ctx.prompt.messages[0].buttons, MessageButtons::kOkCancel);
  EXPECT_NE(ctx.prompt.messages[0].text.find("may freeze operations undertaken on the Server"),
            std::string::npos);
  EXPECT_NE(ctx.prompt.messages[0].text.find("Diagnostics Only ...\nPlease Confirm"),
            std::string::npos);
}

TEST_F(OpcGroupsTest, UpdateRateChoices) {
  EXPECT_EQ(UpdateRateForChoice(0), 1000u);
  EXPECT_EQ(UpdateRateForChoice(4), 5000u);
  EXPECT_EQ(UpdateRateForChoice(11), 600000u);
  EXPECT_EQ(ChoiceForUpdateRate(1000), 0);
  EXPECT_EQ(ChoiceForUpdateRate(10000), 5);
  EXPECT_EQ(ChoiceForUpdateRate(600000), 11);
  EXPECT_EQ(ChoiceForUpdateRate(5000), 4);
  EXPECT_EQ(ChoiceForUpdateRate(7000), 4);
  EXPECT_EQ(ChoiceForUpdateRate(1500), 0);
}

TEST_F(OpcGroupsTest, AddGroupCommandMarksTheConfigurationAndLogs) {
  ASSERT_TRUE(ConnectFull());
  const uint64_t revision = server->ConfigurationRevision();
  OPCGroupSettings values = NewGroupSettings(*server);
  COPCGroup* group = AddGroupCommand(*server, values);
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(server->IsConfigurationModified());
  EXPECT_NE(server->ConfigurationRevision(), revision);
  EXPECT_TRUE(ctx.sink.Contains("Add OPC Group 'Group01' to OPC Server Velmora.SimServer.1",
                                kLogOpcServer));
  EXPECT_TRUE(ctx.prompt.messages.empty());
  // A group whose server lacks the chosen read interface is kept, with a message.
  server->RemoveAllGroups();
  ASSERT_TRUE(server->Connect(kSimServerDa1ProgId, kLocalHost, GUID_NULL));
  values.m_sName = "Async";
  values.m_nReadInterface = kReadAsync20;
  ASSERT_NE(AddGroupCommand(*server, values), nullptr);
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Interface IOPCAsyncIO2 (2.0) is Not Available !!! Please Modify Settings for OPC "
            "Group Async ...");
}

TEST_F(OpcGroupsTest, AddGroupCommandFailureShowsTheMessage) {
  OPCGroupSettings values;
  values.m_sName = "Group01";
  EXPECT_EQ(AddGroupCommand(*server, values), nullptr);
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Error Occured While Adding Group 'Group01' to OPC Server !!! Please Check Additional "
            "Information in Output Window ...");
  EXPECT_FALSE(server->IsConfigurationModified());
}

TEST_F(OpcGroupsTest, ModifyGroupChangesOnlyTheModel) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  OPCGroupSettings values = group->Settings();
  values.m_sName = "Renamed";
  values.m_dwUpdateRate = 5000;
  values.m_bActive = false;
  values.m_nReadInterface = kReadSyncDevice;
  values.m_nTimeBias = 60;
  EXPECT_TRUE(ModifyGroupCommand(*server, *group, values));
  EXPECT_EQ(group->Name(), "Renamed");
  EXPECT_EQ(group->UpdateRate(), 5000u);
  EXPECT_FALSE(group->IsActive());
  EXPECT_EQ(group->ReadInterface(), kReadSyncDevice);
  EXPECT_EQ(group->TimeBias(), 0);
  EXPECT_TRUE(server->IsConfigurationModified());
  EXPECT_FALSE(ModifyGroupCommand(*server, *group, values));
}

// ---- Default names ----

TEST(OpcDefaultNames, Forms) {
  EXPECT_EQ(DefaultGroupName(3), "Group03");
  EXPECT_EQ(DefaultGroupName(100), "Group100");
  EXPECT_TRUE(IsDefaultGroupName("Group07"));
  EXPECT_FALSE(IsDefaultGroupName("Group7"));
  EXPECT_FALSE(IsDefaultGroupName("Group100"));
  EXPECT_FALSE(IsDefaultGroupName("GroupAB"));
  EXPECT_FALSE(IsDefaultGroupName("group07"));
  EXPECT_EQ(DefaultAcquiredShortId(1, 2), "G01_A002");
  EXPECT_TRUE(IsDefaultShortId("G01_A002"));
  EXPECT_TRUE(IsDefaultShortId(" G12_C001 "));
  EXPECT_TRUE(IsDefaultShortId("  "));
  EXPECT_FALSE(IsDefaultShortId("G01_B002"));
  EXPECT_FALSE(IsDefaultShortId("G01_A0020"));
  EXPECT_FALSE(IsDefaultShortId("Flow"));
}

TEST_F(OpcGroupsTest, RemovingGroup02OfThreeRenumbersNamesAndShortIds) {
  ASSERT_TRUE(ConnectFull());
  AddGroupWithItems("Group01", {"Static.R8"});
  COPCGroup* second = AddGroupWithItems("Group02", {"Static.I4"});
  COPCGroup* third = AddGroupWithItems("Group03", {"Static.R8", "Static.I4"});
  third->AcquiredItems()[1]->SetShortId("Flow");
  COPCCalcItem* calc = third->AppendCalcItem();
  calc->SetShortId("G03_C000");
  calc->SetExpression("G03_A000 * 2 + Flow - XG03_A000");
  ctx.prompt.messageAnswers = {MessageAnswer::kOk};
  const RemoveGroupOutcome outcome = RemoveGroupCommand(*server, second);
  ASSERT_TRUE(outcome.m_bRemoved);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Please Confirm that You Want to Delete the OPC Group Group02 ? ");
  ASSERT_EQ(server->GroupCount(), 2);
  EXPECT_EQ(server->Group(0)->Name(), "Group01");
  EXPECT_EQ(third->Name(), "Group02");
  EXPECT_EQ(third->AcquiredItems()[0]->ShortId(), "G02_A000");
  EXPECT_EQ(third->AcquiredItems()[1]->ShortId(), "Flow");
  EXPECT_EQ(calc->ShortId(), "G02_C000");
  EXPECT_EQ(calc->Expression(), "G02_A000 * 2 + Flow - XG03_A000");
  EXPECT_EQ(server->Group(0)->AcquiredItems()[0]->ShortId(), "G01_A000");
  EXPECT_EQ(outcome.m_check.m_nGroupsRenamed, 1);
  // G03_A000 renamed (1) and replaced once in the expression (1), G03_C000 renamed (1).
  EXPECT_EQ(outcome.m_check.m_nIdentifiersRenamed, 3);
  const std::vector<std::string> messages = ctx.sink.Messages(kLogOpcServer);
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(messages[messages.size() - 3], "Checking Consistency of Default Short Tag Ids ...");
  EXPECT_EQ(messages[messages.size() - 2],
            "Consistency Check of Default Group Names Done - 1 Default Group Name Changed ...");
  EXPECT_EQ(messages[messages.size() - 1],
            "Consistency Check of Default Short Identifiers Done - 3 Default Identifiers Changed "
            "...");
  EXPECT_EQ(outcome.m_check.m_sStampedGroupSummary,
            "07/Dec/2026 10:00:00: Consistency Check of Default Group Names Done - 1 Default "
            "Group Name Changed ...");
}

TEST_F(OpcGroupsTest, RemoveGroupCommandCancelledKeepsTheGroup) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  ctx.prompt.messageAnswers = {MessageAnswer::kCancel};
  EXPECT_FALSE(RemoveGroupCommand(*server, group).m_bRemoved);
  EXPECT_EQ(server->GroupCount(), 1);
  EXPECT_FALSE(ctx.sink.Contains("Checking Consistency"));
}

TEST_F(OpcGroupsTest, CheckWithNothingToRenameSaysZero) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8"});
  group->AcquiredItems()[0]->SetShortId("");
  const DefaultNamesCheck check = CheckDefaultNames(*server);
  EXPECT_EQ(check.m_sGroupSummary,
            "Consistency Check of Default Group Names Done - 0 Default Group Name Changed ...");
  EXPECT_EQ(check.m_sIdentifierSummary,
            "Consistency Check of Default Short Identifiers Done - 0 Default Identifier Changed "
            "...");
  EXPECT_EQ(group->AcquiredItems()[0]->ShortId(), "");
}

}  // namespace
