#include "chart/chart_block_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "chart/chart_view_rules.h"

ChartFill FillFromBlocks(const IChartRowSource& source, int first, int last,
                         const std::vector<int>& columns, const ChartPointBuffers& buffers) {
  const size_t shown = columns.size();
  const int blockRows = source.BlockRows();
  const int firstBlock = first / blockRows;
  const int lastBlock = last / blockRows;
  const int blocks = lastBlock - firstBlock + 1;
  const int maxPairs = kChartMaxPoints / 2;
  const int runBlocks = (blocks + maxPairs - 1) / maxPairs;
  const int step = runBlocks * blockRows;
  std::vector<double> low(shown), high(shown), blockLow(shown), blockHigh(shown);
  std::vector<int64_t> lowAt(shown), highAt(shown);
  const std::unique_ptr<bool[]> order(new bool[shown > 0 ? shown : 1]);
  bool* minFirst = order.get();
  auto fold = [&](size_t s, double minimum, double maximum, int64_t minAt, int64_t maxAt) {
    if (!std::isnan(minimum) && (std::isnan(low[s]) || minimum < low[s]))
      low[s] = minimum, lowAt[s] = minAt;
    if (!std::isnan(maximum) && (std::isnan(high[s]) || maximum > high[s]))
      high[s] = maximum, highAt[s] = maxAt;
  };
  double* values = buffers.values;
  int drawn = 0;
  for (int a = firstBlock; a <= lastBlock; a += runBlocks) {
    const int b = std::min(a + runBlocks - 1, lastBlock);
    const int rowA = std::max(a * blockRows, first);
    const int rowB = std::min((b + 1) * blockRows - 1, last);
    std::fill(low.begin(), low.end(), kChartNoValue);
    std::fill(high.begin(), high.end(), kChartNoValue);
    for (int block = a; block <= b; ++block) {
      const int start = block * blockRows;
      const int end = start + blockRows - 1;
      // Positions: twice the row, so a block's two extremes keep their order.
      if (start >= first && end <= last &&
          source.BlockExtremes(block, columns, blockLow.data(), blockHigh.data(), minFirst)) {
        for (size_t s = 0; s < shown; ++s) {
          const int64_t at = int64_t{start} * 2;
          fold(s, blockLow[s], blockHigh[s], at + (minFirst[s] ? 0 : 1),
               at + (minFirst[s] ? 1 : 0));
        }
        continue;
      }
      for (int r = std::max(start, first); r <= std::min(end, last); ++r) {
        source.RowValues(r, columns, buffers.row);
        for (size_t s = 0; s < shown; ++s)
          fold(s, buffers.row[s], buffers.row[s], int64_t{r} * 2, int64_t{r} * 2);
      }
    }
    buffers.times[drawn] = source.RowTime(rowA);
    buffers.times[drawn + 1] = source.RowTime(rowB);
    for (size_t s = 0; s < shown; ++s) {
      const bool lowFirst = lowAt[s] <= highAt[s] || std::isnan(high[s]);
      double* series = values + s * kChartMaxPoints;
      series[drawn] = lowFirst ? low[s] : high[s];
      series[drawn + 1] = lowFirst ? high[s] : low[s];
    }
    drawn += rowA == rowB ? 1 : 2;
  }
  return {step, drawn};
}
