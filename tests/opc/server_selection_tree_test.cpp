// The server selection tree: its roots, the enumeration of the local host (OPCEnum and
// registry), of the network and its hosts, failures, F5, re-entrancy and closing.
#include <gtest/gtest.h>

#include "opc/server_selection_opcenum.h"
#include "platform/com/error_text.h"
#include "platform/sim/sim_ids.h"
#include "server_selection_fixture.h"

namespace {

using ServerSelectionTree = ServerSelectionTest;

std::string EnumerationErrorBody(const std::string& step, const std::string& code, HRESULT hr) {
  return "{\\f1\\cb5\\cf5\\b Error Occured Enumerating OPC Servers with OPCEnum.exe} \\par\\par "
         "\\fs18 " +
         step + " \\par\\par Error Code: {\\b " + code + "}\\par Reason: {\\b " +
         HResultReasonText(hr) +
         "}\\par \\par Note that OPCEnum.exe is started automatically (if required) for OPC "
         "Server Enumeration\\par Standard OPCEnum Location: Directory 'Windows' - "
         "Sub-Directory 'SysWOW64'\\par Standard Description: OPC Server Enumerator 1.10\\par "
         "\\par {\\f1 \\b Please Check if the Service OPCEnum.exe is Installed and Startable } "
         "\\par\\par {\\b OR}\\par \\par {\\f1 \\b Use Enumeration Using Windows Registry (Local "
         "Host Only)} \\par}";
}

TEST_F(ServerSelectionTree, OpensWithFourRootsEachWithAPlaceholder) {
  const CServerSelectionTree& tree = OpenTree();
  ASSERT_EQ(tree.RootCount(), 4);
  const std::vector<std::pair<std::string, int>> expected = {{"Local Host (TESTPC)", 0},
                                                             {"Network", 3},
                                                             {"Direct Host Selection", 9},
                                                             {"Direct Server Selection", 10}};
  for (int row = 0; row < 4; ++row) {
    const CServerNode* root = tree.Root(row);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Label(), expected[static_cast<size_t>(row)].first);
    EXPECT_EQ(root->KindNumber(), expected[static_cast<size_t>(row)].second);
    EXPECT_EQ(root->Row(), row);
    EXPECT_EQ(root->Parent(), nullptr);
    ASSERT_TRUE(root->HasPlaceholder()) << root->Label();
    EXPECT_EQ(root->Child(0)->Label(), "Dummy_Quorix_Item");
    EXPECT_EQ(root->Child(0)->KindNumber(), 8);
    EXPECT_EQ(root->Child(0)->Parent(), root);
  }
  EXPECT_EQ(tree.Root(4), nullptr);
  EXPECT_EQ(tree.Mode(), EnumerationMode::kOpcEnum);
  EXPECT_FALSE(tree.Select(tree.Root(0)).m_bOkEnabled);
}

TEST_F(ServerSelectionTree, LocalHostThroughOpcEnumListsTheDa2ServersOnly) {
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* local = tree.Root(CServerSelectionTree::kLocalHostRow);
  EXPECT_EQ(tree.Expand(local), ExpandOutcome::kEnumerated);
  // The DA 1.0-only server is not in the DA 2.0 category.
  EXPECT_EQ(Labels(local), (std::vector<std::string>{kFullServerLabel, kNoBrowseServerLabel}));
  for (int row = 0; row < local->ChildCount(); ++row) {
    const CServerNode* server = local->Child(row);
    EXPECT_EQ(server->Kind(), ServerNodeKind::kLocalServer);
    EXPECT_EQ(server->Row(), row);
    ASSERT_EQ(server->ChildCount(), 1);
    EXPECT_EQ(server->Child(0)->Kind(), ServerNodeKind::kClassId);
  }
  EXPECT_EQ(local->Child(0)->Child(0)->Label(), kFullServerClassId);
  EXPECT_EQ(local->Child(1)->Child(0)->Label(), kNoBrowseServerClassId);
  // The placeholder went first, the servers came in one addition.
  EXPECT_EQ(listener.ChangesOf(local), (std::vector<std::string>{"remove 0 1", "add 0 2"}));
  EXPECT_TRUE(ctx.prompt.reports.empty());
  // Nothing to enumerate below a server: its class id stays.
  EXPECT_EQ(tree.Expand(local->Child(0)), ExpandOutcome::kUnchanged);
  EXPECT_EQ(local->Child(0)->ChildCount(), 1);
}

