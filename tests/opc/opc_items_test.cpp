#include <gtest/gtest.h>

#include "base/rtf.h"
#include "opc/item_commands.h"
#include "opc/short_id_check.h"
#include "opc_model_access.h"
#include "opc_test_fixture.h"

namespace {

using OpcItemsTest = OpcServerTest;

std::vector<OPCITEMDEF> Defs(const std::vector<std::string>& ids) {
  std::vector<OPCITEMDEF> defs;
  for (const std::string& id : ids) {
    OPCITEMDEF def;
    def.szItemID = id;
    defs.push_back(def);
  }
  return defs;
}

// An item manager that answers AddItems with a chosen code.
class CScriptedItemMgt : public CComObjectRoot<IOPCItemMgt> {
 public:
  explicit CScriptedItemMgt(HRESULT hr) : m_hr(hr) {}
  HRESULT AddItems(DWORD dwCount, const OPCITEMDEF*, std::vector<OPCITEMRESULT>* pAddResults,
                   std::vector<HRESULT>* pErrors) override {
    if (SUCCEEDED(m_hr)) {
      pAddResults->assign(dwCount, OPCITEMRESULT());
      pErrors->assign(dwCount, S_OK);
    }
    return m_hr;
  }
  HRESULT ValidateItems(DWORD, const OPCITEMDEF*, BOOL, std::vector<OPCITEMRESULT>*,
                        std::vector<HRESULT>*) override {
    return E_NOTIMPL;
  }
  HRESULT RemoveItems(DWORD, const OPCHANDLE*, std::vector<HRESULT>*) override { return E_NOTIMPL; }
  HRESULT SetActiveState(DWORD, const OPCHANDLE*, BOOL, std::vector<HRESULT>*) override {
    return E_NOTIMPL;
  }
  HRESULT SetClientHandles(DWORD, const OPCHANDLE*, const OPCHANDLE*,
                           std::vector<HRESULT>*) override {
    return E_NOTIMPL;
  }
  HRESULT SetDatatypes(DWORD, const OPCHANDLE*, const VARTYPE*, std::vector<HRESULT>*) override {
    return E_NOTIMPL;
  }
  HRESULT CreateEnumerator(REFIID, IUnknown**) override { return E_NOTIMPL; }

 private:
  HRESULT m_hr;
};

TEST_F(OpcItemsTest, AcceptedItemsTakeOverTheServersAnswers) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8", "Static.BSTR"});
  ASSERT_EQ(group->AcquiredCount(), 2);
  const COPCItem& item = *group->AcquiredItems()[1];
  EXPECT_EQ(item.Valid(), 1);
  EXPECT_NE(item.ServerItem(), 0u);
  EXPECT_NE(group->AcquiredItems()[0]->ServerItem(), item.ServerItem());
  EXPECT_EQ(item.DataType(), VT_BSTR);
  EXPECT_EQ(item.AccessRights(), static_cast<DWORD>(OPC_READABLE | OPC_WRITEABLE));
  EXPECT_EQ(item.ShortId(), "G01_A001");
  EXPECT_EQ(item.Description(), "Static.BSTR");
  EXPECT_EQ(item.Group(), group);
  EXPECT_TRUE(group->Connection().ItemResults().empty());
  EXPECT_TRUE(ctx.prompt.reports.empty());
  EXPECT_TRUE(ctx.sink.Contains(
      "Add OPC Item 'Static.BSTR' (Short Id: G01_A001) to OPC Group 'Group01'", kLogOpcServer));
  EXPECT_EQ(server->TotalAcquiredCount(), 2);
  EXPECT_TRUE(server->IsConfigurationModified());
}

