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
    case VelmoraView::Start:
      return "CVelmoraStartView";
    case VelmoraView::OpcOutline:
    case VelmoraView::ProjectsOutline:
    case VelmoraView::DcomOutline:
      return "CVelmoraPaneView";
    case VelmoraView::OpcServer:
      return "COPCSetupView";
    case VelmoraView::OpcData:
      return "COPCDataAcqView";
    case VelmoraView::LiveChart:
      return "COPCDataChartView";
    case VelmoraView::PrjDatabase:
      return "CPrjDatabaseView";
    case VelmoraView::PrjData:
      return "CPrjDataView";
    case VelmoraView::PrjExport:
      return "CPrjExportView";
    case VelmoraView::ProjectChart:
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
  if (index <= static_cast<int>(NavigationEntry::OpcDataVisualization))
    return NavigationGroup::OpcExplorer;
  if (index <= static_cast<int>(NavigationEntry::ProjectDataVisualization))
    return NavigationGroup::Projects;
  return NavigationGroup::Dcom;
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
    case NavigationGroup::OpcExplorer:
      target.view = noFeaturesOutline ? VelmoraView::OpcServer : VelmoraView::OpcOutline;
      break;
    case NavigationGroup::Projects:
      target.view = noFeaturesOutline ? VelmoraView::PrjDatabase : VelmoraView::ProjectsOutline;
      break;
    case NavigationGroup::Dcom:
      target.view = VelmoraView::DcomOutline;  // the DCOM outline is also its working view
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
      target.view = VelmoraView::PrjDatabase;  // nothing selected: show the catalogue
      return;
    }
    target.view = view;
    target.handAcquisitionId = true;
    target.acquisitionId = selectedAcquisitionId;
    if (view == VelmoraView::ProjectChart)
      target.chartMode = ChartMode::Project;
  };
  switch (entry) {
    case NavigationEntry::OpcExplorerSetup:
      target.view = VelmoraView::OpcServer;
      break;
    case NavigationEntry::DataAcquisition:
      target.view = VelmoraView::OpcData;
      break;
    case NavigationEntry::OpcDataVisualization:
      target.view = VelmoraView::LiveChart;
      target.chartMode = ChartMode::Live;
      break;
    case NavigationEntry::VelmoraProjects:
      target.view = VelmoraView::PrjDatabase;
      break;
    case NavigationEntry::ProjectOpcData:
      projectView(VelmoraView::PrjData);
      break;
    case NavigationEntry::ExportProjectData:
      projectView(VelmoraView::PrjExport);
      break;
    case NavigationEntry::ProjectDataVisualization:
      projectView(VelmoraView::ProjectChart);
      break;
    case NavigationEntry::DcomSettings:
      target.view = VelmoraView::DcomOutline;
      break;
  }
  return target;
}
