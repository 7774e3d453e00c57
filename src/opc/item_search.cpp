#include "opc/item_search.h"

#include "platform/com/com_ptr.h"

namespace {

constexpr char kAnyName[] = "*";
// Climbing to the root stops after this many steps even if the server never refuses.
constexpr int kMaxClimbSteps = 256;

class CItemSearch {
 public:
  CItemSearch(IOPCBrowseServerAddressSpace& browse, const ItemSearchRequest& request,
              const ItemSearchProgressFn& progress, ItemSearchResult& result)
      : m_browse(browse), m_request(request), m_progress(progress), m_result(result) {}

  // Searches the current position and below; false once cancelled or failed.
  bool Walk(int depth);
  // The whole flat space in one call.
  void SearchFlat();

 private:
  bool AddLeaves();
  bool Report();

  IOPCBrowseServerAddressSpace& m_browse;
  const ItemSearchRequest& m_request;
  const ItemSearchProgressFn& m_progress;
  ItemSearchResult& m_result;
  std::string m_sName;  // reused for every string taken from an enumerator
  std::string m_sItemId;
};

bool CItemSearch::AddLeaves() {
  ComPtr<IEnumString> strings;
  const HRESULT hr =
      m_browse.BrowseOPCItemIDs(OPC_LEAF, m_request.m_sPattern, m_request.m_vtDataType,
                                m_request.m_dwAccessRights, strings.ReleaseAndGetAddressOf());
  if (FAILED(hr)) {
    m_result.m_hr = hr;
    return false;
  }
  if (!strings)
    return true;
  strings->Reset();
  ULONG fetched = 0;
  while (strings->Next(1, &m_sName, &fetched) == S_OK && fetched == 1) {
    if (SUCCEEDED(m_browse.GetItemID(m_sName, &m_sItemId)) && !m_sItemId.empty())
      m_result.m_itemIds.push_back(m_sItemId);
    else
      ++m_result.m_nUnresolved;
  }
  return true;
}

bool CItemSearch::Report() {
  ++m_result.m_nBranchesVisited;
  if (!m_progress)
    return true;
  const ItemSearchProgress progress{m_result.m_nBranchesVisited,
                                    static_cast<int>(m_result.m_itemIds.size())};
  if (m_progress(progress))
    return true;
  m_result.m_bCancelled = true;
  return false;
}

bool CItemSearch::Walk(int depth) {
  if (!AddLeaves() || !Report())
    return false;
  if (depth >= m_request.m_nMaxDepth)
    return true;
  std::vector<std::string> branches;
  {
    ComPtr<IEnumString> strings;
    const HRESULT hr = m_browse.BrowseOPCItemIDs(OPC_BRANCH, kAnyName, VT_EMPTY, 0,
                                                 strings.ReleaseAndGetAddressOf());
    if (FAILED(hr)) {
      m_result.m_hr = hr;
      return false;
    }
    if (strings)
      branches = ReadEnumStrings(*strings);
  }
  for (const std::string& branch : branches) {
    if (FAILED(m_browse.ChangeBrowsePosition(OPC_BROWSE_DOWN, branch)))
      continue;
    const bool go = Walk(depth + 1);
    m_browse.ChangeBrowsePosition(OPC_BROWSE_UP, "");
    if (!go)
      return false;
  }
  return true;
}

void CItemSearch::SearchFlat() {
  ComPtr<IEnumString> strings;
  const HRESULT hr =
      m_browse.BrowseOPCItemIDs(OPC_FLAT, m_request.m_sPattern, m_request.m_vtDataType,
                                m_request.m_dwAccessRights, strings.ReleaseAndGetAddressOf());
  if (FAILED(hr)) {
    m_result.m_hr = hr;
    return;
  }
  // A flat listing names the items by their fully qualified ids already.
  if (strings)
    m_result.m_itemIds = ReadEnumStrings(*strings);
  Report();
}

}  // namespace

void ClimbToRoot(IOPCBrowseServerAddressSpace& browse) {
  for (int i = 0; i < kMaxClimbSteps && SUCCEEDED(browse.ChangeBrowsePosition(OPC_BROWSE_UP, ""));
       ++i) {
  }
}

ItemSearchResult SearchItems(IOPCBrowseServerAddressSpace& browse, const ItemSearchRequest& request,
                             const ItemSearchProgressFn& progress) {
  ItemSearchResult result;
  CItemSearch search(browse, request, progress, result);
  ClimbToRoot(browse);
  OPCNAMESPACETYPE organization = OPC_NS_HIERARCHIAL;
  result.m_hr = browse.QueryOrganization(&organization);
  if (FAILED(result.m_hr))
    return result;
  result.m_hr = S_OK;
  if (organization == OPC_NS_FLAT) {
    search.SearchFlat();
    return result;
  }
  for (const std::string& label : request.m_startPath) {
    const HRESULT hr = browse.ChangeBrowsePosition(OPC_BROWSE_DOWN, label);
    if (FAILED(hr)) {
      result.m_hr = hr;
      ClimbToRoot(browse);
      return result;
    }
  }
  search.Walk(0);
  return result;
}
