#include "base/console_prompt.h"

#include "base/report.h"
#include "base/rtf.h"

ReportAnswer CConsolePrompt::ShowReport(const ReportRequest& request) {
  ++m_nReports;
  m_out << "[" << ReportWindowTitle(request.title) << "]\n"
        << RtfToPlainText(ReportDocument(request.body)) << "\n";
  const ReportButtons buttons = ReportButtonsForMode(request.buttonMode);
  return buttons.second.empty() || m_bConfirm ? ReportAnswer::kFirstButton
                                              : ReportAnswer::kSecondButton;
}

MessageAnswer CConsolePrompt::ShowMessage(const std::string& text, MessageButtons buttons,
                                          MessageIcon /*icon*/, const std::string& caption) {
  m_out << (caption.empty() ? std::string("[Velmora]") : "[" + caption + "]") << " " << text
        << "\n";
  switch (buttons) {
    case MessageButtons::kOk:
      return MessageAnswer::kOk;
    case MessageButtons::kOkCancel:
      return m_bConfirm ? MessageAnswer::kOk : MessageAnswer::kCancel;
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel:
      return m_bConfirm ? MessageAnswer::kYes : MessageAnswer::kNo;
    case MessageButtons::kRetryCancel:
      return MessageAnswer::kCancel;
  }
  return MessageAnswer::kOk;
}

std::optional<std::string> CConsolePrompt::ChooseFile(const FileRequest&) {
  return std::nullopt;
}

std::optional<std::string> CConsolePrompt::ChooseFolder(const std::string&, const std::string&) {
  return std::nullopt;
}
