#include <cstdlib>
#include <fstream>
#include <functional>

#include "platform/sim/sim_describe.h"
#include "sim_fixture.h"
#include "temp_dir.h"

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

class SimFaults : public SimTest {
 protected:
  // A connected full server with one group holding one item.
  void Open(const CLSID& clsid = CLSID_VelmoraSimServer) {
    m_connection = Connect(clsid);
    ASSERT_TRUE(SUCCEEDED(m_connection.hr));
    m_group = AddGroup(m_connection.server.Get(), "G");
    OPCITEMDEF def = Def(clsid == CLSID_VelmoraSimServerDA1 ? "Sine_R8" : "Signals.Sine.R8");
    std::vector<OPCITEMRESULT> results;
    std::vector<HRESULT> errors;
    ASSERT_EQ(m_group.items->AddItems(1, &def, &results, &errors), S_OK);
    m_hItem = results[0].hServer;
  }
  HRESULT Read(OPCDATASOURCE source = OPC_DS_CACHE) {
    return ReadFrom(m_group.sync.Get(), m_hItem, source);
  }
  static HRESULT ReadFrom(IOPCSyncIO* sync, OPCHANDLE item, OPCDATASOURCE source = OPC_DS_CACHE) {
    std::vector<OPCITEMSTATE> values;
    std::vector<HRESULT> errors;
    return sync->Read(source, 1, &item, &values, &errors);
  }
  // Dies 20 s after its creation; its process is down for 15 s after a death.
  static void SetRestartingServer() {
    CSimFaults& faults = CSimRuntime::Instance().Faults("Velmora.SimServer.1");
    faults.m_nDieAfterMs = 20000;
    faults.m_nReviveAfterMs = 15000;
  }
  HRESULT Status() {
    OPCSERVERSTATUS status;
    return m_connection.server->GetStatus(&status);
  }

  Connection m_connection;
  Group m_group;
  OPCHANDLE m_hItem = 0;
};

TEST_F(SimFaults, ReadsFailWithTheChosenCode) {
  Open();
  CSimRuntime::Instance().Faults("Velmora.SimServer.1").m_hrReadError = E_OUTOFMEMORY;
  EXPECT_EQ(Read(), E_OUTOFMEMORY);
  EXPECT_EQ(Read(OPC_DS_DEVICE), E_OUTOFMEMORY);
  EXPECT_EQ(Status(), S_OK);
  CSimRuntime::Instance().ClearFaults();
  EXPECT_EQ(Read(), S_OK);
}

TEST_F(SimFaults, WildcardFaultsApplyToEveryServer) {
  Open(CLSID_VelmoraSimServerDA1);
  CSimRuntime::Instance().Faults("*").m_hrReadError = E_FAIL;
  EXPECT_EQ(Read(), E_FAIL);
  CSimRuntime::Instance().Faults("Velmora.SimServerDA1.1");  // its own, empty, entry wins
  EXPECT_EQ(Read(), S_OK);
}

