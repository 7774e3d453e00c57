#include <cmath>

#include "comma_locale.h"
#include "platform/com/automation_date.h"
#include "sim_fixture.h"

namespace {

class CRecordingSink : public CComObjectRoot<IOPCShutdown> {
 public:
  HRESULT ShutdownRequest(const std::string& reason) override {
    m_reasons.push_back(reason);
    return S_OK;
  }
  std::vector<std::string> m_reasons;
};

}  // namespace

using SimServer = SimTest;

TEST_F(SimServer, StatusCarriesVendorVersionAndTimes) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  m_clock.AdvanceMs(5000);
  OPCSERVERSTATUS status;
  ASSERT_EQ(c.server->GetStatus(&status), S_OK);
  EXPECT_EQ(status.dwServerState, OPC_STATUS_RUNNING);
  EXPECT_EQ(status.szVendorInfo, "Velmora Simulation Server");
  EXPECT_EQ(status.wMajorVersion, 2);
  EXPECT_EQ(FileTimeToUint64(status.ftCurrentTime) - FileTimeToUint64(status.ftStartTime),
            5000u * 10000u);
  EXPECT_EQ(c.server->GetStatus(nullptr), E_INVALIDARG);
  Connection da1 = Connect(CLSID_VelmoraSimServerDA1);
  ASSERT_EQ(da1.server->GetStatus(&status), S_OK);
  EXPECT_EQ(status.wMajorVersion, 1);
  EXPECT_EQ(status.szVendorInfo, "Velmora Simulation Server (DA 1.0)");
}

TEST_F(SimServer, GroupsGetServerNamesRevisedRatesAndUniqueNames) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group named = AddGroup(c.server.Get(), "Group01", 1000);
  EXPECT_EQ(named.hr, S_OK);
  EXPECT_EQ(named.revisedRate, 1000u);
  Group unnamed = AddGroup(c.server.Get(), "", 1000);
  ASSERT_EQ(unnamed.hr, S_OK);
  DWORD rate = 0;
  BOOL active = FALSE;
  std::string name;
  LONG bias = 1;
  FLOAT deadband = 1;
  LCID lcid = 1;
  OPCHANDLE client = 0;
  OPCHANDLE server = 0;
  ASSERT_EQ(
      unnamed.state->GetState(&rate, &active, &name, &bias, &deadband, &lcid, &client, &server),
      S_OK);
  EXPECT_FALSE(name.empty());
  EXPECT_NE(name, "Group01");
  EXPECT_EQ(server, unnamed.handle);
  EXPECT_EQ(client, 7u);
  EXPECT_EQ(active, TRUE);
  EXPECT_EQ(AddGroup(c.server.Get(), "Group01").hr, OPC_E_DUPLICATENAME);
  Group fast = AddGroup(c.server.Get(), "Fast", 10);
  EXPECT_EQ(fast.hr, OPC_S_UNSUPPORTEDRATE);
  EXPECT_EQ(fast.revisedRate, 100u);

  // A configured minimum rate revises 1000 to 1500.
  CSimRuntime::Instance().Faults("Velmora.SimServer.1").m_nMinUpdateRate = 1500;
  Group slow = AddGroup(c.server.Get(), "Slow", 1000);
  EXPECT_EQ(slow.hr, OPC_S_UNSUPPORTEDRATE);
  EXPECT_EQ(slow.revisedRate, 1500u);
  DWORD requested = 2000;
  DWORD revised = 0;
  EXPECT_EQ(slow.state->SetState(&requested, &revised, nullptr, nullptr, nullptr, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(revised, 2000u);
  requested = 500;
  EXPECT_EQ(slow.state->SetState(&requested, &revised, nullptr, nullptr, nullptr, nullptr, nullptr),
            OPC_S_UNSUPPORTEDRATE);
  EXPECT_EQ(revised, 1500u);

  EXPECT_EQ(slow.state->SetName("Group01"), OPC_E_DUPLICATENAME);
  EXPECT_EQ(slow.state->SetName("Renamed"), S_OK);
  ComPtr<IUnknown> found;
  EXPECT_EQ(c.server->GetGroupByName("Renamed", IID_IOPCItemMgt, found.GetAddressOf()), S_OK);
  EXPECT_TRUE(found);
  EXPECT_EQ(c.server->GetGroupByName("renamed", IID_IUnknown, found.ReleaseAndGetAddressOf()),
            E_INVALIDARG);

  ComPtr<IUnknown> groups;
  ASSERT_EQ(c.server->CreateGroupEnumerator(OPC_ENUM_ALL, IID_IEnumString, groups.GetAddressOf()),
            S_OK);
  ComPtr<IEnumString> names;
  ASSERT_EQ(groups.As(&names), S_OK);
  std::string all[8];
  ULONG fetched = 0;
  names->Next(8, all, &fetched);
  EXPECT_EQ(fetched, 4u);
}

TEST_F(SimServer, RemoveGroupInUseAndForced) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  EXPECT_EQ(c.server->RemoveGroup(g.handle, FALSE), OPC_S_INUSE);
  EXPECT_EQ(c.server->RemoveGroup(g.handle, FALSE), E_INVALIDARG);  // already gone
  OPCITEMDEF def = Def("Signals.Sine.R8");
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  EXPECT_EQ(g.items->AddItems(1, &def, &results, &errors), S_OK);  // still usable

  Group forced = AddGroup(c.server.Get(), "F");
  EXPECT_EQ(c.server->RemoveGroup(forced.handle, TRUE), S_OK);
  EXPECT_EQ(forced.items->AddItems(1, &def, &results, &errors), E_FAIL);

  Group released = AddGroup(c.server.Get(), "R");
  const OPCHANDLE handle = released.handle;
  released = Group{};
  EXPECT_EQ(c.server->RemoveGroup(handle, FALSE), S_OK);
}

