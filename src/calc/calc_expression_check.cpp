#include "calc/calc_expression_check.h"

#include "base/log.h"
#include "calc/expression_parser.h"
#include "calc/expression_status.h"
#include "opc/opc_group.h"

namespace {

template <class Items>
bool HasShortId(const Items& items, const std::string& sName) {
  for (const auto& item : items) {
    if (item != nullptr && item->ShortId() == sName)
      return true;
  }
  return false;
}

}  // namespace

bool IsAcquiredShortId(const COPCGroup& group, const std::string& sName) {
  return HasShortId(group.AcquiredItems(), sName);
}

bool IsCalcShortId(const COPCGroup& group, const std::string& sName) {
  return HasShortId(group.CalcItems(), sName);
}

CalcExpressionCheck CheckCalcExpression(const std::string& sExpression, const COPCGroup& group,
                                        const IClock& clock) {
  CalcExpressionCheck check;
  if (sExpression.size() > kMaxCheckedExpressionChars) {
    check.sMessage = Format(kExpressionTooLongMessage, static_cast<int>(sExpression.size()),
                            static_cast<int>(kMaxCheckedExpressionChars));
    return check;
  }
  CExpressionParser parser(sExpression);
  parser.Evaluate(clock);
  if (!ExpressionStatus::Valid()) {
    check.sMessage = ExpressionStatus::Message();
    return check;
  }
  for (const std::string& sSymbol : parser.ItemSymbols()) {
    if (!IsAcquiredShortId(group, sSymbol) && !IsCalcShortId(group, sSymbol)) {
      check.sMessage = Format(kUnknownSymbolMessage, sSymbol.c_str());
      return check;
    }
  }
  check.bValid = true;
  check.sMessage = Format(kExpressionValidMessage, sExpression.c_str());
  return check;
}
