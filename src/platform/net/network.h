#pragma once
// The network neighbourhood and host name resolution, shaped like the system's WNet
// enumeration: providers, domains/workgroups and computers are containers enumerated
// one level at a time. Backed by the simulated network of the runtime (sim_runtime.h).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/com_types.h"

inline constexpr DWORD RESOURCE_GLOBALNET = 0x2;
inline constexpr DWORD RESOURCETYPE_ANY = 0x0;
inline constexpr DWORD RESOURCETYPE_DISK = 0x1;
inline constexpr DWORD RESOURCEUSAGE_CONNECTABLE = 0x1;
inline constexpr DWORD RESOURCEUSAGE_CONTAINER = 0x2;
inline constexpr DWORD RESOURCEUSAGE_ALL = 0x13;
inline constexpr DWORD RESOURCEDISPLAYTYPE_GENERIC = 0x0;
inline constexpr DWORD RESOURCEDISPLAYTYPE_DOMAIN = 0x1;
inline constexpr DWORD RESOURCEDISPLAYTYPE_SERVER = 0x2;
inline constexpr DWORD RESOURCEDISPLAYTYPE_SHARE = 0x3;
inline constexpr DWORD RESOURCEDISPLAYTYPE_NETWORK = 0x6;

// Win32 result codes of the enumeration.
inline constexpr DWORD NO_ERROR = 0;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
inline constexpr DWORD ERROR_BAD_NETPATH = 53;
inline constexpr DWORD ERROR_NO_NETWORK = 1222;

// The provider name every container of the Windows network carries.
inline constexpr const char* kWindowsNetworkProvider = "Microsoft Windows Network";

struct NETRESOURCE {
  DWORD dwScope = RESOURCE_GLOBALNET;
  DWORD dwType = RESOURCETYPE_ANY;
  DWORD dwDisplayType = RESOURCEDISPLAYTYPE_GENERIC;
  DWORD dwUsage = 0;
  std::string lpLocalName;
  std::string lpRemoteName;  // "Microsoft Windows Network", "WORKGROUP", "\\HOST"...
  std::string lpComment;
  std::string lpProvider;
};

using HANDLE = void*;

// Opens an enumeration of the children of parent (null: the top level). NO_ERROR and a
// handle, or ERROR_NO_NETWORK / ERROR_BAD_NETPATH.
DWORD WNetOpenEnum(DWORD dwScope, DWORD dwType, DWORD dwUsage, const NETRESOURCE* parent,
                   HANDLE* phEnum);
// Up to *pcCount resources (0xFFFFFFFF: all); ERROR_NO_MORE_ITEMS when done.
DWORD WNetEnumResource(HANDLE hEnum, DWORD* pcCount, std::vector<NETRESOURCE>* pResources);
DWORD WNetCloseEnum(HANDLE hEnum);

// The local computer's name (upper case, as the system gives it).
std::string GetLocalComputerName();
// Resolves a host name ("Local Host", "localhost", "HOST", "\\HOST", or an address) to
// its dotted address; false for an unknown name.
bool ResolveHostName(const std::string& name, std::string* address);