TEST_F(OpcItemsTest, PartialSuccessReportListsEveryItemWithItsTextAndCode) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  std::vector<OPCITEMDEF> defs = Defs({"Static.R8", "No.Such.Item", "Text.Semicolon", "Plant..X"});
  defs[2].vtRequestedDataType = VT_R8;
  std::vector<HRESULT> codes;
  EXPECT_FALSE(AddNewItemsToGroup(*server, *group, defs, {"A", "B", "C", "D"}, &codes));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  const ReportRequest& report = ctx.prompt.reports[0];
  EXPECT_EQ(report.title, "OPC Items Addition Error");
  EXPECT_EQ(report.body,
            "{\\f1\\cb5\\cf5\\b Error Occured while Adding Items to OPCGroup Group01} "
            "\\par\\par \\fs18 Item Management Interface (IOPCItemMgt) returns Error Code S_FALSE "
            "(00000001)\\par "
            "\\par Error Details: {\\b The operation of Adding OPC Items is completed with partial "
            "success} \\par "
            "\\par    {\\f1 Result of Addition of Tag } {\\b Static.R8:} {\\f1 The function was "
            "successful for this item}"
            "\\par    {\\f1 Result of Addition of Tag } {\\b No.Such.Item:} {\\f1\\cb5\\cf5 The "
            "ItemID is not in the OPC Server Address Space} {\\f1 Error Code: C0040007} "
            "\\par    {\\f1 Result of Addition of Tag } {\\b Text.Semicolon:} {\\f1\\cb5\\cf5 The "
            "requested data type cannot be returned for this item} {\\f1 Error Code: C0040004} "
            "\\par    {\\f1 Result of Addition of Tag } {\\b Plant..X:} {\\f1\\cb5\\cf5 The ItemID "
            "is not syntactically valid} {\\f1 Error Code: C0040008} "
            "\\par \\par {\\f1 \\b Please Check Items in OPC group and/or Delete All Items in OPC "
            "Group and Add OPC Items once Again} \\par}");
  ASSERT_EQ(codes.size(), 4u);
  EXPECT_EQ(codes[1], OPC_E_UNKNOWNITEMID);
  // Accepted items are usable; refused ones keep their place with valid 0.
  ASSERT_EQ(group->AcquiredCount(), 4);
  EXPECT_EQ(group->AcquiredItems()[0]->Valid(), 1);
  EXPECT_NE(group->AcquiredItems()[0]->ServerItem(), 0u);
  EXPECT_EQ(group->AcquiredItems()[1]->Valid(), 0);
  EXPECT_EQ(group->AcquiredItems()[1]->ServerItem(), 0u);
  EXPECT_EQ(group->AcquiredItems()[1]->QualityText(), "No Value");
  EXPECT_TRUE(ctx.sink.Contains(
      "Error Adding OPC Item 'No.Such.Item' to OPC Group 'Group01' \nError Code: -1073479673 "
      "\nReason: Unknown error 0xC0040007)"))
      << ctx.sink.Dump();
}

TEST_F(OpcItemsTest, OtherPerItemCodesNameTheAccessPath) {
  ASSERT_TRUE(ConnectFull());
  CSimFaults& faults = CSimRuntime::Instance().Faults(kSimServerProgId);
  faults.m_refusedItems = {"Static.I4"};
  faults.m_hrRefusedItem = OPC_E_UNKNOWNPATH;
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  EXPECT_FALSE(AddNewItemsToGroup(*server, *group, Defs({"Static.I4"}), {"X"}));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_NE(ctx.prompt.reports[0].body.find(
                "{\\f1\\cb5\\cf5 The OPC Item Access Path is not known to the OPC Server} "
                "{\\f1 Error Code: C004000A}"),
            std::string::npos);
  EXPECT_EQ(AddItemResultText(E_FAIL), "The function was unsuccessful");
}

