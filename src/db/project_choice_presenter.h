#pragma once
// The rules of the load dialog (CGetProjectDlg) without its window: the project list with
// its group and item counts in the chosen order, and for the selected project its groups
// and items. A project whose class id text is not a GUID cannot be chosen.
// Thread rule: GUI thread.
#include <string>

#include "db/mirrored_list_control.h"
#include "db/project_list.h"
#include "db/sqlite_db.h"
#include "platform/com/guid.h"

// The project the load dialog hands to the load.
struct ProjectChoice {
  int m_nId = -1;
  std::string m_sName;
  std::string m_sServerId;
  std::string m_sHost;
  CLSID m_clsid;
};

class CGetProjectPresenter {
 public:
  explicit CGetProjectPresenter(CSQLite& db) : m_db(db) {}

  // Fills the project list in the order of sortIndex (see ProjectSortChoices) into list,
  // which may be null. Returns the number of listed projects. The current choice stays.
  int FillProjects(IListControl* list, int sortIndex = kSortByName);
  int SortIndex() const { return m_nSortIndex; }
  int ProjectCount() const { return m_nProjectCount; }
  // The row that shows the project with this id; -1 when none does.
  int RowOfProject(int projectId) const;

  // A project row was selected. When its class id text is a GUID, the row becomes the
  // choice, its groups and items fill the two lists (either may be null) and Ok is
  // enabled: true. Otherwise Ok is disabled, nothing else changes, and false.
  bool SelectRow(int row, IListControl* groups, IListControl* items);

  bool OkEnabled() const { return m_bOkEnabled; }
  const ProjectChoice& Choice() const { return m_choice; }
  int GroupCount() const { return m_nGroupCount; }
  int ItemCount() const { return m_nItemCount; }

 private:
  CSQLite& m_db;
  CMirroredListControl m_projects;
  int m_nSortIndex = kSortByName;
  int m_nProjectCount = 0;
  ProjectChoice m_choice;
  int m_nGroupCount = 0;
  int m_nItemCount = 0;
  bool m_bOkEnabled = false;
};

// A whole decimal number, optionally signed, that fits an int.
bool ParseProjectId(const std::string& text, int& id);
