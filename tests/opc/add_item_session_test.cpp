// The add-item dialog's core on the simulation servers: opening, the browse tree, the leaf
// list and its filters, the allowance, adding leaves and typed ids, short ids, removing
// rows and the result put into the group.
#include <gtest/gtest.h>

#include "add_item_fakes.h"
#include "opc/add_item_filters.h"
#include "opc/add_item_texts.h"
#include "opc_model_access.h"
#include "opc_test_fixture.h"
#include "platform/com/error_text.h"

namespace {

class AddItemSessionTest : public OpcServerTest {
 protected:
  COPCGroup* EmptyGroup(const std::string& name) {
    return server->AddGroup(name, 1000, 0, 0.0f, 0, kReadSyncCache, true);
  }

  static std::vector<std::string> Ids(const std::string& branch,
                                      const std::vector<std::string>& names) {
    std::vector<std::string> ids;
    for (const std::string& name : names)
      ids.push_back(branch + "." + name);
    return ids;
  }

  static std::vector<std::string> ShortIds(const CAddItemSession& session) {
    std::vector<std::string> ids;
    for (const AddItemRow& row : session.Rows())
      ids.push_back(row.m_sShortId);
    return ids;
  }

  static std::vector<std::string> QualifiedIds(const CAddItemSession& session) {
    std::vector<std::string> ids;
    for (const AddItemRow& row : session.Rows())
      ids.push_back(row.m_sQualifiedId);
    return ids;
  }
};

TEST_F(AddItemSessionTest, FlatSpaceShowsTheRootAloneAndListsEveryMatchingLeaf) {
  ASSERT_TRUE(server->Connect(kSimServerDa1ProgId, kLocalHost, GUID_NULL));
  COPCGroup* group = EmptyGroup("Group01");
  ASSERT_NE(group, nullptr);
  CAddItemSession session(*server, *group);
  CTreeRecorder recorder;
  session.SetTreeListener(&recorder);
  session.Open();

  EXPECT_EQ(session.Organization(), OPC_NS_FLAT);
  const CBrowseNode* root = session.Tree().Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Label(), "Velmora.SimServerDA1.1");
  EXPECT_EQ(root->ChildCount(), 0);
  EXPECT_EQ(recorder.m_events, (std::vector<std::string>{"before-add - 0 0", "added -"}));
  EXPECT_EQ(session.SelectedNode(), root);
  // 6 generators x 14 types, 14 arrays, 18 qualities, 6 texts, 6 statics.
  EXPECT_EQ(session.Leaves().size(), 128u);
  EXPECT_EQ(session.Leaves().front(), "Sine_I1");
  EXPECT_TRUE(session.IsAddLeavesEnabled());

  session.SetNamePattern("Quality_Bad*");
  ASSERT_EQ(session.Leaves().size(), 8u);
  for (const std::string& leaf : session.Leaves())
    EXPECT_EQ(leaf.rfind("Quality_Bad", 0), 0u) << leaf;
  const AddRowsOutcome outcome = session.AddLeaves({1, 0});
  EXPECT_EQ(outcome.m_nAdded, 2);
  EXPECT_EQ(QualifiedIds(session),
            (std::vector<std::string>{"Quality_Bad", "Quality_BadConfigurationError"}));
}

