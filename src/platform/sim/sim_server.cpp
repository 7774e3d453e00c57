#include "platform/sim/sim_server.h"

#include "platform/com/automation_date.h"
#include "platform/com/error_text.h"
#include "platform/opc/opc_error_text.h"
#include "platform/opc/opc_filter.h"
#include "platform/sim/sim_group.h"

namespace {

constexpr const char* kVendorFull = "Velmora Simulation Server";
constexpr const char* kVendorDa1 = "Velmora Simulation Server (DA 1.0)";
constexpr const char* kVendorNoBrowse = "Velmora Simulation Server (No Browsing)";
constexpr WORD kBuildNumber = 7;
constexpr DWORD kScanRateMs = 100;

constexpr LCID kLocales[] = {LOCALE_EN_US, LOCALE_NEUTRAL, LOCALE_USER_DEFAULT,
                             LOCALE_SYSTEM_DEFAULT};

bool LocaleSupported(LCID lcid) {
  for (const LCID supported : kLocales) {
    if (supported == lcid) {
      return true;
    }
  }
  return false;
}

std::string ErrorText(HRESULT hr) {
  const std::string text = OpcErrorText(hr);
  return text.empty() ? HResultReasonText(hr) : text;
}

// The connection point of IOPCShutdown.
class CSimShutdownPoint : public CComObjectRoot<IConnectionPoint> {
 public:
  CSimShutdownPoint(std::shared_ptr<CSimServerCore> core, IConnectionPointContainer* container)
      : m_pCore(std::move(core)), m_pContainer(container) {}

  HRESULT GetConnectionInterface(IID* pIID) override {
    if (pIID == nullptr) {
      return E_POINTER;
    }
    *pIID = IID_IOPCShutdown;
    return S_OK;
  }
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override {
    return m_pContainer.CopyTo(ppCPC);
  }
  HRESULT Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override {
    const CSimCall call(m_pCore);
    const HRESULT hr = call.Result();
    return FAILED(hr) ? hr : m_pCore->AdviseShutdown(pUnkSink, pdwCookie);
  }
  HRESULT Unadvise(DWORD dwCookie) override {
    const CSimCall call(m_pCore);
    const HRESULT hr = call.Result();
    return FAILED(hr) ? hr : m_pCore->UnadviseShutdown(dwCookie);
  }
  HRESULT EnumConnections(std::vector<CONNECTDATA>* pConnections) override {
    if (pConnections == nullptr) {
      return E_POINTER;
    }
    *pConnections = m_pCore->ShutdownConnections();
    return S_OK;
  }

 private:
  std::shared_ptr<CSimServerCore> m_pCore;
  ComPtr<IConnectionPointContainer> m_pContainer;
};

struct PropertyInfo {
  DWORD id;
  const char* description;
};

constexpr PropertyInfo kProperties[] = {
    {OPC_PROP_CDT, "Item Canonical DataType"},
    {OPC_PROP_VALUE, "Item Value"},
    {OPC_PROP_QUALITY, "Item Quality"},
    {OPC_PROP_TIME, "Item Timestamp"},
    {OPC_PROP_RIGHTS, "Item Access Rights"},
    {OPC_PROP_SCANRATE, "Server Scan Rate"},
    {OPC_PROP_UNIT, "EU Units"},
    {OPC_PROP_DESC, "Item Description"},
    {OPC_PROP_HIEU, "High EU"},
    {OPC_PROP_LOEU, "Low EU"},
};

bool ItemHasProperty(const CSimItem& item, DWORD id) {
  switch (id) {
    case OPC_PROP_CDT:
    case OPC_PROP_VALUE:
    case OPC_PROP_QUALITY:
    case OPC_PROP_TIME:
    case OPC_PROP_RIGHTS:
    case OPC_PROP_SCANRATE:
    case OPC_PROP_DESC:
      return true;
    case OPC_PROP_UNIT:
      return !item.m_sUnit.empty();
    case OPC_PROP_HIEU:
    case OPC_PROP_LOEU:
      return item.m_dHighEU != item.m_dLowEU;
    default:
      return false;
  }
}

VARTYPE PropertyType(const CSimItem& item, DWORD id) {
  switch (id) {
    case OPC_PROP_CDT:
    case OPC_PROP_QUALITY:
      return VT_I2;
    case OPC_PROP_VALUE:
      return item.m_vtCanonical;
    case OPC_PROP_TIME:
      return VT_DATE;
    case OPC_PROP_RIGHTS:
      return VT_I4;
    case OPC_PROP_SCANRATE:
      return VT_R4;
    case OPC_PROP_HIEU:
    case OPC_PROP_LOEU:
      return VT_R8;
    default:
      return VT_BSTR;
  }
}

}  // namespace

