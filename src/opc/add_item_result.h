#pragma once
// The add-item dialog's result and how the configuration view puts it into the group:
// the group's acquired items are replaced by one item per row (sent to the server with
// the add-items operation, rows of items that existed before included), and the working
// copy's calculated items (with their renamed expressions) replace the group's.
// Thread rule: GUI thread.
#include <memory>
#include <string>
#include <vector>

#include "opc/opc_server.h"

struct AddItemResult {
  // One entry per row, in row order.
  std::vector<OPCITEMDEF> m_defs;
  std::vector<std::string> m_shortIds;
  // The session's working copy of the group; its calculated items go back to the group.
  std::unique_ptr<COPCGroup> m_pWorkingGroup;
};

struct AddItemApplyOutcome {
  bool m_bAllAccepted = false;
  // The server's code of each row (E_FAIL for all when the call itself failed).
  std::vector<HRESULT> m_itemCodes;
};

// Destroys the group's acquired items, adds the rows (AddNewItemsToGroup: refused rows
// stay as items with valid 0, as after a project load), moves the calculated items over,
// recounts and marks the configuration changed. The caller refreshes its views.
AddItemApplyOutcome ApplyAddItemResult(COPCServer& server, COPCGroup& group,
                                       AddItemResult&& result);
