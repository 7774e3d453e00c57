#pragma once
// What selecting a node of the server selection tree gives the dialog: server id, host
// and class id, and whether OK may be pressed. Thread rule: GUI thread.
#include <string>

#include "base/user_prompt.h"
#include "opc/server_selection_node.h"
#include "platform/com/guid.h"

inline constexpr char kUnableToSelectMessage[] =
    "Internal Memory Error !!! Unable to Select Server ... ";
inline constexpr char kNullParentMessage[] = "Internal Error !!! Null Parent Item ...";

struct ServerSelection {
  std::string m_sServerId;
  std::string m_sHost;
  CLSID m_clsid = GUID_NULL;
  std::string m_sClassIdText;
  bool m_bOkEnabled = false;
};

// The text between the first "(" and the first ")" of a label; empty when either is
// missing or they are out of order.
std::string ServerIdFromLabel(const std::string& label);

// OK needs a server id and a host of at least 3 characters and a class id text of more
// than 33.
bool SelectionOkEnabled(const std::string& serverId, const std::string& host,
                        const std::string& classIdText);

// A class id node selects its server. A server node of the local host (kind 1) gives
// "Local Host", one of a remote host (kind 5) its parent's label; the class id is read
// from the label of its first child (the first 256 characters, with or without braces).
// Anything else, or a class id that does not parse, gives empty fields and OK disabled.
// A null node or a remote server without parent is shown in a message box.
ServerSelection SelectServerNode(const CServerNode* node, IUserPrompt& prompt);
