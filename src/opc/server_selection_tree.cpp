#include "opc/server_selection_tree.h"

#include "base/log.h"
#include "opc/server_selection_children.h"
#include "platform/net/network.h"

namespace {

// Sets the re-entrancy flag for the lifetime of one expansion.
class CExpansionGuard {
 public:
  explicit CExpansionGuard(bool& flag) : m_bFlag(flag) { m_bFlag = true; }
  ~CExpansionGuard() { m_bFlag = false; }
  CExpansionGuard(const CExpansionGuard&) = delete;
  CExpansionGuard& operator=(const CExpansionGuard&) = delete;

 private:
  bool& m_bFlag;
};

}  // namespace

CServerSelectionTree::CServerSelectionTree(AppContext& context, EnumerationMode mode)
    : m_context(context), m_eMode(mode) {
  m_roots[kLocalHostRow] = MakeExpandableNode(
      ServerNodeKind::kLocalHost,
      Format(kLocalHostLabelFormat, kLocalHostRootName, GetLocalComputerName().c_str()));
  m_roots[kNetworkRow] = MakeExpandableNode(ServerNodeKind::kNetwork, kNetworkLabel);
  m_roots[kDirectHostRow] =
      MakeExpandableNode(ServerNodeKind::kDirectHostRoot, kDirectHostRootLabel);
  m_roots[kDirectServerRow] =
      MakeExpandableNode(ServerNodeKind::kDirectServerRoot, kDirectServerRootLabel);
  for (int row = 0; row < kRootCount; ++row)
    m_roots[static_cast<size_t>(row)]->SetRow(row);
}

const CServerNode* CServerSelectionTree::Root(int row) const {
  if (row < 0 || row >= kRootCount)
    return nullptr;
  return m_roots[static_cast<size_t>(row)].get();
}

CServerNode* CServerSelectionTree::Owned(const CServerNode* node) const {
  if (node == nullptr)
    return nullptr;
  const CServerNode* top = node;
  while (top->Parent() != nullptr)
    top = top->Parent();
  for (const auto& root : m_roots) {
    if (root.get() == top)
      return const_cast<CServerNode*>(node);  // every node of the tree is ours to change
  }
  return nullptr;
}

void CServerSelectionTree::RemoveChildren(CServerNode& node) {
  const int count = node.ChildCount();
  if (count == 0)
    return;
  if (m_pListener != nullptr)
    m_pListener->BeforeRemoveChildren(node, 0, count);
  node.TakeChildren();  // deleted here, with everything below them
  if (m_pListener != nullptr)
    m_pListener->AfterRemoveChildren(node, 0, count);
}

void CServerSelectionTree::AddChildren(CServerNode& node, ServerNodeList children) {
  if (children.empty())
    return;
  const int first = node.ChildCount();
  const int count = static_cast<int>(children.size());
  if (m_pListener != nullptr)
    m_pListener->BeforeAddChildren(node, first, count);
  for (auto& child : children)
    node.AddChild(std::move(child));
  if (m_pListener != nullptr)
    m_pListener->AfterAddChildren(node, first, count);
}

void CServerSelectionTree::PutPlaceholderBack(CServerNode& node) {
  ServerNodeList placeholder;
  placeholder.push_back(
      std::make_unique<CServerNode>(ServerNodeKind::kPlaceholder, kPlaceholderLabel));
  AddChildren(node, std::move(placeholder));
}

ExpandOutcome CServerSelectionTree::Expand(const CServerNode* target) {
  if (m_bExpanding)
    return ExpandOutcome::kIgnored;
  CServerNode* node = Owned(target);
  if (node == nullptr) {
    m_context.prompt.ShowMessage(kUnableToEnumerateMessage, MessageButtons::kOk,
                                 MessageIcon::kError);
    return ExpandOutcome::kFailed;
  }
  CExpansionGuard guard(m_bExpanding);
  switch (node->Kind()) {
    case ServerNodeKind::kLocalHost:
      return ExpandLocalHost(*node);
    case ServerNodeKind::kNetwork:
      return ExpandNetwork(*node);
    case ServerNodeKind::kNetworkHost:
      return ExpandNetworkHost(*node);
    case ServerNodeKind::kDirectHostRoot:
      return ExpandDirectHost(*node);
    case ServerNodeKind::kDirectServerRoot:
      return ExpandDirectServer(*node);
    default:
      // Servers, class ids, categories, notes: filled when they were made.
      return ExpandOutcome::kUnchanged;
  }
}