TEST_F(SimServer, AddItemsPerItemErrorsAndSFalse) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  std::vector<OPCITEMDEF> defs = {Def("Plant.Line1.Machine1.Temperature"),
                                  Def("Plant.Line1.Nothing"),
                                  Def("Plant..Line1"),
                                  Def("Text.Semicolon", VT_R4),
                                  Def("Signals.Sine.R8", VT_I2),
                                  Def(""),
                                  Def("Signals.Arrays.R8", VT_R8),
                                  Def("Signals.Arrays.R8", VT_ARRAY | VT_R4)};
  defs[0].hClient = 41;
  OPCITEMDEF withPath = Def("Signals.Sine.R8");
  withPath.szAccessPath = "COM1";
  defs.push_back(withPath);
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(static_cast<DWORD>(defs.size()), defs.data(), &results, &errors),
            S_FALSE);
  ASSERT_EQ(errors.size(), defs.size());
  EXPECT_EQ(errors[0], S_OK);
  EXPECT_NE(results[0].hServer, 0u);
  EXPECT_EQ(results[0].vtCanonicalDataType, VT_R8);
  EXPECT_EQ(results[0].dwAccessRights, OPC_READABLE);
  EXPECT_EQ(errors[1], OPC_E_UNKNOWNITEMID);
  EXPECT_EQ(results[1].hServer, 0u);
  EXPECT_EQ(errors[2], OPC_E_INVALIDITEMID);
  EXPECT_EQ(errors[3], OPC_E_BADTYPE);
  EXPECT_EQ(errors[4], S_OK);
  EXPECT_EQ(errors[5], OPC_E_INVALIDITEMID);
  EXPECT_EQ(errors[6], OPC_E_BADTYPE);
  EXPECT_EQ(errors[7], S_OK);
  EXPECT_EQ(results[7].vtCanonicalDataType, VT_ARRAY | VT_R8);
  EXPECT_EQ(errors[8], OPC_E_UNKNOWNPATH);
  EXPECT_NE(results[4].hServer, results[0].hServer);

  OPCITEMDEF writable = Def("Plant.Line2.Tank1.SetPoint");
  ASSERT_EQ(g.items->AddItems(1, &writable, &results, &errors), S_OK);
  EXPECT_EQ(results[0].dwAccessRights, OPC_READABLE | OPC_WRITEABLE);
  EXPECT_EQ(g.items->AddItems(0, &writable, &results, &errors), E_INVALIDARG);

  // Validation checks without adding.
  std::vector<OPCITEMRESULT> validation;
  EXPECT_EQ(g.items->ValidateItems(2, defs.data(), FALSE, &validation, &errors), S_FALSE);
  EXPECT_EQ(validation[0].hServer, 0u);
  EXPECT_EQ(validation[0].vtCanonicalDataType, VT_R8);
}

