#pragma once
// Walking a server's address space through IOPCBrowseServerAddressSpace: the branches
// and the fully qualified ids of the leaves that pass the filters, in tree order.
// Thread rule: GUI thread (or the command-line tool's one thread).
#include <string>
#include <vector>

#include "platform/opc/opc_interfaces.h"

struct BrowseEntry {
  int m_nDepth = 0;  // 0: directly below the root
  bool m_bBranch = false;
  std::string m_sName;    // the branch or leaf name at its position
  std::string m_sItemId;  // leaves: the fully qualified ItemID
};

// Deeper branches than this are not entered (a guard against address spaces that loop).
inline constexpr int kMaxBrowseWalkDepth = 32;

// Every branch (each followed by what lies below it) and then every leaf matching filter,
// dataType (VT_EMPTY: any) and accessRights (0: any). A flat space gives its leaves only.
// Returns the first failing browse call's code; the entries found until then stay.
HRESULT WalkAddressSpace(IOPCBrowseServerAddressSpace& browse, const std::string& filter,
                         VARTYPE dataType, DWORD accessRights, std::vector<BrowseEntry>& entries);

// Takes every string of an enumerator, from its start.
std::vector<std::string> ReadEnumStrings(IEnumString& strings);
