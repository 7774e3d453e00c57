// The fixed rules of the chart view: spans, small steps, time texts, decimation, the
// row search, the vertical axis rule and the refresh divider.
#include <gtest/gtest.h>

#include "chart/chart_axis_rules.h"
#include "chart/chart_image_rules.h"
#include "chart/chart_view_rules.h"
#include "chart_view_test_support.h"

TEST(ChartViewRules, SpanListPositionsTextsAndSmallSteps) {
  const int minutes[] = {1,    2,    5,    10,   15,   20,   30,    60,    120,   360,  720,
                         1440, 2880, 4320, 5760, 7200, 8640, 10080, 20160, 30240, 40320};
  const int steps[] = {1,   1,   5,   2,   3,    4,    5,    10,   20,   60,  120,
                       240, 480, 720, 960, 1200, 1440, 1440, 2880, 4320, 5760};
  for (int i = 0; i < kChartSpanCount; ++i) {
    EXPECT_EQ(ChartSpanMinutes(i), minutes[i]) << i;
    EXPECT_EQ(ChartSpanPosition(minutes[i]), i);
    EXPECT_EQ(ChartSmallStepMinutes(minutes[i]), steps[i]) << minutes[i];
  }
  EXPECT_EQ(ChartSpanMinutes(-1), 60);
  EXPECT_EQ(ChartSpanMinutes(21), 60);
  EXPECT_STREQ(ChartSpanText(0), "1 min");
  EXPECT_STREQ(ChartSpanText(7), "1 hour");
  EXPECT_STREQ(ChartSpanText(20), "4 weeks");
  EXPECT_EQ(ChartSpanPosition(45), -1);
  EXPECT_EQ(ChartSmallStepMinutes(45), 10);
}

TEST(ChartViewRules, TimeTextsOfTheTablesReadAsAutomationDates) {
  const double start = *ParseChartTimeText("07/Dec/2026 10:00:00.000");
  EXPECT_NEAR(*ParseChartTimeText("07/Dec/2026 10:00:01.500") - start, 1.5 / 86400, 1e-9);
  EXPECT_NEAR(*ParseChartTimeText("08/Dec/2026 10:00:00") - start, 1.0, 1e-9);
  EXPECT_FALSE(ParseChartTimeText("07/Dez/2026 10:00:00.000"));
  EXPECT_FALSE(ParseChartTimeText("07/Dec/2026 10:00"));
  EXPECT_FALSE(ParseChartTimeText("07/Dec/2026 10:00:00,000"));
}

TEST(ChartViewRules, DecimationGivesAtMost1600Points) {
  EXPECT_EQ(ChartDecimationStep(1599), 1);
  EXPECT_EQ(ChartDrawnPointCount(1599, 1), 1599);
  EXPECT_EQ(ChartDecimationStep(1600), 2);
  EXPECT_EQ(ChartDrawnPointCount(1600, 2), 800);
  EXPECT_EQ(ChartDecimationStep(4000), 3);
  EXPECT_EQ(ChartDrawnPointCount(4000, 3), 1334);
  EXPECT_EQ(ChartDrawnPointCount(0, 1), 0);
  for (int points : {1601, 3200, 1000000})
    EXPECT_LE(2 * ((points + ChartPeakRunLength(points) - 1) / ChartPeakRunLength(points)),
              kChartMaxPoints)
        << points;
  EXPECT_EQ(ChartPeakRunLength(1600), 1);
}