TEST_F(AddItemSessionTest, BranchesExpandWithPlaceholdersAndStableNodes) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = EmptyGroup("Group01");
  CAddItemSession session(*server, *group);
  CTreeRecorder recorder;
  session.SetTreeListener(&recorder);
  session.Open();

  const CBrowseNode* root = session.Tree().Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Label(), "Velmora.SimServer.1");
  EXPECT_EQ(root->Data(), kNodeExpanded);
  EXPECT_EQ(recorder.m_events,
            (std::vector<std::string>{
                "before-add - 0 0", "added -", "before-remove Velmora.SimServer.1 0 0",
                "removed Velmora.SimServer.1", "before-add Velmora.SimServer.1 0 4",
                "added Velmora.SimServer.1"}));
  ASSERT_EQ(root->ChildCount(), 5);
  const CBrowseNode* plant = root->Child(0);
  EXPECT_EQ(plant->Label(), "Plant");
  EXPECT_EQ(plant->Parent(), root);
  EXPECT_EQ(root->Child(3)->Row(), 3);
  EXPECT_EQ(plant->Data(), kNodeNotExpanded);
  ASSERT_EQ(plant->ChildCount(), 1);
  EXPECT_EQ(plant->Child(0)->Label(), "Dummy_Quorix_Item");
  EXPECT_EQ(plant->Child(0)->Data(), kNodePlaceholder);
  EXPECT_FALSE(session.SelectNode(plant->Child(0)));
  EXPECT_TRUE(session.Leaves().empty());  // the root holds no leaves
  EXPECT_FALSE(session.IsAddLeavesEnabled());

  const CBrowseNode* machine = SelectPath(session, {"Plant", "Line1", "Machine1"});
  ASSERT_NE(machine, nullptr);
  EXPECT_EQ(root->Child(0), plant);  // expanding below kept the nodes where they were
  EXPECT_TRUE(plant->IsExpanded());
  EXPECT_EQ(plant->ChildCount(), 3);
  EXPECT_EQ(machine->Depth(), 3);
  EXPECT_EQ(CBrowseTree::PathOf(*machine),
            (std::vector<std::string>{"Plant", "Line1", "Machine1"}));
  EXPECT_EQ(session.BranchCount(), 0);
  EXPECT_EQ(session.LeafCount(), 7);
  EXPECT_EQ(session.Leaves(), (std::vector<std::string>{"SetPoint", "Temperature", "Speed",
                                                        "Running", "Mode", "PartsCount", "Power"}));
  EXPECT_TRUE(machine->IsExpanded());
  EXPECT_EQ(machine->ChildCount(), 0);

  // Selecting an expanded node again lists its leaves without touching the tree.
  recorder.m_events.clear();
  ASSERT_TRUE(session.SelectNode(plant));
  EXPECT_TRUE(recorder.m_events.empty());
  EXPECT_EQ(session.BranchCount(), 3);
  // The leaf list names the position's leaves: the added ones are resolved there.
  ASSERT_TRUE(session.SelectNode(machine));
  session.AddLeaves({1});
  EXPECT_EQ(QualifiedIds(session), (std::vector<std::string>{"Plant.Line1.Machine1.Temperature"}));
}

TEST_F(AddItemSessionTest, TreeStopsEightLevelsBelowTheRootAndSearchGoesDeeper) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = EmptyGroup("Group01");
  CDeepBrowse* deep = new CDeepBrowse;
  COPCModelAccess::SetBrowse(*server, deep);
  CAddItemSession session(*server, *group);
  session.Open();

  std::vector<std::string> labels;
  for (int level = 1; level <= kMaxBrowseDepth; ++level)
    labels.push_back(CDeepBrowse::BranchName(level));
  const CBrowseNode* last = SelectPath(session, labels);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->Depth(), 8);
  EXPECT_EQ(deep->m_nDeepest, 8);
  EXPECT_EQ(deep->m_nDepth, 8);
  // Nothing to expand at the limit: no placeholder, no children.
  EXPECT_EQ(last->ChildCount(), 0);
  EXPECT_TRUE(last->IsExpanded());
  EXPECT_EQ(last->Parent()->ChildCount(), 1);
  EXPECT_EQ(session.Leaves(), (std::vector<std::string>{"Value"}));
  session.AddLeaves({0});
  ASSERT_EQ(session.RowCount(), 1);
  EXPECT_EQ(session.Rows()[0].m_sQualifiedId,
            "Level1.Level2.Level3.Level4.Level5.Level6.Level7.Level8.Value");

  // The search starts at the selected node and walks on below the limit.
  int calls = 0;
  const ItemSearchResult found = session.SearchLeaves([&calls](const ItemSearchProgress& p) {
    ++calls;
    return p.m_nBranchesVisited < 4;
  });
  EXPECT_TRUE(found.m_bCancelled);
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(found.m_nBranchesVisited, 4);
  ASSERT_EQ(found.m_itemIds.size(), 4u);
  EXPECT_EQ(found.m_itemIds[3],
            "Level1.Level2.Level3.Level4.Level5.Level6.Level7.Level8.Level9.Level10.Level11.Value");
  EXPECT_EQ(deep->m_nDepth, 8);  // back where the search started
  EXPECT_EQ(session.AddFoundIds(found.m_itemIds).m_nAdded, 4);
  // Leaves are resolved at the selected node again after the found ids moved the server.
  session.AddLeaves({0});
  EXPECT_EQ(session.Rows().back().m_sQualifiedId, session.Rows()[0].m_sQualifiedId);
}

