// Layer side: every bridge call made on a layer interface pointer (the simulation
// server's objects behind velmora-simserver.exe, and the client's shutdown sink).
#include "platform/com/category.h"
#include "platform/com/com_ptr.h"
#include "platform/opc/opc_enum.h"
#include "platform/opc/opc_interfaces.h"
#include "platform/win/win_layer_convert.h"

namespace winbridge::layer {

namespace {

template <class T>
T* As(Object o) {
  return static_cast<T*>(o);
}

// A client's real IOPCShutdown (a proxy into the client process) as a layer sink.
class CLayerShutdownSink : public CComObjectRoot<IOPCShutdown> {
 public:
  explicit CLayerShutdownSink(Object realSink) : m_pRealSink(realSink) {
    real::AddRef(m_pRealSink);
  }
  HRESULT ShutdownRequest(const std::string& szReason) override {
    return Guarded([&] { return real::ShutdownRequest(m_pRealSink, szReason); });
  }

 private:
  ~CLayerShutdownSink() override { real::Release(m_pRealSink); }
  Object m_pRealSink;
};

Object Out(IUnknown* unknown) {
  return unknown;
}

std::vector<Hr> Codes(const std::vector<HRESULT>& codes) {
  return std::vector<Hr>(codes.begin(), codes.end());
}

std::vector<OPCITEMDEF> Defs(const std::vector<ItemDef>& defs) {
  std::vector<OPCITEMDEF> result;
  for (const ItemDef& def : defs)
    result.push_back(FromBridge(def));
  return result;
}

void Results(const std::vector<OPCITEMRESULT>& results, std::vector<ItemResult>* out) {
  out->clear();
  for (const OPCITEMRESULT& result : results)
    out->push_back(ToBridge(result));
}

std::vector<GUID> Guids(const std::vector<Guid>& guids) {
  std::vector<GUID> result;
  for (const Guid& guid : guids)
    result.push_back(FromBridge(guid));
  return result;
}

}  // namespace

void AddRef(Object o) {
  As<IUnknown>(o)->AddRef();
}

void Release(Object o) {
  As<IUnknown>(o)->Release();
}

Hr QueryInterface(Object o, const Guid& iid, Object* out) {
  return As<IUnknown>(o)->QueryInterface(FromBridge(iid), out);
}

Hr ServerAddGroup(Object o, const std::string& name, int32_t active, uint32_t requestedRate,
                  uint32_t clientGroup, const int32_t* timeBias, const float* deadband,
                  uint32_t lcid, uint32_t* serverGroup, uint32_t* revisedRate, const Guid& iid,
                  Object* group) {
  IUnknown* unknown = nullptr;
  OPCHANDLE handle = 0;
  DWORD revised = 0;
  const HRESULT hr =
      As<IOPCServer>(o)->AddGroup(name, active, requestedRate, clientGroup, timeBias, deadband,
                                  lcid, &handle, &revised, FromBridge(iid), &unknown);
  *serverGroup = handle;
  *revisedRate = revised;
  *group = Out(unknown);
  return hr;
}

Hr ServerGetErrorString(Object o, Hr code, uint32_t lcid, std::string* text) {
  return As<IOPCServer>(o)->GetErrorString(code, lcid, text);
}

Hr ServerGetGroupByName(Object o, const std::string& name, const Guid& iid, Object* group) {
  IUnknown* unknown = nullptr;
  const HRESULT hr = As<IOPCServer>(o)->GetGroupByName(name, FromBridge(iid), &unknown);
  *group = Out(unknown);
  return hr;
}

Hr ServerGetStatus(Object o, ServerStatus* status) {
  OPCSERVERSTATUS result;
  const HRESULT hr = As<IOPCServer>(o)->GetStatus(&result);
  if (SUCCEEDED(hr))
    *status = ToBridge(result);
  return hr;
}

Hr ServerRemoveGroup(Object o, uint32_t serverGroup, int32_t force) {
  return As<IOPCServer>(o)->RemoveGroup(serverGroup, force);
}

Hr ServerCreateGroupEnumerator(Object o, uint32_t scope, const Guid& iid, Object* enumerator) {
  IUnknown* unknown = nullptr;
  const HRESULT hr = As<IOPCServer>(o)->CreateGroupEnumerator(static_cast<OPCENUMSCOPE>(scope),
                                                              FromBridge(iid), &unknown);
  *enumerator = Out(unknown);
  return hr;
}

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
  std::vector<LCID> values;
  const HRESULT hr = As<IOPCCommon>(o)->QueryAvailableLocaleIDs(&values);
  lcids->assign(values.begin(), values.end());
  return hr;
}

