#include "chart/chart_series_fill.h"

#include <algorithm>
#include <cmath>

#include "chart/chart_view_rules.h"

namespace {

double& Value(const ChartPointBuffers& buffers, size_t serie, int point) {
  return buffers.values[serie * kChartMaxPoints + static_cast<size_t>(point)];
}

}  // namespace

ChartFill FillDecimated(const IChartRowSource& source, int first, int last,
                        const std::vector<int>& columns, const ChartPointBuffers& buffers) {
  ChartFill fill;
  const int points = last - first + 1;
  fill.step = ChartDecimationStep(points);
  fill.drawn = ChartDrawnPointCount(points, fill.step);
  const size_t shown = columns.size();
  for (int i = 0; i < fill.drawn; ++i) {
    const int row = first + i * fill.step;
    buffers.times[i] = source.RowTime(row);
    source.RowValues(row, columns, buffers.row);
    for (size_t s = 0; s < shown; ++s)
      Value(buffers, s, i) = buffers.row[s];
  }
  return fill;
}

ChartFill FillPeaks(const IChartRowSource& source, int first, int last, int run,
                    const std::vector<int>& columns, const ChartPointBuffers& buffers) {
  // Every run of rows becomes two points: its extremes in the order they came.
  ChartFill fill;
  fill.step = run;
  const size_t shown = columns.size();
  std::vector<double> low(shown), high(shown);
  std::vector<int> lowRow(shown), highRow(shown);
  int drawn = 0;
  for (int a = first; a <= last; a += run) {
    const int b = std::min(a + run - 1, last);
    std::fill(low.begin(), low.end(), kChartNoValue);
    std::fill(high.begin(), high.end(), kChartNoValue);
    for (int r = a; r <= b; ++r) {
      source.RowValues(r, columns, buffers.row);
      for (size_t s = 0; s < shown; ++s) {
        const double v = buffers.row[s];
        if (std::isnan(v))
          continue;
        if (std::isnan(low[s]) || v < low[s])
          low[s] = v, lowRow[s] = r;
        if (std::isnan(high[s]) || v > high[s])
          high[s] = v, highRow[s] = r;
      }
    }
    buffers.times[drawn] = source.RowTime(a);
    buffers.times[drawn + 1] = source.RowTime(b);
    for (size_t s = 0; s < shown; ++s) {
      const bool lowFirst = lowRow[s] <= highRow[s];
      Value(buffers, s, drawn) = lowFirst ? low[s] : high[s];
      Value(buffers, s, drawn + 1) = lowFirst ? high[s] : low[s];
    }
    drawn += a == b ? 1 : 2;
  }
  fill.drawn = drawn;
  return fill;
}
