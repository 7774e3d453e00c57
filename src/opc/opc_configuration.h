#pragma once
// COPCConfiguration: the whole configuration of the server as one copyable value: the
// server id, host and class id, and per group its settings and the definitions of its
// acquired and calculated items. COPCServer::Configuration() composes it from what the
// model holds; a copy never changes with the model, and nothing in it points into it.
// Thread rule: a value; whoever holds a copy uses it on its own thread.
#include <string>
#include <vector>

#include "opc/opc_group_settings.h"
#include "opc/opc_item_definition.h"
#include "platform/com/guid.h"

// One group of a configuration.
struct OPCGroupConfiguration {
  OPCGroupSettings m_settings;
  std::vector<OPCItemDefinition> m_acquiredItems;
  std::vector<OPCCalcItemDefinition> m_calcItems;

  // The group's columns in a data set: its acquired, then its calculated items.
  int ColumnCount() const { return static_cast<int>(m_acquiredItems.size() + m_calcItems.size()); }
  bool operator==(const OPCGroupConfiguration&) const = default;
};

class COPCConfiguration {
 public:
  COPCConfiguration() = default;
  COPCConfiguration(std::string serverId, std::string host, const CLSID& clsid,
                    std::vector<OPCGroupConfiguration> groups);

  const std::string& ServerId() const { return m_sServerId; }
  const std::string& Host() const { return m_sHost; }
  const CLSID& Clsid() const { return m_clsid; }
  const std::vector<OPCGroupConfiguration>& Groups() const { return m_groups; }
  int GroupCount() const { return static_cast<int>(m_groups.size()); }

  // The item columns of a data set over all groups.
  int ColumnCount() const { return TotalItemCount(); }
  int TotalAcquiredCount() const;
  int TotalCalculatedCount() const;
  int TotalItemCount() const { return TotalAcquiredCount() + TotalCalculatedCount(); }
  // The first group whose name equals name exactly (as COPCServer::FindGroupByName); null
  // when there is none. index is set when found.
  const OPCGroupConfiguration* FindGroup(const std::string& name, int* index = nullptr) const;

  bool operator==(const COPCConfiguration&) const = default;

 private:
  std::string m_sServerId;  // ProgID
  std::string m_sHost;      // "Local Host" or a machine name
  CLSID m_clsid{};          // all zero: looked up from the server id at connect
  std::vector<OPCGroupConfiguration> m_groups;
};
