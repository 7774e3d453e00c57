#include "com_transcripts.h"

#include <sstream>
#include <vector>

#include "platform/sim/sim_ids.h"

namespace {

class CTranscript {
 public:
  CTranscript& operator<<(HRESULT hr) {
    m_out << std::hex << static_cast<uint32_t>(hr) << std::dec << ' ';
    return *this;
  }
  CTranscript& Text(const std::string& text) {
    m_out << '[' << text << "] ";
    return *this;
  }
  CTranscript& Number(uint64_t value) {
    m_out << value << ' ';
    return *this;
  }
  CTranscript& Value(const VARIANT& value) {
    m_out << "vt" << value.vt << '=' << value.llVal << '/' << value.bstrVal << '/'
          << value.parray.size() << ' ';
    return *this;
  }
  template <class T>
  CTranscript& Numbers(const std::vector<T>& values) {
    for (const T& value : values)
      Number(static_cast<uint64_t>(value));
    return *this;
  }
  std::string Str() const { return m_out.str(); }

 private:
  std::ostringstream m_out;
};

}  // namespace

std::string ServerCalls(const ObjectSource& source) {
  const ComPtr<IOPCServer> server = source.Server(CLSID_VelmoraSimServer);
  CTranscript t;
  std::string text;
  t << server->GetErrorString(OPC_E_UNKNOWNITEMID, LOCALE_EN_US, &text);
  t.Text(text);
  t << server->GetErrorString(E_FAIL, 0x0407, &text);
  OPCSERVERSTATUS status;
  t << server->GetStatus(&status);  // the times follow the clock
  t.Number(status.dwServerState).Number(status.dwGroupCount).Number(status.wMajorVersion);
  t.Number(status.wMinorVersion).Text(status.szVendorInfo);

  ComPtr<IOPCCommon> common;
  server.As(&common);
  LCID lcid = 0;
  std::vector<LCID> lcids;
  t << common->SetLocaleID(LOCALE_EN_US) << common->GetLocaleID(&lcid);
  t.Number(lcid);
  t << common->QueryAvailableLocaleIDs(&lcids);
  t.Numbers(lcids);
  t << common->GetErrorString(OPC_E_BADTYPE, &text);
  t.Text(text);
  t << common->SetClientName("Velmora µ");

  ComPtr<IOPCItemProperties> properties;
  server.As(&properties);
  std::vector<DWORD> ids;
  std::vector<std::string> descriptions;
  std::vector<VARTYPE> types;
  t << properties->QueryAvailableProperties("Plant.Line1.Machine1.Temperature", &ids, &descriptions,
                                            &types);
  t.Numbers(ids).Numbers(types);
  for (const std::string& description : descriptions)
    t.Text(description);
  std::vector<VARIANT> data;
  std::vector<HRESULT> errors;
  ids.push_back(9999);
  t << properties->GetItemProperties("Plant.Line1.Machine1.Temperature",
                                     static_cast<DWORD>(ids.size()), ids.data(), &data, &errors);
  for (size_t i = 0; i < data.size(); ++i) {
    // The value and time properties follow the clock of the process that serves them.
    if (ids[i] != OPC_PROP_VALUE && ids[i] != OPC_PROP_TIME)
      t.Value(data[i]);
  }
  t.Numbers(errors);
  std::vector<std::string> newIds;
  t << properties->LookupItemIDs("Plant.Line1.Machine1.Temperature", static_cast<DWORD>(ids.size()),
                                 ids.data(), &newIds, &errors);
  for (const std::string& id : newIds)
    t.Text(id);
  t.Numbers(errors);
  t << properties->QueryAvailableProperties("No.Such.Item", &ids, &descriptions, &types);

  ComPtr<IOPCServerPublicGroups> publicGroups;
  server.As(&publicGroups);
  ComPtr<IUnknown> unknown;
  t << publicGroups->GetPublicGroupByName("P", IID_IUnknown, unknown.ReleaseAndGetAddressOf())
    << publicGroups->RemovePublicGroup(1, TRUE);

  ComPtr<IPersistFile> persist;
  server.As(&persist);
  CLSID clsid;
  t << persist->GetClassID(&clsid) << persist->IsDirty() << persist->GetCurFile(&text);
  t.Text(GuidToString(clsid)).Text(text);
  t << persist->Load("C:\\x.cfg", 0) << persist->Save("", TRUE) << persist->SaveCompleted("");

  ComPtr<IOPCBrowseServerAddressSpace> browse;
  server.As(&browse);
  ComPtr<IEnumString> strings;
  t << browse->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Plant")
    << browse->BrowseOPCItemIDs(OPC_BRANCH, "*", VT_EMPTY, 0, strings.ReleaseAndGetAddressOf());
  std::string names[3];
  ULONG fetched = 0;
  t << strings->Skip(1) << strings->Next(3, names, &fetched);
  t.Number(fetched).Text(names[0]).Text(names[1]);
  ComPtr<IEnumString> clone;
  t << strings->Reset() << strings->Clone(clone.ReleaseAndGetAddressOf())
    << clone->Next(1, names, &fetched);
  t.Text(names[0]);
  std::string itemId;
  t << browse->GetItemID("Line1", &itemId);
  t.Text(itemId);
  t << browse->BrowseAccessPaths("Plant.Line1.Machine1.Temperature",
                                 strings.ReleaseAndGetAddressOf())
    << browse->ChangeBrowsePosition(OPC_BROWSE_TO, "");
  return t.Str();
}

