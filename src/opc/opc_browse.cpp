#include "opc/opc_browse.h"

#include "platform/com/com_ptr.h"

namespace {

constexpr char kAnyName[] = "*";
// Climbing to the root stops after this many steps even if the server never refuses.
constexpr int kMaxClimbSteps = 256;

HRESULT Browse(IOPCBrowseServerAddressSpace& browse, OPCBROWSETYPE type, const std::string& filter,
               VARTYPE dataType, DWORD accessRights, std::vector<std::string>& names) {
  names.clear();
  ComPtr<IEnumString> strings;
  const HRESULT hr = browse.BrowseOPCItemIDs(type, filter, dataType, accessRights,
                                             strings.ReleaseAndGetAddressOf());
  if (FAILED(hr))
    return hr;
  if (strings)
    names = ReadEnumStrings(*strings);
  return S_OK;
}

HRESULT AddLeaves(IOPCBrowseServerAddressSpace& browse, OPCBROWSETYPE type, int depth,
                  const std::string& filter, VARTYPE dataType, DWORD accessRights,
                  std::vector<BrowseEntry>& entries) {
  std::vector<std::string> leaves;
  const HRESULT hr = Browse(browse, type, filter, dataType, accessRights, leaves);
  if (FAILED(hr))
    return hr;
  for (const std::string& leaf : leaves) {
    BrowseEntry entry;
    entry.m_nDepth = depth;
    entry.m_sName = leaf;
    if (FAILED(browse.GetItemID(leaf, &entry.m_sItemId)) || entry.m_sItemId.empty())
      entry.m_sItemId = leaf;
    entries.push_back(std::move(entry));
  }
  return S_OK;
}

HRESULT WalkPosition(IOPCBrowseServerAddressSpace& browse, int depth, const std::string& filter,
                     VARTYPE dataType, DWORD accessRights, std::vector<BrowseEntry>& entries) {
  std::vector<std::string> branches;
  HRESULT hr = Browse(browse, OPC_BRANCH, kAnyName, VT_EMPTY, 0, branches);
  if (FAILED(hr))
    return hr;
  for (const std::string& branch : branches) {
    BrowseEntry entry;
    entry.m_nDepth = depth;
    entry.m_bBranch = true;
    entry.m_sName = branch;
    entries.push_back(std::move(entry));
    if (depth + 1 >= kMaxBrowseWalkDepth)
      continue;
    if (FAILED(browse.ChangeBrowsePosition(OPC_BROWSE_DOWN, branch)))
      continue;
    hr = WalkPosition(browse, depth + 1, filter, dataType, accessRights, entries);
    browse.ChangeBrowsePosition(OPC_BROWSE_UP, "");
    if (FAILED(hr))
      return hr;
  }
  return AddLeaves(browse, OPC_LEAF, depth, filter, dataType, accessRights, entries);
}

}  // namespace

std::vector<std::string> ReadEnumStrings(IEnumString& strings) {
  std::vector<std::string> names;
  strings.Reset();
  std::string name;
  ULONG fetched = 0;
  while (strings.Next(1, &name, &fetched) == S_OK && fetched == 1)
    names.push_back(name);
  return names;
}

HRESULT WalkAddressSpace(IOPCBrowseServerAddressSpace& browse, const std::string& filter,
                         VARTYPE dataType, DWORD accessRights, std::vector<BrowseEntry>& entries) {
  for (int i = 0; i < kMaxClimbSteps && SUCCEEDED(browse.ChangeBrowsePosition(OPC_BROWSE_UP, ""));
       ++i) {
  }
  OPCNAMESPACETYPE organization = OPC_NS_HIERARCHIAL;
  const HRESULT hr = browse.QueryOrganization(&organization);
  if (FAILED(hr))
    return hr;
  if (organization == OPC_NS_FLAT)
    return AddLeaves(browse, OPC_FLAT, 0, filter, dataType, accessRights, entries);
  return WalkPosition(browse, 0, filter, dataType, accessRights, entries);
}