TEST_F(AddItemSessionTest, RefusedFilterLogsItsLineAndEmptiesTheLeafList) {
  CSimRuntime::Instance().Faults(kSimServerProgId).m_refusedFilters = {"Temp*"};
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = EmptyGroup("Group01");
  CAddItemSession session(*server, *group);
  session.Open();
  ASSERT_NE(SelectPath(session, {"Plant", "Line1", "Machine1"}), nullptr);
  ASSERT_EQ(session.Leaves().size(), 7u);

  session.SetNamePattern("Temp*");
  EXPECT_TRUE(
      ctx.sink.Contains("The Filter String of the function BrowseOPCItemIDs is Not Valid "
                        "(CAddItemDlg::UpdateTagCtrl) !!!",
                        kLogOpcServer));
  EXPECT_FALSE(ctx.sink.Contains("(CAddItemDlg::GetOPCItemCount)"));  // counted with "*"
  EXPECT_TRUE(session.Leaves().empty());
  EXPECT_FALSE(session.IsAddLeavesEnabled());
  EXPECT_TRUE(session.CanBrowse());  // an invalid filter does not stop browsing

  session.SetNamePattern("Temp?rature");
  EXPECT_EQ(session.Leaves(), (std::vector<std::string>{"Temperature"}));
  EXPECT_EQ(session.NamePattern(), "Temp?rature");
  session.SetNamePattern(std::string(300, '*'));
  EXPECT_EQ(session.NamePattern().size(), kMaxNamePatternLength);
}

TEST_F(AddItemSessionTest, FailuresOfTheLeafListByCodeAndAServerFaultStopsBrowsing) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = EmptyGroup("Group01");
  CDeepBrowse* deep = new CDeepBrowse;
  COPCModelAccess::SetBrowse(*server, deep);
  CAddItemSession session(*server, *group);
  session.Open();

  deep->m_hrFailure = E_OUTOFMEMORY;
  session.SetNamePattern("Boom");
  EXPECT_TRUE(ctx.sink.Contains(
      "Not Enough Memory to Complete the function BrowseOPCItemIDs (CAddItemDlg::UpdateTagCtrl) "
      "!!!",
      kLogOpcServer));
  EXPECT_TRUE(session.CanBrowse());
  deep->m_hrFailure = E_NOTIMPL;  // not in the table: quiet
  ctx.sink.Clear();
  session.SetNamePattern("Boom");
  EXPECT_TRUE(ctx.sink.lines.empty());
  EXPECT_TRUE(session.Leaves().empty());

  deep->m_bThrow = true;
  session.SetNamePattern("Boom");
  EXPECT_TRUE(ctx.sink.Contains(
      "The OPC Server threw an Exception (CAddItemDlg::UpdateTagCtrl) !!!", kLogOpcServer));
  EXPECT_FALSE(session.CanBrowse());
  EXPECT_FALSE(session.SelectNode(session.Tree().Root()));
  EXPECT_TRUE(session.Leaves().empty());
  EXPECT_EQ(session.AddLeaves({0}).m_nAdded, 0);

  // The texts of both places, by code.
  EXPECT_EQ(BrowseFailureText(E_FAIL, BrowseCallPlace::kItemCount),
            "The function BrowseOPCItemIDs has failed (CAddItemDlg::GetOPCItemCount) !!!");
  EXPECT_EQ(BrowseFailureText(RPC_E_SERVERFAULT, BrowseCallPlace::kItemCount),
            "The OPC Server threw an Exception (CAddItemDlg::GetOPCItemCount) !!!");
  EXPECT_EQ(BrowseFailureText(E_INVALIDARG, BrowseCallPlace::kLeafList),
            "Invalid Argument Provided to the function BrowseOPCItemIDs "
            "(CAddItemDlg::UpdateTagCtrl) !!!");
  EXPECT_EQ(BrowseFailureText(OPC_E_INVALIDFILTER, BrowseCallPlace::kItemCount),
            "The Filter String of the function BrowseOPCItemIDs is Not Valid "
            "(CAddItemDlg::GetOPCItemCount) !!!");
  EXPECT_EQ(BrowseFailureText(S_FALSE, BrowseCallPlace::kLeafList), "");
}

