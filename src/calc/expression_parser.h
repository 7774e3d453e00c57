#pragma once
// CExpressionParser: one evaluation of one expression text. Made from the text, given the
// values of its symbols, evaluated once, its symbols listed, then discarded. The value is
// computed while the text is parsed (no tree, no compiled form). Errors never stop the
// evaluation: each one goes to ExpressionStatus, the failing operand takes the error value
// and parsing goes on; the caller reads ExpressionStatus right after Evaluate.
//
// Typical uses:
//   editor check:    CExpressionParser p(text); p.Evaluate(clock);
//                    ExpressionStatus::Valid(), p.ItemSymbols() -> must all be item short ids
//   each cycle:      CExpressionParser p(text); for (bound symbol) p.SetSymbol(name, value);
//                    double v = p.Evaluate(clock);   // stored whatever the status
//
// Thread rule: one evaluation at a time, on one thread (ExpressionStatus and the random
// generator are shared by all evaluations).
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "calc/expression_scanner.h"
#include "calc/expression_status.h"

// Name -> value, case-sensitive, in ascending byte order.
using ExpressionSymbolTable = std::map<std::string, double>;

class CExpressionParser {
 public:
  // The value an operand takes when it fails (and a division by zero gives).
  static constexpr double kErrorValue = 129.0;
  // Operands nested deeper than this (brackets, signs, calls, assignments) abandon the
  // evaluation with an error instead of exhausting the stack. No text of 254 characters
  // or fewer can reach it.
  static constexpr int kMaxNestingDepth = 256;

  // The symbol table starts with pi and e.
  explicit CExpressionParser(std::string sText);
  CExpressionParser(const CExpressionParser&) = delete;
  CExpressionParser& operator=(const CExpressionParser&) = delete;

  // Sets name -> value before Evaluate (exact name, case included).
  void SetSymbol(const std::string& sName, double dValue);

  // Resets ExpressionStatus, seeds the random generator with the clock's time in seconds,
  // computes the whole text and returns its value (meaningful only when
  // ExpressionStatus::Valid() is true afterwards).
  double Evaluate(const IClock& clock);
  // The same with a chosen seed (tests, reproducible runs).
  double EvaluateWithSeed(uint32_t nSeed);

  const std::string& Text() const { return m_sText; }
  // pi, e, every symbol set, and after Evaluate every name the text read as a variable
  // (unknown names with their random initial values), in ascending byte order.
  const ExpressionSymbolTable& Symbols() const { return m_symbols; }
  // The names of Symbols() except "pi" and "e", in the same order: the names that must be
  // items of the group.
  std::vector<std::string> ItemSymbols() const;
  // "pi" and "e" are the language's constants, never item symbols.
  static bool IsConstantSymbol(std::string_view sName);

 private:
  double List();
  double Logical();
  double Comparison();
  double Additive();
  double Multiplicative();
  double Operand();
  double NestedOperand();
  double Call(const std::string& sName);
  double Variable(const std::string& sName);
  void Expect(ExpressionToken eKind, const char* pMessage);

  std::string m_sText;
  CExpressionErrorReporter m_errors;
  CExpressionScanner m_scanner;  // views m_sText, reports to m_errors
  ExpressionSymbolTable m_symbols;
  int m_nDepth = 0;
};
