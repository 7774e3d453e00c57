#include "opc/opc_reconnect.h"

#include "opc/opc_items.h"

bool ReconnectServer(COPCServer& server) {
  // The groups' interfaces belong to the server that went away.
  for (int g = 0; g < server.GroupCount(); ++g) {
    COPCGroup& group = *server.Group(g);
    group.ReleaseInterfaces();
    group.ForgetServerGroup();
  }
  const std::string serverId = server.ServerId();
  const std::string host = server.Host();
  const CLSID clsid = server.Clsid();
  if (!server.Connect(serverId, host, clsid) || !server.IsAlive())
    return false;
  for (int g = 0; g < server.GroupCount(); ++g) {
    COPCGroup& group = *server.Group(g);
    if (!server.CreateGroupOnServer(group))
      return false;
    if (!group.AcquiredItems().empty() && !ReAddItemsOfGroup(server, group))
      return false;
  }
  server.RecountItems();
  return true;
}
