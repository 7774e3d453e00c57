#pragma once
// The calculated item editor's expression check: the expression must evaluate without
// error and every symbol in it (except the constants pi and e) must be the short id of an
// acquired or a calculated item of the group.
#include <cstddef>
#include <string>

#include "base/clock.h"

class COPCGroup;

// The longest expression the check accepts. A longer one is refused with
// kExpressionTooLongMessage; nothing is cut, so the text that is checked is always the text
// that is stored.
inline constexpr size_t kMaxCheckedExpressionChars = 254;

inline constexpr char kUnknownSymbolMessage[] =
    "Use of Unknown Item Symbol %s ... Addition Not Allowed.";
inline constexpr char kExpressionValidMessage[] = "Expression %s is Valid ....";
inline constexpr char kExpressionTooLongMessage[] =
    "Expression is Too Long (%d Characters, at Most %d Allowed) ... Addition Not Allowed.";

struct CalcExpressionCheck {
  bool bValid = false;   // the editor's evaluated-and-valid flag
  std::string sMessage;  // the text for "Evaluation Result: "
};

// Checks the expression against the short ids of the group's items (exact comparison, case
// included). The computed value is not part of the result: unknown names have random
// values during the check.
CalcExpressionCheck CheckCalcExpression(const std::string& sExpression, const COPCGroup& group,
                                        const IClock& clock);

// True when a short id of an acquired (or, for the second, a calculated) item of the group
// equals the name exactly.
bool IsAcquiredShortId(const COPCGroup& group, const std::string& sName);
bool IsCalcShortId(const COPCGroup& group, const std::string& sName);