TEST(ChartViewRules, RowByTimeTakesHalfASecondOfToleranceFromAnyStart) {
  CFakeChartRows rows;
  rows.AddRows(100, {[](int) { return 0.0; }});
  const double start = CFakeChartRows::Start();
  const double second = 1.0 / 86400;
  for (int period : {1, 3, 60}) {
    // 10.4 s: row 10 is within half a second, so it counts as at or after the target.
    EXPECT_EQ(FindChartRow(rows, start + 10.4 * second, true, 99, start, period), 10) << period;
    EXPECT_EQ(FindChartRow(rows, start + 10.6 * second, true, 99, start, period), 11) << period;
    EXPECT_EQ(FindChartRow(rows, start + 10.6 * second, false, 99, start, period), 11) << period;
    EXPECT_EQ(FindChartRow(rows, start + 10.4 * second, false, 99, start, period), 10) << period;
    EXPECT_EQ(FindChartRow(rows, start - 1.0, true, 99, start, period), 0);
    EXPECT_EQ(FindChartRow(rows, start + 1.0, false, 99, start, period), 99);
  }
}

TEST(ChartViewRules, VerticalAxesThresholdAndAutomaticAssignment) {
  ChartAxisRange axes[2];
  // Maxima 1000 and 5 on automatic axes: T = 200, the first right, the second left.
  std::vector<ChartAxisSerie> series = {{0.0, 1000.0, 0}, {0.0, 5.0, 1}};
  EXPECT_DOUBLE_EQ(ChartAxisThreshold(axes, 0.0, 1000.0), 200.0);
  ApplyChartAxisRule(axes, series, true, 0.0, 1000.0);
  EXPECT_EQ(series[0].axis, kChartRightAxis);
  EXPECT_EQ(series[1].axis, kChartLeftAxis);
  EXPECT_DOUBLE_EQ(axes[1].max, 1000.0);
  EXPECT_DOUBLE_EQ(axes[0].max, 5.0);

  // All negative: every series left, the right axis copies the left.
  ChartAxisRange negative[2];
  series = {{-50.0, -10.0, 1}, {-5.0, -1.0, 1}};
  ApplyChartAxisRule(negative, series, true, -50.0, -1.0);
  EXPECT_EQ(series[0].axis, kChartLeftAxis);
  EXPECT_EQ(series[1].axis, kChartLeftAxis);
  EXPECT_DOUBLE_EQ(negative[0].min, -50.0);
  EXPECT_DOUBLE_EQ(negative[0].max, -1.0);
  EXPECT_DOUBLE_EQ(negative[1].min, -50.0);
  EXPECT_DOUBLE_EQ(negative[1].max, -1.0);

  // Without automatic assignment the series keep their axes; a manual axis its range.
  ChartAxisRange manual[2];
  manual[1] = {true, 0.0, 50.0};
  EXPECT_DOUBLE_EQ(ChartAxisThreshold(manual, 0.0, 1000.0), 10.0);
  manual[0] = {true, 20.0, 80.0};
  EXPECT_DOUBLE_EQ(ChartAxisThreshold(manual, 0.0, 1000.0), 80.0);
  series = {{0.0, 1000.0, 0}, {0.0, 5.0, 1}};
  ApplyChartAxisRule(manual, series, false, 0.0, 1000.0);
  EXPECT_EQ(series[0].axis, kChartLeftAxis);
  EXPECT_EQ(series[1].axis, kChartRightAxis);
  EXPECT_DOUBLE_EQ(manual[0].min, 20.0);
  EXPECT_DOUBLE_EQ(manual[1].max, 50.0);
}

TEST(ChartViewRules, RefreshDividerKeepsARedrawUnderAQuarterPeriod) {
  EXPECT_EQ(ChartRefreshDivider(1000, 600), 3);  // Q = 250
  EXPECT_EQ(ChartRefreshDivider(1000, 200), 1);
  EXPECT_EQ(ChartRefreshDivider(3, 10), 0);  // Q = 0: no rule
  EXPECT_EQ(ChartRefreshDivider(1000, -1), 0);
}

