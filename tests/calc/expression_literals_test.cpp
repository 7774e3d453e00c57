// Literals and scanning: numbers, signs, names, white space, two-character tokens and the
// characters that begin no token.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/expression_random.h"
#include "expression_test_support.h"

double UnknownVariableValue(uint32_t seed, int draw) {
  CExpressionRandom::Seed(seed);
  int r = 0;
  for (int i = 0; i < draw; ++i)
    r = CExpressionRandom::Next();
  return (r + 1) / 3276.8;
}

namespace {

void ExpectValue(const std::string& text, double expected) {
  const ExpressionOutcome outcome = EvaluateText(text);
  EXPECT_TRUE(outcome.valid) << text << ": " << outcome.message;
  EXPECT_EQ(outcome.message, "None") << text;
  EXPECT_DOUBLE_EQ(outcome.value, expected) << text;
}

void ExpectMessage(const std::string& text, const std::string& message) {
  const ExpressionOutcome outcome = EvaluateText(text);
  EXPECT_FALSE(outcome.valid) << text;
  EXPECT_EQ(outcome.message, message) << text;
}

TEST(ExpressionLiterals, ConstantsAreTheNearestDoublesToPiAndE) {
  EXPECT_EQ(EvaluateText("pi").value, 3.141592653589793);
  EXPECT_EQ(EvaluateText("e").value, 2.718281828459045);
  EXPECT_EQ(EvaluateText("pi").message, "None");
}

TEST(ExpressionLiterals, DecimalForms) {
  ExpectValue(".5", 0.5);
  ExpectValue("1e3", 1000.0);
  ExpectValue("1E+3", 1000.0);
  ExpectValue("2.5e-1", 0.25);
  ExpectValue("4.", 4.0);
  ExpectValue("007", 7.0);
  ExpectValue("123456.789", 123456.789);
  ExpectValue("1e-310", 1e-310);  // subnormal, still representable
}

TEST(ExpressionLiterals, SignedLiteralsWhereAnOperandIsExpected) {
  ExpectValue("2*-3", -6.0);
  ExpectValue("4--1", 5.0);
  ExpectValue("-.5", -0.5);
  ExpectValue("+5", 5.0);
  ExpectValue("2*+3", 6.0);
  ExpectValue("-2 * -3", 6.0);
}

TEST(ExpressionLiterals, AfterAnOperandASignIsAnOperator) {
  ExpectValue("2 -3", -1.0);
  ExpectValue("2-3", -1.0);
  ExpectValue("(2)-3", -1.0);
  ExpectValue("x -3", UnknownVariableValue(12345u, 1) - 3.0);
}

TEST(ExpressionLiterals, MalformedNumbersAreRefusedWithTheirText) {
  ExpectMessage("1.2.3", "Bad numeric literal: 1.2.3");
  ExpectMessage("-1.2.3", "Bad numeric literal: -1.2.3");
  ExpectMessage("1e", "Bad numeric literal: 1e");
  ExpectMessage("2e+", "Bad numeric literal: 2e+");
  ExpectMessage("1..", "Bad numeric literal: 1..");
  ExpectMessage("1e999", "Bad numeric literal: 1e999");  // no finite double
  // A refused literal still stands as an operand, with the error value.
  EXPECT_EQ(EvaluateText("1.2.3").value, 129.0);
  EXPECT_EQ(EvaluateText("1 + 1.2.3").value, 130.0);
}

TEST(ExpressionLiterals, OnlyDecimalNotationExists) {
  const ExpressionOutcome outcome = EvaluateText("0x1F");
  EXPECT_EQ(outcome.message, "Unexpected Text at End of Expression: x1F");
  EXPECT_EQ(outcome.value, 0.0);
}

TEST(ExpressionLiterals, WhiteSpaceOfEveryKindIsSkipped) {
  ExpectValue(" \t\n\v\f\r1 \t+\r\n2 ", 3.0);
}

TEST(ExpressionLiterals, NamesRunOverLettersDigitsUnderscoreAndDot) {
  ExpectValue("T.1 * 2", 2.0 * UnknownVariableValue(12345u, 1));
  const ExpressionOutcome outcome = EvaluateText("T_OVEN.PV2 + 1", {{"T_OVEN.PV2", 41.0}});
  EXPECT_EQ(outcome.value, 42.0);
  EXPECT_TRUE(outcome.valid);
  ASSERT_EQ(outcome.itemSymbols.size(), 1u);
  EXPECT_EQ(outcome.itemSymbols[0], "T_OVEN.PV2");
}

TEST(ExpressionLiterals, TwoCharacterOperators) {
  ExpectValue("1 <= 1", 1.0);
  ExpectValue("1 >= 2", 0.0);
  ExpectValue("2 == 2", 1.0);
  ExpectValue("2 != 2", 0.0);
  ExpectValue("1 && 1", 1.0);
  ExpectValue("0 || 1", 1.0);
  // "< =" is two tokens: "=" after a comparison operand is not an operator there.
  ExpectMessage("1 < = 1", "Unexpected Token: =");
}

TEST(ExpressionLiterals, ACharacterThatBeginsNoTokenIsReportedAndSteppedOver) {
  ExpectMessage("1$", "Unexpected character: $");
  EXPECT_EQ(EvaluateText("1$").value, 1.0);
  ExpectMessage("1+$", "Unexpected character: $");
  EXPECT_EQ(EvaluateText("1+$").value, 130.0);
  ExpectMessage("-$", "Unexpected character: $");
  EXPECT_EQ(EvaluateText("-$").value, -129.0);
  ExpectMessage("$$$$$$", "Unexpected character: $");
  ExpectMessage("_a", "Unexpected character: _");
  ExpectMessage("a ? b : c", "Unexpected character: ?");
  ExpectMessage(".", "Unexpected character: .");
  ExpectMessage("2 ^ 3", "Unexpected character: ^");
}

TEST(ExpressionLiterals, ControlCharactersAreReportedByTheirDecimalCode) {
  ExpectMessage("1\x01", "Unexpected character (decimal 1)");
  ExpectMessage(std::string("1+\0", 3), "Unexpected character (decimal 0)");
  ExpectMessage("\x1f", "Unexpected character (decimal 31)");
  // Codes of 32 and above are shown as the character itself (the text is single-byte).
  ExpectMessage("\x7f", "Unexpected character: \x7f");
  ExpectMessage("1\xe9", "Unexpected character: \xe9");
}

TEST(ExpressionLiterals, EndOfTextIsATokenOnce) {
  ExpectMessage("", "Unexpected Token: <end of expression>");
  ExpectMessage("    ", "Unexpected Token: <end of expression>");
  ExpectMessage("(1", "Unexpected end of expression.");
}

}  // namespace
