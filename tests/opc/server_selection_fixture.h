#pragma once
// The server selection tree on the simulation servers and the simulated network, with a
// fake clock, a recorded log, a scripted prompt, a listener that records what it hears
// and scripted direct dialogs. The simulation runtime is reset around every case.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "opc/server_selection_tree.h"
#include "platform/sim/sim_runtime.h"
#include "test_context.h"

class CRecordingTreeListener : public IServerTreeListener {
 public:
  struct Event {
    std::string m_sWhat;  // "remove", "add", "mode", "collapse", "expand"
    const CServerNode* m_pNode;
    int m_nFirst;
    int m_nCount;
  };

  // Before a change the model must still see the old rows, after it the new ones.
  void BeforeRemoveChildren(const CServerNode& parent, int first, int count) override {
    EXPECT_EQ(parent.ChildCount(), first + count);
  }
  void AfterRemoveChildren(const CServerNode& parent, int first, int count) override {
    EXPECT_EQ(parent.ChildCount(), first);
    m_events.push_back({"remove", &parent, first, count});
  }
  void BeforeAddChildren(const CServerNode& parent, int first, int /*count*/) override {
    EXPECT_EQ(parent.ChildCount(), first);
  }
  void AfterAddChildren(const CServerNode& parent, int first, int count) override {
    EXPECT_EQ(parent.ChildCount(), first + count);
    m_events.push_back({"add", &parent, first, count});
    if (m_onAdded)
      m_onAdded();
  }
  void ModeChanged(EnumerationMode mode) override {
    m_modes.push_back(mode);
    m_events.push_back({"mode", nullptr, 0, 0});
  }
  void CollapseNode(const CServerNode& node) override {
    m_events.push_back({"collapse", &node, 0, 0});
  }
  void ExpandNode(const CServerNode& node) override { m_events.push_back({"expand", &node, 0, 0}); }

  // "remove 0 3", "add 0 2"... of the events about node's children.
  std::vector<std::string> ChangesOf(const CServerNode* node) const {
    std::vector<std::string> changes;
    for (const Event& event : m_events) {
      if (event.m_pNode == node && (event.m_sWhat == "remove" || event.m_sWhat == "add")) {
        changes.push_back(event.m_sWhat + " " + std::to_string(event.m_nFirst) + " " +
                          std::to_string(event.m_nCount));
      }
    }
    return changes;
  }
  int Count(const std::string& what) const {
    int count = 0;
    for (const Event& event : m_events)
      count += event.m_sWhat == what ? 1 : 0;
    return count;
  }

  std::vector<Event> m_events;
  std::vector<EnumerationMode> m_modes;
  std::function<void()> m_onAdded;
};

class CScriptedSelectionDialogs : public IServerSelectionDialogs {
 public:
  bool AskDirectHost(DirectHostChoice& choice) override {
    ++m_nHostAsks;
    if (!m_host)
      return false;
    choice = *m_host;
    return true;
  }
  bool AskDirectServer(DirectServerChoice& choice) override {
    ++m_nServerAsks;
    if (!m_server)
      return false;
    choice = *m_server;
    return true;
  }

  std::optional<DirectHostChoice> m_host;  // empty: Cancel
  std::optional<DirectServerChoice> m_server;
  int m_nHostAsks = 0;
  int m_nServerAsks = 0;
};

class ServerSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimRuntime& runtime = CSimRuntime::Instance();
    runtime.Reset();
    runtime.SetClock(&ctx.clock);
    runtime.SetComputerName("TESTPC");
  }
  void TearDown() override { CSimRuntime::Instance().Reset(); }

  // Loads a configuration of the simulated network (docs/simulation-servers.md).
  void Configure(const std::string& text) {
    std::string error;
    ASSERT_TRUE(CSimRuntime::Instance().LoadConfigurationText(text, &error)) << error;
  }

  // A tree opened now (the computer name is read when it opens), listener attached.
  CServerSelectionTree& OpenTree(EnumerationMode mode = EnumerationMode::kOpcEnum) {
    m_tree.emplace(ctx.context, mode);
    m_tree->SetListener(&listener);
    m_tree->SetDialogs(&dialogs);
    return *m_tree;
  }

  static std::vector<std::string> Labels(const CServerNode* node) {
    std::vector<std::string> labels;
    for (int row = 0; node != nullptr && row < node->ChildCount(); ++row)
      labels.push_back(node->Child(row)->Label());
    return labels;
  }

  static const CServerNode* ChildLabelled(const CServerNode* node, const std::string& label) {
    for (int row = 0; node != nullptr && row < node->ChildCount(); ++row) {
      if (node->Child(row)->Label() == label)
        return node->Child(row);
    }
    return nullptr;
  }

  // Expands "Network", the provider and the workgroup; the host node of that name.
  const CServerNode* NetworkHost(const std::string& remoteName,
                                 const std::string& workgroup = "WORKGROUP") {
    CServerSelectionTree& tree = *m_tree;
    const CServerNode* network = tree.Root(CServerSelectionTree::kNetworkRow);
    EXPECT_EQ(tree.Expand(network), ExpandOutcome::kEnumerated);
    const CServerNode* provider = ChildLabelled(network, "Microsoft Windows Network");
    EXPECT_EQ(tree.Expand(provider), ExpandOutcome::kEnumerated);
    const CServerNode* group = ChildLabelled(provider, workgroup);
    EXPECT_EQ(tree.Expand(group), ExpandOutcome::kEnumerated);
    return ChildLabelled(group, remoteName);
  }

  TestContext ctx;
  CRecordingTreeListener listener;
  CScriptedSelectionDialogs dialogs;
  std::optional<CServerSelectionTree> m_tree;
};

inline constexpr char kFullServerLabel[] = "Velmora Simulation Server (Velmora.SimServer.1)";
inline constexpr char kNoBrowseServerLabel[] =
    "Velmora Simulation Server without Browsing (Velmora.SimServerNoBrowse.1)";
inline constexpr char kFullServerClassId[] = "6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e01";
inline constexpr char kNoBrowseServerClassId[] = "6e0d3a11-5b7c-4c2e-9a41-3f1d2c7b8e03";
