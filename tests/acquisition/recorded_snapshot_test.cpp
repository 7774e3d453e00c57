// What an acquisition records of its configuration comes from the configuration value:
// groups in order, acquired then calculated items, and each item's type as of its last value.
#include <gtest/gtest.h>

#include "acquisition/recorded_snapshot.h"
#include "engine_fixture.h"

namespace {

using RecordedSnapshotTest = EngineTest;

TEST_F(RecordedSnapshotTest, TheConfigurationValueGivesGroupsAndItemsInOrder) {
  COPCGroup* first = AddGroup("Group01", 2000, {"Static.R8", "Static.I4"});
  COPCGroup* second = AddGroup("Group02", 1000, {"Static.BOOL"});
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first->AcquiredItems()[1]->SetDescription("Counter");
  COPCCalcItem* calc = first->AppendCalcItem();
  calc->Define("Twice", "G01_C000", "Doubled", VT_R8);
  calc->SetExpression("G01_A000 * 2");

  const RecordedConfiguration recorded = RecordedConfigurationOf(server->Configuration());
  EXPECT_EQ(recorded.serverId, kSimServerProgId);
  EXPECT_EQ(recorded.host, kLocalHost);
  EXPECT_EQ(recorded.classIdText, GuidToString(server->Clsid(), false, GuidTextCase::kLower));
  ASSERT_EQ(recorded.groups.size(), 2u);
  EXPECT_EQ(recorded.groups[0].name, "Group01");
  EXPECT_EQ(recorded.groups[0].updateRate, 2000);
  ASSERT_EQ(recorded.groups[0].items.size(), 3u);
  const RecordedItem& counter = recorded.groups[0].items[1];
  EXPECT_EQ(counter.qualifiedId, "Static.I4");
  EXPECT_EQ(counter.shortId, "G01_A001");
  EXPECT_EQ(counter.data, "Counter");
  EXPECT_EQ(counter.dataType, VT_I4);
  EXPECT_EQ(counter.itemType, kItemAcquired);
  const RecordedItem& twice = recorded.groups[0].items[2];
  EXPECT_EQ(twice.qualifiedId, "Twice");
  EXPECT_EQ(twice.shortId, "G01_C000");
  EXPECT_EQ(twice.data, "Doubled");  // the description, as the item list records it
  EXPECT_EQ(twice.itemType, kItemCalculated);
  ASSERT_EQ(recorded.groups[1].items.size(), 1u);
  EXPECT_EQ(recorded.groups[1].items[0].shortId, "G02_A000");
}

TEST_F(RecordedSnapshotTest, AnItemIsRecordedWithTheTypeOfItsLastValue) {
  COPCGroup* group = AddGroup("Group01", 1000, {"Static.R8", "Static.I4"});
  ASSERT_NE(group, nullptr);
  // A value of another type than the item's data type came for the first item only.
  group->AcquiredItems()[0]->SetReadResult(MakeVariantI4(3), 0xC0, FILETIME(), S_OK);

  const RecordedConfiguration snapshot = SnapshotOf(*server);
  ASSERT_EQ(snapshot.groups.size(), 1u);
  ASSERT_EQ(snapshot.groups[0].items.size(), 2u);
  EXPECT_EQ(snapshot.groups[0].items[0].dataType, VT_I4);
  EXPECT_EQ(snapshot.groups[0].items[1].dataType, VT_I4);
  // The configuration alone knows the data type only.
  EXPECT_EQ(RecordedConfigurationOf(server->Configuration()).groups[0].items[0].dataType, VT_R8);
}

}  // namespace
