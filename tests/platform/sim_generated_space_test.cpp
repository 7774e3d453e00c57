// The generated address space of "tags = N": its shape, browsing, ids, reading, and one
// space shared by the servers that use it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>

#include "platform/sim/sim_address_space.h"
#include "platform/sim/sim_describe.h"
#include "sim_fixture.h"

namespace {

constexpr size_t kBuiltInPlantItems = 174;

std::vector<std::string> Browse(IOPCBrowseServerAddressSpace* browse, OPCBROWSETYPE type,
                                const std::string& filter = "*", DWORD rights = 0) {
  ComPtr<IEnumString> strings;
  browse->BrowseOPCItemIDs(type, filter, VT_EMPTY, rights, strings.GetAddressOf());
  std::vector<std::string> names;
  std::string name;
  while (strings && strings->Next(1, &name, nullptr) == S_OK)
    names.push_back(name);
  return names;
}

}  // namespace

using SimGeneratedSpace = SimTest;

TEST_F(SimGeneratedSpace, DevicesOfTenToTwentyMixedLeavesInAreasAndUnits) {
  const std::shared_ptr<const CSimAddressSpace> space = CSimAddressSpace::Generated(30000, false);
  ASSERT_EQ(space->Items().size(), kBuiltInPlantItems + 30000);
  EXPECT_NE(space->FindItem("Plant.Line1.Machine1.Temperature"), nullptr);  // the plant stays
  EXPECT_FALSE(space->IsBranch("Historian"));  // only from 100 000 tags on
  EXPECT_EQ(space->ChildBranches("Area01").size(), 10u);
  EXPECT_EQ(space->ChildBranches("Area01.Unit01").size(), 50u);
  const std::vector<std::string>& areas = space->ChildBranches("");
  EXPECT_EQ(std::count_if(areas.begin(), areas.end(),
                          [](const std::string& name) { return name.rfind("Area", 0) == 0; }),
            5);  // 2001 devices of 15 leaves on average, 500 per area

  std::map<size_t, int> sizes;
  std::set<VARTYPE> types;
  std::set<DWORD> rights;
  for (const std::string& unit : space->ChildBranches("Area02")) {
    for (const std::string& device : space->ChildBranches("Area02." + unit)) {
      const std::vector<const CSimItem*> leaves = space->Leaves("Area02." + unit + "." + device);
      ++sizes[leaves.size()];
      for (const CSimItem* leaf : leaves) {
        types.insert(leaf->m_vtCanonical);
        rights.insert(leaf->m_dwAccessRights);
      }
    }
  }
  EXPECT_EQ(sizes.begin()->first, 10u);
  EXPECT_EQ(sizes.rbegin()->first, 20u);
  EXPECT_EQ(sizes.size(), 11u);
  EXPECT_GE(types.size(), 6u);
  EXPECT_EQ(rights, (std::set<DWORD>{OPC_READABLE, OPC_READABLE | OPC_WRITEABLE}));
  const CSimItem* item = space->FindItem("Area03.Unit07.Device042.Temperature");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->m_sName, "Temperature");
  EXPECT_EQ(item->m_sParent, "Area03.Unit07.Device042");

  // Shared while in use, the same layout every time.
  EXPECT_EQ(CSimAddressSpace::Generated(30000, false), space);
  const auto flat = CSimAddressSpace::Generated(30000, true);
  EXPECT_TRUE(flat->IsFlat());
  EXPECT_NE(flat->FindItem("Area03.Unit07.Device042.Temperature"), nullptr);
  EXPECT_EQ(flat->Items().size(), 128u + 30000);
}

