#include "platform/win/win_adapters.h"

#include "platform/com/category.h"
#include "platform/com/com_ptr.h"
#include "platform/com/enumerators.h"
#include "platform/opc/opc_enum.h"
#include "platform/opc/opc_interfaces.h"
#include "platform/win/win_layer_convert.h"

namespace winbridge {

CRealInterfaces::~CRealInterfaces() {
  for (auto& entry : m_entries) {
    if (entry.second != nullptr)
      real::Release(entry.second);
  }
  real::Release(m_pUnknown);
}

Object CRealInterfaces::Get(const IID& iid) {
  for (const auto& entry : m_entries) {
    if (entry.first == iid)
      return entry.second;
  }
  Object pointer = nullptr;
  if (FAILED(Guarded([&] { return real::QueryInterface(m_pUnknown, ToBridge(iid), &pointer); })))
    pointer = nullptr;
  m_entries.emplace_back(iid, pointer);
  return pointer;
}

void CRealInterfaces::Adopt(const IID& iid, Object pointer) {
  for (auto& entry : m_entries) {
    if (entry.first == iid) {
      if (entry.second != nullptr)
        real::Release(entry.second);
      entry.second = pointer;
      return;
    }
  }
  m_entries.emplace_back(iid, pointer);
}

namespace {

// Puts a real object returned by a call into *ppUnk as the layer's object for riid.
HRESULT Returned(HRESULT hr, AdapterKind kind, Object real, REFIID riid, IUnknown** ppUnk) {
  if (ppUnk != nullptr)
    *ppUnk = nullptr;
  if (real == nullptr)
    return hr;
  if (ppUnk == nullptr) {
    real::Release(real);
    return hr;
  }
  const HRESULT wrapped = WrapReal(kind, real, riid, reinterpret_cast<void**>(ppUnk));
  return FAILED(wrapped) ? wrapped : hr;
}

template <class Interface>
HRESULT ReturnedAs(HRESULT hr, AdapterKind kind, Object real, Interface** pp) {
  IUnknown* unknown = nullptr;
  hr = Returned(hr, kind, real, Interface::kIID, &unknown);
  if (pp != nullptr)
    *pp = static_cast<Interface*>(unknown);
  else if (unknown != nullptr)
    unknown->Release();
  return hr;
}

template <class T>
void Assign(std::vector<T>* out, std::vector<T>&& in) {
  if (out != nullptr)
    *out = std::move(in);
}

std::vector<HRESULT> Codes(std::vector<Hr>&& codes) {
  return std::vector<HRESULT>(codes.begin(), codes.end());
}

std::vector<uint32_t> Handles(DWORD count, const OPCHANDLE* handles) {
  return handles == nullptr ? std::vector<uint32_t>()
                            : std::vector<uint32_t>(handles, handles + count);
}

// Connection points of servers and groups.
class CWinConnectionPoint : public CComObjectRoot<IConnectionPoint> {
 public:
  explicit CWinConnectionPoint(Object unknown) : m_real(unknown) {}
  CRealInterfaces& Real() { return m_real; }

  HRESULT GetConnectionInterface(IID* pIID) override {
    if (pIID == nullptr)
      return E_POINTER;
    Guid iid;
    const HRESULT hr = Guarded([&] { return real::PointGetConnectionInterface(Point(), &iid); });
    if (SUCCEEDED(hr))
      *pIID = FromBridge(iid);
    return hr;
  }
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override {
    if (ppCPC != nullptr)
      *ppCPC = nullptr;
    return E_NOTIMPL;  // nothing in the client climbs back from a point
  }
  HRESULT Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override {
    if (pUnkSink == nullptr || pdwCookie == nullptr)
      return E_POINTER;
    // The sink travels as a layer object; the system side gives it a real face.
    ComPtr<IOPCShutdown> sink;
    if (FAILED(pUnkSink->QueryInterface(IID_IOPCShutdown, sink.ReleaseAndGetVoidAddress())))
      return CONNECT_E_CANNOTCONNECT;
    uint32_t cookie = 0;
    const HRESULT hr = Guarded(
        [&] { return real::PointAdvise(Point(), static_cast<IUnknown*>(sink.Get()), &cookie); });
    *pdwCookie = cookie;
    return hr;
  }
  HRESULT Unadvise(DWORD dwCookie) override {
    return Guarded([&] { return real::PointUnadvise(Point(), dwCookie); });
  }
  HRESULT EnumConnections(std::vector<CONNECTDATA>* pConnections) override {
    if (pConnections != nullptr)
      pConnections->clear();
    return E_NOTIMPL;
  }