TEST_F(AddItemSessionTest, WithoutBrowsingTheTreeStaysEmptyAndTypedIdsStillAdd) {
  ASSERT_TRUE(server->Connect(kSimServerNoBrowseProgId, kLocalHost, GUID_NULL));
  COPCGroup* group = EmptyGroup("Group01");
  CAddItemSession session(*server, *group);
  session.Open();
  const std::vector<std::string> messages = ctx.sink.Messages(kLogOpcServer);
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2],
            "IOPCBrowseServerAddressSpace Interface in OPC Server Velmora.SimServerNoBrowse.1 on "
            "Local Host is Not Available !!! Attempting to Browse Tags from Root ... ");
  EXPECT_EQ(messages.back(),
            "IOPCBrowseServerAddressSpace Interface in OPC Server Velmora.SimServerNoBrowse.1 on "
            "Local Host is Not Available !!! Fail to Browse Tags ... ");
  EXPECT_EQ(session.Tree().Root(), nullptr);
  EXPECT_TRUE(session.Leaves().empty());
  EXPECT_FALSE(session.CanBrowse());
  EXPECT_FALSE(session.IsOkEnabled());
  EXPECT_EQ(session.AddTypedId("Plant.Line1.Tank1.Level").m_nAdded, 1);
  EXPECT_TRUE(session.IsOkEnabled());
}

// 120 acquired items over all groups, 5 of them in the group edited: 128 - 120 + 5 = 13
// rows (the list starts with the group's 5, so the whole configuration stays at 128).
TEST_F(AddItemSessionTest, AllowanceCountsTheOtherGroupsItems) {
  ASSERT_TRUE(ConnectFull());
  std::vector<std::string> sixty;
  for (const char* generator : {"Sine", "Ramp", "Square", "Triangle", "Random"}) {
    for (const char* type :
         {"I1", "I2", "I4", "I8", "UI1", "UI2", "UI4", "UI8", "R4", "R8", "BOOL", "BSTR"})
      sixty.push_back(std::string("Signals.") + generator + "." + type);
  }
  ASSERT_EQ(sixty.size(), 60u);
  ASSERT_NE(AddGroupWithItems("Group01", sixty), nullptr);
  ASSERT_NE(AddGroupWithItems("Group02", std::vector<std::string>(sixty.begin(), sixty.end() - 5)),
            nullptr);
  COPCGroup* group = AddGroupWithItems(
      "Group03",
      Ids("Plant.Line1.Machine1", {"SetPoint", "Temperature", "Speed", "Running", "Mode"}));
  ASSERT_NE(group, nullptr);
  CAddItemSession session(*server, *group);
  session.Open();
  EXPECT_EQ(session.Allowance(), 13);
  EXPECT_EQ(session.RowCount(), 5);

  ASSERT_NE(SelectPath(session, {"Signals", "Counter"}), nullptr);
  ASSERT_EQ(session.Leaves().size(), 14u);
  const AddRowsOutcome outcome = session.AddLeaves(FirstRows(14));
  EXPECT_EQ(outcome.m_nAdded, 8);
  EXPECT_TRUE(outcome.m_bMaximumReached);
  EXPECT_EQ(session.RowCount(), 13);
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Warning !!! Not All Items Added to the OPC Item List ... Maximum Item Count (128) is "
            "Reached ...");
  EXPECT_TRUE(session.AddTypedId("Static.R8").m_bMaximumReached);
  EXPECT_TRUE(session.AddFoundIds({"Static.I4"}).m_bMaximumReached);
  EXPECT_EQ(session.RowCount(), 13);
  EXPECT_EQ(ctx.prompt.messages.size(), 3u);
  // The rows of the list keep their ids; the new ones are numbered by their row.
  EXPECT_EQ(ShortIds(session)[4], "G03_A004");
  EXPECT_EQ(ShortIds(session)[12], "G03_A012");
}

