// Precedence and associativity: list < logical < comparison < additive < multiplicative <
// operand, every binary level left-associative, every operand evaluated.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "expression_test_support.h"

namespace {

void ExpectValue(const std::string& text, double expected) {
  const ExpressionOutcome outcome = EvaluateText(text);
  EXPECT_TRUE(outcome.valid) << text << ": " << outcome.message;
  EXPECT_DOUBLE_EQ(outcome.value, expected) << text;
}

TEST(ExpressionPrecedence, ArithmeticLevels) {
  ExpectValue("1 + 2 * 3", 7.0);
  ExpectValue("(1 + 2) * 3", 9.0);
  ExpectValue("2 * 3 + 4 * 5", 26.0);
  ExpectValue("1 + 6 / 3 - 2", 1.0);
}

TEST(ExpressionPrecedence, BinaryLevelsAreLeftAssociative) {
  ExpectValue("8 / 4 / 2", 1.0);
  ExpectValue("10 - 4 - 3", 3.0);
  ExpectValue("2 * 6 / 3", 4.0);
  ExpectValue("1 < 2 < 3", 1.0);  // (1 < 2) is 1.0, 1.0 < 3
  ExpectValue("3 > 2 > 1", 0.0);  // (3 > 2) is 1.0, 1.0 > 1 is false
  ExpectValue("1 < 2 == 1", 1.0);
}

TEST(ExpressionPrecedence, ComparisonsBindLooserThanArithmetic) {
  ExpectValue("1 + 1 == 2", 1.0);
  ExpectValue("2 * 3 > 5", 1.0);
  ExpectValue("1 - 1 != 0", 0.0);
}

TEST(ExpressionPrecedence, AllFourLogicalOperatorsShareOneLevel) {
  ExpectValue("1 || 0 && 0", 0.0);  // (1 || 0) && 0
  ExpectValue("0 && 0 || 1", 1.0);
  ExpectValue("4 | 1 & 2", 0.0);  // (4 | 1) & 2
  ExpectValue("1 & 2 | 4", 4.0);
  ExpectValue("3 & 1 || 0", 1.0);
  ExpectValue("2 | 1 == 1", 3.0);  // comparison first: 2 | 1
  ExpectValue("1 + 2 & 3", 3.0);
}

TEST(ExpressionPrecedence, LogicalResults) {
  ExpectValue("3 & 5", 1.0);
  ExpectValue("6 | 1.9", 7.0);
  ExpectValue("-1.5 & 7", 7.0);  // -1 & 7
  ExpectValue("0 || 0", 0.0);
  ExpectValue("2 && -1", 1.0);
  ExpectValue("0.5 && 0.25", 1.0);
  ExpectValue("0 && 1", 0.0);
}

TEST(ExpressionPrecedence, NotANumberCountsAsTrueAndIsUnequalToItself) {
  ExpectValue("sqrt(-1) && 1", 1.0);
  ExpectValue("sqrt(-1) || 0", 1.0);
  ExpectValue("!sqrt(-1)", 0.0);
  ExpectValue("sqrt(-1) == sqrt(-1)", 0.0);
  ExpectValue("sqrt(-1) != sqrt(-1)", 1.0);
  ExpectValue("sqrt(-1) < 1", 0.0);
  ExpectValue("sqrt(-1) & 3", 0.0);
}

TEST(ExpressionPrecedence, UnaryOperators) {
  ExpectValue("-(2 + 3)", -5.0);
  ExpectValue("- 3", -3.0);
  ExpectValue("--3", 3.0);
  ExpectValue("!0", 1.0);
  ExpectValue("!5", 0.0);
  ExpectValue("!!5", 1.0);
  ExpectValue("!0 + 1", 2.0);
  ExpectValue("-pi * 2", -2.0 * 3.141592653589793);
  const ExpressionOutcome negated = EvaluateText("-x", {{"x", 4.0}});
  EXPECT_EQ(negated.value, -4.0);
  EXPECT_TRUE(negated.valid);
  EXPECT_EQ(EvaluateText("2*-x", {{"x", 4.0}}).value, -8.0);
}

TEST(ExpressionPrecedence, ListsYieldTheirLastValue) {
  ExpectValue("(1, 2, 3)", 3.0);
  ExpectValue("1, 2", 2.0);
  ExpectValue("(1, 2) * 5", 10.0);
  ExpectValue("max((1, 5), 2)", 5.0);  // brackets make a list inside an argument
}

TEST(ExpressionPrecedence, EveryOperandIsEvaluatedNoShortCircuit) {
  // The right operands fail although the left ones already decide the result.
  ExpressionOutcome outcome = EvaluateText("0 && 1/0");
  EXPECT_FALSE(outcome.valid);
  EXPECT_EQ(outcome.message, "Divide by Zero Error");
  EXPECT_EQ(outcome.value, 0.0);
  outcome = EvaluateText("1 || foo(2)");
  EXPECT_EQ(outcome.message, "Function 'foo' not implemented");
  EXPECT_EQ(outcome.value, 1.0);
  outcome = EvaluateText("if(1, 2, 1/0)");
  EXPECT_EQ(outcome.message, "Divide by Zero Error");
  EXPECT_EQ(outcome.value, 2.0);
  // Unknown variables of an untaken branch still enter the symbol table.
  outcome = EvaluateText("if(1, A, B)");
  EXPECT_EQ(outcome.itemSymbols, (std::vector<std::string>{"A", "B"}));
}

}  // namespace
