#pragma once
// The rules of the project name dialog (CSetProjectNameDlg) without its window: the
// project list sorted by name, the current name preselected, Ok enabled by a non-blank
// name, and the confirmation before an existing project is replaced.
// Thread rule: GUI thread.
#include <string>

#include "db/mirrored_list_control.h"
#include "db/sqlite_db.h"

inline constexpr char kReplaceProjectQuestion[] =
    "Project %s Already Exists in Velmora Database !!! Please Confirm that you want to replace "
    "existing project ? ";
// The dialog picks up a selection change this long after it happened.
inline constexpr int kProjectSelectionDelayMs = 25;

class CSetProjectNamePresenter {
 public:
  CSetProjectNamePresenter(CSQLite& db, IUserPrompt& prompt, const std::string& currentName)
      : m_db(db), m_prompt(prompt), m_sCurrentName(currentName) {}

  // Fills the project list (sorted by name) into list, which may be null. Returns the
  // number of listed projects (0 also when the list could not be read).
  int FillList(IListControl* list);
  int ProjectCount() const { return m_nProjectCount; }
  // The edit's first text: the current project name.
  const std::string& CurrentName() const { return m_sCurrentName; }
  // The row to select and focus at the start: the one named like the current project
  // (exact comparison); -1 for "Empty Project" or when no row has the name.
  int CurrentRow() const;

  bool OkEnabled() const { return m_bOkEnabled; }
  // The edit's text changed: Ok is enabled while the trimmed text is not empty.
  void TextChanged(const std::string& text);
  // The "Project Name" of a listed row; empty for a row that is not a project.
  std::string RowName(int row) const;

  // Ok or a double click: true when the dialog closes with the chosen name. Asks before
  // replacing another listed project; Cancel (or a blank name) keeps the dialog open.
  bool Confirm(const std::string& text);
  const std::string& ChosenName() const { return m_sChosenName; }

 private:
  bool IsListedName(const std::string& name) const;

  CSQLite& m_db;
  IUserPrompt& m_prompt;
  std::string m_sCurrentName;
  std::string m_sChosenName;
  CMirroredListControl m_list;
  int m_nProjectCount = 0;
  bool m_bOkEnabled = false;
};
