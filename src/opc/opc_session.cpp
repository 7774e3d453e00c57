// Connect and disconnect of COPCServer, and the shutdown advise.
#include <utility>

#include "base/log.h"
#include "opc/opc_server.h"
#include "opc/opc_shutdown_sink.h"
#include "platform/com/error_text.h"

namespace {

constexpr char kConnectingLog[] = "Connecting to OPC Server %s on %s";
constexpr char kNoClsidLog[] = "Failure to Obtain Valid CLSID for OPC Server '%s'";
constexpr char kCreateFailedLog[] =
    "Fail to Connect to OPC Server  %s on %s !!! \nCoCreateInstanceEx failed \nError Code: %08X  "
    "\nReason: %s";
constexpr char kSlotFailedLog[] = "%s for OPC Server %s on %s ... Error: %08X  Reason: %s";
constexpr char kSlotNullLog[] = "%s for OPC Server %s on %s ... ";
constexpr char kInterfacesCreatedLog[] =
    "Successful Creation of Interfaces Pointers to OPC Server %s on %s in %d ms";
constexpr char kAdviseFailedLog[] =
    "Fail to Create Shutdown Sink to OPC Server %s on %s !!! \nAdvise Error \nError Code: %08X  "
    "\nReason: %s";
constexpr char kAdvisedLog[] =
    "Successful Creation of Shutdown Sink to OPC Server %s on %s in %d ms";
constexpr char kNotSupportedLog[] =
    "Fail to Connect to OPC Server %s on %s !!! - Required OPC Interfaces not Supported !!!";
constexpr char kUnadviseFailedLog[] =
    "COPCServer::Disconnect() - Fail to Unadvise Shutdown Notifications";

// The request block, in its fixed order, with what each slot logs when it fails.
struct InterfaceSlot {
  const IID* iid;
  const char* queryFailed;  // null: a failure is not logged
  const char* nullPointer;
  bool nullIsFatal;
};

enum Slot {
  kSlotServer,
  kSlotCommon,
  kSlotConnectionPoints,
  kSlotItemProperties,
  kSlotBrowse,
  kSlotPublicGroups,
  kSlotPersistFile,
};

const InterfaceSlot kInterfaceSlots[kInterfaceRequestCount] = {
    {&IID_IOPCServer, "Query for IOPCServer Interface Pointer Failed",
     "Internal Error - Null Pointer to IOPCServer Interface", true},
    {&IID_IOPCCommon, "Query for IOPCCommon Interface Pointer Failed",
     "Internal Error - Null Pointer to IOPCCommon Interface", true},
    {&IID_IConnectionPointContainer, "Query for IConnectionPoint Interface Pointer Failed",
     "Internal Error - Null Pointer to IConnectionPointContainer Interface", true},
    {&IID_IOPCItemProperties, "Query for IOPCItemProperties Interface Pointer Failed",
     "Internal Error - Null Pointer to IOPCItemProperties Interface", true},
    {&IID_IOPCBrowseServerAddressSpace,
     "Query for IOPCBrowseServerAddressSpace Interface Pointer Failed",
     "Internal Error - Null Pointer to IOPCBrowseServerAddressSpace Interface", true},
    {&IID_IOPCServerPublicGroups, nullptr,
     "Internal Warning - Null Pointer to IOPCServerPublicGroups Interface", false},
    {&IID_IPersistFile, "Query for IPersistFile Interface Pointer Failed",
     "Internal Error - Null Pointer to IPersistFile Interface", true},
};

template <class T>
void Store(ComPtr<T>& field, IUnknown* obtained) {
  // Each slot holds the interface it was asked for (see creation.h).
  field = static_cast<T*>(obtained);
}

}  // namespace

