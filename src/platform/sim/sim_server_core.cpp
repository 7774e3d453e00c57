#include "platform/sim/sim_server_core.h"

#include <algorithm>

#include "platform/sim/sim_group.h"

namespace {

// How long a device read takes; cache reads answer at once.
constexpr uint32_t kDeviceReadMs = 20;
// The fastest rate the servers update their cache at.
constexpr DWORD kServerMinimumRate = 100;

// The built-in space of the kind, or the generated one its "tags" setting asks for.
std::shared_ptr<const CSimAddressSpace> SpaceFor(const CSimClass& simClass) {
  const bool flat = simClass.m_eKind == SimServerKind::kDa1;
  const uint32_t tags = CSimRuntime::Instance().FaultsFor(simClass.m_sProgId).m_nGeneratedTags;
  if (tags > 0) {
    return CSimAddressSpace::Generated(tags, flat);
  }
  return flat ? CSimAddressSpace::Flat() : CSimAddressSpace::Plant();
}

}  // namespace

CSimServerCore::CSimServerCore(const CSimClass& simClass, const std::string& hostName)
    : m_class(simClass), m_sHost(hostName), m_pSpace(SpaceFor(simClass)) {
  IClock& clock = CSimRuntime::Instance().Clock();
  m_ftStart = clock.UtcFileTimeNow();
  m_nStartTick = clock.TickCount();
  CSimRuntime::Instance().RegisterServer(this);
}

CSimServerCore::~CSimServerCore() {
  NoteDeath();  // a death nobody saw still takes the "process" down
  CSimRuntime::Instance().UnregisterServer(this);
}

const CSimFaults& CSimServerCore::Faults() const {
  return CSimRuntime::Instance().FaultsFor(m_class.m_sProgId);
}

void CSimServerCore::NoteDeath() {
  if (m_bDied) {
    return;  // a dead process does not come back; its death is noted once
  }
  const int64_t dieAfterMs = Faults().m_nDieAfterMs;
  const uint32_t elapsed = CSimRuntime::Instance().Clock().TickCount() - m_nStartTick;
  if (dieAfterMs >= 0 && elapsed >= dieAfterMs) {
    m_bDied = true;
    CSimRuntime::Instance().NoteServerDeath(ProgId(),
                                            m_nStartTick + static_cast<uint32_t>(dieAfterMs));
  }
}

bool CSimServerCore::IsDead() {
  NoteDeath();
  return m_bDied || Faults().m_bDead;
}

HRESULT CSimServerCore::Enter() {
  if (IsDead()) {
    return RPC_S_SERVER_UNAVAILABLE;
  }
  const CSimFaults& faults = Faults();
  const uint32_t elapsed = CSimRuntime::Instance().Clock().TickCount() - m_nStartTick;
  if (!m_bShutdownSent && faults.m_nShutdownAfterMs >= 0 && elapsed >= faults.m_nShutdownAfterMs) {
    m_bShutdownSent = true;
    m_bShutdownDue = true;
  }
  return S_OK;
}

void CSimServerCore::SendDueShutdown() {
  if (!m_bShutdownDue) {
    return;
  }
  // Cleared first: the client may call the server again from within the request.
  m_bShutdownDue = false;
  if (SendShutdown(Faults().m_sShutdownReason) == 0) {
    m_bShutdownDue = true;  // no sink advised yet: sent after the call that advises one
  }
}

CSimCall::CSimCall(const std::shared_ptr<CSimServerCore>& core)
    : m_pCore(core), m_hr(core->Enter()) {}

CSimCall::~CSimCall() {
  m_pCore->SendDueShutdown();
}

int64_t CSimServerCore::NowUtcMs() const {
  return UnixMsFromFileTime(CSimRuntime::Instance().Clock().UtcFileTimeNow());
}

int64_t CSimServerCore::LocalOffsetMs() const {
  const IClock& clock = CSimRuntime::Instance().Clock();
  return UnixMsFromFileTime(clock.LocalFileTimeNow()) - UnixMsFromFileTime(clock.UtcFileTimeNow());
}

VARIANT CSimServerCore::ValueAt(const CSimItem& item, int64_t unixMs) const {
  return SimItemValue(*m_pSpace, item, unixMs, LocalOffsetMs(), m_writes);
}

void CSimServerCore::StoreWrite(const std::string& itemId, const VARIANT& value) {
  m_writes[itemId] = value;
}

