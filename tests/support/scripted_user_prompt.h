#pragma once
// A prompt that answers from a script and records what it was asked. Without a
// scripted answer, a report returns 1 and a message box its first button; such a prompt
// was not expected by the test and is passed to the unexpected-prompt handler (the Qt
// tests install one that fails the running test).
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/user_prompt.h"

class ScriptedUserPrompt : public IUserPrompt {
 public:
  // Called with a description of a report or message box that found no scripted answer.
  using UnexpectedPromptHandler = void (*)(const std::string& description);
  // One handler for the whole test program; null (the default) lets such prompts pass.
  static void SetUnexpectedPromptHandler(UnexpectedPromptHandler handler);

  // Answers from reportAnswers (1, 2 or 3, as the dialog returns them); 1 when none is left.
  ReportAnswer ShowReport(const ReportRequest& request) override;
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons, MessageIcon icon,
                            const std::string& caption) override;
  std::optional<std::string> ChooseFile(const FileRequest& request) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& initialFolder) override;

  // Each queued answer declares one prompt the test expects, in order.
  std::deque<int> reportAnswers;
  std::deque<MessageAnswer> messageAnswers;
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<std::optional<std::string>> folderAnswers;

  std::vector<ReportRequest> reports;
  // Runs while each report is "open" (as the event loop of a modal dialog would).
  std::function<void(const ReportRequest&)> onReport;
  struct Message {
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;
    std::string caption;
  };
  std::vector<Message> messages;
  std::vector<FileRequest> fileRequests;
  // Every report or message box that came without a scripted answer, described.
  std::vector<std::string> unexpected;

  bool HasReportTitled(const std::string& title) const;
  bool HasMessageContaining(const std::string& text) const;

 private:
  void Unexpected(const std::string& description);
};