TEST_F(ServerSelectionTree, RegistryModeListsBothCategoriesWithTheDa1ServerUnder10Only) {
  CServerSelectionTree& tree = OpenTree(EnumerationMode::kRegistry);
  const CServerNode* local = tree.Root(CServerSelectionTree::kLocalHostRow);
  EXPECT_EQ(tree.Expand(local), ExpandOutcome::kEnumerated);
  ASSERT_EQ(Labels(local), (std::vector<std::string>{"OPC Data Access Servers Version 1.0",
                                                     "OPC Data Access Servers Version 2.0"}));
  const CServerNode* da10 = local->Child(0);
  const CServerNode* da20 = local->Child(1);
  EXPECT_EQ(da10->Kind(), ServerNodeKind::kCategory);
  EXPECT_EQ(Labels(da10),
            (std::vector<std::string>{"Velmora.SimServer.1 (Velmora.SimServer.1)",
                                      "Velmora.SimServerDA1.1 (Velmora.SimServerDA1.1)"}));
  EXPECT_EQ(Labels(da20), (std::vector<std::string>{
                              "Velmora.SimServer.1 (Velmora.SimServer.1)",
                              "Velmora.SimServerNoBrowse.1 (Velmora.SimServerNoBrowse.1)"}));
  EXPECT_EQ(da10->Child(1)->Kind(), ServerNodeKind::kLocalServer);
  EXPECT_EQ(da10->Child(1)->Child(0)->Label(), "6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e02");
  const ServerSelection selection = tree.Select(da10->Child(1)->Child(0));
  EXPECT_EQ(selection.m_sServerId, "Velmora.SimServerDA1.1");
  EXPECT_EQ(selection.m_sHost, "Local Host");
  EXPECT_EQ(selection.m_clsid, CLSID_VelmoraSimServerDA1);
  EXPECT_TRUE(selection.m_bOkEnabled);
  // Switching the radio buttons back: the next expansion asks OPCEnum.
  tree.SetMode(EnumerationMode::kOpcEnum);
  EXPECT_EQ(tree.Expand(local), ExpandOutcome::kEnumerated);
  EXPECT_EQ(Labels(local), (std::vector<std::string>{kFullServerLabel, kNoBrowseServerLabel}));
  EXPECT_TRUE(listener.m_modes.empty());
}

TEST_F(ServerSelectionTree, NetworkLevelsKeepTheirResourcesAndLogEachLevel) {
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* host = NetworkHost("\\\\PLANTSRV01");
  ASSERT_NE(host, nullptr);
  const CServerNode* workgroup = host->Parent();
  const CServerNode* provider = workgroup->Parent();
  EXPECT_EQ(provider->Parent(), tree.Root(CServerSelectionTree::kNetworkRow));
  EXPECT_EQ(provider->Kind(), ServerNodeKind::kNetwork);
  EXPECT_EQ(workgroup->Kind(), ServerNodeKind::kNetwork);
  EXPECT_EQ(Labels(workgroup), (std::vector<std::string>{"\\\\TESTPC", "\\\\PLANTSRV01"}));
  for (const CServerNode* node : {provider, workgroup, host}) {
    ASSERT_NE(node->Resource(), nullptr) << node->Label();
    EXPECT_EQ(node->Resource()->lpRemoteName, node->Label());
    EXPECT_EQ(node->Resource()->lpProvider, "Microsoft Windows Network");
  }
  EXPECT_EQ(host->Kind(), ServerNodeKind::kNetworkHost);
  EXPECT_TRUE(host->HasPlaceholder());
  EXPECT_EQ(ctx.sink.Messages(kLogOpcServer),
            (std::vector<std::string>{
                "Enumerating Containers and Hosts in Network",
                "Enumerating Containers and Hosts in Network Container Microsoft Windows Network",
                "Enumerating Containers and Hosts in Network Container WORKGROUP"}));
  // A network that is not there: nothing below the root, and no failure.
  CSimRuntime::Instance().SetNetworkAvailable(false);
  EXPECT_EQ(tree.Expand(tree.Root(CServerSelectionTree::kNetworkRow)), ExpandOutcome::kEnumerated);
  EXPECT_EQ(tree.Root(CServerSelectionTree::kNetworkRow)->ChildCount(), 0);
}

