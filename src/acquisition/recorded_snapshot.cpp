#include "acquisition/recorded_snapshot.h"

#include <utility>

#include "opc/opc_limits.h"
#include "opc/opc_server.h"

RecordedConfiguration RecordedConfigurationOf(const COPCConfiguration& configuration) {
  RecordedConfiguration recorded;
  recorded.serverId = configuration.ServerId();
  recorded.host = configuration.Host();
  recorded.classIdText = GuidToString(configuration.Clsid(), false, GuidTextCase::kLower);
  for (const OPCGroupConfiguration& group : configuration.Groups()) {
    RecordedGroup recordedGroup;
    recordedGroup.name = group.m_settings.m_sName;
    recordedGroup.updateRate = static_cast<int>(group.m_settings.m_dwUpdateRate);
    for (const OPCItemDefinition& item : group.m_acquiredItems) {
      recordedGroup.items.push_back({item.m_sQualifiedId, item.m_sShortId, item.m_sDescription,
                                     item.m_vtDataType, kItemAcquired});
    }
    for (const OPCCalcItemDefinition& item : group.m_calcItems) {
      recordedGroup.items.push_back({item.m_sQualifiedId, item.m_sShortId, item.m_sDescription,
                                     item.m_vtDataType, kItemCalculated});
    }
    recorded.groups.push_back(std::move(recordedGroup));
  }
  return recorded;
}

RecordedConfiguration SnapshotOf(const COPCServer& server) {
  RecordedConfiguration recorded = RecordedConfigurationOf(server.Configuration());
  // The items are recorded in the model's order: acquired, then calculated, per group.
  for (int g = 0; g < server.GroupCount(); ++g) {
    const COPCGroup& group = *server.Group(g);
    std::vector<RecordedItem>& items = recorded.groups[static_cast<size_t>(g)].items;
    size_t i = 0;
    for (const auto& item : group.AcquiredItems())
      items[i++].dataType = item->ValueType();
    for (const auto& item : group.CalcItems())
      items[i++].dataType = item->ValueType();
  }
  return recorded;
}
