#pragma once
// Helpers of the add-item session tests: an address space of endless depth (one branch
// "Level<n+1>" and one leaf "Value" at every level n) that can fail or throw on a chosen
// pattern, a recorder of the tree's change notifications, and lookups of tree nodes.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "opc/add_item_session.h"
#include "platform/com/enumerators.h"
#include "platform/opc/opc_interfaces.h"

class CDeepBrowse : public CComObjectRoot<IOPCBrowseServerAddressSpace> {
 public:
  HRESULT QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType) override {
    *pNameSpaceType = OPC_NS_HIERARCHIAL;
    return S_OK;
  }
  HRESULT ChangeBrowsePosition(OPCBROWSEDIRECTION direction, const std::string& name) override {
    if (direction == OPC_BROWSE_UP) {
      if (m_nDepth == 0)
        return E_FAIL;
      --m_nDepth;
      return S_OK;
    }
    if (direction == OPC_BROWSE_DOWN && name == BranchName(m_nDepth + 1)) {
      ++m_nDepth;
      m_nDeepest = std::max(m_nDeepest, m_nDepth);
      return S_OK;
    }
    return E_INVALIDARG;
  }
  HRESULT BrowseOPCItemIDs(OPCBROWSETYPE type, const std::string& filter, VARTYPE, DWORD,
                           IEnumString** ppIEnumString) override {
    *ppIEnumString = nullptr;
    if (filter == m_sFailingPattern) {
      if (m_bThrow)
        throw std::runtime_error("server fault");
      return m_hrFailure;
    }
    const std::string name = type == OPC_BRANCH ? BranchName(m_nDepth + 1) : "Value";
    *ppIEnumString = CreateStringEnumerator({name});
    return S_OK;
  }
  HRESULT GetItemID(const std::string& name, std::string* pszItemID) override {
    const std::string qualifiedEnd = ".Value";
    if (name.size() > qualifiedEnd.size() &&
        name.compare(name.size() - qualifiedEnd.size(), qualifiedEnd.size(), qualifiedEnd) == 0) {
      *pszItemID = name;  // already qualified
      return S_OK;
    }
    if (name != "Value")
      return OPC_E_UNKNOWNITEMID;
    std::string id;
    for (int level = 1; level <= m_nDepth; ++level)
      id += BranchName(level) + ".";
    *pszItemID = id + name;
    return S_OK;
  }
  HRESULT BrowseAccessPaths(const std::string&, IEnumString**) override { return E_NOTIMPL; }

  static std::string BranchName(int level) { return "Level" + std::to_string(level); }

  int m_nDepth = 0;
  int m_nDeepest = 0;
  std::string m_sFailingPattern = "Boom";
  HRESULT m_hrFailure = RPC_E_SERVERFAULT;
  bool m_bThrow = false;
};

// Every notification as a line: "before-remove <parent> <first> <last>", "removed <parent>",
// "before-add ...", "added ...". The parent is its label, "-" for the top level.
class CTreeRecorder : public IBrowseTreeListener {
 public:
  void OnChildrenAboutToBeRemoved(const CBrowseNode* parent, int first, int last) override {
    m_events.push_back("before-remove " + Name(parent) + " " + std::to_string(first) + " " +
                       std::to_string(last));
  }
  void OnChildrenRemoved(const CBrowseNode* parent) override {
    m_events.push_back("removed " + Name(parent));
  }
  void OnChildrenAboutToBeAdded(const CBrowseNode* parent, int first, int last) override {
    m_events.push_back("before-add " + Name(parent) + " " + std::to_string(first) + " " +
                       std::to_string(last));
  }
  void OnChildrenAdded(const CBrowseNode* parent) override {
    m_events.push_back("added " + Name(parent));
  }

  std::vector<std::string> m_events;

 private:
  static std::string Name(const CBrowseNode* node) { return node ? node->Label() : "-"; }
};

// The child of node labelled label; null when there is none.
inline const CBrowseNode* ChildLabelled(const CBrowseNode* node, const std::string& label) {
  for (int row = 0; node != nullptr && row < node->ChildCount(); ++row) {
    if (node->Child(row)->Label() == label)
      return node->Child(row);
  }
  return nullptr;
}

// Selects every node from the root down the labels (expanding each on the way) and returns
// the last; null when a label is missing or a selection failed.
inline const CBrowseNode* SelectPath(CAddItemSession& session,
                                     const std::vector<std::string>& labels) {
  const CBrowseNode* node = session.Tree().Root();
  if (node == nullptr || !session.SelectNode(node))
    return nullptr;
  for (const std::string& label : labels) {
    node = ChildLabelled(node, label);
    if (node == nullptr || !session.SelectNode(node))
      return nullptr;
  }
  return node;
}

// The positions 0..count-1 of a list.
inline std::vector<int> FirstRows(int count) {
  std::vector<int> rows;
  for (int i = 0; i < count; ++i)
    rows.push_back(i);
  return rows;
}
