#pragma once
// CServerSelectionTree: the tree of the server selection dialog without its window. Four
// roots (local host, "Network", "Direct Host Selection", "Direct Server Selection"),
// each node enumerated when it is expanded, and the selection of a server node. The GUI
// wraps it in an item model: the listener hears of every change of the children of a
// node before and after it happens, and node pointers stay valid until their node is
// removed. Thread rule: GUI thread only; an enumeration blocks (the GUI shows the wait
// cursor around Expand).
#include <array>
#include <memory>

#include "base/app_context.h"
#include "opc/server_selection_dialogs.h"
#include "opc/server_selection_node.h"
#include "opc/server_selection_rules.h"

enum class EnumerationMode {
  kOpcEnum,   // the OPC server enumerator of each host (the default)
  kRegistry,  // the component categories of the local registry: local host only
};

enum class ExpandOutcome {
  kIgnored,     // another expansion is running
  kUnchanged,   // nothing to enumerate: the children stay as they are
  kEnumerated,  // the children were made anew
  kFailed,      // the failure note is the only child (or the node was null)
  kCancelled,   // a direct dialog was cancelled: the placeholder is back
};

inline constexpr char kLocalHostRootName[] = "Local Host";
inline constexpr char kDirectHostRootLabel[] = "Direct Host Selection";
inline constexpr char kDirectServerRootLabel[] = "Direct Server Selection";
inline constexpr char kUnableToEnumerateMessage[] =
    "Internal Memory Error !!! Unable to Enumerate ... ";
inline constexpr char kRegistryNetworkSwitchLog[] =
    "Network Enumeration using Registry data is not possible ... Switch to Enumeration based on "
    "OPCEnum.exe";

class IServerTreeListener {
 public:
  virtual ~IServerTreeListener() = default;
  // Around the removal of the children first .. first + count - 1 of parent (with
  // everything below them).
  virtual void BeforeRemoveChildren(const CServerNode& parent, int first, int count) = 0;
  virtual void AfterRemoveChildren(const CServerNode& parent, int first, int count) = 0;
  // Around the addition of count children from row first; each comes with its subtree.
  virtual void BeforeAddChildren(const CServerNode& parent, int first, int count) = 0;
  virtual void AfterAddChildren(const CServerNode& parent, int first, int count) = 0;
  // The tree switched the mode itself (a network host expanded in registry mode).
  virtual void ModeChanged(EnumerationMode mode) = 0;
  // Show the node collapsed / expanded; nothing is enumerated by the tree for either.
  virtual void CollapseNode(const CServerNode& node) = 0;
  virtual void ExpandNode(const CServerNode& node) = 0;
};

class CServerSelectionTree {
 public:
  static constexpr int kRootCount = 4;
  static constexpr int kLocalHostRow = 0;
  static constexpr int kNetworkRow = 1;
  static constexpr int kDirectHostRow = 2;
  static constexpr int kDirectServerRow = 3;

  // Opens the tree: the four roots in their order, each with its placeholder.
  explicit CServerSelectionTree(AppContext& context,
                                EnumerationMode mode = EnumerationMode::kOpcEnum);
  CServerSelectionTree(const CServerSelectionTree&) = delete;
  CServerSelectionTree& operator=(const CServerSelectionTree&) = delete;

  // Not owned; null for none.
  void SetListener(IServerTreeListener* listener) { m_pListener = listener; }
  void SetDialogs(IServerSelectionDialogs* dialogs) { m_pDialogs = dialogs; }

  int RootCount() const { return kRootCount; }
  // Null out of range.
  const CServerNode* Root(int row) const;

  EnumerationMode Mode() const { return m_eMode; }
  // The radio buttons: the listener is not told.
  void SetMode(EnumerationMode mode) { m_eMode = mode; }
  bool IsExpanding() const { return m_bExpanding; }

  // Expanding a node, and F5 on the selected node: ignored while another expansion
  // runs; otherwise a node with something to enumerate loses all of its children first
  // and is enumerated from scratch by its kind. A null node or one of another tree is
  // shown as "Internal Memory Error !!! Unable to Enumerate ... ".
  ExpandOutcome Expand(const CServerNode* node);

  // The selection of a node (see SelectServerNode).
  ServerSelection Select(const CServerNode* node) const;

  // Closing the dialog (OK or Cancel): the children of the four roots are deleted.
  void Close();

 private:
  CServerNode* Owned(const CServerNode* node) const;
  void RemoveChildren(CServerNode& node);
  void AddChildren(CServerNode& node, ServerNodeList children);
  void PutPlaceholderBack(CServerNode& node);
  ExpandOutcome ExpandLocalHost(CServerNode& node);
  ExpandOutcome ExpandNetwork(CServerNode& node);
  ExpandOutcome ExpandNetworkHost(CServerNode& node);
  ExpandOutcome ExpandDirectHost(CServerNode& node);
  ExpandOutcome ExpandDirectServer(CServerNode& node);

  AppContext& m_context;
  IServerTreeListener* m_pListener = nullptr;
  IServerSelectionDialogs* m_pDialogs = nullptr;
  EnumerationMode m_eMode;
  bool m_bExpanding = false;
  std::array<std::unique_ptr<CServerNode>, kRootCount> m_roots;
};
