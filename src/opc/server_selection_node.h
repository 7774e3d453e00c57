#pragma once
// CServerNode: one node of the server selection tree: its kind (the node's item data,
// with fixed numbers), its label, its children, and for a node found in the network
// neighbourhood a copy of its network resource, so that it can be enumerated later.
// A node keeps its address for its whole life; rows only change when a parent loses all
// of its children at once.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "opc/tree_placeholder.h"
#include "platform/net/network.h"

enum class ServerNodeKind : int {
  kLocalHost = 0,     // "Local Host (COMPUTER)": servers or the two category nodes
  kLocalServer = 1,   // a server of the local host: one class id node
  kCategory = 2,      // a component category of the registry: servers
  kNetwork = 3,       // the network root, a domain or workgroup, or a host typed by the user
  kNetworkHost = 4,   // a computer of the network ("\\HOST"): servers
  kRemoteServer = 5,  // a server of a remote host: one class id node
  kClassId = 6,       // the class id of its parent server, in text form
  kPlaceholder = 8,   // stands in for the children of a node not enumerated yet
  kDirectHostRoot = 9,
  kDirectServerRoot = 10,
  kFailureNote = 11,
};

class CServerNode {
 public:
  CServerNode(ServerNodeKind kind, std::string label);
  CServerNode(const CServerNode&) = delete;
  CServerNode& operator=(const CServerNode&) = delete;

  ServerNodeKind Kind() const { return m_eKind; }
  int KindNumber() const { return static_cast<int>(m_eKind); }
  const std::string& Label() const { return m_sLabel; }
  // Null for one of the tree's roots.
  const CServerNode* Parent() const { return m_pParent; }
  // The index among the parent's children, or among the tree's roots.
  int Row() const { return m_nRow; }
  int ChildCount() const { return static_cast<int>(m_children.size()); }
  // Null out of range.
  const CServerNode* Child(int row) const;
  // Null unless the node was found in the network neighbourhood.
  const NETRESOURCE* Resource() const { return m_resource ? &*m_resource : nullptr; }
  // True when the node's one child is the placeholder (not enumerated yet).
  bool HasPlaceholder() const;

  // Building a subtree that is not in a tree yet (the tree itself tells its listener).
  CServerNode& AddChild(std::unique_ptr<CServerNode> child);
  CServerNode& AddChild(ServerNodeKind kind, std::string label);
  void SetResource(const NETRESOURCE& resource) { m_resource = resource; }
  void SetRow(int row) { m_nRow = row; }
  CServerNode* MutableChild(int row);
  std::vector<std::unique_ptr<CServerNode>> TakeChildren();

 private:
  ServerNodeKind m_eKind;
  std::string m_sLabel;
  CServerNode* m_pParent = nullptr;
  int m_nRow = 0;
  std::vector<std::unique_ptr<CServerNode>> m_children;
  std::optional<NETRESOURCE> m_resource;
};

using ServerNodeList = std::vector<std::unique_ptr<CServerNode>>;

// A node that still has to be enumerated: its placeholder child included.
std::unique_ptr<CServerNode> MakeExpandableNode(ServerNodeKind kind, std::string label);