CSimServer::CSimServer(const CSimClass& simClass, const std::string& hostName)
    : m_pCore(std::make_shared<CSimServerCore>(simClass, hostName)) {}

CSimServer::~CSimServer() {
  m_pCore->ReleaseClientObjects();
}

void* CSimServer::FindInterface(REFIID riid) {
  switch (m_pCore->Kind()) {
    case SimServerKind::kDa1:
      if (riid != IID_IUnknown && riid != IID_IOPCServer &&
          riid != IID_IOPCBrowseServerAddressSpace) {
        return nullptr;
      }
      break;
    case SimServerKind::kNoBrowse:
      if (riid == IID_IOPCBrowseServerAddressSpace) {
        return nullptr;
      }
      break;
    default:
      break;
  }
  return CComObjectRoot::FindInterface(riid);
}

// ---- IOPCServer ----

HRESULT CSimServer::AddGroup(const std::string& szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                             OPCHANDLE hClientGroup, const LONG* pTimeBias,
                             const FLOAT* pPercentDeadband, DWORD dwLCID, OPCHANDLE* phServerGroup,
                             DWORD* pRevisedUpdateRate, REFIID riid, IUnknown** ppUnk) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (phServerGroup == nullptr || pRevisedUpdateRate == nullptr || ppUnk == nullptr) {
    return E_INVALIDARG;
  }
  *ppUnk = nullptr;
  if (pPercentDeadband != nullptr && (*pPercentDeadband < 0.0f || *pPercentDeadband > 100.0f)) {
    return E_INVALIDARG;
  }
  if (!szName.empty() && m_pCore->NameInUse(szName, nullptr)) {
    return OPC_E_DUPLICATENAME;
  }
  CSimGroupState state;
  state.m_sName = szName.empty() ? m_pCore->UniqueGroupName() : szName;
  state.m_bActive = bActive != FALSE;
  state.m_nUpdateRate = m_pCore->ReviseUpdateRate(dwRequestedUpdateRate);
  state.m_hClientGroup = hClientGroup;
  state.m_nTimeBias = pTimeBias != nullptr ? *pTimeBias : 0;
  state.m_fDeadband = pPercentDeadband != nullptr ? *pPercentDeadband : 0.0f;
  state.m_nLocale = dwLCID;
  const OPCHANDLE handle = m_pCore->NewGroupHandle();
  ComPtr<CSimGroup> group(new CSimGroup(m_pCore, handle, state));
  void* result = nullptr;
  const HRESULT qi = group->QueryInterface(riid, &result);
  if (FAILED(qi)) {
    return qi;
  }
  m_pCore->AddGroup(group.Get());
  *ppUnk = static_cast<IUnknown*>(result);
  *phServerGroup = handle;
  *pRevisedUpdateRate = state.m_nUpdateRate;
  return state.m_nUpdateRate == dwRequestedUpdateRate ? S_OK : OPC_S_UNSUPPORTEDRATE;
}

HRESULT CSimServer::GetErrorString(HRESULT dwError, LCID dwLocale, std::string* pString) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pString == nullptr || !LocaleSupported(dwLocale)) {
    return E_INVALIDARG;
  }
  *pString = ErrorText(dwError);
  return S_OK;
}

HRESULT CSimServer::GetGroupByName(const std::string& szName, REFIID riid, IUnknown** ppUnk) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (ppUnk == nullptr) {
    return E_INVALIDARG;
  }
  *ppUnk = nullptr;
  CSimGroup* group = m_pCore->FindGroupByName(szName);
  if (group == nullptr) {
    return E_INVALIDARG;
  }
  void* result = nullptr;
  const HRESULT qi = group->QueryInterface(riid, &result);
  *ppUnk = static_cast<IUnknown*>(result);
  return qi;
}

