#pragma once
// One level of the network neighbourhood as the server selection dialog reads it: the
// containers of the Windows network below a parent (domains, workgroups, computers).
// Thread rule: GUI thread (or the command-line tool's one thread).
#include <vector>

#include "base/log.h"
#include "platform/net/network.h"

struct NetworkEntry {
  NETRESOURCE m_resource;
  bool m_bHost = false;  // a computer ("\\HOST"), else a domain or workgroup
};

struct NetworkEnumResult {
  // false: the enumeration of an opened level failed (m_nCode says how).
  bool m_bOk = true;
  // What WNetOpenEnum answered; a level that cannot be opened counts as empty.
  DWORD m_nOpenCode = NO_ERROR;
  DWORD m_nCode = NO_ERROR;
  std::vector<NetworkEntry> m_entries;
};

// The containers of the "Microsoft Windows Network" provider below parent (null: the top
// of the neighbourhood), in the system's order; other resources are skipped. Logs the
// line that names the level on the "OPC Server" channel.
NetworkEnumResult EnumerateNetworkLevel(const CLog& log, const NETRESOURCE* parent);
