#include "opc/add_item_result.h"

#include "opc/opc_items.h"

AddItemApplyOutcome ApplyAddItemResult(COPCServer& server, COPCGroup& group,
                                       AddItemResult&& result) {
  AddItemApplyOutcome outcome;
  group.m_acquiredItems.clear();
  outcome.m_bAllAccepted =
      AddNewItemsToGroup(server, group, result.m_defs, result.m_shortIds, &outcome.m_itemCodes);
  if (result.m_pWorkingGroup && result.m_pWorkingGroup.get() != &group) {
    group.m_calcItems = std::move(result.m_pWorkingGroup->m_calcItems);
    result.m_pWorkingGroup->m_calcItems.clear();
    for (auto& item : group.m_calcItems)
      item->m_pGroup = &group;
  }
  server.RecountItems();
  server.MarkConfigurationChanged();
  return outcome;
}
