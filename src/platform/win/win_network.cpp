// The network neighbourhood and host names on Windows: the system's WNet enumeration
// and resolver, in the layer's shape. Replaces net/network.cpp of the simulation
// platform.
#include "platform/net/network.h"

#include "platform/win/win_bridge.h"

namespace {

winbridge::sys::NetResource ToBridge(const NETRESOURCE& resource) {
  winbridge::sys::NetResource result;
  result.scope = resource.dwScope;
  result.type = resource.dwType;
  result.displayType = resource.dwDisplayType;
  result.usage = resource.dwUsage;
  result.localName = resource.lpLocalName;
  result.remoteName = resource.lpRemoteName;
  result.comment = resource.lpComment;
  result.provider = resource.lpProvider;
  return result;
}

NETRESOURCE FromBridge(const winbridge::sys::NetResource& resource) {
  NETRESOURCE result;
  result.dwScope = resource.scope;
  result.dwType = resource.type;
  result.dwDisplayType = resource.displayType;
  result.dwUsage = resource.usage;
  result.lpLocalName = resource.localName;
  result.lpRemoteName = resource.remoteName;
  result.lpComment = resource.comment;
  result.lpProvider = resource.provider;
  return result;
}

}  // namespace

DWORD WNetOpenEnum(DWORD dwScope, DWORD dwType, DWORD dwUsage, const NETRESOURCE* parent,
                   HANDLE* phEnum) {
  if (phEnum == nullptr)
    return ERROR_INVALID_HANDLE;
  *phEnum = nullptr;
  if (parent == nullptr)
    return winbridge::sys::NetOpenEnum(dwScope, dwType, dwUsage, nullptr, phEnum);
  const winbridge::sys::NetResource resource = ToBridge(*parent);
  return winbridge::sys::NetOpenEnum(dwScope, dwType, dwUsage, &resource, phEnum);
}

DWORD WNetEnumResource(HANDLE hEnum, DWORD* pcCount, std::vector<NETRESOURCE>* pResources) {
  if (pcCount == nullptr || pResources == nullptr)
    return ERROR_INVALID_HANDLE;
  std::vector<winbridge::sys::NetResource> resources;
  uint32_t count = *pcCount;
  const DWORD code = winbridge::sys::NetEnumResource(hEnum, &count, &resources);
  *pcCount = count;
  pResources->clear();
  for (const winbridge::sys::NetResource& resource : resources)
    pResources->push_back(FromBridge(resource));
  return code;
}

DWORD WNetCloseEnum(HANDLE hEnum) {
  return winbridge::sys::NetCloseEnum(hEnum);
}

std::string GetLocalComputerName() {
  return winbridge::sys::ComputerName();
}

bool ResolveHostName(const std::string& name, std::string* address) {
  if (name.empty())
    return false;
  // The program's own name of the local machine is not a host name the resolver knows.
  const std::string host = name == "Local Host" ? "localhost" : name;
  return winbridge::sys::ResolveHost(host.rfind("\\\\", 0) == 0 ? host.substr(2) : host, address);
}