TEST_F(SimServer, SyncReadsFromCacheAndDevice) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G", 1000);
  std::vector<OPCITEMDEF> defs = {Def("Signals.Sine.R8"), Def("Signals.Ramp.I4", VT_R8),
                                  Def("Quality.UncertainSubNormal"), Def("Text.Mixed")};
  defs[0].hClient = 11;
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(4, defs.data(), &results, &errors), S_OK);
  std::vector<OPCHANDLE> handles;
  for (const OPCITEMRESULT& r : results) {
    handles.push_back(r.hServer);
  }
  m_clock.AdvanceMs(1250);  // 10:00:01.250
  std::vector<OPCITEMSTATE> values;
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 4, handles.data(), &values, &errors), S_OK);
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0].hClient, 11u);
  EXPECT_EQ(values[0].vDataValue.vt, VT_R8);
  EXPECT_EQ(values[0].wQuality, OPC_QUALITY_GOOD);
  // The cache holds the value of the last update tick (10:00:01.000).
  const FILETIME tick = FileTimeFromUnixMs(UnixMsFromLocalTime({2026, 12, 7, 10, 0, 1, 0, 1}));
  EXPECT_EQ(FileTimeToUint64(values[0].ftTimeStamp), FileTimeToUint64(tick));
  EXPECT_EQ(values[1].vDataValue.vt, VT_R8);  // requested type
  EXPECT_EQ(values[2].wQuality, 0x58);
  EXPECT_EQ(values[3].vDataValue.bstrVal, "It's 'quoted'; a,b;c");
  const uint32_t before = m_clock.TickCount();
  ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, 4, handles.data(), &values, &errors), S_OK);
  EXPECT_GT(m_clock.TickCount(), before);  // device reads take time
  EXPECT_NE(FileTimeToUint64(values[0].ftTimeStamp), FileTimeToUint64(tick));

  // Same clock, same values: reproducible.
  std::vector<OPCITEMSTATE> again;
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 4, handles.data(), &values, &errors), S_OK);
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 4, handles.data(), &again, &errors), S_OK);
  EXPECT_EQ(values[0].vDataValue.dblVal, again[0].vDataValue.dblVal);

  OPCHANDLE bad[2] = {handles[0], 0xDEAD};
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 2, bad, &values, &errors), S_FALSE);
  EXPECT_EQ(errors[0], S_OK);
  EXPECT_EQ(errors[1], OPC_E_INVALIDHANDLE);
  EXPECT_EQ(g.sync->Read(static_cast<OPCDATASOURCE>(5), 1, bad, &values, &errors), E_INVALIDARG);
  EXPECT_EQ(g.sync->Read(OPC_DS_CACHE, 0, bad, &values, &errors), E_INVALIDARG);
}

TEST_F(SimServer, InactiveCacheReadsAreOutOfService) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G", 1000, FALSE);
  OPCITEMDEF def = Def("Signals.Sine.R8");
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(1, &def, &results, &errors), S_OK);
  std::vector<OPCITEMSTATE> values;
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 1, &results[0].hServer, &values, &errors), S_OK);
  EXPECT_EQ(values[0].wQuality, OPC_QUALITY_OUT_OF_SERVICE);
  ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, 1, &results[0].hServer, &values, &errors), S_OK);
  EXPECT_EQ(values[0].wQuality, OPC_QUALITY_GOOD);
}

TEST_F(SimServer, RequestedTypeOverflowIsAPerItemError) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  OPCITEMDEF def = Def("Signals.Sine.I4", VT_I1);  // sweeps +-100000
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(1, &def, &results, &errors), S_OK);
  m_clock.AdvanceMs(15000);  // a quarter period: the sine is at its top
  std::vector<OPCITEMSTATE> values;
  ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, 1, &results[0].hServer, &values, &errors), S_FALSE);
  EXPECT_EQ(errors[0], DISP_E_OVERFLOW);
  EXPECT_EQ(values[0].wQuality, OPC_QUALITY_BAD);
  VARTYPE wide = VT_R8;
  EXPECT_EQ(g.items->SetDatatypes(1, &results[0].hServer, &wide, &errors), S_OK);
  ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, 1, &results[0].hServer, &values, &errors), S_OK);
  EXPECT_EQ(values[0].vDataValue.vt, VT_R8);
  VARTYPE array = VT_ARRAY | VT_R8;
  EXPECT_EQ(g.items->SetDatatypes(1, &results[0].hServer, &array, &errors), S_FALSE);
  EXPECT_EQ(errors[0], OPC_E_BADTYPE);
}