HRESULT CSimServer::GetStatus(OPCSERVERSTATUS* pServerStatus) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pServerStatus == nullptr) {
    return E_INVALIDARG;
  }
  const CSimFaults& faults = m_pCore->Faults();
  OPCSERVERSTATUS status;
  status.ftStartTime = m_pCore->StartTime();
  status.ftCurrentTime = FileTimeFromUnixMs(m_pCore->NowUtcMs());
  status.ftLastUpdateTime = status.ftCurrentTime;
  status.dwServerState = faults.m_nServerState != 0
                             ? static_cast<OPCSERVERSTATE>(faults.m_nServerState)
                             : OPC_STATUS_RUNNING;
  status.dwGroupCount = static_cast<DWORD>(m_pCore->Groups().size());
  status.dwBandWidth = 0xFFFFFFFF;  // unknown
  const bool da1 = m_pCore->Kind() == SimServerKind::kDa1;
  status.wMajorVersion = da1 ? 1 : 2;
  status.wMinorVersion = 0;
  status.wBuildNumber = kBuildNumber;
  status.szVendorInfo = da1                                           ? kVendorDa1
                        : m_pCore->Kind() == SimServerKind::kNoBrowse ? kVendorNoBrowse
                                                                      : kVendorFull;
  *pServerStatus = status;
  return S_OK;
}

HRESULT CSimServer::RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  ComPtr<CSimGroup> group(m_pCore->FindGroup(hServerGroup));
  if (!group) {
    return E_INVALIDARG;
  }
  m_pCore->RemoveGroup(hServerGroup);
  // Our ComPtr is the only reference left unless the client still holds the group.
  if (group->RefCount() > 1) {
    if (bForce != FALSE) {
      group->MarkRemoved();
      return S_OK;
    }
    return OPC_S_INUSE;
  }
  return S_OK;
}

HRESULT CSimServer::CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid, IUnknown** ppUnk) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (ppUnk == nullptr || dwScope < OPC_ENUM_PRIVATE_CONNECTIONS || dwScope > OPC_ENUM_ALL) {
    return E_INVALIDARG;
  }
  *ppUnk = nullptr;
  if (riid != IID_IEnumString) {
    return E_NOINTERFACE;
  }
  std::vector<std::string> names;
  const bool privateScope = dwScope != OPC_ENUM_PUBLIC_CONNECTIONS && dwScope != OPC_ENUM_PUBLIC;
  if (privateScope) {
    for (const CSimGroup* group : m_pCore->Groups()) {
      names.push_back(group->Name());
    }
  }
  const bool empty = names.empty();
  *ppUnk = CreateStringEnumerator(std::move(names));
  return empty ? S_FALSE : S_OK;
}

// ---- IOPCCommon ----

HRESULT CSimServer::SetLocaleID(LCID dwLcid) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (!LocaleSupported(dwLcid)) {
    return E_INVALIDARG;
  }
  m_pCore->m_nLocale = dwLcid;
  return S_OK;
}

HRESULT CSimServer::GetLocaleID(LCID* pdwLcid) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pdwLcid == nullptr) {
    return E_INVALIDARG;
  }
  *pdwLcid = m_pCore->m_nLocale;
  return S_OK;
}

HRESULT CSimServer::QueryAvailableLocaleIDs(std::vector<LCID>* pdwLcid) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pdwLcid == nullptr) {
    return E_INVALIDARG;
  }
  pdwLcid->assign(std::begin(kLocales), std::end(kLocales));
  return S_OK;
}

HRESULT CSimServer::GetErrorString(HRESULT dwError, std::string* pString) {
  return GetErrorString(dwError, m_pCore->m_nLocale, pString);
}

HRESULT CSimServer::SetClientName(const std::string& szName) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  m_pCore->m_sClientName = szName;
  return S_OK;
}

// ---- IConnectionPointContainer ----