 private:
  Object Point() { return m_real.Get(IID_IConnectionPoint); }
  CRealInterfaces m_real;
};

HRESULT FindPoint(CRealInterfaces& real, REFIID riid, IConnectionPoint** ppCP) {
  if (ppCP == nullptr)
    return E_POINTER;
  *ppCP = nullptr;
  Object point = nullptr;
  const HRESULT hr = Guarded([&] {
    return real::ContainerFindConnectionPoint(real.Get(IID_IConnectionPointContainer),
                                              ToBridge(riid), &point);
  });
  return ReturnedAs(hr, AdapterKind::kConnectionPoint, point, ppCP);
}

class CWinEnumString : public CComObjectRoot<IEnumString> {
 public:
  explicit CWinEnumString(Object unknown) : m_real(unknown) {}
  CRealInterfaces& Real() { return m_real; }

  HRESULT Next(ULONG celt, std::string* rgelt, ULONG* pceltFetched) override {
    if (rgelt == nullptr || (pceltFetched == nullptr && celt != 1))
      return E_POINTER;
    std::vector<std::string> strings;
    const HRESULT hr = Guarded([&] { return real::StringsNext(Enum(), celt, &strings); });
    ULONG fetched = 0;
    for (std::string& text : strings) {
      if (fetched < celt)
        rgelt[fetched++] = std::move(text);
    }
    if (pceltFetched != nullptr)
      *pceltFetched = fetched;
    return hr;
  }
  HRESULT Skip(ULONG celt) override {
    return Guarded([&] { return real::StringsSkip(Enum(), celt); });
  }
  HRESULT Reset() override {
    return Guarded([&] { return real::StringsReset(Enum()); });
  }
  HRESULT Clone(IEnumString** ppenum) override {
    if (ppenum == nullptr)
      return E_POINTER;
    Object clone = nullptr;
    const HRESULT hr = Guarded([&] { return real::StringsClone(Enum(), &clone); });
    return ReturnedAs(hr, AdapterKind::kEnumString, clone, ppenum);
  }

 private:
  Object Enum() { return m_real.Get(IID_IEnumString); }
  CRealInterfaces m_real;
};

class CWinEnumGuid : public CComObjectRoot<IEnumGUID> {
 public:
  explicit CWinEnumGuid(Object unknown) : m_real(unknown) {}
  CRealInterfaces& Real() { return m_real; }

  HRESULT Next(ULONG celt, GUID* rgelt, ULONG* pceltFetched) override {
    if (rgelt == nullptr || (pceltFetched == nullptr && celt != 1))
      return E_POINTER;
    std::vector<Guid> guids;
    const HRESULT hr = Guarded([&] { return real::GuidsNext(Enum(), celt, &guids); });
    ULONG fetched = 0;
    for (const Guid& guid : guids) {
      if (fetched < celt)
        rgelt[fetched++] = FromBridge(guid);
    }
    if (pceltFetched != nullptr)
      *pceltFetched = fetched;
    return hr;
  }
  HRESULT Skip(ULONG celt) override {
    return Guarded([&] { return real::GuidsSkip(Enum(), celt); });
  }
  HRESULT Reset() override {
    return Guarded([&] { return real::GuidsReset(Enum()); });
  }
  HRESULT Clone(IEnumGUID** ppenum) override {
    if (ppenum == nullptr)
      return E_POINTER;
    Object clone = nullptr;
    const HRESULT hr = Guarded([&] { return real::GuidsClone(Enum(), &clone); });
    return ReturnedAs(hr, AdapterKind::kEnumGuid, clone, ppenum);
  }

 private:
  Object Enum() { return m_real.Get(IID_IEnumGUID); }
  CRealInterfaces m_real;
};

class CWinServer
    : public CComObjectRoot<IOPCServer, IOPCCommon, IConnectionPointContainer, IOPCItemProperties,
                            IOPCBrowseServerAddressSpace, IOPCServerPublicGroups, IPersistFile> {
 public:
  explicit CWinServer(Object unknown) : m_real(unknown) {}
  CRealInterfaces& Real() { return m_real; }

  // IOPCServer
  HRESULT AddGroup(const std::string& szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                   OPCHANDLE hClientGroup, const LONG* pTimeBias, const FLOAT* pPercentDeadband,
                   DWORD dwLCID, OPCHANDLE* phServerGroup, DWORD* pRevisedUpdateRate, REFIID riid,
                   IUnknown** ppUnk) override {
    uint32_t handle = 0;
    uint32_t revised = 0;
    Object group = nullptr;
    const HRESULT hr = Guarded([&] {
      return real::ServerAddGroup(Server(), szName, bActive, dwRequestedUpdateRate, hClientGroup,
                                  pTimeBias, pPercentDeadband, dwLCID, &handle, &revised,
                                  ToBridge(riid), &group);
    });
    if (phServerGroup != nullptr)
      *phServerGroup = handle;
    if (pRevisedUpdateRate != nullptr)
      *pRevisedUpdateRate = revised;
    return Returned(hr, AdapterKind::kGroup, group, riid, ppUnk);
  }
  HRESULT GetErrorString(HRESULT dwError, LCID dwLocale, std::string* pString) override {
    if (pString == nullptr)
      return E_INVALIDARG;
    return Guarded(
        [&] { return real::ServerGetErrorString(Server(), dwError, dwLocale, pString); });
  }
  HRESULT GetGroupByName(const std::string& szName, REFIID riid, IUnknown** ppUnk) override {
    Object group = nullptr;
    const HRESULT hr = Guarded(
        [&] { return real::ServerGetGroupByName(Server(), szName, ToBridge(riid), &group); });
    return Returned(hr, AdapterKind::kGroup, group, riid, ppUnk);
  }
  HRESULT GetStatus(OPCSERVERSTATUS* pServerStatus) override {
    if (pServerStatus == nullptr)
      return E_INVALIDARG;
    ServerStatus status;
    const HRESULT hr = Guarded([&] { return real::ServerGetStatus(Server(), &status); });
    if (SUCCEEDED(hr))
      *pServerStatus = FromBridge(status);
    return hr;
  }
  HRESULT RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce) override {
    return Guarded([&] { return real::ServerRemoveGroup(Server(), hServerGroup, bForce); });
  }
  HRESULT CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid, IUnknown** ppUnk) override {
    if (riid != IID_IEnumString) {
      if (ppUnk != nullptr)
        *ppUnk = nullptr;
      return E_NOINTERFACE;  // IEnumUnknown of groups: not used by the client
    }
    Object enumerator = nullptr;
    const HRESULT hr = Guarded([&] {
      return real::ServerCreateGroupEnumerator(Server(), dwScope, ToBridge(riid), &enumerator);
    });
    return Returned(hr, AdapterKind::kEnumString, enumerator, riid, ppUnk);
  }

