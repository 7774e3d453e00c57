#include <gtest/gtest.h>

#include "opc/opc_shutdown_sink.h"
#include "opc_model_access.h"
#include "opc_test_fixture.h"

namespace {

using OpcSessionTest = OpcServerTest;

TEST_F(OpcSessionTest, FullServerConnectsWithEveryInterfaceAndTheShutdownSink) {
  ASSERT_TRUE(ConnectFull());
  EXPECT_TRUE(server->IsConnected());
  EXPECT_TRUE(server->Connection().OPCServer());
  EXPECT_TRUE(server->Connection().Common());
  EXPECT_TRUE(server->Connection().ConnectionPointContainer());
  EXPECT_TRUE(server->Connection().ItemProperties());
  EXPECT_TRUE(server->Connection().BrowseServerAddressSpace());
  EXPECT_TRUE(server->Connection().ServerPublicGroups());
  EXPECT_TRUE(server->Connection().PersistFile());
  EXPECT_TRUE(server->Connection().ShutdownSink());
  EXPECT_NE(server->Connection().ShutdownCookie(), 0u);
  EXPECT_EQ(server->ServerId(), kSimServerProgId);
  EXPECT_EQ(server->Clsid(), CLSID_VelmoraSimServer);
  const std::vector<std::string> messages = ctx.sink.Messages(kLogOpcServer);
  ASSERT_EQ(messages.size(), 3u) << ctx.sink.Dump();
  EXPECT_EQ(messages[0], "Connecting to OPC Server Velmora.SimServer.1 on Local Host");
  EXPECT_EQ(messages[1],
            "Successful Creation of Interfaces Pointers to OPC Server Velmora.SimServer.1 on Local "
            "Host in 0 ms");
  EXPECT_EQ(messages[2],
            "Successful Creation of Shutdown Sink to OPC Server Velmora.SimServer.1 on Local Host "
            "in 0 ms");
  EXPECT_TRUE(server->IsAlive());
  std::string state;
  EXPECT_TRUE(server->GetServerStateText(state));
  EXPECT_EQ(state, "Running");
}

TEST_F(OpcSessionTest, NotAllInterfacesCountsAsSuccessAndLogsEachMissingOne) {
  ASSERT_TRUE(server->Connect(kSimServerDa1ProgId, kLocalHost, GUID_NULL));
  EXPECT_EQ(server->Connection().InterfaceRequests()[0].hr, S_OK);
  EXPECT_TRUE(server->Connection().OPCServer());
  EXPECT_FALSE(server->Connection().Common());
  EXPECT_FALSE(server->Connection().ConnectionPointContainer());
  const char* const expected[] = {
      "Query for IOPCCommon Interface Pointer Failed for OPC Server Velmora.SimServerDA1.1 on "
      "Local Host ... Error: 80004002  Reason: No such interface supported",
      "Query for IConnectionPoint Interface Pointer Failed for OPC Server Velmora.SimServerDA1.1 "
      "on Local Host ... Error: 80004002  Reason: No such interface supported",
      "Query for IOPCItemProperties Interface Pointer Failed for OPC Server "
      "Velmora.SimServerDA1.1 on Local Host ... Error: 80004002  Reason: No such interface "
      "supported",
      "Query for IPersistFile Interface Pointer Failed for OPC Server Velmora.SimServerDA1.1 on "
      "Local Host ... Error: 80004002  Reason: No such interface supported",
  };
  for (const char* line : expected)
    EXPECT_EQ(ctx.sink.Count(line, kLogOpcServer), 1) << line << "\n" << ctx.sink.Dump();
  // Browsing is offered; public groups are missing but never logged.
  EXPECT_FALSE(ctx.sink.Contains("IOPCBrowseServerAddressSpace Interface Pointer Failed"));
  EXPECT_FALSE(ctx.sink.Contains("IOPCServerPublicGroups"));
  EXPECT_FALSE(ctx.sink.Contains("Shutdown Sink"));
  EXPECT_TRUE(ctx.sink.Contains("Successful Creation of Interfaces Pointers"));
}

TEST_F(OpcSessionTest, ServerWithoutConnectionPointsHasNoSinkAndDisconnectSkipsUnadvise) {
  ASSERT_TRUE(server->Connect(kSimServerDa1ProgId, kLocalHost, GUID_NULL));
  EXPECT_FALSE(server->Connection().ShutdownSink());
  EXPECT_EQ(server->Connection().ShutdownCookie(), 0u);
  ctx.sink.Clear();
  server->Disconnect();
  EXPECT_FALSE(server->IsConnected());
  EXPECT_FALSE(server->Connection().OPCServer());
  EXPECT_FALSE(server->Connection().BrowseServerAddressSpace());
  EXPECT_TRUE(ctx.sink.lines.empty()) << ctx.sink.Dump();
}

TEST_F(OpcSessionTest, DisconnectUnadvisesTheShutdownSink) {
  ASSERT_TRUE(ConnectFull());
  ASSERT_TRUE(server->Connection().ShutdownSink());
  server->Disconnect();
  EXPECT_EQ(server->Connection().ShutdownCookie(), 0u);
  EXPECT_FALSE(server->Connection().ShutdownSink());
  EXPECT_FALSE(server->Connection().ConnectionPointContainer());
  EXPECT_FALSE(ctx.sink.Contains("Fail to Unadvise"));
  // Nobody is advised any more: a shutdown request reaches no client.
  EXPECT_EQ(CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Gone"), 0);
}

TEST_F(OpcSessionTest, UnknownProgramIdFailsWithTheClsidLineBeforeAnyCreation) {
  EXPECT_FALSE(server->Connect("No.Such.Server.1", kLocalHost, GUID_NULL));
  EXPECT_FALSE(server->IsConnected());
  const std::vector<std::string> messages = ctx.sink.Messages(kLogOpcServer);
  ASSERT_EQ(messages.size(), 2u) << ctx.sink.Dump();
  EXPECT_EQ(messages[1], "Failure to Obtain Valid CLSID for OPC Server 'No.Such.Server.1'");
  EXPECT_TRUE(IsNullGUID(server->Clsid()));
  EXPECT_EQ(server->Connection().InterfaceRequests()[0].pIID, nullptr);
}

TEST_F(OpcSessionTest, GivenClassIdIsUsedAndAnUnknownHostFailsTheCreation) {
  EXPECT_TRUE(server->Connect("Any.Text", kLocalHost, CLSID_VelmoraSimServer));
  EXPECT_EQ(server->Clsid(), CLSID_VelmoraSimServer);
  ctx.sink.Clear();
  EXPECT_FALSE(server->Connect(kSimServerProgId, "NOSUCHHOST", GUID_NULL));
  EXPECT_FALSE(server->IsConnected());
  EXPECT_FALSE(server->Connection().OPCServer());
  EXPECT_TRUE(ctx.sink.Contains(
      "Fail to Connect to OPC Server  Velmora.SimServer.1 on NOSUCHHOST !!! \nCoCreateInstanceEx "
      "failed \nError Code: 800706BA  \nReason: The RPC server is unavailable."))
      << ctx.sink.Dump();
}

TEST_F(OpcSessionTest, RemoteHostIsSentAsAMachineName) {
  ASSERT_TRUE(server->Connect(kSimServerProgId, "PLANTSRV01", GUID_NULL));
  EXPECT_EQ(server->Host(), "PLANTSRV01");
  EXPECT_TRUE(ctx.sink.Contains("Connecting to OPC Server Velmora.SimServer.1 on PLANTSRV01"));
}

TEST_F(OpcSessionTest, ConnectReplacesThePreviousConnection) {
  ASSERT_TRUE(ConnectFull());
  ASSERT_TRUE(server->Connect(kSimServerDa1ProgId, kLocalHost, GUID_NULL));
  EXPECT_FALSE(server->Connection().Common());
  EXPECT_FALSE(server->Connection().ShutdownSink());
  EXPECT_EQ(CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Old"), 0);
}

TEST_F(OpcSessionTest, NeverConnectedDisconnectOnlyClearsTheFlag) {
  COPCModelAccess::SetConnected(*server, true);
  server->Disconnect();
  EXPECT_FALSE(server->IsConnected());
  EXPECT_TRUE(ctx.sink.lines.empty());
  EXPECT_FALSE(server->IsAlive());
  std::string state;
  EXPECT_FALSE(server->GetServerStateText(state));
  EXPECT_EQ(state, "No Status Available");
}

TEST_F(OpcSessionTest, DeadServerIsNotAliveAndHasNoStatus) {
  ASSERT_TRUE(ConnectFull());
  CSimRuntime::Instance().Faults(kSimServerProgId).m_bDead = true;
  EXPECT_FALSE(server->IsAlive());
  std::string state;
  EXPECT_FALSE(server->GetServerStateText(state));
  EXPECT_EQ(state, "No Status Available");
}

TEST_F(OpcSessionTest, ServerStateTexts) {
  ASSERT_TRUE(ConnectFull());
  const std::pair<uint32_t, const char*> states[] = {
      {2, "Failure"}, {3, "No Configuration"},    {4, "Suspended"},
      {5, "Test"},    {6, "No Status Available"}, {9, "No Status Available"}};
  for (const auto& [state, text] : states) {
    CSimRuntime::Instance().Faults(kSimServerProgId).m_nServerState = state;
    std::string stateText;
    EXPECT_TRUE(server->GetServerStateText(stateText)) << state;
    EXPECT_EQ(stateText, text) << state;
  }
}

TEST_F(OpcSessionTest, ShutdownRequestIsLoggedAndHandedToTheOwner) {
  ASSERT_TRUE(ConnectFull());
  int handled = 0;
  server->SetShutdownHandler([&] { ++handled; });
  EXPECT_EQ(CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Maintenance"), 1);
  EXPECT_EQ(handled, 1);
  EXPECT_TRUE(ctx.sink.Contains(
      "Shutdown Request from OPC Server Velmora.SimServer.1 (Reason: Maintenance)", kLogOpcServer));
}

TEST_F(OpcSessionTest, OwnerMayCloseTheProjectInsideTheShutdownRequest) {
  ASSERT_TRUE(ConnectFull());
  ASSERT_NE(AddGroupWithItems("Group01", {"Static.R8"}), nullptr);
  server->SetShutdownHandler([&] {
    server->RemoveAllGroups();
    server->Disconnect();
  });
  EXPECT_EQ(CSimRuntime::Instance().RequestShutdown(kSimServerProgId, "Stopping"), 1);
  EXPECT_FALSE(server->IsConnected());
  EXPECT_EQ(server->GroupCount(), 0);
  EXPECT_FALSE(server->Connection().ShutdownSink());
  EXPECT_TRUE(ctx.sink.Contains("Successful Removal of OPC Group 'Group01'"));
}

TEST_F(OpcSessionTest, ShutdownSinkInterfaceRules) {
  ComPtr<IOPCShutdown> sink(new COPCShutdownSink(*server));
  EXPECT_EQ(sink->QueryInterface(IID_IOPCShutdown, nullptr), E_INVALIDARG);
  void* pointer = reinterpret_cast<void*>(1);
  EXPECT_EQ(sink->QueryInterface(IID_IOPCServer, &pointer), E_NOINTERFACE);
  EXPECT_EQ(pointer, nullptr);
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(sink->QueryInterface(IID_IUnknown, unknown.ReleaseAndGetVoidAddress()), S_OK);
  EXPECT_EQ(static_cast<void*>(unknown.Get()), static_cast<void*>(sink.Get()));
  EXPECT_EQ(sink->AddRef(), 3u);
  EXPECT_EQ(sink->Release(), 2u);
  EXPECT_EQ(sink->ShutdownRequest("Direct"), S_OK);
  EXPECT_TRUE(ctx.sink.Contains("(Reason: Direct)"));
}

}  // namespace