HRESULT CSimServer::EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* pPoints) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pPoints == nullptr) {
    return E_POINTER;
  }
  pPoints->clear();
  pPoints->emplace_back(new CSimShutdownPoint(m_pCore, this));
  return S_OK;
}

HRESULT CSimServer::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
  if (ppCP == nullptr) {
    return E_POINTER;
  }
  *ppCP = nullptr;
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (riid != IID_IOPCShutdown) {
    return CONNECT_E_NOCONNECTION;
  }
  ComPtr<IConnectionPoint> point(new CSimShutdownPoint(m_pCore, this));
  *ppCP = point.Detach();
  return S_OK;
}

// ---- IOPCItemProperties ----

HRESULT CSimServer::FindPropertyItem(const std::string& szItemID, const CSimItem** item) const {
  const CSimAddressSpace& space = m_pCore->Space();
  if (!space.IsValidItemId(szItemID)) {
    return OPC_E_INVALIDITEMID;
  }
  *item = space.FindItem(szItemID);
  return *item == nullptr ? OPC_E_UNKNOWNITEMID : S_OK;
}

HRESULT CSimServer::QueryAvailableProperties(const std::string& szItemID,
                                             std::vector<DWORD>* pPropertyIDs,
                                             std::vector<std::string>* pDescriptions,
                                             std::vector<VARTYPE>* pvtDataTypes) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pPropertyIDs == nullptr || pDescriptions == nullptr || pvtDataTypes == nullptr) {
    return E_INVALIDARG;
  }
  const CSimItem* item = nullptr;
  const HRESULT found = FindPropertyItem(szItemID, &item);
  if (FAILED(found)) {
    return found;
  }
  pPropertyIDs->clear();
  pDescriptions->clear();
  pvtDataTypes->clear();
  for (const PropertyInfo& property : kProperties) {
    if (ItemHasProperty(*item, property.id)) {
      pPropertyIDs->push_back(property.id);
      pDescriptions->push_back(property.description);
      pvtDataTypes->push_back(PropertyType(*item, property.id));
    }
  }
  return S_OK;
}

HRESULT CSimServer::GetItemProperties(const std::string& szItemID, DWORD dwCount,
                                      const DWORD* pdwPropertyIDs, std::vector<VARIANT>* pData,
                                      std::vector<HRESULT>* pErrors) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (dwCount == 0 || pdwPropertyIDs == nullptr || pData == nullptr || pErrors == nullptr) {
    return E_INVALIDARG;
  }
  const CSimItem* item = nullptr;
  const HRESULT found = FindPropertyItem(szItemID, &item);
  if (FAILED(found)) {
    return found;
  }
  const int64_t nowMs = m_pCore->NowUtcMs();
  pData->assign(dwCount, VARIANT{});
  pErrors->assign(dwCount, S_OK);
  bool anyFailed = false;
  for (DWORD i = 0; i < dwCount; ++i) {
    const DWORD id = pdwPropertyIDs[i];
    VARIANT& v = (*pData)[i];
    if (!ItemHasProperty(*item, id)) {
      (*pErrors)[i] = OPC_E_INVALID_PID;
      anyFailed = true;
      continue;
    }
    v.vt = PropertyType(*item, id);
    switch (id) {
      case OPC_PROP_CDT:
        v.iVal = static_cast<int16_t>(item->m_vtCanonical);
        break;
      case OPC_PROP_VALUE:
        v = m_pCore->ValueAt(*item, nowMs);
        break;
      case OPC_PROP_QUALITY:
        v.iVal = static_cast<int16_t>(item->m_wQuality);
        break;
      case OPC_PROP_TIME:
        v.date = AutomationDateFromUnixMs(nowMs);
        break;
      case OPC_PROP_RIGHTS:
        v.lVal = static_cast<int32_t>(item->m_dwAccessRights);
        break;
      case OPC_PROP_SCANRATE:
        v.fltVal = static_cast<float>(m_pCore->ReviseUpdateRate(kScanRateMs));
        break;
      case OPC_PROP_UNIT:
        v.bstrVal = item->m_sUnit;
        break;
      case OPC_PROP_DESC:
        v.bstrVal = item->m_sDescription;
        break;
      case OPC_PROP_HIEU:
        v.dblVal = item->m_dHighEU;
        break;
      case OPC_PROP_LOEU:
        v.dblVal = item->m_dLowEU;
        break;
      default:
        break;
    }
  }
  return anyFailed ? S_FALSE : S_OK;
}