TEST_F(OpcItemsTest, FailedCallsGiveTheirOwnReports) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  struct Case {
    HRESULT hr;
    const char* middle;
  };
  const Case cases[] = {
      {E_FAIL,
       "Error Code E_FAIL (80004005)\\par \\par Error Details: {\\b The operation of Adding OPC "
       "Items to OPC Group failed} \\par \\par {\\f1 \\b Please Delete OPC Group and Add OPC "
       "Items once Again} \\par}"},
      {E_OUTOFMEMORY,
       "Error Code E_OUTOFMEMORY (8007000E)\\par \\par Error Details: {\\b Not enough memory to "
       "Add OPC Items to OPC Group } \\par \\par {\\f1 \\b Please Try to Free System Memory by "
       "Closing Applications and Retry to Add OPC Items once Again} \\par}"},
      {E_INVALIDARG,
       "Error Code E_INVALIDARG (80070057)\\par \\par Error Details: {\\b An argument to the "
       "function AddItems() is invalid} \\par \\par {\\f1 \\b Please Check Items in OPC group "
       "and/or Delete All Items in OPC Group and Add OPC Items once Again} \\par}"},
  };
  for (const Case& c : cases) {
    COPCModelAccess::SetItemMgt(*group, new CScriptedItemMgt(c.hr));
    ctx.prompt.reports.clear();
    group->AppendAcquiredItem()->Define("Kept", "", "", VT_EMPTY);
    EXPECT_FALSE(AddItemsToGroup(*server, *group, Defs({"Static.R8"}), {"Static.R8"}));
    ASSERT_EQ(ctx.prompt.reports.size(), 1u);
    const std::string& body = ctx.prompt.reports[0].body;
    EXPECT_EQ(body,
              std::string("{\\f1\\cb5\\cf5\\b Error Occured while Adding Items to OPCGroup "
                          "Group01} \\par\\par \\fs18 Item Management Interface (IOPCItemMgt) "
                          "returns ") +
                  c.middle);
    EXPECT_EQ(ctx.prompt.reports[0].errorCode, static_cast<uint32_t>(c.hr));
  }
  // Every item of a failed re-addition is marked refused.
  group->AcquiredItems()[0]->Accept("Kept", 7, VT_EMPTY, 1);
  EXPECT_FALSE(ReAddItemsOfGroup(*server, *group));
  EXPECT_EQ(group->AcquiredItems()[0]->Valid(), 0);
  EXPECT_EQ(group->AcquiredItems()[0]->ServerItem(), 0u);
}

TEST_F(OpcItemsTest, NoConnectionOrNoItemManagerIsReported) {
  COPCGroup group(server.get());
  EXPECT_FALSE(AddItemsToGroup(*server, group, Defs({"A"}), {"A"}));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_EQ(ctx.prompt.reports[0].body,
            "{\\f1\\cb5\\cf5\\b Error Occured while Adding Items to OPCGroup } \\par\\par \\fs18 "
            "No Active Connection to the OPC Server  on Host  \\par \\par\\par \\fs18 Pointer to "
            "Item Management Interface (IOPCItemMgt) is NULL !!! ");
  ASSERT_TRUE(ConnectFull());
  EXPECT_FALSE(AddItemsToGroup(*server, group, Defs({"A"}), {"A"}));
  ASSERT_EQ(ctx.prompt.reports.size(), 2u);
  EXPECT_EQ(ctx.prompt.reports[1].body.find("No Active Connection"), std::string::npos);
  EXPECT_NE(ctx.prompt.reports[1].body.find("(IOPCItemMgt) is NULL !!! "), std::string::npos);
}

TEST_F(OpcItemsTest, ReportEscapesNamesThatLookLikeRichText) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("A{b}\\c", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  ASSERT_NE(group, nullptr);
  EXPECT_FALSE(AddNewItemsToGroup(*server, *group, Defs({"No\\Such{Item}"}), {"X"}));
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  const std::string text = RtfToPlainText(ctx.prompt.reports[0].body);
  EXPECT_NE(text.find("OPCGroup A{b}\\c"), std::string::npos) << text;
  EXPECT_NE(text.find("No\\Such{Item}:"), std::string::npos) << text;
}

TEST_F(OpcItemsTest, ReAddAfterProjectLoadTakesOverHandlesAndTypes) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  for (const char* id : {"Static.R8", "Static.I4", "Gone.Item"}) {
    COPCItem* item = group->AppendAcquiredItem();
    item->Define(id, "", "", VT_EMPTY);
  }
  group->AcquiredItems()[1]->SetDataType(VT_R8);  // requested: delivered as a double
  EXPECT_FALSE(ReAddItemsOfGroup(*server, *group));
  EXPECT_EQ(group->AcquiredItems()[0]->Valid(), 1);
  EXPECT_EQ(group->AcquiredItems()[0]->DataType(), VT_R8);
  EXPECT_EQ(group->AcquiredItems()[1]->Valid(), 1);
  EXPECT_NE(group->AcquiredItems()[1]->ServerItem(), 0u);
  EXPECT_EQ(group->AcquiredItems()[2]->Valid(), 0);
  EXPECT_TRUE(ctx.sink.Contains("Add OPC Item 'Static.I4' (Short Id: ) to OPC Group 'Group01'"));
  // Nothing to send: false, no report.
  COPCGroup* empty = server->AddGroup("Empty", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  ctx.prompt.reports.clear();
  EXPECT_FALSE(ReAddItemsOfGroup(*server, *empty));
  EXPECT_TRUE(ctx.prompt.reports.empty());
}

