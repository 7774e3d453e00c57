#include "platform/net/network.h"
#include "platform/opc/opc_enum.h"
#include "platform/sim/sim_describe.h"
#include "sim_fixture.h"

namespace {

// One level of the neighbourhood, as the discovery dialog reads it.
std::vector<NETRESOURCE> Level(const NETRESOURCE* parent, DWORD* result = nullptr) {
  HANDLE handle = nullptr;
  DWORD rc = WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, parent, &handle);
  std::vector<NETRESOURCE> items;
  if (rc == NO_ERROR) {
    DWORD count = 0xFFFFFFFF;
    rc = WNetEnumResource(handle, &count, &items);
    EXPECT_EQ(WNetCloseEnum(handle), static_cast<DWORD>(NO_ERROR));
  }
  if (result != nullptr) {
    *result = rc;
  }
  return items;
}

}  // namespace

using Network = SimTest;

TEST_F(Network, DefaultNeighbourhoodHasOneWorkgroupWithTwoHosts) {
  const std::vector<NETRESOURCE> top = Level(nullptr);
  ASSERT_EQ(top.size(), 1u);
  EXPECT_EQ(top[0].lpRemoteName, "Microsoft Windows Network");
  EXPECT_EQ(top[0].lpProvider, "Microsoft Windows Network");
  EXPECT_NE(top[0].dwUsage & RESOURCEUSAGE_CONTAINER, 0u);
  const std::vector<NETRESOURCE> workgroups = Level(&top[0]);
  ASSERT_EQ(workgroups.size(), 1u);
  EXPECT_EQ(workgroups[0].lpRemoteName, "WORKGROUP");
  const std::vector<NETRESOURCE> hosts = Level(&workgroups[0]);
  ASSERT_EQ(hosts.size(), 2u);
  EXPECT_EQ(hosts[0].lpRemoteName, "\\\\TESTPC");
  EXPECT_EQ(hosts[1].lpRemoteName, "\\\\PLANTSRV01");
  for (const NETRESOURCE& host : hosts) {
    EXPECT_NE(host.dwUsage & RESOURCEUSAGE_CONTAINER, 0u);
    EXPECT_EQ(host.dwDisplayType, RESOURCEDISPLAYTYPE_SERVER);
  }
  // Below a computer only shares, which are not containers.
  const std::vector<NETRESOURCE> shares = Level(&hosts[1]);
  ASSERT_EQ(shares.size(), 1u);
  EXPECT_EQ(shares[0].dwUsage & RESOURCEUSAGE_CONTAINER, 0u);
}

TEST_F(Network, EnumerationInPiecesAndFailures) {
  NETRESOURCE workgroup;
  workgroup.lpRemoteName = "WORKGROUP";
  HANDLE handle = nullptr;
  ASSERT_EQ(WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, &workgroup, &handle),
            static_cast<DWORD>(NO_ERROR));
  std::vector<NETRESOURCE> items;
  DWORD count = 1;
  EXPECT_EQ(WNetEnumResource(handle, &count, &items), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(count, 1u);
  count = 5;
  EXPECT_EQ(WNetEnumResource(handle, &count, &items), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(WNetEnumResource(handle, &count, &items), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  EXPECT_EQ(WNetCloseEnum(handle), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(WNetCloseEnum(handle), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(WNetEnumResource(handle, &count, &items), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  NETRESOURCE unknown;
  unknown.lpRemoteName = "NOWHERE";
  DWORD rc = 0;
  Level(&unknown, &rc);
  EXPECT_EQ(rc, static_cast<DWORD>(ERROR_BAD_NETPATH));
  CSimRuntime::Instance().SetNetworkAvailable(false);
  Level(nullptr, &rc);
  EXPECT_EQ(rc, static_cast<DWORD>(ERROR_NO_NETWORK));
}

TEST_F(Network, ConfiguredWorkgroupsAndHosts) {
  std::string error;
  ASSERT_TRUE(CSimRuntime::Instance().LoadConfigurationText(
      "[workgroup NORTH]\nhosts = N1, N2\n[workgroup SOUTH]\nhosts = S1\n", &error))
      << error;
  NETRESOURCE root;
  root.lpRemoteName = "Microsoft Windows Network";
  const std::vector<NETRESOURCE> workgroups = Level(&root);
  ASSERT_EQ(workgroups.size(), 3u);  // NORTH, SOUTH and the local machine's WORKGROUP
  EXPECT_EQ(workgroups[0].lpRemoteName, "NORTH");
  EXPECT_EQ(Level(&workgroups[0]).size(), 2u);
  EXPECT_EQ(Level(&workgroups[1]).size(), 1u);
  EXPECT_EQ(Level(&workgroups[2]).size(), 1u);  // the local machine alone
}

TEST_F(Network, NameResolution) {
  EXPECT_EQ(GetLocalComputerName(), "TESTPC");
  std::string address;
  EXPECT_TRUE(ResolveHostName("Local Host", &address));
  EXPECT_EQ(address, "127.0.0.1");
  EXPECT_TRUE(ResolveHostName("testpc", &address));
  EXPECT_EQ(address, "127.0.0.1");
  EXPECT_TRUE(ResolveHostName("\\\\PLANTSRV01", &address));
  EXPECT_EQ(address, "192.168.1.20");
  EXPECT_TRUE(ResolveHostName("192.168.1.20", &address));
  EXPECT_FALSE(ResolveHostName("NOSUCHHOST", &address));
  EXPECT_FALSE(ResolveHostName("", &address));
}

TEST_F(Network, DescriptionOfTheSimulation) {
  std::string error;
  ASSERT_TRUE(CSimRuntime::Instance().LoadConfigurationText(
      "[network]\nopcenum = 0\n[host H1]\naddress = 10.1.1.1\nservers = Velmora.SimServerDA1.1\n"
      "opcenum = 0\n[server Velmora.SimServer.1]\nread_error = 0x80004005\nrefuse_item = A*\n",
      &error))
      << error;
  EXPECT_EQ(DescribeSimulation(CSimRuntime::Instance()),
            "workgroup\tWORKGROUP\n"
            "host\t\\\\TESTPC\t127.0.0.1\tWORKGROUP\treachable\tlocal\n"
            "server\t\\\\TESTPC\tVelmora.SimServer.1\t{6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E01}\t"
            "Velmora Simulation Server\n"
            "server\t\\\\TESTPC\tVelmora.SimServerDA1.1\t{6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E02}\t"
            "Velmora Simulation Server DA 1.0\n"
            "server\t\\\\TESTPC\tVelmora.SimServerNoBrowse.1\t"
            "{6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E03}\tVelmora Simulation Server without Browsing\n"
            "host\t\\\\H1\t10.1.1.1\tWORKGROUP\treachable\n"
            "server\t\\\\H1\tVelmora.SimServerDA1.1\t{6E0D3A11-5B7C-4C2E-9A41-3F1D2C7B8E02}\t"
            "Velmora Simulation Server DA 1.0\n"
            "faults\tVelmora.SimServer.1\tread_error=0x80004005\trefuse_item=A*\t"
            "refuse_items_error=0x80004005\n");
  // Without OPCEnum on the local machine the enumerator is not registered.
  void* list = nullptr;
  EXPECT_EQ(
      CoGetClassObject(CLSID_OpcServerList, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory, &list),
      REGDB_E_CLASSNOTREG);
}
