#include <set>

#include "sim_fixture.h"

namespace {

std::vector<std::string> Browse(IOPCBrowseServerAddressSpace* browse, OPCBROWSETYPE type,
                                const std::string& filter = "*", VARTYPE vt = VT_EMPTY,
                                DWORD rights = 0, HRESULT* result = nullptr) {
  ComPtr<IEnumString> enumerator;
  const HRESULT hr = browse->BrowseOPCItemIDs(type, filter, vt, rights, enumerator.GetAddressOf());
  if (result != nullptr) {
    *result = hr;
  }
  std::vector<std::string> names;
  if (!enumerator) {
    return names;
  }
  std::string name;
  enumerator->Reset();
  while (enumerator->Next(1, &name, nullptr) == S_OK) {
    names.push_back(name);
  }
  return names;
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

using SimBrowse = SimTest;

TEST_F(SimBrowse, HierarchicalPositions) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  IOPCBrowseServerAddressSpace* b = c.browse.Get();
  OPCNAMESPACETYPE organization;
  ASSERT_EQ(b->QueryOrganization(&organization), S_OK);
  EXPECT_EQ(organization, OPC_NS_HIERARCHIAL);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_UP, ""), E_FAIL);  // at the root
  EXPECT_EQ(Browse(b, OPC_BRANCH),
            (std::vector<std::string>{"Plant", "Signals", "Quality", "Text", "Static"}));
  EXPECT_TRUE(Browse(b, OPC_LEAF).empty());
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Plant"), S_OK);
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Line1"), S_OK);
  EXPECT_EQ(Browse(b, OPC_BRANCH), (std::vector<std::string>{"Machine1", "Machine2", "Tank1"}));
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Tank1"), S_OK);
  const std::vector<std::string> leaves = Browse(b, OPC_LEAF);
  EXPECT_TRUE(Has(leaves, "Level"));
  EXPECT_TRUE(Has(leaves, "InletValve"));
  std::string id;
  ASSERT_EQ(b->GetItemID("Level", &id), S_OK);
  EXPECT_EQ(id, "Plant.Line1.Tank1.Level");
  ASSERT_EQ(b->GetItemID("", &id), S_OK);
  EXPECT_EQ(id, "Plant.Line1.Tank1");
  // A qualified id is accepted wherever the position is (items re-added after a load).
  ASSERT_EQ(b->GetItemID("Signals.Sine.R8", &id), S_OK);
  EXPECT_EQ(id, "Signals.Sine.R8");
  EXPECT_EQ(b->GetItemID("Nothing", &id), OPC_E_UNKNOWNITEMID);
  EXPECT_EQ(b->GetItemID("Bad..Id", &id), OPC_E_INVALIDITEMID);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Level"), E_INVALIDARG);  // a leaf
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Nope"), E_INVALIDARG);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_UP, ""), S_OK);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_UP, ""), S_OK);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_UP, ""), S_OK);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_UP, ""), E_FAIL);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, "Plant.Utilities.Compressor"), S_OK);
  EXPECT_TRUE(Has(Browse(b, OPC_LEAF), "Pressure"));
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, "Plant.Utilities.Compressor.Pressure"),
            E_INVALIDARG);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, ""), S_OK);
  EXPECT_EQ(Browse(b, OPC_BRANCH).size(), 5u);
  EXPECT_EQ(b->ChangeBrowsePosition(static_cast<OPCBROWSEDIRECTION>(9), ""), E_INVALIDARG);
}

TEST_F(SimBrowse, FlatBrowsingBelowThePosition) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  IOPCBrowseServerAddressSpace* b = c.browse.Get();
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, "Plant.Line2"), S_OK);
  const std::vector<std::string> flat = Browse(b, OPC_FLAT);
  EXPECT_TRUE(Has(flat, "Plant.Line2.Machine1.Speed"));
  EXPECT_TRUE(Has(flat, "Plant.Line2.Tank1.Level"));
  EXPECT_FALSE(Has(flat, "Plant.Line1.Tank1.Level"));
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, ""), S_OK);
  EXPECT_GT(Browse(b, OPC_FLAT).size(), 150u);
}

