#include "app/navigation.h"

namespace {

constexpr const char* kGroupNames[kGroupCount] = {"Velmora OPC Explorer", "Projects Explorer",
                                                  "DCOM Explorer"};

constexpr const char* kEntryNames[kEntryCount] = {
    "OPC Explorer Setup",         "Data Acquisition and Storage",
    "OPC Data Visualization",     "Velmora Projects",
    "Project OPC Data",           "Export Project Data",
    "Project Data Visualization", "DCOM Settings"};

constexpr char kUnableToShowView[] = " is NULL !!! Unable to Show View";

// The names the missing-view messages use.
const char* MissingViewName(VelmoraView view) {
  switch (view) {
    case VelmoraView::kStart:
      return "CVelmoraStartView";
    case VelmoraView::kOpcOutline:
    case VelmoraView::kProjectsOutline:
    case VelmoraView::kDcomOutline:
      return "CVelmoraPaneView";
    case VelmoraView::kOpcServer:
      return "COPCSetupView";
    case VelmoraView::kOpcData:
      return "COPCDataAcqView";
    case VelmoraView::kLiveChart:
      return "COPCDataChartView";
    case VelmoraView::kPrjDatabase:
      return "CPrjDatabaseView";
    case VelmoraView::kPrjData:
      return "CPrjDataView";
    case VelmoraView::kPrjExport:
      return "CPrjExportView";
    case VelmoraView::kProjectChart:
      return "COPCDataChartView for Project";
  }
  return "View";
}

}  // namespace

const char* GroupName(NavigationGroup group) {
  return kGroupNames[static_cast<int>(group)];
}

const char* EntryName(NavigationEntry entry) {
  return kEntryNames[static_cast<int>(entry)];
}

NavigationGroup GroupOfEntry(NavigationEntry entry) {
  const int index = static_cast<int>(entry);
  if (index <= static_cast<int>(NavigationEntry::kOpcDataVisualization))
    return NavigationGroup::kOpcExplorer;
  if (index <= static_cast<int>(NavigationEntry::kProjectDataVisualization))
    return NavigationGroup::kProjects;
  return NavigationGroup::kDcom;
}

std::string MissingViewMessage(VelmoraView view) {
  return std::string("Pointer to ") + MissingViewName(view) + kUnableToShowView;
}

std::optional<NavigationTarget> CNavigator::OpenGroup(NavigationGroup group,
                                                      bool noFeaturesOutline) {
  const int index = static_cast<int>(group);
  if (index == m_nCurrentGroup)
    return std::nullopt;
  NavigationTarget target;
  switch (group) {
    case NavigationGroup::kOpcExplorer:
      target.view = noFeaturesOutline ? VelmoraView::kOpcServer : VelmoraView::kOpcOutline;
      break;
    case NavigationGroup::kProjects:
      target.view = noFeaturesOutline ? VelmoraView::kPrjDatabase : VelmoraView::kProjectsOutline;
      break;
    case NavigationGroup::kDcom:
      target.view = VelmoraView::kDcomOutline;  // the DCOM outline is also its working view
      break;
  }
  m_nCurrentGroup = index;
  return target;
}

NavigationTarget CNavigator::SelectEntry(NavigationEntry entry, int selectedAcquisitionId) {
  m_nCurrentGroup = kNoCurrentGroup;
  NavigationTarget target;
  auto projectView = [&](VelmoraView view) {
    if (selectedAcquisitionId == kNoAcquisition) {
      target.view = VelmoraView::kPrjDatabase;  // nothing selected: show the catalogue
      return;
    }
    target.view = view;
    target.handAcquisitionId = true;
    target.acquisitionId = selectedAcquisitionId;
    if (view == VelmoraView::kProjectChart)
      target.chartMode = ChartMode::kProject;
  };
  switch (entry) {
    case NavigationEntry::kOpcExplorerSetup:
      target.view = VelmoraView::kOpcServer;
      break;
    case NavigationEntry::kDataAcquisition:
      target.view = VelmoraView::kOpcData;
      break;
    case NavigationEntry::kOpcDataVisualization:
      target.view = VelmoraView::kLiveChart;
      target.chartMode = ChartMode::kLive;
      break;
    case NavigationEntry::kVelmoraProjects:
      target.view = VelmoraView::kPrjDatabase;
      break;
    case NavigationEntry::kProjectOpcData:
      projectView(VelmoraView::kPrjData);
      break;
    case NavigationEntry::kExportProjectData:
      projectView(VelmoraView::kPrjExport);
      break;
    case NavigationEntry::kProjectDataVisualization:
      projectView(VelmoraView::kProjectChart);
      break;
    case NavigationEntry::kDcomSettings:
      target.view = VelmoraView::kDcomOutline;
      break;
  }
  return target;
}
