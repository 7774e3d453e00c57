#include "opc/opc_reconnect.h"

#include "opc/opc_items.h"

bool ReconnectServer(COPCServer& server) {
  // The groups' interfaces belong to the server that went away.
  for (int g = 0; g < server.GroupCount(); ++g) {
    COPCGroup& group = *server.Group(g);
    group.ReleaseInterfaces();
    group.m_bOnServer = false;
  }
  const std::string serverId = server.m_sServerId;
  const std::string host = server.m_sHost;
  const CLSID clsid = server.m_clsid;
  if (!server.Connect(serverId, host, clsid) || !server.IsAlive())
    return false;
  for (int g = 0; g < server.GroupCount(); ++g) {
    COPCGroup& group = *server.Group(g);
    if (!server.CreateGroupOnServer(group))
      return false;
    if (!group.m_acquiredItems.empty() && !ReAddItemsOfGroup(server, group))
      return false;
  }
  server.RecountItems();
  return true;
}
