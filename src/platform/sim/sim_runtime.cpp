#include "platform/sim/sim_runtime.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/com/category.h"
#include "platform/opc/opc_enum.h"
#include "platform/opc/opc_types.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_server_core.h"

namespace {

constexpr const char* kDefaultWorkgroup = "WORKGROUP";
constexpr const char* kDefaultRemoteHost = "PLANTSRV01";
constexpr const char* kDefaultRemoteAddress = "192.168.1.20";
constexpr const char* kLocalHostText = "Local Host";
constexpr const char* kFallbackComputerName = "VELMORA-PC";

std::string Upper(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return text;
}

bool SameName(const std::string& a, const std::string& b) {
  return Upper(a) == Upper(b);
}

std::string SystemComputerName() {
#ifdef _WIN32
  const char* computer = std::getenv("COMPUTERNAME");
  if (computer == nullptr || computer[0] == '\0') {
    return kFallbackComputerName;
  }
  std::string name(computer);
#else
  char buffer[256] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == '\0') {
    return kFallbackComputerName;
  }
  std::string name(buffer);
#endif
  const size_t dot = name.find('.');  // the NetBIOS-like short name
  return Upper(dot == std::string::npos ? name : name.substr(0, dot));
}

CSimClass ServerListClass() {
  return {CLSID_OpcServerList,
          "OPC.ServerList.1",
          "OPC Server Enumerator",
          {},
          SimServerKind::kServerList};
}

CSimClass CategoryManagerClass() {
  return {CLSID_StdComponentCategoriesMgr,
          "",
          "Component Categories Manager",
          {},
          SimServerKind::kCategoryManager};
}

SystemClock& DefaultClock() {
  static SystemClock clock;
  return clock;
}

const CSimFaults& NoFaults() {
  static const CSimFaults faults;
  return faults;
}

}  // namespace

const CSimClass* CSimHost::FindClass(const CLSID& clsid) const {
  for (const CSimClass& simClass : m_classes) {
    if (simClass.m_clsid == clsid) {
      return &simClass;
    }
  }
  return nullptr;
}

const CSimClass* CSimHost::FindProgId(const std::string& progId) const {
  for (const CSimClass& simClass : m_classes) {
    if (!simClass.m_sProgId.empty() && SameName(simClass.m_sProgId, progId)) {
      return &simClass;
    }
  }
  return nullptr;
}

std::vector<CSimClass> CSimRuntime::StandardServerClasses() {
  return {
      {CLSID_VelmoraSimServer,
       kSimServerProgId,
       "Velmora Simulation Server",
       {CATID_OPCDAServer10, CATID_OPCDAServer20},
       SimServerKind::kFull},
      {CLSID_VelmoraSimServerDA1,
       kSimServerDa1ProgId,
       "Velmora Simulation Server DA 1.0",
       {CATID_OPCDAServer10},
       SimServerKind::kDa1},
      {CLSID_VelmoraSimServerNoBrowse,
       kSimServerNoBrowseProgId,
       "Velmora Simulation Server without Browsing",
       {CATID_OPCDAServer20},
       SimServerKind::kNoBrowse},
  };
}

CSimRuntime& CSimRuntime::Instance() {
  static CSimRuntime runtime;
  return runtime;
}

CSimRuntime::CSimRuntime() {
  Reset();
}

void CSimRuntime::Reset() {
  m_pClock = nullptr;
  m_dispatcher = nullptr;
  m_faults.clear();
  m_deathTicks.clear();
  m_bNetworkAvailable = true;
  m_sComputerName = SystemComputerName();

  m_localHost = CSimHost{};
  m_localHost.m_sName = m_sComputerName;
  m_localHost.m_sAddress = "127.0.0.1";
  m_localHost.m_sWorkgroup = kDefaultWorkgroup;
  m_localHost.m_classes = StandardServerClasses();
  m_localHost.m_classes.push_back(ServerListClass());
  m_localHost.m_classes.push_back(CategoryManagerClass());

  CSimHost remote;
  remote.m_sName = kDefaultRemoteHost;
  remote.m_sAddress = kDefaultRemoteAddress;
  remote.m_sWorkgroup = kDefaultWorkgroup;
  remote.m_classes = StandardServerClasses();
  remote.m_classes.push_back(ServerListClass());
  m_remoteHosts = {remote};
  m_workgroups = {kDefaultWorkgroup};
}

