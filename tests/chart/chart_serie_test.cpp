// Line series: extents, the points in the horizontal range widened by one on each side,
// straight paths skipping repeated pixels, smooth paths of 3n − 2 points.
#include <gtest/gtest.h>

#include "chart/chart_serie.h"
#include "chart/chart_standard_axis.h"

namespace {

struct Axes {
  Axes() {
    x.SetMinMax(0, 100);
    x.SetPixels(0, 100);
    y.SetHorizontal(false);
    y.SetMinMax(0, 100);
    y.SetPixels(100, 0);
  }
  CChartStandardAxis x;
  CChartStandardAxis y;
};

TEST(ChartSerie, VisibleRangeIsWidenedByOnePointOnEachSide) {
  CChartLineSerie serie;
  std::vector<SChartXYPoint> points;
  for (int i = 0; i < 20; ++i)
    points.push_back({i * 10.0, static_cast<double>(i)});
  serie.SetPoints(points);
  size_t first = 0, last = 0;
  ASSERT_TRUE(serie.VisibleRange(25, 55, first, last));
  EXPECT_EQ(first, 2u);  // 20, just before the range
  EXPECT_EQ(last, 6u);   // 60, just after it
  ASSERT_TRUE(serie.VisibleRange(-50, 5, first, last));
  EXPECT_EQ(first, 0u);
  EXPECT_EQ(last, 1u);
  EXPECT_FALSE(serie.VisibleRange(500, 600, first, last) && last > first + 1);
  double low = 0, high = 0;
  ASSERT_TRUE(serie.YExtent(low, high));
  EXPECT_DOUBLE_EQ(high, 19);
  const double times[] = {1, 2, 3};
  const double values[] = {-4, 8, 2};
  serie.SetPoints(times, values, 3);
  ASSERT_TRUE(serie.YExtent(low, high));
  EXPECT_DOUBLE_EQ(low, -4);
  EXPECT_DOUBLE_EQ(high, 8);
  CChartLineSerie empty;
  EXPECT_FALSE(empty.XExtent(low, high));
  EXPECT_FALSE(empty.VisibleRange(0, 1, first, last));
}

TEST(ChartSerie, StraightPathsSkipRepeatedPixelsAndHiddenSeriesDrawNothing) {
  Axes axes;
  CChartLineSerie serie;
  serie.SetAxes(&axes.x, &axes.y);
  serie.SetPoints({{10, 10}, {10.2, 10.3}, {10.4, 10.1}, {50, 50}, {90, 20}});
  const std::vector<ChartPixelPoint> path = serie.Path();
  EXPECT_EQ(path, (std::vector<ChartPixelPoint>{{10, 90}, {50, 50}, {90, 80}}));
  serie.SetVisible(false);
  EXPECT_TRUE(serie.Path().empty());
  serie.SetVisible(true);
  serie.SetPoints({{10, 10}});
  EXPECT_TRUE(serie.Path().empty());  // fewer than two points
}

TEST(ChartSerie, SmoothPathsPassThroughEveryPointWithTwoControlPointsPerSegment) {
  Axes axes;
  CChartLineSerie serie;
  serie.SetAxes(&axes.x, &axes.y);
  serie.SetSmooth(true);
  serie.SetPoints({{0, 0}, {30, 60}, {60, 30}, {90, 90}});
  const std::vector<ChartPixelPoint> path = serie.Path();
  ASSERT_EQ(path.size(), 3u * 4 - 2);
  EXPECT_EQ(path[0], (ChartPixelPoint{0, 100}));
  EXPECT_EQ(path[3], (ChartPixelPoint{30, 40}));
  EXPECT_EQ(path[9], (ChartPixelPoint{90, 10}));
  // The curve leaves a knot along the chord of its neighbours: no corner at (30, 40).
  const double inX = path[3].x - path[2].x, inY = path[3].y - path[2].y;
  const double outX = path[4].x - path[3].x, outY = path[4].y - path[3].y;
  EXPECT_NEAR(inX * outY - inY * outX, 0.0, 1e-9);
}

}  // namespace
