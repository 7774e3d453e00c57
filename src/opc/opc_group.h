#pragma once
// COPCGroup: one OPC group of the current server: its settings, its acquired and
// calculated items, its live side on the server (COPCGroupConnection), its read state and
// read statistics. Owned by the server's group list; its fields change only through it.
// Thread rule: GUI thread, like the server that owns it.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "opc/opc_connection.h"
#include "opc/opc_group_settings.h"
#include "opc/opc_item.h"
#include "opc/opc_limits.h"
#include "opc/read_statistics.h"
#include "platform/com/com_ptr.h"
#include "platform/opc/opc_interfaces.h"

class COPCServer;

inline constexpr char kUnknownTimeText[] = "Unknown";

class COPCGroup {
 public:
  explicit COPCGroup(COPCServer* server) : m_pServer(server) {}
  ~COPCGroup();
  COPCGroup(const COPCGroup&) = delete;
  COPCGroup& operator=(const COPCGroup&) = delete;

  // New items at the end of their list, stamped with the current time; owned here.
  COPCItem* AppendAcquiredItem();
  COPCCalcItem* AppendCalcItem();
  // Removes the item from the list of its kind and destroys it; false when it is not
  // one of this group's items.
  bool RemoveItem(const COPCBaseItem* item);
  // Destroys the acquired items, then the calculated items.
  void DestroyItems();
  void DestroyAcquiredItems() { m_acquiredItems.clear(); }
  // Replaces the calculated items by those of source (an edited copy), which loses them.
  void TakeCalcItems(COPCGroup& source);
  // Releases the eight group interfaces.
  void ReleaseInterfaces();
  // After the server went away: the group is no longer on any server.
  void ForgetServerGroup() { m_connection.m_bOnServer = false; }

  // Takes over the settings of source (server, name, update rate, time bias, dead band,
  // locale, read interface, active, the group interfaces) and, when asked, copies of its
  // acquired items (their definition and quality) and of its calculated items (their
  // definition, quality and evaluation context).
  void CopySettings(const COPCGroup& source, bool withAcquiredItems, bool withCalcItems);

  // ---- Configuration ----
  COPCServer* Server() const { return m_pServer; }
  // The settings as one value; SetSettings replaces them all (the server's group is not
  // changed).
  const OPCGroupSettings& Settings() const { return m_settings; }
  void SetSettings(const OPCGroupSettings& settings) { m_settings = settings; }
  const std::string& Name() const { return m_settings.m_sName; }
  void SetName(const std::string& name) { m_settings.m_sName = name; }
  DWORD UpdateRate() const { return m_settings.m_dwUpdateRate; }
  void SetUpdateRate(DWORD rate) { m_settings.m_dwUpdateRate = rate; }
  LONG TimeBias() const { return m_settings.m_nTimeBias; }
  void SetTimeBias(LONG bias) { m_settings.m_nTimeBias = bias; }
  FLOAT DeadBand() const { return m_settings.m_fDeadBand; }
  void SetDeadBand(FLOAT band) { m_settings.m_fDeadBand = band; }
  LCID Locale() const { return m_settings.m_dwLocale; }
  void SetLocale(LCID locale) { m_settings.m_dwLocale = locale; }
  uint32_t ReadInterface() const { return m_settings.m_nReadInterface; }
  void SetReadInterface(uint32_t code) { m_settings.m_nReadInterface = code; }
  bool IsActive() const { return m_settings.m_bActive; }
  void SetActive(bool active) { m_settings.m_bActive = active; }
  // The items own their own fields; the lists change only through the group.
  const std::vector<std::unique_ptr<COPCItem>>& AcquiredItems() const { return m_acquiredItems; }
  const std::vector<std::unique_ptr<COPCCalcItem>>& CalcItems() const { return m_calcItems; }
  int AcquiredCount() const { return static_cast<int>(m_acquiredItems.size()); }
  int CalcCount() const { return static_cast<int>(m_calcItems.size()); }
  // The group's columns in a data set: its acquired, then its calculated items.
  int ColumnCount() const { return AcquiredCount() + CalcCount(); }
  // Acquired + calculated items as of the last COPCServer::RecountItems.
  int ItemCount() const { return m_nItemCount; }

  // ---- On the server ----
  const COPCGroupConnection& Connection() const { return m_connection; }
  // The answers of an AddItems call, kept until the caller processed them.
  void SetItemAnswers(std::vector<OPCITEMRESULT> results, std::vector<HRESULT> errors) {
    m_connection.m_itemResults = std::move(results);
    m_connection.m_itemErrors = std::move(errors);
  }
  void ClearItemAnswers() { SetItemAnswers({}, {}); }

  // ---- Read state ----
  const FILETIME& LastReadTime() const { return m_ftLastReadTime; }
  const std::string& TimeText() const { return m_sTimeText; }
  const GroupReadStatistics& Statistics() const { return m_statistics; }
  // A read that succeeded at readTime (local time), with its time text.
  void SetLastRead(const FILETIME& readTime, const std::string& timeText) {
    m_ftLastReadTime = readTime;
    m_sTimeText = timeText;
  }
  // A read begins or failed: the time of its values is not known.
  void SetTimeTextUnknown() { m_sTimeText = kUnknownTimeText; }
  // The log line and the rich-text detail lines of a failed read; empty to clear them.
  void SetReadError(const std::string& message, const std::string& report) {
    m_connection.m_sErrorMessage = message;
    m_connection.m_sErrorReport = report;
  }
  // Adds the interval since the previous read to the statistics.
  void UpdateStatistics() { m_statistics.Update(m_ftLastReadTime); }
  // A new acquisition starts its statistics afresh.
  void ResetStatistics() { m_statistics.Reset(); }

 private:
  friend class COPCServer;  // RecountItems, AddGroup, RemoveGroup
  friend struct COPCModelAccess;

  COPCServer* m_pServer;
  // Name, update rate, time bias, dead band, locale, read interface, active.
  OPCGroupSettings m_settings;
  std::vector<std::unique_ptr<COPCItem>> m_acquiredItems;
  std::vector<std::unique_ptr<COPCCalcItem>> m_calcItems;

  // Interfaces, server handle, AddItems answers and read error texts.
  COPCGroupConnection m_connection;

  // See COPCServer::RecountItems.
  int m_nItemCount = 0;

  FILETIME m_ftLastReadTime;  // local time just after the last successful read
  std::string m_sTimeText = kUnknownTimeText;
  GroupReadStatistics m_statistics;
};