TEST_F(ServerSelectionTree, NetworkHostInRegistryModeSwitchesToOpcEnum) {
  CServerSelectionTree& tree = OpenTree(EnumerationMode::kRegistry);
  const CServerNode* host = NetworkHost("\\\\PLANTSRV01");
  ASSERT_NE(host, nullptr);
  ctx.sink.Clear();
  EXPECT_EQ(tree.Expand(host), ExpandOutcome::kEnumerated);
  EXPECT_EQ(tree.Mode(), EnumerationMode::kOpcEnum);
  EXPECT_EQ(listener.m_modes, (std::vector<EnumerationMode>{EnumerationMode::kOpcEnum}));
  EXPECT_EQ(ctx.sink.Messages(kLogOpcServer),
            (std::vector<std::string>{"Network Enumeration using Registry data is not possible "
                                      "... Switch to Enumeration based on OPCEnum.exe"}));
  EXPECT_EQ(Labels(host), (std::vector<std::string>{kFullServerLabel, kNoBrowseServerLabel}));
  EXPECT_EQ(host->Child(0)->Kind(), ServerNodeKind::kRemoteServer);
  const ServerSelection selection = tree.Select(host->Child(1));
  EXPECT_EQ(selection.m_sHost, "\\\\PLANTSRV01");
  EXPECT_EQ(selection.m_sServerId, "Velmora.SimServerNoBrowse.1");
  EXPECT_EQ(selection.m_sClassIdText, kNoBrowseServerClassId);
  EXPECT_TRUE(selection.m_bOkEnabled);
  // Already in OPCEnum mode: no second switch.
  EXPECT_EQ(tree.Expand(host), ExpandOutcome::kEnumerated);
  EXPECT_EQ(listener.m_modes.size(), 1u);
}

TEST_F(ServerSelectionTree, HostWithoutDa2ServerShowsTheSingleNote) {
  Configure("[host H1]\nservers = Velmora.SimServerDA1.1\n");
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* host = NetworkHost("\\\\H1");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(tree.Expand(host), ExpandOutcome::kEnumerated);
  ASSERT_EQ(Labels(host), (std::vector<std::string>{"No OPC Server Found using OPCEnum ..."}));
  EXPECT_EQ(host->Child(0)->KindNumber(), 11);
  EXPECT_TRUE(ctx.prompt.reports.empty());
  EXPECT_FALSE(tree.Select(host->Child(0)).m_bOkEnabled);
}

TEST_F(ServerSelectionTree, EnumeratorFailuresReportTheirStepAndLeaveTheFailureNote) {
  Configure("[network]\nopcenum = 0\n[host DOWN]\nreachable = 0\n");
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* host = NetworkHost("\\\\DOWN");
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(tree.Expand(host), ExpandOutcome::kFailed);
  ASSERT_EQ(
      Labels(host),
      (std::vector<std::string>{"Error Occured Enumerating OPC Servers with OPCEnum.exe !!!"}));
  EXPECT_EQ(host->Child(0)->KindNumber(), 11);
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_EQ(ctx.prompt.reports[0].title, "OPC Enumeration Error");
  EXPECT_EQ(ctx.prompt.reports[0].body,
            EnumerationErrorBody("CoCreateInstanceEx Error", "800706BA (-2147023174)",
                                 RPC_S_SERVER_UNAVAILABLE));

  // The local host without its enumerator fails at the class object.
  const CServerNode* local = tree.Root(CServerSelectionTree::kLocalHostRow);
  EXPECT_EQ(tree.Expand(local), ExpandOutcome::kFailed);
  EXPECT_EQ(
      Labels(local),
      (std::vector<std::string>{"Error Occured Enumerating OPC Servers with OPCEnum.exe !!!"}));
  ASSERT_EQ(ctx.prompt.reports.size(), 2u);
  EXPECT_NE(ctx.prompt.reports[1].body.find("\\fs18 CoGetClassObject Error \\par"),
            std::string::npos)
      << ctx.prompt.reports[1].body;
  // The registry still works on it.
  tree.SetMode(EnumerationMode::kRegistry);
  EXPECT_EQ(tree.Expand(local), ExpandOutcome::kEnumerated);
  EXPECT_EQ(local->ChildCount(), 2);
}

