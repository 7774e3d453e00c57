// The layer side of the Windows backend against the simulation servers: each real call
// of the bridge loops back to a layer object (win_loopback_calls.cpp), so the adapters,
// the conversions and the layer-side calls run as between client and COM server, with
// every value, string and array crossing the bridge's plain types twice.
#include <gtest/gtest.h>

#include <cstring>

#include "base/clock.h"
#include "opc/opc_browse.h"
#include "platform/com/com_ptr.h"
#include "platform/com/creation.h"
#include "platform/opc/opc_interfaces.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "platform/win/win_adapters.h"
#include "platform/win/win_layer_convert.h"

namespace {

class WinAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CSimRuntime& runtime = CSimRuntime::Instance();
    runtime.Reset();
    runtime.SetClock(&m_clock);
  }
  void TearDown() override { CSimRuntime::Instance().Reset(); }

  // The simulation server itself, and the same object seen through its adapter.
  static ComPtr<IOPCServer> Direct(const CLSID& clsid = CLSID_VelmoraSimServer) {
    ComPtr<IOPCServer> server;
    EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IOPCServer,
                                     server.ReleaseAndGetVoidAddress()));
    return server;
  }
  static ComPtr<IOPCServer> Adapted(const ComPtr<IOPCServer>& direct) {
    direct->AddRef();  // the adapter takes over one reference
    ComPtr<IOPCServer> adapter;
    EXPECT_EQ(S_OK, winbridge::WrapReal(winbridge::AdapterKind::kServer,
                                        static_cast<IUnknown*>(direct.Get()), IID_IOPCServer,
                                        adapter.ReleaseAndGetVoidAddress()));
    return adapter;
  }
  template <class I>
  static ComPtr<I> As(const ComPtr<IOPCServer>& server) {
    ComPtr<I> result;
    server.As(&result);
    return result;
  }
  // A group with the items on a server (direct or adapted), and the add results.
  struct Group {
    ComPtr<IOPCItemMgt> items;
    ComPtr<IOPCSyncIO> sync;
    HRESULT addResult = E_FAIL;
    std::vector<OPCITEMRESULT> results;
    std::vector<HRESULT> errors;
  };
  static Group AddGroupWith(IOPCServer& server, const std::vector<std::string>& ids) {
    Group group;
    OPCHANDLE handle = 0;
    DWORD revised = 0;
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, server.AddGroup("G", TRUE, 1000, 7, nullptr, nullptr, 0, &handle, &revised,
                                    IID_IUnknown, unknown.ReleaseAndGetAddressOf()));
    unknown.As(&group.items);
    unknown.As(&group.sync);
    std::vector<OPCITEMDEF> defs(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) {
      defs[i].szItemID = ids[i];
      defs[i].hClient = static_cast<OPCHANDLE>(i + 1);
    }
    group.addResult = group.items->AddItems(static_cast<DWORD>(defs.size()), defs.data(),
                                            &group.results, &group.errors);
    return group;
  }

  FakeClock m_clock;
};

class CRecordingSink : public CComObjectRoot<IOPCShutdown> {
 public:
  HRESULT ShutdownRequest(const std::string& szReason) override {
    m_reasons.push_back(szReason);
    return S_OK;
  }
  std::vector<std::string> m_reasons;
};

