#include "opc/server_selection_rules.h"

#include "opc/opc_server.h"

namespace {

constexpr size_t kMinServerIdAndHost = 3;
constexpr size_t kMinClassIdText = 34;
constexpr size_t kClassIdTextLimit = 256;

void ShowInternalError(IUserPrompt& prompt, const char* text) {
  prompt.ShowMessage(text, MessageButtons::kOk, MessageIcon::kError);
}

}  // namespace

std::string ServerIdFromLabel(const std::string& label) {
  const size_t open = label.find('(');
  const size_t close = label.find(')');
  if (open == std::string::npos || close == std::string::npos || close < open)
    return {};
  return label.substr(open + 1, close - open - 1);
}

bool SelectionOkEnabled(const std::string& serverId, const std::string& host,
                        const std::string& classIdText) {
  return serverId.size() >= kMinServerIdAndHost && host.size() >= kMinServerIdAndHost &&
         classIdText.size() >= kMinClassIdText;
}

ServerSelection SelectServerNode(const CServerNode* node, IUserPrompt& prompt) {
  ServerSelection selection;
  if (node == nullptr) {
    ShowInternalError(prompt, kUnableToSelectMessage);
    return selection;
  }
  if (node->Kind() == ServerNodeKind::kClassId) {
    node = node->Parent();
    if (node == nullptr) {
      ShowInternalError(prompt, kUnableToSelectMessage);
      return selection;
    }
  }
  std::string host;
  if (node->Kind() == ServerNodeKind::kLocalServer) {
    host = kLocalHost;
  } else if (node->Kind() == ServerNodeKind::kRemoteServer) {
    if (node->Parent() == nullptr) {
      ShowInternalError(prompt, kNullParentMessage);
      return selection;
    }
    host = node->Parent()->Label();
  } else {
    return selection;
  }
  const CServerNode* classIdNode = node->Child(0);
  if (classIdNode == nullptr)
    return selection;
  const std::string classIdText = classIdNode->Label().substr(0, kClassIdTextLimit);
  CLSID clsid;
  if (!GuidFromString(classIdText, clsid))
    return selection;
  selection.m_sServerId = ServerIdFromLabel(node->Label());
  selection.m_sHost = host;
  selection.m_clsid = clsid;
  selection.m_sClassIdText = classIdText;
  selection.m_bOkEnabled =
      SelectionOkEnabled(selection.m_sServerId, selection.m_sHost, selection.m_sClassIdText);
  return selection;
}
