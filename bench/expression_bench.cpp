// One acquisition cycle of a group's calculated items: 128 items of about 60 characters
// over 3 to 5 symbols each, every item evaluated by a fresh CExpressionParser with its
// symbols set from the current item values, as the acquisition does.
// Target: under 1 ms per cycle (the median of the repetitions).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/clock.h"
#include "calc/expression_parser.h"
#include "calc/expression_status.h"

namespace {

constexpr int kCalculatedItems = 128;
constexpr int kAcquiredItems = 40;

// Shapes of calculated items an engineer writes: unit conversions, mass balances,
// limits, power and controller terms. %d are acquired-item numbers.
constexpr const char* kShapes[] = {
    "CelciusToFahrenheit(T_OVEN%d) - 32 + (P_LINE%d * 0.75) / FLOW_A%d",
    "if(LEVEL_T%d > 80, 1, 0) * max(PUMP_S%d, PUMP_S%d) + sqrt(abs(DP_F%d))",
    "(FLOW_IN%d - FLOW_OUT%d) * 3600 / max(VOL_T%d, 1) + mod(CNT_%d, 60)",
    "pow(V_PH%d, 2) / R_LOAD%d + pow(V_PH%d, 2) / R_LOAD%d + P_AUX%d * 0.001",
    "min(max(SP_%d - PV_%d, -100), 100) * KP_%d + KI_%d * 0.5 / 60",
    "KelvinToCelcius(T_K%d) * 1.8 + 32 - (T_AMB%d + T_AMB%d) / 2 >= 5",
    "(P_IN%d - P_OUT%d) / (FLOW_M%d * FLOW_M%d + 0.001) * 1e5 && RUN_%d",
};

struct BoundItem {
  std::string sExpression;
  std::vector<std::pair<std::string, int>> binding;  // symbol -> acquired-item index
};

std::string Instantiate(const char* pShape, int nFirst) {
  char sText[256];
  const int a = nFirst % kAcquiredItems;
  const int b = (nFirst + 7) % kAcquiredItems;
  const int c = (nFirst + 13) % kAcquiredItems;
  const int d = (nFirst + 21) % kAcquiredItems;
  const int e = (nFirst + 29) % kAcquiredItems;
  std::snprintf(sText, sizeof sText, pShape, a, b, c, d, e);
  return sText;
}

// The preparation before an acquisition: evaluate once, bind each symbol to an item.
std::vector<BoundItem> PrepareGroup(std::vector<std::string>& acquiredNames) {
  std::vector<BoundItem> items;
  const int nShapes = static_cast<int>(sizeof kShapes / sizeof kShapes[0]);
  for (int i = 0; i < kCalculatedItems; ++i) {
    BoundItem item;
    item.sExpression = Instantiate(kShapes[i % nShapes], i);
    CExpressionParser parser(item.sExpression);
    parser.EvaluateWithSeed(1);
    for (const std::string& sSymbol : parser.ItemSymbols()) {
      int nIndex = -1;
      for (size_t k = 0; k < acquiredNames.size(); ++k) {
        if (acquiredNames[k] == sSymbol)
          nIndex = static_cast<int>(k);
      }
      if (nIndex < 0) {
        nIndex = static_cast<int>(acquiredNames.size());
        acquiredNames.push_back(sSymbol);
      }
      item.binding.emplace_back(sSymbol, nIndex);
    }
    items.push_back(std::move(item));
  }
  return items;
}

void BM_CalculatedItemsOneCycle(benchmark::State& state) {
  std::vector<std::string> acquiredNames;
  const std::vector<BoundItem> items = PrepareGroup(acquiredNames);
  std::vector<double> acquiredValues(acquiredNames.size());
  std::vector<double> calculatedValues(items.size());
  size_t nCharacters = 0;
  size_t nSymbols = 0;
  for (const BoundItem& item : items) {
    nCharacters += item.sExpression.size();
    nSymbols += item.binding.size();
  }
  SystemClock clock;
  int nCycle = 0;
  for (auto _ : state) {
    // The values the cycle's read brought.
    for (size_t k = 0; k < acquiredValues.size(); ++k)
      acquiredValues[k] = 10.0 + static_cast<double>((k * 37 + nCycle) % 90);
    for (size_t i = 0; i < items.size(); ++i) {
      CExpressionParser parser(items[i].sExpression);
      for (const auto& [sSymbol, nIndex] : items[i].binding)
        parser.SetSymbol(sSymbol, acquiredValues[static_cast<size_t>(nIndex)]);
      calculatedValues[i] = parser.Evaluate(clock);
    }
    benchmark::DoNotOptimize(calculatedValues.data());
    benchmark::ClobberMemory();
    ++nCycle;
  }
  state.counters["items"] = static_cast<double>(items.size());
  state.counters["avg_chars"] = static_cast<double>(nCharacters) / items.size();
  state.counters["avg_symbols"] = static_cast<double>(nSymbols) / items.size();
  // Every item of the group must evaluate without error, or the figure means little.
  int nInvalid = 0;
  for (const BoundItem& item : items) {
    CExpressionParser parser(item.sExpression);
    for (const auto& [sSymbol, nIndex] : item.binding)
      parser.SetSymbol(sSymbol, acquiredValues[static_cast<size_t>(nIndex)]);
    parser.Evaluate(clock);
    nInvalid += ExpressionStatus::Valid() ? 0 : 1;
  }
  state.counters["invalid_items"] = nInvalid;
}

BENCHMARK(BM_CalculatedItemsOneCycle)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->DisplayAggregatesOnly(true);

}  // namespace
