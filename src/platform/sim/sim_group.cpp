#include "platform/sim/sim_group.h"

#include "platform/opc/opc_filter.h"

namespace {

template <class T>
bool ArgumentsValid(DWORD count, const T* array) {
  return count > 0 && array != nullptr;
}

HRESULT Summary(const std::vector<HRESULT>& errors) {
  for (const HRESULT hr : errors) {
    if (FAILED(hr)) {
      return S_FALSE;
    }
  }
  return S_OK;
}

}  // namespace

CSimGroup::CSimGroup(std::shared_ptr<CSimServerCore> core, OPCHANDLE hServerGroup,
                     CSimGroupState state)
    : m_pCore(std::move(core)), m_hServerGroup(hServerGroup), m_state(std::move(state)) {}

void* CSimGroup::FindInterface(REFIID riid) {
  // A DA 1.0 server has neither the 2.0 asynchronous interface nor connection points.
  if (m_pCore->Kind() == SimServerKind::kDa1 &&
      (riid == IID_IOPCAsyncIO2 || riid == IID_IConnectionPointContainer)) {
    return nullptr;
  }
  return CComObjectRoot::FindInterface(riid);
}

HRESULT CSimGroup::Enter(const CSimCall& call) const {
  const HRESULT hr = call.Result();
  if (FAILED(hr)) {
    return hr;
  }
  return m_bRemoved ? E_FAIL : S_OK;
}

CSimGroupItem* CSimGroup::FindItem(OPCHANDLE hServer) {
  for (CSimGroupItem& item : m_items) {
    if (item.m_hServer == hServer) {
      return &item;
    }
  }
  return nullptr;
}

// ---- IOPCGroupStateMgt ----

HRESULT CSimGroup::GetState(DWORD* pUpdateRate, BOOL* pActive, std::string* pName, LONG* pTimeBias,
                            FLOAT* pPercentDeadband, LCID* pLCID, OPCHANDLE* phClientGroup,
                            OPCHANDLE* phServerGroup) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (pUpdateRate == nullptr || pActive == nullptr || pName == nullptr || pTimeBias == nullptr ||
      pPercentDeadband == nullptr || pLCID == nullptr || phClientGroup == nullptr ||
      phServerGroup == nullptr) {
    return E_INVALIDARG;
  }
  *pUpdateRate = m_state.m_nUpdateRate;
  *pActive = m_state.m_bActive ? TRUE : FALSE;
  *pName = m_state.m_sName;
  *pTimeBias = m_state.m_nTimeBias;
  *pPercentDeadband = m_state.m_fDeadband;
  *pLCID = m_state.m_nLocale;
  *phClientGroup = m_state.m_hClientGroup;
  *phServerGroup = m_hServerGroup;
  return S_OK;
}

HRESULT CSimGroup::SetState(const DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate,
                            const BOOL* pActive, const LONG* pTimeBias,
                            const FLOAT* pPercentDeadband, const LCID* pLCID,
                            const OPCHANDLE* phClientGroup) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (pRevisedUpdateRate == nullptr) {
    return E_INVALIDARG;
  }
  if (pPercentDeadband != nullptr && (*pPercentDeadband < 0.0f || *pPercentDeadband > 100.0f)) {
    return E_INVALIDARG;
  }
  HRESULT result = S_OK;
  if (pRequestedUpdateRate != nullptr) {
    m_state.m_nUpdateRate = m_pCore->ReviseUpdateRate(*pRequestedUpdateRate);
    if (m_state.m_nUpdateRate != *pRequestedUpdateRate) {
      result = OPC_S_UNSUPPORTEDRATE;
    }
  }
  *pRevisedUpdateRate = m_state.m_nUpdateRate;
  if (pActive != nullptr) {
    m_state.m_bActive = *pActive != FALSE;
  }
  if (pTimeBias != nullptr) {
    m_state.m_nTimeBias = *pTimeBias;
  }
  if (pPercentDeadband != nullptr) {
    m_state.m_fDeadband = *pPercentDeadband;
  }
  if (pLCID != nullptr) {
    m_state.m_nLocale = *pLCID;
  }
  if (phClientGroup != nullptr) {
    m_state.m_hClientGroup = *phClientGroup;
  }
  return result;
}