HRESULT CSimServer::LookupItemIDs(const std::string& szItemID, DWORD dwCount,
                                  const DWORD* pdwPropertyIDs,
                                  std::vector<std::string>* pszNewItemIDs,
                                  std::vector<HRESULT>* pErrors) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (dwCount == 0 || pdwPropertyIDs == nullptr || pszNewItemIDs == nullptr || pErrors == nullptr) {
    return E_INVALIDARG;
  }
  const CSimItem* item = nullptr;
  const HRESULT found = FindPropertyItem(szItemID, &item);
  if (FAILED(found)) {
    return found;
  }
  pszNewItemIDs->assign(dwCount, std::string());
  pErrors->assign(dwCount, S_OK);
  for (DWORD i = 0; i < dwCount; ++i) {
    const DWORD id = pdwPropertyIDs[i];
    // Properties 1..6 never have item ids; the others have none on these servers.
    (*pErrors)[i] =
        id <= OPC_PROP_SCANRATE || !ItemHasProperty(*item, id) ? OPC_E_INVALID_PID : E_FAIL;
  }
  return S_FALSE;
}

// ---- IOPCBrowseServerAddressSpace ----

HRESULT CSimServer::QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pNameSpaceType == nullptr) {
    return E_INVALIDARG;
  }
  *pNameSpaceType = m_pCore->Space().IsFlat() ? OPC_NS_FLAT : OPC_NS_HIERARCHIAL;
  return S_OK;
}

HRESULT CSimServer::ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                                         const std::string& szString) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  const CSimAddressSpace& space = m_pCore->Space();
  if (space.IsFlat()) {
    return E_FAIL;
  }
  std::string& position = m_pCore->m_sBrowsePosition;
  switch (dwBrowseDirection) {
    case OPC_BROWSE_UP: {
      if (position.empty()) {
        return E_FAIL;
      }
      const size_t dot = position.rfind(space.Delimiter());
      position = dot == std::string::npos ? std::string() : position.substr(0, dot);
      return S_OK;
    }
    case OPC_BROWSE_DOWN: {
      const std::string target = space.Join(position, szString);
      if (szString.empty() || !space.IsBranch(target)) {
        return E_INVALIDARG;
      }
      position = target;
      return S_OK;
    }
    case OPC_BROWSE_TO:
      if (!szString.empty() && !space.IsBranch(szString)) {
        return E_INVALIDARG;
      }
      position = szString;
      return S_OK;
    default:
      return E_INVALIDARG;
  }
}

HRESULT CSimServer::BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType,
                                     const std::string& szFilterCriteria, VARTYPE vtDataTypeFilter,
                                     DWORD dwAccessRightsFilter, IEnumString** ppIEnumString) {
  if (ppIEnumString == nullptr) {
    return E_INVALIDARG;
  }
  *ppIEnumString = nullptr;
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (dwBrowseFilterType < OPC_BRANCH || dwBrowseFilterType > OPC_FLAT) {
    return E_INVALIDARG;
  }
  for (const std::string& refused : m_pCore->Faults().m_refusedFilters) {
    if (refused == szFilterCriteria) {
      return OPC_E_INVALIDFILTER;
    }
  }
  if (!OpcFilterIsValid(szFilterCriteria)) {
    return OPC_E_INVALIDFILTER;
  }
  const CSimAddressSpace& space = m_pCore->Space();
  const std::string& position = m_pCore->m_sBrowsePosition;
  std::vector<std::string> names;
  // The rights filter keeps a leaf with any of the rights asked for (0: every leaf).
  const auto leafPasses = [&](const CSimItem& item, const std::string& shown) {
    return OpcFilterMatch(shown, szFilterCriteria) &&
           VariantTypeConvertible(item.m_vtCanonical, vtDataTypeFilter) &&
           (dwAccessRightsFilter == 0 || (item.m_dwAccessRights & dwAccessRightsFilter) != 0);
  };
  if (dwBrowseFilterType == OPC_BRANCH) {
    if (!space.IsFlat()) {
      for (const std::string& branch : space.ChildBranches(position)) {
        if (OpcFilterMatch(branch, szFilterCriteria)) {
          names.push_back(branch);
        }
      }
    }
  } else if (dwBrowseFilterType == OPC_LEAF && !space.IsFlat()) {
    for (const CSimItem* item : space.Leaves(position)) {
      if (leafPasses(*item, item->m_sName)) {
        names.push_back(item->m_sName);
      }
    }
  } else {
    // OPC_FLAT, and OPC_LEAF of a flat space: every item id at and below the position.
    for (const CSimItem* item : space.ItemsBelow(space.IsFlat() ? std::string() : position)) {
      if (leafPasses(*item, item->m_sId)) {
        names.push_back(item->m_sId);
      }
    }
  }
  const bool empty = names.empty();
  *ppIEnumString = CreateStringEnumerator(std::move(names));
  return empty ? S_FALSE : S_OK;
}

