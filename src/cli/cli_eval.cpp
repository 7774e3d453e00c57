// velmora-cli eval: evaluates one expression of the calculated-item language, as the
// acquisition does (symbols set first, a fresh evaluator, the status read right after).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "calc/expression_parser.h"
#include "calc/expression_status.h"
#include "cli/cli_command.h"
#include "base/clock.h"

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli eval [--set NAME=VALUE]... [--seed N] [--] EXPRESSION\n"
    "  Evaluates EXPRESSION and prints one line: the value (%.17g), a tab, 1 or 0 for\n"
    "  Valid, a tab, and the status message. An expression that begins with a minus sign\n"
    "  comes after \"--\"; an empty expression is allowed.\n"
    "  --set NAME=VALUE  gives the symbol NAME (case-sensitive) a value before evaluation\n"
    "  --seed N          seeds the random generator with N instead of the time in seconds\n"
    "Exit code: 0 when the expression is valid, 1 when it is not, 2 for a usage error.\n";

constexpr int kExitValid = 0;
constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;

bool ParseNumber(const std::string& sText, double& dValue) {
  const char* pBegin = sText.data();
  const char* pEnd = pBegin + sText.size();
  if (pBegin != pEnd && *pBegin == '+')
    ++pBegin;
  const std::from_chars_result result = std::from_chars(pBegin, pEnd, dValue);
  return pBegin != pEnd && result.ec == std::errc() && result.ptr == pEnd;
}

bool ParseSeed(const std::string& sText, uint32_t& nSeed) {
  const char* pEnd = sText.data() + sText.size();
  const std::from_chars_result result = std::from_chars(sText.data(), pEnd, nSeed);
  return !sText.empty() && result.ec == std::errc() && result.ptr == pEnd;
}

int UsageError(const std::string& sReason) {
  std::cerr << "velmora-cli eval: " << sReason << "\n" << kUsage;
  return kExitUsage;
}

int RunEval(const std::vector<std::string>& args) {
  std::vector<std::pair<std::string, double>> symbols;
  bool bSeeded = false;
  uint32_t nSeed = 0;
  std::vector<std::string> operands;
  bool bOptionsDone = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& sArg = args[i];
    if (bOptionsDone) {
      operands.push_back(sArg);
      continue;
    }
    if (sArg == "--") {
      bOptionsDone = true;
      continue;
    }
    std::string sValue;
    bool bIsSet = false;
    bool bIsSeed = false;
    if (sArg == "--set" || sArg == "--seed") {
      if (i + 1 >= args.size())
        return UsageError(sArg + " needs a value");
      sValue = args[++i];
      bIsSet = sArg == "--set";
      bIsSeed = !bIsSet;
    } else if (sArg.rfind("--set=", 0) == 0) {
      sValue = sArg.substr(6);
      bIsSet = true;
    } else if (sArg.rfind("--seed=", 0) == 0) {
      sValue = sArg.substr(7);
      bIsSeed = true;
    } else if (!sArg.empty() && sArg[0] == '-') {
      return UsageError("unknown option '" + sArg +
                        "' (an expression beginning with '-' goes after --)");
    } else {
      operands.push_back(sArg);
      continue;
    }
    if (bIsSeed) {
      if (!ParseSeed(sValue, nSeed))
        return UsageError("bad seed '" + sValue + "'");
      bSeeded = true;
      continue;
    }
    const size_t nEquals = sValue.find('=');
    double dValue = 0.0;
    if (nEquals == std::string::npos || nEquals == 0 ||
        !ParseNumber(sValue.substr(nEquals + 1), dValue))
      return UsageError("bad symbol assignment '" + sValue + "' (expected NAME=VALUE)");
    symbols.emplace_back(sValue.substr(0, nEquals), dValue);
  }
  if (operands.size() != 1)
    return UsageError(operands.empty() ? "no expression given"
                                       : "more than one expression given (quote it)");

  CExpressionParser parser(operands.front());
  for (const auto& [sName, dValue] : symbols)
    parser.SetSymbol(sName, dValue);
  SystemClock clock;
  const double dResult = bSeeded ? parser.EvaluateWithSeed(nSeed) : parser.Evaluate(clock);
  const bool bValid = ExpressionStatus::Valid();
  std::printf("%.17g\t%d\t", dResult, bValid ? 1 : 0);
  const std::string& sMessage = ExpressionStatus::Message();
  std::fwrite(sMessage.data(), 1, sMessage.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
  return bValid ? kExitValid : kExitInvalid;
}

const CliCommandRegistration kRegistration(CliCommand{
    "eval", "evaluate an expression of the calculated-item language", kUsage, RunEval});

}  // namespace