TEST_F(AddItemSessionTest, FloatListsLeavesDeliverableAsR4AndRequestsR4) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = EmptyGroup("Group01");
  CAddItemSession session(*server, *group);
  session.Open();
  ASSERT_NE(SelectPath(session, {"Plant", "Line1", "Machine1"}), nullptr);
  EXPECT_EQ(session.DataTypeFilterText(), "Native");
  EXPECT_EQ(session.AccessFilterText(), "Any");
  ASSERT_EQ(DataTypeFilterIndex("Float"), 14);
  EXPECT_EQ(kDataTypeFilters[15].m_vtType, VT_R4 | VT_ARRAY);
  EXPECT_STREQ(kAccessFilters[2].m_pText, "Write Only");

  session.SetDataTypeFilter(DataTypeFilterIndex("Float"));
  EXPECT_EQ(session.DataTypeFilterText(), "Float");
  EXPECT_EQ(session.DataTypeFilterType(), VT_R4);
  // Mode is text: it cannot be delivered as a number.
  EXPECT_EQ(session.Leaves(), (std::vector<std::string>{"SetPoint", "Temperature", "Speed",
                                                        "Running", "PartsCount", "Power"}));
  session.AddLeaves(FirstRows(6));
  ASSERT_EQ(session.RowCount(), 6);
  for (const AddItemRow& row : session.Rows()) {
    EXPECT_EQ(row.m_sDataType, "Float");
    EXPECT_EQ(row.m_def.vtRequestedDataType, VT_R4);
  }
  // Every one of them is accepted by the server as VT_R4.
  AddItemResult result = session.TakeResult();
  const AddItemApplyOutcome applied = ApplyAddItemResult(*server, *group, std::move(result));
  EXPECT_TRUE(applied.m_bAllAccepted);
  EXPECT_EQ(group->AcquiredCount(), 6);

  session.SetAccessFilter(2);
  EXPECT_EQ(session.AccessFilterText(), "Write Only");
  EXPECT_EQ(session.Leaves(), (std::vector<std::string>{"SetPoint"}));
  session.SetDataTypeFilter(DataTypeFilterIndex("Float Array"));
  EXPECT_TRUE(session.Leaves().empty());
}

TEST_F(AddItemSessionTest, LeavesOfTheFirstGroupGetDefaultShortIdsInRowOrder) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = EmptyGroup("Group01");
  CAddItemSession session(*server, *group);
  session.Open();
  EXPECT_EQ(session.Title(), "Add, Modify and Remove Acquired OPC Items in OPC Group Group01");
  EXPECT_EQ(session.ItemListLabel(), "OPC Item in Group Group01");
  EXPECT_FALSE(session.IsOkEnabled());
  ASSERT_NE(SelectPath(session, {"Plant", "Line1", "Tank1"}), nullptr);
  session.AddLeaves({2, 0, 1});
  EXPECT_EQ(QualifiedIds(session), Ids("Plant.Line1.Tank1", {"Level", "Volume", "SetPoint"}));
  EXPECT_EQ(ShortIds(session), (std::vector<std::string>{"G01_A000", "G01_A001", "G01_A002"}));
  EXPECT_EQ(session.Rows()[0].m_sDataType, "Native");
  EXPECT_EQ(session.Rows()[0].m_def.szItemID, "Plant.Line1.Tank1.Level");
  EXPECT_TRUE(session.Rows()[0].m_def.szAccessPath.empty());
  EXPECT_EQ(session.Rows()[0].m_def.bActive, TRUE);
  EXPECT_EQ(session.ItemListLabel(), "OPC Items in Group Group01");
  EXPECT_TRUE(session.IsOkEnabled());
}

