// Fuzz entry point of the expression evaluator: any bytes, as an expression text, must
// evaluate to an end without crashing, hanging or recursing without bound, and the same
// text with the same seed must give the same outcome twice (no state leaks between
// evaluations).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calc/expression_parser.h"
#include "calc/expression_status.h"

namespace {

struct Outcome {
  double dValue;
  bool bValid;
  std::string sMessage;
  ExpressionSymbolTable symbols;
};

Outcome EvaluateOnce(const std::string& sText, uint32_t nSeed) {
  CExpressionParser parser(sText);
  // A few symbols as the acquisition would bind them.
  parser.SetSymbol("A", 1.5);
  parser.SetSymbol("T_OVEN", 250.0);
  parser.SetSymbol("ZERO", 0.0);
  Outcome outcome;
  outcome.dValue = parser.EvaluateWithSeed(nSeed);
  outcome.bValid = ExpressionStatus::Valid();
  outcome.sMessage = ExpressionStatus::Message();
  outcome.symbols = parser.Symbols();
  return outcome;
}

bool SameValue(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string sText(reinterpret_cast<const char*>(pData), nSize);
  const uint32_t nSeed = static_cast<uint32_t>(nSize) * 2654435761u;
  const Outcome first = EvaluateOnce(sText, nSeed);
  const Outcome second = EvaluateOnce(sText, nSeed);
  if (!SameValue(first.dValue, second.dValue) || first.bValid != second.bValid ||
      first.sMessage != second.sMessage || first.symbols.size() != second.symbols.size())
    std::abort();
  // A valid evaluation reports nothing; an invalid one always says why.
  if (first.bValid != (first.sMessage == "None") || first.sMessage.empty())
    std::abort();
  // pi and e are always listed.
  if (first.symbols.count("pi") != 1 || first.symbols.count("e") != 1)
    std::abort();
  return 0;
}
