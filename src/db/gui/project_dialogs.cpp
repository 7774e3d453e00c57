#include "db/gui/project_dialogs.h"

#include "db/gui/get_project_dlg.h"
#include "db/gui/set_project_name_dlg.h"

std::optional<std::string> CProjectDialogs::ChooseProjectName(const std::string& currentName) {
  CSetProjectNameDlg dialog(m_db, m_prompt, currentName, m_pParent);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.ChosenName();
}

std::optional<ProjectChoice> CProjectDialogs::ChooseProject() {
  CGetProjectDlg dialog(m_db, m_pParent);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.Choice();
}
