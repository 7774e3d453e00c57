#pragma once
// COPCGroup: one OPC group of the current server with its acquired and calculated items,
// the group's interfaces on the server, its read state and read statistics, and the
// acquisition engine's per-group counters. Owned by the server's group list.
// Thread rule: GUI thread, like the server that owns it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "opc/opc_item.h"
#include "opc/opc_limits.h"
#include "opc/read_statistics.h"
#include "platform/com/com_ptr.h"
#include "platform/opc/opc_interfaces.h"

class COPCServer;

inline constexpr char kUnknownTimeText[] = "Unknown";
inline constexpr DWORD kDefaultUpdateRate = 1000;
inline constexpr LCID kDefaultGroupLocale = 1033;

class COPCGroup {
 public:
  explicit COPCGroup(COPCServer* server) : m_pServer(server) {}
  ~COPCGroup();
  COPCGroup(const COPCGroup&) = delete;
  COPCGroup& operator=(const COPCGroup&) = delete;

  // New items at the end of their list, stamped with the current time; owned here.
  COPCItem* AppendAcquiredItem();
  COPCCalcItem* AppendCalcItem();
  // Destroys the acquired items, then the calculated items.
  void DestroyItems();
  // Releases the eight group interfaces.
  void ReleaseInterfaces();

  // Takes over the settings of source (server, name, update rate, time bias, dead band,
  // locale, read interface, active, the group interfaces) and, when asked, copies of its
  // acquired items (qualified id, short id, data type, quality) and of its calculated
  // items (their definition and evaluation context).
  void CopySettings(const COPCGroup& source, bool withAcquiredItems, bool withCalcItems);

  int AcquiredCount() const { return static_cast<int>(m_acquiredItems.size()); }
  int CalcCount() const { return static_cast<int>(m_calcItems.size()); }

  // ---- Configuration ----
  COPCServer* m_pServer;
  std::string m_sName;
  DWORD m_dwUpdateRate = kDefaultUpdateRate;  // ms; the server's revised rate after AddGroup
  LONG m_nTimeBias = 0;                       // minutes
  FLOAT m_fDeadBand = 0.0f;                   // percent
  LCID m_dwLocale = kDefaultGroupLocale;
  uint32_t m_nReadInterface = kReadAsync10;  // ReadInterface code
  bool m_bActive = true;
  std::vector<std::unique_ptr<COPCItem>> m_acquiredItems;
  std::vector<std::unique_ptr<COPCCalcItem>> m_calcItems;

  // ---- On the server ----
  // Per-item answers of the last AddItems, kept for the caller until processed.
  std::vector<OPCITEMRESULT> m_itemResults;
  std::vector<HRESULT> m_itemErrors;
  bool m_bOnServer = false;
  ComPtr<IOPCGroupStateMgt> m_pIOPCGroupStateMgt;
  ComPtr<IOPCPublicGroupStateMgt> m_pIOPCPublicGroupStateMgt;
  ComPtr<IOPCItemMgt> m_pIOPCItemMgt;
  ComPtr<IOPCSyncIO> m_pIOPCSyncIO;
  ComPtr<IOPCAsyncIO2> m_pIOPCAsyncIO2;
  ComPtr<IConnectionPointContainer> m_pIConnectionPointContainer;
  ComPtr<IOPCAsyncIO> m_pIOPCAsyncIO;
  ComPtr<IDataObject> m_pIDataObject;
  OPCHANDLE m_hServerGroup = 0;

  // ---- Counts (see COPCServer::RecountItems) ----
  int m_nItemCount = 0;
  // Refreshed when the configuration tree lists the group's items.
  int m_nAcquiredCount = 0;

  // ---- Read state ----
  FILETIME m_ftLastReadTime;  // local time just after the last successful read
  std::string m_sTimeText = kUnknownTimeText;
  std::string m_sErrorMessage;
  std::string m_sErrorReport;  // rich-text detail lines of the last failed read
  GroupReadStatistics m_statistics;
};
