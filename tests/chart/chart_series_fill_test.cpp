// The two fills of the chart's series: every step-th row, and Keep Peaks' extremes.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/chart_series_fill.h"
#include "chart/chart_view_rules.h"
#include "chart_point_buffers.h"

namespace {

// Rows one second apart whose one column holds the values given.
class CValueRows : public IChartRowSource {
 public:
  explicit CValueRows(std::vector<double> values) : m_values(std::move(values)) {}
  int RowCount() const override { return static_cast<int>(m_values.size()); }
  std::string TimeText(int) const override { return std::string(); }
  double RowTime(int row) const override { return 46000.0 + row / 86400.0; }
  void RowValues(int row, const std::vector<int>&, double* values) const override {
    values[0] = m_values[static_cast<size_t>(row)];
  }

 private:
  std::vector<double> m_values;
};

TEST(ChartSeriesFill, FewRowsAreDrawnEveryOne) {
  const CValueRows rows({1, 5, 2, 8});
  CTestPointBuffers buffers;
  const ChartFill fill = FillDecimated(rows, 1, 3, {1}, buffers.View());
  EXPECT_EQ(fill.step, 1);
  ASSERT_EQ(fill.drawn, 3);
  EXPECT_EQ(buffers.values[0], 5);
  EXPECT_EQ(buffers.values[2], 8);
  EXPECT_EQ(buffers.times[0], rows.RowTime(1));
}

TEST(ChartSeriesFill, ManyRowsAreDecimatedBelowTheMaximum) {
  std::vector<double> values(10000);
  for (size_t i = 0; i < values.size(); ++i)
    values[i] = static_cast<double>(i);
  const CValueRows rows(values);
  CTestPointBuffers buffers;
  const ChartFill fill = FillDecimated(rows, 0, 9999, {1}, buffers.View());
  EXPECT_GT(fill.step, 1);
  EXPECT_LE(fill.drawn, kChartMaxPoints);
  EXPECT_EQ(buffers.values[1], fill.step);  // every step-th row
}

TEST(ChartSeriesFill, PeaksKeepEachRunsExtremesInTheirOrder) {
  // Runs of 3: {1, 9, 4} -> 1 then 9; {7, 0, 3} -> 7 then 0; {6} alone -> one point.
  const CValueRows rows({1, 9, 4, 7, 0, 3, 6});
  CTestPointBuffers buffers;
  const ChartFill fill = FillPeaks(rows, 0, 6, 3, {1}, buffers.View());
  EXPECT_EQ(fill.step, 3);
  ASSERT_EQ(fill.drawn, 5);
  EXPECT_EQ(std::vector<double>(buffers.values.begin(), buffers.values.begin() + 5),
            (std::vector<double>{1, 9, 7, 0, 6}));
  EXPECT_EQ(buffers.times[0], rows.RowTime(0));
  EXPECT_EQ(buffers.times[1], rows.RowTime(2));
}

TEST(ChartSeriesFill, ARunWithoutValuesDrawsNoPoint) {
  const CValueRows rows({kChartNoValue, kChartNoValue, 2, 3});
  CTestPointBuffers buffers;
  const ChartFill fill = FillPeaks(rows, 0, 3, 2, {1}, buffers.View());
  ASSERT_EQ(fill.drawn, 4);
  EXPECT_TRUE(std::isnan(buffers.values[0]));
  EXPECT_TRUE(std::isnan(buffers.values[1]));
  EXPECT_EQ(buffers.values[2], 2);
  EXPECT_EQ(buffers.values[3], 3);
}

}  // namespace
