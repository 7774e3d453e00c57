#pragma once
// The browse tree of the add-item dialog: one root labelled with the server id, and below
// it the branches found so far. A branch not yet expanded has one placeholder child
// ("Dummy_Quorix_Item"). Nodes are owned by the tree and keep their address for the
// tree's life, so a GUI can use them as its model's internal pointers; every change of a
// node's children is announced to the listener before and after, as a
// QAbstractItemModel needs it (begin/endRemoveRows, begin/endInsertRows).
// Thread rule: GUI thread.
#include <memory>
#include <string>
#include <vector>

// Node data: a branch not yet expanded, an expanded one, the placeholder.
inline constexpr int kNodeNotExpanded = 0;
inline constexpr int kNodeExpanded = 1;
inline constexpr int kNodePlaceholder = 3;
// A node is positioned at most this many levels below the root.
inline constexpr int kMaxBrowseDepth = 8;

class CBrowseNode {
 public:
  CBrowseNode(const CBrowseNode&) = delete;
  CBrowseNode& operator=(const CBrowseNode&) = delete;

  const std::string& Label() const { return m_sLabel; }
  // Null for the root.
  CBrowseNode* Parent() const { return m_pParent; }
  // The position among the parent's children (0 for the root).
  int Row() const { return m_nRow; }
  // 0 for the root, 1 for its children...
  int Depth() const { return m_nDepth; }
  int Data() const { return m_nData; }
  bool IsPlaceholder() const { return m_nData == kNodePlaceholder; }
  bool IsExpanded() const { return m_nData == kNodeExpanded; }
  int ChildCount() const { return static_cast<int>(m_children.size()); }
  // Null outside 0..ChildCount()-1.
  CBrowseNode* Child(int row) const;

 private:
  friend class CBrowseTree;
  CBrowseNode(std::string label, CBrowseNode* parent, int row, int data);

  std::string m_sLabel;
  CBrowseNode* m_pParent;
  int m_nRow;
  int m_nDepth;
  int m_nData;
  std::vector<std::unique_ptr<CBrowseNode>> m_children;
};

// Told of every change of the tree. parent is null for the top level (the root itself).
class IBrowseTreeListener {
 public:
  virtual ~IBrowseTreeListener() = default;
  virtual void OnChildrenAboutToBeRemoved(const CBrowseNode* parent, int first, int last) = 0;
  virtual void OnChildrenRemoved(const CBrowseNode* parent) = 0;
  virtual void OnChildrenAboutToBeAdded(const CBrowseNode* parent, int first, int last) = 0;
  virtual void OnChildrenAdded(const CBrowseNode* parent) = 0;
};

class CBrowseTree {
 public:
  CBrowseTree() = default;
  CBrowseTree(const CBrowseTree&) = delete;
  CBrowseTree& operator=(const CBrowseTree&) = delete;

  // Not owned; null: nobody is told.
  void SetListener(IBrowseTreeListener* listener) { m_pListener = listener; }

  // Null while the tree is empty.
  CBrowseNode* Root() const { return m_pRoot.get(); }
  // Replaces the tree by a root; with a placeholder child when it can be expanded.
  CBrowseNode* SetRoot(const std::string& label, bool expandable);
  void Clear();
  // Replaces node's children (its placeholder) by one branch per label, each with a
  // placeholder unless it lies at the depth limit; marks node expanded.
  void Expand(CBrowseNode& node, const std::vector<std::string>& branches);
  // Whether node is this tree's.
  bool Contains(const CBrowseNode* node) const;
  // The labels from below the root down to node (empty for the root).
  static std::vector<std::string> PathOf(const CBrowseNode& node);

 private:
  void RemoveChildren(CBrowseNode& node);

  std::unique_ptr<CBrowseNode> m_pRoot;
  IBrowseTreeListener* m_pListener = nullptr;
};