HRESULT CSimGroup::SetName(const std::string& szName) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (szName.empty()) {
    return E_INVALIDARG;
  }
  if (m_pCore->NameInUse(szName, this)) {
    return OPC_E_DUPLICATENAME;
  }
  m_state.m_sName = szName;
  return S_OK;
}

HRESULT CSimGroup::CloneGroup(const std::string& szName, REFIID riid, IUnknown** ppUnk) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (ppUnk == nullptr) {
    return E_INVALIDARG;
  }
  *ppUnk = nullptr;
  if (!szName.empty() && m_pCore->NameInUse(szName, nullptr)) {
    return OPC_E_DUPLICATENAME;
  }
  CSimGroupState state = m_state;
  state.m_sName = szName.empty() ? m_pCore->UniqueGroupName() : szName;
  state.m_bActive = false;  // a clone starts inactive
  ComPtr<CSimGroup> clone(new CSimGroup(m_pCore, m_pCore->NewGroupHandle(), state));
  for (CSimGroupItem item : m_items) {
    item.m_hServer = m_pCore->NewItemHandle();
    clone->m_items.push_back(item);
  }
  void* result = nullptr;
  const HRESULT qi = clone->QueryInterface(riid, &result);
  if (FAILED(qi)) {
    return qi;
  }
  m_pCore->AddGroup(clone.Get());
  *ppUnk = static_cast<IUnknown*>(result);
  return S_OK;
}

// ---- IOPCPublicGroupStateMgt ----

HRESULT CSimGroup::GetState(BOOL* pPublic) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (pPublic == nullptr) {
    return E_INVALIDARG;
  }
  *pPublic = FALSE;
  return S_OK;
}

HRESULT CSimGroup::MoveToPublic() {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : E_FAIL;  // public groups are not supported
}

// ---- IOPCItemMgt ----

HRESULT CSimGroup::CheckDefinition(const OPCITEMDEF& def, const CSimItem** item) const {
  const CSimAddressSpace& space = m_pCore->Space();
  if (!space.IsValidItemId(def.szItemID)) {
    return OPC_E_INVALIDITEMID;
  }
  *item = space.FindItem(def.szItemID);
  if (*item == nullptr) {
    return OPC_E_UNKNOWNITEMID;
  }
  if (!def.szAccessPath.empty()) {
    return OPC_E_UNKNOWNPATH;
  }
  const CSimFaults& faults = m_pCore->Faults();
  for (const std::string& pattern : faults.m_refusedItems) {
    if (OpcFilterMatch(def.szItemID, pattern)) {
      return faults.m_hrRefusedItem;
    }
  }
  if (!VariantTypeConvertible((*item)->m_vtCanonical, def.vtRequestedDataType)) {
    return OPC_E_BADTYPE;
  }
  return S_OK;
}

HRESULT CSimGroup::AddItems(DWORD dwCount, const OPCITEMDEF* pItemArray,
                            std::vector<OPCITEMRESULT>* pAddResults,
                            std::vector<HRESULT>* pErrors) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (!ArgumentsValid(dwCount, pItemArray) || pAddResults == nullptr || pErrors == nullptr) {
    return E_INVALIDARG;
  }
  pAddResults->assign(dwCount, OPCITEMRESULT{});
  pErrors->assign(dwCount, S_OK);
  for (DWORD i = 0; i < dwCount; ++i) {
    const CSimItem* item = nullptr;
    (*pErrors)[i] = CheckDefinition(pItemArray[i], &item);
    if (FAILED((*pErrors)[i])) {
      continue;
    }
    CSimGroupItem added;
    added.m_hServer = m_pCore->NewItemHandle();
    added.m_hClient = pItemArray[i].hClient;
    added.m_pItem = item;
    added.m_vtRequested = pItemArray[i].vtRequestedDataType;
    added.m_bActive = pItemArray[i].bActive != FALSE;
    m_items.push_back(added);
    OPCITEMRESULT& result = (*pAddResults)[i];
    result.hServer = added.m_hServer;
    result.vtCanonicalDataType = item->m_vtCanonical;
    result.dwAccessRights = item->m_dwAccessRights;
  }
  return Summary(*pErrors);
}

