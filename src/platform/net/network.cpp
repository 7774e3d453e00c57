// The network neighbourhood of this platform: the simulated network of the runtime, laid
// out as the Windows network shows it (provider, then workgroups, then computers).
#include "platform/net/network.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/sim/sim_runtime.h"

namespace {

struct EnumState {
  std::vector<NETRESOURCE> items;
  size_t position = 0;
};

std::set<EnumState*>& OpenEnumerations() {
  static std::set<EnumState*> open;
  return open;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

NETRESOURCE Container(const std::string& remoteName, DWORD displayType) {
  NETRESOURCE resource;
  resource.dwUsage = RESOURCEUSAGE_CONTAINER;
  resource.dwDisplayType = displayType;
  resource.lpRemoteName = remoteName;
  resource.lpProvider = kWindowsNetworkProvider;
  return resource;
}

NETRESOURCE Computer(const CSimHost& host) {
  NETRESOURCE resource = Container("\\\\" + host.m_sName, RESOURCEDISPLAYTYPE_SERVER);
  resource.lpComment = "Simulated host " + host.m_sAddress;
  return resource;
}

// The children of a container; false when the parent is not known.
bool Children(const NETRESOURCE* parent, std::vector<NETRESOURCE>& items) {
  CSimRuntime& runtime = CSimRuntime::Instance();
  if (parent == nullptr) {
    items.push_back(Container(kWindowsNetworkProvider, RESOURCEDISPLAYTYPE_NETWORK));
    return true;
  }
  const std::string& name = parent->lpRemoteName;
  if (name == kWindowsNetworkProvider) {
    for (const std::string& workgroup : runtime.Workgroups()) {
      items.push_back(Container(workgroup, RESOURCEDISPLAYTYPE_DOMAIN));
    }
    return true;
  }
  if (name.rfind("\\\\", 0) == 0) {
    const CSimHost* host = runtime.FindHost(name);
    if (host == nullptr) {
      return false;
    }
    NETRESOURCE share;
    share.dwType = RESOURCETYPE_DISK;
    share.dwUsage = RESOURCEUSAGE_CONNECTABLE;
    share.dwDisplayType = RESOURCEDISPLAYTYPE_SHARE;
    share.lpRemoteName = name + "\\Public";
    share.lpProvider = kWindowsNetworkProvider;
    items.push_back(share);
    return true;
  }
  const auto& workgroups = runtime.Workgroups();
  if (std::none_of(workgroups.begin(), workgroups.end(),
                   [&](const std::string& workgroup) { return SameName(workgroup, name); })) {
    return false;
  }
  if (SameName(runtime.LocalHost().m_sWorkgroup, name)) {
    items.push_back(Computer(runtime.LocalHost()));
  }
  for (const CSimHost& host : runtime.RemoteHosts()) {
    if (SameName(host.m_sWorkgroup, name)) {
      items.push_back(Computer(host));
    }
  }
  return true;
}

}  // namespace

DWORD WNetOpenEnum(DWORD /*dwScope*/, DWORD /*dwType*/, DWORD /*dwUsage*/,
                   const NETRESOURCE* parent, HANDLE* phEnum) {
  if (phEnum == nullptr) {
    return ERROR_INVALID_HANDLE;
  }
  *phEnum = nullptr;
  if (!CSimRuntime::Instance().NetworkAvailable()) {
    return ERROR_NO_NETWORK;
  }
  auto* state = new EnumState;
  if (!Children(parent, state->items)) {
    delete state;
    return ERROR_BAD_NETPATH;
  }
  OpenEnumerations().insert(state);
  *phEnum = state;
  return NO_ERROR;
}

DWORD WNetEnumResource(HANDLE hEnum, DWORD* pcCount, std::vector<NETRESOURCE>* pResources) {
  auto* state = static_cast<EnumState*>(hEnum);
  if (OpenEnumerations().count(state) == 0 || pcCount == nullptr || pResources == nullptr) {
    return ERROR_INVALID_HANDLE;
  }
  pResources->clear();
  if (state->position >= state->items.size()) {
    *pcCount = 0;
    return ERROR_NO_MORE_ITEMS;
  }
  const size_t left = state->items.size() - state->position;
  const size_t take = *pcCount == 0xFFFFFFFFu ? left : std::min<size_t>(left, *pcCount);
  pResources->assign(state->items.begin() + static_cast<std::ptrdiff_t>(state->position),
                     state->items.begin() + static_cast<std::ptrdiff_t>(state->position + take));
  state->position += take;
  *pcCount = static_cast<DWORD>(take);
  return NO_ERROR;
}

DWORD WNetCloseEnum(HANDLE hEnum) {
  auto* state = static_cast<EnumState*>(hEnum);
  if (OpenEnumerations().erase(state) == 0) {
    return ERROR_INVALID_HANDLE;
  }
  delete state;
  return NO_ERROR;
}

std::string GetLocalComputerName() {
  return CSimRuntime::Instance().ComputerName();
}

bool ResolveHostName(const std::string& name, std::string* address) {
  const CSimHost* host = CSimRuntime::Instance().FindHost(name);
  if (host == nullptr || name.empty()) {
    return false;
  }
  if (address != nullptr) {
    *address = host->m_sAddress;
  }
  return true;
}
