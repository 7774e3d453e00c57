// Selecting a node of the server selection tree, and the two direct roots with their
// dialogs' cores (direct host enumeration, direct server OK rule).
#include <gtest/gtest.h>

#include "opc/direct_host_selection.h"
#include "opc/direct_server_selection.h"
#include "opc/server_selection_children.h"
#include "platform/sim/sim_ids.h"
#include "server_selection_fixture.h"

namespace {

using ServerSelectionRules = ServerSelectionTest;
using DirectSelection = ServerSelectionTest;

TEST_F(ServerSelectionRules, ClassIdNodeSelectsItsServer) {
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* local = tree.Root(CServerSelectionTree::kLocalHostRow);
  ASSERT_EQ(tree.Expand(local), ExpandOutcome::kEnumerated);
  const CServerNode* server = local->Child(0);
  const ServerSelection byServer = tree.Select(server);
  const ServerSelection byClassId = tree.Select(server->Child(0));
  for (const ServerSelection& selection : {byServer, byClassId}) {
    EXPECT_EQ(selection.m_sServerId, "Velmora.SimServer.1");
    EXPECT_EQ(selection.m_sHost, "Local Host");
    EXPECT_EQ(selection.m_clsid, CLSID_VelmoraSimServer);
    EXPECT_EQ(selection.m_sClassIdText, kFullServerClassId);
    EXPECT_TRUE(selection.m_bOkEnabled);
  }
  // Nodes that are not servers select nothing.
  for (const CServerNode* node : {local, tree.Root(CServerSelectionTree::kNetworkRow)}) {
    const ServerSelection selection = tree.Select(node);
    EXPECT_TRUE(selection.m_sServerId.empty() && selection.m_sHost.empty());
    EXPECT_FALSE(selection.m_bOkEnabled);
  }
  EXPECT_TRUE(ctx.prompt.messages.empty());
}

TEST_F(ServerSelectionRules, ServerIdIsTheTextBetweenTheFirstParentheses) {
  EXPECT_EQ(ServerIdFromLabel("Velmora Simulation Server (Velmora.SimServer.1)"),
            "Velmora.SimServer.1");
  EXPECT_EQ(ServerIdFromLabel("A (B.C.1) (D)"), "B.C.1");
  EXPECT_EQ(ServerIdFromLabel("Velmora.SimServer.1"), "");
  EXPECT_EQ(ServerIdFromLabel("Out ) of ( order"), "");
  EXPECT_EQ(ServerIdFromLabel("Open ( only"), "");

  // A label without parentheses: no server id, OK stays disabled.
  CServerNode bare(ServerNodeKind::kLocalServer, "Velmora.SimServer.1");
  bare.AddChild(ServerNodeKind::kClassId, kFullServerClassId);
  const ServerSelection selection = SelectServerNode(&bare, ctx.prompt);
  EXPECT_EQ(selection.m_sServerId, "");
  EXPECT_EQ(selection.m_sHost, "Local Host");
  EXPECT_FALSE(selection.m_bOkEnabled);

  // A class id that does not parse, or is too short to count: OK disabled.
  CServerNode badClassId(ServerNodeKind::kLocalServer, "Server (Some.Server.1)");
  badClassId.AddChild(ServerNodeKind::kClassId, "not a class id");
  EXPECT_FALSE(SelectServerNode(&badClassId, ctx.prompt).m_bOkEnabled);
  EXPECT_EQ(SelectServerNode(&badClassId, ctx.prompt).m_sServerId, "");
  EXPECT_TRUE(SelectionOkEnabled("abc", "abc", std::string(34, 'x')));
  EXPECT_FALSE(SelectionOkEnabled("abc", "abc", std::string(33, 'x')));
  EXPECT_FALSE(SelectionOkEnabled("ab", "abc", std::string(36, 'x')));
  EXPECT_FALSE(SelectionOkEnabled("abc", "ab", std::string(36, 'x')));

  // A remote server without its host, and no node at all: message boxes.
  CServerNode orphan(ServerNodeKind::kRemoteServer, "Server (Some.Server.1)");
  orphan.AddChild(ServerNodeKind::kClassId, kFullServerClassId);
  EXPECT_FALSE(SelectServerNode(&orphan, ctx.prompt).m_bOkEnabled);
  EXPECT_FALSE(SelectServerNode(nullptr, ctx.prompt).m_bOkEnabled);
  ASSERT_EQ(ctx.prompt.messages.size(), 2u);
  EXPECT_EQ(ctx.prompt.messages[0].text, "Internal Error !!! Null Parent Item ...");
  EXPECT_EQ(ctx.prompt.messages[1].text, "Internal Memory Error !!! Unable to Select Server ... ");
}

TEST_F(DirectSelection, DirectHostOkAddsTheHostWithItsServers) {
  DirectHostChoice choice;
  choice.m_sHost = "PLANTSRV01";
  ASSERT_TRUE(EnumerateDirectHost(ctx.context, choice.m_sHost, choice.m_servers));
  ASSERT_EQ(choice.m_servers.size(), 2u);
  EXPECT_EQ(choice.m_servers[0].m_sProgIdLabel, kFullServerLabel);
  EXPECT_EQ(choice.m_servers[0].m_sGuidText, kFullServerClassId);
  EXPECT_EQ(choice.m_servers[1].m_sProgIdLabel, kNoBrowseServerLabel);
  dialogs.m_host = choice;

  CServerSelectionTree& tree = OpenTree();
  const CServerNode* root = tree.Root(CServerSelectionTree::kDirectHostRow);
  const CServerNode* network = tree.Root(CServerSelectionTree::kNetworkRow);
  EXPECT_EQ(tree.Expand(root), ExpandOutcome::kEnumerated);
  EXPECT_EQ(dialogs.m_nHostAsks, 1);
  // The host goes under "Network"; the direct root is ready to ask again.
  EXPECT_TRUE(root->HasPlaceholder());
  EXPECT_EQ(listener.ChangesOf(root), (std::vector<std::string>{"remove 0 1", "add 0 1"}));
  EXPECT_EQ(listener.Count("collapse"), 1);
  ASSERT_EQ(Labels(network), (std::vector<std::string>{"PLANTSRV01"}));
  const CServerNode* host = network->Child(0);
  EXPECT_EQ(host->Kind(), ServerNodeKind::kNetwork);
  EXPECT_EQ(Labels(host), (std::vector<std::string>{kFullServerLabel, kNoBrowseServerLabel}));
  EXPECT_EQ(host->Child(1)->Kind(), ServerNodeKind::kRemoteServer);
  EXPECT_EQ(Labels(host->Child(1)), (std::vector<std::string>{kNoBrowseServerClassId}));
  EXPECT_EQ(listener.ChangesOf(network), (std::vector<std::string>{"remove 0 1", "add 0 1"}));
  EXPECT_EQ(listener.Count("expand"), 4);  // the network, the host and its two servers

  const ServerSelection selection = tree.Select(host->Child(0)->Child(0));
  EXPECT_EQ(selection.m_sHost, "PLANTSRV01");
  EXPECT_EQ(selection.m_sServerId, "Velmora.SimServer.1");
  EXPECT_TRUE(selection.m_bOkEnabled);
  // The typed host has nothing of its own to enumerate: its servers stay.
  EXPECT_EQ(tree.Expand(host), ExpandOutcome::kUnchanged);
  EXPECT_EQ(host->ChildCount(), 2);
  // Listing the network again keeps the typed host with its servers.
  tree.Expand(network);
  ASSERT_GE(network->ChildCount(), 1);
  const CServerNode* kept = network->Child(network->ChildCount() - 1);
  EXPECT_EQ(kept->Label(), "PLANTSRV01");
  EXPECT_EQ(Labels(kept), (std::vector<std::string>{kFullServerLabel, kNoBrowseServerLabel}));
  EXPECT_EQ(Labels(kept->Child(0)), (std::vector<std::string>{kFullServerClassId}));
}

TEST_F(DirectSelection, DirectHostCancelPutsThePlaceholderBackAndCollapses) {
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* root = tree.Root(CServerSelectionTree::kDirectHostRow);
  EXPECT_EQ(tree.Expand(root), ExpandOutcome::kCancelled);
  EXPECT_TRUE(root->HasPlaceholder());
  EXPECT_EQ(listener.ChangesOf(root), (std::vector<std::string>{"remove 0 1", "add 0 1"}));
  ASSERT_EQ(listener.Count("collapse"), 1);
  EXPECT_EQ(listener.m_events.back().m_pNode, root);
}

TEST_F(DirectSelection, DirectHostEnumerationFailsWithTheReportForAnUnknownHost) {
  std::vector<DirectHostRow> rows = {{"stale (row)", "x"}};
  EXPECT_FALSE(EnumerateDirectHost(ctx.context, "NOSUCHHOST", rows));
  EXPECT_TRUE(rows.empty());
  ASSERT_EQ(ctx.prompt.reports.size(), 1u);
  EXPECT_EQ(ctx.prompt.reports[0].title, "OPC Enumeration Error");
  EXPECT_NE(ctx.prompt.reports[0].body.find("CoCreateInstanceEx Error"), std::string::npos);
  // An empty host is this machine.
  EXPECT_TRUE(EnumerateDirectHost(ctx.context, "", rows));
  EXPECT_EQ(rows.size(), 2u);
}

TEST_F(DirectSelection, DirectServerOkAddsHostServerAndClassIdCancelPutsThePlaceholderBack) {
  CServerSelectionTree& tree = OpenTree();
  const CServerNode* root = tree.Root(CServerSelectionTree::kDirectServerRow);
  EXPECT_EQ(tree.Expand(root), ExpandOutcome::kCancelled);
  EXPECT_TRUE(root->HasPlaceholder());
  EXPECT_EQ(listener.Count("collapse"), 0);

  dialogs.m_server = DirectServerChoice{"PLANTSRV01", "Velmora.SimServer.1", kFullServerClassId};
  EXPECT_EQ(tree.Expand(root), ExpandOutcome::kEnumerated);
  EXPECT_EQ(dialogs.m_nServerAsks, 2);
  ASSERT_EQ(Labels(root), (std::vector<std::string>{"PLANTSRV01"}));
  const CServerNode* server = root->Child(0)->Child(0);
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->Label(), "Velmora.SimServer.1 (Velmora.SimServer.1)");
  EXPECT_EQ(Labels(server), (std::vector<std::string>{kFullServerClassId}));
  const ServerSelection selection = tree.Select(server);
  EXPECT_EQ(selection.m_sServerId, "Velmora.SimServer.1");
  EXPECT_EQ(selection.m_sHost, "PLANTSRV01");
  EXPECT_EQ(selection.m_clsid, CLSID_VelmoraSimServer);
  EXPECT_TRUE(selection.m_bOkEnabled);
}

TEST_F(DirectSelection, DirectServerOkNeedsHost3ServerId5AndClassId34Characters) {
  const std::string classId(34, 'x');
  EXPECT_TRUE(DirectServerOkEnabled({"abc", "abcde", classId}));
  EXPECT_FALSE(DirectServerOkEnabled({"ab", "abcde", classId}));
  EXPECT_FALSE(DirectServerOkEnabled({"abc", "abcd", classId}));
  EXPECT_FALSE(DirectServerOkEnabled({"abc", "abcde", std::string(33, 'x')}));
  EXPECT_EQ(DirectServerLabel("Acme.Plant.2"), "Acme.Plant.2 (Acme.Plant.2)");
}

}  // namespace
