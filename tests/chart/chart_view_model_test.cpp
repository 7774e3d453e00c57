// The chart view's logic: series from the item query, the redraw with its decimation and
// axes, the live refresh divider, paging, Keep Peaks and the legend text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "base/settings.h"
#include "chart/chart_view_model.h"
#include "chart_view_test_support.h"
#include "test_context.h"

namespace {

double Zero(int) {
  return 0.0;
}
double Ramp(int row) {
  return row;
}
double Big(int row) {
  return 500.0 + 500.0 * (row % 2);
}
double Small(int row) {
  return row % 6;
}
double Negative(int row) {
  return -1.0 - row % 10;
}
// A one-row spike that a plain decimation of 4000 rows steps over.
double Spike(int row) {
  return row == 1001 ? 900.0 : 1.0;
}

// A slower group: nothing read yet in row 3 and after row 7.
double Gappy(int row) {
  return row == 3 || row > 7 ? kChartNoValue : 50.0 + row;
}

class ChartViewModelTest : public ::testing::Test {
 protected:
  void SetUpView(const std::vector<FakeChartItem>& items) {
    cells = ChartItemCells(items);
    view.Create();
    view.SetItemQuery([this](const std::string& statement, std::vector<QueryCell>& out) {
      statements.push_back(statement);
      out.insert(out.end(), cells.begin(), cells.end());
      return 5;
    });
    view.SetSource(&rows);
    view.SetAcquisitionId(7);
  }
  const CChartLineSerie& Serie(int item) { return *chart.Serie(view.Item(item).m_nSerieId); }

  TestContext test;
  CChartModel chart;
  CChartViewModel view{test.context, chart};
  CFakeChartRows rows;
  std::vector<QueryCell> cells;
  std::vector<std::string> statements;
};

}  // namespace

TEST_F(ChartViewModelTest, StringAndArrayItemsGetNoSeriesButKeepTheirColumn) {
  SetUpView({{"A"}, {"Text", 8}, {"Array", 0x2000 | 5}, {"B"}});
  rows.AddRows(10, {Ramp, Zero, Zero, Big});
  view.OnShown();
  ASSERT_EQ(view.ItemCount(), 2);
  EXPECT_EQ(view.Item(0).m_sShortId, "A");
  EXPECT_EQ(view.Item(0).m_nTableColumn, 1);
  EXPECT_EQ(view.Item(1).m_sShortId, "B");
  EXPECT_EQ(view.Item(1).m_nTableColumn, 4);
  EXPECT_EQ(chart.Series().size(), 2u);
  EXPECT_EQ(Serie(1).Name(), "Plant.B");
  EXPECT_DOUBLE_EQ(Serie(1).Points()[1].Y, 1000.0);  // column 4, not column 2
  ASSERT_EQ(statements.size(), 1u);
  EXPECT_NE(statements[0].find("WHERE OPCAcq_Id = 7)"), std::string::npos);
  EXPECT_TRUE(test.sink.Contains("Chart Updated with 10 Data Points in 0 ms "));
  // The same acquisition shown again is not queried again.
  view.OnShown();
  EXPECT_EQ(statements.size(), 1u);
}

TEST_F(ChartViewModelTest, AnItemListNotMadeOfFiveCellRowsLeavesNoSeries) {
  SetUpView({{"A"}});
  cells.pop_back();
  rows.AddRows(5, {Ramp});
  view.OnShown();
  EXPECT_TRUE(test.prompt.HasMessageContaining(
      "Incoherent Items Count from Velmora Database !!! Unable to Load Project Data ..."));
  EXPECT_EQ(view.ItemCount(), 0);
  EXPECT_TRUE(chart.Series().empty());
  EXPECT_EQ(test.prompt.messages.size(), 1u);  // asked once, not at every redraw
  view.Redraw();
  EXPECT_EQ(test.prompt.messages.size(), 1u);
}

// Four hours of one row a second over the end of summer time: the wall clock reads
// 00:00 .. 01:59:59, then 01:00 .. 02:59:59 again (an hour later in real time).
class CFallBackRows : public IChartRowSource {
 public:
  int RowCount() const override { return 4 * 3600; }
  std::string TimeText(int row) const override {
    const int wall = row < 2 * 3600 ? row : row - 3600;
    char text[40];
    std::snprintf(text, sizeof text, "25/Oct/2026 %02d:%02d:%02d.000", wall / 3600, wall / 60 % 60,
                  wall % 60);
    return text;
  }
  void RowValues(int row, const std::vector<int>& columns, double* values) const override {
    for (size_t i = 0; i < columns.size(); ++i)
      values[i] = row;
  }
};

