#pragma once
// COPCServer: the one server of the process: its configuration (server id, host, class
// id, the groups, which own their items, the item totals) and its live connection
// (COPCConnection: interface pointers, shutdown advise). It connects and disconnects,
// listens for the server's shutdown request, and adds and removes groups on the server.
// Its fields are private: others read them and change them only through its operations.
// Configuration() hands out the whole configuration as one value (COPCConfiguration) for
// whoever needs a snapshot that no later change or close can touch.
// Every log line goes to the "OPC Server" channel.
// Thread rule: GUI thread (the client's single-threaded apartment) for everything.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/app_context.h"
#include "opc/opc_configuration.h"
#include "opc/opc_connection.h"
#include "opc/opc_group.h"
#include "platform/com/com_ptr.h"
#include "platform/com/creation.h"
#include "platform/opc/opc_interfaces.h"

// The host text that means "this machine".
inline constexpr char kLocalHost[] = "Local Host";

class COPCServer {
 public:
  explicit COPCServer(AppContext& context) : m_context(context) {}
  // Removes every group from the server, then disconnects.
  ~COPCServer();
  COPCServer(const COPCServer&) = delete;
  COPCServer& operator=(const COPCServer&) = delete;

  AppContext& Context() const { return m_context; }

  // ---- Session ----
  // Connects to serverId on host ("Local Host" or a machine name); an all-zero clsid is
  // looked up from serverId. True when IOPCServer was obtained. Disconnects first.
  bool Connect(const std::string& serverId, const std::string& host, const CLSID& clsid);
  // Releases every server interface and the shutdown advise; groups stay (callers remove
  // them first with RemoveAllGroups).
  void Disconnect();
  // Connected and the server answers GetStatus.
  bool IsAlive() const;
  // "Running", "Failure"...; false with "No Status Available" when the status cannot be read.
  bool GetServerStateText(std::string& text) const;
  // Who handles the server's shutdown request: the owner runs the close-project sequence
  // in its server-triggered form. The handler is called from within the server's call:
  // the GUI queues the work rather than disconnecting inside it.
  void SetShutdownHandler(std::function<void()> handler) { m_shutdownHandler = std::move(handler); }
  // Called by the shutdown sink: logs the request and hands it to the handler.
  void OnShutdownRequest(const std::string& reason);

  // ---- Groups on the server ----
  // Adds a group; null on failure (logged). The group's update rate becomes the server's
  // revised rate; an empty name becomes the name the server assigned.
  COPCGroup* AddGroup(const OPCGroupSettings& settings);
  COPCGroup* AddGroup(const std::string& name, DWORD updateRate, LONG timeBias, FLOAT deadBand,
                      LCID locale, uint32_t readInterface, bool active) {
    return AddGroup({name, updateRate, timeBias, deadBand, locale, readInterface, active});
  }
  // Creates an existing group object on the server (after a reconnection: its old
  // server-side group went with the old server). False on failure (logged).
  bool CreateGroupOnServer(COPCGroup& group);
  // Destroys the group's items, removes it from the server and from the list. False
  // (nothing done) for a group that is not on the server or not in the list.
  bool RemoveGroup(COPCGroup* group);
  // Removes every group (project close, destruction).
  void RemoveAllGroups();

  // ---- Model ----
  // The first group whose name equals name exactly; index set when found.
  COPCGroup* FindGroupByName(const std::string& name, int* index = nullptr) const;
  // Position of a group in the list; -1 when not there.
  int GroupIndex(const COPCGroup* group) const;
  int GroupCount() const { return static_cast<int>(m_groups.size()); }
  COPCGroup* Group(int index) const { return m_groups.at(static_cast<size_t>(index)).get(); }
  // Item count of every group and the three totals.
  void RecountItems();
  // Every change of groups or items: enables "Save Project"; an acquisition that ran on
  // the configuration before can no longer be resumed.
  void MarkConfigurationChanged() {
    m_bConfigurationModified = true;
    ++m_nConfigurationRevision;
  }
  // Changes with every configuration change (the acquisition engine compares it).
  uint64_t ConfigurationRevision() const { return m_nConfigurationRevision; }
  const std::string& ServerId() const { return m_sServerId; }
  const std::string& Host() const { return m_sHost; }
  // Project close: no server is chosen any more.
  void ClearServerId() { m_sServerId.clear(); }
  const CLSID& Clsid() const { return m_clsid; }
  const std::vector<std::unique_ptr<COPCGroup>>& Groups() const { return m_groups; }
  // The whole configuration as a value, composed now from what the model holds.
  COPCConfiguration Configuration() const;
  // The item columns of a data set over all groups, counted now (not as of RecountItems).
  int ColumnCount() const;
  // As of the last RecountItems.
  int TotalItemCount() const { return m_nTotalItemCount; }
  int TotalAcquiredCount() const { return m_nTotalAcquiredCount; }
  int TotalCalculatedCount() const { return m_nTotalCalculatedCount; }
  bool IsConfigurationModified() const { return m_bConfigurationModified; }
  // Saved or loaded: "Save Project" has nothing new to save.
  void SetConfigurationModified(bool modified) { m_bConfigurationModified = modified; }

  // ---- The live connection ----
  const COPCConnection& Connection() const { return m_connection; }
  bool IsConnected() const { return m_connection.m_bConnected; }

 private:
  friend struct COPCModelAccess;

  void AdviseShutdown();
  // Steps 1 and 2 of a group removal: items, interfaces, the server's RemoveGroup.
  void ReleaseGroupOnServer(COPCGroup& group);

  AppContext& m_context;
  std::function<void()> m_shutdownHandler;
  uint64_t m_nConfigurationRevision = 0;

  std::string m_sServerId;  // ProgID
  std::string m_sHost;      // "Local Host" or a machine name
  CLSID m_clsid;            // all zero: looked up from the server id at connect
  // Interface pointers, shutdown sink and cookie, connected flag.
  COPCConnection m_connection;
  std::vector<std::unique_ptr<COPCGroup>> m_groups;
  int m_nTotalItemCount = 0;
  int m_nTotalAcquiredCount = 0;
  int m_nTotalCalculatedCount = 0;
  bool m_bConfigurationModified = false;  // enables "Save Project"
};