  // IOPCCommon
  HRESULT SetLocaleID(LCID dwLcid) override {
    return Guarded([&] { return real::CommonSetLocaleID(Common(), dwLcid); });
  }
  HRESULT GetLocaleID(LCID* pdwLcid) override {
    if (pdwLcid == nullptr)
      return E_INVALIDARG;
    uint32_t lcid = 0;
    const HRESULT hr = Guarded([&] { return real::CommonGetLocaleID(Common(), &lcid); });
    *pdwLcid = lcid;
    return hr;
  }
  HRESULT QueryAvailableLocaleIDs(std::vector<LCID>* pdwLcid) override {
    if (pdwLcid == nullptr)
      return E_INVALIDARG;
    std::vector<uint32_t> lcids;
    const HRESULT hr =
        Guarded([&] { return real::CommonQueryAvailableLocaleIDs(Common(), &lcids); });
    pdwLcid->assign(lcids.begin(), lcids.end());
    return hr;
  }
  HRESULT GetErrorString(HRESULT dwError, std::string* pString) override {
    if (pString == nullptr)
      return E_INVALIDARG;
    return Guarded([&] { return real::CommonGetErrorString(Common(), dwError, pString); });
  }
  HRESULT SetClientName(const std::string& szName) override {
    return Guarded([&] { return real::CommonSetClientName(Common(), szName); });
  }