HRESULT CSimGroup::ValidateItems(DWORD dwCount, const OPCITEMDEF* pItemArray, BOOL /*bBlobUpdate*/,
                                 std::vector<OPCITEMRESULT>* pValidationResults,
                                 std::vector<HRESULT>* pErrors) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (!ArgumentsValid(dwCount, pItemArray) || pValidationResults == nullptr || pErrors == nullptr) {
    return E_INVALIDARG;
  }
  pValidationResults->assign(dwCount, OPCITEMRESULT{});
  pErrors->assign(dwCount, S_OK);
  for (DWORD i = 0; i < dwCount; ++i) {
    const CSimItem* item = nullptr;
    (*pErrors)[i] = CheckDefinition(pItemArray[i], &item);
    if (SUCCEEDED((*pErrors)[i])) {
      (*pValidationResults)[i].vtCanonicalDataType = item->m_vtCanonical;
      (*pValidationResults)[i].dwAccessRights = item->m_dwAccessRights;
    }
  }
  return Summary(*pErrors);
}

template <class Change>
HRESULT CSimGroup::ForEachHandle(DWORD dwCount, const OPCHANDLE* phServer, bool otherArgumentsValid,
                                 std::vector<HRESULT>* pErrors, Change change) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (!ArgumentsValid(dwCount, phServer) || !otherArgumentsValid || pErrors == nullptr) {
    return E_INVALIDARG;
  }
  pErrors->assign(dwCount, S_OK);
  for (DWORD i = 0; i < dwCount; ++i) {
    CSimGroupItem* item = FindItem(phServer[i]);
    (*pErrors)[i] = item == nullptr ? OPC_E_INVALIDHANDLE : change(*item, i);
  }
  return Summary(*pErrors);
}

HRESULT CSimGroup::RemoveItems(DWORD dwCount, const OPCHANDLE* phServer,
                               std::vector<HRESULT>* pErrors) {
  return ForEachHandle(dwCount, phServer, true, pErrors,
                       [this](CSimGroupItem& item, DWORD) -> HRESULT {
                         m_items.erase(m_items.begin() + (&item - m_items.data()));
                         return S_OK;
                       });
}

HRESULT CSimGroup::SetActiveState(DWORD dwCount, const OPCHANDLE* phServer, BOOL bActive,
                                  std::vector<HRESULT>* pErrors) {
  return ForEachHandle(dwCount, phServer, true, pErrors,
                       [bActive](CSimGroupItem& item, DWORD) -> HRESULT {
                         item.m_bActive = bActive != FALSE;
                         return S_OK;
                       });
}

HRESULT CSimGroup::SetClientHandles(DWORD dwCount, const OPCHANDLE* phServer,
                                    const OPCHANDLE* phClient, std::vector<HRESULT>* pErrors) {
  return ForEachHandle(dwCount, phServer, phClient != nullptr, pErrors,
                       [phClient](CSimGroupItem& item, DWORD i) -> HRESULT {
                         item.m_hClient = phClient[i];
                         return S_OK;
                       });
}

HRESULT CSimGroup::SetDatatypes(DWORD dwCount, const OPCHANDLE* phServer,
                                const VARTYPE* pRequestedDatatypes, std::vector<HRESULT>* pErrors) {
  return ForEachHandle(
      dwCount, phServer, pRequestedDatatypes != nullptr, pErrors,
      [pRequestedDatatypes](CSimGroupItem& item, DWORD i) -> HRESULT {
        if (!VariantTypeConvertible(item.m_pItem->m_vtCanonical, pRequestedDatatypes[i])) {
          return OPC_E_BADTYPE;
        }
        item.m_vtRequested = pRequestedDatatypes[i];
        return S_OK;
      });
}

HRESULT CSimGroup::CreateEnumerator(REFIID /*riid*/, IUnknown** ppUnk) {
  if (ppUnk != nullptr) {
    *ppUnk = nullptr;
  }
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : E_NOTIMPL;
}

// ---- IOPCSyncIO ----