TEST_F(SimServer, EveryTypeAndArrayIsDelivered) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  const char* types[] = {"I1",  "I2", "I4", "I8",   "UI1",  "UI2",  "UI4",
                         "UI8", "R4", "R8", "BOOL", "BSTR", "DATE", "CY"};
  const VARTYPE vts[] = {VT_I1,  VT_I2, VT_I4, VT_I8,   VT_UI1,  VT_UI2,  VT_UI4,
                         VT_UI8, VT_R4, VT_R8, VT_BOOL, VT_BSTR, VT_DATE, VT_CY};
  for (const char* generator :
       {"Sine", "Ramp", "Square", "Triangle", "Random", "Counter", "Arrays"}) {
    std::vector<OPCITEMDEF> defs;
    for (const char* type : types) {
      defs.push_back(Def(std::string("Signals.") + generator + "." + type));
    }
    std::vector<OPCITEMRESULT> results;
    std::vector<HRESULT> errors;
    ASSERT_EQ(g.items->AddItems(14, defs.data(), &results, &errors), S_OK) << generator;
    std::vector<OPCHANDLE> handles;
    for (const OPCITEMRESULT& r : results) {
      handles.push_back(r.hServer);
    }
    std::vector<OPCITEMSTATE> values;
    ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, 14, handles.data(), &values, &errors), S_OK);
    const bool arrays = std::string(generator) == "Arrays";
    for (size_t i = 0; i < 14; ++i) {
      const VARTYPE expected = arrays ? static_cast<VARTYPE>(vts[i] | VT_ARRAY) : vts[i];
      EXPECT_EQ(results[i].vtCanonicalDataType, expected) << generator << types[i];
      EXPECT_EQ(values[i].vDataValue.vt, expected) << generator << types[i];
      if (arrays) {
        EXPECT_EQ(values[i].vDataValue.parray.size(), 8u);
      }
    }
  }
}

TEST_F(SimServer, SignalsFollowTheClock) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  std::vector<OPCITEMDEF> defs = {Def("Signals.Counter.UI4"), Def("Signals.Square.BOOL"),
                                  Def("Plant.Line1.Machine1.Temperature"),
                                  Def("Plant.Line1.Machine1.SetPoint")};
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(4, defs.data(), &results, &errors), S_OK);
  std::vector<OPCHANDLE> handles = {results[0].hServer, results[1].hServer, results[2].hServer,
                                    results[3].hServer};
  std::vector<OPCITEMSTATE> first;
  std::vector<OPCITEMSTATE> second;
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 4, handles.data(), &first, &errors), S_OK);
  m_clock.AdvanceMs(10000);
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 4, handles.data(), &second, &errors), S_OK);
  EXPECT_EQ(second[0].vDataValue.ulVal - first[0].vDataValue.ulVal, 10u);
  EXPECT_NE(first[1].vDataValue.boolVal, second[1].vDataValue.boolVal);  // 20 s square
  // The temperature stays near its set point once settled.
  m_clock.AdvanceMs(400000);
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 4, handles.data(), &second, &errors), S_OK);
  const double sp = second[3].vDataValue.dblVal;
  EXPECT_TRUE(sp == 60.0 || sp == 80.0) << sp;
  EXPECT_NEAR(second[2].vDataValue.dblVal, sp, 6.0);

  // A written set point is followed.
  ComPtr<IOPCSyncIO> sync = g.sync;
  VARIANT value = MakeVariantBstr("72.5");
  ASSERT_EQ(sync->Write(1, &handles[3], &value, &errors), S_OK);
  ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, 4, handles.data(), &second, &errors), S_OK);
  EXPECT_DOUBLE_EQ(second[3].vDataValue.dblVal, 72.5);
  EXPECT_NEAR(second[2].vDataValue.dblVal, 72.5, 0.31);
}

