// The chart of a source that keeps the extremes of its blocks of rows (a recording read in
// pages): a zoomed page is drawn from the rows exactly as from a source without them; a
// window of many rows is drawn from the blocks, each run as its minimum and maximum.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "base/settings.h"
#include "chart/chart_view_model.h"
#include "chart_view_test_support.h"
#include "test_context.h"

namespace {

constexpr int kBlock = 64;

double Wave(int row) {
  return std::sin(row * 0.013) * 100.0 + (row % 7);
}
double Spiky(int row) {
  return row % 997 == 0 ? 1000.0 + row : (row % 13) - 6.0;
}

// The same rows, with the extremes of blocks of kBlock rows computed from them; counts the
// rows whose values were read.
class CBlockedRows : public CFakeChartRows {
 public:
  int BlockRows() const override { return kBlock; }
  bool BlockExtremes(int block, const std::vector<int>& columns, double* minimum, double* maximum,
                     bool* minFirst) const override {
    std::vector<double> row(columns.size());
    const int first = block * kBlock;
    const int last = std::min(first + kBlock, RowCount()) - 1;
    for (size_t c = 0; c < columns.size(); ++c) {
      minimum[c] = maximum[c] = kChartNoValue;
      int minAt = 0, maxAt = 0;
      for (int r = first; r <= last; ++r) {
        CFakeChartRows::RowValues(r, {columns[c]}, &row[c]);
        if (std::isnan(minimum[c]) || row[c] < minimum[c])
          minimum[c] = row[c], minAt = r;
        if (std::isnan(maximum[c]) || row[c] > maximum[c])
          maximum[c] = row[c], maxAt = r;
      }
      minFirst[c] = minAt <= maxAt;
    }
    return true;
  }
  void RowValues(int row, const std::vector<int>& columns, double* values) const override {
    ++m_nRowsRead;
    CFakeChartRows::RowValues(row, columns, values);
  }
  mutable int m_nRowsRead = 0;
};

class ChartSummaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plain.AddRows(kRows, {Wave, Spiky});
    blocked.AddRows(kRows, {Wave, Spiky});
    cells = ChartItemCells({{"Wave"}, {"Spiky"}});
    for (CChartViewModel* view : {&plainView, &blockedView}) {
      view->Create();
      view->SetLiveMode(false);
      view->SetItemQuery([this](const std::string&, std::vector<QueryCell>& out) {
        out = cells;
        return 5;
      });
      view->SetAcquisitionId(3);
    }
    plainView.SetSource(&plain);
    blockedView.SetSource(&blocked);
  }
  static constexpr int kRows = 40000;

  TestContext test;
  CChartModel plainChart, blockedChart;
  CChartViewModel plainView{test.context, plainChart};
  CChartViewModel blockedView{test.context, blockedChart};
  CFakeChartRows plain;
  CBlockedRows blocked;
  std::vector<QueryCell> cells;
};

TEST_F(ChartSummaryTest, AZoomedPageIsDrawnFromTheRowsAsWithoutBlocks) {
  for (bool peaks : {false, true}) {
    for (int position : {7, 8}) {  // 1 and 2 hours: 3600 and 7200 rows
      for (CChartViewModel* view : {&plainView, &blockedView}) {
        view->SetKeepPeaks(peaks);
        view->OnShown();
        view->SetSpanPosition(position);
        view->UpdateChart(CFakeChartRows::Start() + 1000.0 / 86400.0);
      }
      ASSERT_LE(blockedView.PointCount(), kChartSummaryMinRows);
      EXPECT_EQ(blockedView.PointCount(), plainView.PointCount());
      EXPECT_EQ(blockedView.DrawnPoints(), plainView.DrawnPoints());
      for (int item = 0; item < 2; ++item) {
        const auto& expected = plainChart.Serie(plainView.Item(item).m_nSerieId)->Points();
        const auto& drawn = blockedChart.Serie(blockedView.Item(item).m_nSerieId)->Points();
        ASSERT_EQ(drawn.size(), expected.size());
        for (size_t i = 0; i < drawn.size(); ++i) {
          EXPECT_EQ(drawn[i].X, expected[i].X);
          EXPECT_EQ(drawn[i].Y, expected[i].Y);
        }
        EXPECT_EQ(blockedView.Item(item).m_dMin, plainView.Item(item).m_dMin);
        EXPECT_EQ(blockedView.Item(item).m_dMax, plainView.Item(item).m_dMax);
      }
    }
  }
}

TEST_F(ChartSummaryTest, TheWholeRecordingIsDrawnFromTheBlocks) {
  settings::Write(test.settings, settings::kChartTimeSpan, 24 * 60);
  blockedView.Create();
  blockedView.OnShown();
  // A window that cuts a block at each end.
  const int firstRow = 100;
  blocked.m_nRowsRead = 0;
  blockedView.UpdateChart(CFakeChartRows::Start() + firstRow / 86400.0);
  const int lastRow = kRows - 1;
  ASSERT_EQ(blockedView.PointCount(), lastRow - firstRow + 1);
  ASSERT_GT(blockedView.PointCount(), kChartSummaryMinRows);
  // Only the rows of the two cut blocks were read.
  EXPECT_LE(blocked.m_nRowsRead, 2 * kBlock);
  EXPECT_LE(blockedView.DrawnPoints(), kChartMaxPoints);
  const int run = blockedView.DecimationStep();
  ASSERT_EQ(run % kBlock, 0);
  // Every pair is the minimum and the maximum of its run of rows, in the order they came.
  for (int item = 0; item < 2; ++item) {
    double (*function)(int) = item == 0 ? Wave : Spiky;
    const auto& points = blockedChart.Serie(blockedView.Item(item).m_nSerieId)->Points();
    size_t next = 0;
    double overallMin = 0.0, overallMax = -1e300;
    for (int start = firstRow / kBlock * kBlock; start <= lastRow; start += run) {
      const int a = std::max(start, firstRow);
      const int b = std::min(start + run - 1, lastRow);
      int minAt = a, maxAt = a;
      for (int r = a; r <= b; ++r) {
        if (function(r) < function(minAt))
          minAt = r;
        if (function(r) > function(maxAt))
          maxAt = r;
      }
      ASSERT_LT(next + 1, points.size());
      EXPECT_EQ(points[next].X, blocked.RowTime(a));
      EXPECT_EQ(points[next + 1].X, blocked.RowTime(b));
      EXPECT_EQ(points[next].Y, function(minAt <= maxAt ? minAt : maxAt)) << start;
      EXPECT_EQ(points[next + 1].Y, function(minAt <= maxAt ? maxAt : minAt)) << start;
      overallMin = std::min(overallMin, function(minAt));
      overallMax = std::max(overallMax, function(maxAt));
      next += 2;
    }
    EXPECT_EQ(next, points.size());
    EXPECT_EQ(blockedView.Item(item).m_dMin, overallMin);
    EXPECT_EQ(blockedView.Item(item).m_dMax, overallMax);
  }
}

}  // namespace
