#pragma once
// CProjectDialogs: the two project dialogs behind the interfaces the project commands
// use, shown modally over parent. Thread rule: GUI thread.
#include <QWidget>

#include "db/project_commands.h"

class CProjectDialogs : public IProjectNameChooser, public IProjectChooser {
 public:
  CProjectDialogs(CSQLite& db, IUserPrompt& prompt, QWidget* parent)
      : m_db(db), m_prompt(prompt), m_pParent(parent) {}

  std::optional<std::string> ChooseProjectName(const std::string& currentName) override;
  std::optional<ProjectChoice> ChooseProject() override;

 private:
  CSQLite& m_db;
  IUserPrompt& m_prompt;
  QWidget* m_pParent;
};
