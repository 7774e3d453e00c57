#include "acquisition/acquisition_notice.h"

void ShowNotices(IUserPrompt& prompt, const std::vector<AcquisitionNotice>& notices) {
  for (const AcquisitionNotice& notice : notices) {
    if (notice.isReport)
      prompt.ShowReport(notice.report);
    else
      prompt.ShowMessage(notice.text, notice.buttons, notice.icon, notice.caption);
  }
}

ReportAnswer CNoticeCollector::ShowReport(const ReportRequest& request) {
  AcquisitionNotice notice;
  notice.report = request;
  m_notices.push_back(std::move(notice));
  return ReportAnswer::kFirstButton;
}

MessageAnswer CNoticeCollector::ShowMessage(const std::string& text, MessageButtons buttons,
                                            MessageIcon icon, const std::string& caption) {
  AcquisitionNotice notice;
  notice.isReport = false;
  notice.text = text;
  notice.buttons = buttons;
  notice.icon = icon;
  notice.caption = caption;
  m_notices.push_back(std::move(notice));
  switch (buttons) {
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel:
      return MessageAnswer::kYes;
    case MessageButtons::kRetryCancel:
      return MessageAnswer::kRetry;
    default:
      return MessageAnswer::kOk;
  }
}