TEST_F(SimFaults, DeadServerFailsEveryCall) {
  Open();
  CSimRuntime::Instance().Faults("Velmora.SimServer.1").m_bDead = true;
  EXPECT_EQ(Status(), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(Read(), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(m_connection.server->RemoveGroup(m_group.handle, TRUE), RPC_S_SERVER_UNAVAILABLE);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(m_connection.container->FindConnectionPoint(IID_IOPCShutdown, point.GetAddressOf()),
            RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer).hr, RPC_S_SERVER_UNAVAILABLE);
  // Another server is not affected.
  EXPECT_EQ(Connect(CLSID_VelmoraSimServerNoBrowse).hr, CO_S_NOTALLINTERFACES);
}

TEST_F(SimFaults, ServerDiesAfterAWhileAndStaysDead) {
  CSimRuntime::Instance().Faults("Velmora.SimServer.1").m_nDieAfterMs = 60000;
  Open();
  m_clock.AdvanceMs(59999);
  EXPECT_EQ(Status(), S_OK);
  m_clock.AdvanceMs(1);
  EXPECT_EQ(Status(), RPC_S_SERVER_UNAVAILABLE);
  CSimRuntime::Instance().ClearFaults();
  EXPECT_EQ(Status(), RPC_S_SERVER_UNAVAILABLE);  // a dead process does not come back
  Connection fresh = Connect(CLSID_VelmoraSimServer);
  OPCSERVERSTATUS status;
  EXPECT_EQ(fresh.server->GetStatus(&status), S_OK);
}

TEST_F(SimFaults, WithoutReviveANewInstanceStartsAtOnceAfterADeath) {
  CSimRuntime::Instance().Faults("Velmora.SimServer.1").m_nDieAfterMs = 20000;
  Open();
  m_clock.AdvanceMs(20000);
  EXPECT_EQ(Read(), RPC_S_SERVER_UNAVAILABLE);
  Connection fresh = Connect(CLSID_VelmoraSimServer);
  ASSERT_TRUE(SUCCEEDED(fresh.hr));
  OPCSERVERSTATUS status;
  EXPECT_EQ(fresh.server->GetStatus(&status), S_OK);
}

TEST_F(SimFaults, DeadServerProcessComesBackAfterTheReviveTime) {
  std::string error;
  ASSERT_TRUE(CSimRuntime::Instance().LoadConfigurationText(
      "[server Velmora.SimServer.1]\ndie_after_ms = 20000\nrevive_after_ms = 15000\n", &error))
      << error;
  EXPECT_EQ(CSimRuntime::Instance().FaultsFor("Velmora.SimServer.1").m_nReviveAfterMs, 15000);
  EXPECT_NE(DescribeSimulation(CSimRuntime::Instance())
                .find("\tdie_after_ms=20000\trevive_after_ms=15000\n"),
            std::string::npos);
  Open();
  m_clock.AdvanceMs(19000);
  EXPECT_EQ(Read(), S_OK);
  m_clock.AdvanceMs(1000);  // 20 s
  EXPECT_EQ(Read(), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(Status(), RPC_S_SERVER_UNAVAILABLE);

  m_clock.AdvanceMs(5000);  // 25 s: the process is down, for either way of creating
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer).hr, RPC_S_SERVER_UNAVAILABLE);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(CLSID_VelmoraSimServer, CLSCTX_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(factory.GetAddressOf())),
            S_OK);
  void* object = nullptr;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IOPCServer, &object), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(Connect(CLSID_VelmoraSimServerNoBrowse).hr, CO_S_NOTALLINTERFACES);  // another one
  m_clock.AdvanceMs(9999);
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer).hr, RPC_S_SERVER_UNAVAILABLE);

  m_clock.AdvanceMs(1);  // 35 s: a fresh server; the old instance stays dead
  const ComPtr<IOPCSyncIO> oldSync = m_group.sync;
  const OPCHANDLE oldItem = m_hItem;
  Open();
  EXPECT_EQ(Read(), S_OK);
  EXPECT_EQ(Status(), S_OK);
  EXPECT_EQ(ReadFrom(oldSync.Get(), oldItem), RPC_S_SERVER_UNAVAILABLE);

  m_clock.AdvanceMs(20000);  // 55 s: it dies 20 s after its own creation, and so on
  EXPECT_EQ(Read(), RPC_S_SERVER_UNAVAILABLE);
  m_clock.AdvanceMs(14999);
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer).hr, RPC_S_SERVER_UNAVAILABLE);
  m_clock.AdvanceMs(1);
  EXPECT_TRUE(SUCCEEDED(Connect(CLSID_VelmoraSimServer).hr));
}

TEST_F(SimFaults, DeathsNobodyCalledAlsoTakeTheProcessDown) {
  SetRestartingServer();
  Open();
  m_clock.AdvanceMs(20000);  // the instance dies while nobody calls it
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer).hr, RPC_S_SERVER_UNAVAILABLE);
  m_clock.AdvanceMs(15000);
  Connection second = Connect(CLSID_VelmoraSimServer);
  ASSERT_TRUE(SUCCEEDED(second.hr));
  m_clock.AdvanceMs(20000);  // the second one dies uncalled and is released
  second = Connection{};
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer).hr, RPC_S_SERVER_UNAVAILABLE);

  // Clearing the faults brings the process back at once.
  CSimRuntime::Instance().ClearFaults();
  SetRestartingServer();
  EXPECT_TRUE(SUCCEEDED(Connect(CLSID_VelmoraSimServer).hr));
  EXPECT_EQ(Status(), RPC_S_SERVER_UNAVAILABLE);  // the first instance stays dead
}

