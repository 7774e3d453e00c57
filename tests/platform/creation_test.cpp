#include "platform/com/category.h"
#include "platform/opc/opc_enum.h"
#include "sim_fixture.h"

namespace {

std::vector<GUID> ReadAll(IEnumGUID* enumerator) {
  std::vector<GUID> ids;
  GUID id;
  enumerator->Reset();
  while (enumerator->Next(1, &id, nullptr) == S_OK) {
    ids.push_back(id);
  }
  return ids;
}

bool Contains(const std::vector<GUID>& ids, const GUID& id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

using Creation = SimTest;

TEST_F(Creation, FullServerGivesEveryInterface) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  EXPECT_EQ(c.hr, S_OK);
  for (const HRESULT hr : c.slots) {
    EXPECT_EQ(hr, S_OK);
  }
  EXPECT_TRUE(c.server && c.common && c.container && c.properties && c.browse && c.publicGroups &&
              c.persist);
  CLSID clsid;
  EXPECT_EQ(c.persist->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_VelmoraSimServer);
}

TEST_F(Creation, Da1ServerLacksTheOptionalInterfaces) {
  Connection c = Connect(CLSID_VelmoraSimServerDA1);
  EXPECT_EQ(c.hr, CO_S_NOTALLINTERFACES);
  EXPECT_EQ(c.slots[0], S_OK);
  EXPECT_TRUE(c.server);
  EXPECT_EQ(c.slots[1], E_NOINTERFACE);  // IOPCCommon
  EXPECT_EQ(c.slots[2], E_NOINTERFACE);  // no connection points
  EXPECT_EQ(c.slots[3], E_NOINTERFACE);  // IOPCItemProperties is DA 2.0
  EXPECT_EQ(c.slots[4], S_OK);           // flat browsing
  EXPECT_EQ(c.slots[5], E_NOINTERFACE);
  EXPECT_EQ(c.slots[6], E_NOINTERFACE);
  EXPECT_FALSE(c.container);
  EXPECT_FALSE(c.common);
}

TEST_F(Creation, ServerWithoutBrowsing) {
  Connection c = Connect(CLSID_VelmoraSimServerNoBrowse);
  EXPECT_EQ(c.hr, CO_S_NOTALLINTERFACES);
  EXPECT_EQ(c.slots[4], E_NOINTERFACE);
  EXPECT_FALSE(c.browse);
  EXPECT_TRUE(c.server && c.container && c.properties);
}

TEST_F(Creation, NoInterfaceAtAllIsENoInterface) {
  MULTI_QI request;
  request.pIID = &IID_IOPCServerList;
  EXPECT_EQ(
      CoCreateInstanceEx(CLSID_VelmoraSimServer, nullptr, CLSCTX_SERVER, nullptr, 1, &request),
      E_NOINTERFACE);
  EXPECT_EQ(request.hr, E_NOINTERFACE);
  EXPECT_EQ(request.pItf, nullptr);
}

TEST_F(Creation, UnknownClassHostAndBadArguments) {
  const CLSID unknown{0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  Connection c = Connect(unknown);
  EXPECT_EQ(c.hr, REGDB_E_CLASSNOTREG);
  for (const HRESULT hr : c.slots) {
    EXPECT_EQ(hr, REGDB_E_CLASSNOTREG);
  }
  EXPECT_FALSE(c.server);
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer, "NOSUCHHOST").hr, RPC_S_SERVER_UNAVAILABLE);
  MULTI_QI request;
  EXPECT_EQ(
      CoCreateInstanceEx(CLSID_VelmoraSimServer, nullptr, CLSCTX_SERVER, nullptr, 0, &request),
      E_INVALIDARG);
  EXPECT_EQ(
      CoCreateInstanceEx(CLSID_VelmoraSimServer, nullptr, CLSCTX_SERVER, nullptr, 1, &request),
      E_INVALIDARG);  // no interface id in the slot
  request.pIID = &IID_IOPCServer;
  Connection self = Connect(CLSID_VelmoraSimServer);
  EXPECT_EQ(CoCreateInstanceEx(CLSID_VelmoraSimServer, self.server.Get(), CLSCTX_SERVER, nullptr, 1,
                               &request),
            CLASS_E_NOAGGREGATION);
}

TEST_F(Creation, RemoteHostsByAnySpelling) {
  for (const char* host : {"PLANTSRV01", "\\\\PLANTSRV01", "plantsrv01", "192.168.1.20", "TESTPC",
                           "\\\\testpc", "localhost"}) {
    Connection c = Connect(CLSID_VelmoraSimServer, host);
    EXPECT_EQ(c.hr, S_OK) << host;
    OPCSERVERSTATUS status;
    EXPECT_EQ(c.server->GetStatus(&status), S_OK) << host;
  }
  CSimRuntime::Instance().RemoteHosts()[0].m_bReachable = false;
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer, "PLANTSRV01").hr, RPC_S_SERVER_UNAVAILABLE);
  CSimRuntime::Instance().SetNetworkAvailable(false);
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer, "PLANTSRV01").hr, RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer).hr, S_OK);  // the local machine still works
}