std::string GroupCalls(const ObjectSource& source) {
  const ComPtr<IOPCServer> server = source.Server(CLSID_VelmoraSimServer);
  CTranscript t;
  OPCHANDLE handle = 0;
  DWORD revised = 0;
  const LONG bias = 60;
  const FLOAT band = 2.5f;
  ComPtr<IOPCGroupStateMgt> state;
  t << server->AddGroup("", TRUE, 50, 3, &bias, &band, LOCALE_EN_US, &handle, &revised,
                        IID_IOPCGroupStateMgt,
                        reinterpret_cast<IUnknown**>(state.ReleaseAndGetAddressOf()));
  t.Number(handle).Number(revised);
  DWORD rate = 0;
  BOOL active = FALSE;
  std::string name;
  LONG timeBias = 0;
  FLOAT deadband = 0;
  LCID lcid = 0;
  OPCHANDLE client = 0;
  OPCHANDLE serverHandle = 0;
  t << state->GetState(&rate, &active, &name, &timeBias, &deadband, &lcid, &client, &serverHandle);
  t.Number(rate).Number(active).Text(name).Number(timeBias).Number(lcid).Number(client);
  const DWORD newRate = 2500;
  const BOOL inactive = FALSE;
  t << state->SetState(&newRate, &revised, &inactive, nullptr, nullptr, nullptr, nullptr)
    << state->SetName("Renamed")
    << state->GetState(&rate, &active, &name, &timeBias, &deadband, &lcid, &client, &serverHandle);
  t.Number(revised).Number(rate).Number(active).Text(name);
  ComPtr<IUnknown> found;
  t << server->GetGroupByName("Renamed", IID_IUnknown, found.ReleaseAndGetAddressOf());
  ComPtr<IOPCGroupStateMgt> foundState;
  found.As(&foundState);
  t << foundState->GetState(&rate, &active, &name, &timeBias, &deadband, &lcid, &client,
                            &serverHandle);
  t.Text(name);
  ComPtr<IUnknown> cloned;
  t << state->CloneGroup("Copy", IID_IUnknown, cloned.ReleaseAndGetAddressOf());
  ComPtr<IUnknown> groups;
  t << server->CreateGroupEnumerator(OPC_ENUM_ALL, IID_IEnumString,
                                     groups.ReleaseAndGetAddressOf());
  ComPtr<IEnumString> groupNames;
  groups.As(&groupNames);
  std::string names[4];
  ULONG fetched = 0;
  t << groupNames->Next(4, names, &fetched);
  t.Number(fetched).Text(names[0]).Text(names[1]);

  ComPtr<IOPCPublicGroupStateMgt> publicState;
  state.As(&publicState);
  BOOL isPublic = TRUE;
  t << publicState->GetState(&isPublic) << publicState->MoveToPublic();
  t.Number(isPublic);

  ComPtr<IOPCItemMgt> items;
  state.As(&items);
  OPCITEMDEF defs[3];
  defs[0].szItemID = "Plant.Line1.Machine1.SetPoint";
  defs[1].szItemID = "Plant.Line1.Machine1.Temperature";
  defs[1].vtRequestedDataType = VT_R4;
  defs[2].szItemID = "Plant.Line1.Machine1.Mode";
  defs[2].vtRequestedDataType = VT_I4;
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  t << items->ValidateItems(3, defs, FALSE, &results, &errors);
  t.Numbers(errors);
  t << items->AddItems(2, defs, &results, &errors);
  t.Numbers(errors);
  std::vector<OPCHANDLE> handles = {results[0].hServer, results[1].hServer, 0xDEAD};
  const OPCHANDLE clients[3] = {11, 12, 13};
  const VARTYPE vts[3] = {VT_BSTR, VT_R8, VT_I2};
  t << items->SetActiveState(3, handles.data(), FALSE, &errors);
  t.Numbers(errors);
  t << items->SetClientHandles(3, handles.data(), clients, &errors);
  t.Numbers(errors);
  t << items->SetDatatypes(3, handles.data(), vts, &errors);
  t.Numbers(errors);
  ComPtr<IUnknown> attributes;
  t << items->CreateEnumerator(IID_IEnumOPCItemAttributes, attributes.ReleaseAndGetAddressOf());

  ComPtr<IOPCSyncIO> sync;
  state.As(&sync);
  const VARIANT values[2] = {MakeVariantBstr("42.5"), MakeVariantR8(7.0)};
  t << sync->Write(2, handles.data(), values, &errors);
  t.Numbers(errors);
  std::vector<OPCITEMSTATE> states;
  t << sync->Read(OPC_DS_CACHE, 3, handles.data(), &states, &errors);
  t.Numbers(errors);
  for (const OPCITEMSTATE& item : states)
    t.Number(item.hClient).Number(item.wQuality).Value(item.vDataValue);

  ComPtr<IOPCAsyncIO2> async;
  state.As(&async);
  DWORD cancel = 0;
  BOOL enabled = FALSE;
  t << async->Read(2, handles.data(), 1, &cancel, &errors)
    << async->Refresh2(OPC_DS_CACHE, 2, &cancel) << async->Cancel2(5) << async->SetEnable(FALSE)
    << async->GetEnable(&enabled);
  t.Number(enabled);

  t << items->RemoveItems(3, handles.data(), &errors);
  t.Numbers(errors);
  t << server->RemoveGroup(handle, TRUE) << server->RemoveGroup(handle, TRUE);
  return t.Str();
}