Hr CommonGetErrorString(Object o, Hr code, std::string* text) {
  return As<IOPCCommon>(o)->GetErrorString(code, text);
}

Hr CommonSetClientName(Object o, const std::string& name) {
  return As<IOPCCommon>(o)->SetClientName(name);
}

Hr ContainerFindConnectionPoint(Object o, const Guid& iid, Object* point) {
  IConnectionPoint* found = nullptr;
  const HRESULT hr = As<IConnectionPointContainer>(o)->FindConnectionPoint(FromBridge(iid), &found);
  *point = Out(found);
  return hr;
}

Hr PointGetConnectionInterface(Object o, Guid* iid) {
  IID id;
  const HRESULT hr = As<IConnectionPoint>(o)->GetConnectionInterface(&id);
  if (SUCCEEDED(hr))
    *iid = ToBridge(id);
  return hr;
}

Hr PointAdvise(Object o, Object sink, uint32_t* cookie) {
  ComPtr<IOPCShutdown> wrapper(new CLayerShutdownSink(sink));
  DWORD value = 0;
  const HRESULT hr = As<IConnectionPoint>(o)->Advise(wrapper.Get(), &value);
  *cookie = value;
  return hr;
}

Hr PointUnadvise(Object o, uint32_t cookie) {
  return As<IConnectionPoint>(o)->Unadvise(cookie);
}

Hr ShutdownRequest(Object o, const std::string& reason) {
  return As<IOPCShutdown>(o)->ShutdownRequest(reason);
}

Hr PropertiesQueryAvailable(Object o, const std::string& itemId, std::vector<uint32_t>* ids,
                            std::vector<std::string>* descriptions, std::vector<uint16_t>* types) {
  std::vector<DWORD> propertyIds;
  std::vector<VARTYPE> vts;
  const HRESULT hr =
      As<IOPCItemProperties>(o)->QueryAvailableProperties(itemId, &propertyIds, descriptions, &vts);
  ids->assign(propertyIds.begin(), propertyIds.end());
  types->assign(vts.begin(), vts.end());
  return hr;
}

Hr PropertiesGet(Object o, const std::string& itemId, const std::vector<uint32_t>& ids,
                 std::vector<Value>* data, std::vector<Hr>* errors) {
  std::vector<DWORD> propertyIds(ids.begin(), ids.end());
  std::vector<VARIANT> values;
  std::vector<HRESULT> codes;
  const HRESULT hr = As<IOPCItemProperties>(o)->GetItemProperties(
      itemId, static_cast<DWORD>(propertyIds.size()), propertyIds.data(), &values, &codes);
  data->clear();
  for (const VARIANT& value : values)
    data->push_back(ToBridge(value));
  *errors = Codes(codes);
  return hr;
}

Hr PropertiesLookupItemIDs(Object o, const std::string& itemId, const std::vector<uint32_t>& ids,
                           std::vector<std::string>* newIds, std::vector<Hr>* errors) {
  std::vector<DWORD> propertyIds(ids.begin(), ids.end());
  std::vector<HRESULT> codes;
  const HRESULT hr = As<IOPCItemProperties>(o)->LookupItemIDs(
      itemId, static_cast<DWORD>(propertyIds.size()), propertyIds.data(), newIds, &codes);
  *errors = Codes(codes);
  return hr;
}

Hr BrowseQueryOrganization(Object o, uint32_t* organization) {
  OPCNAMESPACETYPE type = OPC_NS_HIERARCHIAL;
  const HRESULT hr = As<IOPCBrowseServerAddressSpace>(o)->QueryOrganization(&type);
  *organization = type;
  return hr;
}

Hr BrowseChangePosition(Object o, uint32_t direction, const std::string& name) {
  return As<IOPCBrowseServerAddressSpace>(o)->ChangeBrowsePosition(
      static_cast<OPCBROWSEDIRECTION>(direction), name);
}

