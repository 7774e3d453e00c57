#include "opc/opc_configuration.h"

#include <utility>

COPCConfiguration::COPCConfiguration(std::string serverId, std::string host, const CLSID& clsid,
                                     std::vector<OPCGroupConfiguration> groups)
    : m_sServerId(std::move(serverId)),
      m_sHost(std::move(host)),
      m_clsid(clsid),
      m_groups(std::move(groups)) {}

int COPCConfiguration::TotalAcquiredCount() const {
  int count = 0;
  for (const auto& group : m_groups)
    count += static_cast<int>(group.m_acquiredItems.size());
  return count;
}

int COPCConfiguration::TotalCalculatedCount() const {
  int count = 0;
  for (const auto& group : m_groups)
    count += static_cast<int>(group.m_calcItems.size());
  return count;
}

const OPCGroupConfiguration* COPCConfiguration::FindGroup(const std::string& name,
                                                          int* index) const {
  for (size_t i = 0; i < m_groups.size(); ++i) {
    if (m_groups[i].m_settings.m_sName == name) {
      if (index != nullptr)
        *index = static_cast<int>(i);
      return &m_groups[i];
    }
  }
  return nullptr;
}
