#pragma once
// Items on the server: adding a group's items with the report of the server's answer,
// re-adding them after a project load, removing and renaming items.
// Thread rule: GUI thread.
#include <string>
#include <vector>

#include "opc/opc_server.h"

inline constexpr char kItemsAdditionErrorTitle[] = "OPC Items Addition Error";

// The text of a per-item AddItems code ("The ItemID is not in the OPC Server Address
// Space"...).
std::string AddItemResultText(HRESULT hr);

// Sends the definitions to the group's IOPCItemMgt::AddItems. The per-item results and
// codes stay in the group (m_itemResults, m_itemErrors) for the caller. True for S_OK;
// otherwise a report titled "OPC Items Addition Error" is shown and false returned.
// ids: the identifier of each definition for the report. *pResult: the call's result
// (per-item answers exist when it succeeded, S_FALSE included).
bool AddItemsToGroup(COPCServer& server, COPCGroup& group, const std::vector<OPCITEMDEF>& defs,
                     const std::vector<std::string>& ids, HRESULT* pResult = nullptr);

// After a project load: sends every acquired item of the group to the server again and
// takes over the per-item answers (handle, canonical type, rights; refused items keep
// their place with valid 0). False when nothing could be sent or not every item was
// accepted.
bool ReAddItemsOfGroup(COPCServer& server, COPCGroup& group);

// The add-item dialog's result: replaces the group's acquired items by one item per
// definition, with its short id and description = its qualified id, sends them and takes
// over the answers as above. True when every item was accepted. *pItemCodes: the code
// of each item (E_FAIL for all when the call itself failed).
bool AddNewItemsToGroup(COPCServer& server, COPCGroup& group, const std::vector<OPCITEMDEF>& defs,
                        const std::vector<std::string>& shortIds,
                        std::vector<HRESULT>* pItemCodes = nullptr);

// Removes the item from its group and destroys it (the server keeps it until the group
// goes). Marks the configuration changed. False when the item is not in its group.
bool RemoveItem(COPCServer& server, COPCBaseItem* item);

// Renames oldId to newId among the group's acquired items, in the calculated items'
// expressions when asked, then among the calculated items. Returns the number of items
// renamed plus the occurrences replaced.
int RenameShortId(COPCGroup& group, const std::string& oldId, const std::string& newId,
                  bool renameInExpressions);

// Replaces every occurrence of oldId that stands as a whole name in expression (not part
// of a longer name); returns how many were replaced.
int ReplaceNameInExpression(std::string& expression, const std::string& oldId,
                            const std::string& newId);
// The same in a calculated item's expression (its evaluation context then goes with it).
int ReplaceNameInExpression(COPCCalcItem& item, const std::string& oldId, const std::string& newId);