TEST_F(SimBrowse, FiltersByPatternTypeAndRights) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  IOPCBrowseServerAddressSpace* b = c.browse.Get();
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, "Plant.Line1.Machine1"), S_OK);
  EXPECT_EQ(Browse(b, OPC_LEAF, "S*"), (std::vector<std::string>{"SetPoint", "Speed"}));
  EXPECT_EQ(Browse(b, OPC_LEAF, "?ode"), (std::vector<std::string>{"Mode"}));
  EXPECT_EQ(Browse(b, OPC_LEAF, "*", VT_EMPTY, OPC_WRITEABLE),
            (std::vector<std::string>{"SetPoint"}));
  // Float: the leaves the server can deliver as VT_R4 (not the text, which it cannot).
  const std::vector<std::string> floats = Browse(b, OPC_LEAF, "*", VT_R4);
  EXPECT_TRUE(Has(floats, "Temperature"));
  EXPECT_TRUE(Has(floats, "Running"));
  EXPECT_FALSE(Has(floats, "Mode"));
  EXPECT_TRUE(Browse(b, OPC_LEAF, "*", VT_ARRAY | VT_R4).empty());
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, "Signals.Arrays"), S_OK);
  EXPECT_EQ(Browse(b, OPC_LEAF, "*", VT_ARRAY | VT_R4).size(), 13u);  // all but BSTR
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, ""), S_OK);
  EXPECT_EQ(Browse(b, OPC_BRANCH, "[PQ]*"), (std::vector<std::string>{"Plant", "Quality"}));
  EXPECT_EQ(Browse(b, OPC_FLAT, "Signals.Counter.UI#").size(), 4u);

  HRESULT hr = S_OK;
  EXPECT_TRUE(Browse(b, OPC_LEAF, "Nothing*", VT_EMPTY, 0, &hr).empty());
  EXPECT_EQ(hr, S_FALSE);
  EXPECT_TRUE(Browse(b, OPC_LEAF, "[abc", VT_EMPTY, 0, &hr).empty());
  EXPECT_EQ(hr, OPC_E_INVALIDFILTER);
  ComPtr<IEnumString> none;
  EXPECT_EQ(
      b->BrowseOPCItemIDs(static_cast<OPCBROWSETYPE>(7), "*", VT_EMPTY, 0, none.GetAddressOf()),
      E_INVALIDARG);
  EXPECT_EQ(b->BrowseOPCItemIDs(OPC_LEAF, "*", VT_EMPTY, 0, nullptr), E_INVALIDARG);
}

TEST_F(SimBrowse, RightsFilterKeepsLeavesWithAnyOfTheRights) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  IOPCBrowseServerAddressSpace* b = c.browse.Get();
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, "Plant.Line1.Machine1"), S_OK);
  const std::vector<std::string> all = Browse(b, OPC_LEAF);
  ASSERT_EQ(all.size(), 7u);
  EXPECT_EQ(Browse(b, OPC_LEAF, "*", VT_EMPTY, OPC_READABLE), all);
  // Read-only leaves have one of the two rights asked for, so they are kept too.
  EXPECT_EQ(Browse(b, OPC_LEAF, "*", VT_EMPTY, OPC_READABLE | OPC_WRITEABLE), all);
  EXPECT_EQ(Browse(b, OPC_LEAF, "*", VT_EMPTY, OPC_WRITEABLE),
            (std::vector<std::string>{"SetPoint"}));
  ASSERT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_TO, ""), S_OK);
  const size_t flat = Browse(b, OPC_FLAT).size();
  EXPECT_EQ(Browse(b, OPC_FLAT, "*", VT_EMPTY, OPC_READABLE | OPC_WRITEABLE).size(), flat);
  EXPECT_LT(Browse(b, OPC_FLAT, "*", VT_EMPTY, OPC_WRITEABLE).size(), flat);
}

