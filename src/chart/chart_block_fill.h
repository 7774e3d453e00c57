#pragma once
// The fill of a chart window of many rows from the source's block extremes (a recording
// read in pages): runs of whole blocks, each drawn as its minimum and maximum in the order
// they came; the blocks cut by the window's ends are read from their rows. It writes the
// same buffers as the row fills (chart_series_fill.h).
// Thread rule: the caller's (GUI) thread.
#include <vector>

#include "chart/chart_row_source.h"
#include "chart/chart_series_fill.h"

// Rows [first, last] of a source whose BlockRows() is above 0.
ChartFill FillFromBlocks(const IChartRowSource& source, int first, int last,
                         const std::vector<int>& columns, const ChartPointBuffers& buffers);
