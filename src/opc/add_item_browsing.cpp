// CAddItemSession: selecting a tree node (positioning, counting, expanding, the leaf list)
// and searching below it.
#include "base/log.h"
#include "opc/add_item_session.h"
#include "opc/add_item_texts.h"

namespace {

constexpr char kAnyName[] = "*";

}  // namespace

bool CAddItemSession::SelectNode(const CBrowseNode* node) {
  if (!m_pBrowse || node == nullptr || node->IsPlaceholder() || node->Depth() > kMaxBrowseDepth ||
      !m_tree.Contains(node)) {
    return false;
  }
  // The tree is ours: the node may change (its expansion).
  CBrowseNode& target = const_cast<CBrowseNode&>(*node);
  m_pSelected = node;
  m_bAtSelection = PositionAt(CBrowseTree::PathOf(target));
  if (!m_bAtSelection) {
    if (m_pListListener != nullptr)
      m_pListListener->OnLeavesAboutToChange();
    m_leaves.clear();
    if (m_pListListener != nullptr)
      m_pListListener->OnLeavesChanged();
    return false;
  }
  m_nBranchCount = CountItems(OPC_BRANCH);
  m_nLeafCount = CountItems(OPC_LEAF);
  if (!target.IsExpanded())
    ExpandNode(target);
  UpdateLeafList();
  return true;
}

bool CAddItemSession::PositionAt(const std::vector<std::string>& labels) {
  ClimbToRoot(*m_pBrowse);
  for (const std::string& label : labels) {
    if (FAILED(m_pBrowse->ChangeBrowsePosition(OPC_BROWSE_DOWN, label)))
      return false;
  }
  return true;
}

bool CAddItemSession::RepositionAtSelection() {
  if (!m_pBrowse)
    return false;
  if (!m_bAtSelection) {
    m_bAtSelection =
        m_pSelected != nullptr ? PositionAt(CBrowseTree::PathOf(*m_pSelected)) : PositionAt({});
  }
  return m_bAtSelection;
}

int CAddItemSession::CountItems(OPCBROWSETYPE type) {
  ComPtr<IEnumString> strings;
  const HRESULT hr =
      m_pBrowse->BrowseOPCItemIDs(type, kAnyName, VT_EMPTY, 0, strings.ReleaseAndGetAddressOf());
  if (!strings) {
    const std::string text = BrowseFailureText(hr, BrowseCallPlace::kItemCount);
    if (!text.empty())
      m_server.Context().log.Log(text, kLogOpcServer);
    return 0;
  }
  int count = 0;
  std::string name;
  ULONG fetched = 0;
  strings->Reset();
  while (strings->Next(1, &name, &fetched) == S_OK && fetched == 1)
    ++count;
  return count;
}

void CAddItemSession::ExpandNode(CBrowseNode& node) {
  // The last level's branches cannot be positioned below: nothing to expand there.
  std::vector<std::string> branches;
  if (node.Depth() < kMaxBrowseDepth) {
    ComPtr<IEnumString> strings;
    m_pBrowse->BrowseOPCItemIDs(OPC_BRANCH, kAnyName, VT_EMPTY, 0,
                                strings.ReleaseAndGetAddressOf());
    if (strings) {
      for (std::string& branch : ReadEnumStrings(*strings))
        branches.push_back(CutToBuffer(branch, kNameBufferBytes));
    }
  }
  m_tree.Expand(node, branches);
}

void CAddItemSession::UpdateLeafList() {
  if (m_pListListener != nullptr)
    m_pListListener->OnLeavesAboutToChange();
  m_leaves.clear();
  const OPCBROWSETYPE type = m_eOrganization == OPC_NS_FLAT ? OPC_FLAT : OPC_LEAF;
  ComPtr<IEnumString> strings;
  HRESULT hr = E_FAIL;
  bool thrown = false;
  try {
    hr = m_pBrowse->BrowseOPCItemIDs(type, m_sNamePattern, DataTypeFilterType(),
                                     AccessFilterRights(), strings.ReleaseAndGetAddressOf());
  } catch (...) {
    thrown = true;
    hr = RPC_E_SERVERFAULT;
  }
  if (thrown || !strings) {
    const std::string text = BrowseFailureText(hr, BrowseCallPlace::kLeafList);
    if (!text.empty())
      m_server.Context().log.Log(text, kLogOpcServer);
    if (hr == RPC_E_SERVERFAULT)
      DropBrowsing();
  } else {
    // Filters only narrow the count taken with "*": enough room for every row.
    m_leaves.reserve(static_cast<size_t>(m_nLeafCount));
    std::string name;
    ULONG fetched = 0;
    strings->Reset();
    while (strings->Next(1, &name, &fetched) == S_OK && fetched == 1) {
      if (name.size() >= kNameBufferBytes)
        name = CutToBuffer(name, kNameBufferBytes);
      m_leaves.push_back(std::move(name));
    }
  }
  if (m_pListListener != nullptr)
    m_pListListener->OnLeavesChanged();
}

void CAddItemSession::DropBrowsing() {
  m_pBrowse.Reset();
  m_bAtSelection = false;
  m_leaves.clear();
}

ItemSearchResult CAddItemSession::SearchLeaves(const ItemSearchProgressFn& progress) {
  if (!m_pBrowse)
    return ItemSearchResult{E_FAIL, false, 0, 0, {}};
  ItemSearchRequest request;
  if (m_pSelected != nullptr)
    request.m_startPath = CBrowseTree::PathOf(*m_pSelected);
  request.m_sPattern = m_sNamePattern;
  request.m_vtDataType = DataTypeFilterType();
  request.m_dwAccessRights = AccessFilterRights();
  m_bAtSelection = false;  // the walk moves the server's position
  return SearchItems(*m_pBrowse, request, progress);
}
