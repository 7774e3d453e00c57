// Adding and removing groups on the server (COPCServer).

#include "base/log.h"
#include "opc/opc_server.h"
#include "platform/com/error_text.h"

namespace {

constexpr char kNoConnectionLog[] =
    "Addition of Group '%s' to OPC Server '%s' Failed (No Connection)";
constexpr char kAddGroupFailedLog[] =
    "Fail to Add Group '%s' to OPC Server %s on %s !!! IOPCServer Interface Error. Error Code: "
    "%08X  Reason: %s";
constexpr char kNoGroupObjectLog[] =
    "Addition of Group '%s' to OPC Server '%s' Succeded but IUnknown is invalid";
constexpr char kRemoveGroupFailedLog[] =
    "Fail to Remove OPC Group '%s' to OPC Server %s on %s !!! \nIOPCServer::RemoveGroup Error "
    "\nError Code: %08X  \nReason: %s";
constexpr char kRemoveGroupLog[] = "Successful Removal of OPC Group '%s' to OPC Server %s on %s";

template <class T>
void QueryGroupInterface(IUnknown* object, ComPtr<T>& field) {
  object->QueryInterface(T::kIID, field.ReleaseAndGetVoidAddress());
}

}  // namespace

COPCGroup* COPCServer::AddGroup(const OPCGroupSettings& settings) {
  auto group = std::make_unique<COPCGroup>(this);
  group->m_settings = settings;
  if (!CreateGroupOnServer(*group))
    return nullptr;
  m_groups.push_back(std::move(group));
  return m_groups.back().get();
}

bool COPCServer::CreateGroupOnServer(COPCGroup& group) {
  CLog& log = m_context.log;
  OPCGroupSettings& settings = group.m_settings;
  const std::string name = settings.m_sName;
  if (!m_connection.m_bConnected || !m_connection.m_pIOPCServer) {
    log.Log(Format(kNoConnectionLog, name.c_str(), m_sServerId.c_str()), kLogOpcServer);
    return false;
  }
  // The name travels in a fixed wide buffer: a longer one cannot be converted.
  if (name.size() >= static_cast<size_t>(kGroupNameBufferChars))
    return false;

  const DWORD updateRate = settings.m_dwUpdateRate;
  OPCHANDLE serverGroup = 0;
  DWORD revisedRate = 0;
  ComPtr<IUnknown> object;
  const HRESULT hr = m_connection.m_pIOPCServer->AddGroup(
      name, settings.m_bActive ? TRUE : FALSE, updateRate, 0, &settings.m_nTimeBias,
      &settings.m_fDeadBand, settings.m_dwLocale, &serverGroup, &revisedRate, IID_IUnknown,
      object.ReleaseAndGetAddressOf());
  if (FAILED(hr)) {
    log.Log(Format(kAddGroupFailedLog, name.c_str(), m_sServerId.c_str(), m_sHost.c_str(),
                   static_cast<unsigned>(hr), HResultReasonText(hr).c_str()),
            kLogOpcServer);
    return false;
  }
  if (!object) {
    log.Log(Format(kNoGroupObjectLog, name.c_str(), m_sServerId.c_str()), kLogOpcServer);
    // The server made a group we cannot use: do not leave it behind.
    m_connection.m_pIOPCServer->RemoveGroup(serverGroup, TRUE);
    return false;
  }
  group.m_connection.m_bOnServer = true;
  group.m_connection.m_hServerGroup = serverGroup;
  if (revisedRate != updateRate)
    settings.m_dwUpdateRate = revisedRate;

  QueryGroupInterface(object.Get(), group.m_connection.m_pIOPCGroupStateMgt);
  QueryGroupInterface(object.Get(), group.m_connection.m_pIOPCPublicGroupStateMgt);
  QueryGroupInterface(object.Get(), group.m_connection.m_pIOPCItemMgt);
  QueryGroupInterface(object.Get(), group.m_connection.m_pIOPCSyncIO);
  QueryGroupInterface(object.Get(), group.m_connection.m_pIOPCAsyncIO);
  QueryGroupInterface(object.Get(), group.m_connection.m_pIDataObject);
  QueryGroupInterface(object.Get(), group.m_connection.m_pIOPCAsyncIO2);
  QueryGroupInterface(object.Get(), group.m_connection.m_pIConnectionPointContainer);

  if (group.m_connection.m_pIOPCGroupStateMgt && settings.m_sName.empty()) {
    DWORD rate = 0;
    BOOL isActive = FALSE;
    std::string assignedName;
    LONG bias = 0;
    FLOAT band = 0.0f;
    LCID lcid = 0;
    OPCHANDLE clientGroup = 0;
    OPCHANDLE serverHandle = 0;
    if (SUCCEEDED(group.m_connection.m_pIOPCGroupStateMgt->GetState(
            &rate, &isActive, &assignedName, &bias, &band, &lcid, &clientGroup, &serverHandle))) {
      settings.m_sName = assignedName;
      settings.m_dwUpdateRate = rate;
      settings.m_bActive = isActive != FALSE;
      settings.m_nTimeBias = bias;
      settings.m_fDeadBand = band;
      settings.m_dwLocale = lcid;
      group.m_connection.m_hServerGroup = serverHandle;
    }
  }
  return true;
}

void COPCServer::ReleaseGroupOnServer(COPCGroup& group) {
  group.DestroyItems();
  group.ReleaseInterfaces();
  group.m_nItemCount = 0;
  // Without a connection the server-side group went with it: nothing to ask.
  if (!group.m_connection.m_bOnServer || !m_connection.m_pIOPCServer)
    return;
  const HRESULT hr =
      m_connection.m_pIOPCServer->RemoveGroup(group.m_connection.m_hServerGroup, TRUE);
  if (FAILED(hr)) {
    m_context.log.Log(
        Format(kRemoveGroupFailedLog, group.Name().c_str(), m_sServerId.c_str(), m_sHost.c_str(),
               static_cast<unsigned>(hr), HResultReasonText(hr).c_str()),
        kLogOpcServer);
  } else {
    m_context.log.Log(
        Format(kRemoveGroupLog, group.Name().c_str(), m_sServerId.c_str(), m_sHost.c_str()),
        kLogOpcServer);
  }
  group.m_connection.m_bOnServer = false;
}

bool COPCServer::RemoveGroup(COPCGroup* group) {
  const int index = GroupIndex(group);
  if (index < 0 || !group->m_connection.m_bOnServer)
    return false;
  ReleaseGroupOnServer(*group);
  m_groups.erase(m_groups.begin() + index);
  RecountItems();
  return true;
}

void COPCServer::RemoveAllGroups() {
  for (auto& group : m_groups)
    ReleaseGroupOnServer(*group);
  m_groups.clear();
  RecountItems();
}
