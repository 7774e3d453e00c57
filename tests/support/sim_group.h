#pragma once
// A group with acquired items on a connected simulation server, as the tests of the
// acquisition build them. Header only: the tests that use it link the OPC library.
#include <string>
#include <vector>

#include "opc/default_names.h"
#include "opc/opc_items.h"
#include "opc/opc_server.h"

// Null when the server refused the group or an item. Short ids are the default ones,
// numbered from firstItemNumber.
inline COPCGroup* AddSimGroup(COPCServer& server, const std::string& name, DWORD rate,
                              const std::vector<std::string>& ids, bool active = true,
                              int firstItemNumber = 0, uint32_t readInterface = kReadSyncCache) {
  COPCGroup* group = server.AddGroup(name, rate, 0, 0.0f, 0, readInterface, active);
  if (group == nullptr)
    return nullptr;
  std::vector<OPCITEMDEF> defs;
  std::vector<std::string> shortIds;
  for (size_t i = 0; i < ids.size(); ++i) {
    OPCITEMDEF def;
    def.szItemID = ids[i];
    defs.push_back(def);
    shortIds.push_back(DefaultAcquiredShortId(server.GroupIndex(group) + 1,
                                              static_cast<int>(i) + firstItemNumber));
  }
  if (!AddNewItemsToGroup(server, *group, defs, shortIds))
    return nullptr;
  server.RecountItems();
  return group;
}