Hr BrowseItemIDs(Object o, uint32_t type, const std::string& filter, uint16_t dataType,
                 uint32_t rights, Object* strings) {
  IEnumString* enumerator = nullptr;
  const HRESULT hr = As<IOPCBrowseServerAddressSpace>(o)->BrowseOPCItemIDs(
      static_cast<OPCBROWSETYPE>(type), filter, dataType, rights, &enumerator);
  *strings = Out(enumerator);
  return hr;
}

Hr BrowseGetItemID(Object o, const std::string& name, std::string* itemId) {
  return As<IOPCBrowseServerAddressSpace>(o)->GetItemID(name, itemId);
}

Hr BrowseAccessPaths(Object o, const std::string& itemId, Object* strings) {
  IEnumString* enumerator = nullptr;
  const HRESULT hr = As<IOPCBrowseServerAddressSpace>(o)->BrowseAccessPaths(itemId, &enumerator);
  *strings = Out(enumerator);
  return hr;
}

Hr PublicGroupsGetByName(Object o, const std::string& name, const Guid& iid, Object* group) {
  IUnknown* unknown = nullptr;
  const HRESULT hr =
      As<IOPCServerPublicGroups>(o)->GetPublicGroupByName(name, FromBridge(iid), &unknown);
  *group = Out(unknown);
  return hr;
}

Hr PublicGroupsRemove(Object o, uint32_t serverGroup, int32_t force) {
  return As<IOPCServerPublicGroups>(o)->RemovePublicGroup(serverGroup, force);
}

Hr PersistGetClassID(Object o, Guid* clsid) {
  CLSID id;
  const HRESULT hr = As<IPersistFile>(o)->GetClassID(&id);
  if (SUCCEEDED(hr))
    *clsid = ToBridge(id);
  return hr;
}

Hr PersistIsDirty(Object o) {
  return As<IPersistFile>(o)->IsDirty();
}

Hr PersistLoad(Object o, const std::string& file, uint32_t mode) {
  return As<IPersistFile>(o)->Load(file, mode);
}

Hr PersistSave(Object o, const std::string& file, int32_t remember) {
  return As<IPersistFile>(o)->Save(file, remember);
}

Hr PersistSaveCompleted(Object o, const std::string& file) {
  return As<IPersistFile>(o)->SaveCompleted(file);
}

Hr PersistGetCurFile(Object o, std::string* file) {
  return As<IPersistFile>(o)->GetCurFile(file);
}

Hr GroupGetState(Object o, GroupState* state) {
  DWORD rate = 0;
  BOOL active = FALSE;
  LONG bias = 0;
  FLOAT band = 0.0f;
  LCID lcid = 0;
  OPCHANDLE client = 0;
  OPCHANDLE server = 0;
  const HRESULT hr = As<IOPCGroupStateMgt>(o)->GetState(&rate, &active, &state->name, &bias, &band,
                                                        &lcid, &client, &server);
  state->updateRate = rate;
  state->active = active;
  state->timeBias = bias;
  state->deadband = band;
  state->lcid = lcid;
  state->clientGroup = client;
  state->serverGroup = server;
  return hr;
}

Hr GroupSetState(Object o, const uint32_t* rate, uint32_t* revisedRate, const int32_t* active,
                 const int32_t* timeBias, const float* deadband, const uint32_t* lcid,
                 const uint32_t* clientGroup) {
  DWORD revised = 0;
  const HRESULT hr = As<IOPCGroupStateMgt>(o)->SetState(rate, &revised, active, timeBias, deadband,
                                                        lcid, clientGroup);
  if (revisedRate != nullptr)
    *revisedRate = revised;
  return hr;
}

Hr GroupSetName(Object o, const std::string& name) {
  return As<IOPCGroupStateMgt>(o)->SetName(name);
}

