#include "calc/expression_parser.h"

#include "base/log.h"
#include "calc/expression_functions.h"
#include "calc/expression_random.h"

namespace {

constexpr char kPiName[] = "pi";
constexpr char kEName[] = "e";
constexpr double kPi = 3.141592653589793;
constexpr double kE = 2.718281828459045;

constexpr char kRightParenExpected[] = "')' expected.";
constexpr char kCommaExpected[] = "',' expected.";
constexpr char kUnexpectedToken[] = "Unexpected Token: ";
constexpr char kTrailingText[] = "Unexpected Text at End of Expression: ";
constexpr char kDivideByZero[] = "Divide by Zero Error";
constexpr char kDivideAssignByZero[] = "Divide by Zero Error in Division Assignment (near %s)";
constexpr char kNotImplemented[] = "Function '%s' not implemented";
constexpr char kNestedTooDeeply[] = "Expression Nested Too Deeply (More Than %d Levels)";

// An unknown variable starts at (r + 1) / 3276.8 for a 15-bit draw r: in (0, 10].
constexpr double kUnknownVariableScale = 3276.8;

std::string LowerCase(const std::string& sName) {
  std::string sLower = sName;
  for (char& c : sLower) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return sLower;
}

bool IsLogicalOperator(ExpressionToken eKind) {
  return eKind == ExpressionToken::kLogicalAnd || eKind == ExpressionToken::kLogicalOr ||
         eKind == ExpressionToken::kAnd || eKind == ExpressionToken::kOr;
}

bool IsComparisonOperator(ExpressionToken eKind) {
  return eKind == ExpressionToken::kLess || eKind == ExpressionToken::kLessEqual ||
         eKind == ExpressionToken::kGreater || eKind == ExpressionToken::kGreaterEqual ||
         eKind == ExpressionToken::kEqual || eKind == ExpressionToken::kNotEqual;
}

}  // namespace

CExpressionParser::CExpressionParser(std::string sText)
    : m_sText(std::move(sText)), m_scanner(m_sText, m_errors) {
  m_symbols.emplace(kPiName, kPi);
  m_symbols.emplace(kEName, kE);
}

void CExpressionParser::SetSymbol(const std::string& sName, double dValue) {
  m_symbols[sName] = dValue;
}

double CExpressionParser::Evaluate(const IClock& clock) {
  return EvaluateWithSeed(static_cast<uint32_t>(clock.SecondsSince1970()));
}

double CExpressionParser::EvaluateWithSeed(uint32_t nSeed) {
  ExpressionStatus::Reset();
  CExpressionRandom::Seed(nSeed);
  m_errors = CExpressionErrorReporter();
  m_scanner.Restart();
  m_nDepth = 0;

  const double dValue = List();
  if (ExpressionStatus::Valid() && !m_scanner.Is(ExpressionToken::kEnd)) {
    std::string sMessage = kTrailingText;
    sMessage.append(m_scanner.RestFromToken());
    m_errors.Report(sMessage);
  }
  return dValue;
}

std::vector<std::string> CExpressionParser::ItemSymbols() const {
  std::vector<std::string> names;
  for (const auto& [sName, dValue] : m_symbols) {
    if (!IsConstantSymbol(sName))
      names.push_back(sName);
  }
  return names;
}

bool CExpressionParser::IsConstantSymbol(std::string_view sName) {
  return sName == kPiName || sName == kEName;
}

// list: logical { "," logical }, the value of the last one.
double CExpressionParser::List() {
  double dValue = Logical();
  while (m_scanner.Is(ExpressionToken::kComma))
    dValue = Logical();
  return dValue;
}

// One level for && || & |, left to right; every operand is evaluated (no short-circuit).
double CExpressionParser::Logical() {
  double dLeft = Comparison();
  while (IsLogicalOperator(m_scanner.Kind())) {
    const ExpressionToken eOperator = m_scanner.Kind();
    const double dRight = Comparison();
    switch (eOperator) {
      case ExpressionToken::kLogicalAnd:
        dLeft = (dLeft == 0.0 || dRight == 0.0) ? 0.0 : 1.0;
        break;
      case ExpressionToken::kLogicalOr:
        dLeft = (dLeft == 0.0 && dRight == 0.0) ? 0.0 : 1.0;
        break;
      case ExpressionToken::kAnd:
        dLeft = static_cast<double>(TruncToInt32(dLeft) & TruncToInt32(dRight));
        break;
      default:
        dLeft = static_cast<double>(TruncToInt32(dLeft) | TruncToInt32(dRight));
        break;
    }
  }
  return dLeft;
}

double CExpressionParser::Comparison() {
  double dLeft = Additive();
  while (IsComparisonOperator(m_scanner.Kind())) {
    const ExpressionToken eOperator = m_scanner.Kind();
    const double dRight = Additive();
    bool bResult = false;
    switch (eOperator) {
      case ExpressionToken::kLess:
        bResult = dLeft < dRight;
        break;
      case ExpressionToken::kLessEqual:
        bResult = dLeft <= dRight;
        break;
      case ExpressionToken::kGreater:
        bResult = dLeft > dRight;
        break;
      case ExpressionToken::kGreaterEqual:
        bResult = dLeft >= dRight;
        break;
      case ExpressionToken::kEqual:
        bResult = dLeft == dRight;
        break;
      default:
        bResult = !(dLeft == dRight);
        break;
    }
    dLeft = bResult ? 1.0 : 0.0;
  }
  return dLeft;
}