void CSimServerCore::WaitForRead(OPCDATASOURCE source) {
  const uint32_t ms = (source == OPC_DS_DEVICE ? kDeviceReadMs : 0) + Faults().m_nSlowReadMs;
  if (ms > 0) {
    CSimRuntime::Instance().Clock().SleepMs(ms);
  }
}

DWORD CSimServerCore::ReviseUpdateRate(DWORD requested) const {
  const DWORD minimum = std::max<DWORD>(kServerMinimumRate, Faults().m_nMinUpdateRate);
  return std::max(requested, minimum);
}

bool CSimServerCore::NameInUse(const std::string& name, const CSimGroup* except) const {
  return std::any_of(m_groups.begin(), m_groups.end(), [&](const ComPtr<CSimGroup>& group) {
    return group.Get() != except && group->Name() == name;
  });
}

std::string CSimServerCore::UniqueGroupName() {
  std::string name;
  do {
    name = "Group_" + std::to_string(++m_nGroupNameCounter);
  } while (NameInUse(name, nullptr));
  return name;
}

void CSimServerCore::AddGroup(CSimGroup* group) {
  m_groups.emplace_back(group);
}

CSimGroup* CSimServerCore::FindGroup(OPCHANDLE handle) const {
  for (const ComPtr<CSimGroup>& group : m_groups) {
    if (group->ServerHandle() == handle) {
      return group.Get();
    }
  }
  return nullptr;
}

CSimGroup* CSimServerCore::FindGroupByName(const std::string& name) const {
  for (const ComPtr<CSimGroup>& group : m_groups) {
    if (group->Name() == name) {
      return group.Get();
    }
  }
  return nullptr;
}

bool CSimServerCore::RemoveGroup(OPCHANDLE handle) {
  const auto it = std::find_if(
      m_groups.begin(), m_groups.end(),
      [handle](const ComPtr<CSimGroup>& group) { return group->ServerHandle() == handle; });
  if (it == m_groups.end()) {
    return false;
  }
  m_groups.erase(it);
  return true;
}

std::vector<CSimGroup*> CSimServerCore::Groups() const {
  std::vector<CSimGroup*> groups;
  for (const ComPtr<CSimGroup>& group : m_groups) {
    groups.push_back(group.Get());
  }
  return groups;
}

void CSimServerCore::ReleaseClientObjects() {
  // Moved out first: releasing a group may release the last reference to this core.
  std::vector<ComPtr<CSimGroup>> groups = std::move(m_groups);
  m_groups.clear();
  ComPtr<IOPCShutdown> sink = std::move(m_pShutdownSink);
  m_nShutdownCookie = 0;
  groups.clear();
  sink.Reset();
}

HRESULT CSimServerCore::AdviseShutdown(IUnknown* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) {
    return E_POINTER;
  }
  *cookie = 0;
  if (m_pShutdownSink) {
    return CONNECT_E_ADVISELIMIT;
  }
  ComPtr<IOPCShutdown> shutdown;
  if (FAILED(sink->QueryInterface(IID_IOPCShutdown, shutdown.ReleaseAndGetVoidAddress())) ||
      !shutdown) {
    return CONNECT_E_CANNOTCONNECT;
  }
  m_pShutdownSink = shutdown;
  m_nShutdownCookie = m_nNextCookie++;
  *cookie = m_nShutdownCookie;
  return S_OK;
}

HRESULT CSimServerCore::UnadviseShutdown(DWORD cookie) {
  if (!m_pShutdownSink || cookie != m_nShutdownCookie) {
    return CONNECT_E_NOCONNECTION;
  }
  m_pShutdownSink.Reset();
  m_nShutdownCookie = 0;
  return S_OK;
}

std::vector<CONNECTDATA> CSimServerCore::ShutdownConnections() const {
  std::vector<CONNECTDATA> connections;
  if (m_pShutdownSink) {
    connections.push_back({m_pShutdownSink.Get(), m_nShutdownCookie});
  }
  return connections;
}

int CSimServerCore::SendShutdown(const std::string& reason) {
  if (!m_pShutdownSink) {
    return 0;
  }
  // The sink is kept alive by the queued call even if the client unadvises meanwhile.
  ComPtr<IOPCShutdown> sink = m_pShutdownSink;
  CSimRuntime::Instance().Dispatch([sink, reason]() { sink->ShutdownRequest(reason); });
  return 1;
}
