#pragma once
// COPCConnection: the live side of the current server, apart from its configuration: the
// request block of the last connect, the server's interface pointers, the shutdown sink
// with its cookie and the connected flag. Filled and cleared only by the server's connect
// and disconnect; everyone else reads it through COPCServer::Connection().
// Thread rule: GUI thread (the client's single-threaded apartment).
#include <array>
#include <string>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/creation.h"
#include "platform/opc/opc_interfaces.h"

// Slots of the interface request block handed to the object creation at connect.
inline constexpr int kInterfaceRequestCount = 7;

class COPCConnection {
 public:
  bool IsConnected() const { return m_bConnected; }
  const std::array<MULTI_QI, kInterfaceRequestCount>& InterfaceRequests() const {
    return m_interfaceRequests;
  }
  const ComPtr<IOPCServer>& OPCServer() const { return m_pIOPCServer; }
  const ComPtr<IOPCServerPublicGroups>& ServerPublicGroups() const {
    return m_pIOPCServerPublicGroups;
  }
  const ComPtr<IOPCBrowseServerAddressSpace>& BrowseServerAddressSpace() const {
    return m_pIOPCBrowseServerAddressSpace;
  }
  const ComPtr<IPersistFile>& PersistFile() const { return m_pIPersistFile; }
  const ComPtr<IOPCItemProperties>& ItemProperties() const { return m_pIOPCItemProperties; }
  const ComPtr<IOPCCommon>& Common() const { return m_pIOPCCommon; }
  const ComPtr<IConnectionPointContainer>& ConnectionPointContainer() const {
    return m_pIConnectionPointContainer;
  }
  const ComPtr<IOPCShutdown>& ShutdownSink() const { return m_pShutdownSink; }
  DWORD ShutdownCookie() const { return m_dwShutdownCookie; }

 private:
  friend class COPCServer;        // connect and disconnect fill and clear it
  friend struct COPCModelAccess;  // test doubles substitute an interface

  // The request block of the last connect (the pointers are taken over at once).
  std::array<MULTI_QI, kInterfaceRequestCount> m_interfaceRequests{};
  ComPtr<IOPCServer> m_pIOPCServer;
  ComPtr<IOPCServerPublicGroups> m_pIOPCServerPublicGroups;
  ComPtr<IOPCBrowseServerAddressSpace> m_pIOPCBrowseServerAddressSpace;
  ComPtr<IPersistFile> m_pIPersistFile;
  ComPtr<IOPCItemProperties> m_pIOPCItemProperties;
  ComPtr<IOPCCommon> m_pIOPCCommon;
  ComPtr<IConnectionPointContainer> m_pIConnectionPointContainer;
  ComPtr<IOPCShutdown> m_pShutdownSink;
  DWORD m_dwShutdownCookie = 0;  // 0: not advised
  bool m_bConnected = false;
};

// COPCGroupConnection: the live side of one group: its interfaces on the server, the
// server's handle of it, the answers of the last AddItems and the texts of the last
// failed read. Filled by the server's group calls and the group reads.
// Thread rule: GUI thread, like the group that owns it.
class COPCGroupConnection {
 public:
  bool IsOnServer() const { return m_bOnServer; }
  OPCHANDLE ServerGroup() const { return m_hServerGroup; }
  const ComPtr<IOPCGroupStateMgt>& GroupStateMgt() const { return m_pIOPCGroupStateMgt; }
  const ComPtr<IOPCPublicGroupStateMgt>& PublicGroupStateMgt() const {
    return m_pIOPCPublicGroupStateMgt;
  }
  const ComPtr<IOPCItemMgt>& ItemMgt() const { return m_pIOPCItemMgt; }
  const ComPtr<IOPCSyncIO>& SyncIO() const { return m_pIOPCSyncIO; }
  const ComPtr<IOPCAsyncIO2>& AsyncIO2() const { return m_pIOPCAsyncIO2; }
  const ComPtr<IConnectionPointContainer>& ConnectionPointContainer() const {
    return m_pIConnectionPointContainer;
  }
  const ComPtr<IOPCAsyncIO>& AsyncIO() const { return m_pIOPCAsyncIO; }
  const ComPtr<IDataObject>& DataObject() const { return m_pIDataObject; }

  // Per-item answers of the last AddItems, kept for the caller until processed.
  const std::vector<OPCITEMRESULT>& ItemResults() const { return m_itemResults; }
  const std::vector<HRESULT>& ItemErrors() const { return m_itemErrors; }

  // The last failed read: its log line and its rich-text detail lines (both empty after a
  // read that succeeded).
  const std::string& ErrorMessage() const { return m_sErrorMessage; }
  const std::string& ErrorReport() const { return m_sErrorReport; }

 private:
  friend class COPCServer;  // AddGroup, RemoveGroup
  friend class COPCGroup;   // its own operations (below)
  friend struct COPCModelAccess;

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
  std::string m_sErrorMessage;
  std::string m_sErrorReport;
};
