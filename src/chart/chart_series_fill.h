#pragma once
// The two ways the rows of a chart window become the points of its series: decimation
// (every step-th row, so that no more than kChartMaxPoints are drawn) and Keep Peaks
// (each run of rows drawn as its minimum and maximum, in the order they came, so that no
// spike is lost between two drawn rows). Both read the shown columns of rows
// [first, last] and write into the chart view model's preallocated buffers.
// Thread rule: the caller's (GUI) thread.
#include <vector>

#include "chart/chart_row_source.h"

// The buffers a fill writes: times[point], values[serie * kChartMaxPoints + point], and one
// row's values of the shown columns.
struct ChartPointBuffers {
  double* times;
  double* values;
  double* row;
};

// What a fill drew: rows per drawn point (or per run) and the points per series.
struct ChartFill {
  int step = 1;
  int drawn = 0;
};

ChartFill FillDecimated(const IChartRowSource& source, int first, int last,
                        const std::vector<int>& columns, const ChartPointBuffers& buffers);
// Runs of run rows (run > 1).
ChartFill FillPeaks(const IChartRowSource& source, int first, int last, int run,
                    const std::vector<int>& columns, const ChartPointBuffers& buffers);
