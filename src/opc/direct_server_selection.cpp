#include "opc/direct_server_selection.h"

#include "base/log.h"

bool DirectServerOkEnabled(const DirectServerChoice& choice) {
  return choice.m_sHost.size() >= kDirectServerMinHost &&
         choice.m_sServerId.size() >= kDirectServerMinServerId &&
         choice.m_sClassIdText.size() >= kDirectServerMinClassId;
}

std::string DirectServerLabel(const std::string& serverId) {
  return Format("%s (%s)", serverId.c_str(), serverId.c_str());
}
