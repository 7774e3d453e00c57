#pragma once
// A prompt that shows nothing: the add-item session checks short ids by the dialog's rules
// where a refusal becomes a line of a summary instead of a report.
#include "base/user_prompt.h"

class CSilentPrompt : public IUserPrompt {
 public:
  ReportAnswer ShowReport(const ReportRequest&) override { return ReportAnswer::kFirstButton; }
  MessageAnswer ShowMessage(const std::string&, MessageButtons, MessageIcon,
                            const std::string&) override {
    return MessageAnswer::kOk;
  }
  std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
};
