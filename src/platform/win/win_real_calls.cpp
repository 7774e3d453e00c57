// System side of the client: every bridge call made on a real COM interface pointer.
// Wide strings, VARIANTs and the CoTaskMem blocks the server returns are converted to
// the bridge's types and freed here; HRESULTs pass through unchanged.
#include <windows.h>

#include <comcat.h>
#include <ocidl.h>

#include "opc_da.h"
#include "platform/win/win_shutdown_sink.h"
#include "platform/win/win_sys_convert.h"

namespace winbridge::real {

namespace {

template <class T>
T* As(Object o) {
  return static_cast<T*>(o);
}

// Per-item codes out of a CoTaskMem block (freed).
void TakeErrors(HRESULT* errors, size_t count, std::vector<Hr>* out) {
  out->clear();
  if (errors == nullptr)
    return;
  out->assign(errors, errors + count);
  CoTaskMemFree(errors);
}

// The definitions as the server reads them; the strings live in keep.
std::vector<OPCITEMDEF> ToItemDefs(const std::vector<ItemDef>& defs,
                                   std::vector<std::wstring>& keep) {
  keep.clear();
  keep.reserve(defs.size() * 2);
  std::vector<OPCITEMDEF> result(defs.size());
  for (size_t i = 0; i < defs.size(); ++i) {
    keep.push_back(Wide(defs[i].accessPath));
    result[i].szAccessPath = keep.back().data();
    keep.push_back(Wide(defs[i].itemId));
    result[i].szItemID = keep.back().data();
    result[i].bActive = defs[i].active;
    result[i].hClient = defs[i].client;
    result[i].dwBlobSize = static_cast<DWORD>(defs[i].blob.size());
    result[i].pBlob = defs[i].blob.empty() ? nullptr : const_cast<BYTE*>(defs[i].blob.data());
    result[i].vtRequestedDataType = defs[i].requestedType;
    result[i].wReserved = 0;
  }
  return result;
}

void TakeItemResults(OPCITEMRESULT* results, size_t count, std::vector<ItemResult>* out) {
  out->clear();
  if (results == nullptr)
    return;
  for (size_t i = 0; i < count; ++i) {
    ItemResult item;
    item.server = results[i].hServer;
    item.canonicalType = results[i].vtCanonicalDataType;
    item.accessRights = results[i].dwAccessRights;
    if (results[i].pBlob != nullptr) {
      item.blob.assign(results[i].pBlob, results[i].pBlob + results[i].dwBlobSize);
      CoTaskMemFree(results[i].pBlob);
    }
    out->push_back(std::move(item));
  }
  CoTaskMemFree(results);
}

// Values as the server reads them (cleared by the caller with ClearVariants).
std::vector<VARIANT> ToVariants(const std::vector<Value>& values) {
  std::vector<VARIANT> result(values.size());
  for (size_t i = 0; i < values.size(); ++i)
    ToVariant(values[i], &result[i]);
  return result;
}

void ClearVariants(std::vector<VARIANT>& values) {
  for (VARIANT& value : values)
    VariantClear(&value);
}

}  // namespace

void AddRef(Object o) {
  As<IUnknown>(o)->AddRef();
}

void Release(Object o) {
  As<IUnknown>(o)->Release();
}

Hr QueryInterface(Object o, const Guid& iid, Object* out) {
  const GUID id = ToGuid(iid);
  return As<IUnknown>(o)->QueryInterface(id, out);
}

// ---- IOPCServer ----

Hr ServerAddGroup(Object o, const std::string& name, int32_t active, uint32_t requestedRate,
                  uint32_t clientGroup, const int32_t* timeBias, const float* deadband,
                  uint32_t lcid, uint32_t* serverGroup, uint32_t* revisedRate, const Guid& iid,
                  Object* group) {
  const std::wstring wide = Wide(name);
  LONG bias = timeBias != nullptr ? *timeBias : 0;
  FLOAT band = deadband != nullptr ? *deadband : 0.0f;
  OPCHANDLE handle = 0;
  DWORD revised = 0;
  IUnknown* unknown = nullptr;
  const GUID id = ToGuid(iid);
  const HRESULT hr = As<IOPCServer>(o)->AddGroup(
      wide.c_str(), active, requestedRate, clientGroup, timeBias != nullptr ? &bias : nullptr,
      deadband != nullptr ? &band : nullptr, lcid, &handle, &revised, id, &unknown);
  *serverGroup = handle;
  *revisedRate = revised;
  *group = unknown;
  return hr;
}

Hr ServerGetErrorString(Object o, Hr code, uint32_t lcid, std::string* text) {
  LPWSTR string = nullptr;
  const HRESULT hr = As<IOPCServer>(o)->GetErrorString(code, lcid, &string);
  if (SUCCEEDED(hr))
    *text = TakeTaskMemString(string);
  return hr;
}

Hr ServerGetGroupByName(Object o, const std::string& name, const Guid& iid, Object* group) {
  const std::wstring wide = Wide(name);
  IUnknown* unknown = nullptr;
  const HRESULT hr = As<IOPCServer>(o)->GetGroupByName(wide.c_str(), ToGuid(iid), &unknown);
  *group = unknown;
  return hr;
}

Hr ServerGetStatus(Object o, ServerStatus* status) {
  OPCSERVERSTATUS* result = nullptr;
  const HRESULT hr = As<IOPCServer>(o)->GetStatus(&result);
  if (result == nullptr)
    return FAILED(hr) ? hr : E_FAIL;
  status->start = FromFileTime(result->ftStartTime);
  status->current = FromFileTime(result->ftCurrentTime);
  status->lastUpdate = FromFileTime(result->ftLastUpdateTime);
  status->state = result->dwServerState;
  status->groupCount = result->dwGroupCount;
  status->bandWidth = result->dwBandWidth;
  status->major = result->wMajorVersion;
  status->minor = result->wMinorVersion;
  status->build = result->wBuildNumber;
  status->vendor = result->szVendorInfo != nullptr ? TakeTaskMemString(result->szVendorInfo) : "";
  CoTaskMemFree(result);
  return hr;
}

Hr ServerRemoveGroup(Object o, uint32_t serverGroup, int32_t force) {
  return As<IOPCServer>(o)->RemoveGroup(serverGroup, force);
}

Hr ServerCreateGroupEnumerator(Object o, uint32_t scope, const Guid& iid, Object* enumerator) {
  IUnknown* unknown = nullptr;
  const HRESULT hr = As<IOPCServer>(o)->CreateGroupEnumerator(static_cast<OPCENUMSCOPE>(scope),
                                                              ToGuid(iid), &unknown);
  *enumerator = unknown;
  return hr;
}

// ---- IOPCCommon ----

Hr CommonSetLocaleID(Object o, uint32_t lcid) {
  return As<IOPCCommon>(o)->SetLocaleID(lcid);
}

Hr CommonGetLocaleID(Object o, uint32_t* lcid) {
  LCID value = 0;
  const HRESULT hr = As<IOPCCommon>(o)->GetLocaleID(&value);
  *lcid = value;
  return hr;
}

Hr CommonQueryAvailableLocaleIDs(Object o, std::vector<uint32_t>* lcids) {
  DWORD count = 0;
  LCID* values = nullptr;
  const HRESULT hr = As<IOPCCommon>(o)->QueryAvailableLocaleIDs(&count, &values);
  lcids->clear();
  if (values != nullptr) {
    lcids->assign(values, values + count);
    CoTaskMemFree(values);
  }
  return hr;
}

Hr CommonGetErrorString(Object o, Hr code, std::string* text) {
  LPWSTR string = nullptr;
  const HRESULT hr = As<IOPCCommon>(o)->GetErrorString(code, &string);
  if (SUCCEEDED(hr))
    *text = TakeTaskMemString(string);
  return hr;
}

Hr CommonSetClientName(Object o, const std::string& name) {
  return As<IOPCCommon>(o)->SetClientName(Wide(name).c_str());
}

// ---- Connection points ----

Hr ContainerFindConnectionPoint(Object o, const Guid& iid, Object* point) {
  IConnectionPoint* found = nullptr;
  const HRESULT hr = As<IConnectionPointContainer>(o)->FindConnectionPoint(ToGuid(iid), &found);
  *point = found;
  return hr;
}

Hr PointGetConnectionInterface(Object o, Guid* iid) {
  IID id;
  const HRESULT hr = As<IConnectionPoint>(o)->GetConnectionInterface(&id);
  if (SUCCEEDED(hr))
    *iid = FromGuid(id);
  return hr;
}

Hr PointAdvise(Object o, Object sink, uint32_t* cookie) {
  // The layer's sink, presented to the server as a real IOPCShutdown object.
  IUnknown* wrapper = CreateShutdownSinkForLayer(sink);
  if (wrapper == nullptr)
    return E_OUTOFMEMORY;
  DWORD value = 0;
  const HRESULT hr = As<IConnectionPoint>(o)->Advise(wrapper, &value);
  wrapper->Release();  // the connection point holds it while advised
  *cookie = value;
  return hr;
}

Hr PointUnadvise(Object o, uint32_t cookie) {
  return As<IConnectionPoint>(o)->Unadvise(cookie);
}

Hr ShutdownRequest(Object o, const std::string& reason) {
  return As<IOPCShutdown>(o)->ShutdownRequest(Wide(reason).c_str());
}

// ---- IOPCItemProperties ----

Hr PropertiesQueryAvailable(Object o, const std::string& itemId, std::vector<uint32_t>* ids,
                            std::vector<std::string>* descriptions, std::vector<uint16_t>* types) {
  std::wstring wide = Wide(itemId);
  DWORD count = 0;
  DWORD* propertyIds = nullptr;
  LPWSTR* texts = nullptr;
  VARTYPE* vts = nullptr;
  const HRESULT hr = As<IOPCItemProperties>(o)->QueryAvailableProperties(
      wide.data(), &count, &propertyIds, &texts, &vts);
  ids->clear();
  descriptions->clear();
  types->clear();
  for (DWORD i = 0; i < count; ++i) {
    if (propertyIds != nullptr)
      ids->push_back(propertyIds[i]);
    if (texts != nullptr)
      descriptions->push_back(TakeTaskMemString(texts[i]));
    if (vts != nullptr)
      types->push_back(vts[i]);
  }
  CoTaskMemFree(propertyIds);
  CoTaskMemFree(texts);
  CoTaskMemFree(vts);
  return hr;
}

Hr PropertiesGet(Object o, const std::string& itemId, const std::vector<uint32_t>& ids,
                 std::vector<Value>* data, std::vector<Hr>* errors) {
  std::wstring wide = Wide(itemId);
  std::vector<DWORD> propertyIds(ids.begin(), ids.end());
  VARIANT* values = nullptr;
  HRESULT* codes = nullptr;
  const HRESULT hr = As<IOPCItemProperties>(o)->GetItemProperties(
      wide.data(), static_cast<DWORD>(propertyIds.size()), propertyIds.data(), &values, &codes);
  data->clear();
  if (values != nullptr) {
    for (size_t i = 0; i < ids.size(); ++i) {
      data->push_back(FromVariant(values[i]));
      VariantClear(&values[i]);
    }
    CoTaskMemFree(values);
  }
  TakeErrors(codes, ids.size(), errors);
  return hr;
}

Hr PropertiesLookupItemIDs(Object o, const std::string& itemId, const std::vector<uint32_t>& ids,
                           std::vector<std::string>* newIds, std::vector<Hr>* errors) {
  std::wstring wide = Wide(itemId);
  std::vector<DWORD> propertyIds(ids.begin(), ids.end());
  LPWSTR* texts = nullptr;
  HRESULT* codes = nullptr;
  const HRESULT hr = As<IOPCItemProperties>(o)->LookupItemIDs(
      wide.data(), static_cast<DWORD>(propertyIds.size()), propertyIds.data(), &texts, &codes);
  newIds->clear();
  if (texts != nullptr) {
    for (size_t i = 0; i < ids.size(); ++i)
      newIds->push_back(texts[i] != nullptr ? TakeTaskMemString(texts[i]) : std::string());
    CoTaskMemFree(texts);
  }
  TakeErrors(codes, ids.size(), errors);
  return hr;
}

// ---- IOPCBrowseServerAddressSpace ----

Hr BrowseQueryOrganization(Object o, uint32_t* organization) {
  OPCNAMESPACETYPE type = OPC_NS_HIERARCHIAL;
  const HRESULT hr = As<IOPCBrowseServerAddressSpace>(o)->QueryOrganization(&type);
  *organization = type;
  return hr;
}

Hr BrowseChangePosition(Object o, uint32_t direction, const std::string& name) {
  return As<IOPCBrowseServerAddressSpace>(o)->ChangeBrowsePosition(
      static_cast<OPCBROWSEDIRECTION>(direction), Wide(name).c_str());
}

Hr BrowseItemIDs(Object o, uint32_t type, const std::string& filter, uint16_t dataType,
                 uint32_t rights, Object* strings) {
  IEnumString* enumerator = nullptr;
  const HRESULT hr = As<IOPCBrowseServerAddressSpace>(o)->BrowseOPCItemIDs(
      static_cast<OPCBROWSETYPE>(type), Wide(filter).c_str(), dataType, rights, &enumerator);
  *strings = enumerator;
  return hr;
}

Hr BrowseGetItemID(Object o, const std::string& name, std::string* itemId) {
  std::wstring wide = Wide(name);
  LPWSTR result = nullptr;
  const HRESULT hr = As<IOPCBrowseServerAddressSpace>(o)->GetItemID(wide.data(), &result);
  if (result != nullptr)
    *itemId = TakeTaskMemString(result);
  return hr;
}

Hr BrowseAccessPaths(Object o, const std::string& itemId, Object* strings) {
  IEnumString* enumerator = nullptr;
  const HRESULT hr =
      As<IOPCBrowseServerAddressSpace>(o)->BrowseAccessPaths(Wide(itemId).c_str(), &enumerator);
  *strings = enumerator;
  return hr;
}

// ---- IOPCServerPublicGroups ----

Hr PublicGroupsGetByName(Object o, const std::string& name, const Guid& iid, Object* group) {
  IUnknown* unknown = nullptr;
  const HRESULT hr = As<IOPCServerPublicGroups>(o)->GetPublicGroupByName(Wide(name).c_str(),
                                                                         ToGuid(iid), &unknown);
  *group = unknown;
  return hr;
}

Hr PublicGroupsRemove(Object o, uint32_t serverGroup, int32_t force) {
  return As<IOPCServerPublicGroups>(o)->RemovePublicGroup(serverGroup, force);
}

// ---- IPersistFile ----

Hr PersistGetClassID(Object o, Guid* clsid) {
  CLSID id;
  const HRESULT hr = As<IPersistFile>(o)->GetClassID(&id);
  if (SUCCEEDED(hr))
    *clsid = FromGuid(id);
  return hr;
}

Hr PersistIsDirty(Object o) {
  return As<IPersistFile>(o)->IsDirty();
}

Hr PersistLoad(Object o, const std::string& file, uint32_t mode) {
  return As<IPersistFile>(o)->Load(Wide(file).c_str(), mode);
}

Hr PersistSave(Object o, const std::string& file, int32_t remember) {
  const std::wstring wide = Wide(file);
  return As<IPersistFile>(o)->Save(file.empty() ? nullptr : wide.c_str(), remember);
}

Hr PersistSaveCompleted(Object o, const std::string& file) {
  return As<IPersistFile>(o)->SaveCompleted(Wide(file).c_str());
}

Hr PersistGetCurFile(Object o, std::string* file) {
  LPOLESTR name = nullptr;
  const HRESULT hr = As<IPersistFile>(o)->GetCurFile(&name);
  if (name != nullptr)
    *file = TakeTaskMemString(name);
  return hr;
}

// ---- IOPCGroupStateMgt, IOPCPublicGroupStateMgt ----

Hr GroupGetState(Object o, GroupState* state) {
  DWORD rate = 0;
  BOOL active = FALSE;
  LPWSTR name = nullptr;
  LONG bias = 0;
  FLOAT band = 0.0f;
  DWORD lcid = 0;
  OPCHANDLE client = 0;
  OPCHANDLE server = 0;
  const HRESULT hr = As<IOPCGroupStateMgt>(o)->GetState(&rate, &active, &name, &bias, &band, &lcid,
                                                        &client, &server);
  if (SUCCEEDED(hr)) {
    state->updateRate = rate;
    state->active = active;
    state->name = name != nullptr ? TakeTaskMemString(name) : "";
    state->timeBias = bias;
    state->deadband = band;
    state->lcid = lcid;
    state->clientGroup = client;
    state->serverGroup = server;
  }
  return hr;
}

Hr GroupSetState(Object o, const uint32_t* rate, uint32_t* revisedRate, const int32_t* active,
                 const int32_t* timeBias, const float* deadband, const uint32_t* lcid,
                 const uint32_t* clientGroup) {
  DWORD requested = rate != nullptr ? *rate : 0;
  BOOL isActive = active != nullptr ? *active : FALSE;
  LONG bias = timeBias != nullptr ? *timeBias : 0;
  FLOAT band = deadband != nullptr ? *deadband : 0.0f;
  DWORD locale = lcid != nullptr ? *lcid : 0;
  OPCHANDLE client = clientGroup != nullptr ? *clientGroup : 0;
  DWORD revised = 0;
  const HRESULT hr = As<IOPCGroupStateMgt>(o)->SetState(
      rate != nullptr ? &requested : nullptr, &revised, active != nullptr ? &isActive : nullptr,
      timeBias != nullptr ? &bias : nullptr, deadband != nullptr ? &band : nullptr,
      lcid != nullptr ? &locale : nullptr, clientGroup != nullptr ? &client : nullptr);
  if (revisedRate != nullptr)
    *revisedRate = revised;
  return hr;
}

Hr GroupSetName(Object o, const std::string& name) {
  return As<IOPCGroupStateMgt>(o)->SetName(Wide(name).c_str());
}

Hr GroupClone(Object o, const std::string& name, const Guid& iid, Object* group) {
  IUnknown* unknown = nullptr;
  const HRESULT hr =
      As<IOPCGroupStateMgt>(o)->CloneGroup(Wide(name).c_str(), ToGuid(iid), &unknown);
  *group = unknown;
  return hr;
}

Hr PublicGroupGetState(Object o, int32_t* isPublic) {
  BOOL value = FALSE;
  const HRESULT hr = As<IOPCPublicGroupStateMgt>(o)->GetState(&value);
  *isPublic = value;
  return hr;
}

Hr PublicGroupMoveToPublic(Object o) {
  return As<IOPCPublicGroupStateMgt>(o)->MoveToPublic();
}

// ---- IOPCItemMgt ----

Hr ItemsAdd(Object o, const std::vector<ItemDef>& defs, std::vector<ItemResult>* results,
            std::vector<Hr>* errors) {
  std::vector<std::wstring> keep;
  std::vector<OPCITEMDEF> items = ToItemDefs(defs, keep);
  OPCITEMRESULT* added = nullptr;
  HRESULT* codes = nullptr;
  const HRESULT hr =
      As<IOPCItemMgt>(o)->AddItems(static_cast<DWORD>(items.size()), items.data(), &added, &codes);
  TakeItemResults(added, items.size(), results);
  TakeErrors(codes, items.size(), errors);
  return hr;
}

Hr ItemsValidate(Object o, const std::vector<ItemDef>& defs, int32_t blobUpdate,
                 std::vector<ItemResult>* results, std::vector<Hr>* errors) {
  std::vector<std::wstring> keep;
  std::vector<OPCITEMDEF> items = ToItemDefs(defs, keep);
  OPCITEMRESULT* validated = nullptr;
  HRESULT* codes = nullptr;
  const HRESULT hr = As<IOPCItemMgt>(o)->ValidateItems(
      static_cast<DWORD>(items.size()), items.data(), blobUpdate, &validated, &codes);
  TakeItemResults(validated, items.size(), results);
  TakeErrors(codes, items.size(), errors);
  return hr;
}

Hr ItemsRemove(Object o, const std::vector<uint32_t>& handles, std::vector<Hr>* errors) {
  std::vector<OPCHANDLE> items(handles.begin(), handles.end());
  HRESULT* codes = nullptr;
  const HRESULT hr =
      As<IOPCItemMgt>(o)->RemoveItems(static_cast<DWORD>(items.size()), items.data(), &codes);
  TakeErrors(codes, items.size(), errors);
  return hr;
}

Hr ItemsSetActiveState(Object o, const std::vector<uint32_t>& handles, int32_t active,
                       std::vector<Hr>* errors) {
  std::vector<OPCHANDLE> items(handles.begin(), handles.end());
  HRESULT* codes = nullptr;
  const HRESULT hr = As<IOPCItemMgt>(o)->SetActiveState(static_cast<DWORD>(items.size()),
                                                        items.data(), active, &codes);
  TakeErrors(codes, items.size(), errors);
  return hr;
}

Hr ItemsSetClientHandles(Object o, const std::vector<uint32_t>& handles,
                         const std::vector<uint32_t>& clients, std::vector<Hr>* errors) {
  std::vector<OPCHANDLE> items(handles.begin(), handles.end());
  std::vector<OPCHANDLE> clientHandles(clients.begin(), clients.end());
  HRESULT* codes = nullptr;
  const HRESULT hr = As<IOPCItemMgt>(o)->SetClientHandles(
      static_cast<DWORD>(items.size()), items.data(), clientHandles.data(), &codes);
  TakeErrors(codes, items.size(), errors);
  return hr;
}

Hr ItemsSetDatatypes(Object o, const std::vector<uint32_t>& handles,
                     const std::vector<uint16_t>& types, std::vector<Hr>* errors) {
  std::vector<OPCHANDLE> items(handles.begin(), handles.end());
  std::vector<VARTYPE> vts(types.begin(), types.end());
  HRESULT* codes = nullptr;
  const HRESULT hr = As<IOPCItemMgt>(o)->SetDatatypes(static_cast<DWORD>(items.size()),
                                                      items.data(), vts.data(), &codes);
  TakeErrors(codes, items.size(), errors);
  return hr;
}

// ---- IOPCSyncIO ----

Hr SyncRead(Object o, uint32_t source, const std::vector<uint32_t>& handles,
            std::vector<ItemState>* states, std::vector<Hr>* errors) {
  std::vector<OPCHANDLE> items(handles.begin(), handles.end());
  OPCITEMSTATE* values = nullptr;
  HRESULT* codes = nullptr;
  const HRESULT hr =
      As<IOPCSyncIO>(o)->Read(static_cast<OPCDATASOURCE>(source), static_cast<DWORD>(items.size()),
                              items.data(), &values, &codes);
  states->clear();
  if (values != nullptr) {
    for (size_t i = 0; i < items.size(); ++i) {
      ItemState state;
      state.client = values[i].hClient;
      state.timeStamp = FromFileTime(values[i].ftTimeStamp);
      state.quality = values[i].wQuality;
      state.value = FromVariant(values[i].vDataValue);
      VariantClear(&values[i].vDataValue);
      states->push_back(std::move(state));
    }
    CoTaskMemFree(values);
  }
  TakeErrors(codes, items.size(), errors);
  return hr;
}

Hr SyncWrite(Object o, const std::vector<uint32_t>& handles, const std::vector<Value>& values,
             std::vector<Hr>* errors) {
  std::vector<OPCHANDLE> items(handles.begin(), handles.end());
  std::vector<VARIANT> variants = ToVariants(values);
  HRESULT* codes = nullptr;
  const HRESULT hr = As<IOPCSyncIO>(o)->Write(static_cast<DWORD>(items.size()), items.data(),
                                              variants.data(), &codes);
  ClearVariants(variants);
  TakeErrors(codes, items.size(), errors);
  return hr;
}

// ---- IOPCAsyncIO2 ----

Hr Async2Read(Object o, const std::vector<uint32_t>& handles, uint32_t transaction,
              uint32_t* cancelId, std::vector<Hr>* errors) {
  std::vector<OPCHANDLE> items(handles.begin(), handles.end());
  DWORD cancel = 0;
  HRESULT* codes = nullptr;
  const HRESULT hr = As<IOPCAsyncIO2>(o)->Read(static_cast<DWORD>(items.size()), items.data(),
                                               transaction, &cancel, &codes);
  *cancelId = cancel;
  TakeErrors(codes, items.size(), errors);
  return hr;
}

Hr Async2Refresh(Object o, uint32_t source, uint32_t transaction, uint32_t* cancelId) {
  DWORD cancel = 0;
  const HRESULT hr =
      As<IOPCAsyncIO2>(o)->Refresh2(static_cast<OPCDATASOURCE>(source), transaction, &cancel);
  *cancelId = cancel;
  return hr;
}

Hr Async2Cancel(Object o, uint32_t cancelId) {
  return As<IOPCAsyncIO2>(o)->Cancel2(cancelId);
}

Hr Async2SetEnable(Object o, int32_t enable) {
  return As<IOPCAsyncIO2>(o)->SetEnable(enable);
}

Hr Async2GetEnable(Object o, int32_t* enable) {
  BOOL value = FALSE;
  const HRESULT hr = As<IOPCAsyncIO2>(o)->GetEnable(&value);
  *enable = value;
  return hr;
}

// ---- IEnumString, IEnumGUID ----

Hr StringsNext(Object o, uint32_t count, std::vector<std::string>* strings) {
  std::vector<LPOLESTR> fetched(count, nullptr);
  ULONG got = 0;
  const HRESULT hr = As<IEnumString>(o)->Next(count, fetched.data(), &got);
  strings->clear();
  for (ULONG i = 0; i < got && i < count; ++i)
    strings->push_back(TakeTaskMemString(fetched[i]));
  return hr;
}

Hr StringsSkip(Object o, uint32_t count) {
  return As<IEnumString>(o)->Skip(count);
}

Hr StringsReset(Object o) {
  return As<IEnumString>(o)->Reset();
}

Hr StringsClone(Object o, Object* clone) {
  IEnumString* copy = nullptr;
  const HRESULT hr = As<IEnumString>(o)->Clone(&copy);
  *clone = copy;
  return hr;
}

Hr GuidsNext(Object o, uint32_t count, std::vector<Guid>* guids) {
  std::vector<GUID> fetched(count);
  ULONG got = 0;
  const HRESULT hr = As<IEnumGUID>(o)->Next(count, fetched.data(), &got);
  guids->clear();
  for (ULONG i = 0; i < got && i < count; ++i)
    guids->push_back(FromGuid(fetched[i]));
  return hr;
}

Hr GuidsSkip(Object o, uint32_t count) {
  return As<IEnumGUID>(o)->Skip(count);
}

Hr GuidsReset(Object o) {
  return As<IEnumGUID>(o)->Reset();
}

Hr GuidsClone(Object o, Object* clone) {
  IEnumGUID* copy = nullptr;
  const HRESULT hr = As<IEnumGUID>(o)->Clone(&copy);
  *clone = copy;
  return hr;
}

// ---- IOPCServerList ----

Hr ServerListEnumClasses(Object o, const std::vector<Guid>& implemented,
                         const std::vector<Guid>& required, Object* guids) {
  std::vector<GUID> impl = ToGuids(implemented);
  std::vector<GUID> req = ToGuids(required);
  IEnumGUID* enumerator = nullptr;
  const HRESULT hr = As<IOPCServerList>(o)->EnumClassesOfCategories(
      static_cast<ULONG>(impl.size()), impl.data(), static_cast<ULONG>(req.size()), req.data(),
      &enumerator);
  *guids = enumerator;
  return hr;
}

Hr ServerListGetClassDetails(Object o, const Guid& clsid, std::string* progId,
                             std::string* userType) {
  LPOLESTR prog = nullptr;
  LPOLESTR user = nullptr;
  const HRESULT hr = As<IOPCServerList>(o)->GetClassDetails(ToGuid(clsid), &prog, &user);
  *progId = prog != nullptr ? TakeTaskMemString(prog) : "";
  *userType = user != nullptr ? TakeTaskMemString(user) : "";
  return hr;
}

Hr ServerListClsidFromProgId(Object o, const std::string& progId, Guid* clsid) {
  CLSID id = GUID_NULL;
  const HRESULT hr = As<IOPCServerList>(o)->CLSIDFromProgID(Wide(progId).c_str(), &id);
  *clsid = FromGuid(id);
  return hr;
}

// ---- ICatInformation ----

Hr CatEnumClasses(Object o, const std::vector<Guid>& implemented, const std::vector<Guid>& required,
                  Object* guids) {
  std::vector<GUID> impl = ToGuids(implemented);
  std::vector<GUID> req = ToGuids(required);
  IEnumGUID* enumerator = nullptr;
  // ULONG(-1) is the system's "any category"; the layer says 0 for it.
  const HRESULT hr = As<ICatInformation>(o)->EnumClassesOfCategories(
      impl.empty() ? static_cast<ULONG>(-1) : static_cast<ULONG>(impl.size()),
      impl.empty() ? nullptr : impl.data(), static_cast<ULONG>(req.size()),
      req.empty() ? nullptr : req.data(), &enumerator);
  *guids = enumerator;
  return hr;
}

Hr CatIsClassOf(Object o, const Guid& clsid, const std::vector<Guid>& implemented,
                const std::vector<Guid>& required) {
  std::vector<GUID> impl = ToGuids(implemented);
  std::vector<GUID> req = ToGuids(required);
  return As<ICatInformation>(o)->IsClassOfCategories(
      ToGuid(clsid), impl.empty() ? static_cast<ULONG>(-1) : static_cast<ULONG>(impl.size()),
      impl.empty() ? nullptr : impl.data(), static_cast<ULONG>(req.size()),
      req.empty() ? nullptr : req.data());
}

Hr CatGetCategoryDesc(Object o, const Guid& catid, uint32_t lcid, std::string* text) {
  GUID id = ToGuid(catid);
  LPWSTR description = nullptr;
  const HRESULT hr = As<ICatInformation>(o)->GetCategoryDesc(id, lcid, &description);
  if (description != nullptr)
    *text = TakeTaskMemString(description);
  return hr;
}

Hr CatEnumImplCategoriesOfClass(Object o, const Guid& clsid, Object* guids) {
  IEnumGUID* enumerator = nullptr;
  const HRESULT hr = As<ICatInformation>(o)->EnumImplCategoriesOfClass(ToGuid(clsid), &enumerator);
  *guids = enumerator;
  return hr;
}

Hr CatEnumReqCategoriesOfClass(Object o, const Guid& clsid, Object* guids) {
  IEnumGUID* enumerator = nullptr;
  const HRESULT hr = As<ICatInformation>(o)->EnumReqCategoriesOfClass(ToGuid(clsid), &enumerator);
  *guids = enumerator;
  return hr;
}

// ---- IClassFactory ----

Hr FactoryCreateInstance(Object o, const Guid& iid, Object* out) {
  return As<IClassFactory>(o)->CreateInstance(nullptr, ToGuid(iid), out);
}

Hr FactoryLockServer(Object o, int32_t lock) {
  return As<IClassFactory>(o)->LockServer(lock);
}

}  // namespace winbridge::real
