#include "opc/server_selection_children.h"

#include "base/log.h"
#include "opc/network_enumeration.h"
#include "opc/opc_server.h"
#include "opc/registry_enumeration.h"
#include "opc/server_selection_opcenum.h"

namespace {

constexpr char kRegistryServerLabel[] = "%s (%s)";

void AddCategoryNode(ServerNodeList& nodes, const char* label, const CATID& category) {
  auto node = std::make_unique<CServerNode>(ServerNodeKind::kCategory, label);
  // A manager or enumerator that cannot be had leaves the category empty.
  const RegistryEnumResult result = EnumerateServersInRegistry(category);
  for (const RegistryServerEntry& server : result.m_servers) {
    node->AddChild(MakeServerNode(
        ServerNodeKind::kLocalServer,
        Format(kRegistryServerLabel, server.m_sProgId.c_str(), server.m_sProgId.c_str()),
        ClassIdText(server.m_clsid)));
  }
  nodes.push_back(std::move(node));
}

}  // namespace

std::unique_ptr<CServerNode> MakeServerNode(ServerNodeKind kind, std::string label,
                                            std::string classIdText) {
  auto node = std::make_unique<CServerNode>(kind, std::move(label));
  node->AddChild(ServerNodeKind::kClassId, std::move(classIdText));
  return node;
}

std::unique_ptr<CServerNode> MakeFailureNote(std::string text) {
  return std::make_unique<CServerNode>(ServerNodeKind::kFailureNote, std::move(text));
}

bool OpcEnumHostChildren(AppContext& context, const std::string& host, ServerNodeKind serverKind,
                         ServerNodeList& children) {
  const OpcEnumListing listing = ListServersWithOpcEnum(context, host);
  if (listing.m_eOutcome == OpcEnumOutcome::kException)
    context.log.Log(std::string(kOpcEnumFailedText) + kOpcEnumStoppedSuffix, kLogOpcServer);
  if (listing.m_eOutcome != OpcEnumOutcome::kListed) {
    children.push_back(MakeFailureNote(kOpcEnumFailedText));
    return false;
  }
  for (const OpcServerEntry& server : listing.m_servers)
    children.push_back(
        MakeServerNode(serverKind, OpcEnumServerLabel(server), ClassIdText(server.m_clsid)));
  if (children.empty())
    children.push_back(MakeFailureNote(kNoServerFoundText));
  return true;
}

ServerNodeList RegistryCategoryNodes() {
  ServerNodeList nodes;
  AddCategoryNode(nodes, kCategoryDa10Label, CATID_OPCDAServer10);
  AddCategoryNode(nodes, kCategoryDa20Label, CATID_OPCDAServer20);
  return nodes;
}

bool NetworkChildren(const CLog& log, const NETRESOURCE* parent, ServerNodeList& children) {
  const NetworkEnumResult result = EnumerateNetworkLevel(log, parent);
  if (!result.m_bOk) {
    children.push_back(MakeFailureNote(kOpcEnumFailedText));
    return false;
  }
  for (const NetworkEntry& entry : result.m_entries) {
    auto node =
        MakeExpandableNode(entry.m_bHost ? ServerNodeKind::kNetworkHost : ServerNodeKind::kNetwork,
                           entry.m_resource.lpRemoteName);
    node->SetResource(entry.m_resource);
    children.push_back(std::move(node));
  }
  return true;
}

std::unique_ptr<CServerNode> MakeDirectHostNode(const DirectHostChoice& choice) {
  // An empty host name stands for this machine, as in the enumeration.
  auto host = std::make_unique<CServerNode>(ServerNodeKind::kNetwork,
                                            choice.m_sHost.empty() ? kLocalHost : choice.m_sHost);
  for (const DirectHostRow& row : choice.m_servers)
    host->AddChild(
        MakeServerNode(ServerNodeKind::kRemoteServer, row.m_sProgIdLabel, row.m_sGuidText));
  return host;
}

std::unique_ptr<CServerNode> CopyTypedHost(const CServerNode& host) {
  auto copy = std::make_unique<CServerNode>(host.Kind(), host.Label());
  for (int row = 0; row < host.ChildCount(); ++row) {
    const CServerNode& server = *host.Child(row);
    const CServerNode* classId = server.Child(0);
    copy->AddChild(MakeServerNode(server.Kind(), server.Label(),
                                  classId != nullptr ? classId->Label() : std::string()));
  }
  return copy;
}

std::unique_ptr<CServerNode> MakeDirectServerNode(const DirectServerChoice& choice) {
  auto host = std::make_unique<CServerNode>(ServerNodeKind::kNetwork, choice.m_sHost);
  host->AddChild(MakeServerNode(ServerNodeKind::kRemoteServer,
                                DirectServerLabel(choice.m_sServerId), choice.m_sClassIdText));
  return host;
}
