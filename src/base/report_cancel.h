#pragma once
// The report with a third button: Yes, No and Cancel. Its third answer is the value 3 of
// ReportAnswer (an int-based enum), so the callers of the two-button reports are unchanged.
#include "base/user_prompt.h"

inline constexpr int kReportYesNoCancel = 3;
inline constexpr ReportAnswer kReportThirdButton = static_cast<ReportAnswer>(3);
inline constexpr char kReportThirdButtonText[] = "Cancel";
