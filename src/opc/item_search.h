#pragma once
// Finding leaves anywhere below a branch of a server's address space by name pattern,
// data type and access rights, walking the branches through IOPCBrowseServerAddressSpace
// (ChangeBrowsePosition, BrowseOPCItemIDs, GetItemID). The fully qualified ids it returns
// can be added like leaves. The walk makes the same calls a bare loop would, so it costs
// little more than the server's answers. Thread rule: GUI thread (or the command-line
// tool's one thread).
#include <functional>
#include <string>
#include <vector>

#include "opc/opc_browse.h"
#include "platform/opc/opc_interfaces.h"

struct ItemSearchRequest {
  // Labels from below the root down to the branch searched; empty: the whole space.
  std::vector<std::string> m_startPath;
  // Matched by the server against the leaf names (in a flat space: the item ids).
  std::string m_sPattern = "*";
  VARTYPE m_vtDataType = VT_EMPTY;  // VT_EMPTY: any
  DWORD m_dwAccessRights = 0;       // 0: any
  // Branches deeper than this below the start are not entered.
  int m_nMaxDepth = kMaxBrowseWalkDepth;
};

struct ItemSearchProgress {
  int m_nBranchesVisited = 0;
  int m_nFound = 0;
};

// Called after each branch searched; returning false cancels the search.
using ItemSearchProgressFn = std::function<bool(const ItemSearchProgress&)>;

struct ItemSearchResult {
  // S_OK, or the first failing call (positioning, organization or branch listing); the ids
  // found until then stay.
  HRESULT m_hr = S_OK;
  bool m_bCancelled = false;
  int m_nBranchesVisited = 0;
  // Leaves whose GetItemID failed (left out of m_itemIds).
  int m_nUnresolved = 0;
  // Fully qualified ids in tree order: a branch's leaves, then its branches.
  std::vector<std::string> m_itemIds;
};

// The browse position is left at the start branch (the root when positioning failed).
ItemSearchResult SearchItems(IOPCBrowseServerAddressSpace& browse, const ItemSearchRequest& request,
                             const ItemSearchProgressFn& progress = {});

// ChangeBrowsePosition(up) until the server refuses (at most a bound of steps).
void ClimbToRoot(IOPCBrowseServerAddressSpace& browse);
