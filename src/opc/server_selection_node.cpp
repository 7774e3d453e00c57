#include "opc/server_selection_node.h"

CServerNode::CServerNode(ServerNodeKind kind, std::string label)
    : m_eKind(kind), m_sLabel(std::move(label)) {}

const CServerNode* CServerNode::Child(int row) const {
  if (row < 0 || row >= ChildCount())
    return nullptr;
  return m_children[static_cast<size_t>(row)].get();
}

CServerNode* CServerNode::MutableChild(int row) {
  if (row < 0 || row >= ChildCount())
    return nullptr;
  return m_children[static_cast<size_t>(row)].get();
}

bool CServerNode::HasPlaceholder() const {
  return m_children.size() == 1 && m_children.front()->Kind() == ServerNodeKind::kPlaceholder;
}

CServerNode& CServerNode::AddChild(std::unique_ptr<CServerNode> child) {
  child->m_pParent = this;
  child->m_nRow = ChildCount();
  m_children.push_back(std::move(child));
  return *m_children.back();
}

CServerNode& CServerNode::AddChild(ServerNodeKind kind, std::string label) {
  return AddChild(std::make_unique<CServerNode>(kind, std::move(label)));
}

std::vector<std::unique_ptr<CServerNode>> CServerNode::TakeChildren() {
  std::vector<std::unique_ptr<CServerNode>> children = std::move(m_children);
  m_children.clear();
  for (auto& child : children)
    child->m_pParent = nullptr;
  return children;
}

std::unique_ptr<CServerNode> MakeExpandableNode(ServerNodeKind kind, std::string label) {
  auto node = std::make_unique<CServerNode>(kind, std::move(label));
  node->AddChild(ServerNodeKind::kPlaceholder, kPlaceholderLabel);
  return node;
}