  // IConnectionPointContainer
  HRESULT EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* pPoints) override {
    if (pPoints != nullptr)
      pPoints->clear();
    return E_NOTIMPL;  // the client finds its one point by id
  }
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    return FindPoint(m_real, riid, ppCP);
  }

  // IOPCItemProperties
  HRESULT QueryAvailableProperties(const std::string& szItemID, std::vector<DWORD>* pPropertyIDs,
                                   std::vector<std::string>* pDescriptions,
                                   std::vector<VARTYPE>* pvtDataTypes) override {
    std::vector<uint32_t> ids;
    std::vector<std::string> descriptions;
    std::vector<uint16_t> types;
    const HRESULT hr = Guarded([&] {
      return real::PropertiesQueryAvailable(Properties(), szItemID, &ids, &descriptions, &types);
    });
    if (pPropertyIDs != nullptr)
      pPropertyIDs->assign(ids.begin(), ids.end());
    Assign(pDescriptions, std::move(descriptions));
    if (pvtDataTypes != nullptr)
      pvtDataTypes->assign(types.begin(), types.end());
    return hr;
  }
  HRESULT GetItemProperties(const std::string& szItemID, DWORD dwCount, const DWORD* pdwPropertyIDs,
                            std::vector<VARIANT>* pData, std::vector<HRESULT>* pErrors) override {
    std::vector<Value> values;
    std::vector<Hr> codes;
    const HRESULT hr = Guarded([&] {
      return real::PropertiesGet(Properties(), szItemID, Handles(dwCount, pdwPropertyIDs), &values,
                                 &codes);
    });
    if (pData != nullptr) {
      pData->clear();
      for (const Value& value : values)
        pData->push_back(FromBridge(value));
    }
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT LookupItemIDs(const std::string& szItemID, DWORD dwCount, const DWORD* pdwPropertyIDs,
                        std::vector<std::string>* pszNewItemIDs,
                        std::vector<HRESULT>* pErrors) override {
    std::vector<std::string> ids;
    std::vector<Hr> codes;
    const HRESULT hr = Guarded([&] {
      return real::PropertiesLookupItemIDs(Properties(), szItemID, Handles(dwCount, pdwPropertyIDs),
                                           &ids, &codes);
    });
    Assign(pszNewItemIDs, std::move(ids));
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }

  // IOPCBrowseServerAddressSpace
  HRESULT QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType) override {
    if (pNameSpaceType == nullptr)
      return E_INVALIDARG;
    uint32_t organization = 0;
    const HRESULT hr =
        Guarded([&] { return real::BrowseQueryOrganization(Browse(), &organization); });
    *pNameSpaceType = static_cast<OPCNAMESPACETYPE>(organization);
    return hr;
  }
  HRESULT ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                               const std::string& szString) override {
    return Guarded(
        [&] { return real::BrowseChangePosition(Browse(), dwBrowseDirection, szString); });
  }
  HRESULT BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType, const std::string& szFilterCriteria,
                           VARTYPE vtDataTypeFilter, DWORD dwAccessRightsFilter,
                           IEnumString** ppIEnumString) override {
    Object strings = nullptr;
    const HRESULT hr = Guarded([&] {
      return real::BrowseItemIDs(Browse(), dwBrowseFilterType, szFilterCriteria, vtDataTypeFilter,
                                 dwAccessRightsFilter, &strings);
    });
    return ReturnedAs(hr, AdapterKind::kEnumString, strings, ppIEnumString);
  }
  HRESULT GetItemID(const std::string& szItemDataID, std::string* pszItemID) override {
    if (pszItemID == nullptr)
      return E_INVALIDARG;
    return Guarded([&] { return real::BrowseGetItemID(Browse(), szItemDataID, pszItemID); });
  }
  HRESULT BrowseAccessPaths(const std::string& szItemID, IEnumString** ppIEnumString) override {
    Object strings = nullptr;
    const HRESULT hr =
        Guarded([&] { return real::BrowseAccessPaths(Browse(), szItemID, &strings); });
    return ReturnedAs(hr, AdapterKind::kEnumString, strings, ppIEnumString);
  }

  // IOPCServerPublicGroups
  HRESULT GetPublicGroupByName(const std::string& szName, REFIID riid, IUnknown** ppUnk) override {
    Object group = nullptr;
    const HRESULT hr = Guarded([&] {
      return real::PublicGroupsGetByName(m_real.Get(IID_IOPCServerPublicGroups), szName,
                                         ToBridge(riid), &group);
    });
    return Returned(hr, AdapterKind::kGroup, group, riid, ppUnk);
  }
  HRESULT RemovePublicGroup(OPCHANDLE hServerGroup, BOOL bForce) override {
    return Guarded([&] {
      return real::PublicGroupsRemove(m_real.Get(IID_IOPCServerPublicGroups), hServerGroup, bForce);
    });
  }

  // IPersistFile
  HRESULT GetClassID(CLSID* pClassID) override {
    if (pClassID == nullptr)
      return E_POINTER;
    Guid clsid;
    const HRESULT hr = Guarded([&] { return real::PersistGetClassID(Persist(), &clsid); });
    if (SUCCEEDED(hr))
      *pClassID = FromBridge(clsid);
    return hr;
  }
  HRESULT IsDirty() override {
    return Guarded([&] { return real::PersistIsDirty(Persist()); });
  }
  HRESULT Load(const std::string& fileName, DWORD dwMode) override {
    return Guarded([&] { return real::PersistLoad(Persist(), fileName, dwMode); });
  }
  HRESULT Save(const std::string& fileName, BOOL fRemember) override {
    return Guarded([&] { return real::PersistSave(Persist(), fileName, fRemember); });
  }
  HRESULT SaveCompleted(const std::string& fileName) override {
    return Guarded([&] { return real::PersistSaveCompleted(Persist(), fileName); });
  }
  HRESULT GetCurFile(std::string* pFileName) override {
    if (pFileName == nullptr)
      return E_POINTER;
    return Guarded([&] { return real::PersistGetCurFile(Persist(), pFileName); });
  }

 protected:
  // Only what the real object has.
  void* FindInterface(REFIID riid) override {
    if (riid != IID_IUnknown && m_real.Get(riid) == nullptr)
      return nullptr;
    return CComObjectRoot::FindInterface(riid);
  }

 private:
  Object Server() { return m_real.Get(IID_IOPCServer); }
  Object Common() { return m_real.Get(IID_IOPCCommon); }
  Object Properties() { return m_real.Get(IID_IOPCItemProperties); }
  Object Browse() { return m_real.Get(IID_IOPCBrowseServerAddressSpace); }
  Object Persist() { return m_real.Get(IID_IPersistFile); }
  CRealInterfaces m_real;
};