TEST_F(SimGeneratedSpace, HundredThousandTagsHaveABranchOfTenThousandLeaves) {
  const auto start = std::chrono::steady_clock::now();
  const std::shared_ptr<const CSimAddressSpace> space = CSimAddressSpace::Generated(100000, false);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("generated 100000 tags in %.1f ms\n", ms);  // measured, not asserted
  ASSERT_EQ(space->Items().size(), kBuiltInPlantItems + 100000);
  const std::vector<const CSimItem*> historian = space->Leaves("Historian");
  ASSERT_EQ(historian.size(), 10000u);
  EXPECT_EQ(historian.front()->m_sId, "Historian.Tag00000");
  EXPECT_EQ(historian.back()->m_sId, "Historian.Tag09999");
  size_t vibration = 0;
  for (const CSimItem& item : space->Items())
    vibration += item.m_sName == "Vibration" ? 1 : 0;
  EXPECT_NEAR(static_cast<double>(vibration) / 100000.0, 0.01, 0.002);
}

TEST_F(SimGeneratedSpace, ServersOfTheProgIdBrowseReadAndQualifyIt) {
  CSimRuntime& runtime = CSimRuntime::Instance();
  std::string error;
  ASSERT_TRUE(
      runtime.LoadConfigurationText("[server Velmora.SimServer.1]\ntags = 100000\n", &error))
      << error;
  EXPECT_NE(DescribeSimulation(runtime).find("faults\tVelmora.SimServer.1\ttags=100000"),
            std::string::npos);
  Connection c = Connect(CLSID_VelmoraSimServer);
  ASSERT_TRUE(c.browse);
  IOPCBrowseServerAddressSpace* b = c.browse.Get();
  const std::vector<std::string> top = Browse(b, OPC_BRANCH);
  EXPECT_EQ(top.front(), "Plant");
  EXPECT_NE(std::find(top.begin(), top.end(), "Historian"), top.end());
  EXPECT_NE(std::find(top.begin(), top.end(), "Area13"), top.end());
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Historian"), S_OK);
  EXPECT_EQ(Browse(b, OPC_LEAF).size(), 10000u);
  EXPECT_EQ(Browse(b, OPC_LEAF, "Tag0999#").size(), 10u);
  std::string id;
  ASSERT_EQ(b->GetItemID("Tag04711", &id), S_OK);
  EXPECT_EQ(id, "Historian.Tag04711");
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, "Area02.Unit03.Device004"), S_OK);
  const std::vector<std::string> writable = Browse(b, OPC_LEAF, "*", OPC_WRITEABLE);
  EXPECT_EQ(writable.front(), "SetPoint");
  ASSERT_EQ(b->GetItemID("Pressure", &id), S_OK);
  EXPECT_EQ(id, "Area02.Unit03.Device004.Pressure");

  Group g = AddGroup(c.server.Get(), "Big");
  ASSERT_EQ(g.hr, S_OK);
  const OPCITEMDEF defs[] = {Def("Historian.Tag00042"), Def(id, VT_R8), Def("Area99.Nothing")};
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(3, defs, &results, &errors), S_FALSE);
  EXPECT_EQ(errors[0], S_OK);
  EXPECT_EQ(errors[1], S_OK);
  EXPECT_EQ(errors[2], OPC_E_UNKNOWNITEMID);
  const OPCHANDLE handles[] = {results[0].hServer, results[1].hServer};
  std::vector<OPCITEMSTATE> values;
  ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, 2, handles, &values, &errors), S_OK);
  EXPECT_EQ(values[0].vDataValue.vt, VT_R8);
  EXPECT_EQ(values[1].vDataValue.vt, VT_R8);

  // A second server of the id shares the space; another id keeps the built-in one.
  Connection second = Connect(CLSID_VelmoraSimServer);
  ASSERT_EQ(second.browse->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Historian"), S_OK);
  Connection other = Connect(CLSID_VelmoraSimServerNoBrowse);
  ASSERT_TRUE(other.server);
  Group otherGroup = AddGroup(other.server.Get(), "Small");
  const OPCITEMDEF historian[] = {Def("Historian.Tag00042")};
  ASSERT_EQ(otherGroup.items->AddItems(1, historian, &results, &errors), S_FALSE);
  EXPECT_EQ(errors[0], OPC_E_UNKNOWNITEMID);

  EXPECT_FALSE(runtime.LoadConfigurationText("[server X]\ntags = 1000001\n", &error));
  EXPECT_NE(error.find("tags must be at most 1000000"), std::string::npos) << error;
}
