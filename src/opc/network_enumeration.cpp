#include "opc/network_enumeration.h"

#include <string>

namespace {

constexpr char kContainerLog[] = "Enumerating Containers and Hosts in Network Container ";
constexpr char kTopLog[] = "Enumerating Containers and Hosts in Network";
constexpr DWORD kAllEntries = 0xFFFFFFFF;

bool IsComputerName(const std::string& remoteName) {
  return remoteName.rfind("\\\\", 0) == 0;
}

}  // namespace

NetworkEnumResult EnumerateNetworkLevel(const CLog& log, const NETRESOURCE* parent) {
  log.Log(parent != nullptr ? kContainerLog + parent->lpRemoteName : std::string(kTopLog),
          kLogOpcServer);
  NetworkEnumResult result;
  HANDLE handle = nullptr;
  result.m_nOpenCode = WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, parent, &handle);
  if (handle == nullptr)
    return result;
  // One call for every entry: a level of the neighbourhood is small.
  std::vector<NETRESOURCE> resources;
  DWORD count = kAllEntries;
  result.m_nCode = WNetEnumResource(handle, &count, &resources);
  // ERROR_NO_MORE_ITEMS at once is an empty container, not a failure.
  if (result.m_nCode != NO_ERROR && result.m_nCode != ERROR_NO_MORE_ITEMS) {
    WNetCloseEnum(handle);
    result.m_bOk = false;
    return result;
  }
  for (const NETRESOURCE& resource : resources) {
    if ((resource.dwUsage & RESOURCEUSAGE_CONTAINER) == 0 ||
        resource.lpProvider != kWindowsNetworkProvider)
      continue;
    result.m_entries.push_back({resource, IsComputerName(resource.lpRemoteName)});
  }
  WNetCloseEnum(handle);
  return result;
}