TEST_F(SimFaults, TimedShutdownRequestWithReason) {
  CSimFaults& faults = CSimRuntime::Instance().Faults("Velmora.SimServer.1");
  faults.m_nShutdownAfterMs = 5000;
  faults.m_sShutdownReason = "Planned Maintenance";
  Open();
  auto* sink = new CRecordingSink;
  ComPtr<IOPCShutdown> sinkRef(sink);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(m_connection.container->FindConnectionPoint(IID_IOPCShutdown, point.GetAddressOf()),
            S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sinkRef.Get(), &cookie), S_OK);
  EXPECT_EQ(Status(), S_OK);
  EXPECT_TRUE(sink->m_reasons.empty());
  m_clock.AdvanceMs(5000);
  EXPECT_EQ(Status(), S_OK);  // the request rides on the next call
  EXPECT_EQ(sink->m_reasons, std::vector<std::string>{"Planned Maintenance"});
  EXPECT_EQ(Read(), S_OK);
  EXPECT_EQ(sink->m_reasons.size(), 1u);  // once
}

TEST_F(SimFaults, TimedShutdownDueBeforeAdviseIsSentOnceASinkIsAdvised) {
  CSimRuntime::Instance().Faults("Velmora.SimServer.1").m_nShutdownAfterMs = 1000;
  Open();
  m_clock.AdvanceMs(1000);
  EXPECT_EQ(Status(), S_OK);  // due now, with nobody to tell
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(m_connection.container->FindConnectionPoint(IID_IOPCShutdown, point.GetAddressOf()),
            S_OK);
  auto* sink = new CRecordingSink;
  ComPtr<IOPCShutdown> sinkRef(sink);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sinkRef.Get(), &cookie), S_OK);
  EXPECT_EQ(sink->m_reasons, std::vector<std::string>{"Server Shutdown Requested"});
  EXPECT_EQ(Read(), S_OK);
  // Once only, also for a client that advises again.
  ASSERT_EQ(point->Unadvise(cookie), S_OK);
  auto* second = new CRecordingSink;
  ComPtr<IOPCShutdown> secondRef(second);
  ASSERT_EQ(point->Advise(secondRef.Get(), &cookie), S_OK);
  EXPECT_EQ(Status(), S_OK);
  EXPECT_EQ(sink->m_reasons.size(), 1u);
  EXPECT_TRUE(second->m_reasons.empty());
}

TEST_F(SimFaults, RefusedItemsAndSlowReads) {
  CSimFaults& faults = CSimRuntime::Instance().Faults("Velmora.SimServer.1");
  faults.m_refusedItems = {"Plant.Line1.*"};
  faults.m_hrRefusedItem = OPC_E_UNKNOWNPATH;
  faults.m_nSlowReadMs = 750;
  Open();
  std::vector<OPCITEMDEF> defs = {Def("Plant.Line1.Tank1.Level"), Def("Plant.Line2.Tank1.Level")};
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(m_group.items->AddItems(2, defs.data(), &results, &errors), S_FALSE);
  EXPECT_EQ(errors[0], OPC_E_UNKNOWNPATH);
  EXPECT_EQ(errors[1], S_OK);
  uint32_t before = m_clock.TickCount();
  EXPECT_EQ(Read(), S_OK);
  EXPECT_EQ(m_clock.TickCount() - before, 750u);
  before = m_clock.TickCount();
  EXPECT_EQ(Read(OPC_DS_DEVICE), S_OK);
  EXPECT_GT(m_clock.TickCount() - before, 750u);
}

TEST_F(SimFaults, RefusedBrowseFilterAndServerState) {
  CSimFaults& faults = CSimRuntime::Instance().Faults("Velmora.SimServer.1");
  faults.m_refusedFilters = {"Temp*"};
  faults.m_nServerState = 6;
  Open();
  ComPtr<IEnumString> names;
  EXPECT_EQ(
      m_connection.browse->BrowseOPCItemIDs(OPC_FLAT, "Temp*", VT_EMPTY, 0, names.GetAddressOf()),
      OPC_E_INVALIDFILTER);
  EXPECT_FALSE(names);
  EXPECT_EQ(
      m_connection.browse->BrowseOPCItemIDs(OPC_FLAT, "*Temp*", VT_EMPTY, 0, names.GetAddressOf()),
      S_OK);
  OPCSERVERSTATUS status;
  ASSERT_EQ(m_connection.server->GetStatus(&status), S_OK);
  EXPECT_EQ(static_cast<DWORD>(status.dwServerState), 6u);
}

