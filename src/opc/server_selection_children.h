#pragma once
// What each kind of node of the server selection tree gets as children when it is
// enumerated, built as subtrees outside the tree. Thread rule: GUI thread.
#include <memory>
#include <string>

#include "base/app_context.h"
#include "opc/direct_host_selection.h"
#include "opc/direct_server_selection.h"
#include "opc/server_selection_node.h"

inline constexpr char kLocalHostLabelFormat[] = "%s (%s)";
inline constexpr char kNetworkLabel[] = "Network";

// A server node with its class id child.
std::unique_ptr<CServerNode> MakeServerNode(ServerNodeKind kind, std::string label,
                                            std::string classIdText);
std::unique_ptr<CServerNode> MakeFailureNote(std::string text);

// The servers the host's OPCEnum lists (kind 1 for the local host, 5 for a remote one),
// or the single note "No OPC Server Found using OPCEnum ..."; on failure the failure
// note alone and false.
bool OpcEnumHostChildren(AppContext& context, const std::string& host, ServerNodeKind serverKind,
                         ServerNodeList& children);

// The two category nodes of the local registry, DA 1.0 then DA 2.0, each with its servers
// labelled "%s (%s)" with the program id in both places.
ServerNodeList RegistryCategoryNodes();

// The containers (kind 3) and computers (kind 4) below parent (null: the top), each
// with its resource and a placeholder; false (with the failure note) when the level
// could not be enumerated.
bool NetworkChildren(const CLog& log, const NETRESOURCE* parent, ServerNodeList& children);

// A host typed in the direct host dialog (kind 3, nothing left to enumerate; empty:
// "Local Host") with its servers (kind 5) and their class ids.
std::unique_ptr<CServerNode> MakeDirectHostNode(const DirectHostChoice& choice);
// A copy of a host made by MakeDirectHostNode, with its servers and their class ids.
std::unique_ptr<CServerNode> CopyTypedHost(const CServerNode& host);
// The host, server and class id of the direct server dialog.
std::unique_ptr<CServerNode> MakeDirectServerNode(const DirectServerChoice& choice);
