#include <gtest/gtest.h>

#include "app/navigation.h"

TEST(Navigation, GroupsAndEntriesHaveTheirNamesInOrder) {
  EXPECT_STREQ(GroupName(NavigationGroup::OpcExplorer), "Velmora OPC Explorer");
  EXPECT_STREQ(GroupName(NavigationGroup::Projects), "Projects Explorer");
  EXPECT_STREQ(GroupName(NavigationGroup::Dcom), "DCOM Explorer");
  const char* expected[kEntryCount] = {"OPC Explorer Setup",         "Data Acquisition and Storage",
                                       "OPC Data Visualization",     "Velmora Projects",
                                       "Project OPC Data",           "Export Project Data",
                                       "Project Data Visualization", "DCOM Settings"};
  const NavigationGroup groups[kEntryCount] = {
      NavigationGroup::OpcExplorer, NavigationGroup::OpcExplorer, NavigationGroup::OpcExplorer,
      NavigationGroup::Projects,    NavigationGroup::Projects,    NavigationGroup::Projects,
      NavigationGroup::Projects,    NavigationGroup::Dcom};
  for (int i = 0; i < kEntryCount; ++i) {
    EXPECT_STREQ(EntryName(static_cast<NavigationEntry>(i)), expected[i]);
    EXPECT_EQ(GroupOfEntry(static_cast<NavigationEntry>(i)), groups[i]) << expected[i];
  }
}

TEST(Navigation, OpeningAGroupShowsItsOutlineOnceUntilAnEntryIsUsed) {
  CNavigator navigator;
  EXPECT_EQ(navigator.CurrentGroup(), kNoCurrentGroup);
  auto target = navigator.OpenGroup(NavigationGroup::OpcExplorer, false);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::OpcOutline);
  EXPECT_EQ(navigator.CurrentGroup(), 0);
  // The group that is already current does nothing.
  EXPECT_FALSE(navigator.OpenGroup(NavigationGroup::OpcExplorer, false));
  target = navigator.OpenGroup(NavigationGroup::Projects, false);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::ProjectsOutline);
  target = navigator.OpenGroup(NavigationGroup::Dcom, false);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::DcomOutline);
  EXPECT_EQ(navigator.CurrentGroup(), 2);
  // An entry forgets the current group, so opening it again shows its outline again.
  navigator.SelectEntry(NavigationEntry::DcomSettings, kNoAcquisition);
  EXPECT_EQ(navigator.CurrentGroup(), kNoCurrentGroup);
  target = navigator.OpenGroup(NavigationGroup::Dcom, false);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::DcomOutline);
}

TEST(Navigation, NoFeaturesOutlineNeverShowsTheOutlineViewsOfTheWorkingGroups) {
  CNavigator navigator;
  auto target = navigator.OpenGroup(NavigationGroup::OpcExplorer, true);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::OpcServer);
  target = navigator.OpenGroup(NavigationGroup::Projects, true);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::PrjDatabase);
  target = navigator.OpenGroup(NavigationGroup::Dcom, true);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::DcomOutline);  // its first working view
}

TEST(Navigation, ProjectEntriesWithoutSelectionShowTheCatalogue) {
  CNavigator navigator;
  for (NavigationEntry entry : {NavigationEntry::ProjectOpcData, NavigationEntry::ExportProjectData,
                                NavigationEntry::ProjectDataVisualization}) {
    const NavigationTarget target = navigator.SelectEntry(entry, kNoAcquisition);
    EXPECT_EQ(target.view, VelmoraView::PrjDatabase) << EntryName(entry);
    EXPECT_FALSE(target.handAcquisitionId);
    EXPECT_FALSE(target.chartMode);
  }
}

TEST(Navigation, ProjectEntriesHandTheSelectedAcquisitionToTheirView) {
  CNavigator navigator;
  NavigationTarget target = navigator.SelectEntry(NavigationEntry::ProjectOpcData, 12);
  EXPECT_EQ(target.view, VelmoraView::PrjData);
  EXPECT_TRUE(target.handAcquisitionId);
  EXPECT_EQ(target.acquisitionId, 12);
  EXPECT_FALSE(target.chartMode);
  target = navigator.SelectEntry(NavigationEntry::ExportProjectData, 0);
  EXPECT_EQ(target.view, VelmoraView::PrjExport);
  EXPECT_EQ(target.acquisitionId, 0);
  target = navigator.SelectEntry(NavigationEntry::ProjectDataVisualization, 7);
  EXPECT_EQ(target.view, VelmoraView::ProjectChart);
  EXPECT_EQ(target.acquisitionId, 7);
  ASSERT_TRUE(target.chartMode);
  EXPECT_EQ(*target.chartMode, ChartMode::Project);
}

TEST(Navigation, WorkingEntriesShowTheirViewAndTheLiveChartInLiveMode) {
  CNavigator navigator;
  EXPECT_EQ(navigator.SelectEntry(NavigationEntry::OpcExplorerSetup, 3).view,
            VelmoraView::OpcServer);
  EXPECT_EQ(navigator.SelectEntry(NavigationEntry::DataAcquisition, 3).view, VelmoraView::OpcData);
  EXPECT_EQ(navigator.SelectEntry(NavigationEntry::VelmoraProjects, 3).view,
            VelmoraView::PrjDatabase);
  const NavigationTarget chart = navigator.SelectEntry(NavigationEntry::OpcDataVisualization, 3);
  EXPECT_EQ(chart.view, VelmoraView::LiveChart);
  EXPECT_FALSE(chart.handAcquisitionId);
  ASSERT_TRUE(chart.chartMode);
  EXPECT_EQ(*chart.chartMode, ChartMode::Live);
}

TEST(Navigation, MissingViewMessagesNameTheView) {
  EXPECT_EQ(MissingViewMessage(VelmoraView::OpcServer),
            "Pointer to COPCSetupView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::OpcData),
            "Pointer to COPCDataAcqView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::LiveChart),
            "Pointer to COPCDataChartView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::PrjDatabase),
            "Pointer to CPrjDatabaseView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::PrjData),
            "Pointer to CPrjDataView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::PrjExport),
            "Pointer to CPrjExportView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::ProjectChart),
            "Pointer to COPCDataChartView for Project is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::DcomOutline),
            "Pointer to CVelmoraPaneView is NULL !!! Unable to Show View");
}