TEST_F(Creation, ProgIdLookups) {
  CLSID clsid;
  EXPECT_EQ(CLSIDFromProgID("Velmora.SimServer.1", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_VelmoraSimServer);
  EXPECT_EQ(CLSIDFromProgID("velmora.simserverda1.1", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_VelmoraSimServerDA1);
  EXPECT_EQ(CLSIDFromProgID(GuidToString(CLSID_VelmoraSimServerNoBrowse), &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_VelmoraSimServerNoBrowse);
  const CLSID before = clsid;
  EXPECT_EQ(CLSIDFromProgID("Nobody.Server.1", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID("", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(clsid, before);
  std::string progId;
  EXPECT_EQ(ProgIDFromCLSID(CLSID_VelmoraSimServerDA1, &progId), S_OK);
  EXPECT_EQ(progId, "Velmora.SimServerDA1.1");
  EXPECT_EQ(ProgIDFromCLSID(GUID{}, &progId), REGDB_E_CLASSNOTREG);
}

TEST_F(Creation, ProgIdsHaveTheDocumentedShape) {
  for (const CSimClass& simClass : CSimRuntime::StandardServerClasses()) {
    const std::string& id = simClass.m_sProgId;
    const size_t first = id.find('.');
    const size_t last = id.rfind('.');
    ASSERT_NE(first, last) << id;
    EXPECT_GT(first, 0u);
    EXPECT_GT(last, first + 1);
    EXPECT_EQ(last + 2, id.size());
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(id.back())));
  }
}

TEST_F(Creation, ServerEnumeratorByClassFactoryOnTheLocalHost) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_OpcServerList, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                             factory.ReleaseAndGetVoidAddress()),
            S_OK);
  ComPtr<IOPCServerList> list;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IOPCServerList, list.ReleaseAndGetVoidAddress()),
            S_OK);
  ComPtr<IEnumGUID> classes;
  ASSERT_EQ(list->EnumClassesOfCategories(1, &CATID_OPCDAServer20, 1, &CATID_OPCDAServer20,
                                          classes.GetAddressOf()),
            S_OK);
  const std::vector<GUID> da2 = ReadAll(classes.Get());
  EXPECT_TRUE(Contains(da2, CLSID_VelmoraSimServer));
  EXPECT_TRUE(Contains(da2, CLSID_VelmoraSimServerNoBrowse));
  EXPECT_FALSE(Contains(da2, CLSID_VelmoraSimServerDA1));  // only in the 1.0 category
  std::string progId;
  std::string description;
  EXPECT_EQ(list->GetClassDetails(CLSID_VelmoraSimServer, &progId, &description), S_OK);
  EXPECT_EQ(progId, "Velmora.SimServer.1");
  EXPECT_EQ(description, "Velmora Simulation Server");
  EXPECT_EQ(list->GetClassDetails(GUID{}, &progId, &description), REGDB_E_CLASSNOTREG);
  CLSID clsid;
  EXPECT_EQ(list->CLSIDFromProgID("Velmora.SimServerNoBrowse.1", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_VelmoraSimServerNoBrowse);
  EXPECT_EQ(CoGetClassObject(GUID{}, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                             factory.ReleaseAndGetVoidAddress()),
            REGDB_E_CLASSNOTREG);
}

TEST_F(Creation, ServerEnumeratorOnARemoteHost) {
  COSERVERINFO info;
  info.pwszName = "\\\\PLANTSRV01";
  MULTI_QI request;
  request.pIID = &IID_IOPCServerList;
  ASSERT_EQ(CoCreateInstanceEx(CLSID_OpcServerList, nullptr, CLSCTX_SERVER, &info, 1, &request),
            S_OK);
  ComPtr<IOPCServerList> list;
  list.Attach(static_cast<IOPCServerList*>(request.pItf));
  ComPtr<IEnumGUID> classes;
  ASSERT_EQ(list->EnumClassesOfCategories(1, &CATID_OPCDAServer20, 1, &CATID_OPCDAServer20,
                                          classes.GetAddressOf()),
            S_OK);
  EXPECT_EQ(ReadAll(classes.Get()).size(), 2u);
  // The category manager reads the local registry only.
  info.pwszName = "PLANTSRV01";
  request.pIID = &IID_ICatInformation;
  EXPECT_EQ(CoCreateInstanceEx(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_SERVER, &info, 1,
                               &request),
            REGDB_E_CLASSNOTREG);
}

TEST_F(Creation, CategoryManagerListsBothCategories) {
  ComPtr<ICatInformation> categories;
  ASSERT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_SERVER,
                             IID_ICatInformation, categories.ReleaseAndGetVoidAddress()),
            S_OK);
  ComPtr<IEnumGUID> da1;
  ASSERT_EQ(
      categories->EnumClassesOfCategories(1, &CATID_OPCDAServer10, 0, nullptr, da1.GetAddressOf()),
      S_OK);
  const std::vector<GUID> da1Classes = ReadAll(da1.Get());
  EXPECT_EQ(da1Classes.size(), 2u);
  EXPECT_TRUE(Contains(da1Classes, CLSID_VelmoraSimServerDA1));
  EXPECT_TRUE(Contains(da1Classes, CLSID_VelmoraSimServer));
  EXPECT_EQ(categories->IsClassOfCategories(CLSID_VelmoraSimServerDA1, 1, &CATID_OPCDAServer20, 0,
                                            nullptr),
            S_FALSE);
  std::string description;
  EXPECT_EQ(categories->GetCategoryDesc(CATID_OPCDAServer20, 0, &description), S_OK);
  EXPECT_EQ(description, "OPC Data Access Servers Version 2.0");
  std::vector<CATEGORYINFO> all;
  EXPECT_EQ(categories->EnumCategories(1033, &all), S_OK);
  EXPECT_EQ(all.size(), 2u);
}

TEST_F(Creation, InitialisationCounts) {
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  CoUninitialize();
}
