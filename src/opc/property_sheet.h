#pragma once
// The property dialog's sheets without the window: the rows of a group's sheet and of an
// item's sheet, by category, with their values and descriptions. Thread rule: GUI thread.
#include <string>
#include <vector>

#include "opc/opc_server.h"

struct PropertyRow {
  std::string category;
  std::string name;
  std::string value;
  std::string description;
};

inline constexpr char kGroupPropertiesTitle[] = "Display OPC Group Properties";
inline constexpr char kGroupPropertiesCaption[] = "OPC Group Properties";
inline constexpr char kItemPropertiesTitle[] = "Display OPC Item Properties";
inline constexpr char kItemPropertiesCaption[] = "OPC Item Properties";

// acquiring: the statistics are figures while an acquisition runs, a note otherwise.
std::vector<PropertyRow> GroupPropertySheet(const COPCGroup& group, int groupIndex, bool acquiring);
std::vector<PropertyRow> ItemPropertySheet(const COPCBaseItem& item, bool calculated,
                                           const COPCGroup& group);