TEST_F(ChartViewModelTest, AFallBackOfTheClocksKeepsThePointsInTheOrderOfRealTime) {
  SetUpView({{"A"}});
  CFallBackRows fallBack;
  test.settings.WriteInt(settings::kChartTimeSpan.name, 360);
  view.Create();
  view.SetSource(&fallBack);
  view.OnShown();
  EXPECT_EQ(view.PointCount(), 4 * 3600);  // every row, not the first two hours only
  const std::vector<SChartXYPoint>& points = Serie(0).Points();
  ASSERT_GT(points.size(), 1000u);
  for (size_t i = 1; i < points.size(); ++i)
    ASSERT_GT(points[i].X, points[i - 1].X) << i;
  // As many points in each of the four hours (not two hours' worth in the second and
  // none in the third and the fourth).
  const double start = *ParseChartTimeText("25/Oct/2026 00:00:00.000");
  int perHour[4] = {};
  for (const SChartXYPoint& point : points) {
    const int hour = static_cast<int>((point.X - start) * 24.0);
    ASSERT_GE(hour, 0);
    ASSERT_LT(hour, 4);
    ++perHour[hour];
  }
  for (int hour = 0; hour < 4; ++hour)
    EXPECT_NEAR(perHour[hour], static_cast<int>(points.size()) / 4, 2) << hour;
  // The last point drawn (step 10) is row 14390, 14390 s of real time after the start.
  EXPECT_DOUBLE_EQ(points.back().Y, 14390);
  EXPECT_NEAR((points.back().X - start) * 86400.0, 14390, 0.01);
  // The field shows the wall clock.
  EXPECT_NEAR((view.LastTime() - start) * 86400.0, 3 * 3600 - 1, 0.01);
}

TEST_F(ChartViewModelTest, DecimationStepsAndTheLastRowOfTheWindow) {
  SetUpView({{"A"}});
  // 4000 rows at one per second; a 1440-minute page holds them all.
  test.settings.WriteInt(settings::kChartTimeSpan.name, 1440);
  view.Create();
  rows.AddRows(4000, {Ramp});
  view.OnShown();
  EXPECT_EQ(view.PointCount(), 4000);
  EXPECT_EQ(view.DecimationStep(), 3);
  EXPECT_EQ(view.DrawnPoints(), 1334);
  ASSERT_EQ(Serie(0).PointCount(), 1334u);
  EXPECT_DOUBLE_EQ(Serie(0).Points().back().Y, 3999.0);  // 3999 = 1333 * 3: on the step

  // A 30-minute page: 1801 rows (both ends within the window) give step 2.
  view.SetSpanPosition(6);
  EXPECT_EQ(view.PointCount(), 1801);
  EXPECT_EQ(view.DecimationStep(), 2);
  EXPECT_EQ(Serie(0).PointCount(), 901u);
  EXPECT_DOUBLE_EQ(Serie(0).Points().back().Y, 1800.0);
  EXPECT_EQ(test.settings.Has(settings::kChartTimeSpan.name), true);
  int stored = 0;
  test.settings.ReadInt(settings::kChartTimeSpan.name, stored);
  EXPECT_EQ(stored, 30);
}

