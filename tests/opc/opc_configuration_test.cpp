// The configuration as a value: a copy taken from the server answers the questions asked of
// the model and keeps its answers when the model changes afterwards.
#include <gtest/gtest.h>

#include <type_traits>

#include "opc/opc_configuration.h"
#include "opc_test_fixture.h"

namespace {

using OpcConfigurationTest = OpcServerTest;

static_assert(std::is_copy_constructible_v<COPCConfiguration>);
static_assert(std::is_copy_assignable_v<COPCConfiguration>);

TEST_F(OpcConfigurationTest, ACopyAnswersLikeTheModel) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* first = AddGroupWithItems("Group01", {"Static.R8", "Static.I4"});
  COPCGroup* second = AddGroupWithItems("Group02", {"Static.BOOL"});
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first->AcquiredItems()[0]->SetDescription("Speed");
  COPCCalcItem* calc = second->AppendCalcItem();
  calc->Define("Twice", "G02_C000", "Doubled", VT_R8);
  calc->SetExpression("G02_A000 * 2");
  server->RecountItems();

  const COPCConfiguration configuration = server->Configuration();
  EXPECT_EQ(configuration.ServerId(), server->ServerId());
  EXPECT_EQ(configuration.Host(), kLocalHost);
  EXPECT_EQ(configuration.Clsid(), server->Clsid());
  ASSERT_EQ(configuration.GroupCount(), 2);
  EXPECT_EQ(configuration.ColumnCount(), server->ColumnCount());
  EXPECT_EQ(configuration.ColumnCount(), 4);
  EXPECT_EQ(configuration.TotalAcquiredCount(), server->TotalAcquiredCount());
  EXPECT_EQ(configuration.TotalAcquiredCount(), 3);
  EXPECT_EQ(configuration.TotalCalculatedCount(), 1);
  EXPECT_EQ(configuration.TotalItemCount(), server->TotalItemCount());
  EXPECT_EQ(configuration.Groups()[0].ColumnCount(), 2);
  EXPECT_EQ(configuration.Groups()[1].ColumnCount(), 2);

  int index = -1;
  const OPCGroupConfiguration* found = configuration.FindGroup("Group02", &index);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(found->m_settings, second->Settings());
  // Exact names only, as the model's FindGroupByName.
  EXPECT_EQ(configuration.FindGroup("group02"), nullptr);
  EXPECT_EQ(configuration.FindGroup("Other", &index), nullptr);
  EXPECT_EQ(index, 1);

  const OPCGroupConfiguration& group01 = configuration.Groups()[0];
  EXPECT_EQ(group01.m_settings.m_sName, "Group01");
  EXPECT_EQ(group01.m_settings.m_dwUpdateRate, first->UpdateRate());
  ASSERT_EQ(group01.m_acquiredItems.size(), 2u);
  EXPECT_EQ(group01.m_acquiredItems[0], first->AcquiredItems()[0]->Definition());
  EXPECT_EQ(group01.m_acquiredItems[0].m_sQualifiedId, "Static.R8");
  EXPECT_EQ(group01.m_acquiredItems[0].m_sShortId, "G01_A000");
  EXPECT_EQ(group01.m_acquiredItems[0].m_sDescription, "Speed");
  EXPECT_EQ(group01.m_acquiredItems[0].m_vtDataType, VT_R8);
  ASSERT_EQ(found->m_calcItems.size(), 1u);
  EXPECT_EQ(found->m_calcItems[0].m_sQualifiedId, "Twice");
  EXPECT_EQ(found->m_calcItems[0].m_sExpression, "G02_A000 * 2");
}

TEST_F(OpcConfigurationTest, ACopyDoesNotChangeWithTheModel) {
  ASSERT_TRUE(ConnectFull());
  COPCGroup* group = AddGroupWithItems("Group01", {"Static.R8"});
  ASSERT_NE(group, nullptr);
  COPCCalcItem* calc = group->AppendCalcItem();
  calc->Define("Twice", "G01_C000", "", VT_R8);
  calc->SetExpression("G01_A000 * 2");
  const COPCConfiguration before = server->Configuration();
  const COPCConfiguration kept = before;

  // Every kind of change the model knows: settings, item definitions, lists, groups.
  OPCGroupSettings settings = group->Settings();
  settings.m_sName = "Renamed";
  settings.m_dwUpdateRate = 5000;
  group->SetSettings(settings);
  group->AcquiredItems()[0]->SetShortId("SPEED");
  calc->SetExpression("SPEED * 3");
  group->AppendAcquiredItem()->Define("Static.I4", "G01_A001", "", VT_I4);
  ASSERT_NE(AddGroupWithItems("Group02", {"Static.BOOL"}), nullptr);
  server->RecountItems();

  EXPECT_EQ(before, kept);
  ASSERT_EQ(before.GroupCount(), 1);
  EXPECT_EQ(before.Groups()[0].m_settings.m_sName, "Group01");
  EXPECT_EQ(before.Groups()[0].m_settings.m_dwUpdateRate, 1000u);
  ASSERT_EQ(before.Groups()[0].m_acquiredItems.size(), 1u);
  EXPECT_EQ(before.Groups()[0].m_acquiredItems[0].m_sShortId, "G01_A000");
  EXPECT_EQ(before.Groups()[0].m_calcItems[0].m_sExpression, "G01_A000 * 2");
  EXPECT_EQ(before.ColumnCount(), 2);
  EXPECT_NE(before.FindGroup("Group01"), nullptr);
  EXPECT_EQ(before.FindGroup("Renamed"), nullptr);

  // A new copy sees the changes.
  const COPCConfiguration after = server->Configuration();
  EXPECT_EQ(after.GroupCount(), 2);
  EXPECT_EQ(after.ColumnCount(), 4);
  EXPECT_EQ(after.FindGroup("Group01"), nullptr);
  ASSERT_NE(after.FindGroup("Renamed"), nullptr);
  EXPECT_EQ(after.FindGroup("Renamed")->m_acquiredItems[0].m_sShortId, "SPEED");
  EXPECT_NE(after, before);

  // And the copy outlives the model.
  server.reset();
  EXPECT_EQ(kept.Groups()[0].m_calcItems[0].m_sQualifiedId, "Twice");
}

TEST(OpcConfiguration, AnEmptyConfigurationAnswersZero) {
  const COPCConfiguration empty;
  EXPECT_EQ(empty.GroupCount(), 0);
  EXPECT_EQ(empty.ColumnCount(), 0);
  EXPECT_EQ(empty.TotalItemCount(), 0);
  EXPECT_EQ(empty.FindGroup(""), nullptr);
  EXPECT_TRUE(empty.ServerId().empty());
}

}  // namespace