TEST_F(AddItemSessionTest, TypedIdIsAcceptedOrRefusedByTheServer) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = EmptyGroup("Group01");
  CAddItemSession session(*server, *group);
  session.Open();
  EXPECT_FALSE(CAddItemSession::IsAddTypedEnabled(""));
  EXPECT_EQ(session.AddTypedId("Static.R8").m_nAdded, 1);
  ASSERT_EQ(session.RowCount(), 1);
  EXPECT_EQ(session.Rows()[0].m_sShortId, "G01_A000");
  EXPECT_EQ(session.Rows()[0].m_sDataType, "Native");
  EXPECT_EQ(session.Rows()[0].m_def.vtRequestedDataType, VT_EMPTY);
  EXPECT_TRUE(ctx.prompt.reports.empty());

  EXPECT_EQ(session.AddTypedId("No.Such.Item").m_nAdded, 0);
  EXPECT_EQ(session.RowCount(), 1);
  ASSERT_TRUE(ctx.prompt.HasReportTitled(kItemsAdditionErrorTitle));
  EXPECT_NE(ctx.prompt.reports[0].body.find("The ItemID is not in the OPC Server Address Space"),
            std::string::npos);
  EXPECT_EQ(group->AcquiredCount(), 0);  // the real group waits for OK
}

TEST_F(AddItemSessionTest, EditedShortIdIsCheckedAndRenamedInCalculatedExpressions) {
  ASSERT_TRUE(ConnectFull());
  ASSERT_NE(AddGroupWithItems("Group01", {"Static.I4"}), nullptr);
  COPCGroup* group = AddGroupWithItems("Group02", {"Static.R8", "Plant.Line1.Tank1.Level"});
  ASSERT_NE(group, nullptr);
  COPCCalcItem* calc = group->AppendCalcItem();
  calc->SetShortId("G02_C000");
  calc->SetExpression("G02_A000 * 2 + G02_A001 + G02_A0001");
  CAddItemSession session(*server, *group);
  session.Open();

  const ShortIdEditRequest request = session.ShortIdEditFor(0);
  EXPECT_EQ(request.m_sGroupName, "Group02");
  EXPECT_EQ(request.m_nGroupIndex, 1);
  EXPECT_EQ(request.m_nAcquiredCount, 2);
  EXPECT_EQ(request.m_nCalcCount, 1);
  EXPECT_EQ(request.m_sQualifiedId, "Static.R8");
  EXPECT_EQ(request.m_sShortId, "G02_A000");
  EXPECT_EQ(request.m_sDataType, "Double");

  EXPECT_EQ(session.CheckShortIdEdit(0, "G01_A000").m_eVerdict, ShortIdVerdict::kDuplicate);
  EXPECT_EQ(session.CheckShortIdEdit(0, "G02_A001").m_eVerdict, ShortIdVerdict::kDuplicate);
  EXPECT_EQ(session.CheckShortIdEdit(0, "Oven.T").m_eVerdict, ShortIdVerdict::kIllegalCharacter);
  EXPECT_EQ(ctx.prompt.reports.size(), 3u);
  EXPECT_TRUE(session.CheckShortIdEdit(0, " OVEN_T ").m_bOkEnabled);
  EXPECT_FALSE(session.ApplyShortIdEdit(0, "G02_A001"));

  ASSERT_TRUE(session.ApplyShortIdEdit(0, " OVEN_T "));
  EXPECT_EQ(session.Rows()[0].m_sShortId, "OVEN_T");
  EXPECT_EQ(session.WorkingGroup().CalcItems()[0]->Expression(),
            "OVEN_T * 2 + G02_A001 + G02_A0001");
  EXPECT_EQ(calc->Expression(), "G02_A000 * 2 + G02_A001 + G02_A0001");  // not yet applied

  AddItemResult result = session.TakeResult();
  ApplyAddItemResult(*server, *group, std::move(result));
  ASSERT_EQ(group->CalcCount(), 1);
  EXPECT_EQ(group->CalcItems()[0]->Expression(), "OVEN_T * 2 + G02_A001 + G02_A0001");
  EXPECT_EQ(group->CalcItems()[0]->Group(), group);
  EXPECT_EQ(group->AcquiredItems()[0]->ShortId(), "OVEN_T");
}