TEST_F(ChartViewModelTest, TwoAxesWithTheThresholdAndEmptyAxesCopyingTheOther) {
  SetUpView({{"Big"}, {"Small"}});
  rows.AddRows(60, {Big, Small});
  view.OnShown();
  EXPECT_EQ(view.Item(0).m_nAxis, kChartRightAxis);
  EXPECT_EQ(view.Item(1).m_nAxis, kChartLeftAxis);
  EXPECT_EQ(Serie(0).VerticalAxis(), chart.Axis(ChartAxisSlot::kRight));
  EXPECT_DOUBLE_EQ(chart.Axis(ChartAxisSlot::kRight)->Max(), 1000.0);
  EXPECT_DOUBLE_EQ(chart.Axis(ChartAxisSlot::kLeft)->Max(), 5.0);
  EXPECT_DOUBLE_EQ(chart.Axis(ChartAxisSlot::kLeft)->Min(), 0.0);  // zero-based

  // "Manual Range" keeps the range computed last; a range entered upside down is taken.
  view.SetAxisManual(kChartLeftAxis, true);
  EXPECT_DOUBLE_EQ(chart.Axis(ChartAxisSlot::kLeft)->Max(), 5.0);
  view.SetAxisRange(kChartLeftAxis, 80.0, 20.0);
  EXPECT_DOUBLE_EQ(view.AxisRange(kChartLeftAxis).min, 80.0);
  EXPECT_DOUBLE_EQ(view.AxisRange(kChartLeftAxis).max, 20.0);
  EXPECT_DOUBLE_EQ(chart.Axis(ChartAxisSlot::kLeft)->Min(), 20.0);  // the chart orders them
  EXPECT_DOUBLE_EQ(chart.Axis(ChartAxisSlot::kLeft)->Max(), 80.0);
  EXPECT_TRUE(view.AxisRange(kChartLeftAxis).manual);
}

TEST_F(ChartViewModelTest, AllNegativeSeriesGoLeftAndNoRowShownFitsNothing) {
  SetUpView({{"N1"}, {"N2"}});
  rows.AddRows(30, {Negative, Negative});
  view.OnShown();
  EXPECT_EQ(view.Item(0).m_nAxis, kChartLeftAxis);
  EXPECT_EQ(view.Item(1).m_nAxis, kChartLeftAxis);
  EXPECT_DOUBLE_EQ(chart.Axis(ChartAxisSlot::kRight)->Min(), -10.0);
  EXPECT_DOUBLE_EQ(chart.Axis(ChartAxisSlot::kRight)->Max(),
                   chart.Axis(ChartAxisSlot::kLeft)->Max());

  // No series shown: nothing is drawn and both automatic axes are fitted to nothing.
  view.Item(0).m_bShown = view.Item(1).m_bShown = false;
  view.ApplySerieAttributes();
  view.Redraw();
  EXPECT_FALSE(Serie(0).IsVisible());
  EXPECT_DOUBLE_EQ(view.AxisRange(kChartLeftAxis).min, kChartEmptyMin);
  EXPECT_DOUBLE_EQ(view.AxisRange(kChartRightAxis).max, kChartEmptyMax);
}

TEST_F(ChartViewModelTest, TheLiveDividerGrowsWithASlowRedrawAndNeverShrinks) {
  SetUpView({{"A"}});
  rows.AddRows(10, {Ramp});
  int paintMs = 600;
  view.SetPaintHook([&] { test.clock.AdvanceMs(paintMs); });
  view.OnShown();
  view.SetRealTime(true);
  EXPECT_EQ(view.LastRedrawMs(), 600);
  // First notice: b = 600 / 250 + 1 = 3; the cycle count 1 has not reached 3.
  EXPECT_FALSE(view.OnCycleNotice(1000, true));
  EXPECT_EQ(view.RefreshDivider(), 3);
  EXPECT_TRUE(
      test.sink.Contains("Chart Update Time is Too Long ... Switching the Chart Update "
                         "Frequency to 3 times  the Data Acquisition Frequency"));
  EXPECT_FALSE(view.OnCycleNotice(1000, true));
  paintMs = 200;
  EXPECT_TRUE(view.OnCycleNotice(1000, true));
  EXPECT_EQ(view.LastRedrawMs(), 200);
  EXPECT_FALSE(view.OnCycleNotice(1000, true));
  EXPECT_EQ(view.RefreshDivider(), 3);
  // Hidden: ignored; not in real time: only the last-acquisition time follows.
  EXPECT_FALSE(view.OnCycleNotice(1000, false));
  EXPECT_FALSE(view.OnCycleNotice(1000, true));
  EXPECT_TRUE(view.OnCycleNotice(1000, true));
  view.SetRealTime(false);
  rows.AddRows(1, {Ramp});
  EXPECT_FALSE(view.OnCycleNotice(1000, true));
  EXPECT_DOUBLE_EQ(view.LastTime(), rows.RowTime(10));
}

