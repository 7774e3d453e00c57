#include "platform/win/simserver/com_sim_objects.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <utility>
#include <vector>

#include "opc_da.h"
#include "platform/win/simserver/sim_host.h"
#include "platform/win/win_com_object.h"
#include "platform/win/win_sys_convert.h"

namespace simserver {

using winbridge::FromGuid;
using winbridge::Object;
using winbridge::ToGuid;
using winbridge::Utf8;
namespace layer = winbridge::layer;

namespace {

LONG g_nLive = 0;
DWORD g_nMainThread = 0;

void ObjectCreated() {
  InterlockedIncrement(&g_nLive);
}

void ObjectGone() {
  if (InterlockedDecrement(&g_nLive) == 0 && g_nMainThread != 0)
    PostThreadMessageW(g_nMainThread, WM_NULL, 0, 0);
}

// Every method body: a C++ exception of the simulation must not unwind into COM.
template <class Call>
HRESULT Serve(Call call) {
  try {
    return call();
  } catch (...) {
    return RPC_E_SERVERFAULT;
  }
}

// The layer interface pointers of one simulation object, each asked for once.
class CLayerInterfaces {
 public:
  explicit CLayerInterfaces(Object unknown) : m_pUnknown(unknown) {}
  ~CLayerInterfaces() {
    for (auto& entry : m_entries) {
      if (entry.second != nullptr)
        layer::Release(entry.second);
    }
    layer::Release(m_pUnknown);
  }
  CLayerInterfaces(const CLayerInterfaces&) = delete;
  CLayerInterfaces& operator=(const CLayerInterfaces&) = delete;

  Object Get(REFIID iid) {
    for (const auto& entry : m_entries) {
      if (IsEqualIID(entry.first, iid))
        return entry.second;
    }
    Object pointer = nullptr;
    if (FAILED(layer::QueryInterface(m_pUnknown, FromGuid(iid), &pointer)))
      pointer = nullptr;
    m_entries.emplace_back(iid, pointer);
    return pointer;
  }

 private:
  Object m_pUnknown;
  std::vector<std::pair<IID, Object>> m_entries;
};

// A CoTaskMem array of the codes (the caller frees it).
HRESULT* TaskMemCodes(const std::vector<winbridge::Hr>& codes, size_t count) {
  auto* block = static_cast<HRESULT*>(CoTaskMemAlloc(sizeof(HRESULT) * (count == 0 ? 1 : count)));
  if (block == nullptr)
    return nullptr;
  for (size_t i = 0; i < count; ++i)
    block[i] = i < codes.size() ? codes[i] : E_FAIL;
  return block;
}

std::vector<uint32_t> Handles(DWORD count, const OPCHANDLE* handles) {
  return handles == nullptr ? std::vector<uint32_t>()
                            : std::vector<uint32_t>(handles, handles + count);
}

OPCITEMRESULT* TaskMemResults(const std::vector<winbridge::ItemResult>& results, size_t count) {
  auto* block =
      static_cast<OPCITEMRESULT*>(CoTaskMemAlloc(sizeof(OPCITEMRESULT) * (count == 0 ? 1 : count)));
  if (block == nullptr)
    return nullptr;
  std::memset(block, 0, sizeof(OPCITEMRESULT) * count);
  for (size_t i = 0; i < count && i < results.size(); ++i) {
    block[i].hServer = results[i].server;
    block[i].vtCanonicalDataType = results[i].canonicalType;
    block[i].dwAccessRights = results[i].accessRights;
    block[i].dwBlobSize = static_cast<DWORD>(results[i].blob.size());
    if (!results[i].blob.empty()) {
      block[i].pBlob = static_cast<BYTE*>(CoTaskMemAlloc(results[i].blob.size()));
      if (block[i].pBlob != nullptr)
        std::memcpy(block[i].pBlob, results[i].blob.data(), results[i].blob.size());
    }
  }
  return block;
}

std::vector<winbridge::ItemDef> Defs(DWORD count, const OPCITEMDEF* items) {
  std::vector<winbridge::ItemDef> defs;
  for (DWORD i = 0; items != nullptr && i < count; ++i) {
    winbridge::ItemDef def;
    def.accessPath = Utf8(items[i].szAccessPath);
    def.itemId = Utf8(items[i].szItemID);
    def.active = items[i].bActive;
    def.client = items[i].hClient;
    if (items[i].pBlob != nullptr)
      def.blob.assign(items[i].pBlob, items[i].pBlob + items[i].dwBlobSize);
    def.requestedType = items[i].vtRequestedDataType;
    defs.push_back(std::move(def));
  }
  return defs;
}

class CComSimEnumString : public CComObject<IEnumString> {
 public:
  explicit CComSimEnumString(Object unknown) : m_layer(unknown) { ObjectCreated(); }

  HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPOLESTR* rgelt, ULONG* pceltFetched) override {
    return Serve([&]() -> HRESULT {
      if (rgelt == nullptr || (pceltFetched == nullptr && celt != 1))
        return E_POINTER;
      std::vector<std::string> strings;
      const HRESULT hr = layer::StringsNext(Enum(), celt, &strings);
      ULONG fetched = 0;
      for (const std::string& text : strings) {
        if (fetched < celt)
          rgelt[fetched++] = winbridge::TaskMemString(text);
      }
      if (pceltFetched != nullptr)
        *pceltFetched = fetched;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override {
    return Serve([&] { return layer::StringsSkip(Enum(), celt); });
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    return Serve([&] { return layer::StringsReset(Enum()); });
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumString** ppenum) override {
    return Serve([&]() -> HRESULT {
      if (ppenum == nullptr)
        return E_POINTER;
      *ppenum = nullptr;
      Object clone = nullptr;
      const HRESULT hr = layer::StringsClone(Enum(), &clone);
      if (clone != nullptr)
        *ppenum = new CComSimEnumString(clone);
      return hr;
    });
  }

 private:
  ~CComSimEnumString() override { ObjectGone(); }
  Object Enum() { return m_layer.Get(IID_IEnumString); }
  CLayerInterfaces m_layer;
};

HRESULT ReturnStrings(HRESULT hr, Object strings, IEnumString** out) {
  if (out != nullptr)
    *out = nullptr;
  if (strings == nullptr)
    return hr;
  if (out == nullptr) {
    layer::Release(strings);
    return hr;
  }
  *out = new CComSimEnumString(strings);
  return hr;
}

class CComSimConnectionPoint : public CComObject<IConnectionPoint> {
 public:
  explicit CComSimConnectionPoint(Object unknown) : m_layer(unknown) { ObjectCreated(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override {
    return Serve([&]() -> HRESULT {
      if (pIID == nullptr)
        return E_POINTER;
      winbridge::Guid iid;
      const HRESULT hr = layer::PointGetConnectionInterface(Point(), &iid);
      if (SUCCEEDED(hr))
        *pIID = ToGuid(iid);
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE
  GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override {
    if (ppCPC != nullptr)
      *ppCPC = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override {
    return Serve([&]() -> HRESULT {
      if (pUnkSink == nullptr || pdwCookie == nullptr)
        return E_POINTER;
      IOPCShutdown* sink = nullptr;
      if (FAILED(pUnkSink->QueryInterface(IID_IOPCShutdown, reinterpret_cast<void**>(&sink))))
        return CONNECT_E_CANNOTCONNECT;
      uint32_t cookie = 0;
      const HRESULT hr = layer::PointAdvise(Point(), sink, &cookie);  // the layer keeps its own
      sink->Release();
      *pdwCookie = cookie;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override {
    return Serve([&] { return layer::PointUnadvise(Point(), dwCookie); });
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppEnum) override {
    if (ppEnum != nullptr)
      *ppEnum = nullptr;
    return E_NOTIMPL;
  }

 private:
  ~CComSimConnectionPoint() override { ObjectGone(); }
  Object Point() { return m_layer.Get(IID_IConnectionPoint); }
  CLayerInterfaces m_layer;
};

HRESULT FindPoint(CLayerInterfaces& layerObject, REFIID riid, IConnectionPoint** ppCP) {
  if (ppCP == nullptr)
    return E_POINTER;
  *ppCP = nullptr;
  Object point = nullptr;
  const HRESULT hr = layer::ContainerFindConnectionPoint(
      layerObject.Get(IID_IConnectionPointContainer), FromGuid(riid), &point);
  if (point != nullptr)
    *ppCP = new CComSimConnectionPoint(point);
  return hr;
}

class CComSimGroup : public CComObject<IOPCGroupStateMgt, IOPCPublicGroupStateMgt, IOPCItemMgt,
                                       IOPCSyncIO, IOPCAsyncIO2, IConnectionPointContainer> {
 public:
  explicit CComSimGroup(Object unknown) : m_layer(unknown) { ObjectCreated(); }

  // IOPCGroupStateMgt
  HRESULT STDMETHODCALLTYPE GetState(DWORD* pUpdateRate, BOOL* pActive, LPWSTR* ppName,
                                     LONG* pTimeBias, FLOAT* pPercentDeadband, DWORD* pLCID,
                                     OPCHANDLE* phClientGroup, OPCHANDLE* phServerGroup) override {
    return Serve([&]() -> HRESULT {
      if (pUpdateRate == nullptr || pActive == nullptr || ppName == nullptr ||
          pTimeBias == nullptr || pPercentDeadband == nullptr || pLCID == nullptr ||
          phClientGroup == nullptr || phServerGroup == nullptr)
        return E_INVALIDARG;
      winbridge::GroupState state;
      const HRESULT hr = layer::GroupGetState(StateMgt(), &state);
      *ppName = nullptr;
      if (SUCCEEDED(hr)) {
        *pUpdateRate = state.updateRate;
        *pActive = state.active;
        *ppName = winbridge::TaskMemString(state.name);
        *pTimeBias = state.timeBias;
        *pPercentDeadband = state.deadband;
        *pLCID = state.lcid;
        *phClientGroup = state.clientGroup;
        *phServerGroup = state.serverGroup;
      }
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE SetState(DWORD* pRequestedUpdateRate, DWORD* pRevisedUpdateRate,
                                     BOOL* pActive, LONG* pTimeBias, FLOAT* pPercentDeadband,
                                     DWORD* pLCID, OPCHANDLE* phClientGroup) override {
    return Serve([&]() -> HRESULT {
      uint32_t revised = 0;
      // DWORD is unsigned long here: the plain 32-bit values are copied.
      const uint32_t rate = pRequestedUpdateRate != nullptr ? *pRequestedUpdateRate : 0;
      const int32_t active = pActive != nullptr ? *pActive : 0;
      const int32_t bias = pTimeBias != nullptr ? *pTimeBias : 0;
      const uint32_t lcid = pLCID != nullptr ? *pLCID : 0;
      const uint32_t client = phClientGroup != nullptr ? *phClientGroup : 0;
      const HRESULT hr = layer::GroupSetState(
          StateMgt(), pRequestedUpdateRate != nullptr ? &rate : nullptr, &revised,
          pActive != nullptr ? &active : nullptr, pTimeBias != nullptr ? &bias : nullptr,
          pPercentDeadband, pLCID != nullptr ? &lcid : nullptr,
          phClientGroup != nullptr ? &client : nullptr);
      if (pRevisedUpdateRate != nullptr)
        *pRevisedUpdateRate = revised;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE SetName(LPCWSTR szName) override {
    return Serve([&] { return layer::GroupSetName(StateMgt(), Utf8(szName)); });
  }
  HRESULT STDMETHODCALLTYPE CloneGroup(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk) override;

  // IOPCPublicGroupStateMgt
  HRESULT STDMETHODCALLTYPE GetState(BOOL* pPublic) override {
    return Serve([&]() -> HRESULT {
      if (pPublic == nullptr)
        return E_INVALIDARG;
      int32_t value = 0;
      const HRESULT hr =
          layer::PublicGroupGetState(m_layer.Get(IID_IOPCPublicGroupStateMgt), &value);
      *pPublic = value;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE MoveToPublic() override {
    return Serve(
        [&] { return layer::PublicGroupMoveToPublic(m_layer.Get(IID_IOPCPublicGroupStateMgt)); });
  }

  // IOPCItemMgt
  HRESULT STDMETHODCALLTYPE AddItems(DWORD dwCount, OPCITEMDEF* pItemArray,
                                     OPCITEMRESULT** ppAddResults, HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      if (ppAddResults == nullptr || ppErrors == nullptr)
        return E_INVALIDARG;
      std::vector<winbridge::ItemResult> results;
      std::vector<winbridge::Hr> codes;
      const HRESULT hr = layer::ItemsAdd(ItemMgt(), Defs(dwCount, pItemArray), &results, &codes);
      return Deliver(hr, dwCount, results, codes, ppAddResults, ppErrors);
    });
  }
  HRESULT STDMETHODCALLTYPE ValidateItems(DWORD dwCount, OPCITEMDEF* pItemArray, BOOL bBlobUpdate,
                                          OPCITEMRESULT** ppValidationResults,
                                          HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      if (ppValidationResults == nullptr || ppErrors == nullptr)
        return E_INVALIDARG;
      std::vector<winbridge::ItemResult> results;
      std::vector<winbridge::Hr> codes;
      const HRESULT hr =
          layer::ItemsValidate(ItemMgt(), Defs(dwCount, pItemArray), bBlobUpdate, &results, &codes);
      return Deliver(hr, dwCount, results, codes, ppValidationResults, ppErrors);
    });
  }
  HRESULT STDMETHODCALLTYPE RemoveItems(DWORD dwCount, OPCHANDLE* phServer,
                                        HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      std::vector<winbridge::Hr> codes;
      const HRESULT hr = layer::ItemsRemove(ItemMgt(), Handles(dwCount, phServer), &codes);
      return DeliverCodes(hr, dwCount, codes, ppErrors);
    });
  }
  HRESULT STDMETHODCALLTYPE SetActiveState(DWORD dwCount, OPCHANDLE* phServer, BOOL bActive,
                                           HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      std::vector<winbridge::Hr> codes;
      const HRESULT hr =
          layer::ItemsSetActiveState(ItemMgt(), Handles(dwCount, phServer), bActive, &codes);
      return DeliverCodes(hr, dwCount, codes, ppErrors);
    });
  }
  HRESULT STDMETHODCALLTYPE SetClientHandles(DWORD dwCount, OPCHANDLE* phServer,
                                             OPCHANDLE* phClient, HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      std::vector<winbridge::Hr> codes;
      const HRESULT hr = layer::ItemsSetClientHandles(ItemMgt(), Handles(dwCount, phServer),
                                                      Handles(dwCount, phClient), &codes);
      return DeliverCodes(hr, dwCount, codes, ppErrors);
    });
  }
  HRESULT STDMETHODCALLTYPE SetDatatypes(DWORD dwCount, OPCHANDLE* phServer,
                                         VARTYPE* pRequestedDatatypes,
                                         HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      std::vector<uint16_t> types;
      for (DWORD i = 0; pRequestedDatatypes != nullptr && i < dwCount; ++i)
        types.push_back(pRequestedDatatypes[i]);
      std::vector<winbridge::Hr> codes;
      const HRESULT hr =
          layer::ItemsSetDatatypes(ItemMgt(), Handles(dwCount, phServer), types, &codes);
      return DeliverCodes(hr, dwCount, codes, ppErrors);
    });
  }
  HRESULT STDMETHODCALLTYPE CreateEnumerator(REFIID /*riid*/, LPUNKNOWN* ppUnk) override {
    if (ppUnk != nullptr)
      *ppUnk = nullptr;
    return E_NOTIMPL;  // the simulation has no IEnumOPCItemAttributes
  }

  // IOPCSyncIO
  HRESULT STDMETHODCALLTYPE Read(OPCDATASOURCE dwSource, DWORD dwCount, OPCHANDLE* phServer,
                                 OPCITEMSTATE** ppItemValues, HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      if (ppItemValues == nullptr || ppErrors == nullptr)
        return E_INVALIDARG;
      *ppItemValues = nullptr;
      *ppErrors = nullptr;
      std::vector<winbridge::ItemState> states;
      std::vector<winbridge::Hr> codes;
      const HRESULT hr =
          layer::SyncRead(SyncIO(), dwSource, Handles(dwCount, phServer), &states, &codes);
      if (FAILED(hr))
        return hr;
      auto* values = static_cast<OPCITEMSTATE*>(
          CoTaskMemAlloc(sizeof(OPCITEMSTATE) * (dwCount == 0 ? 1 : dwCount)));
      if (values == nullptr)
        return E_OUTOFMEMORY;
      std::memset(values, 0, sizeof(OPCITEMSTATE) * dwCount);
      for (DWORD i = 0; i < dwCount; ++i) {
        VariantInit(&values[i].vDataValue);
        if (i >= states.size())
          continue;
        values[i].hClient = states[i].client;
        values[i].ftTimeStamp = winbridge::ToFileTime(states[i].timeStamp);
        values[i].wQuality = states[i].quality;
        winbridge::ToVariant(states[i].value, &values[i].vDataValue);
      }
      *ppItemValues = values;
      *ppErrors = TaskMemCodes(codes, dwCount);
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE Write(DWORD dwCount, OPCHANDLE* phServer, VARIANT* pItemValues,
                                  HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      std::vector<winbridge::Value> values;
      for (DWORD i = 0; pItemValues != nullptr && i < dwCount; ++i)
        values.push_back(winbridge::FromVariant(pItemValues[i]));
      std::vector<winbridge::Hr> codes;
      const HRESULT hr = layer::SyncWrite(SyncIO(), Handles(dwCount, phServer), values, &codes);
      return DeliverCodes(hr, dwCount, codes, ppErrors);
    });
  }

  // IOPCAsyncIO2
  HRESULT STDMETHODCALLTYPE Read(DWORD dwCount, OPCHANDLE* phServer, DWORD dwTransactionID,
                                 DWORD* pdwCancelID, HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      uint32_t cancel = 0;
      std::vector<winbridge::Hr> codes;
      const HRESULT hr =
          layer::Async2Read(Async2(), Handles(dwCount, phServer), dwTransactionID, &cancel, &codes);
      if (pdwCancelID != nullptr)
        *pdwCancelID = cancel;
      return DeliverCodes(hr, dwCount, codes, ppErrors);
    });
  }
  HRESULT STDMETHODCALLTYPE Write(DWORD, OPCHANDLE*, VARIANT*, DWORD, DWORD*, HRESULT**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Refresh2(OPCDATASOURCE dwSource, DWORD dwTransactionID,
                                     DWORD* pdwCancelID) override {
    return Serve([&]() -> HRESULT {
      uint32_t cancel = 0;
      const HRESULT hr = layer::Async2Refresh(Async2(), dwSource, dwTransactionID, &cancel);
      if (pdwCancelID != nullptr)
        *pdwCancelID = cancel;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE Cancel2(DWORD dwCancelID) override {
    return Serve([&] { return layer::Async2Cancel(Async2(), dwCancelID); });
  }
  HRESULT STDMETHODCALLTYPE SetEnable(BOOL bEnable) override {
    return Serve([&] { return layer::Async2SetEnable(Async2(), bEnable); });
  }
  HRESULT STDMETHODCALLTYPE GetEnable(BOOL* pbEnable) override {
    return Serve([&]() -> HRESULT {
      if (pbEnable == nullptr)
        return E_INVALIDARG;
      int32_t value = 0;
      const HRESULT hr = layer::Async2GetEnable(Async2(), &value);
      *pbEnable = value;
      return hr;
    });
  }

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override {
    if (ppEnum != nullptr)
      *ppEnum = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    return Serve([&] { return FindPoint(m_layer, riid, ppCP); });
  }

 protected:
  void* FindInterface(REFIID riid) override {
    if (!IsEqualIID(riid, IID_IUnknown) && m_layer.Get(riid) == nullptr)
      return nullptr;
    return CComObject::FindInterface(riid);
  }

 private:
  ~CComSimGroup() override { ObjectGone(); }

  static HRESULT DeliverCodes(HRESULT hr, DWORD count, const std::vector<winbridge::Hr>& codes,
                              HRESULT** ppErrors) {
    if (ppErrors == nullptr)
      return E_INVALIDARG;
    *ppErrors = nullptr;
    if (FAILED(hr))
      return hr;
    *ppErrors = TaskMemCodes(codes, count);
    return *ppErrors == nullptr ? E_OUTOFMEMORY : hr;
  }
  static HRESULT Deliver(HRESULT hr, DWORD count, const std::vector<winbridge::ItemResult>& results,
                         const std::vector<winbridge::Hr>& codes, OPCITEMRESULT** ppResults,
                         HRESULT** ppErrors) {
    *ppResults = nullptr;
    *ppErrors = nullptr;
    if (FAILED(hr))
      return hr;
    *ppResults = TaskMemResults(results, count);
    *ppErrors = TaskMemCodes(codes, count);
    return hr;
  }
  Object StateMgt() { return m_layer.Get(IID_IOPCGroupStateMgt); }
  Object ItemMgt() { return m_layer.Get(IID_IOPCItemMgt); }
  Object SyncIO() { return m_layer.Get(IID_IOPCSyncIO); }
  Object Async2() { return m_layer.Get(IID_IOPCAsyncIO2); }
  CLayerInterfaces m_layer;
};

// A simulation group as the real object for riid in *ppUnk.
HRESULT ReturnGroup(HRESULT hr, Object group, REFIID riid, LPUNKNOWN* ppUnk) {
  if (ppUnk != nullptr)
    *ppUnk = nullptr;
  if (group == nullptr)
    return hr;
  IOPCItemMgt* object = new CComSimGroup(group);
  const HRESULT asked =
      ppUnk == nullptr ? S_OK : object->QueryInterface(riid, reinterpret_cast<void**>(ppUnk));
  object->Release();
  return FAILED(asked) ? asked : hr;
}

HRESULT STDMETHODCALLTYPE CComSimGroup::CloneGroup(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk) {
  return Serve([&]() -> HRESULT {
    Object group = nullptr;
    const HRESULT hr = layer::GroupClone(StateMgt(), Utf8(szName), FromGuid(riid), &group);
    return ReturnGroup(hr, group, riid, ppUnk);
  });
}

class CComSimServer
    : public CComObject<IOPCServer, IOPCCommon, IConnectionPointContainer, IOPCItemProperties,
                        IOPCBrowseServerAddressSpace, IOPCServerPublicGroups, IPersistFile> {
 public:
  explicit CComSimServer(Object unknown) : m_layer(unknown) { ObjectCreated(); }

  // IOPCServer
  HRESULT STDMETHODCALLTYPE AddGroup(LPCWSTR szName, BOOL bActive, DWORD dwRequestedUpdateRate,
                                     OPCHANDLE hClientGroup, LONG* pTimeBias,
                                     FLOAT* pPercentDeadband, DWORD dwLCID,
                                     OPCHANDLE* phServerGroup, DWORD* pRevisedUpdateRate,
                                     REFIID riid, LPUNKNOWN* ppUnk) override {
    return Serve([&]() -> HRESULT {
      uint32_t handle = 0;
      uint32_t revised = 0;
      Object group = nullptr;
      const int32_t bias = pTimeBias != nullptr ? *pTimeBias : 0;
      const HRESULT hr = layer::ServerAddGroup(
          Server(), Utf8(szName), bActive, dwRequestedUpdateRate, hClientGroup,
          pTimeBias != nullptr ? &bias : nullptr, pPercentDeadband, dwLCID, &handle, &revised,
          FromGuid(riid), &group);
      if (phServerGroup != nullptr)
        *phServerGroup = handle;
      if (pRevisedUpdateRate != nullptr)
        *pRevisedUpdateRate = revised;
      return ReturnGroup(hr, group, riid, ppUnk);
    });
  }
  HRESULT STDMETHODCALLTYPE GetErrorString(HRESULT dwError, LCID dwLocale,
                                           LPWSTR* ppString) override {
    return Serve([&]() -> HRESULT {
      if (ppString == nullptr)
        return E_INVALIDARG;
      std::string text;
      const HRESULT hr = layer::ServerGetErrorString(Server(), dwError, dwLocale, &text);
      *ppString = SUCCEEDED(hr) ? winbridge::TaskMemString(text) : nullptr;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE GetGroupByName(LPCWSTR szName, REFIID riid, LPUNKNOWN* ppUnk) override {
    return Serve([&]() -> HRESULT {
      Object group = nullptr;
      const HRESULT hr =
          layer::ServerGetGroupByName(Server(), Utf8(szName), FromGuid(riid), &group);
      return ReturnGroup(hr, group, riid, ppUnk);
    });
  }
  HRESULT STDMETHODCALLTYPE GetStatus(OPCSERVERSTATUS** ppServerStatus) override {
    return Serve([&]() -> HRESULT {
      if (ppServerStatus == nullptr)
        return E_INVALIDARG;
      *ppServerStatus = nullptr;
      winbridge::ServerStatus status;
      const HRESULT hr = layer::ServerGetStatus(Server(), &status);
      if (FAILED(hr))
        return hr;
      auto* result = static_cast<OPCSERVERSTATUS*>(CoTaskMemAlloc(sizeof(OPCSERVERSTATUS)));
      if (result == nullptr)
        return E_OUTOFMEMORY;
      std::memset(result, 0, sizeof *result);
      result->ftStartTime = winbridge::ToFileTime(status.start);
      result->ftCurrentTime = winbridge::ToFileTime(status.current);
      result->ftLastUpdateTime = winbridge::ToFileTime(status.lastUpdate);
      result->dwServerState = static_cast<OPCSERVERSTATE>(status.state);
      result->dwGroupCount = status.groupCount;
      result->dwBandWidth = status.bandWidth;
      result->wMajorVersion = status.major;
      result->wMinorVersion = status.minor;
      result->wBuildNumber = status.build;
      result->szVendorInfo = winbridge::TaskMemString(status.vendor);
      *ppServerStatus = result;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE RemoveGroup(OPCHANDLE hServerGroup, BOOL bForce) override {
    return Serve([&] { return layer::ServerRemoveGroup(Server(), hServerGroup, bForce); });
  }
  HRESULT STDMETHODCALLTYPE CreateGroupEnumerator(OPCENUMSCOPE dwScope, REFIID riid,
                                                  LPUNKNOWN* ppUnk) override {
    return Serve([&]() -> HRESULT {
      if (ppUnk == nullptr)
        return E_INVALIDARG;
      *ppUnk = nullptr;
      if (!IsEqualIID(riid, IID_IEnumString))
        return E_NOINTERFACE;
      Object strings = nullptr;
      const HRESULT hr =
          layer::ServerCreateGroupEnumerator(Server(), dwScope, FromGuid(riid), &strings);
      IEnumString* enumerator = nullptr;
      const HRESULT result = ReturnStrings(hr, strings, &enumerator);
      *ppUnk = enumerator;
      return result;
    });
  }

  // IOPCCommon
  HRESULT STDMETHODCALLTYPE SetLocaleID(LCID dwLcid) override {
    return Serve([&] { return layer::CommonSetLocaleID(Common(), dwLcid); });
  }
  HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* pdwLcid) override {
    return Serve([&]() -> HRESULT {
      if (pdwLcid == nullptr)
        return E_INVALIDARG;
      uint32_t lcid = 0;
      const HRESULT hr = layer::CommonGetLocaleID(Common(), &lcid);
      *pdwLcid = lcid;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE QueryAvailableLocaleIDs(DWORD* pdwCount, LCID** pdwLcid) override {
    return Serve([&]() -> HRESULT {
      if (pdwCount == nullptr || pdwLcid == nullptr)
        return E_INVALIDARG;
      std::vector<uint32_t> lcids;
      const HRESULT hr = layer::CommonQueryAvailableLocaleIDs(Common(), &lcids);
      *pdwCount = 0;
      *pdwLcid = nullptr;
      if (FAILED(hr))
        return hr;
      *pdwLcid =
          static_cast<LCID*>(CoTaskMemAlloc(sizeof(LCID) * (lcids.empty() ? 1 : lcids.size())));
      if (*pdwLcid == nullptr)
        return E_OUTOFMEMORY;
      for (size_t i = 0; i < lcids.size(); ++i)
        (*pdwLcid)[i] = lcids[i];
      *pdwCount = static_cast<DWORD>(lcids.size());
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE GetErrorString(HRESULT dwError, LPWSTR* ppString) override {
    return Serve([&]() -> HRESULT {
      if (ppString == nullptr)
        return E_INVALIDARG;
      std::string text;
      const HRESULT hr = layer::CommonGetErrorString(Common(), dwError, &text);
      *ppString = SUCCEEDED(hr) ? winbridge::TaskMemString(text) : nullptr;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE SetClientName(LPCWSTR szName) override {
    return Serve([&] { return layer::CommonSetClientName(Common(), Utf8(szName)); });
  }

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override {
    if (ppEnum != nullptr)
      *ppEnum = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
    return Serve([&] { return FindPoint(m_layer, riid, ppCP); });
  }

  // IOPCItemProperties
  HRESULT STDMETHODCALLTYPE QueryAvailableProperties(LPWSTR szItemID, DWORD* pdwCount,
                                                     DWORD** ppPropertyIDs, LPWSTR** ppDescriptions,
                                                     VARTYPE** ppvtDataTypes) override {
    return Serve([&]() -> HRESULT {
      if (pdwCount == nullptr || ppPropertyIDs == nullptr || ppDescriptions == nullptr ||
          ppvtDataTypes == nullptr)
        return E_INVALIDARG;
      *pdwCount = 0;
      *ppPropertyIDs = nullptr;
      *ppDescriptions = nullptr;
      *ppvtDataTypes = nullptr;
      std::vector<uint32_t> ids;
      std::vector<std::string> descriptions;
      std::vector<uint16_t> types;
      const HRESULT hr = layer::PropertiesQueryAvailable(Properties(), Utf8(szItemID), &ids,
                                                         &descriptions, &types);
      if (FAILED(hr))
        return hr;
      const size_t n = ids.size();
      *ppPropertyIDs = static_cast<DWORD*>(CoTaskMemAlloc(sizeof(DWORD) * (n == 0 ? 1 : n)));
      *ppDescriptions = static_cast<LPWSTR*>(CoTaskMemAlloc(sizeof(LPWSTR) * (n == 0 ? 1 : n)));
      *ppvtDataTypes = static_cast<VARTYPE*>(CoTaskMemAlloc(sizeof(VARTYPE) * (n == 0 ? 1 : n)));
      for (size_t i = 0; i < n; ++i) {
        (*ppPropertyIDs)[i] = ids[i];
        (*ppDescriptions)[i] =
            winbridge::TaskMemString(i < descriptions.size() ? descriptions[i] : "");
        (*ppvtDataTypes)[i] = i < types.size() ? types[i] : static_cast<VARTYPE>(VT_EMPTY);
      }
      *pdwCount = static_cast<DWORD>(n);
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE GetItemProperties(LPWSTR szItemID, DWORD dwCount, DWORD* pdwPropertyIDs,
                                              VARIANT** ppvData, HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      if (ppvData == nullptr || ppErrors == nullptr)
        return E_INVALIDARG;
      *ppvData = nullptr;
      *ppErrors = nullptr;
      std::vector<winbridge::Value> values;
      std::vector<winbridge::Hr> codes;
      const HRESULT hr = layer::PropertiesGet(Properties(), Utf8(szItemID),
                                              Handles(dwCount, pdwPropertyIDs), &values, &codes);
      if (FAILED(hr))
        return hr;
      auto* data =
          static_cast<VARIANT*>(CoTaskMemAlloc(sizeof(VARIANT) * (dwCount == 0 ? 1 : dwCount)));
      if (data == nullptr)
        return E_OUTOFMEMORY;
      for (DWORD i = 0; i < dwCount; ++i) {
        VariantInit(&data[i]);
        if (i < values.size())
          winbridge::ToVariant(values[i], &data[i]);
      }
      *ppvData = data;
      *ppErrors = TaskMemCodes(codes, dwCount);
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE LookupItemIDs(LPWSTR szItemID, DWORD dwCount, DWORD* pdwPropertyIDs,
                                          LPWSTR** ppszNewItemIDs, HRESULT** ppErrors) override {
    return Serve([&]() -> HRESULT {
      if (ppszNewItemIDs == nullptr || ppErrors == nullptr)
        return E_INVALIDARG;
      *ppszNewItemIDs = nullptr;
      *ppErrors = nullptr;
      std::vector<std::string> ids;
      std::vector<winbridge::Hr> codes;
      const HRESULT hr = layer::PropertiesLookupItemIDs(
          Properties(), Utf8(szItemID), Handles(dwCount, pdwPropertyIDs), &ids, &codes);
      if (FAILED(hr))
        return hr;
      auto* texts =
          static_cast<LPWSTR*>(CoTaskMemAlloc(sizeof(LPWSTR) * (dwCount == 0 ? 1 : dwCount)));
      if (texts == nullptr)
        return E_OUTOFMEMORY;
      for (DWORD i = 0; i < dwCount; ++i) {
        const bool found = i < ids.size() && i < codes.size() && SUCCEEDED(codes[i]);
        texts[i] = found ? winbridge::TaskMemString(ids[i]) : nullptr;
      }
      *ppszNewItemIDs = texts;
      *ppErrors = TaskMemCodes(codes, dwCount);
      return hr;
    });
  }

  // IOPCBrowseServerAddressSpace
  HRESULT STDMETHODCALLTYPE QueryOrganization(OPCNAMESPACETYPE* pNameSpaceType) override {
    return Serve([&]() -> HRESULT {
      if (pNameSpaceType == nullptr)
        return E_INVALIDARG;
      uint32_t organization = 0;
      const HRESULT hr = layer::BrowseQueryOrganization(Browse(), &organization);
      *pNameSpaceType = static_cast<OPCNAMESPACETYPE>(organization);
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE ChangeBrowsePosition(OPCBROWSEDIRECTION dwBrowseDirection,
                                                 LPCWSTR szString) override {
    return Serve(
        [&] { return layer::BrowseChangePosition(Browse(), dwBrowseDirection, Utf8(szString)); });
  }
  HRESULT STDMETHODCALLTYPE BrowseOPCItemIDs(OPCBROWSETYPE dwBrowseFilterType,
                                             LPCWSTR szFilterCriteria, VARTYPE vtDataTypeFilter,
                                             DWORD dwAccessRightsFilter,
                                             LPENUMSTRING* ppIEnumString) override {
    return Serve([&]() -> HRESULT {
      Object strings = nullptr;
      const HRESULT hr = layer::BrowseItemIDs(Browse(), dwBrowseFilterType, Utf8(szFilterCriteria),
                                              vtDataTypeFilter, dwAccessRightsFilter, &strings);
      return ReturnStrings(hr, strings, ppIEnumString);
    });
  }
  HRESULT STDMETHODCALLTYPE GetItemID(LPWSTR szItemDataID, LPWSTR* szItemID) override {
    return Serve([&]() -> HRESULT {
      if (szItemID == nullptr)
        return E_INVALIDARG;
      std::string id;
      const HRESULT hr = layer::BrowseGetItemID(Browse(), Utf8(szItemDataID), &id);
      *szItemID = SUCCEEDED(hr) ? winbridge::TaskMemString(id) : nullptr;
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE BrowseAccessPaths(LPCWSTR szItemID,
                                              LPENUMSTRING* ppIEnumString) override {
    return Serve([&]() -> HRESULT {
      Object strings = nullptr;
      const HRESULT hr = layer::BrowseAccessPaths(Browse(), Utf8(szItemID), &strings);
      return ReturnStrings(hr, strings, ppIEnumString);
    });
  }

  // IOPCServerPublicGroups
  HRESULT STDMETHODCALLTYPE GetPublicGroupByName(LPCWSTR szName, REFIID riid,
                                                 LPUNKNOWN* ppUnk) override {
    return Serve([&]() -> HRESULT {
      Object group = nullptr;
      const HRESULT hr = layer::PublicGroupsGetByName(m_layer.Get(IID_IOPCServerPublicGroups),
                                                      Utf8(szName), FromGuid(riid), &group);
      return ReturnGroup(hr, group, riid, ppUnk);
    });
  }
  HRESULT STDMETHODCALLTYPE RemovePublicGroup(OPCHANDLE hServerGroup, BOOL bForce) override {
    return Serve([&] {
      return layer::PublicGroupsRemove(m_layer.Get(IID_IOPCServerPublicGroups), hServerGroup,
                                       bForce);
    });
  }

  // IPersistFile
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override {
    return Serve([&]() -> HRESULT {
      if (pClassID == nullptr)
        return E_POINTER;
      winbridge::Guid clsid;
      const HRESULT hr = layer::PersistGetClassID(Persist(), &clsid);
      if (SUCCEEDED(hr))
        *pClassID = ToGuid(clsid);
      return hr;
    });
  }
  HRESULT STDMETHODCALLTYPE IsDirty() override {
    return Serve([&] { return layer::PersistIsDirty(Persist()); });
  }
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR pszFileName, DWORD dwMode) override {
    return Serve([&] { return layer::PersistLoad(Persist(), Utf8(pszFileName), dwMode); });
  }
  HRESULT STDMETHODCALLTYPE Save(LPCOLESTR pszFileName, BOOL fRemember) override {
    return Serve([&] { return layer::PersistSave(Persist(), Utf8(pszFileName), fRemember); });
  }
  HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR pszFileName) override {
    return Serve([&] { return layer::PersistSaveCompleted(Persist(), Utf8(pszFileName)); });
  }
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* ppszFileName) override {
    return Serve([&]() -> HRESULT {
      if (ppszFileName == nullptr)
        return E_POINTER;
      std::string file;
      const HRESULT hr = layer::PersistGetCurFile(Persist(), &file);
      *ppszFileName = SUCCEEDED(hr) ? winbridge::TaskMemString(file) : nullptr;
      return hr;
    });
  }

 protected:
  void* FindInterface(REFIID riid) override {
    if (!IsEqualIID(riid, IID_IUnknown) && m_layer.Get(riid) == nullptr)
      return nullptr;
    return CComObject::FindInterface(riid);
  }

 private:
  ~CComSimServer() override { ObjectGone(); }
  Object Server() { return m_layer.Get(IID_IOPCServer); }
  Object Common() { return m_layer.Get(IID_IOPCCommon); }
  Object Properties() { return m_layer.Get(IID_IOPCItemProperties); }
  Object Browse() { return m_layer.Get(IID_IOPCBrowseServerAddressSpace); }
  Object Persist() { return m_layer.Get(IID_IPersistFile); }
  CLayerInterfaces m_layer;
};

class CComSimClassFactory : public CComObject<IClassFactory> {
 public:
  explicit CComSimClassFactory(const winbridge::Guid& clsid) : m_clsid(clsid) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
    return Serve([&]() -> HRESULT {
      if (ppv == nullptr)
        return E_POINTER;
      *ppv = nullptr;
      if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
      Object unknown = nullptr;
      const HRESULT hr = simhost::CreateSimulationServer(m_clsid, &unknown);
      if (FAILED(hr) || unknown == nullptr)
        return FAILED(hr) ? hr : E_FAIL;
      IOPCServer* server = new CComSimServer(unknown);
      const HRESULT asked = server->QueryInterface(riid, ppv);
      server->Release();
      return asked;
    });
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override {
    if (fLock)
      ObjectCreated();
    else
      ObjectGone();
    return S_OK;
  }

 private:
  winbridge::Guid m_clsid;
};

}  // namespace

IClassFactory* CreateClassFactory(const winbridge::Guid& clsid) {
  return new CComSimClassFactory(clsid);
}

LONG LiveObjectCount() {
  return g_nLive;
}

void SetMainThread(DWORD threadId) {
  g_nMainThread = threadId;
}

}  // namespace simserver
