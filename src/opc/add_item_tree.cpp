#include "opc/add_item_tree.h"

#include <algorithm>

#include "opc/add_item_texts.h"

CBrowseNode::CBrowseNode(std::string label, CBrowseNode* parent, int row, int data)
    : m_sLabel(std::move(label)),
      m_pParent(parent),
      m_nRow(row),
      m_nDepth(parent != nullptr ? parent->m_nDepth + 1 : 0),
      m_nData(data) {}

CBrowseNode* CBrowseNode::Child(int row) const {
  if (row < 0 || row >= ChildCount())
    return nullptr;
  return m_children[static_cast<size_t>(row)].get();
}

CBrowseNode* CBrowseTree::SetRoot(const std::string& label, bool expandable) {
  Clear();
  if (m_pListener != nullptr)
    m_pListener->OnChildrenAboutToBeAdded(nullptr, 0, 0);
  m_pRoot.reset(new CBrowseNode(label, nullptr, 0, expandable ? kNodeNotExpanded : kNodeExpanded));
  if (expandable) {
    m_pRoot->m_children.emplace_back(
        new CBrowseNode(kPlaceholderLabel, m_pRoot.get(), 0, kNodePlaceholder));
  }
  if (m_pListener != nullptr)
    m_pListener->OnChildrenAdded(nullptr);
  return m_pRoot.get();
}

void CBrowseTree::Clear() {
  if (!m_pRoot)
    return;
  if (m_pListener != nullptr)
    m_pListener->OnChildrenAboutToBeRemoved(nullptr, 0, 0);
  m_pRoot.reset();
  if (m_pListener != nullptr)
    m_pListener->OnChildrenRemoved(nullptr);
}

void CBrowseTree::RemoveChildren(CBrowseNode& node) {
  if (node.m_children.empty())
    return;
  if (m_pListener != nullptr)
    m_pListener->OnChildrenAboutToBeRemoved(&node, 0, node.ChildCount() - 1);
  node.m_children.clear();
  if (m_pListener != nullptr)
    m_pListener->OnChildrenRemoved(&node);
}

void CBrowseTree::Expand(CBrowseNode& node, const std::vector<std::string>& branches) {
  RemoveChildren(node);
  node.m_nData = kNodeExpanded;
  if (branches.empty())
    return;
  // Children at the depth limit cannot be positioned below: no placeholder for them.
  const bool expandable = node.m_nDepth + 1 < kMaxBrowseDepth;
  if (m_pListener != nullptr)
    m_pListener->OnChildrenAboutToBeAdded(&node, 0, static_cast<int>(branches.size()) - 1);
  node.m_children.reserve(branches.size());
  for (const std::string& label : branches) {
    auto* child = new CBrowseNode(label, &node, node.ChildCount(),
                                  expandable ? kNodeNotExpanded : kNodeExpanded);
    node.m_children.emplace_back(child);
    if (expandable) {
      child->m_children.emplace_back(
          new CBrowseNode(kPlaceholderLabel, child, 0, kNodePlaceholder));
    }
  }
  if (m_pListener != nullptr)
    m_pListener->OnChildrenAdded(&node);
}

bool CBrowseTree::Contains(const CBrowseNode* node) const {
  while (node != nullptr && node->m_pParent != nullptr)
    node = node->m_pParent;
  return node != nullptr && node == m_pRoot.get();
}

std::vector<std::string> CBrowseTree::PathOf(const CBrowseNode& node) {
  std::vector<std::string> labels;
  for (const CBrowseNode* at = &node; at->m_pParent != nullptr; at = at->m_pParent)
    labels.push_back(at->m_sLabel);
  std::reverse(labels.begin(), labels.end());
  return labels;
}
