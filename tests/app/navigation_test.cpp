#include <gtest/gtest.h>

#include "app/navigation.h"

TEST(Navigation, GroupsAndEntriesHaveTheirNamesInOrder) {
  EXPECT_STREQ(GroupName(NavigationGroup::kOpcExplorer), "Velmora OPC Explorer");
  EXPECT_STREQ(GroupName(NavigationGroup::kProjects), "Projects Explorer");
  EXPECT_STREQ(GroupName(NavigationGroup::kDcom), "DCOM Explorer");
  const char* expected[kEntryCount] = {"OPC Explorer Setup",         "Data Acquisition and Storage",
                                       "OPC Data Visualization",     "Velmora Projects",
                                       "Project OPC Data",           "Export Project Data",
                                       "Project Data Visualization", "DCOM Settings"};
  const NavigationGroup groups[kEntryCount] = {
      NavigationGroup::kOpcExplorer, NavigationGroup::kOpcExplorer, NavigationGroup::kOpcExplorer,
      NavigationGroup::kProjects,    NavigationGroup::kProjects,    NavigationGroup::kProjects,
      NavigationGroup::kProjects,    NavigationGroup::kDcom};
  for (int i = 0; i < kEntryCount; ++i) {
    EXPECT_STREQ(EntryName(static_cast<NavigationEntry>(i)), expected[i]);
    EXPECT_EQ(GroupOfEntry(static_cast<NavigationEntry>(i)), groups[i]) << expected[i];
  }
}

TEST(Navigation, OpeningAGroupShowsItsOutlineOnceUntilAnEntryIsUsed) {
  CNavigator navigator;
  EXPECT_EQ(navigator.CurrentGroup(), kNoCurrentGroup);
  auto target = navigator.OpenGroup(NavigationGroup::kOpcExplorer, false);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::kOpcOutline);
  EXPECT_EQ(navigator.CurrentGroup(), 0);
  // The group that is already current does nothing.
  EXPECT_FALSE(navigator.OpenGroup(NavigationGroup::kOpcExplorer, false));
  target = navigator.OpenGroup(NavigationGroup::kProjects, false);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::kProjectsOutline);
  target = navigator.OpenGroup(NavigationGroup::kDcom, false);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::kDcomOutline);
  EXPECT_EQ(navigator.CurrentGroup(), 2);
  // An entry forgets the current group, so opening it again shows its outline again.
  navigator.SelectEntry(NavigationEntry::kDcomSettings, kNoAcquisition);
  EXPECT_EQ(navigator.CurrentGroup(), kNoCurrentGroup);
  target = navigator.OpenGroup(NavigationGroup::kDcom, false);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::kDcomOutline);
}

TEST(Navigation, NoFeaturesOutlineNeverShowsTheOutlineViewsOfTheWorkingGroups) {
  CNavigator navigator;
  auto target = navigator.OpenGroup(NavigationGroup::kOpcExplorer, true);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::kOpcServer);
  target = navigator.OpenGroup(NavigationGroup::kProjects, true);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::kPrjDatabase);
  target = navigator.OpenGroup(NavigationGroup::kDcom, true);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->view, VelmoraView::kDcomOutline);  // its first working view
}

TEST(Navigation, ProjectEntriesWithoutSelectionShowTheCatalogue) {
  CNavigator navigator;
  for (NavigationEntry entry :
       {NavigationEntry::kProjectOpcData, NavigationEntry::kExportProjectData,
        NavigationEntry::kProjectDataVisualization}) {
    const NavigationTarget target = navigator.SelectEntry(entry, kNoAcquisition);
    EXPECT_EQ(target.view, VelmoraView::kPrjDatabase) << EntryName(entry);
    EXPECT_FALSE(target.handAcquisitionId);
    EXPECT_FALSE(target.chartMode);
  }
}

TEST(Navigation, ProjectEntriesHandTheSelectedAcquisitionToTheirView) {
  CNavigator navigator;
  NavigationTarget target = navigator.SelectEntry(NavigationEntry::kProjectOpcData, 12);
  EXPECT_EQ(target.view, VelmoraView::kPrjData);
  EXPECT_TRUE(target.handAcquisitionId);
  EXPECT_EQ(target.acquisitionId, 12);
  EXPECT_FALSE(target.chartMode);
  target = navigator.SelectEntry(NavigationEntry::kExportProjectData, 0);
  EXPECT_EQ(target.view, VelmoraView::kPrjExport);
  EXPECT_EQ(target.acquisitionId, 0);
  target = navigator.SelectEntry(NavigationEntry::kProjectDataVisualization, 7);
  EXPECT_EQ(target.view, VelmoraView::kProjectChart);
  EXPECT_EQ(target.acquisitionId, 7);
  ASSERT_TRUE(target.chartMode);
  EXPECT_EQ(*target.chartMode, ChartMode::kProject);
}

TEST(Navigation, WorkingEntriesShowTheirViewAndTheLiveChartInLiveMode) {
  CNavigator navigator;
  EXPECT_EQ(navigator.SelectEntry(NavigationEntry::kOpcExplorerSetup, 3).view,
            VelmoraView::kOpcServer);
  EXPECT_EQ(navigator.SelectEntry(NavigationEntry::kDataAcquisition, 3).view,
            VelmoraView::kOpcData);
  EXPECT_EQ(navigator.SelectEntry(NavigationEntry::kVelmoraProjects, 3).view,
            VelmoraView::kPrjDatabase);
  const NavigationTarget chart = navigator.SelectEntry(NavigationEntry::kOpcDataVisualization, 3);
  EXPECT_EQ(chart.view, VelmoraView::kLiveChart);
  EXPECT_FALSE(chart.handAcquisitionId);
  ASSERT_TRUE(chart.chartMode);
  EXPECT_EQ(*chart.chartMode, ChartMode::kLive);
}

TEST(Navigation, MissingViewMessagesNameTheView) {
  EXPECT_EQ(MissingViewMessage(VelmoraView::kOpcServer),
            "Pointer to COPCSetupView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::kOpcData),
            "Pointer to COPCDataAcqView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::kLiveChart),
            "Pointer to COPCDataChartView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::kPrjDatabase),
            "Pointer to CPrjDatabaseView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::kPrjData),
            "Pointer to CPrjDataView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::kPrjExport),
            "Pointer to CPrjExportView is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::kProjectChart),
            "Pointer to COPCDataChartView for Project is NULL !!! Unable to Show View");
  EXPECT_EQ(MissingViewMessage(VelmoraView::kDcomOutline),
            "Pointer to CVelmoraPaneView is NULL !!! Unable to Show View");
}
