// velmora-cli eval: evaluates one expression of the calculated-item language, as the
// acquisition does (symbols set first, a fresh evaluator, the status read right after).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/clock.h"
#include "base/number_text.h"
#include "calc/expression_parser.h"
#include "calc/expression_status.h"
#include "cli/cli_command.h"

namespace {

constexpr char kUsage[] =
    "Usage: velmora-cli eval [--set NAME=VALUE]... [--seed N] [--] EXPRESSION\n"
    "  Evaluates EXPRESSION and prints one line: the value (17 significant digits), a tab,\n"
    "  1 or 0 for Valid, a tab, and the status message. An expression that begins with a\n"
    "  minus sign comes after \"--\"; an empty expression is allowed.\n"
    "  --set NAME=VALUE  gives the symbol NAME (case-sensitive) a value before evaluation\n"
    "  --seed N          seeds the random generator with N instead of the time in seconds\n"
    "Exit code: 0 when the expression is valid, 1 when it is not, 2 for a usage error.\n";

constexpr int kExitValid = 0;
constexpr int kExitInvalid = 1;

// printf's "%.17g" without the locale: every double reads back the same, and the value
// column keeps the form scripts already parse.
std::string SeventeenDigits(double dValue) {
  char buffer[64];
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, dValue, std::chars_format::general, 17);
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
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
      int64_t nNumber = 0;
      std::string sError;
      if (!ParseIntOption("--seed", sValue, 0, UINT32_MAX, nNumber, sError))
        return UsageError(sError);
      nSeed = static_cast<uint32_t>(nNumber);
      bSeeded = true;
      continue;
    }
    const size_t nEquals = sValue.find('=');
    const std::optional<double> dValue =
        nEquals == std::string::npos ? std::nullopt : ParseDouble(sValue.substr(nEquals + 1));
    if (nEquals == 0 || !dValue)
      return UsageError("bad symbol assignment '" + sValue + "' (expected NAME=VALUE)");
    symbols.emplace_back(sValue.substr(0, nEquals), *dValue);
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
  const std::string sLine =
      SeventeenDigits(dResult) + (bValid ? "\t1\t" : "\t0\t") + ExpressionStatus::Message() + "\n";
  std::fwrite(sLine.data(), 1, sLine.size(), stdout);
  std::fflush(stdout);
  return bValid ? kExitValid : kExitInvalid;
}

const CliCommandRegistration kRegistration(CliCommand{
    "eval", "evaluate an expression of the calculated-item language", kUsage, RunEval});

}  // namespace