TEST_F(WinAdapterTest, ValuesCrossTheBridgeUnchanged) {
  std::vector<VARIANT> values;
  VARIANT v;
  v.vt = VT_I1;
  v.cVal = -5;
  values.push_back(v);
  v.vt = VT_UI2;
  v.uiVal = 65535;
  values.push_back(v);
  v.vt = VT_I8;
  v.llVal = -1234567890123LL;
  values.push_back(v);
  v.vt = VT_R4;
  v.fltVal = 1.5f;
  values.push_back(v);
  v.vt = VT_CY;
  v.cyVal.int64 = 125000;
  values.push_back(v);
  v.vt = VT_DATE;
  v.date = 46000.25;
  values.push_back(v);
  values.push_back(MakeVariantBool(true));
  values.push_back(MakeVariantBstr("Kühlwasser µ"));
  VARIANT array;
  array.vt = VT_ARRAY | VT_BSTR;
  array.parray = {MakeVariantBstr("a"), MakeVariantBstr("")};
  values.push_back(array);
  VARIANT numbers;
  numbers.vt = VT_ARRAY | VT_R8;
  numbers.parray = {MakeVariantR8(0.1), MakeVariantR8(-2.0)};
  values.push_back(numbers);
  for (const VARIANT& value : values) {
    SCOPED_TRACE(value.vt);
    const VARIANT back = winbridge::FromBridge(winbridge::ToBridge(value));
    EXPECT_EQ(value.vt, back.vt);
    EXPECT_EQ(value.llVal, back.llVal);
    EXPECT_EQ(value.bstrVal, back.bstrVal);
    ASSERT_EQ(value.parray.size(), back.parray.size());
    for (size_t i = 0; i < value.parray.size(); ++i) {
      EXPECT_EQ(value.vt & VT_TYPEMASK, back.parray[i].vt);
      EXPECT_EQ(value.parray[i].llVal, back.parray[i].llVal);
      EXPECT_EQ(value.parray[i].bstrVal, back.parray[i].bstrVal);
    }
  }
  GUID guid = CLSID_VelmoraSimServer;
  EXPECT_EQ(guid, winbridge::FromBridge(winbridge::ToBridge(guid)));
  FILETIME ft = FileTimeFromUint64(0x01DC123456789ABCull);
  const FILETIME ftBack = winbridge::FromBridge(winbridge::ToBridge(ft));
  EXPECT_EQ(FileTimeToUint64(ft), FileTimeToUint64(ftBack));
}

TEST_F(WinAdapterTest, AdapterAnswersOnlyWhatTheServerHas) {
  const ComPtr<IOPCServer> full = Adapted(Direct());
  EXPECT_TRUE(As<IOPCBrowseServerAddressSpace>(full));
  EXPECT_TRUE(As<IConnectionPointContainer>(full));
  EXPECT_TRUE(As<IPersistFile>(full));
  const ComPtr<IOPCServer> da1 = Adapted(Direct(CLSID_VelmoraSimServerDA1));
  EXPECT_TRUE(As<IOPCBrowseServerAddressSpace>(da1));
  EXPECT_FALSE(As<IOPCCommon>(da1));
  EXPECT_FALSE(As<IConnectionPointContainer>(da1));
  const ComPtr<IOPCServer> noBrowse = Adapted(Direct(CLSID_VelmoraSimServerNoBrowse));
  EXPECT_FALSE(As<IOPCBrowseServerAddressSpace>(noBrowse));
  // One identity: every interface of the adapter gives the same IUnknown.
  ComPtr<IUnknown> a;
  ComPtr<IUnknown> b;
  full.As(&a);
  As<IOPCCommon>(full).As(&b);
  EXPECT_EQ(a.Get(), b.Get());
}

TEST_F(WinAdapterTest, BrowsingThroughTheAdapterMatchesTheServer) {
  const ComPtr<IOPCServer> direct = Direct();
  const ComPtr<IOPCServer> adapter = Adapted(Direct());
  for (const VARTYPE type : {static_cast<VARTYPE>(VT_EMPTY), static_cast<VARTYPE>(VT_R4)}) {
    std::vector<BrowseEntry> expected;
    std::vector<BrowseEntry> actual;
    ASSERT_EQ(S_OK,
              WalkAddressSpace(*As<IOPCBrowseServerAddressSpace>(direct), "*", type, 0, expected));
    ASSERT_EQ(S_OK,
              WalkAddressSpace(*As<IOPCBrowseServerAddressSpace>(adapter), "*", type, 0, actual));
    ASSERT_EQ(expected.size(), actual.size());
    ASSERT_GT(actual.size(), 20u);
    for (size_t i = 0; i < actual.size(); ++i) {
      EXPECT_EQ(expected[i].m_nDepth, actual[i].m_nDepth);
      EXPECT_EQ(expected[i].m_bBranch, actual[i].m_bBranch);
      EXPECT_EQ(expected[i].m_sItemId, actual[i].m_sItemId);
    }
  }
  ComPtr<IEnumString> strings;
  const ComPtr<IOPCBrowseServerAddressSpace> browse = As<IOPCBrowseServerAddressSpace>(adapter);
  EXPECT_EQ(OPC_E_INVALIDFILTER, browse->BrowseOPCItemIDs(OPC_FLAT, "[!", VT_EMPTY, 0,
                                                          strings.ReleaseAndGetAddressOf()));
  EXPECT_FALSE(strings);
  OPCNAMESPACETYPE organization = OPC_NS_FLAT;
  EXPECT_EQ(S_OK, browse->QueryOrganization(&organization));
  EXPECT_EQ(OPC_NS_HIERARCHIAL, organization);
  EXPECT_TRUE(FAILED(browse->ChangeBrowsePosition(OPC_BROWSE_UP, "")));
}

