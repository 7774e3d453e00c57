#pragma once
// The item commands of the configuration view ("Remove Item", "Add Calc. OPC Item(s)")
// without the windows. Thread rule: GUI thread.
#include <string>

#include "opc/opc_server.h"

inline constexpr char kAcquiredItemTypeText[] = "Acquired OPC Item";
inline constexpr char kCalculatedItemTypeText[] = "Calculated OPC Item";

// "Acquired OPC Item" or "Calculated OPC Item".
std::string ItemTypeText(const COPCBaseItem& item);
// "Remove Item": asks, then removes the item from its group. True when removed.
bool RemoveItemCommand(COPCServer& server, COPCBaseItem* item);
// "Add Calc. OPC Item(s)": false (after the message box) when the group has no acquired
// item, since an expression needs acquired data.
bool CanAddCalcItems(const COPCGroup& group, IUserPrompt& prompt);