TEST_F(ChartViewModelTest, PagingMovesByTheSpanAndRefusesPastTheData) {
  SetUpView({{"A"}});
  rows.AddRows(7200, {Ramp});  // two hours
  view.OnShown();
  const double start = CFakeChartRows::Start();
  EXPECT_DOUBLE_EQ(view.WindowStart(), start);
  EXPECT_TRUE(view.Forward(true));
  EXPECT_NEAR(view.WindowStart(), start + 60 * kChartOneMinute, 1e-9);
  EXPECT_FALSE(view.Forward(true));  // the last row is 59:59 after the page start
  EXPECT_TRUE(view.Forward(false));  // ten minutes
  EXPECT_TRUE(view.Back(true));
  EXPECT_NEAR(view.WindowStart(), start + 10 * kChartOneMinute, 1e-9);
  EXPECT_TRUE(view.Back(true));  // not before the acquisition start
  EXPECT_DOUBLE_EQ(view.WindowStart(), start);
  EXPECT_TRUE(view.Last());
  EXPECT_NEAR(view.WindowEnd(), rows.RowTime(7199), 1e-9);
  EXPECT_TRUE(view.First());
  EXPECT_DOUBLE_EQ(view.WindowStart(), start);

  // "Update Chart" one day before the acquisition start with a 60-minute span: refused.
  EXPECT_FALSE(view.UpdateChart(start - 1.0));
  EXPECT_TRUE(test.prompt.HasMessageContaining(
      "Invalid Request for Date/Time Page Start !!! Date/Time is anterior to Data Acquisition "
      "Start Date/Time"));
  EXPECT_DOUBLE_EQ(view.WindowStart(), start);
  EXPECT_TRUE(view.UpdateChart(start + 30 * kChartOneMinute));
  EXPECT_EQ(view.PointCount(), 3601);
}

TEST_F(ChartViewModelTest, KeepPeaksDrawsEveryRunsMinimumAndMaximum) {
  SetUpView({{"Spike"}});
  test.settings.WriteInt(settings::kChartTimeSpan.name, 1440);
  view.Create();
  rows.AddRows(4000, {Spike});
  view.OnShown();
  auto peak = [&] {
    double highest = 0.0;
    for (const SChartXYPoint& point : Serie(0).Points())
      highest = std::max(highest, point.Y);
    return highest;
  };
  EXPECT_DOUBLE_EQ(peak(), 1.0);  // 1001 is not a multiple of 3
  view.SetKeepPeaks(true);
  view.Redraw();
  EXPECT_DOUBLE_EQ(peak(), 900.0);
  EXPECT_LE(Serie(0).PointCount(), 1600u);
  EXPECT_DOUBLE_EQ(view.Item(0).m_dMax, 900.0);
}

TEST_F(ChartViewModelTest, AnEmptyCellDrawsNoPointInsteadOfADropToZero) {
  EXPECT_TRUE(std::isnan(ChartCellValue("")));
  EXPECT_DOUBLE_EQ(ChartCellValue("abc"), 0.0);  // not a number: 0.0, as ever
  EXPECT_DOUBLE_EQ(ChartCellValue("12.5x"), 12.5);
  SetUpView({{"Gappy"}});
  rows.AddRows(10, {Gappy});
  view.OnShown();
  for (const bool keepPeaks : {false, true}) {
    view.SetKeepPeaks(keepPeaks);
    view.Redraw();
    ASSERT_EQ(Serie(0).PointCount(), 7u);
    for (const SChartXYPoint& point : Serie(0).Points())
      EXPECT_GE(point.Y, 50.0);
    EXPECT_DOUBLE_EQ(view.Item(0).m_dMax, 57.0);
  }
}

TEST_F(ChartViewModelTest, TheLegendTextRenamesEverySeriesAndIsStored) {
  SetUpView({{"A"}, {"B"}});
  rows.AddRows(5, {Ramp, Ramp});
  view.OnShown();
  EXPECT_TRUE(chart.Legend().IsVertical());  // "Display Vertically" by default
  view.Legend().horizontal = true;
  view.Legend().position = 1;
  view.ApplyLegend();
  EXPECT_FALSE(chart.Legend().IsVertical());
  EXPECT_EQ(chart.Legend().side, ChartLegendSide::kLeft);
  view.SetTagDisplayType(1);
  EXPECT_EQ(Serie(0).Name(), "A");
  EXPECT_EQ(Serie(1).Name(), "B");
  CChartModel other;
  CChartViewModel next(test.context, other);
  next.Create();
  EXPECT_EQ(next.TagDisplayType(), 1);
}
