// The configuration view's rules: item labels found back, commands by node kind and
// acquisition, the server attributes with an unknown state.
#include <gtest/gtest.h>

#include "opc/configuration_view_rules.h"
#include "opc_test_fixture.h"

namespace {

TEST_F(OpcServerTest, ItemLabelsNameTheirKindAndLeadBackToTheItem) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Signals.Sine.R8"});
  ASSERT_NE(group, nullptr);
  COPCCalcItem* calc = group->AppendCalcItem();
  calc->Define("Signals.Sine.R8", calc->ShortId(), calc->Description(),
               calc->DataType());  // the same id as the acquired one
  const COPCItem& acquired = *group->AcquiredItems()[0];
  EXPECT_EQ(ItemNodeLabel(acquired, false), "Signals.Sine.R8 (Acquired OPC Item)");
  bool calculated = true;
  EXPECT_EQ(FindItemByLabel(*group, "Signals.Sine.R8 (Acquired OPC Item)", &calculated), &acquired);
  EXPECT_FALSE(calculated);
  EXPECT_EQ(FindItemByLabel(*group, ItemNodeLabel(*calc, true), &calculated), calc);
  EXPECT_TRUE(calculated);
  EXPECT_EQ(FindItemByLabel(*group, "Signals.Sine.R8"), nullptr);
  EXPECT_EQ(FindItemByLabel(*group, "Other (Acquired OPC Item)"), nullptr);
}

TEST(ConfigurationViewRules, StructuralCommandsWaitForTheAcquisitionPropertiesDoNot) {
  EXPECT_TRUE(ConfigCommandEnabled(ConfigCommand::kSelectServer, ConfigNodeKind::kNoServer, false));
  EXPECT_FALSE(ConfigCommandEnabled(ConfigCommand::kSelectServer, ConfigNodeKind::kServer, false));
  EXPECT_TRUE(ConfigCommandEnabled(ConfigCommand::kAddItems, ConfigNodeKind::kGroup, false));
  EXPECT_FALSE(ConfigCommandEnabled(ConfigCommand::kAddItems, ConfigNodeKind::kGroup, true));
  EXPECT_FALSE(ConfigCommandEnabled(ConfigCommand::kRemoveItem, ConfigNodeKind::kItem, true));
  EXPECT_TRUE(ConfigCommandEnabled(ConfigCommand::kGroupProperties, ConfigNodeKind::kGroup, true));
  EXPECT_TRUE(ConfigCommandEnabled(ConfigCommand::kItemProperties, ConfigNodeKind::kItem, true));
  EXPECT_FALSE(ConfigCommandEnabled(ConfigCommand::kItemProperties, ConfigNodeKind::kGroup, true));
}

TEST_F(OpcServerTest, AttributesComeFromTheStatusAndAnUnknownStateReadsThreeQuestionMarks) {
  ASSERT_TRUE(ConnectFull());
  ServerAttributeTexts texts = ReadServerAttributes(*server);
  EXPECT_EQ(texts.connection, "Connected");
  EXPECT_EQ(texts.status, "Running");
  EXPECT_EQ(texts.version, "2.0 Build: 7");
  EXPECT_EQ(texts.startTime.size(), 12u);  // "%02d:%02d:%02d:%03d"
  EXPECT_EQ(texts.startTime[8], ':');
  CSimRuntime::Instance().Faults(kSimServerProgId).m_nServerState = 7;
  EXPECT_EQ(ReadServerAttributes(*server).status, "???");
  EXPECT_EQ(ServerStateText(2), "Failure");
  server->Disconnect();
  texts = ReadServerAttributes(*server);
  EXPECT_EQ(texts.connection, "Not Connected");
  EXPECT_TRUE(texts.status.empty());
}

}  // namespace