HRESULT CSimServer::GetItemID(const std::string& szItemDataID, std::string* pszItemID) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pszItemID == nullptr) {
    return E_INVALIDARG;
  }
  const CSimAddressSpace& space = m_pCore->Space();
  const std::string& position = m_pCore->m_sBrowsePosition;
  if (szItemDataID.empty() && !space.IsFlat()) {
    *pszItemID = position;  // the id of the current branch
    return S_OK;
  }
  const std::string relative = space.Join(position, szItemDataID);
  for (const std::string& candidate : {relative, szItemDataID}) {
    if (space.FindItem(candidate) != nullptr || (!candidate.empty() && space.IsBranch(candidate))) {
      *pszItemID = candidate;
      return S_OK;
    }
  }
  return space.IsValidItemId(szItemDataID) ? OPC_E_UNKNOWNITEMID : OPC_E_INVALIDITEMID;
}

HRESULT CSimServer::BrowseAccessPaths(const std::string& szItemID, IEnumString** ppIEnumString) {
  if (ppIEnumString == nullptr) {
    return E_INVALIDARG;
  }
  *ppIEnumString = nullptr;
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (m_pCore->Space().FindItem(szItemID) == nullptr) {
    return OPC_E_UNKNOWNITEMID;
  }
  *ppIEnumString = CreateStringEnumerator({});  // no access paths
  return S_FALSE;
}

// ---- IOPCServerPublicGroups ----

HRESULT CSimServer::GetPublicGroupByName(const std::string& /*szName*/, REFIID /*riid*/,
                                         IUnknown** ppUnk) {
  if (ppUnk != nullptr) {
    *ppUnk = nullptr;
  }
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  return FAILED(hr) ? hr : E_INVALIDARG;
}

HRESULT CSimServer::RemovePublicGroup(OPCHANDLE /*hServerGroup*/, BOOL /*bForce*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  return FAILED(hr) ? hr : E_INVALIDARG;
}

// ---- IPersistFile ----

HRESULT CSimServer::GetClassID(CLSID* pClassID) {
  if (pClassID == nullptr) {
    return E_POINTER;
  }
  *pClassID = m_pCore->Class().m_clsid;
  return S_OK;
}

HRESULT CSimServer::IsDirty() {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  return FAILED(hr) ? hr : S_FALSE;
}

HRESULT CSimServer::Load(const std::string& /*fileName*/, DWORD /*dwMode*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  return FAILED(hr) ? hr : E_NOTIMPL;
}

HRESULT CSimServer::Save(const std::string& /*fileName*/, BOOL /*fRemember*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  return FAILED(hr) ? hr : E_NOTIMPL;
}

HRESULT CSimServer::SaveCompleted(const std::string& /*fileName*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  return FAILED(hr) ? hr : S_OK;
}

HRESULT CSimServer::GetCurFile(std::string* pFileName) {
  const CSimCall call(m_pCore);
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  if (pFileName == nullptr) {
    return E_POINTER;
  }
  pFileName->clear();
  return S_FALSE;
}