ExpandOutcome CServerSelectionTree::ExpandLocalHost(CServerNode& node) {
  RemoveChildren(node);
  if (m_eMode == EnumerationMode::kRegistry) {
    AddChildren(node, RegistryCategoryNodes());
    return ExpandOutcome::kEnumerated;
  }
  ServerNodeList children;
  const bool listed =
      OpcEnumHostChildren(m_context, kLocalHostRootName, ServerNodeKind::kLocalServer, children);
  AddChildren(node, std::move(children));
  return listed ? ExpandOutcome::kEnumerated : ExpandOutcome::kFailed;
}

ExpandOutcome CServerSelectionTree::ExpandNetwork(CServerNode& node) {
  const bool isRoot = &node == m_roots[kNetworkRow].get();
  // A host typed in a direct dialog has no resource: its servers are all it has.
  if (!isRoot && node.Resource() == nullptr)
    return ExpandOutcome::kUnchanged;
  // Hosts typed in the direct host dialog are kept when the network is listed again.
  ServerNodeList typed;
  if (isRoot) {
    for (int row = 0; row < node.ChildCount(); ++row) {
      const CServerNode& child = *node.Child(row);
      if (child.Kind() == ServerNodeKind::kNetwork && child.Resource() == nullptr)
        typed.push_back(CopyTypedHost(child));
    }
  }
  RemoveChildren(node);
  ServerNodeList children;
  const bool listed = NetworkChildren(m_context.log, isRoot ? nullptr : node.Resource(), children);
  for (auto& host : typed)
    children.push_back(std::move(host));
  AddChildren(node, std::move(children));
  return listed ? ExpandOutcome::kEnumerated : ExpandOutcome::kFailed;
}

ExpandOutcome CServerSelectionTree::ExpandNetworkHost(CServerNode& node) {
  RemoveChildren(node);
  if (m_eMode == EnumerationMode::kRegistry) {
    m_context.log.Log(kRegistryNetworkSwitchLog, kLogOpcServer);
    m_eMode = EnumerationMode::kOpcEnum;
    if (m_pListener != nullptr)
      m_pListener->ModeChanged(m_eMode);
  }
  ServerNodeList children;
  const bool listed =
      OpcEnumHostChildren(m_context, node.Label(), ServerNodeKind::kRemoteServer, children);
  AddChildren(node, std::move(children));
  return listed ? ExpandOutcome::kEnumerated : ExpandOutcome::kFailed;
}

ExpandOutcome CServerSelectionTree::ExpandDirectHost(CServerNode& node) {
  RemoveChildren(node);
  DirectHostChoice choice;
  const bool chosen = m_pDialogs != nullptr && m_pDialogs->AskDirectHost(choice);
  // The root only opens the dialog: it stays ready to open it again.
  PutPlaceholderBack(node);
  if (m_pListener != nullptr)
    m_pListener->CollapseNode(node);
  if (!chosen)
    return ExpandOutcome::kCancelled;
  // The typed host joins the hosts of the network. A network root not enumerated yet
  // loses its placeholder, so that the host is not swept away by a later expansion;
  // F5 on it still enumerates the network and keeps the typed hosts.
  CServerNode& network = *m_roots[kNetworkRow];
  if (network.HasPlaceholder())
    RemoveChildren(network);
  ServerNodeList children;
  children.push_back(MakeDirectHostNode(choice));
  AddChildren(network, std::move(children));
  if (m_pListener != nullptr) {
    const CServerNode& host = *network.Child(network.ChildCount() - 1);
    m_pListener->ExpandNode(network);
    m_pListener->ExpandNode(host);
    for (int row = 0; row < host.ChildCount(); ++row)
      m_pListener->ExpandNode(*host.Child(row));
  }
  return ExpandOutcome::kEnumerated;
}

ExpandOutcome CServerSelectionTree::ExpandDirectServer(CServerNode& node) {
  RemoveChildren(node);
  DirectServerChoice choice;
  if (m_pDialogs == nullptr || !m_pDialogs->AskDirectServer(choice)) {
    PutPlaceholderBack(node);
    return ExpandOutcome::kCancelled;
  }
  ServerNodeList children;
  children.push_back(MakeDirectServerNode(choice));
  AddChildren(node, std::move(children));
  return ExpandOutcome::kEnumerated;
}

ServerSelection CServerSelectionTree::Select(const CServerNode* node) const {
  return SelectServerNode(node, m_context.prompt);
}

void CServerSelectionTree::Close() {
  for (auto& root : m_roots)
    RemoveChildren(*root);
}
