#include "db/project_choice_presenter.h"

#include <charconv>

#include "db/project_rows.h"

bool ParseProjectId(const std::string& text, int& id) {
  const char* end = text.data() + text.size();
  int value = 0;
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end)
    return false;
  id = value;
  return true;
}

int CGetProjectPresenter::FillProjects(IListControl* list, int sortIndex) {
  m_nSortIndex = sortIndex >= 0 && sortIndex < kProjectSortChoiceCount ? sortIndex : kSortByName;
  m_projects.SetTarget(list);
  const int rows = m_db.UpdateListCtrl(CProjectRows::ListStatement(true, m_nSortIndex), m_projects,
                                       ListCtrlForm::kPlain, SqlRun().Opening().Closing())
                       .ValueOr(0);
  m_projects.SetTarget(nullptr);
  m_nProjectCount = rows;
  return m_nProjectCount;
}

int CGetProjectPresenter::RowOfProject(int projectId) const {
  for (int row = 0; row < m_nProjectCount; ++row) {
    int id = -1;
    if (ParseProjectId(m_projects.Copy().Cell(row, kProjectIdColumn), id) && id == projectId)
      return row;
  }
  return -1;
}

bool CGetProjectPresenter::SelectRow(int row, IListControl* groups, IListControl* items) {
  const CRecordingListControl& list = m_projects.Copy();
  int id = -1;
  CLSID clsid;
  if (row < 0 || row >= m_nProjectCount ||
      !GuidFromString(list.Cell(row, kProjectGuidColumn), clsid) ||
      !ParseProjectId(list.Cell(row, kProjectIdColumn), id)) {
    m_bOkEnabled = false;
    return false;
  }
  m_choice.m_nId = id;
  m_choice.m_sName = list.Cell(row, kProjectNameColumn);
  m_choice.m_sServerId = list.Cell(row, kProjectServerIdColumn);
  m_choice.m_sHost = list.Cell(row, kProjectHostColumn);
  m_choice.m_clsid = clsid;

  CMirroredListControl groupList(groups);
  CMirroredListControl itemList(items);
  const SqlRun run = SqlRun().Opening().Closing();
  m_nGroupCount = m_db.UpdateListCtrl(CProjectRows::GroupListStatement(id), groupList,
                                      ListCtrlForm::kKeyed, run)
                      .ValueOr(0);
  m_nItemCount =
      m_db.UpdateListCtrl(CProjectRows::ItemListStatement(id), itemList, ListCtrlForm::kKeyed, run)
          .ValueOr(0);
  m_bOkEnabled = true;
  return true;
}
