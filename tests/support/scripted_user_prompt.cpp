#include "scripted_user_prompt.h"

#include "base/report_cancel.h"

namespace {
ScriptedUserPrompt::UnexpectedPromptHandler g_unexpectedHandler = nullptr;
}  // namespace

void ScriptedUserPrompt::SetUnexpectedPromptHandler(UnexpectedPromptHandler handler) {
  g_unexpectedHandler = handler;
}

void ScriptedUserPrompt::Unexpected(const std::string& description) {
  unexpected.push_back(description);
  if (g_unexpectedHandler != nullptr)
    g_unexpectedHandler(description);
}

ReportAnswer ScriptedUserPrompt::ShowReport(const ReportRequest& request) {
  reports.push_back(request);
  if (onReport)
    onReport(request);  // what happens while the report is open
  if (reportAnswers.empty()) {
    Unexpected("report \"" + request.title + "\": " + request.body);
    return ReportAnswer::kFirstButton;
  }
  const int answer = reportAnswers.front();
  reportAnswers.pop_front();
  if (answer == 3)
    return kReportThirdButton;
  return answer == 2 ? ReportAnswer::kSecondButton : ReportAnswer::kFirstButton;
}

MessageAnswer ScriptedUserPrompt::ShowMessage(const std::string& text, MessageButtons buttons,
                                              MessageIcon icon, const std::string& caption) {
  messages.push_back({text, buttons, icon, caption});
  if (!messageAnswers.empty()) {
    const MessageAnswer answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
  }
  Unexpected("message box \"" + caption + "\": " + text);
  switch (buttons) {
    case MessageButtons::kOkCancel:
    case MessageButtons::kOk:
      return MessageAnswer::kOk;
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel:
      return MessageAnswer::kYes;
    case MessageButtons::kRetryCancel:
      return MessageAnswer::kRetry;
  }
  return MessageAnswer::kOk;
}

std::optional<std::string> ScriptedUserPrompt::ChooseFile(const FileRequest& request) {
  fileRequests.push_back(request);
  if (fileAnswers.empty())
    return std::nullopt;
  auto answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedUserPrompt::ChooseFolder(const std::string&,
                                                            const std::string&) {
  if (folderAnswers.empty())
    return std::nullopt;
  auto answer = folderAnswers.front();
  folderAnswers.pop_front();
  return answer;
}

bool ScriptedUserPrompt::HasReportTitled(const std::string& title) const {
  for (const auto& report : reports) {
    if (report.title == title)
      return true;
  }
  return false;
}

bool ScriptedUserPrompt::HasMessageContaining(const std::string& text) const {
  for (const auto& message : messages) {
    if (message.text.find(text) != std::string::npos)
      return true;
  }
  return false;
}