class CWinGroup
    : public CComObjectRoot<IOPCGroupStateMgt, IOPCPublicGroupStateMgt, IOPCItemMgt, IOPCSyncIO,
                            IOPCAsyncIO, IOPCAsyncIO2, IConnectionPointContainer> {
 public:
  explicit CWinGroup(Object unknown) : m_real(unknown) {}
  CRealInterfaces& Real() { return m_real; }

  // IOPCGroupStateMgt
  HRESULT GetState(DWORD* pUpdateRate, BOOL* pActive, std::string* pName, LONG* pTimeBias,
                   FLOAT* pPercentDeadband, LCID* pLCID, OPCHANDLE* phClientGroup,
                   OPCHANDLE* phServerGroup) override {
    if (pUpdateRate == nullptr || pActive == nullptr || pName == nullptr || pTimeBias == nullptr ||
        pPercentDeadband == nullptr || pLCID == nullptr || phClientGroup == nullptr ||
        phServerGroup == nullptr)
      return E_INVALIDARG;
    GroupState state;
    const HRESULT hr = Guarded([&] { return real::GroupGetState(StateMgt(), &state); });
    if (SUCCEEDED(hr)) {
      *pUpdateRate = state.updateRate;
      *pActive = state.active;
      *pName = state.name;
      *pTimeBias = state.timeBias;
      *pPercentDeadband = state.deadband;
      *pLCID = state.lcid;
      *phClientGroup = state.clientGroup;
      *phServerGroup = state.serverGroup;
    }
    return hr;
  }
  HRESULT SetState(const DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate,
                   const BOOL* pActive, const LONG* pTimeBias, const FLOAT* pPercentDeadband,
                   const LCID* pLCID, const OPCHANDLE* phClientGroup) override {
    uint32_t revised = 0;
    const HRESULT hr = Guarded([&] {
      return real::GroupSetState(StateMgt(), pRequestedUpdateRate, &revised, pActive, pTimeBias,
                                 pPercentDeadband, pLCID, phClientGroup);
    });
    if (pRevisedUpdateRate != nullptr)
      *pRevisedUpdateRate = revised;
    return hr;
  }
  HRESULT SetName(const std::string& szName) override {
    return Guarded([&] { return real::GroupSetName(StateMgt(), szName); });
  }
  HRESULT CloneGroup(const std::string& szName, REFIID riid, IUnknown** ppUnk) override {
    Object group = nullptr;
    const HRESULT hr =
        Guarded([&] { return real::GroupClone(StateMgt(), szName, ToBridge(riid), &group); });
    return Returned(hr, AdapterKind::kGroup, group, riid, ppUnk);
  }

  // IOPCPublicGroupStateMgt
  HRESULT GetState(BOOL* pPublic) override {
    if (pPublic == nullptr)
      return E_INVALIDARG;
    int32_t isPublic = 0;
    const HRESULT hr = Guarded([&] {
      return real::PublicGroupGetState(m_real.Get(IID_IOPCPublicGroupStateMgt), &isPublic);
    });
    *pPublic = isPublic;
    return hr;
  }
  HRESULT MoveToPublic() override {
    return Guarded(
        [&] { return real::PublicGroupMoveToPublic(m_real.Get(IID_IOPCPublicGroupStateMgt)); });
  }

  // IOPCItemMgt
  HRESULT AddItems(DWORD dwCount, const OPCITEMDEF* pItemArray,
                   std::vector<OPCITEMRESULT>* pAddResults,
                   std::vector<HRESULT>* pErrors) override {
    if (dwCount == 0 || pItemArray == nullptr)
      return E_INVALIDARG;
    std::vector<ItemResult> results;
    std::vector<Hr> codes;
    const HRESULT hr = Guarded(
        [&] { return real::ItemsAdd(ItemMgt(), Defs(dwCount, pItemArray), &results, &codes); });
    TakeResults(std::move(results), pAddResults);
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT ValidateItems(DWORD dwCount, const OPCITEMDEF* pItemArray, BOOL bBlobUpdate,
                        std::vector<OPCITEMRESULT>* pValidationResults,
                        std::vector<HRESULT>* pErrors) override {
    if (dwCount == 0 || pItemArray == nullptr)
      return E_INVALIDARG;
    std::vector<ItemResult> results;
    std::vector<Hr> codes;
    const HRESULT hr = Guarded([&] {
      return real::ItemsValidate(ItemMgt(), Defs(dwCount, pItemArray), bBlobUpdate, &results,
                                 &codes);
    });
    TakeResults(std::move(results), pValidationResults);
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT RemoveItems(DWORD dwCount, const OPCHANDLE* phServer,
                      std::vector<HRESULT>* pErrors) override {
    std::vector<Hr> codes;
    const HRESULT hr =
        Guarded([&] { return real::ItemsRemove(ItemMgt(), Handles(dwCount, phServer), &codes); });
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT SetActiveState(DWORD dwCount, const OPCHANDLE* phServer, BOOL bActive,
                         std::vector<HRESULT>* pErrors) override {
    std::vector<Hr> codes;
    const HRESULT hr = Guarded([&] {
      return real::ItemsSetActiveState(ItemMgt(), Handles(dwCount, phServer), bActive, &codes);
    });
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT SetClientHandles(DWORD dwCount, const OPCHANDLE* phServer, const OPCHANDLE* phClient,
                           std::vector<HRESULT>* pErrors) override {
    std::vector<Hr> codes;
    const HRESULT hr = Guarded([&] {
      return real::ItemsSetClientHandles(ItemMgt(), Handles(dwCount, phServer),
                                         Handles(dwCount, phClient), &codes);
    });
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT SetDatatypes(DWORD dwCount, const OPCHANDLE* phServer, const VARTYPE* pRequestedDatatypes,
                       std::vector<HRESULT>* pErrors) override {
    std::vector<uint16_t> types;
    for (DWORD i = 0; pRequestedDatatypes != nullptr && i < dwCount; ++i)
      types.push_back(pRequestedDatatypes[i]);
    std::vector<Hr> codes;
    const HRESULT hr = Guarded([&] {
      return real::ItemsSetDatatypes(ItemMgt(), Handles(dwCount, phServer), types, &codes);
    });
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT CreateEnumerator(REFIID /*riid*/, IUnknown** ppUnk) override {
    if (ppUnk != nullptr)
      *ppUnk = nullptr;
    return E_NOTIMPL;  // IEnumOPCItemAttributes is not offered by the layer
  }

  // IOPCSyncIO
  HRESULT Read(OPCDATASOURCE dwSource, DWORD dwCount, const OPCHANDLE* phServer,
               std::vector<OPCITEMSTATE>* pItemValues, std::vector<HRESULT>* pErrors) override {
    std::vector<ItemState> states;
    std::vector<Hr> codes;
    const HRESULT hr = Guarded([&] {
      return real::SyncRead(SyncIO(), dwSource, Handles(dwCount, phServer), &states, &codes);
    });
    if (pItemValues != nullptr) {
      pItemValues->clear();
      for (const ItemState& state : states)
        pItemValues->push_back(FromBridge(state));
    }
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT Write(DWORD dwCount, const OPCHANDLE* phServer, const VARIANT* pItemValues,
                std::vector<HRESULT>* pErrors) override {
    std::vector<Value> values;
    for (DWORD i = 0; pItemValues != nullptr && i < dwCount; ++i)
      values.push_back(ToBridge(pItemValues[i]));
    std::vector<Hr> codes;
    const HRESULT hr = Guarded(
        [&] { return real::SyncWrite(SyncIO(), Handles(dwCount, phServer), values, &codes); });
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }

  // IOPCAsyncIO: offered when the server has it (the group dialog checks for it), but
  // its results come through an IDataObject advise the client never makes.
  HRESULT Read(DWORD, OPCDATASOURCE, DWORD, const OPCHANDLE*, DWORD*,
               std::vector<HRESULT>*) override {
    return E_NOTIMPL;
  }
  HRESULT Write(DWORD, DWORD, const OPCHANDLE*, const VARIANT*, DWORD*,
                std::vector<HRESULT>*) override {
    return E_NOTIMPL;
  }
  HRESULT Refresh(DWORD, OPCDATASOURCE, DWORD*) override { return E_NOTIMPL; }
  HRESULT Cancel(DWORD) override { return E_NOTIMPL; }

  // IOPCAsyncIO2
  HRESULT Read(DWORD dwCount, const OPCHANDLE* phServer, DWORD dwTransactionID, DWORD* pdwCancelID,
               std::vector<HRESULT>* pErrors) override {
    uint32_t cancel = 0;
    std::vector<Hr> codes;
    const HRESULT hr = Guarded([&] {
      return real::Async2Read(Async2(), Handles(dwCount, phServer), dwTransactionID, &cancel,
                              &codes);
    });
    if (pdwCancelID != nullptr)
      *pdwCancelID = cancel;
    Assign(pErrors, Codes(std::move(codes)));
    return hr;
  }
  HRESULT Write(DWORD, const OPCHANDLE*, const VARIANT*, DWORD, DWORD*,
                std::vector<HRESULT>*) override {
    return E_NOTIMPL;  // the client never writes
  }
  HRESULT Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID, DWORD* pdwCancelID) override {
    uint32_t cancel = 0;
    const HRESULT hr =
        Guarded([&] { return real::Async2Refresh(Async2(), dwSource, dwTransactionID, &cancel); });
    if (pdwCancelID != nullptr)
      *pdwCancelID = cancel;
    return hr;
  }
  HRESULT Cancel2(DWORD dwCancelID) override {
    return Guarded([&] { return real::Async2Cancel(Async2(), dwCancelID); });
  }
  HRESULT SetEnable(BOOL bEnable) override {
    return Guarded([&] { return real::Async2SetEnable(Async2(), bEnable); });
  }
  HRESULT GetEnable(BOOL* pbEnable) override {
    if (pbEnable == nullptr)
      return E_INVALIDARG;
    int32_t enable = 0;
    const HRESULT hr = Guarded([&] { return real::Async2GetEnable(Async2(), &enable); });
    *pbEnable = enable;
    return hr;
  }

  // IConnectionPointContainer
  HRESULT EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* pPoints) override {
    if (pPoints != nullptr)
      pPoints->clear();
    return E_NOTIMPL;
  }
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    return FindPoint(m_real, riid, ppCP);
  }

 protected:
  void* FindInterface(REFIID riid) override {
    if (riid != IID_IUnknown && m_real.Get(riid) == nullptr)
      return nullptr;
    return CComObjectRoot::FindInterface(riid);
  }

 private:
  static std::vector<ItemDef> Defs(DWORD count, const OPCITEMDEF* defs) {
    std::vector<ItemDef> result;
    for (DWORD i = 0; i < count; ++i)
      result.push_back(ToBridge(defs[i]));
    return result;
  }
  static void TakeResults(std::vector<ItemResult>&& results, std::vector<OPCITEMRESULT>* out) {
    if (out == nullptr)
      return;
    out->clear();
    for (const ItemResult& result : results)
      out->push_back(FromBridge(result));
  }
  Object StateMgt() { return m_real.Get(IID_IOPCGroupStateMgt); }
  Object ItemMgt() { return m_real.Get(IID_IOPCItemMgt); }
  Object SyncIO() { return m_real.Get(IID_IOPCSyncIO); }
  Object Async2() { return m_real.Get(IID_IOPCAsyncIO2); }
  CRealInterfaces m_real;
};

class CWinServerList : public CComObjectRoot<IOPCServerList> {
 public:
  explicit CWinServerList(Object unknown) : m_real(unknown) {}
  CRealInterfaces& Real() { return m_real; }

  HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID* rgcatidImpl, ULONG cRequired,
                                  const CATID* rgcatidReq, IEnumGUID** ppenumClsid) override {
    Object guids = nullptr;
    const HRESULT hr = Guarded([&] {
      return real::ServerListEnumClasses(List(), ToBridge(cImplemented, rgcatidImpl),
                                         ToBridge(cRequired, rgcatidReq), &guids);
    });
    return ReturnedAs(hr, AdapterKind::kEnumGuid, guids, ppenumClsid);
  }
  HRESULT GetClassDetails(REFCLSID clsid, std::string* pszProgID,
                          std::string* pszUserType) override {
    if (pszProgID == nullptr || pszUserType == nullptr)
      return E_INVALIDARG;
    return Guarded([&] {
      return real::ServerListGetClassDetails(List(), ToBridge(clsid), pszProgID, pszUserType);
    });
  }
  HRESULT CLSIDFromProgID(const std::string& szProgId, CLSID* clsid) override {
    if (clsid == nullptr)
      return E_INVALIDARG;
    Guid id;
    const HRESULT hr =
        Guarded([&] { return real::ServerListClsidFromProgId(List(), szProgId, &id); });
    if (SUCCEEDED(hr))
      *clsid = FromBridge(id);
    return hr;
  }

 private:
  Object List() { return m_real.Get(IID_IOPCServerList); }
  CRealInterfaces m_real;
};

class CWinCategoryManager : public CComObjectRoot<ICatInformation> {
 public:
  explicit CWinCategoryManager(Object unknown) : m_real(unknown) {}
  CRealInterfaces& Real() { return m_real; }

  HRESULT EnumCategories(LCID /*lcid*/, std::vector<CATEGORYINFO>* pCategories) override {
    if (pCategories != nullptr)
      pCategories->clear();
    return E_NOTIMPL;  // the client asks for classes, never for the list of categories
  }
  HRESULT GetCategoryDesc(const CATID& rcatid, LCID lcid, std::string* pszDesc) override {
    if (pszDesc == nullptr)
      return E_INVALIDARG;
    return Guarded(
        [&] { return real::CatGetCategoryDesc(Cat(), ToBridge(rcatid), lcid, pszDesc); });
  }
  HRESULT EnumClassesOfCategories(ULONG cImplemented, const CATID* rgcatidImpl, ULONG cRequired,
                                  const CATID* rgcatidReq, IEnumGUID** ppenumClsid) override {
    Object guids = nullptr;
    const HRESULT hr = Guarded([&] {
      return real::CatEnumClasses(Cat(), ToBridge(cImplemented, rgcatidImpl),
                                  ToBridge(cRequired, rgcatidReq), &guids);
    });
    return ReturnedAs(hr, AdapterKind::kEnumGuid, guids, ppenumClsid);
  }
  HRESULT IsClassOfCategories(REFCLSID rclsid, ULONG cImplemented, const CATID* rgcatidImpl,
                              ULONG cRequired, const CATID* rgcatidReq) override {
    return Guarded([&] {
      return real::CatIsClassOf(Cat(), ToBridge(rclsid), ToBridge(cImplemented, rgcatidImpl),
                                ToBridge(cRequired, rgcatidReq));
    });
  }
  HRESULT EnumImplCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) override {
    Object guids = nullptr;
    const HRESULT hr = Guarded(
        [&] { return real::CatEnumImplCategoriesOfClass(Cat(), ToBridge(rclsid), &guids); });
    return ReturnedAs(hr, AdapterKind::kEnumGuid, guids, ppenumCatid);
  }
  HRESULT EnumReqCategoriesOfClass(REFCLSID rclsid, IEnumGUID** ppenumCatid) override {
    Object guids = nullptr;
    const HRESULT hr =
        Guarded([&] { return real::CatEnumReqCategoriesOfClass(Cat(), ToBridge(rclsid), &guids); });
    return ReturnedAs(hr, AdapterKind::kEnumGuid, guids, ppenumCatid);
  }

 private:
  Object Cat() { return m_real.Get(IID_ICatInformation); }
  CRealInterfaces m_real;
};

class CWinClassFactory : public CComObjectRoot<IClassFactory> {
 public:
  CWinClassFactory(Object unknown, const CLSID& clsid) : m_real(unknown), m_clsid(clsid) {}
  CRealInterfaces& Real() { return m_real; }

  HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
    if (ppv == nullptr)
      return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter != nullptr)
      return CLASS_E_NOAGGREGATION;
    Object object = nullptr;
    const HRESULT hr = Guarded([&] {
      return real::FactoryCreateInstance(m_real.Get(IID_IClassFactory), ToBridge(riid), &object);
    });
    if (object == nullptr)
      return FAILED(hr) ? hr : E_NOINTERFACE;
    const HRESULT wrapped = WrapReal(AdapterKindOfClass(m_clsid), object, riid, ppv);
    return FAILED(wrapped) ? wrapped : hr;
  }
  HRESULT LockServer(BOOL fLock) override {
    return Guarded([&] { return real::FactoryLockServer(m_real.Get(IID_IClassFactory), fLock); });
  }

 private:
  CRealInterfaces m_real;
  CLSID m_clsid;
};