TEST_F(SimServer, WritesCheckRightsAndTypes) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  std::vector<OPCITEMDEF> defs = {Def("Static.I4"), Def("Signals.Sine.R8"), Def("Static.BOOL")};
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(3, defs.data(), &results, &errors), S_OK);
  OPCHANDLE handles[3] = {results[0].hServer, results[1].hServer, results[2].hServer};
  VARIANT values[3] = {MakeVariantBstr("1e10"), MakeVariantR8(1), MakeVariantBstr("maybe")};
  ASSERT_EQ(g.sync->Write(3, handles, values, &errors), S_FALSE);
  EXPECT_EQ(errors[0], OPC_E_RANGE);
  EXPECT_EQ(errors[1], OPC_E_BADRIGHTS);
  EXPECT_EQ(errors[2], OPC_E_BADTYPE);
  values[0] = MakeVariantR8(12.4);
  ASSERT_EQ(g.sync->Write(1, handles, values, &errors), S_OK);
  std::vector<OPCITEMSTATE> states;
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 1, handles, &states, &errors), S_OK);
  EXPECT_EQ(states[0].vDataValue.vt, VT_I4);
  EXPECT_EQ(states[0].vDataValue.lVal, 12);
}

TEST_F(SimServer, ItemManagementHandles) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  std::vector<OPCITEMDEF> defs = {Def("Signals.Sine.R8"), Def("Signals.Ramp.R8")};
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(2, defs.data(), &results, &errors), S_OK);
  OPCHANDLE handles[2] = {results[0].hServer, results[1].hServer};
  OPCHANDLE clients[2] = {100, 200};
  EXPECT_EQ(g.items->SetClientHandles(2, handles, clients, &errors), S_OK);
  EXPECT_EQ(g.items->SetActiveState(1, handles, FALSE, &errors), S_OK);
  std::vector<OPCITEMSTATE> states;
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 2, handles, &states, &errors), S_OK);
  EXPECT_EQ(states[0].hClient, 100u);
  EXPECT_EQ(states[0].wQuality, OPC_QUALITY_OUT_OF_SERVICE);
  EXPECT_EQ(states[1].hClient, 200u);
  EXPECT_EQ(g.items->RemoveItems(1, handles, &errors), S_OK);
  EXPECT_EQ(g.items->RemoveItems(2, handles, &errors), S_FALSE);
  EXPECT_EQ(errors[0], OPC_E_INVALIDHANDLE);
  EXPECT_EQ(errors[1], S_OK);
  ComPtr<IUnknown> enumerator;
  EXPECT_EQ(g.items->CreateEnumerator(IID_IEnumOPCItemAttributes, enumerator.GetAddressOf()),
            E_NOTIMPL);
}

TEST_F(SimServer, CloneGroupIsInactiveWithTheSameItems) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  OPCITEMDEF def = Def("Signals.Sine.R8");
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(1, &def, &results, &errors), S_OK);
  ComPtr<IUnknown> clone;
  EXPECT_EQ(g.state->CloneGroup("G", IID_IUnknown, clone.GetAddressOf()), OPC_E_DUPLICATENAME);
  ASSERT_EQ(g.state->CloneGroup("", IID_IOPCGroupStateMgt, clone.GetAddressOf()), S_OK);
  ComPtr<IOPCGroupStateMgt> state;
  ASSERT_EQ(clone.As(&state), S_OK);
  DWORD rate;
  BOOL active;
  std::string name;
  LONG bias;
  FLOAT deadband;
  LCID lcid;
  OPCHANDLE client;
  OPCHANDLE server;
  ASSERT_EQ(state->GetState(&rate, &active, &name, &bias, &deadband, &lcid, &client, &server),
            S_OK);
  EXPECT_EQ(active, FALSE);
  EXPECT_NE(server, g.handle);
  EXPECT_FALSE(name.empty());
}

