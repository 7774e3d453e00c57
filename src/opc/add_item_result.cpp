#include "opc/add_item_result.h"

#include "opc/opc_items.h"

AddItemApplyOutcome ApplyAddItemResult(COPCServer& server, COPCGroup& group,
                                       AddItemResult&& result) {
  AddItemApplyOutcome outcome;
  group.DestroyAcquiredItems();
  outcome.m_bAllAccepted =
      AddNewItemsToGroup(server, group, result.m_defs, result.m_shortIds, &outcome.m_itemCodes);
  if (result.m_pWorkingGroup && result.m_pWorkingGroup.get() != &group) {
    group.TakeCalcItems(*result.m_pWorkingGroup);
  }
  server.RecountItems();
  server.MarkConfigurationChanged();
  return outcome;
}
