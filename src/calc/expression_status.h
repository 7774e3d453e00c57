#pragma once
// ExpressionStatus: the outcome of the last expression evaluation, process-wide by design.
// Every evaluation resets it and every error it meets overwrites it, so a caller reads it
// right after its own Evaluate. Thread rule: evaluations run one at a time on one thread
// (the GUI thread, or the CLI's only thread); nothing here is locked.
#include <string>
#include <string_view>

class ExpressionStatus {
 public:
  // True while the last (or current) evaluation met no error.
  static bool Valid();
  // "None", or the last error message reported.
  static const std::string& Message();
  // Start of an evaluation: valid, "None".
  static void Reset();
  // An error: the message replaces the previous one and the status becomes invalid.
  static void Report(std::string_view sMessage);
};

// The error path of one evaluation. Once an evaluation is abandoned (nesting too deep) it
// stays silent, so the reason for abandoning it is the message the caller sees.
class CExpressionErrorReporter {
 public:
  void Report(std::string_view sMessage) {
    if (!m_bSilenced)
      ExpressionStatus::Report(sMessage);
  }
  void Silence() { m_bSilenced = true; }
  bool Silenced() const { return m_bSilenced; }

 private:
  bool m_bSilenced = false;
};