TEST_F(SimBrowse, FixedQualitiesOfEveryKind) {
  Connection c = Connect(CLSID_VelmoraSimServer);
  ASSERT_EQ(c.browse->ChangeBrowsePosition(OPC_BROWSE_TO, "Quality"), S_OK);
  const std::vector<std::string> names = Browse(c.browse.Get(), OPC_LEAF);
  Group g = AddGroup(c.server.Get(), "G");
  std::vector<OPCITEMDEF> defs;
  for (const std::string& name : names) {
    std::string id;
    ASSERT_EQ(c.browse->GetItemID(name, &id), S_OK);
    defs.push_back(Def(id));
  }
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(static_cast<DWORD>(defs.size()), defs.data(), &results, &errors),
            S_OK);
  std::vector<OPCHANDLE> handles;
  for (const OPCITEMRESULT& r : results) {
    handles.push_back(r.hServer);
  }
  std::vector<OPCITEMSTATE> values;
  ASSERT_EQ(g.sync->Read(OPC_DS_DEVICE, static_cast<DWORD>(handles.size()), handles.data(), &values,
                         &errors),
            S_OK);
  std::set<WORD> qualities;
  for (const OPCITEMSTATE& state : values) {
    qualities.insert(state.wQuality);
  }
  for (const WORD q :
       {0x00, 0x04, 0x08, 0x0C, 0x10, 0x14, 0x18, 0x1C, 0x40, 0x44, 0x50, 0x54, 0x58, 0xC0, 0xD8}) {
    EXPECT_EQ(qualities.count(q), 1u) << q;
  }
  EXPECT_EQ(qualities.count(0xC3), 1u);  // good with both limit bits
  EXPECT_EQ(qualities.count(0x48), 1u);  // a substatus the table does not name
}

TEST_F(SimBrowse, Da1ServerIsFlat) {
  Connection c = Connect(CLSID_VelmoraSimServerDA1);
  IOPCBrowseServerAddressSpace* b = c.browse.Get();
  OPCNAMESPACETYPE organization;
  ASSERT_EQ(b->QueryOrganization(&organization), S_OK);
  EXPECT_EQ(organization, OPC_NS_FLAT);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_UP, ""), E_FAIL);
  EXPECT_EQ(b->ChangeBrowsePosition(OPC_BROWSE_DOWN, "Sine_R8"), E_FAIL);
  HRESULT hr = S_OK;
  EXPECT_TRUE(Browse(b, OPC_BRANCH, "*", VT_EMPTY, 0, &hr).empty());
  EXPECT_EQ(hr, S_FALSE);
  const std::vector<std::string> flat = Browse(b, OPC_FLAT);
  EXPECT_EQ(Browse(b, OPC_LEAF), flat);
  EXPECT_TRUE(Has(flat, "Sine_R8"));
  EXPECT_TRUE(Has(flat, "Text_Semicolon"));
  EXPECT_TRUE(Has(flat, "Quality_BadCommFailure"));
  std::string id;
  ASSERT_EQ(b->GetItemID("Ramp_I2", &id), S_OK);
  EXPECT_EQ(id, "Ramp_I2");
  Group g = AddGroup(c.server.Get(), "G");
  OPCITEMDEF def = Def("Counter_UI1");
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(1, &def, &results, &errors), S_OK);
  EXPECT_EQ(results[0].vtCanonicalDataType, VT_UI1);
}

TEST_F(SimBrowse, ServerWithoutBrowsingStillAddsTypedItems) {
  Connection c = Connect(CLSID_VelmoraSimServerNoBrowse);
  EXPECT_FALSE(c.browse);
  Group g = AddGroup(c.server.Get(), "G");
  OPCITEMDEF def = Def("Plant.Line1.Tank1.Level");
  std::vector<OPCITEMRESULT> results;
  std::vector<HRESULT> errors;
  ASSERT_EQ(g.items->AddItems(1, &def, &results, &errors), S_OK);
  std::vector<OPCITEMSTATE> values;
  ASSERT_EQ(g.sync->Read(OPC_DS_CACHE, 1, &results[0].hServer, &values, &errors), S_OK);
  EXPECT_EQ(values[0].vDataValue.vt, VT_R4);
}
