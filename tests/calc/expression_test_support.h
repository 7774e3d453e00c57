#pragma once
// Evaluates an expression the way its callers do and keeps everything a test looks at.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "calc/expression_parser.h"
#include "calc/expression_status.h"

struct ExpressionOutcome {
  double value = 0.0;
  bool valid = false;
  std::string message;
  ExpressionSymbolTable symbols;
  std::vector<std::string> itemSymbols;
};

inline ExpressionOutcome EvaluateText(const std::string& text,
                                      const std::map<std::string, double>& symbols = {},
                                      uint32_t seed = 12345u) {
  CExpressionParser parser(text);
  for (const auto& [name, value] : symbols)
    parser.SetSymbol(name, value);
  ExpressionOutcome outcome;
  outcome.value = parser.EvaluateWithSeed(seed);
  outcome.valid = ExpressionStatus::Valid();
  outcome.message = ExpressionStatus::Message();
  outcome.symbols = parser.Symbols();
  outcome.itemSymbols = parser.ItemSymbols();
  return outcome;
}

// The initial value an unknown variable gets from the k-th draw (k from 1) after a seed.
double UnknownVariableValue(uint32_t seed, int draw);