TEST_F(OpcItemsTest, ReAddWorksOnAServerWithoutBrowsing) {
  ASSERT_TRUE(server->Connect(kSimServerNoBrowseProgId, kLocalHost, GUID_NULL));
  ASSERT_FALSE(server->Connection().BrowseServerAddressSpace());
  COPCGroup* group = server->AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  group->AppendAcquiredItem()->Define("Static.R8", "", "", VT_EMPTY);
  EXPECT_TRUE(ReAddItemsOfGroup(*server, *group));
  EXPECT_EQ(group->AcquiredItems()[0]->Valid(), 1);
}

TEST_F(OpcItemsTest, RemoveItemCommandAsksAndRemoves) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8", "Static.I4"});
  COPCCalcItem* calc = group->AppendCalcItem();
  calc->Define("Sum", "", "", VT_EMPTY);
  server->SetConfigurationModified(false);
  const uint64_t revision = server->ConfigurationRevision();
  ctx.prompt.messageAnswers = {MessageAnswer::kCancel, MessageAnswer::kOk, MessageAnswer::kOk};
  EXPECT_FALSE(RemoveItemCommand(*server, group->AcquiredItems()[0].get()));
  EXPECT_EQ(group->AcquiredCount(), 2);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Please Confirm that You Want to Delete the selected OPC Item ? \nOPC Item Name: "
            "Static.R8 \nOPC Group Name Group01 \nOPC Item Type: Acquired OPC Item ");
  EXPECT_TRUE(RemoveItemCommand(*server, group->AcquiredItems()[0].get()));
  EXPECT_EQ(group->AcquiredCount(), 1);
  EXPECT_EQ(group->AcquiredItems()[0]->QualifiedId(), "Static.I4");
  EXPECT_TRUE(server->IsConfigurationModified());
  EXPECT_NE(server->ConfigurationRevision(), revision);
  EXPECT_TRUE(RemoveItemCommand(*server, calc));
  EXPECT_NE(ctx.prompt.messages[2].text.find("OPC Item Type: Calculated OPC Item "),
            std::string::npos);
  EXPECT_EQ(group->CalcCount(), 0);
  EXPECT_EQ(server->TotalItemCount(), 1);
}

TEST_F(OpcItemsTest, CalculatedItemsNeedAcquiredData) {
  COPCGroup group(server.get());
  EXPECT_FALSE(CanAddCalcItems(group, ctx.prompt));
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);
  EXPECT_EQ(ctx.prompt.messages[0].text,
            "Calculated Items can be added to an OPC Group ONLY if Acquired Data exists in this "
            "OPC Group !!!");
  group.AppendAcquiredItem();
  EXPECT_TRUE(CanAddCalcItems(group, ctx.prompt));
}

TEST(OpcRename, ReplacesWholeNamesOnly) {
  std::string expression = "A + AB + A_1 + (A) + 2*A + A.B + A";
  EXPECT_EQ(ReplaceNameInExpression(expression, "A", "X1"), 4);
  EXPECT_EQ(expression, "X1 + AB + A_1 + (X1) + 2*X1 + A.B + X1");
  std::string unchanged = "G01_A000";
  EXPECT_EQ(ReplaceNameInExpression(unchanged, "", "X"), 0);
  EXPECT_EQ(unchanged, "G01_A000");
}

