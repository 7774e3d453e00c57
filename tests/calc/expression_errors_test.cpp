// Errors and error values: every message text, the last error wins, 129.0 enters the
// arithmetic, the trailing-text check, and evaluations that always end.
#include <gtest/gtest.h>

#include <string>

#include "expression_test_support.h"

namespace {

struct ErrorCase {
  const char* text;
  const char* message;
  double value;
};

TEST(ExpressionErrors, MessagesAndValues) {
  const ErrorCase cases[] = {
      {"", "Unexpected Token: <end of expression>", 129.0},
      {"   ", "Unexpected Token: <end of expression>", 129.0},
      {"1+", "Unexpected Token: <end of expression>", 130.0},
      {"(1", "Unexpected end of expression.", 1.0},  // "')' expected." came first
      {"1/0", "Divide by Zero Error", 129.0},
      {"0/0", "Divide by Zero Error", 129.0},
      {"foo(1)", "Function 'foo' not implemented", 129.0},
      {"FOO(1)", "Function 'foo' not implemented", 129.0},
      {"1 2", "Unexpected Text at End of Expression: 2", 1.0},
      {"(1))", "Unexpected Text at End of Expression: )", 1.0},
      {"1 = 2", "Unexpected Text at End of Expression: = 2", 1.0},
      {"1 2   3 ", "Unexpected Text at End of Expression: 2   3 ", 1.0},
      {"max(1, 2, 3)", "')' expected.", 2.0},
      {"mod(7, 0)", "Divide by Zero Error in Function Mod()", 0.0},
      {"x /= 0", "Divide by Zero Error in Division Assignment (near x)", 129.0},
      {"+x", "Unexpected Token: +", 129.0 + UnknownVariableValue(12345u, 1)},
      {"*2", "Unexpected Token: *", 258.0},
      {")", "Unexpected Token: )", 129.0},
      {"sqrt(4", "Unexpected end of expression.", 2.0},
      {"sqrt 4", "Unexpected Text at End of Expression: 4", UnknownVariableValue(12345u, 1)},
      {"min(1 2)", "Unexpected Token: )", 1.0},
      {"if(1, 2)", "Unexpected end of expression.", 2.0},
  };
  for (const ErrorCase& c : cases) {
    const ExpressionOutcome outcome = EvaluateText(c.text);
    EXPECT_FALSE(outcome.valid) << c.text;
    EXPECT_EQ(outcome.message, c.message) << c.text;
    EXPECT_DOUBLE_EQ(outcome.value, c.value) << c.text;
  }
}

TEST(ExpressionErrors, CommaAndBracketExpectations) {
  ExpressionOutcome outcome = EvaluateText("min(1; 2)");
  EXPECT_FALSE(outcome.valid);
  outcome = EvaluateText("pow(2 3");
  EXPECT_FALSE(outcome.valid);
  // The comma message survives when nothing else goes wrong afterwards.
  // The token where the comma should be is stepped over as if it were one.
  outcome = EvaluateText("max(1 3 2)");
  EXPECT_EQ(outcome.message, "',' expected.");
  EXPECT_EQ(outcome.value, 2.0);
  outcome = EvaluateText("max(1 $ 2)");
  EXPECT_EQ(outcome.message, "',' expected.");
  EXPECT_EQ(outcome.value, 2.0);
}

TEST(ExpressionErrors, ErrorValueEntersTheSurroundingArithmetic) {
  EXPECT_EQ(EvaluateText("1/0 + 1").value, 130.0);
  EXPECT_EQ(EvaluateText("2 + 1/0").value, 131.0);
  EXPECT_EQ(EvaluateText("1/0 * 5").value, 129.0);  // the multiplicative level ends at once
  EXPECT_EQ(EvaluateText("2 * foo(3)").value, 258.0);
  EXPECT_EQ(EvaluateText("(x /= 0) - 1").value, 128.0);
  EXPECT_EQ(EvaluateText("mod(1, 0) + 5").value, 5.0);
}

TEST(ExpressionErrors, TheLastErrorReportedWins) {
  EXPECT_EQ(EvaluateText("1/0 + foo(1)").message, "Function 'foo' not implemented");
  EXPECT_EQ(EvaluateText("foo(1) + 1/0").message, "Function 'foo' not implemented");
  EXPECT_EQ(EvaluateText("mod(1,0) + 2/0").message, "Divide by Zero Error");
  EXPECT_EQ(EvaluateText("1$ + 2").message, "Unexpected character: $");
  EXPECT_EQ(EvaluateText("$ + 1/0").message, "Divide by Zero Error");
}

TEST(ExpressionErrors, TrailingTextIsCheckedOnlyWhileValid) {
  EXPECT_EQ(EvaluateText("1/0 2").message, "Divide by Zero Error");
  EXPECT_EQ(EvaluateText("mod(1, 0) 2").message, "Divide by Zero Error in Function Mod()");
}

TEST(ExpressionErrors, AnUnknownFunctionDoesNotReadItsArguments) {
  ExpressionOutcome outcome = EvaluateText("foo(zz / 0)");
  EXPECT_EQ(outcome.message, "Function 'foo' not implemented");
  EXPECT_EQ(outcome.symbols.count("zz"), 0u);
  EXPECT_EQ(outcome.value, 129.0);
}

TEST(ExpressionErrors, StatusIsResetByEachEvaluationAndKeptUntilTheNext) {
  EvaluateText("1/0");
  EXPECT_FALSE(ExpressionStatus::Valid());
  CExpressionParser parser("1 + 1");  // making a parser does not touch the status
  EXPECT_FALSE(ExpressionStatus::Valid());
  EXPECT_EQ(ExpressionStatus::Message(), "Divide by Zero Error");
  EXPECT_EQ(parser.EvaluateWithSeed(1), 2.0);
  EXPECT_TRUE(ExpressionStatus::Valid());
  EXPECT_EQ(ExpressionStatus::Message(), "None");
}

TEST(ExpressionErrors, DeepNestingIsRefusedNotOverflowingTheStack) {
  const std::string kDeep = "Expression Nested Too Deeply (More Than 256 Levels)";
  const std::string brackets = std::string(100000, '(') + "1" + std::string(100000, ')');
  ExpressionOutcome outcome = EvaluateText(brackets);
  EXPECT_FALSE(outcome.valid);
  EXPECT_EQ(outcome.message, kDeep);
  EXPECT_EQ(outcome.value, 129.0);

  EXPECT_EQ(EvaluateText(std::string(100000, '-') + "x").message, kDeep);
  EXPECT_EQ(EvaluateText(std::string(100000, '!') + "1").message, kDeep);
  std::string calls;
  for (int i = 0; i < 20000; ++i)
    calls += "sqrt(";
  EXPECT_EQ(EvaluateText(calls + "4").message, kDeep);
  std::string assignments;
  for (int i = 0; i < 20000; ++i)
    assignments += "x=";
  EXPECT_EQ(EvaluateText(assignments + "1").message, kDeep);
  // Nothing reported while unwinding replaces the reason: no function is applied, no
  // bracket is missed, no division by zero is reported.
  EXPECT_EQ(EvaluateText("mod(1, 0 * " + brackets).message, kDeep);
  EXPECT_EQ(EvaluateText("1 / !" + brackets).message, kDeep);
}

TEST(ExpressionErrors, EveryTextOfTheEditorsLengthStaysWithinTheNestingBound) {
  // 254 characters are the most the editor checks; none of them can nest too deeply.
  const std::string brackets = std::string(126, '(') + "1" + std::string(126, ')');
  ASSERT_LE(brackets.size(), 254u);
  ExpressionOutcome outcome = EvaluateText(brackets);
  EXPECT_TRUE(outcome.valid) << outcome.message;
  EXPECT_EQ(outcome.value, 1.0);
  outcome = EvaluateText(std::string(253, '-') + "x", {{"x", 2.0}});
  EXPECT_TRUE(outcome.valid) << outcome.message;
  EXPECT_EQ(outcome.value, -2.0);  // an odd count of minus signs
  outcome = EvaluateText(std::string(254, '!'));
  EXPECT_EQ(outcome.message, "Unexpected Token: <end of expression>");
}

TEST(ExpressionErrors, LongRunsOfBadCharactersEnd) {
  const ExpressionOutcome outcome = EvaluateText("1 +" + std::string(200000, '$'));
  EXPECT_EQ(outcome.message, "Unexpected character: $");
}

}  // namespace
