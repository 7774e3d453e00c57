#pragma once
// What only tests may do to the OPC model: substitute a scripted interface for the one
// the server gave, fake a connected flag, set a read time text or read statistics, list a group
// that is not on the server. The model names this struct its friend; no program code includes this
// header.
#include <memory>
#include <string>

#include "opc/opc_server.h"

struct COPCModelAccess {
  static void SetConnected(COPCServer& server, bool connected) {
    server.m_connection.m_bConnected = connected;
  }
  static void SetBrowse(COPCServer& server, IOPCBrowseServerAddressSpace* browse) {
    server.m_connection.m_pIOPCBrowseServerAddressSpace = browse;
  }
  static void SetItemMgt(COPCGroup& group, IOPCItemMgt* itemMgt) {
    group.m_connection.m_pIOPCItemMgt = itemMgt;
  }
  static void SetTimeText(COPCGroup& group, const std::string& text) { group.m_sTimeText = text; }
  static GroupReadStatistics& Statistics(COPCGroup& group) { return group.m_statistics; }
  // A group in the server's list that was never added on the server.
  static COPCGroup& AddOfflineGroup(COPCServer& server, const std::string& name) {
    server.m_groups.push_back(std::make_unique<COPCGroup>(&server));
    COPCGroup& group = *server.m_groups.back();
    group.SetName(name);
    return group;
  }
};
