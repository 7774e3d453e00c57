// The search below a branch on the simulation servers: qualified ids in tree order, the
// filters, the start branch, cancelling, and a flat space.
#include <gtest/gtest.h>

#include "opc/item_search.h"
#include "opc_test_fixture.h"

namespace {

using ItemSearchTest = OpcServerTest;

TEST_F(ItemSearchTest, FindsQualifiedIdsBelowTheStartWithTheFilters) {
  ASSERT_TRUE(ConnectFull());
  IOPCBrowseServerAddressSpace& browse = *server->Connection().BrowseServerAddressSpace();
  ItemSearchRequest request;
  request.m_sPattern = "*Temperature*";
  const ItemSearchResult all = SearchItems(browse, request);
  EXPECT_EQ(all.m_hr, S_OK);
  EXPECT_FALSE(all.m_bCancelled);
  EXPECT_EQ(all.m_itemIds,
            (std::vector<std::string>{
                "Plant.Line1.Machine1.Temperature", "Plant.Line1.Machine2.Temperature",
                "Plant.Line1.Tank1.Temperature", "Plant.Line2.Machine1.Temperature",
                "Plant.Line2.Machine2.Temperature", "Plant.Line2.Tank1.Temperature"}));

  request.m_startPath = {"Plant", "Line2"};
  request.m_sPattern = "*";
  request.m_dwAccessRights = OPC_WRITEABLE;
  const ItemSearchResult writable = SearchItems(browse, request);
  EXPECT_EQ(writable.m_itemIds, (std::vector<std::string>{"Plant.Line2.Machine1.SetPoint",
                                                          "Plant.Line2.Machine2.SetPoint",
                                                          "Plant.Line2.Tank1.SetPoint"}));
  EXPECT_EQ(writable.m_nBranchesVisited, 4);  // Line2 and its three branches
  std::string position;
  ASSERT_EQ(browse.GetItemID("", &position), S_OK);
  EXPECT_EQ(position, "Plant.Line2");  // left at the start

  request.m_startPath = {"Signals"};
  request.m_dwAccessRights = 0;
  request.m_sPattern = "R#";
  request.m_vtDataType = VT_R4 | VT_ARRAY;
  EXPECT_EQ(SearchItems(browse, request).m_itemIds,
            (std::vector<std::string>{"Signals.Arrays.R4", "Signals.Arrays.R8"}));

  request.m_startPath = {"Plant", "Nowhere"};
  const ItemSearchResult lost = SearchItems(browse, request);
  EXPECT_TRUE(FAILED(lost.m_hr));
  EXPECT_TRUE(lost.m_itemIds.empty());
}

TEST_F(ItemSearchTest, ProgressReportsEveryBranchAndCancels) {
  ASSERT_TRUE(ConnectFull());
  IOPCBrowseServerAddressSpace& browse = *server->Connection().BrowseServerAddressSpace();
  std::vector<ItemSearchProgress> seen;
  ItemSearchRequest request;
  request.m_startPath = {"Plant"};
  const ItemSearchResult result =
      SearchItems(browse, request, [&seen](const ItemSearchProgress& progress) {
        seen.push_back(progress);
        return progress.m_nBranchesVisited < 3;  // Plant, Line1, Machine1
      });
  EXPECT_TRUE(result.m_bCancelled);
  EXPECT_EQ(result.m_hr, S_OK);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2].m_nBranchesVisited, 3);
  EXPECT_EQ(seen[2].m_nFound, 7);
  EXPECT_EQ(result.m_itemIds.size(), 7u);
  std::string position;
  ASSERT_EQ(browse.GetItemID("", &position), S_OK);
  EXPECT_EQ(position, "Plant");
}

TEST_F(ItemSearchTest, FlatSpaceMatchesTheIdsInOneListing) {
  ASSERT_TRUE(server->Connect(kSimServerDa1ProgId, kLocalHost, GUID_NULL));
  ItemSearchRequest request;
  request.m_sPattern = "Static_*";
  request.m_startPath = {"Ignored"};
  const ItemSearchResult result =
      SearchItems(*server->Connection().BrowseServerAddressSpace(), request);
  EXPECT_EQ(result.m_hr, S_OK);
  EXPECT_EQ(result.m_nBranchesVisited, 1);
  EXPECT_EQ(result.m_itemIds,
            (std::vector<std::string>{"Static_R8", "Static_I4", "Static_BOOL", "Static_BSTR",
                                      "Static_CY", "Static_DATE"}));
}

}  // namespace
