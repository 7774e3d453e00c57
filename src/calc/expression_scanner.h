#pragma once
// CExpressionScanner: cuts an expression text (single-byte characters) into tokens, one
// at a time, for CExpressionParser. It reports its own errors (unexpected end, unexpected
// character, bad numeric literal) through the evaluation's error reporter.
#include <cstddef>
#include <string>
#include <string_view>

#include "calc/expression_status.h"

// Token kinds. A single-character operator is its own character code.
enum class ExpressionToken : int {
  kNone = 0,
  kName = 1,
  kNumber = 2,
  kEnd = 3,
  // A character that begins no token. It is reported once and consumed, so the parser
  // can step over it: nothing reads the same character twice.
  kBadCharacter = 4,
  kAnd = '&',
  kLeftParen = '(',
  kRightParen = ')',
  kMultiply = '*',
  kPlus = '+',
  kComma = ',',
  kMinus = '-',
  kDivide = '/',
  kLess = '<',
  kAssign = '=',
  kGreater = '>',
  kNot = '!',
  kOr = '|',
  kLessEqual = 63,
  kGreaterEqual = 64,
  kEqual = 65,
  kNotEqual = 66,
  kLogicalAnd = 67,
  kLogicalOr = 68,
  kAddAssign = 125,
  kSubtractAssign = 126,
  kMultiplyAssign = 127,
  kDivideAssign = 128,
};

class CExpressionScanner {
 public:
  // The text must outlive the scanner.
  CExpressionScanner(std::string_view sText, CExpressionErrorReporter& errors)
      : m_sText(sText), m_errors(errors) {}

  // Back to the start of the text, kind none.
  void Restart();
  // Reads the next token. bSignsAreOperators is false exactly when an operand is expected:
  // then a "+" or "-" right before a digit or "." begins a signed number.
  void Next(bool bSignsAreOperators);

  ExpressionToken Kind() const { return m_eKind; }
  bool Is(ExpressionToken eKind) const { return m_eKind == eKind; }
  const std::string& Text() const { return m_sToken; }
  double LiteralValue() const { return m_dLiteral; }
  // The text from the current token's start to the end of the expression.
  std::string_view RestFromToken() const { return m_sText.substr(m_nTokenStart); }
  // Moves to the end of the text (an evaluation that is abandoned).
  void SkipToEnd();

 private:
  bool AtEnd(size_t nPos) const { return nPos >= m_sText.size(); }
  char At(size_t nPos) const { return nPos < m_sText.size() ? m_sText[nPos] : '\0'; }
  void ScanNumber();
  void ReportBadCharacter(unsigned char cChar);

  std::string_view m_sText;
  CExpressionErrorReporter& m_errors;
  size_t m_nPos = 0;
  size_t m_nTokenStart = 0;
  std::string m_sToken;
  ExpressionToken m_eKind = ExpressionToken::kNone;
  double m_dLiteral = 0.0;
};