void CSimRuntime::SetComputerName(const std::string& name) {
  m_sComputerName = Upper(name);
  m_localHost.m_sName = m_sComputerName;
}

void CSimRuntime::SetClock(IClock* clock) {
  m_pClock = clock;
}

IClock& CSimRuntime::Clock() const {
  return m_pClock != nullptr ? *m_pClock : DefaultClock();
}

void CSimRuntime::SetDispatcher(CallDispatcher dispatcher) {
  m_dispatcher = std::move(dispatcher);
}

void CSimRuntime::Dispatch(std::function<void()> call) const {
  if (m_dispatcher) {
    m_dispatcher(std::move(call));
  } else {
    call();
  }
}

CSimFaults& CSimRuntime::Faults(const std::string& progId) {
  for (auto& entry : m_faults) {
    if (SameName(entry.first, progId)) {
      return entry.second;
    }
  }
  m_faults.emplace_back(progId, CSimFaults{});
  return m_faults.back().second;
}

const CSimFaults& CSimRuntime::FaultsFor(const std::string& progId) const {
  const CSimFaults* any = nullptr;
  for (const auto& entry : m_faults) {
    if (SameName(entry.first, progId)) {
      return entry.second;
    }
    if (entry.first == "*") {
      any = &entry.second;
    }
  }
  return any != nullptr ? *any : NoFaults();
}

void CSimRuntime::ClearFaults() {
  m_faults.clear();
  m_deathTicks.clear();
}

void CSimRuntime::NoteServerDeath(const std::string& progId, uint32_t deathTick) {
  for (auto& entry : m_deathTicks) {
    if (SameName(entry.first, progId)) {
      // Signed difference: the tick count may wrap.
      if (static_cast<int32_t>(deathTick - entry.second) > 0) {
        entry.second = deathTick;
      }
      return;
    }
  }
  m_deathTicks.emplace_back(progId, deathTick);
}

bool CSimRuntime::ServerProcessDown(const std::string& progId) {
  for (CSimServerCore* server : m_servers) {
    if (SameName(server->ProgId(), progId)) {
      server->NoteDeath();
    }
  }
  const int64_t reviveAfterMs = FaultsFor(progId).m_nReviveAfterMs;
  if (reviveAfterMs < 0) {
    return false;
  }
  for (const auto& entry : m_deathTicks) {
    if (SameName(entry.first, progId)) {
      return Clock().TickCount() - entry.second < reviveAfterMs;
    }
  }
  return false;
}

int CSimRuntime::RequestShutdown(const std::string& progId, const std::string& reason) {
  int asked = 0;
  // Copied: a shutdown handled at once may release servers and change the list.
  const std::vector<CSimServerCore*> servers = m_servers;
  for (CSimServerCore* server : servers) {
    if (std::find(m_servers.begin(), m_servers.end(), server) == m_servers.end()) {
      continue;
    }
    if (progId.empty() || SameName(server->ProgId(), progId)) {
      asked += server->SendShutdown(reason);
    }
  }
  return asked;
}

const CSimHost* CSimRuntime::FindHost(const std::string& input) const {
  std::string name = input;
  while (!name.empty() && name.front() == '\\') {
    name.erase(0, 1);
  }
  if (name.empty() || input == kLocalHostText || SameName(name, "localhost") ||
      name == "127.0.0.1" || SameName(name, m_sComputerName)) {
    return &m_localHost;
  }
  if (!m_bNetworkAvailable) {
    return nullptr;
  }
  for (const CSimHost& host : m_remoteHosts) {
    if (SameName(host.m_sName, name) || (!host.m_sAddress.empty() && host.m_sAddress == name)) {
      return &host;
    }
  }
  return nullptr;
}

void CSimRuntime::RegisterServer(CSimServerCore* server) {
  m_servers.push_back(server);
}

void CSimRuntime::UnregisterServer(CSimServerCore* server) {
  m_servers.erase(std::remove(m_servers.begin(), m_servers.end(), server), m_servers.end());
}