std::string DiscoveryCalls(const ObjectSource& source) {
  CTranscript t;
  const ComPtr<IOPCServerList> list = source.ServerList();
  ComPtr<IEnumGUID> classes;
  t << list->EnumClassesOfCategories(1, &CATID_OPCDAServer10, 0, nullptr,
                                     classes.ReleaseAndGetAddressOf());
  GUID guids[4];
  ULONG fetched = 0;
  t << classes->Next(4, guids, &fetched);
  t.Number(fetched);
  std::string progId;
  std::string userType;
  for (ULONG i = 0; i < fetched; ++i) {
    t << list->GetClassDetails(guids[i], &progId, &userType);
    t.Text(progId).Text(userType);
  }
  ComPtr<IEnumGUID> clone;
  t << classes->Reset() << classes->Skip(1) << classes->Clone(clone.ReleaseAndGetAddressOf())
    << clone->Next(1, guids, &fetched);
  t.Text(GuidToString(guids[0]));
  CLSID clsid;
  t << list->CLSIDFromProgID(kSimServerNoBrowseProgId, &clsid)
    << list->CLSIDFromProgID("X.Y", &clsid);
  t << list->GetClassDetails(GUID_NULL, &progId, &userType);

  const ComPtr<ICatInformation> categories = source.Categories();
  std::string description;
  t << categories->GetCategoryDesc(CATID_OPCDAServer20, LOCALE_EN_US, &description);
  t.Text(description);
  t << categories->IsClassOfCategories(CLSID_VelmoraSimServerDA1, 1, &CATID_OPCDAServer20, 0,
                                       nullptr)
    << categories->IsClassOfCategories(CLSID_VelmoraSimServer, 1, &CATID_OPCDAServer20, 0, nullptr)
    << categories->EnumImplCategoriesOfClass(CLSID_VelmoraSimServer,
                                             classes.ReleaseAndGetAddressOf())
    << classes->Next(4, guids, &fetched);
  t.Number(fetched);
  t << categories->EnumReqCategoriesOfClass(CLSID_VelmoraSimServer,
                                            classes.ReleaseAndGetAddressOf())
    << categories->EnumClassesOfCategories(1, &CATID_OPCDAServer20, 0, nullptr,
                                           classes.ReleaseAndGetAddressOf())
    << classes->Next(4, guids, &fetched);
  t.Number(fetched);
  return t.Str();
}
