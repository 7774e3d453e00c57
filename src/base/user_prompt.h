#pragma once
// IUserPrompt: every modal question or report of the program. The GUI shows real
// dialogs; tests script the answers; the CLI prints and takes a fixed answer.
#include <cstdint>
#include <optional>
#include <string>

struct ReportRequest {
  std::string body;   // rich text without the document header (see app/report.h)
  std::string title;  // appended to "Velmora 2.0 " in the window title
  std::string linkText;
  uint32_t errorCode = 0;
  int buttonMode = 0;  // 1: Ok/Cancel, 4: Yes/No, other: Ok
};

// The answer of a rich-text report: its first button (Ok, Yes) is 1; its second button
// (Cancel, No) or the close box is 2.
enum class ReportAnswer : int { kFirstButton = 1, kSecondButton = 2 };

enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel };
enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MessageAnswer { kOk, kCancel, kYes, kNo, kRetry };

struct FileRequest {
  bool save = false;  // false: open an existing file
  std::string title;
  std::string defaultExtension;  // ".sq3"
  std::string filter;            // "SQLite Files (.sq3)|*.sq3"
  std::string initialPath;       // folder, or a file name (with its folder) proposed to the user
  bool mustExist = true;
  bool confirmOverwrite = true;  // save: ask before an existing file is taken
};

class IUserPrompt {
 public:
  virtual ~IUserPrompt() = default;
  // Rich-text report.
  virtual ReportAnswer ShowReport(const ReportRequest& request) = 0;
  // Plain message box.
  virtual MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons,
                                    MessageIcon icon, const std::string& caption = "") = 0;
  // File chooser; empty when cancelled.
  virtual std::optional<std::string> ChooseFile(const FileRequest& request) = 0;
  // Folder chooser; empty when cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                  const std::string& initialFolder) = 0;
};
