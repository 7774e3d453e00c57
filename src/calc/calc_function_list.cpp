#include "calc/calc_function_list.h"

#include <algorithm>

const std::vector<CalcFunctionEntry>& CalcFunctionList() {
  static const std::vector<CalcFunctionEntry> kList = {
      {"abs", "Absolute Value of Argument", "abs( )"},
      {"acos", "ArcCosine of Argument (0 to Pi radians)", "acos( )"},
      {"asin", "ArcSine of Argument (0 to Pi radians)", "asin( )"},
      {"atan", "ArcTangent of Argument (0 to Pi radians)", "atan( )"},
      {"ceil", "Smallest Integer >= to Argument", "ceil( )"},
      {"cos", "Cosine of Argument (0 to Pi radians)", "cos( )"},
      {"cosh", "Hyperbolic Cosine of Argument (0 to Pi radians)", "cosh( )"},
      {"exp", "Exponential of Argument (e power arg)", "exp( )"},
      {"floor", "Largest Integer <= to Argument", "floor( )"},
      {"log", "Natural (base e) Logarithm of Argument", "log( )"},
      {"log10", "Base 10 Logarithm of Argument", "log10( )"},
      {"sin", "Sine of Argument (0 to Pi radians)", "sin( )"},
      {"sinh", "Hyperbolic Sine of Argument (0 to Pi radians)", "sinh( )"},
      {"sqrt", "Square Root of Argument", "sqrt( )"},
      {"tan", "Tangent of Argument (0 to Pi radians)", "tan( )"},
      {"tanh", "Hyperbolic Tangent of Argument (0 to Pi radians)", "tanh( )"},
      {"int", "Integer Part of Argument", "int( )"},
      {"rand", "Random Value", "rand( )"},
      {"percent", "Percent Value of Argument", "percent( )"},
      {"celciustofahrenheit", "Convert Celcius To Fahrenheit", "CelciusToFahrenheit( )"},
      {"fahrenheittocelcius", "Convert Fahrenheit To Celcius", "FahrenheitToCelcius( )"},
      {"celciustokelvin", "Convert Celcius To Kelvin", "CelciusToKelvin( )"},
      {"kelvintocelcius", "Convert Kelvin To Celcius", "KelvinToCelcius( )"},
      {"fahrenheittokelvin", "Convert Fahrenheit To Kelvin", "FahrenheitToKelvin( )"},
      {"kelvintofahrenheit", "Convert Kelvin To Fahrenheit", "KelvinToFahrenheit( )"},
      {"min", "Minimum Value of the two Arguments", "min( , )"},
      {"max", "Maximum Value of the two Arguments", "max( , )"},
      {"mod", "Modulo (Remainder) of Arg1 divied by Arg2", "mod( , )"},
      {"pow", "Value of Arg1 Raised to the Power of Arg2", "pow( , )"},
      {"roll", "Dice Roll", "roll( , )"},
      {"if", "Arg 2 if Arg1 is True, Arg3 if Arg1 is False", "if( , , )"},
  };
  return kList;
}

TextInsertion InsertIntoText(const std::string& sText, size_t nSelectionStart, size_t nSelectionEnd,
                             const std::string& sInserted) {
  size_t nStart = std::min(nSelectionStart, sText.size());
  size_t nEnd = std::min(nSelectionEnd, sText.size());
  if (nEnd < nStart)
    std::swap(nStart, nEnd);
  TextInsertion result;
  result.sText = sText.substr(0, nStart) + sInserted + sText.substr(nEnd);
  result.nCaret = nStart + sInserted.size();
  return result;
}
