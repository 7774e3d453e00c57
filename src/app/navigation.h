#pragma once
// Which view a navigation entry or group shows. The frame asks, then switches; the rules
// live here so they can be checked without windows. Thread rule: GUI thread.
#include <optional>
#include <string>

#include "base/navigation_ids.h"

// The views of the frame, in the order they are created.
enum class VelmoraView : int {
  kStart = 0,
  kOpcOutline,
  kOpcServer,
  kOpcData,
  kLiveChart,
  kProjectsOutline,
  kPrjDatabase,
  kPrjData,
  kPrjExport,
  kProjectChart,
  kDcomOutline,
};
inline constexpr int kViewCount = 11;

// Navigation groups 0..2; the frame remembers the one opened last, or none.
enum class NavigationGroup : int { kOpcExplorer = 0, kProjects = 1, kDcom = 2 };
inline constexpr int kGroupCount = 3;
inline constexpr int kNoCurrentGroup = -1;

enum class NavigationEntry : int {
  kOpcExplorerSetup = 0,
  kDataAcquisition,
  kOpcDataVisualization,
  kVelmoraProjects,
  kProjectOpcData,
  kExportProjectData,
  kProjectDataVisualization,
  kDcomSettings,
};
inline constexpr int kEntryCount = 8;

const char* GroupName(NavigationGroup group);
const char* EntryName(NavigationEntry entry);
NavigationGroup GroupOfEntry(NavigationEntry entry);
// The message shown when a view to switch to does not exist.
std::string MissingViewMessage(VelmoraView view);

// What a navigation request asks the frame to do.
struct NavigationTarget {
  VelmoraView view = VelmoraView::kStart;
  bool handAcquisitionId = false;  // the target view works on acquisitionId
  int acquisitionId = kNoAcquisition;
  std::optional<ChartMode> chartMode;  // set on a chart view before it is shown
};

class CNavigator {
 public:
  // The view for opening a group, or nothing when the group is already the current one.
  // NoFeaturesOutline = 1 skips the group's outline view for its first working view.
  std::optional<NavigationTarget> OpenGroup(NavigationGroup group, bool noFeaturesOutline);
  // The view for an entry; the project entries need the catalogue's selected acquisition.
  NavigationTarget SelectEntry(NavigationEntry entry, int selectedAcquisitionId);
  int CurrentGroup() const { return m_nCurrentGroup; }

 private:
  int m_nCurrentGroup = kNoCurrentGroup;
};