template <class Adapter, class Interface, class... Extra>
IUnknown* Make(Object unknown, CRealInterfaces** interfaces, Extra&&... extra) {
  auto* adapter = new Adapter(unknown, std::forward<Extra>(extra)...);
  *interfaces = &adapter->Real();
  return static_cast<Interface*>(adapter);
}

}  // namespace

IUnknown* CreateAdapter(AdapterKind kind, Object real, const IID& realIid,
                        CRealInterfaces** interfaces, const CLSID& factoryClass) {
  // The adapter keeps the object's IUnknown (identity) and the pointer it was given.
  Object unknown = nullptr;
  if (FAILED(
          Guarded([&] { return real::QueryInterface(real, ToBridge(IID_IUnknown), &unknown); })) ||
      unknown == nullptr) {
    real::AddRef(real);
    unknown = real;
  }
  IUnknown* adapter = nullptr;
  switch (kind) {
    case AdapterKind::kServer:
      adapter = Make<CWinServer, IOPCServer>(unknown, interfaces);
      break;
    case AdapterKind::kGroup:
      adapter = Make<CWinGroup, IOPCGroupStateMgt>(unknown, interfaces);
      break;
    case AdapterKind::kServerList:
      adapter = Make<CWinServerList, IOPCServerList>(unknown, interfaces);
      break;
    case AdapterKind::kCategoryManager:
      adapter = Make<CWinCategoryManager, ICatInformation>(unknown, interfaces);
      break;
    case AdapterKind::kClassFactory:
      adapter = Make<CWinClassFactory, IClassFactory>(unknown, interfaces, factoryClass);
      break;
    case AdapterKind::kEnumString:
      adapter = Make<CWinEnumString, IEnumString>(unknown, interfaces);
      break;
    case AdapterKind::kEnumGuid:
      adapter = Make<CWinEnumGuid, IEnumGUID>(unknown, interfaces);
      break;
    case AdapterKind::kConnectionPoint:
      adapter = Make<CWinConnectionPoint, IConnectionPoint>(unknown, interfaces);
      break;
  }
  (*interfaces)->Adopt(realIid, real);
  return adapter;
}

HRESULT WrapReal(AdapterKind kind, Object real, REFIID riid, void** ppv,
                 const CLSID& factoryClass) {
  CRealInterfaces* interfaces = nullptr;
  ComPtr<IUnknown> adapter(CreateAdapter(kind, real, riid, &interfaces, factoryClass));
  return adapter->QueryInterface(riid, ppv);
}

AdapterKind AdapterKindOfClass(REFCLSID clsid) {
  if (clsid == CLSID_OpcServerList)
    return AdapterKind::kServerList;
  if (clsid == CLSID_StdComponentCategoriesMgr)
    return AdapterKind::kCategoryManager;
  return AdapterKind::kServer;
}

}  // namespace winbridge
