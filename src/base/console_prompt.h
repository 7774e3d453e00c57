#pragma once
// The prompt of the command-line tool: reports and messages are printed as plain text
// on stderr and answered with a fixed choice, since nobody sits at the keyboard.
#include <ostream>

#include "base/user_prompt.h"

class CConsolePrompt : public IUserPrompt {
 public:
  // confirm: the answer to every question (true: Ok/Yes, false: Cancel/No).
  explicit CConsolePrompt(std::ostream& out, bool confirm = true)
      : m_out(out), m_bConfirm(confirm) {}
  ReportAnswer ShowReport(const ReportRequest& request) override;
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons, MessageIcon icon,
                            const std::string& caption) override;
  std::optional<std::string> ChooseFile(const FileRequest& request) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& initialFolder) override;
  int ReportCount() const { return m_nReports; }

 private:
  std::ostream& m_out;
  bool m_bConfirm;
  int m_nReports = 0;
};