Hr GroupClone(Object o, const std::string& name, const Guid& iid, Object* group) {
  IUnknown* unknown = nullptr;
  const HRESULT hr = As<IOPCGroupStateMgt>(o)->CloneGroup(name, FromBridge(iid), &unknown);
  *group = Out(unknown);
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

Hr ItemsAdd(Object o, const std::vector<ItemDef>& defs, std::vector<ItemResult>* results,
            std::vector<Hr>* errors) {
  const std::vector<OPCITEMDEF> items = Defs(defs);
  std::vector<OPCITEMRESULT> added;
  std::vector<HRESULT> codes;
  const HRESULT hr =
      As<IOPCItemMgt>(o)->AddItems(static_cast<DWORD>(items.size()), items.data(), &added, &codes);
  Results(added, results);
  *errors = Codes(codes);
  return hr;
}

Hr ItemsValidate(Object o, const std::vector<ItemDef>& defs, int32_t blobUpdate,
                 std::vector<ItemResult>* results, std::vector<Hr>* errors) {
  const std::vector<OPCITEMDEF> items = Defs(defs);
  std::vector<OPCITEMRESULT> validated;
  std::vector<HRESULT> codes;
  const HRESULT hr = As<IOPCItemMgt>(o)->ValidateItems(
      static_cast<DWORD>(items.size()), items.data(), blobUpdate, &validated, &codes);
  Results(validated, results);
  *errors = Codes(codes);
  return hr;
}

Hr ItemsRemove(Object o, const std::vector<uint32_t>& handles, std::vector<Hr>* errors) {
  std::vector<HRESULT> codes;
  const HRESULT hr =
      As<IOPCItemMgt>(o)->RemoveItems(static_cast<DWORD>(handles.size()), handles.data(), &codes);
  *errors = Codes(codes);
  return hr;
}

Hr ItemsSetActiveState(Object o, const std::vector<uint32_t>& handles, int32_t active,
                       std::vector<Hr>* errors) {
  std::vector<HRESULT> codes;
  const HRESULT hr = As<IOPCItemMgt>(o)->SetActiveState(static_cast<DWORD>(handles.size()),
                                                        handles.data(), active, &codes);
  *errors = Codes(codes);
  return hr;
}

Hr ItemsSetClientHandles(Object o, const std::vector<uint32_t>& handles,
                         const std::vector<uint32_t>& clients, std::vector<Hr>* errors) {
  if (clients.size() < handles.size())
    return E_INVALIDARG;
  std::vector<HRESULT> codes;
  const HRESULT hr = As<IOPCItemMgt>(o)->SetClientHandles(static_cast<DWORD>(handles.size()),
                                                          handles.data(), clients.data(), &codes);
  *errors = Codes(codes);
  return hr;
}

Hr ItemsSetDatatypes(Object o, const std::vector<uint32_t>& handles,
                     const std::vector<uint16_t>& types, std::vector<Hr>* errors) {
  if (types.size() < handles.size())
    return E_INVALIDARG;
  std::vector<HRESULT> codes;
  const HRESULT hr = As<IOPCItemMgt>(o)->SetDatatypes(static_cast<DWORD>(handles.size()),
                                                      handles.data(), types.data(), &codes);
  *errors = Codes(codes);
  return hr;
}

Hr SyncRead(Object o, uint32_t source, const std::vector<uint32_t>& handles,
            std::vector<ItemState>* states, std::vector<Hr>* errors) {
  std::vector<OPCITEMSTATE> values;
  std::vector<HRESULT> codes;
  const HRESULT hr =
      As<IOPCSyncIO>(o)->Read(static_cast<OPCDATASOURCE>(source),
                              static_cast<DWORD>(handles.size()), handles.data(), &values, &codes);
  states->clear();
  for (const OPCITEMSTATE& value : values)
    states->push_back(ToBridge(value));
  *errors = Codes(codes);
  return hr;
}

Hr SyncWrite(Object o, const std::vector<uint32_t>& handles, const std::vector<Value>& values,
             std::vector<Hr>* errors) {
  if (values.size() < handles.size())
    return E_INVALIDARG;
  std::vector<VARIANT> variants;
  for (const Value& value : values)
    variants.push_back(FromBridge(value));
  std::vector<HRESULT> codes;
  const HRESULT hr = As<IOPCSyncIO>(o)->Write(static_cast<DWORD>(handles.size()), handles.data(),
                                              variants.data(), &codes);
  *errors = Codes(codes);
  return hr;
}

Hr Async2Read(Object o, const std::vector<uint32_t>& handles, uint32_t transaction,
              uint32_t* cancelId, std::vector<Hr>* errors) {
  DWORD cancel = 0;
  std::vector<HRESULT> codes;
  const HRESULT hr = As<IOPCAsyncIO2>(o)->Read(static_cast<DWORD>(handles.size()), handles.data(),
                                               transaction, &cancel, &codes);
  *cancelId = cancel;
  *errors = Codes(codes);
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

Hr StringsNext(Object o, uint32_t count, std::vector<std::string>* strings) {
  std::vector<std::string> fetched(count);
  ULONG got = 0;
  const HRESULT hr = As<IEnumString>(o)->Next(count, fetched.data(), &got);
  fetched.resize(got);
  *strings = std::move(fetched);
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
  *clone = Out(copy);
  return hr;
}

Hr GuidsNext(Object o, uint32_t count, std::vector<Guid>* guids) {
  std::vector<GUID> fetched(count);
  ULONG got = 0;
  const HRESULT hr = As<IEnumGUID>(o)->Next(count, fetched.data(), &got);
  guids->clear();
  for (ULONG i = 0; i < got && i < count; ++i)
    guids->push_back(ToBridge(fetched[i]));
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
  *clone = Out(copy);
  return hr;
}

Hr ServerListEnumClasses(Object o, const std::vector<Guid>& implemented,
                         const std::vector<Guid>& required, Object* guids) {
  const std::vector<GUID> impl = Guids(implemented);
  const std::vector<GUID> req = Guids(required);
  IEnumGUID* enumerator = nullptr;
  const HRESULT hr = As<IOPCServerList>(o)->EnumClassesOfCategories(
      static_cast<ULONG>(impl.size()), impl.data(), static_cast<ULONG>(req.size()), req.data(),
      &enumerator);
  *guids = Out(enumerator);
  return hr;
}

Hr ServerListGetClassDetails(Object o, const Guid& clsid, std::string* progId,
                             std::string* userType) {
  return As<IOPCServerList>(o)->GetClassDetails(FromBridge(clsid), progId, userType);
}

Hr ServerListClsidFromProgId(Object o, const std::string& progId, Guid* clsid) {
  CLSID id;
  const HRESULT hr = As<IOPCServerList>(o)->CLSIDFromProgID(progId, &id);
  if (SUCCEEDED(hr))
    *clsid = ToBridge(id);
  return hr;
}

Hr CatEnumClasses(Object o, const std::vector<Guid>& implemented, const std::vector<Guid>& required,
                  Object* guids) {
  const std::vector<GUID> impl = Guids(implemented);
  const std::vector<GUID> req = Guids(required);
  IEnumGUID* enumerator = nullptr;
  const HRESULT hr = As<ICatInformation>(o)->EnumClassesOfCategories(
      static_cast<ULONG>(impl.size()), impl.data(), static_cast<ULONG>(req.size()), req.data(),
      &enumerator);
  *guids = Out(enumerator);
  return hr;
}

Hr CatIsClassOf(Object o, const Guid& clsid, const std::vector<Guid>& implemented,
                const std::vector<Guid>& required) {
  const std::vector<GUID> impl = Guids(implemented);
  const std::vector<GUID> req = Guids(required);
  return As<ICatInformation>(o)->IsClassOfCategories(FromBridge(clsid),
                                                     static_cast<ULONG>(impl.size()), impl.data(),
                                                     static_cast<ULONG>(req.size()), req.data());
}

Hr CatGetCategoryDesc(Object o, const Guid& catid, uint32_t lcid, std::string* text) {
  return As<ICatInformation>(o)->GetCategoryDesc(FromBridge(catid), lcid, text);
}

Hr CatEnumImplCategoriesOfClass(Object o, const Guid& clsid, Object* guids) {
  IEnumGUID* enumerator = nullptr;
  const HRESULT hr =
      As<ICatInformation>(o)->EnumImplCategoriesOfClass(FromBridge(clsid), &enumerator);
  *guids = Out(enumerator);
  return hr;
}

Hr CatEnumReqCategoriesOfClass(Object o, const Guid& clsid, Object* guids) {
  IEnumGUID* enumerator = nullptr;
  const HRESULT hr =
      As<ICatInformation>(o)->EnumReqCategoriesOfClass(FromBridge(clsid), &enumerator);
  *guids = Out(enumerator);
  return hr;
}

Hr FactoryCreateInstance(Object o, const Guid& iid, Object* out) {
  return As<IClassFactory>(o)->CreateInstance(nullptr, FromBridge(iid), out);
}

Hr FactoryLockServer(Object o, int32_t lock) {
  return As<IClassFactory>(o)->LockServer(lock);
}

}  // namespace winbridge::layer