TEST_F(ServerSelectionTree, F5EnumeratesAgainFromScratch) {
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* local = tree.Root(CServerSelectionTree::kLocalHostRow);
  ASSERT_EQ(tree.Expand(local), ExpandOutcome::kEnumerated);
  ASSERT_EQ(local->ChildCount(), 2);
  // What the enumerator says now, not what the tree held.
  CSimRuntime::Instance().LocalHost().m_classes[0].m_sDescription = "Renamed Server";
  listener.m_events.clear();
  EXPECT_EQ(tree.Expand(local), ExpandOutcome::kEnumerated);
  EXPECT_EQ(Labels(local), (std::vector<std::string>{"Renamed Server (Velmora.SimServer.1)",
                                                     kNoBrowseServerLabel}));
  EXPECT_EQ(listener.ChangesOf(local), (std::vector<std::string>{"remove 0 2", "add 0 2"}));
  EXPECT_EQ(listener.m_events.size(), 2u);
}

TEST_F(ServerSelectionTree, ExpansionFromWithinAListenerCallbackIsIgnored) {
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* network = tree.Root(CServerSelectionTree::kNetworkRow);
  std::vector<ExpandOutcome> nested;
  listener.m_onAdded = [&] {
    EXPECT_TRUE(tree.IsExpanding());
    nested.push_back(tree.Expand(network));
  };
  EXPECT_EQ(tree.Expand(tree.Root(CServerSelectionTree::kLocalHostRow)),
            ExpandOutcome::kEnumerated);
  EXPECT_EQ(nested, (std::vector<ExpandOutcome>{ExpandOutcome::kIgnored}));
  EXPECT_TRUE(network->HasPlaceholder());
  EXPECT_FALSE(tree.IsExpanding());
  listener.m_onAdded = nullptr;
  EXPECT_EQ(tree.Expand(network), ExpandOutcome::kEnumerated);
  EXPECT_FALSE(network->HasPlaceholder());
}

TEST_F(ServerSelectionTree, ClosingDeletesTheChildrenOfTheRootsAndForeignNodesAreRefused) {
  CServerSelectionTree& tree = OpenTree();
  ASSERT_EQ(tree.Expand(tree.Root(CServerSelectionTree::kLocalHostRow)),
            ExpandOutcome::kEnumerated);
  listener.m_events.clear();
  tree.Close();
  for (int row = 0; row < tree.RootCount(); ++row)
    EXPECT_EQ(tree.Root(row)->ChildCount(), 0) << row;
  EXPECT_EQ(listener.ChangesOf(tree.Root(0)), (std::vector<std::string>{"remove 0 2"}));
  EXPECT_EQ(listener.ChangesOf(tree.Root(3)), (std::vector<std::string>{"remove 0 1"}));

  const CServerNode stranger(ServerNodeKind::kLocalHost, "Local Host (ELSEWHERE)");
  EXPECT_EQ(tree.Expand(&stranger), ExpandOutcome::kFailed);
  EXPECT_EQ(tree.Expand(nullptr), ExpandOutcome::kFailed);
  ASSERT_EQ(ctx.prompt.messages.size(), 2u);
  EXPECT_EQ(ctx.prompt.messages[0].text, "Internal Memory Error !!! Unable to Enumerate ... ");
}

}  // namespace