OPCITEMSTATE CSimGroup::ReadOne(const CSimGroupItem& item, OPCDATASOURCE source, int64_t nowMs,
                                HRESULT* error) const {
  OPCITEMSTATE state;
  state.hClient = item.m_hClient;
  *error = S_OK;
  // An item added while readable whose rights the device withdrew (a write-only item).
  for (const std::string& pattern : m_pCore->Faults().m_unreadableItems) {
    if (OpcFilterMatch(item.m_pItem->m_sId, pattern)) {
      *error = OPC_E_BADRIGHTS;
      state.ftTimeStamp = FileTimeFromUnixMs(nowMs);
      state.wQuality = OPC_QUALITY_BAD;
      return state;
    }
  }
  int64_t sampleMs = nowMs;
  if (source == OPC_DS_CACHE) {
    if (!m_state.m_bActive || !item.m_bActive) {
      // The cache of an inactive item is not kept up to date.
      state.ftTimeStamp = FileTimeFromUnixMs(nowMs);
      state.wQuality = OPC_QUALITY_OUT_OF_SERVICE;
      return state;
    }
    const int64_t rate = m_state.m_nUpdateRate;
    sampleMs = nowMs - ((nowMs % rate) + rate) % rate;
  }
  state.ftTimeStamp = FileTimeFromUnixMs(sampleMs);
  state.wQuality = item.m_pItem->m_wQuality;
  VARIANT value = m_pCore->ValueAt(*item.m_pItem, sampleMs);
  if (item.m_vtRequested != VT_EMPTY && item.m_vtRequested != value.vt) {
    const HRESULT hr = VariantChangeType(&value, &value, 0, item.m_vtRequested);
    if (FAILED(hr)) {
      *error = hr;
      state.wQuality = OPC_QUALITY_BAD;
      return state;
    }
  }
  state.vDataValue = std::move(value);
  return state;
}

HRESULT CSimGroup::Read(OPCDATASOURCE dwSource, DWORD dwCount, const OPCHANDLE* phServer,
                        std::vector<OPCITEMSTATE>* pItemValues, std::vector<HRESULT>* pErrors) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (!ArgumentsValid(dwCount, phServer) || pItemValues == nullptr || pErrors == nullptr ||
      (dwSource != OPC_DS_CACHE && dwSource != OPC_DS_DEVICE)) {
    return E_INVALIDARG;
  }
  m_pCore->WaitForRead(dwSource);
  const HRESULT injected = m_pCore->Faults().m_hrReadError;
  if (injected != S_OK) {
    return injected;
  }
  const int64_t nowMs = m_pCore->NowUtcMs();
  pItemValues->assign(dwCount, OPCITEMSTATE{});
  pErrors->assign(dwCount, S_OK);
  for (DWORD i = 0; i < dwCount; ++i) {
    const CSimGroupItem* item = FindItem(phServer[i]);
    if (item == nullptr) {
      (*pErrors)[i] = OPC_E_INVALIDHANDLE;
      continue;
    }
    (*pItemValues)[i] = ReadOne(*item, dwSource, nowMs, &(*pErrors)[i]);
  }
  return Summary(*pErrors);
}

HRESULT CSimGroup::Write(DWORD dwCount, const OPCHANDLE* phServer, const VARIANT* pItemValues,
                         std::vector<HRESULT>* pErrors) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (!ArgumentsValid(dwCount, phServer) || pItemValues == nullptr || pErrors == nullptr) {
    return E_INVALIDARG;
  }
  pErrors->assign(dwCount, S_OK);
  for (DWORD i = 0; i < dwCount; ++i) {
    const CSimGroupItem* item = FindItem(phServer[i]);
    if (item == nullptr) {
      (*pErrors)[i] = OPC_E_INVALIDHANDLE;
      continue;
    }
    if ((item->m_pItem->m_dwAccessRights & OPC_WRITEABLE) == 0) {
      (*pErrors)[i] = OPC_E_BADRIGHTS;
      continue;
    }
    VARIANT value;
    const HRESULT converted =
        VariantChangeType(&value, &pItemValues[i], 0, item->m_pItem->m_vtCanonical);
    if (FAILED(converted)) {
      (*pErrors)[i] = converted == DISP_E_OVERFLOW ? OPC_E_RANGE : OPC_E_BADTYPE;
      continue;
    }
    m_pCore->StoreWrite(item->m_pItem->m_sId, value);
  }
  return Summary(*pErrors);
}

