#include "calc/calc_binding.h"

#include "base/log.h"
#include "calc/calc_reference.h"
#include "calc/expression_parser.h"
#include "opc/opc_server.h"

namespace {

// The reference code of a symbol, or -1 when no item of the group has it as short id.
// Acquired items come first: a name used by both kinds is the acquired item.
int ReferenceCode(const COPCGroup& group, const std::string& sSymbol) {
  for (size_t i = 0; i < group.AcquiredItems().size(); ++i) {
    const auto& item = group.AcquiredItems()[i];
    if (item != nullptr && item->ShortId() == sSymbol)
      return static_cast<int>(i);
  }
  for (size_t i = 0; i < group.CalcItems().size(); ++i) {
    const auto& item = group.CalcItems()[i];
    if (item != nullptr && item->ShortId() == sSymbol)
      return kCalcReferenceBase + static_cast<int>(i);
  }
  return -1;
}

}  // namespace

bool BindGroupCalcItems(COPCGroup& group, const IClock& clock, IUserPrompt& prompt) {
  for (size_t k = 0; k < group.CalcItems().size(); ++k) {
    COPCCalcItem* item = group.CalcItems()[k].get();
    if (item == nullptr)
      continue;
    CExpressionParser parser(item->Expression());
    parser.Evaluate(clock);
    // A binding left from an earlier acquisition may name symbols the expression no
    // longer has: the binding is built afresh.
    COPCCalcItem::SymbolBinding binding;
    for (const std::string& sSymbol : parser.ItemSymbols()) {
      const int nCode = ReferenceCode(group, sSymbol);
      if (nCode < 0) {
        prompt.ShowMessage(Format(kInvalidSymbolMessage, static_cast<int>(k), sSymbol.c_str(),
                                  item->Expression().c_str()),
                           MessageButtons::kOk, MessageIcon::kError);
        return false;
      }
      binding[sSymbol] = nCode;
    }
    item->Bind(parser.Symbols(), binding);
  }
  return true;
}

bool BindCalcItems(COPCServer& server, IUserPrompt& prompt) {
  const IClock& clock = server.Context().clock;
  for (int g = 0; g < server.GroupCount(); ++g) {
    COPCGroup* group = server.Group(g);
    if (group != nullptr && !BindGroupCalcItems(*group, clock, prompt))
      return false;
  }
  return true;
}
