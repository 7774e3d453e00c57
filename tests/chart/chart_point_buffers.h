#pragma once
// Test helper: the point buffers a series fill writes into, sized for the most points a
// series draws and one row of values.
#include <vector>

#include "chart/chart_series_fill.h"
#include "chart/chart_view_rules.h"

struct CTestPointBuffers {
  std::vector<double> times = std::vector<double>(kChartMaxPoints);
  std::vector<double> values = std::vector<double>(kChartMaxPoints);
  std::vector<double> row = std::vector<double>(1);
  ChartPointBuffers View() { return {times.data(), values.data(), row.data()}; }
};