TEST_F(AddItemSessionTest, RemovedRowsLeaveTheResultInRowOrder) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group =
      AddGroupWithItems("Group01", {"Static.R8", "Static.I4", "Static.BOOL", "Static.BSTR"});
  ASSERT_NE(group, nullptr);
  CAddItemSession session(*server, *group);
  session.Open();
  EXPECT_EQ(session.Rows()[1].m_def.vtRequestedDataType, VT_I4);
  session.AddTypedId("Plant.Line2.Tank1.Volume");
  session.RemoveRows({2, 0, 7});
  EXPECT_EQ(QualifiedIds(session),
            (std::vector<std::string>{"Static.I4", "Static.BSTR", "Plant.Line2.Tank1.Volume"}));
  // Ids keep what they had; a row is numbered when it is added.
  EXPECT_EQ(ShortIds(session), (std::vector<std::string>{"G01_A001", "G01_A003", "G01_A004"}));
  EXPECT_TRUE(session.IsOkEnabled());

  AddItemResult result = session.TakeResult();
  ASSERT_EQ(result.m_defs.size(), 3u);
  EXPECT_EQ(result.m_defs[2].szItemID, "Plant.Line2.Tank1.Volume");
  EXPECT_EQ(result.m_shortIds, (std::vector<std::string>{"G01_A001", "G01_A003", "G01_A004"}));
  EXPECT_EQ(session.RowCount(), 0);
  const AddItemApplyOutcome applied = ApplyAddItemResult(*server, *group, std::move(result));
  EXPECT_TRUE(applied.m_bAllAccepted);
  ASSERT_EQ(group->AcquiredCount(), 3);
  EXPECT_EQ(group->AcquiredItems()[2]->QualifiedId(), "Plant.Line2.Tank1.Volume");
  EXPECT_EQ(group->AcquiredItems()[2]->ShortId(), "G01_A004");
  EXPECT_EQ(group->AcquiredItems()[2]->Valid(), 1);
  EXPECT_EQ(group->AcquiredItems()[2]->DataType(), VT_R8);
  EXPECT_EQ(server->TotalAcquiredCount(), 3);
  EXPECT_TRUE(ctx.sink.Contains(
      "Add OPC Item 'Plant.Line2.Tank1.Volume' (Short Id: G01_A004) to OPC Group 'Group01'"));

  // OK needs the status read at opening.
  CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
  CAddItemSession dead(*server, *group);
  dead.Open();
  EXPECT_EQ(dead.RowCount(), 3);
  EXPECT_FALSE(dead.IsOkEnabled());
}

TEST_F(AddItemSessionTest, FoundIdsAreAddedLikeLeaves) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = EmptyGroup("Group01");
  CAddItemSession session(*server, *group);
  session.Open();
  ASSERT_NE(SelectPath(session, {"Plant"}), nullptr);
  session.SetNamePattern("*Temperature*");
  session.SetDataTypeFilter(DataTypeFilterIndex("Double"));
  const ItemSearchResult found = session.SearchLeaves();
  ASSERT_EQ(found.m_itemIds.size(), 6u);
  EXPECT_EQ(found.m_itemIds[0], "Plant.Line1.Machine1.Temperature");
  const AddRowsOutcome outcome =
      session.AddFoundIds({found.m_itemIds[0], "No.Such.Item", found.m_itemIds[5]});
  EXPECT_EQ(outcome.m_nAdded, 2);
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].icon, MessageIcon::kWarning);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Fail to Query Qualified Id for Tag No.Such.Item in OPC Server Velmora.SimServer.1 on "
            "Local Host !!! \nIOPCBrowseServerAddressSpace::GetItemID Error \nError Code: "
            "C0040007  \nReason: " +
                HResultReasonText(OPC_E_UNKNOWNITEMID));
  EXPECT_TRUE(ctx.sink.Contains("Fail to Query Qualified Id for Tag No.Such.Item"));
  EXPECT_EQ(QualifiedIds(session), (std::vector<std::string>{"Plant.Line1.Machine1.Temperature",
                                                             "Plant.Line2.Tank1.Temperature"}));
  EXPECT_EQ(session.Rows()[1].m_sDataType, "Double");
  EXPECT_EQ(session.Rows()[1].m_def.vtRequestedDataType, VT_R8);
}

}  // namespace