TEST_F(SimServer, GroupInterfacesByServerKind) {
  Connection full = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(full.server.Get(), "G");
  for (const IID* iid :
       {&IID_IOPCGroupStateMgt, &IID_IOPCPublicGroupStateMgt, &IID_IOPCItemMgt, &IID_IOPCSyncIO,
        &IID_IOPCAsyncIO, &IID_IDataObject, &IID_IOPCAsyncIO2, &IID_IConnectionPointContainer}) {
    ComPtr<IUnknown> p;
    EXPECT_EQ(g.items->QueryInterface(*iid, p.ReleaseAndGetVoidAddress()), S_OK)
        << GuidToString(*iid);
  }
  ComPtr<IOPCAsyncIO2> async;
  ASSERT_EQ(g.items.As(&async), S_OK);
  DWORD cancel = 0;
  std::vector<HRESULT> errors;
  OPCHANDLE h = 1;
  EXPECT_EQ(async->Read(1, &h, 1, &cancel, &errors), CONNECT_E_NOCONNECTION);
  ComPtr<IOPCPublicGroupStateMgt> pub;
  ASSERT_EQ(g.items.As(&pub), S_OK);
  BOOL isPublic = TRUE;
  EXPECT_EQ(pub->GetState(&isPublic), S_OK);
  EXPECT_EQ(isPublic, FALSE);

  Connection da1 = Connect(CLSID_VelmoraSimServerDA1);
  Group old = AddGroup(da1.server.Get(), "G");
  ASSERT_EQ(old.hr, S_OK);
  EXPECT_TRUE(old.sync);
  ComPtr<IOPCAsyncIO2> none;
  EXPECT_EQ(old.items.As(&none), E_NOINTERFACE);
  ComPtr<IConnectionPointContainer> noPoints;
  EXPECT_EQ(old.items.As(&noPoints), E_NOINTERFACE);
  ComPtr<IOPCAsyncIO> async1;
  EXPECT_EQ(old.items.As(&async1), S_OK);
}

TEST_F(SimServer, ItemProperties) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  std::vector<DWORD> ids;
  std::vector<std::string> descriptions;
  std::vector<VARTYPE> types;
  ASSERT_EQ(c.properties->QueryAvailableProperties("Plant.Line1.Tank1.Level", &ids, &descriptions,
                                                   &types),
            S_OK);
  EXPECT_EQ(ids, (std::vector<DWORD>{1, 2, 3, 4, 5, 6, 100, 101, 102, 103}));
  EXPECT_EQ(descriptions[0], "Item Canonical DataType");
  EXPECT_EQ(types[1], VT_R4);
  const DWORD wanted[] = {OPC_PROP_CDT, OPC_PROP_UNIT, OPC_PROP_HIEU, OPC_PROP_DESC, 999};
  std::vector<VARIANT> data;
  std::vector<HRESULT> errors;
  ASSERT_EQ(c.properties->GetItemProperties("Plant.Line1.Tank1.Level", 5, wanted, &data, &errors),
            S_FALSE);
  EXPECT_EQ(data[0].iVal, VT_R4);
  EXPECT_EQ(data[1].bstrVal, "%");
  EXPECT_DOUBLE_EQ(data[2].dblVal, 80.0);
  EXPECT_EQ(data[3].bstrVal, "Tank level");
  EXPECT_EQ(errors[4], OPC_E_INVALID_PID);
  EXPECT_EQ(c.properties->QueryAvailableProperties("Plant.Nothing", &ids, &descriptions, &types),
            OPC_E_UNKNOWNITEMID);
  EXPECT_EQ(c.properties->QueryAvailableProperties("", &ids, &descriptions, &types),
            OPC_E_INVALIDITEMID);
  // Text items have neither unit nor range.
  ASSERT_EQ(c.properties->QueryAvailableProperties("Text.Comma", &ids, &descriptions, &types),
            S_OK);
  EXPECT_EQ(ids.size(), 7u);
  std::vector<std::string> newIds;
  const DWORD lookup[] = {OPC_PROP_VALUE, OPC_PROP_UNIT};
  EXPECT_EQ(c.properties->LookupItemIDs("Plant.Line1.Tank1.Level", 2, lookup, &newIds, &errors),
            S_FALSE);
  EXPECT_EQ(errors[0], OPC_E_INVALID_PID);
  EXPECT_EQ(errors[1], E_FAIL);
}

TEST_F(SimServer, LocalesAndErrorStrings) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  std::vector<LCID> locales;
  ASSERT_EQ(c.common->QueryAvailableLocaleIDs(&locales), S_OK);
  EXPECT_FALSE(locales.empty());
  EXPECT_EQ(c.common->SetLocaleID(0x0407), E_INVALIDARG);
  EXPECT_EQ(c.common->SetLocaleID(1033), S_OK);
  std::string text;
  EXPECT_EQ(c.common->GetErrorString(OPC_E_BADTYPE, &text), S_OK);
  EXPECT_EQ(text,
            "The server cannot convert the data between the requested data type and the canonical "
            "data type.");
  EXPECT_EQ(c.server->GetErrorString(E_FAIL, 1033, &text), S_OK);
  EXPECT_EQ(text, "Unspecified error");
  EXPECT_EQ(c.common->SetClientName("Velmora"), S_OK);
}

