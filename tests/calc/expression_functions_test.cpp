// Functions: the three tables, case-folded names, argument counts, the conversions in their
// written order, and the random functions on the seeded 15-bit generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "base/clock.h"
#include "calc/expression_functions.h"
#include "calc/expression_random.h"
#include "expression_test_support.h"

namespace {

double ValueOf(const std::string& text, uint32_t seed = 12345u) {
  const ExpressionOutcome outcome = EvaluateText(text, {}, seed);
  EXPECT_TRUE(outcome.valid) << text << ": " << outcome.message;
  return outcome.value;
}

TEST(ExpressionFunctions, TablesHoldExactlyTheBuiltIns) {
  std::set<std::string> one, two, three;
  for (const auto& entry : ExpressionFunctions1())
    one.insert(entry.first);
  for (const auto& entry : ExpressionFunctions2())
    two.insert(entry.first);
  for (const auto& entry : ExpressionFunctions3())
    three.insert(entry.first);
  EXPECT_EQ(one, (std::set<std::string>{"abs",
                                        "acos",
                                        "asin",
                                        "atan",
                                        "ceil",
                                        "floor",
                                        "cos",
                                        "sin",
                                        "tan",
                                        "cosh",
                                        "sinh",
                                        "tanh",
                                        "exp",
                                        "log",
                                        "log10",
                                        "sqrt",
                                        "int",
                                        "rand",
                                        "percent",
                                        "celciustofahrenheit",
                                        "fahrenheittocelcius",
                                        "celciustokelvin",
                                        "kelvintocelcius",
                                        "fahrenheittokelvin",
                                        "kelvintofahrenheit"}));
  EXPECT_EQ(two, (std::set<std::string>{"min", "max", "mod", "pow", "roll"}));
  EXPECT_EQ(three, (std::set<std::string>{"if"}));
}

TEST(ExpressionFunctions, MathematicalFunctions) {
  EXPECT_EQ(ValueOf("abs(-2.5)"), 2.5);
  EXPECT_EQ(ValueOf("acos(1)"), 0.0);
  EXPECT_EQ(ValueOf("asin(1)"), std::asin(1.0));
  EXPECT_EQ(ValueOf("atan(1)"), std::atan(1.0));
  EXPECT_EQ(ValueOf("ceil(1.2)"), 2.0);
  EXPECT_EQ(ValueOf("ceil(-1.2)"), -1.0);
  EXPECT_EQ(ValueOf("floor(-1.2)"), -2.0);
  EXPECT_EQ(ValueOf("cos(0)"), 1.0);
  EXPECT_EQ(ValueOf("sin(pi / 2)"), 1.0);
  EXPECT_EQ(ValueOf("tan(0.5)"), std::tan(0.5));
  EXPECT_EQ(ValueOf("cosh(1)"), std::cosh(1.0));
  EXPECT_EQ(ValueOf("sinh(1)"), std::sinh(1.0));
  EXPECT_EQ(ValueOf("tanh(1)"), std::tanh(1.0));
  EXPECT_EQ(ValueOf("exp(1)"), std::exp(1.0));
  EXPECT_EQ(ValueOf("log(e)"), 1.0);
  EXPECT_EQ(ValueOf("log10(1000)"), 3.0);
  EXPECT_EQ(ValueOf("sqrt(16)"), 4.0);
  EXPECT_TRUE(std::isnan(ValueOf("sqrt(-1)")));  // a NaN is a value, not an error
  EXPECT_EQ(ValueOf("pow(2, 10)"), 1024.0);
  EXPECT_EQ(ValueOf("pow(2, -1)"), 0.5);
}

TEST(ExpressionFunctions, IntegerPartIsExactOverTheWholeRange) {
  EXPECT_EQ(ValueOf("int(-2.7)"), -2.0);
  EXPECT_EQ(ValueOf("int(2.7)"), 2.0);
  EXPECT_EQ(ValueOf("int(3e9)"), 3e9);  // no 32-bit wrap-around
  EXPECT_EQ(ValueOf("int(-1e15 - 0.5)"), -1e15);
}

TEST(ExpressionFunctions, NamesAreFoundWhateverTheirCase) {
  EXPECT_EQ(ValueOf("SQRT(4)"), 2.0);
  EXPECT_EQ(ValueOf("Sqrt(4)"), 2.0);
  EXPECT_EQ(ValueOf("CelciusToFahrenheit(100)"), 212.0);
  EXPECT_EQ(ValueOf("MAX(1, 2)"), 2.0);
  EXPECT_EQ(ValueOf("If(0, 1, 2)"), 2.0);
  EXPECT_EQ(ValueOf("sqrt (9)"), 3.0);  // blanks between name and bracket
}

TEST(ExpressionFunctions, TemperatureConversionsInTheirWrittenOrder) {
  EXPECT_EQ(ValueOf("celciustofahrenheit(100)"), 212.0);
  EXPECT_EQ(ValueOf("fahrenheittocelcius(212)"), 100.0);
  EXPECT_EQ(ValueOf("celciustokelvin(0)"), 273.15);
  EXPECT_EQ(ValueOf("kelvintocelcius(0)"), -273.15);
  EXPECT_EQ(ValueOf("fahrenheittokelvin(32)"), 273.15);
  EXPECT_EQ(ValueOf("kelvintofahrenheit(273.15)"), 32.0);
  // 37.7 tells the orders apart: times 9 then divided by 5 is not x / 5 * 9 nor x * 1.8.
  volatile double x = 37.7;
  const double written = x * 9.0 / 5.0 + 32.0;
  ASSERT_NE(written, x / 5.0 * 9.0 + 32.0);
  ASSERT_NE(written, x * 1.8 + 32.0);
  EXPECT_EQ(ValueOf("celciustofahrenheit(37.7)"), written);
  volatile double f = 100.1;
  const double back = (f - 32.0) * 5.0 / 9.0;
  ASSERT_NE(back, (f - 32.0) / 9.0 * 5.0);
  EXPECT_EQ(ValueOf("fahrenheittocelcius(100.1)"), back);
  EXPECT_EQ(ValueOf("fahrenheittokelvin(100.1)"), back + 273.15);
  volatile double k = 310.85;
  EXPECT_EQ(ValueOf("kelvintofahrenheit(310.85)"), (k - 273.15) * 9.0 / 5.0 + 32.0);
}

TEST(ExpressionFunctions, TwoArgumentFunctions) {
  EXPECT_EQ(ValueOf("min(1, 2)"), 1.0);
  EXPECT_EQ(ValueOf("min(2, 1)"), 1.0);
  EXPECT_EQ(ValueOf("max(1, 2)"), 2.0);
  EXPECT_EQ(ValueOf("max(-1, -2)"), -1.0);
  EXPECT_EQ(ValueOf("min(sqrt(-1), 1)"), 1.0);  // a < b is false for a NaN: b
  EXPECT_EQ(ValueOf("mod(-7, 3)"), -1.0);
  EXPECT_EQ(ValueOf("mod(7, -3)"), 1.0);
  EXPECT_EQ(ValueOf("mod(7.5, 2)"), 1.5);
  const ExpressionOutcome outcome = EvaluateText("mod(7, 0)");
  EXPECT_EQ(outcome.value, 0.0);
  EXPECT_FALSE(outcome.valid);
  EXPECT_EQ(outcome.message, "Divide by Zero Error in Function Mod()");
}

TEST(ExpressionFunctions, IfTakesTheSecondArgumentUnlessTheFirstIsZero) {
  EXPECT_EQ(ValueOf("if(0, 1, 2)"), 2.0);
  EXPECT_EQ(ValueOf("if(0.5, 1, 2)"), 1.0);
  EXPECT_EQ(ValueOf("if(-0, 1, 2)"), 2.0);
  EXPECT_EQ(ValueOf("if(sqrt(-1), 1, 2)"), 1.0);
  EXPECT_EQ(ValueOf("if(3 > 2, 10, 20) + 1"), 11.0);
}

TEST(ExpressionFunctions, RandStaysBelowItsArgument) {
  std::set<double> seen;
  for (uint32_t seed = 0; seed < 400; ++seed) {
    EXPECT_EQ(ValueOf("rand(1)", seed), 0.0);
    const double r = ValueOf("rand(10)", seed);
    EXPECT_GE(r, 0.0);
    EXPECT_LE(r, 9.0);
    EXPECT_EQ(r, std::floor(r));
    seen.insert(r);
  }
  EXPECT_EQ(seen.size(), 10u);  // every value 0..9 turns up
  EXPECT_EQ(ValueOf("rand(0)"), 0.0);
  EXPECT_EQ(ValueOf("rand(-5)"), 0.0);
  EXPECT_EQ(ValueOf("rand(0.9)"), 0.0);
}

TEST(ExpressionFunctions, PercentIsZeroOrOne) {
  EXPECT_EQ(ValueOf("percent(100)"), 1.0);
  EXPECT_EQ(ValueOf("percent(150)"), 1.0);
  EXPECT_EQ(ValueOf("percent(0)"), 0.0);
  EXPECT_EQ(ValueOf("percent(-3)"), 0.0);
  int nOnes = 0;
  for (uint32_t seed = 0; seed < 1000; ++seed) {
    const double p = ValueOf("percent(50)", seed);
    EXPECT_TRUE(p == 0.0 || p == 1.0);
    nOnes += p == 1.0 ? 1 : 0;
  }
  // k > 50 for k uniform in 0..99: about half.
  EXPECT_GT(nOnes, 350);
  EXPECT_LT(nOnes, 650);
  // k runs from 0 to 99, so k > 99 never holds and k > 1 nearly always does.
  int nNinetyNine = 0;
  for (uint32_t seed = 0; seed < 300; ++seed) {
    EXPECT_EQ(ValueOf("percent(1)", seed), 0.0);
    nNinetyNine += ValueOf("percent(99)", seed) == 1.0 ? 1 : 0;
  }
  EXPECT_GT(nNinetyNine, 280);
}

TEST(ExpressionFunctions, RollSumsItsDice) {
  std::set<double> seen;
  for (uint32_t seed = 0; seed < 2000; ++seed) {
    const double r = ValueOf("roll(3, 6)", seed);
    EXPECT_GE(r, 3.0);
    EXPECT_LE(r, 18.0);
    EXPECT_EQ(r, std::floor(r));
    seen.insert(r);
  }
  EXPECT_GE(seen.size(), 14u);
  EXPECT_EQ(ValueOf("roll(0, 6)"), 0.0);
  EXPECT_EQ(ValueOf("roll(-2, 6)"), 0.0);
  EXPECT_EQ(ValueOf("roll(3, 0)"), 3.0);  // a die without sides gives 1
  EXPECT_EQ(ValueOf("roll(4, 1)"), 4.0);
  EXPECT_EQ(ValueOf("roll(2.9, 1)"), 2.0);
  // A huge count rolls a bounded number of dice instead of busying the cycle.
  EXPECT_EQ(ValueOf("roll(1e12, 1)"), static_cast<double>(kMaxDiceRolled));
}

TEST(ExpressionFunctions, RandomFunctionsRepeatForTheSameSeed) {
  const char* text = "rand(32767) + 40000 * roll(5, 1000) + percent(50)";
  EXPECT_EQ(ValueOf(text, 77), ValueOf(text, 77));
  std::set<double> values;
  for (uint32_t seed = 0; seed < 20; ++seed)
    values.insert(ValueOf(text, seed));
  EXPECT_GT(values.size(), 15u);
}

TEST(ExpressionFunctions, EvaluateSeedsWithTheClockSeconds) {
  FakeClock clock;
  CExpressionParser first("rand(32767) * 100000 + rand(32767)");
  const double a = first.Evaluate(clock);
  CExpressionParser second("rand(32767) * 100000 + rand(32767)");
  EXPECT_EQ(second.EvaluateWithSeed(static_cast<uint32_t>(clock.SecondsSince1970())), a);
  clock.AdvanceMs(500);  // same second, same draws
  CExpressionParser third("rand(32767) * 100000 + rand(32767)");
  EXPECT_EQ(third.Evaluate(clock), a);
}

TEST(ExpressionFunctions, GeneratorHasFifteenBits) {
  CExpressionRandom::Seed(99);
  int nMax = 0;
  for (int i = 0; i < 200000; ++i) {
    const int r = CExpressionRandom::Next();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
    nMax = std::max(nMax, r);
    const double d = CExpressionRandom::Draw();
    ASSERT_GE(d, 0.0);
    ASSERT_LT(d, 1.0);
  }
  EXPECT_GT(nMax, 32700);
}

TEST(ExpressionFunctions, TruncationToThirtyTwoBitsIsDefinedEverywhere) {
  EXPECT_EQ(TruncToInt32(-2.9), -2);
  EXPECT_EQ(TruncToInt32(2.9), 2);
  EXPECT_EQ(TruncToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(TruncToInt32(1e10), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(TruncToInt32(-1e10), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(TruncToInt32(std::numeric_limits<double>::infinity()),
            std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ValueOf("1e10 & 1"), 1.0);
  EXPECT_EQ(ValueOf("-1e10 | 0"), -2147483648.0);
}

}  // namespace
