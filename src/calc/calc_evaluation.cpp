#include "calc/calc_evaluation.h"

#include "calc/calc_reference.h"
#include "calc/expression_parser.h"
#include "opc/opc_server.h"

namespace {

// The current value behind a reference code. A code that names no item (the group changed
// since the binding) reads 0.0 rather than another item's value or memory outside the lists.
double ReferencedValue(const COPCGroup& group, int nCode) {
  if (IsCalcReference(nCode)) {
    const size_t nIndex = static_cast<size_t>(nCode - kCalcReferenceBase);
    if (nIndex < group.CalcItems().size() && group.CalcItems()[nIndex] != nullptr)
      return group.CalcItems()[nIndex]->CalcValue();
    return 0.0;
  }
  if (nCode >= 0 && static_cast<size_t>(nCode) < group.AcquiredItems().size() &&
      group.AcquiredItems()[static_cast<size_t>(nCode)] != nullptr)
    return VariantToDouble(group.AcquiredItems()[static_cast<size_t>(nCode)]->Value());
  return 0.0;
}

template <class Evaluator>
void EvaluateItems(COPCGroup& group, Evaluator evaluate) {
  for (const auto& item : group.CalcItems()) {
    if (item == nullptr)
      continue;
    CExpressionParser parser(item->Expression());
    for (const auto& [sName, dValue] : item->Symbols()) {
      if (CExpressionParser::IsConstantSymbol(sName))
        continue;
      const auto binding = item->Binding().find(sName);
      // Every symbol is bound before an acquisition starts; one that is not reads 0.0 so
      // the result never depends on a random initial value.
      parser.SetSymbol(
          sName, binding != item->Binding().end() ? ReferencedValue(group, binding->second) : 0.0);
    }
    // A value exists from now on; the data view shows it as Good.
    item->SetComputedValue(evaluate(parser), kCalcValueQuality);
  }
}

}  // namespace

double VariantToDouble(const VARIANT& value) {
  switch (value.vt) {
    case VT_I1:
      return value.cVal;
    case VT_I2:
      return value.iVal;
    case VT_I4:
    case VT_INT:
      return value.vt == VT_INT ? value.intVal : value.lVal;
    case VT_I8:
      return static_cast<double>(value.llVal);
    case VT_UI1:
      return value.bVal;
    case VT_UI2:
      return value.uiVal;
    case VT_UI4:
    case VT_UINT:
      return value.vt == VT_UINT ? value.uintVal : value.ulVal;
    case VT_UI8:
      return static_cast<double>(value.ullVal);
    case VT_R4:
      return value.fltVal;
    case VT_R8:
      return value.dblVal;
    case VT_BOOL:
      return value.boolVal != 0 ? 1.0 : 0.0;
    default:
      return 0.0;
  }
}

void EvaluateCalcItemsWithClock(COPCGroup& group, const IClock& clock) {
  EvaluateItems(group, [&clock](CExpressionParser& parser) { return parser.Evaluate(clock); });
}

void EvaluateCalcItems(COPCGroup& group) {
  if (group.Server() != nullptr) {
    EvaluateCalcItemsWithClock(group, group.Server()->Context().clock);
    return;
  }
  EvaluateItems(group, [](CExpressionParser& parser) { return parser.EvaluateWithSeed(0); });
}
