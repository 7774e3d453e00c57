#pragma once
// The desktop program's IUserPrompt: CVelmoraMsgDlg for reports, QMessageBox for plain
// messages, QFileDialog for files and folders. Thread rule: GUI thread.
#include <QString>

#include "base/user_prompt.h"

class QWidget;

// "SQLite Files (.sq3)|*.sq3" (description|patterns pairs) as a Qt name filter list:
// "SQLite Files (.sq3) (*.sq3)". Patterns separated by ';' become blank-separated.
QString QtNameFilters(const std::string& filter);

class CQtUserPrompt : public IUserPrompt {
 public:
  // Dialogs are centred on the parent (the main frame once it exists).
  void SetParent(QWidget* parent) { m_pParent = parent; }

  ReportAnswer ShowReport(const ReportRequest& request) override;
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons, MessageIcon icon,
                            const std::string& caption) override;
  std::optional<std::string> ChooseFile(const FileRequest& request) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& initialFolder) override;

 private:
  QWidget* m_pParent = nullptr;
};