TEST(ChartImageRules, ExtensionsNamesAndTheSizeRule) {
  EXPECT_EQ(ChartImageType(""), "jpeg");
  EXPECT_EQ(ChartImageExtension("jpeg"), ".jpg");
  EXPECT_EQ(ChartImageExtension("png"), ".png");
  EXPECT_EQ(ChartImageFileName("trend", "png"), "trend.png");
  EXPECT_EQ(ChartImageFileName("trend.jpg.old", "jpeg"), "trend.jpg.old");
  EXPECT_EQ(ChartImageFileName("trend.png", "jpeg"), "trend.png.jpg");
  EXPECT_EQ(RoundDownToFour(803), 800);
  EXPECT_EQ(RoundDownToFour(401), 400);
  EXPECT_EQ(RoundDownToFour(3), 0);
  EXPECT_EQ(ChartImagePath("/tmp", "a.png"), "/tmp/a.png");
  EXPECT_EQ(ChartImagePath("/tmp/", "a.png"), "/tmp/a.png");
  EXPECT_EQ(ChartImageFolder("/no/such/folder", "/data"), "/data");
  EXPECT_EQ(ChartImageFolder("/", "/data"), "/");
  EXPECT_EQ(ChartReplaceQuestion("/no/such/file.png"), "");
}

namespace {

// The demo project's series as a 7-minute acquisition draws them (zero-based ranges):
// two counters in the hundreds of millions and billions, a running-hours count, a
// squared sine, speeds, temperatures, levels, flags.
std::vector<ChartAxisSerie> DemoSeries() {
  const double ranges[][2] = {
      {0, 80.3},   {0, 80},       {0, 1499.99}, {0, 1},         {0, 5.98879e8}, {-0.3, 19.9},
      {0, 176.54}, {0, 1499.99},  {0, 80},      {0, 40},        {0, 1},         {0, 1},
      {0, 1},      {-1, 1},       {0, 6.98},    {0, 1},         {0, 499066},    {0, 290},
      {0, 50.05},  {-0.05, 0.05}, {-100, 100},  {0, 1.79664e9}, {0, 1},         {0, 10000}};
  std::vector<ChartAxisSerie> series;
  for (const auto& range : ranges)
    series.push_back({range[0], range[1], kChartLeftAxis});
  return series;
}

}  // namespace

TEST(ChartViewRules, CountersAndLargeCountsGoRightSoThatTheProcessValuesShow) {
  std::vector<ChartAxisSerie> series = DemoSeries();
  ChartAxisRange axes[2];
  ApplyChartAxisRule(axes, series, true, -100, 1.79664e9);
  // T = 3.6e8 sends both counters right; so do the running hours, the squared sine and
  // the speeds, which would otherwise flatten everything else on the left.
  for (size_t i : {4u, 21u, 16u, 23u, 2u, 7u})
    EXPECT_EQ(series[i].axis, kChartRightAxis) << i;
  EXPECT_DOUBLE_EQ(axes[kChartLeftAxis].max, 290);
  EXPECT_DOUBLE_EQ(axes[kChartLeftAxis].min, -100);
  int visible = 0;
  for (const ChartAxisSerie& serie : series) {
    const ChartAxisRange& axis = axes[serie.axis];
    visible += (serie.max - serie.min) >= 0.05 * (axis.max - axis.min);
  }
  EXPECT_GE(visible, 11);
  // The threshold alone leaves three series apart (the counters and the running hours).
  std::vector<ChartAxisSerie> plain = DemoSeries();
  const double threshold = (1.79664e9 + 100) / 5.0;
  int apart = 0;
  for (const ChartAxisSerie& serie : plain) {
    const bool right = serie.max >= threshold;
    const double span = right ? 1.79664e9 : 499066 + 100;
    apart += (serie.max - serie.min) >= 0.05 * span;
  }
  EXPECT_EQ(apart, 3);
  // A manual axis keeps the plain rule.
  std::vector<ChartAxisSerie> manual = DemoSeries();
  ChartAxisRange manualAxes[2];
  manualAxes[kChartRightAxis].manual = true;
  manualAxes[kChartRightAxis].max = 2e9;
  ApplyChartAxisRule(manualAxes, manual, true, -100, 1.79664e9);
  EXPECT_EQ(manual[16].axis, kChartLeftAxis);
}
