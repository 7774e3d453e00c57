// Symbols and assignments: values set by the caller, unknown names with random values,
// assignments that only yield values, and the symbol listing that binding relies on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expression_test_support.h"

namespace {

TEST(ExpressionSymbols, SymbolsSetByTheCallerAreReadExactly) {
  ExpressionOutcome outcome = EvaluateText("TEMP * 2", {{"TEMP", 20.5}});
  EXPECT_TRUE(outcome.valid);
  EXPECT_EQ(outcome.value, 41.0);
  EXPECT_EQ(outcome.itemSymbols, std::vector<std::string>{"TEMP"});
  // Case matters: temp is another, unknown, name.
  outcome = EvaluateText("temp * 2", {{"TEMP", 20.5}});
  EXPECT_TRUE(outcome.valid);
  EXPECT_EQ(outcome.value, 2.0 * UnknownVariableValue(12345u, 1));
  EXPECT_EQ(outcome.itemSymbols, (std::vector<std::string>{"TEMP", "temp"}));
}

TEST(ExpressionSymbols, UnknownNamesGetARandomValueUpToTen) {
  const ExpressionOutcome outcome = EvaluateText("PI");
  EXPECT_TRUE(outcome.valid);
  EXPECT_NE(outcome.value, 3.141592653589793);
  EXPECT_EQ(outcome.symbols.at("PI"), outcome.value);
  for (uint32_t seed = 0; seed < 3000; ++seed) {
    const double value = EvaluateText("x", {}, seed).value;
    ASSERT_GT(value, 0.0);
    ASSERT_LE(value, 10.0);
  }
  // The largest draw gives exactly 10.
  EXPECT_EQ((32767 + 1) / 3276.8, 10.0);
}

TEST(ExpressionSymbols, EachNewNameDrawsTheNextValueAndKeepsIt) {
  const ExpressionOutcome outcome = EvaluateText("a + b * 0 + a - a");
  EXPECT_EQ(outcome.symbols.at("a"), UnknownVariableValue(12345u, 1));
  EXPECT_EQ(outcome.symbols.at("b"), UnknownVariableValue(12345u, 2));
  EXPECT_DOUBLE_EQ(outcome.value, outcome.symbols.at("a"));
  EXPECT_EQ(EvaluateText("x - x").value, 0.0);
}

TEST(ExpressionSymbols, AssignmentsYieldTheirValueOnly) {
  ExpressionOutcome outcome = EvaluateText("x = 5");
  EXPECT_TRUE(outcome.valid);
  EXPECT_EQ(outcome.value, 5.0);
  EXPECT_EQ(outcome.symbols.at("x"), UnknownVariableValue(12345u, 1));  // not 5

  outcome = EvaluateText("x = 5, x", {{"x", 2.0}});
  EXPECT_EQ(outcome.value, 2.0);
  EXPECT_EQ(outcome.symbols.at("x"), 2.0);

  EXPECT_EQ(EvaluateText("x += 2", {{"x", 3.0}}).value, 5.0);
  EXPECT_EQ(EvaluateText("x -= 2", {{"x", 3.0}}).value, 1.0);
  EXPECT_EQ(EvaluateText("x *= 2", {{"x", 3.0}}).value, 6.0);
  EXPECT_EQ(EvaluateText("x /= 2", {{"x", 3.0}}).value, 1.5);
  outcome = EvaluateText("x *= 2, x += 1, x", {{"x", 3.0}});
  EXPECT_EQ(outcome.value, 3.0);
  EXPECT_EQ(outcome.symbols.at("x"), 3.0);
}

TEST(ExpressionSymbols, TheRightSideOfAnAssignmentIsALogicalExpression) {
  EXPECT_EQ(EvaluateText("x = 1 + 2 > 2", {{"x", 0.0}}).value, 1.0);
  EXPECT_EQ(EvaluateText("x = 1 || 0", {{"x", 0.0}}).value, 1.0);
  EXPECT_EQ(EvaluateText("x = 1, 2", {{"x", 0.0}}).value, 2.0);
  EXPECT_EQ(EvaluateText("2 * (x = 4)", {{"x", 0.0}}).value, 8.0);
  EXPECT_EQ(EvaluateText("x = y = 3", {{"x", 0.0}, {"y", 0.0}}).value, 3.0);
  EXPECT_EQ(EvaluateText("x == 3", {{"x", 3.0}}).value, 1.0);
  const ExpressionOutcome outcome = EvaluateText("x /= y - 1", {{"x", 6.0}, {"y", 1.0}});
  EXPECT_EQ(outcome.message, "Divide by Zero Error in Division Assignment (near x)");
  EXPECT_EQ(outcome.value, 129.0);
}

TEST(ExpressionSymbols, ItemSymbolsAreInByteOrderWithoutPiAndE) {
  ExpressionOutcome outcome = EvaluateText("pi * R + e");
  EXPECT_TRUE(outcome.valid);
  EXPECT_EQ(outcome.itemSymbols, std::vector<std::string>{"R"});
  EXPECT_EQ(outcome.symbols.size(), 3u);
  outcome = EvaluateText("zeta + Alpha + B_2 + B.1 + alpha + _x");
  EXPECT_EQ(outcome.itemSymbols,
            (std::vector<std::string>{"Alpha", "B.1", "B_2", "alpha", "zeta"}));
  EXPECT_TRUE(CExpressionParser::IsConstantSymbol("pi"));
  EXPECT_TRUE(CExpressionParser::IsConstantSymbol("e"));
  EXPECT_FALSE(CExpressionParser::IsConstantSymbol("PI"));
  EXPECT_FALSE(CExpressionParser::IsConstantSymbol("E"));
}

TEST(ExpressionSymbols, TheConstantsCanBeOverriddenByTheCaller) {
  EXPECT_EQ(EvaluateText("e * 2", {{"e", 1.5}}).value, 3.0);
  EXPECT_EQ(EvaluateText("pi", {{"pi", 3.0}}).value, 3.0);
}

TEST(ExpressionSymbols, FunctionNamesAreVariablesWithoutABracket) {
  const ExpressionOutcome outcome = EvaluateText("sqrt + 1", {{"sqrt", 8.0}});
  EXPECT_TRUE(outcome.valid);
  EXPECT_EQ(outcome.value, 9.0);
}

TEST(ExpressionSymbols, SymbolsOfAFailedCallAreNotListed) {
  const ExpressionOutcome outcome = EvaluateText("A + nofunc(B)");
  EXPECT_EQ(outcome.itemSymbols, std::vector<std::string>{"A"});
}

// The calculated-item side: evaluate once to learn the symbols, then evaluate each cycle
// with a fresh evaluator and the items' current values.
TEST(ExpressionSymbols, BindOnceThenEvaluateEachCycle) {
  const std::string text = "CelciusToFahrenheit(T_OVEN) - 32 + if(LEVEL > 80, 1, 0)";
  CExpressionParser check(text);
  check.EvaluateWithSeed(1);
  ASSERT_TRUE(ExpressionStatus::Valid()) << ExpressionStatus::Message();
  const std::vector<std::string> symbols = check.ItemSymbols();
  ASSERT_EQ(symbols, (std::vector<std::string>{"LEVEL", "T_OVEN"}));

  const double levels[] = {50.0, 90.0};
  const double ovens[] = {100.0, 0.0};
  const double expected[] = {180.0, 1.0};
  for (int cycle = 0; cycle < 2; ++cycle) {
    CExpressionParser parser(text);
    parser.SetSymbol("LEVEL", levels[cycle]);
    parser.SetSymbol("T_OVEN", ovens[cycle]);
    EXPECT_EQ(parser.EvaluateWithSeed(1000u + static_cast<uint32_t>(cycle)), expected[cycle]);
    EXPECT_TRUE(ExpressionStatus::Valid());
    EXPECT_EQ(parser.ItemSymbols(), symbols);  // no new name appears once all are set
  }
}

TEST(ExpressionSymbols, SymbolsSetButUnusedStayInTheTable) {
  const ExpressionOutcome outcome = EvaluateText("A", {{"A", 1.0}, {"UNUSED", 2.0}});
  EXPECT_EQ(outcome.itemSymbols, (std::vector<std::string>{"A", "UNUSED"}));
}

}  // namespace
