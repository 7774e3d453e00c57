#include "calc/expression_scanner.h"

#include <charconv>
#include <system_error>

#include "base/log.h"

namespace {

constexpr char kEndText[] = "<end of expression>";
constexpr char kUnexpectedEnd[] = "Unexpected end of expression.";
constexpr char kUnexpectedCharacter[] = "Unexpected character: %s";
constexpr char kUnexpectedControl[] = "Unexpected character (decimal %d)";
constexpr char kBadNumericLiteral[] = "Bad numeric literal: %s";
// A bad literal still stands as an operand, with the language's error value.
constexpr double kBadLiteralValue = 129.0;

// Explicit character classes: the <cctype> ones depend on the locale and are undefined
// for negative char values.
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsNameCharacter(char c) {
  return IsLetter(c) || IsDigit(c) || c == '_' || c == '.';
}

// "x=" forms a two-character token for these x.
ExpressionToken TwoCharacterToken(char c) {
  switch (c) {
    case '!':
      return ExpressionToken::kNotEqual;
    case '*':
      return ExpressionToken::kMultiplyAssign;
    case '+':
      return ExpressionToken::kAddAssign;
    case '-':
      return ExpressionToken::kSubtractAssign;
    case '/':
      return ExpressionToken::kDivideAssign;
    case '<':
      return ExpressionToken::kLessEqual;
    case '=':
      return ExpressionToken::kEqual;
    case '>':
      return ExpressionToken::kGreaterEqual;
    default:
      return ExpressionToken::kNone;
  }
}

bool IsSingleCharacterOperator(char c) {
  switch (c) {
    case '!':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case '-':
    case '/':
    case '<':
    case '=':
    case '>':
    case '&':
    case '|':
      return true;
    default:
      return false;
  }
}

// The standard decimal conversion, independent of the locale (a GUI may have set one
// with a decimal comma). The whole text must convert to a finite double.
bool ConvertLiteral(std::string_view sText, double& dValue) {
  if (!sText.empty() && sText.front() == '+')
    sText.remove_prefix(1);  // from_chars takes a minus sign only
  const char* pEnd = sText.data() + sText.size();
  const std::from_chars_result result = std::from_chars(sText.data(), pEnd, dValue);
  return result.ec == std::errc() && result.ptr == pEnd;
}

}  // namespace

void CExpressionScanner::Restart() {
  m_nPos = 0;
  m_nTokenStart = 0;
  m_sToken.clear();
  m_eKind = ExpressionToken::kNone;
  m_dLiteral = 0.0;
}

void CExpressionScanner::SkipToEnd() {
  m_nPos = m_sText.size();
  m_nTokenStart = m_nPos;
  m_sToken = kEndText;
  m_eKind = ExpressionToken::kEnd;
}

void CExpressionScanner::Next(bool bSignsAreOperators) {
  m_sToken.clear();
  while (!AtEnd(m_nPos) && IsSpace(m_sText[m_nPos]))
    ++m_nPos;
  m_nTokenStart = m_nPos;

  if (AtEnd(m_nPos)) {
    if (m_eKind == ExpressionToken::kEnd) {
      m_errors.Report(kUnexpectedEnd);
      return;
    }
    m_eKind = ExpressionToken::kEnd;
    m_sToken = kEndText;
    return;
  }

  const char c = m_sText[m_nPos];
  const char cNext = At(m_nPos + 1);
  const bool bNextBeginsNumber = IsDigit(cNext) || cNext == '.';
  if ((!bSignsAreOperators && (c == '+' || c == '-') && bNextBeginsNumber) || IsDigit(c) ||
      (c == '.' && IsDigit(cNext))) {
    ScanNumber();
    return;
  }

  if (cNext == '=' && TwoCharacterToken(c) != ExpressionToken::kNone) {
    m_eKind = TwoCharacterToken(c);
    m_sToken.assign(m_sText.substr(m_nPos, 2));
    m_nPos += 2;
    return;
  }
  if ((c == '&' || c == '|') && cNext == c) {
    m_eKind = c == '&' ? ExpressionToken::kLogicalAnd : ExpressionToken::kLogicalOr;
    m_sToken.assign(m_sText.substr(m_nPos, 2));
    m_nPos += 2;
    return;
  }
  if (IsSingleCharacterOperator(c)) {
    m_eKind = static_cast<ExpressionToken>(c);
    m_sToken.assign(1, c);
    ++m_nPos;
    return;
  }
  if (IsLetter(c)) {
    size_t nEnd = m_nPos + 1;
    while (!AtEnd(nEnd) && IsNameCharacter(m_sText[nEnd]))
      ++nEnd;
    m_eKind = ExpressionToken::kName;
    m_sToken.assign(m_sText.substr(m_nPos, nEnd - m_nPos));
    m_nPos = nEnd;
    return;
  }
  ReportBadCharacter(static_cast<unsigned char>(c));
}

void CExpressionScanner::ScanNumber() {
  size_t nEnd = m_nPos;
  if (m_sText[nEnd] == '+' || m_sText[nEnd] == '-')
    ++nEnd;
  while (!AtEnd(nEnd) && (IsDigit(m_sText[nEnd]) || m_sText[nEnd] == '.'))
    ++nEnd;
  if (At(nEnd) == 'e' || At(nEnd) == 'E') {
    ++nEnd;
    if (At(nEnd) == '+' || At(nEnd) == '-')
      ++nEnd;
    while (!AtEnd(nEnd) && IsDigit(m_sText[nEnd]))
      ++nEnd;
  }
  const std::string_view sLiteral = m_sText.substr(m_nPos, nEnd - m_nPos);
  m_nPos = nEnd;
  m_sToken.assign(sLiteral);
  m_eKind = ExpressionToken::kNumber;
  double dValue = 0.0;
  if (ConvertLiteral(sLiteral, dValue)) {
    m_dLiteral = dValue;
  } else {
    m_dLiteral = kBadLiteralValue;
    m_errors.Report(Format(kBadNumericLiteral, m_sToken.c_str()));
  }
}

void CExpressionScanner::ReportBadCharacter(unsigned char cChar) {
  if (cChar >= 32) {
    const char sChar[2] = {static_cast<char>(cChar), '\0'};
    m_errors.Report(Format(kUnexpectedCharacter, sChar));
  } else {
    m_errors.Report(Format(kUnexpectedControl, static_cast<int>(cChar)));
  }
  ++m_nPos;
  m_eKind = ExpressionToken::kBadCharacter;
}