TEST_F(SimServer, ShutdownAdviseDeliverAndUnadvise) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(c.container->FindConnectionPoint(IID_IOPCDataCallback, point.GetAddressOf()),
            CONNECT_E_NOCONNECTION);
  ASSERT_EQ(c.container->FindConnectionPoint(IID_IOPCShutdown, point.GetAddressOf()), S_OK);
  IID iid;
  EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, IID_IOPCShutdown);
  auto* sink = new CRecordingSink;
  ComPtr<IOPCShutdown> sinkRef(sink);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sinkRef.Get(), &cookie), S_OK);
  EXPECT_NE(cookie, 0u);
  DWORD second = 0;
  EXPECT_EQ(point->Advise(sinkRef.Get(), &second), CONNECT_E_ADVISELIMIT);
  std::vector<CONNECTDATA> connections;
  EXPECT_EQ(point->EnumConnections(&connections), S_OK);
  EXPECT_EQ(connections.size(), 1u);

  // Delivered through the application's dispatcher (queued here, run later).
  std::vector<std::function<void()>> queue;
  CSimRuntime::Instance().SetDispatcher(
      [&queue](std::function<void()> call) { queue.push_back(std::move(call)); });
  EXPECT_EQ(CSimRuntime::Instance().RequestShutdown("Velmora.SimServer.1", "Maintenance"), 1);
  EXPECT_TRUE(sink->m_reasons.empty());
  ASSERT_EQ(queue.size(), 1u);
  queue[0]();
  ASSERT_EQ(sink->m_reasons.size(), 1u);
  EXPECT_EQ(sink->m_reasons[0], "Maintenance");

  EXPECT_EQ(point->Unadvise(cookie + 1), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(CSimRuntime::Instance().RequestShutdown("", "Again"), 0);

  // A sink without IOPCShutdown cannot connect.
  ComPtr<IUnknown> notASink;
  c.server.As(&notASink);
  EXPECT_EQ(point->Advise(notASink.Get(), &cookie), CONNECT_E_CANNOTCONNECT);
}

TEST_F(SimServer, QueuedShutdownOutlivesTheConnection) {
  std::vector<std::function<void()>> queue;
  CSimRuntime::Instance().SetDispatcher(
      [&queue](std::function<void()> call) { queue.push_back(std::move(call)); });
  auto* sink = new CRecordingSink;
  ComPtr<IOPCShutdown> sinkRef(sink);
  {
    Connection c = Connect(CLSID_VelmoraSimServer);
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(c.container->FindConnectionPoint(IID_IOPCShutdown, point.GetAddressOf()), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sinkRef.Get(), &cookie), S_OK);
    EXPECT_EQ(CSimRuntime::Instance().RequestShutdown("", "Bye"), 1);
  }
  EXPECT_EQ(sink->RefCount(), 2u);  // ours and the queued call's
  ASSERT_EQ(queue.size(), 1u);
  queue[0]();
  EXPECT_EQ(sink->m_reasons, std::vector<std::string>{"Bye"});
}

TEST_F(SimServer, TextSignalsHaveADecimalPointUnderAnyLocale) {
  const CCommaLocale locale;
  if (!locale.Active()) {
    GTEST_SKIP() << "no de_DE.UTF-8 locale on this system";
  }
  Connection c = Connect(CLSID_VelmoraSimServer);
  Group g = AddGroup(c.server.Get(), "G");
  OPCITEMDEF def = Def("Signals.Ramp.BSTR");
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(1, &def, &results, &errors), S_OK);
  m_clock.AdvanceMs(15000);  // a quarter of the ramp: not a whole number
  std::vector<OPCITEMSTATE> values;
  ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, 1, &results[0].hServer, &values, &errors), S_OK);
  ASSERT_EQ(values[0].vDataValue.vt, VT_BSTR);
  const std::string text = values[0].vDataValue.bstrVal;
  EXPECT_NE(text.find('.'), std::string::npos) << text;
  EXPECT_EQ(text.find(','), std::string::npos) << text;
}