TEST_F(SimFaults, ConfigurationFileSetsFaultsAndNetwork) {
  const std::string text =
      "# test configuration\n"
      "[network]\n"
      "computer = bench01\n"
      "workgroup = LAB\n"
      "\n"
      "[workgroup PLANT]\n"
      "hosts = SCADA1, SCADA2\n"
      "\n"
      "[host SCADA1]\n"
      "address = 10.0.0.5\n"
      "servers = Velmora.SimServer.1, Velmora.SimServerDA1.1\n"
      "server = Acme.Plant.2, {11111111-2222-3333-4444-555555555555}, nobrowse, Acme, Plant\n"
      "\n"
      "[host SCADA2]\n"
      "opcenum = 0\n"
      "reachable = no\n"
      "\n"
      "[server Velmora.SimServer.1]\n"
      "read_error = 0x80004005\n"
      "min_update_rate = 1500\n"
      "refuse_item = Plant.*;Line1\n"
      "refuse_item = Signals.Ramp.*\n"
      "refuse_filter = Temp*\n"
      "shutdown_after_ms = 2000\n"
      "shutdown_reason = Bye; see you\n"
      "slow_read_ms = 25\n"
      "state = 4\n";
  std::string error;
  ASSERT_TRUE(CSimRuntime::Instance().LoadConfigurationText(text, &error)) << error;
  CSimRuntime& runtime = CSimRuntime::Instance();
  EXPECT_EQ(runtime.ComputerName(), "BENCH01");
  EXPECT_EQ(runtime.Workgroups(), (std::vector<std::string>{"PLANT", "LAB"}));
  ASSERT_EQ(runtime.RemoteHosts().size(), 2u);
  const CSimHost* scada1 = runtime.FindHost("\\\\scada1");
  ASSERT_NE(scada1, nullptr);
  EXPECT_EQ(scada1->m_sWorkgroup, "PLANT");
  EXPECT_EQ(scada1->m_sAddress, "10.0.0.5");
  ASSERT_EQ(scada1->m_classes.size(), 4u);  // two servers, Acme and OPCEnum
  const CSimClass* acme = scada1->FindProgId("Acme.Plant.2");
  ASSERT_NE(acme, nullptr);
  EXPECT_EQ(acme->m_eKind, SimServerKind::kNoBrowse);
  EXPECT_EQ(acme->m_sDescription, "Acme, Plant");
  const CSimHost* scada2 = runtime.FindHost("SCADA2");
  ASSERT_NE(scada2, nullptr);
  EXPECT_FALSE(scada2->m_bReachable);
  EXPECT_TRUE(scada2->m_classes.empty());              // no OPCEnum either
  EXPECT_EQ(runtime.FindHost("PLANTSRV01"), nullptr);  // the default network is replaced
  const CSimFaults& faults = runtime.FaultsFor("Velmora.SimServer.1");
  EXPECT_EQ(faults.m_hrReadError, E_FAIL);
  EXPECT_EQ(faults.m_nMinUpdateRate, 1500u);
  EXPECT_EQ(faults.m_refusedItems, (std::vector<std::string>{"Plant.*;Line1", "Signals.Ramp.*"}));
  EXPECT_EQ(faults.m_refusedFilters, std::vector<std::string>{"Temp*"});
  EXPECT_EQ(faults.m_nShutdownAfterMs, 2000);
  EXPECT_EQ(faults.m_sShutdownReason, "Bye; see you");
  EXPECT_EQ(faults.m_nSlowReadMs, 25u);
  EXPECT_EQ(faults.m_nServerState, 4u);

  // The custom server answers on its host.
  Connection c = Connect(
      GUID{0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}}, "SCADA1");
  EXPECT_EQ(c.hr, CO_S_NOTALLINTERFACES);
  EXPECT_EQ(Connect(CLSID_VelmoraSimServer, "SCADA2").hr, RPC_S_SERVER_UNAVAILABLE);
}

