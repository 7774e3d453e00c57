#pragma once
// The configuration view's rules without its window: the kinds and labels of the tree's
// nodes (and finding an item back from its label), which command the selected node
// allows, and the texts of the server attributes panel. Thread rule: GUI thread.
#include <string>

#include "opc/item_commands.h"
#include "opc/opc_server.h"

enum class ConfigNodeKind : int { kNoServer = -1, kServer = 0, kGroup = 1, kItem = 2 };

inline constexpr char kNoServerSelectedLabel[] = "No OPC Server Selected";

// "%s (%s)": the qualified id and the item's kind.
std::string ItemNodeLabel(const COPCBaseItem& item, bool calculated);
// The item a node label names in the group (its kind in *calculated); null when none.
const COPCBaseItem* FindItemByLabel(const COPCGroup& group, const std::string& label,
                                    bool* calculated = nullptr);

enum class ConfigCommand {
  kSelectServer,
  kDisconnectServer,
  kAddGroup,
  kRemoveGroup,
  kAddItems,
  kAddCalcItems,
  kModifyGroup,
  kGroupProperties,
  kRemoveItem,
  kItemProperties,
};
// Each command needs its node kind; all but the property sheets also no acquisition.
bool ConfigCommandEnabled(ConfigCommand command, ConfigNodeKind selected, bool acquiring);

// The server state as the panel shows it: any state it does not know is "???".
std::string ServerStateText(DWORD state);

struct ServerAttributeTexts {
  std::string serverId;
  std::string host;
  std::string version;
  std::string vendor;
  std::string connection;
  std::string status;
  std::string startTime;
  std::string currentTime;
  std::string lastTime;
  std::string groupCount;
  std::string acquiredTotal;
  std::string calculatedTotal;
};
// The panel's texts: from GetStatus when connected (times in local time as
// "%02d:%02d:%02d:%03d", version "%d.%d Build: %d"), the model's otherwise.
ServerAttributeTexts ReadServerAttributes(COPCServer& server);
