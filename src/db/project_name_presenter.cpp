#include "db/project_name_presenter.h"

#include "base/log.h"
#include "base/text.h"
#include "db/project_list.h"
#include "db/project_rows.h"
#include "db/project_state.h"

int CSetProjectNamePresenter::FillList(IListControl* list) {
  m_list.SetTarget(list);
  const int rows = m_db.UpdateListCtrl(CProjectRows::ListStatement(false, kSortByName), m_list,
                                       ListCtrlForm::kPlain, SqlRun().Opening().Closing())
                       .ValueOr(0);
  m_list.SetTarget(nullptr);
  m_nProjectCount = rows;
  m_bOkEnabled = m_sCurrentName != kEmptyProjectName;
  return m_nProjectCount;
}

int CSetProjectNamePresenter::CurrentRow() const {
  if (m_sCurrentName == kEmptyProjectName)
    return -1;
  for (int row = 0; row < m_nProjectCount; ++row) {
    if (m_list.Copy().Cell(row, kProjectNameColumn) == m_sCurrentName)
      return row;
  }
  return -1;
}

void CSetProjectNamePresenter::TextChanged(const std::string& text) {
  m_bOkEnabled = !Trim(text).empty();
}

std::string CSetProjectNamePresenter::RowName(int row) const {
  if (row < 0 || row >= m_nProjectCount)
    return "";
  return m_list.Copy().Cell(row, kProjectNameColumn);
}

bool CSetProjectNamePresenter::IsListedName(const std::string& name) const {
  for (int row = 0; row < m_nProjectCount; ++row) {
    if (m_list.Copy().Cell(row, kProjectNameColumn) == name)
      return true;
  }
  return false;
}

bool CSetProjectNamePresenter::Confirm(const std::string& text) {
  const std::string name = Trim(text);
  // A blank name would save a project nobody can find again.
  if (name.empty())
    return false;
  if (name != m_sCurrentName && IsListedName(name) &&
      m_prompt.ShowMessage(Format(kReplaceProjectQuestion, name.c_str()), MessageButtons::kOkCancel,
                           MessageIcon::kQuestion) != MessageAnswer::kOk) {
    return false;
  }
  m_sChosenName = name;
  return true;
}
