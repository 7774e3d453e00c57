// The "system" of the bridge on Linux: every winbridge::real call goes to the layer
// object it is given, so that the adapters, the conversions and the layer-side calls of
// the Windows backend run against the simulation servers, with the shutdown sink
// wrapped once on each side exactly as between two processes.
#include "platform/win/win_bridge.h"

namespace winbridge::real {

void AddRef(Object o) {
  layer::AddRef(o);
}

void Release(Object o) {
  layer::Release(o);
}

Hr QueryInterface(Object o, const Guid& iid, Object* out) {
  return layer::QueryInterface(o, iid, out);
}

Hr ServerAddGroup(Object o, const std::string& name, int32_t active, uint32_t requestedRate,
                  uint32_t clientGroup, const int32_t* timeBias, const float* deadband,
                  uint32_t lcid, uint32_t* serverGroup, uint32_t* revisedRate, const Guid& iid,
                  Object* group) {
  return layer::ServerAddGroup(o, name, active, requestedRate, clientGroup, timeBias, deadband,
                               lcid, serverGroup, revisedRate, iid, group);
}

Hr ServerGetErrorString(Object o, Hr code, uint32_t lcid, std::string* text) {
  return layer::ServerGetErrorString(o, code, lcid, text);
}

Hr ServerGetGroupByName(Object o, const std::string& name, const Guid& iid, Object* group) {
  return layer::ServerGetGroupByName(o, name, iid, group);
}

Hr ServerGetStatus(Object o, ServerStatus* status) {
  return layer::ServerGetStatus(o, status);
}

Hr ServerRemoveGroup(Object o, uint32_t serverGroup, int32_t force) {
  return layer::ServerRemoveGroup(o, serverGroup, force);
}

Hr ServerCreateGroupEnumerator(Object o, uint32_t scope, const Guid& iid, Object* enumerator) {
  return layer::ServerCreateGroupEnumerator(o, scope, iid, enumerator);
}

Hr CommonSetLocaleID(Object o, uint32_t lcid) {
  return layer::CommonSetLocaleID(o, lcid);
}

Hr CommonGetLocaleID(Object o, uint32_t* lcid) {
  return layer::CommonGetLocaleID(o, lcid);
}

Hr CommonQueryAvailableLocaleIDs(Object o, std::vector<uint32_t>* lcids) {
  return layer::CommonQueryAvailableLocaleIDs(o, lcids);
}

Hr CommonGetErrorString(Object o, Hr code, std::string* text) {
  return layer::CommonGetErrorString(o, code, text);
}

Hr CommonSetClientName(Object o, const std::string& name) {
  return layer::CommonSetClientName(o, name);
}

Hr ContainerFindConnectionPoint(Object o, const Guid& iid, Object* point) {
  return layer::ContainerFindConnectionPoint(o, iid, point);
}

Hr PointGetConnectionInterface(Object o, Guid* iid) {
  return layer::PointGetConnectionInterface(o, iid);
}

Hr PointAdvise(Object o, Object sink, uint32_t* cookie) {
  return layer::PointAdvise(o, sink, cookie);
}

Hr PointUnadvise(Object o, uint32_t cookie) {
  return layer::PointUnadvise(o, cookie);
}

Hr ShutdownRequest(Object o, const std::string& reason) {
  return layer::ShutdownRequest(o, reason);
}

Hr PropertiesQueryAvailable(Object o, const std::string& itemId, std::vector<uint32_t>* ids,
                            std::vector<std::string>* descriptions, std::vector<uint16_t>* types) {
  return layer::PropertiesQueryAvailable(o, itemId, ids, descriptions, types);
}

Hr PropertiesGet(Object o, const std::string& itemId, const std::vector<uint32_t>& ids,
                 std::vector<Value>* data, std::vector<Hr>* errors) {
  return layer::PropertiesGet(o, itemId, ids, data, errors);
}

Hr PropertiesLookupItemIDs(Object o, const std::string& itemId, const std::vector<uint32_t>& ids,
                           std::vector<std::string>* newIds, std::vector<Hr>* errors) {
  return layer::PropertiesLookupItemIDs(o, itemId, ids, newIds, errors);
}

Hr BrowseQueryOrganization(Object o, uint32_t* organization) {
  return layer::BrowseQueryOrganization(o, organization);
}

Hr BrowseChangePosition(Object o, uint32_t direction, const std::string& name) {
  return layer::BrowseChangePosition(o, direction, name);
}

Hr BrowseItemIDs(Object o, uint32_t type, const std::string& filter, uint16_t dataType,
                 uint32_t rights, Object* strings) {
  return layer::BrowseItemIDs(o, type, filter, dataType, rights, strings);
}

Hr BrowseGetItemID(Object o, const std::string& name, std::string* itemId) {
  return layer::BrowseGetItemID(o, name, itemId);
}

Hr BrowseAccessPaths(Object o, const std::string& itemId, Object* strings) {
  return layer::BrowseAccessPaths(o, itemId, strings);
}

Hr PublicGroupsGetByName(Object o, const std::string& name, const Guid& iid, Object* group) {
  return layer::PublicGroupsGetByName(o, name, iid, group);
}

Hr PublicGroupsRemove(Object o, uint32_t serverGroup, int32_t force) {
  return layer::PublicGroupsRemove(o, serverGroup, force);
}

Hr PersistGetClassID(Object o, Guid* clsid) {
  return layer::PersistGetClassID(o, clsid);
}

Hr PersistIsDirty(Object o) {
  return layer::PersistIsDirty(o);
}

Hr PersistLoad(Object o, const std::string& file, uint32_t mode) {
  return layer::PersistLoad(o, file, mode);
}

Hr PersistSave(Object o, const std::string& file, int32_t remember) {
  return layer::PersistSave(o, file, remember);
}

Hr PersistSaveCompleted(Object o, const std::string& file) {
  return layer::PersistSaveCompleted(o, file);
}

Hr PersistGetCurFile(Object o, std::string* file) {
  return layer::PersistGetCurFile(o, file);
}

Hr GroupGetState(Object o, GroupState* state) {
  return layer::GroupGetState(o, state);
}

Hr GroupSetState(Object o, const uint32_t* rate, uint32_t* revisedRate, const int32_t* active,
                 const int32_t* timeBias, const float* deadband, const uint32_t* lcid,
                 const uint32_t* clientGroup) {
  return layer::GroupSetState(o, rate, revisedRate, active, timeBias, deadband, lcid, clientGroup);
}

Hr GroupSetName(Object o, const std::string& name) {
  return layer::GroupSetName(o, name);
}

Hr GroupClone(Object o, const std::string& name, const Guid& iid, Object* group) {
  return layer::GroupClone(o, name, iid, group);
}

Hr PublicGroupGetState(Object o, int32_t* isPublic) {
  return layer::PublicGroupGetState(o, isPublic);
}

Hr PublicGroupMoveToPublic(Object o) {
  return layer::PublicGroupMoveToPublic(o);
}

Hr ItemsAdd(Object o, const std::vector<ItemDef>& defs, std::vector<ItemResult>* results,
            std::vector<Hr>* errors) {
  return layer::ItemsAdd(o, defs, results, errors);
}

Hr ItemsValidate(Object o, const std::vector<ItemDef>& defs, int32_t blobUpdate,
                 std::vector<ItemResult>* results, std::vector<Hr>* errors) {
  return layer::ItemsValidate(o, defs, blobUpdate, results, errors);
}

Hr ItemsRemove(Object o, const std::vector<uint32_t>& handles, std::vector<Hr>* errors) {
  return layer::ItemsRemove(o, handles, errors);
}

Hr ItemsSetActiveState(Object o, const std::vector<uint32_t>& handles, int32_t active,
                       std::vector<Hr>* errors) {
  return layer::ItemsSetActiveState(o, handles, active, errors);
}

Hr ItemsSetClientHandles(Object o, const std::vector<uint32_t>& handles,
                         const std::vector<uint32_t>& clients, std::vector<Hr>* errors) {
  return layer::ItemsSetClientHandles(o, handles, clients, errors);
}

Hr ItemsSetDatatypes(Object o, const std::vector<uint32_t>& handles,
                     const std::vector<uint16_t>& types, std::vector<Hr>* errors) {
  return layer::ItemsSetDatatypes(o, handles, types, errors);
}

Hr SyncRead(Object o, uint32_t source, const std::vector<uint32_t>& handles,
            std::vector<ItemState>* states, std::vector<Hr>* errors) {
  return layer::SyncRead(o, source, handles, states, errors);
}

Hr SyncWrite(Object o, const std::vector<uint32_t>& handles, const std::vector<Value>& values,
             std::vector<Hr>* errors) {
  return layer::SyncWrite(o, handles, values, errors);
}

Hr Async2Read(Object o, const std::vector<uint32_t>& handles, uint32_t transaction,
              uint32_t* cancelId, std::vector<Hr>* errors) {
  return layer::Async2Read(o, handles, transaction, cancelId, errors);
}

Hr Async2Refresh(Object o, uint32_t source, uint32_t transaction, uint32_t* cancelId) {
  return layer::Async2Refresh(o, source, transaction, cancelId);
}

Hr Async2Cancel(Object o, uint32_t cancelId) {
  return layer::Async2Cancel(o, cancelId);
}

Hr Async2SetEnable(Object o, int32_t enable) {
  return layer::Async2SetEnable(o, enable);
}

Hr Async2GetEnable(Object o, int32_t* enable) {
  return layer::Async2GetEnable(o, enable);
}

Hr StringsNext(Object o, uint32_t count, std::vector<std::string>* strings) {
  return layer::StringsNext(o, count, strings);
}

Hr StringsSkip(Object o, uint32_t count) {
  return layer::StringsSkip(o, count);
}

Hr StringsReset(Object o) {
  return layer::StringsReset(o);
}

Hr StringsClone(Object o, Object* clone) {
  return layer::StringsClone(o, clone);
}

Hr GuidsNext(Object o, uint32_t count, std::vector<Guid>* guids) {
  return layer::GuidsNext(o, count, guids);
}

Hr GuidsSkip(Object o, uint32_t count) {
  return layer::GuidsSkip(o, count);
}

Hr GuidsReset(Object o) {
  return layer::GuidsReset(o);
}

Hr GuidsClone(Object o, Object* clone) {
  return layer::GuidsClone(o, clone);
}

Hr ServerListEnumClasses(Object o, const std::vector<Guid>& implemented,
                         const std::vector<Guid>& required, Object* guids) {
  return layer::ServerListEnumClasses(o, implemented, required, guids);
}

Hr ServerListGetClassDetails(Object o, const Guid& clsid, std::string* progId,
                             std::string* userType) {
  return layer::ServerListGetClassDetails(o, clsid, progId, userType);
}

Hr ServerListClsidFromProgId(Object o, const std::string& progId, Guid* clsid) {
  return layer::ServerListClsidFromProgId(o, progId, clsid);
}

Hr CatEnumClasses(Object o, const std::vector<Guid>& implemented, const std::vector<Guid>& required,
                  Object* guids) {
  return layer::CatEnumClasses(o, implemented, required, guids);
}

Hr CatIsClassOf(Object o, const Guid& clsid, const std::vector<Guid>& implemented,
                const std::vector<Guid>& required) {
  return layer::CatIsClassOf(o, clsid, implemented, required);
}

Hr CatGetCategoryDesc(Object o, const Guid& catid, uint32_t lcid, std::string* text) {
  return layer::CatGetCategoryDesc(o, catid, lcid, text);
}

Hr CatEnumImplCategoriesOfClass(Object o, const Guid& clsid, Object* guids) {
  return layer::CatEnumImplCategoriesOfClass(o, clsid, guids);
}

Hr CatEnumReqCategoriesOfClass(Object o, const Guid& clsid, Object* guids) {
  return layer::CatEnumReqCategoriesOfClass(o, clsid, guids);
}

Hr FactoryCreateInstance(Object o, const Guid& iid, Object* out) {
  return layer::FactoryCreateInstance(o, iid, out);
}

Hr FactoryLockServer(Object o, int32_t lock) {
  return layer::FactoryLockServer(o, lock);
}

}  // namespace winbridge::real
