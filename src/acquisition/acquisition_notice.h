#pragma once
// AcquisitionNotice: a report or message box the acquisition has for the user. The
// engine never shows one from inside a cycle: it hands them back with the tick's outcome
// and the caller (the view, the command line) shows them once the tick is over.
// Thread rule: the acquisition (GUI) thread.
#include <string>
#include <vector>

#include "base/user_prompt.h"

struct AcquisitionNotice {
  bool isReport = true;
  ReportRequest report;  // isReport
  std::string text;      // a message box otherwise
  MessageButtons buttons = MessageButtons::kOk;
  MessageIcon icon = MessageIcon::kNone;
  std::string caption;
};

// Shows the notices through the prompt, in order.
void ShowNotices(IUserPrompt& prompt, const std::vector<AcquisitionNotice>& notices);

// A prompt that keeps what it is asked as notices instead of asking, answering each with
// its first button (Ok, Yes): for code that reports through a prompt (the binding of the
// calculated items) when it runs inside a cycle.
class CNoticeCollector : public IUserPrompt {
 public:
  explicit CNoticeCollector(std::vector<AcquisitionNotice>& notices) : m_notices(notices) {}
  ReportAnswer ShowReport(const ReportRequest& request) override;
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons, MessageIcon icon,
                            const std::string& caption) override;
  // Nothing is chosen inside a cycle.
  std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }

 private:
  std::vector<AcquisitionNotice>& m_notices;
};
