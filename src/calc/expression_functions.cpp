#include "calc/expression_functions.h"

#include <cmath>
#include <limits>

#include "calc/expression_random.h"
#include "calc/expression_status.h"

namespace {

constexpr char kModByZero[] = "Divide by Zero Error in Function Mod()";

// Operations are written in the order the language documents them (for example times 9,
// then divided by 5): reordering would change the last bits of the results.
double CelciusToFahrenheit(double x) {
  return x * 9.0 / 5.0 + 32.0;
}
double FahrenheitToCelcius(double x) {
  return (x - 32.0) * 5.0 / 9.0;
}
double CelciusToKelvin(double x) {
  return x + 273.15;
}
double KelvinToCelcius(double x) {
  return x - 273.15;
}
double FahrenheitToKelvin(double x) {
  return (x - 32.0) * 5.0 / 9.0 + 273.15;
}
double KelvinToFahrenheit(double x) {
  return (x - 273.15) * 9.0 / 5.0 + 32.0;
}

// The integer part of the argument, exact over the whole double range (a 32-bit
// truncation would turn int(3e9) into a negative number).
double IntegerPart(double x) {
  return std::trunc(x);
}

double Rand(double x) {
  const int32_t n = TruncToInt32(x);
  if (n <= 0)
    return 0.0;
  return std::floor(CExpressionRandom::Draw() * n);
}

double Percent(double x) {
  const int32_t p = TruncToInt32(x);
  if (p <= 0)
    return 0.0;
  if (p >= 100)
    return 1.0;
  const int32_t k = TruncToInt32(std::floor(CExpressionRandom::Draw() * 100.0));
  return k > 100 - p ? 1.0 : 0.0;
}

double Min(double a, double b) {
  return a < b ? a : b;
}
double Max(double a, double b) {
  return a > b ? a : b;
}

double Mod(double a, double b) {
  if (b == 0.0) {
    ExpressionStatus::Report(kModByZero);
    return 0.0;
  }
  return std::fmod(a, b);
}

double Pow(double a, double b) {
  return std::pow(a, b);
}

double Roll(double a, double b) {
  int32_t nDice = TruncToInt32(a);
  const int32_t nSides = TruncToInt32(b);
  if (nDice <= 0)
    return 0.0;
  if (nDice > kMaxDiceRolled)
    nDice = kMaxDiceRolled;
  double dSum = 0.0;
  for (int32_t i = 0; i < nDice; ++i) {
    if (nSides > 0)
      dSum += TruncToInt32(std::floor(CExpressionRandom::Draw() * nSides)) + 1;
    else
      dSum += 1.0;
  }
  return dSum;
}

double If(double a, double b, double c) {
  return a == 0.0 ? c : b;
}

double Abs(double x) {
  return std::fabs(x);
}
double Acos(double x) {
  return std::acos(x);
}
double Asin(double x) {
  return std::asin(x);
}
double Atan(double x) {
  return std::atan(x);
}
double Ceil(double x) {
  return std::ceil(x);
}
double Floor(double x) {
  return std::floor(x);
}
double Cos(double x) {
  return std::cos(x);
}
double Sin(double x) {
  return std::sin(x);
}
double Tan(double x) {
  return std::tan(x);
}
double Cosh(double x) {
  return std::cosh(x);
}
double Sinh(double x) {
  return std::sinh(x);
}
double Tanh(double x) {
  return std::tanh(x);
}
double Exp(double x) {
  return std::exp(x);
}
double Log(double x) {
  return std::log(x);
}
double Log10(double x) {
  return std::log10(x);
}
double Sqrt(double x) {
  return std::sqrt(x);
}

}  // namespace

int32_t TruncToInt32(double dValue) {
  if (std::isnan(dValue))
    return 0;
  if (dValue >= 2147483647.0)
    return std::numeric_limits<int32_t>::max();
  if (dValue <= -2147483648.0)
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(dValue);
}

const std::map<std::string, ExpressionFunction1>& ExpressionFunctions1() {
  static const std::map<std::string, ExpressionFunction1> table = {
      {"abs", Abs},
      {"acos", Acos},
      {"asin", Asin},
      {"atan", Atan},
      {"ceil", Ceil},
      {"floor", Floor},
      {"cos", Cos},
      {"sin", Sin},
      {"tan", Tan},
      {"cosh", Cosh},
      {"sinh", Sinh},
      {"tanh", Tanh},
      {"exp", Exp},
      {"log", Log},
      {"log10", Log10},
      {"sqrt", Sqrt},
      {"int", IntegerPart},
      {"rand", Rand},
      {"percent", Percent},
      {"celciustofahrenheit", CelciusToFahrenheit},
      {"fahrenheittocelcius", FahrenheitToCelcius},
      {"celciustokelvin", CelciusToKelvin},
      {"kelvintocelcius", KelvinToCelcius},
      {"fahrenheittokelvin", FahrenheitToKelvin},
      {"kelvintofahrenheit", KelvinToFahrenheit},
  };
  return table;
}

const std::map<std::string, ExpressionFunction2>& ExpressionFunctions2() {
  static const std::map<std::string, ExpressionFunction2> table = {
      {"min", Min}, {"max", Max}, {"mod", Mod}, {"pow", Pow}, {"roll", Roll},
  };
  return table;
}

const std::map<std::string, ExpressionFunction3>& ExpressionFunctions3() {
  static const std::map<std::string, ExpressionFunction3> table = {
      {"if", If},
  };
  return table;
}
