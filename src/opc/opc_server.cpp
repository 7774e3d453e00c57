#include "opc/opc_server.h"

#include <utility>

#include "base/log.h"

namespace {

constexpr char kNoStatusAvailable[] = "No Status Available";
constexpr const char* kServerStateTexts[] = {"Running", "Failure", "No Configuration", "Suspended",
                                             "Test"};
constexpr char kShutdownRequestLog[] = "Shutdown Request from OPC Server %s (Reason: %s)";

}  // namespace

COPCServer::~COPCServer() {
  RemoveAllGroups();
  Disconnect();
}

bool COPCServer::IsAlive() const {
  if (!m_connection.m_bConnected || !m_connection.m_pIOPCServer)
    return false;
  OPCSERVERSTATUS status;
  return SUCCEEDED(m_connection.m_pIOPCServer->GetStatus(&status));
}

bool COPCServer::GetServerStateText(std::string& text) const {
  text = kNoStatusAvailable;
  if (!m_connection.m_bConnected || !m_connection.m_pIOPCServer)
    return false;
  OPCSERVERSTATUS status;
  if (FAILED(m_connection.m_pIOPCServer->GetStatus(&status)))
    return false;
  const DWORD state = status.dwServerState;
  if (state >= OPC_STATUS_RUNNING && state <= OPC_STATUS_TEST)
    text = kServerStateTexts[state - OPC_STATUS_RUNNING];
  return true;
}

void COPCServer::OnShutdownRequest(const std::string& reason) {
  m_context.log.Log(Format(kShutdownRequestLog, m_sServerId.c_str(), reason.c_str()),
                    kLogOpcServer);
  if (m_shutdownHandler)
    m_shutdownHandler();
}

COPCGroup* COPCServer::FindGroupByName(const std::string& name, int* index) const {
  for (size_t i = 0; i < m_groups.size(); ++i) {
    if (m_groups[i]->Name() == name) {
      if (index != nullptr)
        *index = static_cast<int>(i);
      return m_groups[i].get();
    }
  }
  return nullptr;
}

int COPCServer::GroupIndex(const COPCGroup* group) const {
  for (size_t i = 0; i < m_groups.size(); ++i) {
    if (m_groups[i].get() == group)
      return static_cast<int>(i);
  }
  return -1;
}

COPCConfiguration COPCServer::Configuration() const {
  std::vector<OPCGroupConfiguration> groups;
  groups.reserve(m_groups.size());
  for (const auto& group : m_groups) {
    OPCGroupConfiguration& copy = groups.emplace_back();
    copy.m_settings = group->Settings();
    for (const auto& item : group->AcquiredItems())
      copy.m_acquiredItems.push_back(item->Definition());
    for (const auto& item : group->CalcItems())
      copy.m_calcItems.push_back(item->Definition());
  }
  return COPCConfiguration(m_sServerId, m_sHost, m_clsid, std::move(groups));
}

int COPCServer::ColumnCount() const {
  int columns = 0;
  for (const auto& group : m_groups)
    columns += group->ColumnCount();
  return columns;
}

void COPCServer::RecountItems() {
  m_nTotalAcquiredCount = 0;
  m_nTotalCalculatedCount = 0;
  for (const auto& group : m_groups) {
    group->m_nItemCount = group->ColumnCount();
    m_nTotalAcquiredCount += group->AcquiredCount();
    m_nTotalCalculatedCount += group->CalcCount();
  }
  m_nTotalItemCount = m_nTotalAcquiredCount + m_nTotalCalculatedCount;
}