bool COPCServer::Connect(const std::string& serverId, const std::string& host, const CLSID& clsid) {
  CLog& log = m_context.log;
  m_sServerId = serverId;
  m_sHost = host;
  m_clsid = GUID_NULL;
  log.Log(Format(kConnectingLog, serverId.c_str(), host.c_str()), kLogOpcServer);
  Disconnect();

  CLSID classId = clsid;
  if (IsNullGUID(classId) && FAILED(CLSIDFromProgID(serverId, &classId))) {
    log.Log(Format(kNoClsidLog, serverId.c_str()), kLogOpcServer);
    return false;
  }
  m_clsid = classId;

  for (int i = 0; i < kInterfaceRequestCount; ++i)
    m_connection.m_interfaceRequests[i] = MULTI_QI{kInterfaceSlots[i].iid, nullptr, S_OK};

  // "Local Host" lets the registration decide where the server runs; any other text,
  // even this machine's own name, is sent as a remote machine name.
  COSERVERINFO serverInfo;
  serverInfo.pwszName = host;
  const COSERVERINFO* pServerInfo = host == kLocalHost ? nullptr : &serverInfo;

  const uint32_t creationStart = m_context.clock.TickCount();
  const HRESULT hr =
      CoCreateInstanceEx(classId, nullptr, CLSCTX_SERVER, pServerInfo, kInterfaceRequestCount,
                         m_connection.m_interfaceRequests.data());
  // Own every pointer at once, so that none leaks whichever way this ends.
  std::array<ComPtr<IUnknown>, kInterfaceRequestCount> obtained;
  for (int i = 0; i < kInterfaceRequestCount; ++i)
    obtained[i].Attach(std::exchange(m_connection.m_interfaceRequests[i].pItf, nullptr));

  if (hr != S_OK && hr != CO_S_NOTALLINTERFACES) {
    log.Log(Format(kCreateFailedLog, serverId.c_str(), host.c_str(), static_cast<unsigned>(hr),
                   HResultReasonText(hr).c_str()),
            kLogOpcServer);
    return false;
  }

  for (int i = 0; i < kInterfaceRequestCount; ++i) {
    const InterfaceSlot& slot = kInterfaceSlots[i];
    const HRESULT slotResult = m_connection.m_interfaceRequests[i].hr;
    if (FAILED(slotResult)) {
      obtained[i].Reset();
      if (slot.queryFailed != nullptr) {
        log.Log(Format(kSlotFailedLog, slot.queryFailed, serverId.c_str(), host.c_str(),
                       static_cast<unsigned>(slotResult), HResultReasonText(slotResult).c_str()),
                kLogOpcServer);
      }
    } else if (!obtained[i]) {
      log.Log(Format(kSlotNullLog, slot.nullPointer, serverId.c_str(), host.c_str()),
              kLogOpcServer);
      if (slot.nullIsFatal)
        return false;
    }
  }
  Store(m_connection.m_pIOPCServer, obtained[kSlotServer].Get());
  Store(m_connection.m_pIOPCCommon, obtained[kSlotCommon].Get());
  Store(m_connection.m_pIConnectionPointContainer, obtained[kSlotConnectionPoints].Get());
  Store(m_connection.m_pIOPCItemProperties, obtained[kSlotItemProperties].Get());
  Store(m_connection.m_pIOPCBrowseServerAddressSpace, obtained[kSlotBrowse].Get());
  Store(m_connection.m_pIOPCServerPublicGroups, obtained[kSlotPublicGroups].Get());
  Store(m_connection.m_pIPersistFile, obtained[kSlotPersistFile].Get());
  log.Log(Format(kInterfacesCreatedLog, serverId.c_str(), host.c_str(),
                 static_cast<int>(m_context.clock.TickCount() - creationStart)),
          kLogOpcServer);

  if (m_connection.m_pIConnectionPointContainer)
    AdviseShutdown();

  m_connection.m_bConnected = static_cast<bool>(m_connection.m_pIOPCServer);
  if (!m_connection.m_bConnected)
    log.Log(Format(kNotSupportedLog, serverId.c_str(), host.c_str()), kLogOpcServer);
  return m_connection.m_bConnected;
}

void COPCServer::AdviseShutdown() {
  const uint32_t adviseStart = m_context.clock.TickCount();
  ComPtr<IConnectionPoint> point;
  if (FAILED(m_connection.m_pIConnectionPointContainer->FindConnectionPoint(
          IID_IOPCShutdown, point.ReleaseAndGetAddressOf())) ||
      !point) {
    return;
  }
  m_connection.m_pShutdownSink = new COPCShutdownSink(*this);
  const HRESULT hr =
      point->Advise(m_connection.m_pShutdownSink.Get(), &m_connection.m_dwShutdownCookie);
  if (FAILED(hr)) {
    m_connection.m_dwShutdownCookie = 0;
    m_context.log.Log(Format(kAdviseFailedLog, m_sServerId.c_str(), m_sHost.c_str(),
                             static_cast<unsigned>(hr), HResultReasonText(hr).c_str()),
                      kLogOpcServer);
  } else {
    m_context.log.Log(Format(kAdvisedLog, m_sServerId.c_str(), m_sHost.c_str(),
                             static_cast<int>(m_context.clock.TickCount() - adviseStart)),
                      kLogOpcServer);
  }
}

void COPCServer::Disconnect() {
  m_connection.m_pIOPCServer.Reset();
  m_connection.m_pIOPCServerPublicGroups.Reset();
  m_connection.m_pIOPCBrowseServerAddressSpace.Reset();
  m_connection.m_pIPersistFile.Reset();
  m_connection.m_pIOPCItemProperties.Reset();
  m_connection.m_pIOPCCommon.Reset();
  if (m_connection.m_pIConnectionPointContainer) {
    if (m_connection.m_dwShutdownCookie != 0) {
      ComPtr<IConnectionPoint> point;
      if (SUCCEEDED(m_connection.m_pIConnectionPointContainer->FindConnectionPoint(
              IID_IOPCShutdown, point.ReleaseAndGetAddressOf())) &&
          point) {
        point->Unadvise(m_connection.m_dwShutdownCookie);
      } else {
        m_context.log.Log(kUnadviseFailedLog, kLogOpcServer);
      }
    }
    m_connection.m_dwShutdownCookie = 0;
    m_connection.m_pShutdownSink.Reset();
    m_connection.m_pIConnectionPointContainer.Reset();
  }
  m_connection.m_bConnected = false;
}