TEST_F(WinAdapterTest, ItemsAndReadsThroughTheAdapterMatchTheServer) {
  const std::vector<std::string> ids = {"Plant.Line1.Machine1.SetPoint", "No.Such.Item",
                                        "Quality.BadCommFailure", "Signals.Arrays.BSTR",
                                        "Plant.Line1.Machine1.Mode"};
  const ComPtr<IOPCServer> direct = Direct();
  const ComPtr<IOPCServer> adapter = Adapted(Direct());
  Group expected = AddGroupWith(*direct, ids);
  Group actual = AddGroupWith(*adapter, ids);
  EXPECT_EQ(S_FALSE, actual.addResult);
  ASSERT_EQ(expected.errors, actual.errors);
  EXPECT_EQ(OPC_E_UNKNOWNITEMID, actual.errors[1]);
  ASSERT_EQ(ids.size(), actual.results.size());
  std::vector<OPCHANDLE> expectedHandles;
  std::vector<OPCHANDLE> actualHandles;
  for (size_t i = 0; i < ids.size(); ++i) {
    EXPECT_EQ(expected.results[i].vtCanonicalDataType, actual.results[i].vtCanonicalDataType);
    EXPECT_EQ(expected.results[i].dwAccessRights, actual.results[i].dwAccessRights);
    if (i != 1) {
      expectedHandles.push_back(expected.results[i].hServer);
      actualHandles.push_back(actual.results[i].hServer);
    }
  }
  std::vector<OPCITEMSTATE> expectedStates;
  std::vector<OPCITEMSTATE> actualStates;
  std::vector<HRESULT> expectedErrors;
  std::vector<HRESULT> actualErrors;
  ASSERT_EQ(S_OK, expected.sync->Read(OPC_DS_CACHE, static_cast<DWORD>(expectedHandles.size()),
                                      expectedHandles.data(), &expectedStates, &expectedErrors));
  ASSERT_EQ(S_OK, actual.sync->Read(OPC_DS_CACHE, static_cast<DWORD>(actualHandles.size()),
                                    actualHandles.data(), &actualStates, &actualErrors));
  EXPECT_EQ(expectedErrors, actualErrors);
  ASSERT_EQ(expectedStates.size(), actualStates.size());
  for (size_t i = 0; i < actualStates.size(); ++i) {
    EXPECT_EQ(expectedStates[i].hClient, actualStates[i].hClient);
    EXPECT_EQ(expectedStates[i].wQuality, actualStates[i].wQuality);
    EXPECT_EQ(FileTimeToUint64(expectedStates[i].ftTimeStamp),
              FileTimeToUint64(actualStates[i].ftTimeStamp));
    EXPECT_EQ(expectedStates[i].vDataValue.vt, actualStates[i].vDataValue.vt);
    EXPECT_EQ(expectedStates[i].vDataValue.llVal, actualStates[i].vDataValue.llVal);
    EXPECT_EQ(expectedStates[i].vDataValue.bstrVal, actualStates[i].vDataValue.bstrVal);
    EXPECT_EQ(expectedStates[i].vDataValue.parray.size(), actualStates[i].vDataValue.parray.size());
  }
  EXPECT_EQ(OPC_QUALITY_COMM_FAILURE, actualStates[1].wQuality & OPC_STATUS_MASK);
  EXPECT_EQ(VT_BSTR, actualStates[3].vDataValue.vt);
  EXPECT_FALSE(actualStates[3].vDataValue.bstrVal.empty());
}

