#pragma once
// CSimServerCore: the state of one simulation server instance, shared by its server
// object, its groups and its connection point (each holds it by shared_ptr, so a group
// the client still holds keeps working after the server object is released).
// Thread rule: the client's apartment thread.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/opc/opc_interfaces.h"
#include "platform/sim/sim_address_space.h"
#include "platform/sim/sim_runtime.h"

class CSimGroup;
class CSimServerCore;

// The span of one call on a server, group or connection point object.
class CSimCall {
 public:
  explicit CSimCall(const std::shared_ptr<CSimServerCore>& core);
  ~CSimCall();
  CSimCall(const CSimCall&) = delete;
  CSimCall& operator=(const CSimCall&) = delete;
  HRESULT Result() const { return m_hr; }

 private:
  std::shared_ptr<CSimServerCore> m_pCore;  // a copy: the core outlives the call
  HRESULT m_hr;
};

class CSimServerCore {
 public:
  CSimServerCore(const CSimClass& simClass, const std::string& hostName);
  ~CSimServerCore();
  CSimServerCore(const CSimServerCore&) = delete;
  CSimServerCore& operator=(const CSimServerCore&) = delete;

  const CSimClass& Class() const { return m_class; }
  SimServerKind Kind() const { return m_class.m_eKind; }
  const std::string& ProgId() const { return m_class.m_sProgId; }
  const CSimAddressSpace& Space() const { return *m_pSpace; }
  const CSimFaults& Faults() const;

  // Every call starts here (through CSimCall): applies the timed faults and answers
  // RPC_S_SERVER_UNAVAILABLE once the server is dead. A timed shutdown request found due
  // is sent when the call ends, so that a client closing its connection from within the
  // request never pulls the object out from under a running call; while no sink is
  // advised it stays due, so it is sent once, at the end of the call that advises one.
  HRESULT Enter();
  void SendDueShutdown();
  bool IsDead();
  // Marks the instance dead once die_after_ms is reached and tells the runtime when it
  // died (its "process" may stay down a while). Called at every call, by the runtime
  // before a creation and when the instance goes.
  void NoteDeath();

  // Time and values.
  int64_t NowUtcMs() const;
  int64_t LocalOffsetMs() const;
  FILETIME StartTime() const { return m_ftStart; }
  VARIANT ValueAt(const CSimItem& item, int64_t unixMs) const;
  // A client's write: kept as the item's value from now on.
  void StoreWrite(const std::string& itemId, const VARIANT& value);
  // Waits as long as a read from this source takes (device reads are slower).
  void WaitForRead(OPCDATASOURCE source);

  // Groups.
  DWORD ReviseUpdateRate(DWORD requested) const;
  OPCHANDLE NewGroupHandle() { return m_nNextGroupHandle++; }
  OPCHANDLE NewItemHandle() { return m_nNextItemHandle++; }
  bool NameInUse(const std::string& name, const CSimGroup* except) const;
  std::string UniqueGroupName();
  void AddGroup(CSimGroup* group);
  CSimGroup* FindGroup(OPCHANDLE handle) const;
  CSimGroup* FindGroupByName(const std::string& name) const;
  // Drops the server's reference; the group lives on while its client holds it.
  bool RemoveGroup(OPCHANDLE handle);
  std::vector<CSimGroup*> Groups() const;
  // When the server object goes: drops every group and every advised sink.
  void ReleaseClientObjects();

  // Shutdown connection point: one client at a time.
  HRESULT AdviseShutdown(IUnknown* sink, DWORD* cookie);
  HRESULT UnadviseShutdown(DWORD cookie);
  std::vector<CONNECTDATA> ShutdownConnections() const;
  // Sends the request to the advised client through the runtime's dispatcher; 1 when a
  // client was asked, 0 otherwise.
  int SendShutdown(const std::string& reason);

  // Browse position (a branch path; "" is the root) and client settings.
  std::string m_sBrowsePosition;
  LCID m_nLocale = LOCALE_EN_US;
  std::string m_sClientName;

 private:
  CSimClass m_class;
  std::string m_sHost;
  std::shared_ptr<const CSimAddressSpace> m_pSpace;
  FILETIME m_ftStart;
  uint32_t m_nStartTick = 0;
  bool m_bDied = false;
  bool m_bShutdownSent = false;
  bool m_bShutdownDue = false;
  std::map<std::string, VARIANT> m_writes;
  std::vector<ComPtr<CSimGroup>> m_groups;
  OPCHANDLE m_nNextGroupHandle = 1;
  OPCHANDLE m_nNextItemHandle = 0x100;
  ComPtr<IOPCShutdown> m_pShutdownSink;
  DWORD m_nShutdownCookie = 0;
  DWORD m_nNextCookie = 0x5A01;
  uint32_t m_nGroupNameCounter = 0;
};