// ---- Asynchronous interfaces: they need a callback connection this layer lacks ----

HRESULT CSimGroup::Read(DWORD /*dwConnection*/, OPCDATASOURCE /*dwSource*/, DWORD /*dwCount*/,
                        const OPCHANDLE* /*phServer*/, DWORD* /*pTransactionID*/,
                        std::vector<HRESULT>* /*pErrors*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : CONNECT_E_NOCONNECTION;
}

HRESULT CSimGroup::Write(DWORD /*dwConnection*/, DWORD /*dwCount*/, const OPCHANDLE* /*phServer*/,
                         const VARIANT* /*pItemValues*/, DWORD* /*pTransactionID*/,
                         std::vector<HRESULT>* /*pErrors*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : CONNECT_E_NOCONNECTION;
}

HRESULT CSimGroup::Refresh(DWORD /*dwConnection*/, OPCDATASOURCE /*dwSource*/,
                           DWORD* /*pTransactionID*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : CONNECT_E_NOCONNECTION;
}

HRESULT CSimGroup::Cancel(DWORD /*dwTransactionID*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : E_FAIL;  // no transaction is ever pending
}

HRESULT CSimGroup::Read(DWORD /*dwCount*/, const OPCHANDLE* /*phServer*/, DWORD /*dwTransactionID*/,
                        DWORD* /*pdwCancelID*/, std::vector<HRESULT>* /*pErrors*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : CONNECT_E_NOCONNECTION;
}

HRESULT CSimGroup::Write(DWORD /*dwCount*/, const OPCHANDLE* /*phServer*/,
                         const VARIANT* /*pItemValues*/, DWORD /*dwTransactionID*/,
                         DWORD* /*pdwCancelID*/, std::vector<HRESULT>* /*pErrors*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : CONNECT_E_NOCONNECTION;
}

HRESULT CSimGroup::Refresh2(OPCDATASOURCE /*dwSource*/, DWORD /*dwTransactionID*/,
                            DWORD* /*pdwCancelID*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : CONNECT_E_NOCONNECTION;
}

HRESULT CSimGroup::Cancel2(DWORD /*dwCancelID*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : E_FAIL;
}

HRESULT CSimGroup::SetEnable(BOOL bEnable) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  m_bAsyncEnabled = bEnable != FALSE;
  return CONNECT_E_NOCONNECTION;
}

HRESULT CSimGroup::GetEnable(BOOL* pbEnable) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (pbEnable == nullptr) {
    return E_INVALIDARG;
  }
  *pbEnable = m_bAsyncEnabled ? TRUE : FALSE;
  return CONNECT_E_NOCONNECTION;
}

HRESULT CSimGroup::GetData(const FORMATETC* /*pformatetcIn*/, STGMEDIUM* /*pmedium*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : DV_E_FORMATETC;
}

HRESULT CSimGroup::QueryGetData(const FORMATETC* /*pformatetc*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : DV_E_FORMATETC;
}

HRESULT CSimGroup::DAdvise(const FORMATETC* /*pformatetc*/, DWORD /*advf*/, IUnknown* /*pAdvSink*/,
                           DWORD* pdwConnection) {
  if (pdwConnection != nullptr) {
    *pdwConnection = 0;
  }
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CSimGroup::DUnadvise(DWORD /*dwConnection*/) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CSimGroup::EnumConnectionPoints(std::vector<ComPtr<IConnectionPoint>>* pPoints) {
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  if (FAILED(hr)) {
    return hr;
  }
  if (pPoints == nullptr) {
    return E_POINTER;
  }
  pPoints->clear();
  return S_OK;
}

HRESULT CSimGroup::FindConnectionPoint(REFIID /*riid*/, IConnectionPoint** ppCP) {
  if (ppCP == nullptr) {
    return E_POINTER;
  }
  *ppCP = nullptr;
  const CSimCall call(m_pCore);
  const HRESULT hr = Enter(call);
  return FAILED(hr) ? hr : CONNECT_E_NOCONNECTION;
}