TEST_F(WinAdapterTest, FailuresAndStatusPassThrough) {
  CSimRuntime::Instance().Faults(kSimServerProgId).m_hrReadError = E_FAIL;
  const ComPtr<IOPCServer> adapter = Adapted(Direct());
  Group group = AddGroupWith(*adapter, {"Plant.Line1.Machine1.SetPoint"});
  ASSERT_EQ(S_OK, group.addResult);
  std::vector<OPCITEMSTATE> states;
  std::vector<HRESULT> errors;
  const OPCHANDLE handle = group.results[0].hServer;
  EXPECT_EQ(E_FAIL, group.sync->Read(OPC_DS_CACHE, 1, &handle, &states, &errors));

  OPCSERVERSTATUS status;
  ASSERT_EQ(S_OK, adapter->GetStatus(&status));
  EXPECT_EQ(OPC_STATUS_RUNNING, status.dwServerState);
  EXPECT_EQ(1u, status.dwGroupCount);
  EXPECT_FALSE(status.szVendorInfo.empty());
  CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
  EXPECT_EQ(RPC_S_SERVER_UNAVAILABLE, adapter->GetStatus(&status));
  EXPECT_EQ(E_INVALIDARG, adapter->GetStatus(nullptr));
}

TEST_F(WinAdapterTest, ShutdownRequestReachesTheAdvisedSink) {
  const ComPtr<IOPCServer> adapter = Adapted(Direct());
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(S_OK, As<IConnectionPointContainer>(adapter)->FindConnectionPoint(
                      IID_IOPCShutdown, point.ReleaseAndGetAddressOf()));
  IID iid;
  EXPECT_EQ(S_OK, point->GetConnectionInterface(&iid));
  EXPECT_EQ(IID_IOPCShutdown, iid);
  ComPtr<CRecordingSink> sink(new CRecordingSink());
  DWORD cookie = 0;
  ASSERT_EQ(S_OK, point->Advise(static_cast<IOPCShutdown*>(sink.Get()), &cookie));
  EXPECT_NE(0u, cookie);
  EXPECT_EQ(1, CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Planned maintenance"));
  ASSERT_EQ(1u, sink->m_reasons.size());
  EXPECT_EQ("Planned maintenance", sink->m_reasons[0]);
  EXPECT_EQ(S_OK, point->Unadvise(cookie));
  EXPECT_EQ(0, CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "again"));
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cookie));
  // Advised twice and released: the server's wrappers let go of the sink.
  ASSERT_EQ(S_OK, point->Advise(static_cast<IOPCShutdown*>(sink.Get()), &cookie));
  ASSERT_EQ(S_OK, point->Unadvise(cookie));
  EXPECT_EQ(1u, sink->RefCount());
}

TEST_F(WinAdapterTest, ObjectsAreReleasedWithTheirAdapters) {
  ComPtr<IOPCServer> direct = Direct();
  {
    const ComPtr<IOPCServer> adapter = Adapted(direct);
    Group group = AddGroupWith(*adapter, {"Plant.Line1.Machine1.SetPoint"});
    ComPtr<IEnumString> strings;
    As<IOPCBrowseServerAddressSpace>(adapter)->BrowseOPCItemIDs(OPC_BRANCH, "*", VT_EMPTY, 0,
                                                                strings.ReleaseAndGetAddressOf());
    ASSERT_TRUE(strings);
  }
  // Only the test's own reference is left on the server object.
  const ULONG count = direct->AddRef();
  direct->Release();
  EXPECT_EQ(2u, count);
}

// A C++ exception inside a call never unwinds into the caller.
TEST_F(WinAdapterTest, GuardTurnsExceptionsIntoServerFault) {
  EXPECT_EQ(RPC_E_SERVERFAULT, winbridge::Guarded([]() -> HRESULT { throw std::bad_alloc(); }));
  EXPECT_EQ(S_FALSE, winbridge::Guarded([] { return S_FALSE; }));
}

}  // namespace
