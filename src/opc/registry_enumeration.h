#pragma once
// The OPC servers recorded in the local registry under one component category, read
// through the component category manager (ICatInformation) and ProgIDFromCLSID. Local
// host only: the registry read is this machine's. Thread rule: GUI thread (or the
// command-line tool's one thread).
#include <string>
#include <vector>

#include "platform/com/guid.h"

inline constexpr char kCategoryDa10Label[] = "OPC Data Access Servers Version 1.0";
inline constexpr char kCategoryDa20Label[] = "OPC Data Access Servers Version 2.0";

struct RegistryServerEntry {
  CLSID m_clsid;
  std::string m_sProgId;  // as a 260-byte buffer holds it
};

struct RegistryEnumResult {
  // Failed: the manager or its enumerator could not be had; m_servers is then empty.
  HRESULT m_hr = S_OK;
  std::vector<RegistryServerEntry> m_servers;
};

// The classes implementing the category, in the manager's order; a class without a
// program id is left out.
RegistryEnumResult EnumerateServersInRegistry(const CATID& category);
