// The fill of a window of many rows from block extremes: each run of blocks is drawn as its
// minimum and maximum in the order they came, the blocks cut by the window's ends are read
// from their rows, and blocks the source does not know are read from their rows too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "chart/chart_block_fill.h"
#include "chart/chart_view_rules.h"
#include "chart_point_buffers.h"

namespace {

constexpr int kBlock = 4;

// Rows one second apart, one column; blocks of kBlock rows whose extremes are known unless
// listed in unknown; counts the rows read one by one.
class CBlockRows : public IChartRowSource {
 public:
  explicit CBlockRows(std::vector<double> values) : m_values(std::move(values)) {}
  int RowCount() const override { return static_cast<int>(m_values.size()); }
  std::string TimeText(int) const override { return std::string(); }
  double RowTime(int row) const override { return 46000.0 + row / 86400.0; }
  void RowValues(int row, const std::vector<int>&, double* values) const override {
    ++rowsRead;
    values[0] = m_values[static_cast<size_t>(row)];
  }
  int BlockRows() const override { return kBlock; }
  bool BlockExtremes(int block, const std::vector<int>&, double* minimum, double* maximum,
                     bool* minFirst) const override {
    if (unknown.count(block) != 0)
      return false;
    const auto first = m_values.begin() + block * kBlock;
    const auto last = std::min(first + kBlock, m_values.end());
    const auto low = std::min_element(first, last);
    const auto high = std::max_element(first, last);
    minimum[0] = *low;
    maximum[0] = *high;
    minFirst[0] = low <= high;
    return true;
  }
  std::set<int> unknown;
  mutable int rowsRead = 0;

 private:
  std::vector<double> m_values;
};

}  // namespace

TEST(ChartBlockFill, WholeBlocksAreDrawnFromTheirExtremesInTheOrderTheyCame) {
  // Block 0: the maximum first; block 1: the minimum first.
  CBlockRows rows({9, 1, 5, 2, 3, -4, 6, 8});
  CTestPointBuffers buffers;
  const ChartFill fill = FillFromBlocks(rows, 0, 7, {1}, buffers.View());
  EXPECT_EQ(fill.step, kBlock);
  ASSERT_EQ(fill.drawn, 4);
  EXPECT_EQ(rows.rowsRead, 0);
  EXPECT_EQ(buffers.values[0], 9);
  EXPECT_EQ(buffers.values[1], 1);
  EXPECT_EQ(buffers.values[2], -4);
  EXPECT_EQ(buffers.values[3], 8);
  EXPECT_EQ(buffers.times[0], rows.RowTime(0));
  EXPECT_EQ(buffers.times[1], rows.RowTime(3));
}

TEST(ChartBlockFill, BlocksCutByTheWindowOrUnknownAreReadFromTheirRows) {
  CBlockRows rows({1, 9, 5, 2, 3, -4, 6, 8, 0, 7, 7, 7});
  rows.unknown = {2};
  CTestPointBuffers buffers;
  // Rows 2..9: block 0 cut (rows 2, 3), block 1 whole, block 2 unknown and cut (8, 9).
  const ChartFill fill = FillFromBlocks(rows, 2, 9, {1}, buffers.View());
  EXPECT_EQ(rows.rowsRead, 4);
  ASSERT_EQ(fill.drawn, 6);
  EXPECT_EQ(buffers.values[0], 5);
  EXPECT_EQ(buffers.values[1], 2);
  EXPECT_EQ(buffers.values[4], 0);
  EXPECT_EQ(buffers.values[5], 7);
  EXPECT_EQ(buffers.times[0], rows.RowTime(2));
  EXPECT_EQ(buffers.times[5], rows.RowTime(9));
}

TEST(ChartBlockFill, ManyBlocksShareARunSoThePointsStayWithinTheLimit) {
  std::vector<double> values(static_cast<size_t>(kChartMaxPoints) * kBlock * 2);
  for (size_t i = 0; i < values.size(); ++i)
    values[i] = static_cast<double>(i % 17);
  CBlockRows rows(values);
  CTestPointBuffers buffers;
  const ChartFill fill =
      FillFromBlocks(rows, 0, static_cast<int>(values.size()) - 1, {1}, buffers.View());
  EXPECT_LE(fill.drawn, kChartMaxPoints);
  EXPECT_GT(fill.step, kBlock);
  EXPECT_EQ(fill.step % kBlock, 0);
}
