// Item list files: the text rules, an import through the add-item rules with its summary,
// and an export read back.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "add_item_fakes.h"
#include "base/atomic_file.h"
#include "opc/add_item_filters.h"
#include "opc_test_fixture.h"
#include "temp_dir.h"

namespace {

// An export that fails part-way (a file size limit, in a child process) keeps the list
// that was there and leaves no partial file.
TEST(ItemListFile, AFailedExportKeepsThePreviousList) {
  TempDir dir;
  const std::string path = dir.File("list.csv");
  { std::ofstream(path, std::ios::binary) << "ItemId,ShortId,DataType\nKept,K,Float\n"; }
  std::vector<ItemListRow> rows(400, ItemListRow{std::string(40, 'i'), "S", "Float"});
  const pid_t child = ::fork();
  if (child == 0) {
    IgnoreFileSizeLimitSignal();
    rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool written = WriteItemListFile(path, rows, &error);
    ::_exit(!written && error.find("File Too Large") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "ItemId,ShortId,DataType\nKept,K,Float\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(ItemListFile, LinesFieldsQuotesAndTheHeader) {
  const ItemListParse parse = ParseItemList(
      "\xEF\xBB\xBFItemId;ShortId\r\n"
      "# a comment\n"
      "\n"
      "Plant.Line1.Tank1.Level\n"
      "  Static.R8 , OVEN_T\n"
      "Static.I4\tCOUNT\tLong\n"
      "\"Odd,\"\"id\"\"\";\"S 1\"\n"
      "   # indented comment\n"
      ",ORPHAN\n");
  ASSERT_TRUE(parse.m_bOk);
  ASSERT_EQ(parse.m_entries.size(), 5u);
  EXPECT_EQ(parse.m_entries[0].m_nLine, 4);
  EXPECT_EQ(parse.m_entries[0].m_sItemId, "Plant.Line1.Tank1.Level");
  EXPECT_EQ(parse.m_entries[0].m_sShortId, "");
  EXPECT_EQ(parse.m_entries[1].m_sItemId, "Static.R8");
  EXPECT_EQ(parse.m_entries[1].m_sShortId, "OVEN_T");
  EXPECT_EQ(parse.m_entries[2].m_sShortId, "COUNT");
  EXPECT_EQ(parse.m_entries[2].m_sDataType, "Long");
  EXPECT_EQ(parse.m_entries[3].m_sItemId, "Odd,\"id\"");
  EXPECT_EQ(parse.m_entries[3].m_sShortId, "S 1");
  EXPECT_EQ(parse.m_entries[4].m_nLine, 9);
  EXPECT_EQ(parse.m_entries[4].m_sItemId, "");
  // A header only counts on the first line that is not skipped.
  EXPECT_EQ(ParseItemList("A\nItemId,ShortId\n").m_entries.size(), 2u);
  EXPECT_FALSE(ParseItemList(std::string("A\0B", 3)).m_bOk);

  EXPECT_EQ(FormatItemList({{"Plain.Id", "P", "Float"}, {"a,b", "\"q\"", " lead"}}),
            "ItemId,ShortId,DataType\nPlain.Id,P,Float\n\"a,b\",\"\"\"q\"\"\",\" lead\"\n");
  const ItemListParse back = ParseItemList(FormatItemList({{"a;b\tc", "x\"y", ""}}));
  ASSERT_EQ(back.m_entries.size(), 1u);
  EXPECT_EQ(back.m_entries[0].m_sItemId, "a;b\tc");
  EXPECT_EQ(back.m_entries[0].m_sShortId, "x\"y");

  TempDir dir;
  EXPECT_FALSE(ReadItemListFile(dir.File("missing.csv")).m_bOk);
  WriteText(dir.File("big.csv"), std::string(kMaxItemListFileBytes + 1, 'A'));
  const ItemListParse big = ReadItemListFile(dir.File("big.csv"));
  EXPECT_FALSE(big.m_bOk);
  EXPECT_NE(big.m_sError.find("larger than"), std::string::npos);
  // A device that never ends is refused at the limit, not read until memory runs out.
  const ItemListParse endless = ReadItemListFile("/dev/zero");
  EXPECT_FALSE(endless.m_bOk);
  EXPECT_NE(endless.m_sError.find("larger than"), std::string::npos) << endless.m_sError;
  // Ids that begin with # or a blank are exported so that they read back unchanged.
  const ItemListParse odd = ParseItemList(FormatItemList({{"#A", "", ""}, {"\vB", "", ""}}));
  ASSERT_EQ(odd.m_entries.size(), 2u);
  EXPECT_EQ(odd.m_entries[0].m_sItemId, "#A");
  EXPECT_EQ(odd.m_entries[1].m_sItemId, "\vB");
}

using ItemListImportTest = OpcServerTest;

TEST_F(ItemListImportTest, ImportAddsWhatTheRulesAllowAndSaysWhyTheRestWasRefused) {
  ASSERT_TRUE(ConnectFull());
  ASSERT_NE(AddGroupWithItems("Group01", {"Static.I4"}), nullptr);  // short id G01_A000
  COPCGroup* group = server->AddGroup("Group02", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  CAddItemSession session(*server, *group);
  session.Open();
  TempDir dir;
  WriteText(dir.File("list.txt"),
            "ItemId,ShortId\n"
            "Plant.Line1.Tank1.Level,LEVEL_1\n"
            "Plant.Line1.Tank1.Volume\n"
            "No.Such.Item,GHOST\n"
            "Static.R8,Bad.Id\n"
            "Static.BOOL,G01_A000\n"
            "Static.BSTR,LEVEL_1\n"
            "Static.CY,,Double Array\n"
            "Static.DATE,,Float\n"
            ",LONELY\n");
  const ItemListImportSummary summary = session.ImportItemList(dir.File("list.txt"));
  ASSERT_TRUE(summary.m_bFileRead);
  EXPECT_EQ(summary.m_addedIds,
            (std::vector<std::string>{"Plant.Line1.Tank1.Level", "Plant.Line1.Tank1.Volume",
                                      "Static.DATE"}));
  ASSERT_EQ(summary.m_refused.size(), 6u);
  const std::vector<int> lines = {4, 5, 6, 7, 8, 10};
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(summary.m_refused[i].m_nLine, lines[i]) << i;
  EXPECT_EQ(summary.m_refused[0].m_sItemId, "No.Such.Item");
  EXPECT_EQ(summary.m_refused[0].m_sReason,
            "The ItemID is not in the OPC Server Address Space (Error Code: C0040007)");
  EXPECT_EQ(summary.m_refused[1].m_sReason, "Illegal character in the short id 'Bad.Id'");
  EXPECT_EQ(summary.m_refused[2].m_sReason,
            "The short id 'G01_A000' is already used in group Group01");
  EXPECT_EQ(summary.m_refused[3].m_sReason,
            "The short id 'LEVEL_1' is already used in group Group02");
  EXPECT_EQ(summary.m_refused[4].m_sReason,
            "The requested data type cannot be returned for this item (Error Code: C0040004)");
  EXPECT_EQ(summary.m_refused[5].m_sReason, "No item id");
  EXPECT_TRUE(ctx.prompt.HasReportTitled(kItemsAdditionErrorTitle));  // the server's refusals

  ASSERT_EQ(session.RowCount(), 3);
  EXPECT_EQ(session.Rows()[0].m_sShortId, "LEVEL_1");
  EXPECT_EQ(session.Rows()[1].m_sShortId, "G02_A001");
  EXPECT_EQ(session.Rows()[2].m_sDataType, "Float");
  EXPECT_EQ(session.Rows()[2].m_def.vtRequestedDataType, VT_R4);
  const std::string text = ImportSummaryText(summary);
  EXPECT_EQ(text.substr(0, text.find('\n')), "3 items added, 6 refused");
  EXPECT_NE(text.find("Line 4: No.Such.Item - The ItemID is not in the OPC Server Address Space"),
            std::string::npos);

  const ItemListImportSummary missing = session.ImportItemList(dir.File("none.txt"));
  EXPECT_FALSE(missing.m_bFileRead);
  EXPECT_EQ(session.RowCount(), 3);
}

TEST_F(ItemListImportTest, ImportStopsAtTheAllowance) {
  ASSERT_TRUE(ConnectFull());
  std::vector<std::string> ids;
  for (const char* generator : {"Sine", "Ramp", "Square", "Triangle", "Random", "Counter"}) {
    for (const char* type :
         {"I1", "I2", "I4", "I8", "UI1", "UI2", "UI4", "UI8", "R4", "R8", "BOOL", "BSTR", "DATE"})
      ids.push_back(std::string("Signals.") + generator + "." + type);
  }
  ids.resize(63);
  ASSERT_NE(AddGroupWithItems("Group01", ids), nullptr);
  ASSERT_NE(AddGroupWithItems("Group02", ids), nullptr);
  COPCGroup* group = server->AddGroup("Group03", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  CAddItemSession session(*server, *group);
  session.Open();
  ASSERT_EQ(session.Allowance(), 2);
  const ItemListImportSummary summary = session.AddListEntries({{1, "Static.R8", "", ""},
                                                                {2, "Static.I4", "", ""},
                                                                {3, "Static.BOOL", "", ""},
                                                                {4, "Static.CY", "", ""}});
  EXPECT_EQ(summary.m_addedIds.size(), 2u);
  ASSERT_EQ(summary.m_refused.size(), 2u);
  EXPECT_EQ(summary.m_refused[0].m_nLine, 3);
  EXPECT_EQ(summary.m_refused[0].m_sReason, "Maximum Item Count (128) is Reached");
  ASSERT_EQ(ctx.prompt.messages.size(), 1u);  // the warning, once
  EXPECT_NE(ctx.prompt.messages[0].text.find("Maximum Item Count (128) is Reached"),
            std::string::npos);
}

TEST_F(ItemListImportTest, ExportedListImportsBackToTheSameRows) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.BSTR", "Signals.Arrays.R4"});
  ASSERT_NE(group, nullptr);
  CAddItemSession source(*server, *group);
  source.Open();
  ASSERT_NE(SelectPath(source, {"Plant", "Line1", "Machine1"}), nullptr);
  source.SetDataTypeFilter(DataTypeFilterIndex("Float"));
  source.AddLeaves({0, 2});
  ASSERT_TRUE(source.ApplyShortIdEdit(0, "TEXT_1"));
  ASSERT_EQ(source.RowCount(), 4);
  TempDir dir;
  std::string error;
  ASSERT_TRUE(source.ExportItemList(dir.File("out.csv"), &error)) << error;
  std::ifstream file(dir.File("out.csv"));
  std::string header;
  std::getline(file, header);
  EXPECT_EQ(header, "ItemId,ShortId,DataType");
  EXPECT_FALSE(source.ExportItemList(dir.File("no/such/out.csv"), &error));
  EXPECT_NE(error.find("cannot write"), std::string::npos);

  // A new session of the same group, emptied: the short ids are free again.
  CAddItemSession target(*server, *group);
  target.Open();
  target.RemoveRows(FirstRows(target.RowCount()));
  const ItemListImportSummary summary = target.ImportItemList(dir.File("out.csv"));
  EXPECT_TRUE(summary.m_refused.empty()) << ImportSummaryText(summary);
  ASSERT_EQ(target.RowCount(), source.RowCount());
  for (int i = 0; i < source.RowCount(); ++i) {
    const AddItemRow& a = source.Rows()[static_cast<size_t>(i)];
    const AddItemRow& b = target.Rows()[static_cast<size_t>(i)];
    EXPECT_EQ(a.m_sQualifiedId, b.m_sQualifiedId);
    EXPECT_EQ(a.m_sShortId, b.m_sShortId);
    EXPECT_EQ(a.m_sDataType, b.m_sDataType);
    EXPECT_EQ(a.m_def.vtRequestedDataType, b.m_def.vtRequestedDataType);
  }
}

}  // namespace
