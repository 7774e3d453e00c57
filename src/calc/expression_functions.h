#pragma once
// The built-in functions of the expression language: three read-only tables, by number of
// arguments, from lower-case name to function. Built on first use (before any evaluation
// can need them) and never changed afterwards, so any thread may read them.
#include <cstdint>
#include <map>
#include <string>

using ExpressionFunction1 = double (*)(double);
using ExpressionFunction2 = double (*)(double, double);
using ExpressionFunction3 = double (*)(double, double, double);

const std::map<std::string, ExpressionFunction1>& ExpressionFunctions1();
const std::map<std::string, ExpressionFunction2>& ExpressionFunctions2();
const std::map<std::string, ExpressionFunction3>& ExpressionFunctions3();

// The language's "trunc": a double to a 32-bit signed integer, toward zero. Values out of
// range saturate and NaN gives 0 (a plain cast would be undefined there).
int32_t TruncToInt32(double dValue);

// roll rolls at most this many dice: a larger count (roll(1e9, 6)) would keep the
// acquisition cycle busy for seconds.
constexpr int32_t kMaxDiceRolled = 10000;