double CExpressionParser::Additive() {
  double dLeft = Multiplicative();
  while (m_scanner.Is(ExpressionToken::kPlus) || m_scanner.Is(ExpressionToken::kMinus)) {
    const bool bAdd = m_scanner.Is(ExpressionToken::kPlus);
    const double dRight = Multiplicative();
    dLeft = bAdd ? dLeft + dRight : dLeft - dRight;
  }
  return dLeft;
}

double CExpressionParser::Multiplicative() {
  double dLeft = Operand();
  while (m_scanner.Is(ExpressionToken::kMultiply) || m_scanner.Is(ExpressionToken::kDivide)) {
    const bool bMultiply = m_scanner.Is(ExpressionToken::kMultiply);
    const double dRight = Operand();
    if (bMultiply) {
      dLeft *= dRight;
    } else if (dRight == 0.0) {
      m_errors.Report(kDivideByZero);
      return kErrorValue;
    } else {
      dLeft /= dRight;
    }
  }
  return dLeft;
}

// Every nesting of the grammar passes through here, so this is where its depth is bounded.
double CExpressionParser::Operand() {
  if (m_nDepth >= kMaxNestingDepth) {
    m_errors.Report(Format(kNestedTooDeeply, kMaxNestingDepth));
    m_errors.Silence();  // the reason for abandoning stays the message
    m_scanner.SkipToEnd();
    return kErrorValue;
  }
  ++m_nDepth;
  const double dValue = NestedOperand();
  --m_nDepth;
  return dValue;
}

double CExpressionParser::NestedOperand() {
  m_scanner.Next(false);
  switch (m_scanner.Kind()) {
    case ExpressionToken::kNumber: {
      const double dValue = m_scanner.LiteralValue();
      m_scanner.Next(true);
      return dValue;
    }
    case ExpressionToken::kLeftParen: {
      const double dValue = List();
      Expect(ExpressionToken::kRightParen, kRightParenExpected);
      m_scanner.Next(true);
      return dValue;
    }
    case ExpressionToken::kMinus:
      return -Operand();
    case ExpressionToken::kNot:
      return Operand() == 0.0 ? 1.0 : 0.0;
    case ExpressionToken::kName: {
      const std::string sName = m_scanner.Text();
      m_scanner.Next(true);
      if (m_scanner.Is(ExpressionToken::kLeftParen))
        return Call(sName);
      return Variable(sName);
    }
    case ExpressionToken::kBadCharacter:
      // Already reported by the scanner, which stepped over it.
      m_scanner.Next(true);
      return kErrorValue;
    default: {
      std::string sMessage = kUnexpectedToken;
      sMessage += m_scanner.Text();
      m_errors.Report(sMessage);
      return kErrorValue;
    }
  }
}

void CExpressionParser::Expect(ExpressionToken eKind, const char* pMessage) {
  if (!m_scanner.Is(eKind))
    m_errors.Report(pMessage);
}

// The current token is the "(" after the name. Names are found whatever their case.
double CExpressionParser::Call(const std::string& sName) {
  const std::string sLower = LowerCase(sName);

  const auto& table1 = ExpressionFunctions1();
  if (const auto it = table1.find(sLower); it != table1.end()) {
    const double a = Logical();
    Expect(ExpressionToken::kRightParen, kRightParenExpected);
    m_scanner.Next(true);
    // An abandoned evaluation applies nothing: no function may report over its reason.
    return m_errors.Silenced() ? kErrorValue : it->second(a);
  }
  const auto& table2 = ExpressionFunctions2();
  if (const auto it = table2.find(sLower); it != table2.end()) {
    const double a = Logical();
    Expect(ExpressionToken::kComma, kCommaExpected);
    const double b = Logical();
    Expect(ExpressionToken::kRightParen, kRightParenExpected);
    m_scanner.Next(true);
    return m_errors.Silenced() ? kErrorValue : it->second(a, b);
  }
  const auto& table3 = ExpressionFunctions3();
  if (const auto it = table3.find(sLower); it != table3.end()) {
    const double a = Logical();
    Expect(ExpressionToken::kComma, kCommaExpected);
    const double b = Logical();
    Expect(ExpressionToken::kComma, kCommaExpected);
    const double c = Logical();
    Expect(ExpressionToken::kRightParen, kRightParenExpected);
    m_scanner.Next(true);
    return m_errors.Silenced() ? kErrorValue : it->second(a, b, c);
  }
  m_errors.Report(Format(kNotImplemented, sLower.c_str()));
  return kErrorValue;
}

// The current token is the one after the name. An assignment yields its value only: the
// symbol table keeps the variable's value.
double CExpressionParser::Variable(const std::string& sName) {
  auto it = m_symbols.find(sName);
  if (it == m_symbols.end()) {
    const double dInitial = (CExpressionRandom::Next() + 1) / kUnknownVariableScale;
    it = m_symbols.emplace(sName, dInitial).first;
  }
  const double dValue = it->second;
  switch (m_scanner.Kind()) {
    case ExpressionToken::kAssign:
      return Logical();
    case ExpressionToken::kAddAssign:
      return dValue + Logical();
    case ExpressionToken::kSubtractAssign:
      return dValue - Logical();
    case ExpressionToken::kMultiplyAssign:
      return dValue * Logical();
    case ExpressionToken::kDivideAssign: {
      const double dDivisor = Logical();
      if (dDivisor == 0.0) {
        m_errors.Report(Format(kDivideAssignByZero, sName.c_str()));
        return kErrorValue;
      }
      return dValue / dDivisor;
    }
    default:
      return dValue;
  }
}
