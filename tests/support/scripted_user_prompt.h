#pragma once
// A prompt that answers from a script and records what it was asked. Without a
// scripted answer, a report returns 1 and a message box its first button.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/user_prompt.h"

class ScriptedUserPrompt : public IUserPrompt {
 public:
  // Answers from reportAnswers (1 or 2, as the dialog returns them); 1 when none is left.
  ReportAnswer ShowReport(const ReportRequest& request) override;
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons, MessageIcon icon,
                            const std::string& caption) override;
  std::optional<std::string> ChooseFile(const FileRequest& request) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& initialFolder) override;

  std::deque<int> reportAnswers;
  std::deque<MessageAnswer> messageAnswers;
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<std::optional<std::string>> folderAnswers;

  std::vector<ReportRequest> reports;
  struct Message {
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;
    std::string caption;
  };
  std::vector<Message> messages;
  std::vector<FileRequest> fileRequests;

  bool HasReportTitled(const std::string& title) const;
  bool HasMessageContaining(const std::string& text) const;
};