TEST(OpcRename, RenameShortIdCountsItemsAndOccurrences) {
  COPCGroup group(nullptr);
  group.AppendAcquiredItem()->SetShortId("Old");
  group.AppendAcquiredItem()->SetShortId("Other");
  COPCCalcItem* calc = group.AppendCalcItem();
  calc->SetShortId("Old");
  calc->SetExpression("Old * Old + Other");
  EXPECT_EQ(RenameShortId(group, "Old", "New", true), 4);
  EXPECT_EQ(group.AcquiredItems()[0]->ShortId(), "New");
  EXPECT_EQ(calc->Expression(), "New * New + Other");
  EXPECT_EQ(calc->ShortId(), "New");
  EXPECT_EQ(RenameShortId(group, "Other", "Else", false), 1);
  EXPECT_EQ(calc->Expression(), "New * New + Other");
}

// ---- Short id check ----

TEST_F(OpcItemsTest, ShortIdWithAnIllegalCharacterIsRefused) {
  const ShortIdCheck check = CheckShortId(" A-B ", {}, ctx.prompt);
  EXPECT_EQ(check.m_eVerdict, ShortIdVerdict::kIllegalCharacter);
  EXPECT_FALSE(check.m_bOkEnabled);
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_EQ(ctx.prompt.reports[0].title, "Item Short Identifier Error");
  EXPECT_EQ(ctx.prompt.reports[0].body,
            "{\\f1\\cb5\\cf5\\b Illegal Character Used in OPC Item Short Identifier} \\fs18"
            "\\par \\par Valid Characters: {\\b ABCDEFGHIJKLMNOPQRSTUVWXYZ}"
            "\\par Valid Characters: {\\b 0123456789}"
            "\\par Valid Special Character: {\\b _ (Underscore)}"
            "\\par \\par Invalid Characters: {\\b\\cf5 +-*/\\\\:;,\"=.?&|@#'()!\\{\\}[]%}"
            "\\par \\par {\\f1 \\b Please Change the Item Short Identifier ...} \\par}");
  const std::string text = RtfToPlainText(ctx.prompt.reports[0].body);
  EXPECT_NE(text.find("Invalid Characters: +-*/\\:;,\"=.?&|@#'()!{}[]%"), std::string::npos)
      << text;
  for (char c : std::string("+-*/\\:;,\"=.?&|@#'()!{}[]%")) {
    EXPECT_EQ(CheckShortId(std::string("X") + c, {}, ctx.prompt).m_eVerdict,
              ShortIdVerdict::kIllegalCharacter)
        << c;
  }
}

TEST_F(OpcItemsTest, ShortIdUsedInAnotherGroupIsRefused) {
  ASSERT_TRUE(ConnectFull());
  AddGroupWithItems("Group01", {"Static.R8", "Static.I4"});
  COPCGroup* second = AddGroupWithItems("Group02", {"Static.BOOL"});
  second->AcquiredItems()[0]->SetShortId("Flow");
  // Editing G01_A000 (group 0, item 0) to "Flow".
  const std::vector<ShortIdOwner> others = CollectAcquiredShortIds(*server, 0, 0);
  const ShortIdCheck check = CheckShortId("Flow", others, ctx.prompt);
  EXPECT_EQ(check.m_eVerdict, ShortIdVerdict::kDuplicate);
  EXPECT_FALSE(check.m_bOkEnabled);
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_EQ(ctx.prompt.reports[0].body,
            "{\\f1\\cb5\\cf5\\b Error occured while Editing OPC Item Id} \\par\\par \\fs18 The "
            "Same Item Short Identifier already exists !!!"
            "\\par \\par Group Index: {\\b 1}"
            "\\par Group Name: {\\b Group02}"
            "\\par Item Index: {\\b 0}"
            "\\par Item Short Id: {\\b Flow}");
  // Its own id, an unused one and an empty one are accepted.
  EXPECT_TRUE(CheckShortId("G01_A000", others, ctx.prompt).m_bOkEnabled);
  EXPECT_EQ(CheckShortId("Level_2", others, ctx.prompt).m_sShortId, "Level_2");
  const ShortIdCheck empty = CheckShortId("  ", others, ctx.prompt);
  EXPECT_EQ(empty.m_eVerdict, ShortIdVerdict::kEmpty);
  EXPECT_TRUE(empty.m_bOkEnabled);
  EXPECT_EQ(ctx.prompt.reports.size(), 1u);
}

}  // namespace