TEST_F(SimFaults, BadConfigurationIsRefusedWholly) {
  CSimRuntime& runtime = CSimRuntime::Instance();
  std::string error;
  EXPECT_FALSE(
      runtime.LoadConfigurationText("[server X]\nread_error = 0x80004005\n[bogus]\n", &error));
  EXPECT_EQ(error, "line 3: section [bogus] needs a name");
  EXPECT_EQ(runtime.FaultsFor("X").m_hrReadError, S_OK);  // nothing applied
  EXPECT_FALSE(runtime.LoadConfigurationText("[server X]\nslow_read_ms = fast\n", &error));
  EXPECT_EQ(error, "line 2: slow_read_ms must be a number of 0 or more");
  EXPECT_FALSE(runtime.LoadConfigurationText("[server X]\nrevive_after_ms = -1\n", &error));
  EXPECT_EQ(error, "line 2: revive_after_ms must be a number of 0 or more");
  EXPECT_FALSE(runtime.LoadConfigurationText("[host H]\nservers = Nobody.Server.1\n", &error));
  EXPECT_FALSE(runtime.LoadConfigurationText("key = value\n", &error));
  EXPECT_EQ(error, "line 1: key outside a section");
  EXPECT_FALSE(runtime.LoadConfigurationText("[host H]\nserver = A.B.1, {nope}, full\n", &error));
  EXPECT_FALSE(runtime.LoadConfigurationText("[network\n", &error));
  EXPECT_NE(runtime.FindHost("PLANTSRV01"), nullptr);
}

TEST_F(SimFaults, ConfigurationFromTheEnvironment) {
  TempDir dir;
  const std::string path = dir.File("sim.ini");
  std::ofstream(path) << "[server Velmora.SimServer.1]\ndead = 1\n";
  ASSERT_EQ(setenv(kSimConfigEnvironmentVariable, path.c_str(), 1), 0);
  std::string error;
  EXPECT_TRUE(CSimRuntime::Instance().LoadConfigurationFromEnvironment(&error)) << error;
  EXPECT_TRUE(CSimRuntime::Instance().FaultsFor("Velmora.SimServer.1").m_bDead);
  ASSERT_EQ(setenv(kSimConfigEnvironmentVariable, (path + ".missing").c_str(), 1), 0);
  EXPECT_FALSE(CSimRuntime::Instance().LoadConfigurationFromEnvironment(&error));
  unsetenv(kSimConfigEnvironmentVariable);
  EXPECT_TRUE(CSimRuntime::Instance().LoadConfigurationFromEnvironment(&error));
}

namespace {

// A client that closes everything from within the shutdown request, as a client running
// its close sequence at once would.
class CClosingSink : public CComObjectRoot<IOPCShutdown> {
 public:
  std::function<void()> m_close;
  int m_nCalls = 0;
  HRESULT ShutdownRequest(const std::string& /*reason*/) override {
    ++m_nCalls;
    m_close();
    return S_OK;
  }
};

}  // namespace

TEST_F(SimFaults, ClientMayDisconnectInsideATimedShutdownRequest) {
  CSimRuntime::Instance().Faults("Velmora.SimServer.1").m_nShutdownAfterMs = 1000;
  Open();
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(m_connection.container->FindConnectionPoint(IID_IOPCShutdown, point.GetAddressOf()),
            S_OK);
  auto* sink = new CClosingSink;
  ComPtr<IOPCShutdown> sinkRef(sink);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(sinkRef.Get(), &cookie), S_OK);
  ComPtr<IOPCSyncIO> sync = m_group.sync;
  sink->m_close = [&]() {
    point->Unadvise(cookie);
    point.Reset();
    m_connection.server->RemoveGroup(m_group.handle, TRUE);
    m_group = Group{};
    m_connection = Connection{};
    sync.Reset();  // the last reference to the group and, with it, to the server's state
  };
  m_clock.AdvanceMs(1000);
  std::vector<OPCITEMSTATE> values;
  std::vector<HRESULT> errors;
  // The request arrives when the read is done; the read itself completes normally.
  EXPECT_EQ(sync->Read(OPC_DS_CACHE, 1, &m_hItem, &values, &errors), S_OK);
  EXPECT_EQ(sink->m_nCalls, 1);
  EXPECT_FALSE(sync);
  EXPECT_FALSE(m_connection.server);
}
