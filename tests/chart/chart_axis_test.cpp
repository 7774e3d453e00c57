// Axes: value ↔ pixel both ways, automatic range, tick increments, first ticks, the
// date-time unit table with its formats, calendar-month ticks and scrolling.
#include <gtest/gtest.h>

#include "chart/chart_date.h"
#include "chart/chart_datetime_axis.h"
#include "chart/chart_serie.h"
#include "chart/chart_standard_axis.h"

namespace {

double Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return ChartDateFromParts(ChartDateParts{year, month, day, hour, minute, second, 0});
}

CChartStandardAxis VerticalAxis(double minimum, double maximum, int bottom = 250, int top = 50) {
  CChartStandardAxis axis;
  axis.SetHorizontal(false);
  axis.SetMinMax(minimum, maximum);
  axis.SetPixels(bottom, top);
  axis.RefreshTicks();
  return axis;
}

TEST(ChartAxis, ValuesAndPixelsMapBothWaysOnEveryOrientation) {
  CChartStandardAxis horizontal;
  horizontal.SetMinMax(0, 100);
  horizontal.SetPixels(10, 210);
  EXPECT_EQ(horizontal.ValueToScreen(0), 10);
  EXPECT_EQ(horizontal.ValueToScreen(50), 110);
  EXPECT_EQ(horizontal.ValueToScreen(100), 210);
  EXPECT_EQ(horizontal.ValueToScreen(0.4), 10);  // floor
  horizontal.SetInverted(true);
  EXPECT_EQ(horizontal.ValueToScreen(25), 160);
  EXPECT_DOUBLE_EQ(horizontal.ScreenToValue(160), 25);

  CChartStandardAxis vertical = VerticalAxis(0, 100);
  EXPECT_EQ(vertical.ValueToScreen(0), 250);
  EXPECT_EQ(vertical.ValueToScreen(100), 50);
  EXPECT_EQ(vertical.ValueToScreen(25), 200);
  for (int pixel = 50; pixel <= 250; pixel += 10)
    EXPECT_EQ(vertical.ValueToScreen(vertical.ScreenToValue(pixel)), pixel) << pixel;
  vertical.SetInverted(true);
  EXPECT_EQ(vertical.ValueToScreen(25), 100);
  EXPECT_DOUBLE_EQ(vertical.ScreenToValue(100), 25);

  // Equal bounds: the middle of the axis, and the bound back.
  CChartStandardAxis flat = VerticalAxis(7, 7);
  EXPECT_EQ(flat.ValueToScreen(123), 150);
  EXPECT_DOUBLE_EQ(flat.ScreenToValue(60), 7);
  flat.SetHorizontal(true);
  flat.SetPixels(0, 300);
  EXPECT_EQ(flat.ValueToScreen(-5), 150);

  // Far outside the range: held a million pixels out, never an overflowed conversion.
  vertical.SetInverted(false);
  EXPECT_EQ(vertical.ValueToScreen(1e300), 250 - 1000000);
  EXPECT_EQ(vertical.ValueToScreen(-1e300), 250 + 1000000);
}

TEST(ChartAxis, StandardIncrementsDecimalsAndFirstTicks) {
  CChartStandardAxis percent = VerticalAxis(0, 100, 200, 0);
  EXPECT_DOUBLE_EQ(percent.TickIncrement(), 10);
  EXPECT_EQ(percent.Decimals(), 0);
  EXPECT_EQ(percent.Ticks().size(), 11u);
  EXPECT_EQ(percent.TickLabel(30), "30");
  CChartStandardAxis unit = VerticalAxis(0, 1, 200, 0);
  EXPECT_DOUBLE_EQ(unit.TickIncrement(), 0.1);
  EXPECT_EQ(unit.Decimals(), 1);
  EXPECT_EQ(unit.TickLabel(unit.Ticks()[3]), "0.3");
  // 2 and 5 times the decade, and ten times with one decimal fewer.
  EXPECT_DOUBLE_EQ(VerticalAxis(0, 17, 200, 0).TickIncrement(), 2);
  EXPECT_DOUBLE_EQ(VerticalAxis(0, 45, 200, 0).TickIncrement(), 5);
  CChartStandardAxis tenfold = VerticalAxis(0, 0.7, 200, 0);
  EXPECT_DOUBLE_EQ(tenfold.TickIncrement(), 0.1);
  EXPECT_EQ(tenfold.Decimals(), 1);
  EXPECT_DOUBLE_EQ(VerticalAxis(5, 5).TickIncrement(), 0);

  CChartStandardAxis axis = VerticalAxis(12.3, 40, 200, 0);
  ASSERT_DOUBLE_EQ(axis.TickIncrement(), 5);
  EXPECT_DOUBLE_EQ(axis.FirstTick(), 15);
  EXPECT_EQ(axis.Ticks(), (std::vector<double>{15, 20, 25, 30, 35, 40}));
  CChartStandardAxis negative = VerticalAxis(-12.3, 10, 200, 0);
  EXPECT_DOUBLE_EQ(negative.FirstTick(), -10);
  EXPECT_EQ(negative.TickLabel(negative.FirstTick() + 10), "0");
}

struct UnitCase {
  double span;
  ChartTimeUnit unit;
  int multiplier;
  const char* format;
};

TEST(ChartAxis, DateTimeUnitsAndFormatsFollowTheSpanPerTick) {
  const double start = Date(2026, 3, 2, 8, 0, 0);
  const UnitCase cases[] = {
      {1.0 / 24, ChartTimeUnit::kMinutes, 10, "%H:%M"},
      {20, ChartTimeUnit::kDays, 2, "%d %b"},
      {5 * 365.25, ChartTimeUnit::kMonths, 6, "%b %Y"},
      {20 * 365.25, ChartTimeUnit::kYears, 3, "%Y"},
      {10.0 * 45 / 86400, ChartTimeUnit::kMinutes, 1, "%H:%M"},  // 45 s per tick
      {10.0 * 12 / 86400, ChartTimeUnit::kSeconds, 30, "%H:%M:%S"},
      // 2 s per label's room: a tick every 2 s (every second, labels 30 px apart, overlap).
      {10.0 * 2 / 86400, ChartTimeUnit::kSeconds, 2, "%H:%M:%S"},
      {10.0 * 0.4 / 86400, ChartTimeUnit::kSeconds, 1, "%H:%M:%S"},
      {10.0 * 40 / 1440, ChartTimeUnit::kHours, 1, "%H:00"},
      {10.0 * 20 / 24, ChartTimeUnit::kDays, 1, "%d %b"},
      {10.0 * 4 / 24, ChartTimeUnit::kHours, 6, "%H:00"},
      {10.0 * 10, ChartTimeUnit::kMonths, 1, "%b %Y"},
      {10.0 * 5, ChartTimeUnit::kDays, 7, "%d %b"},
      {10.0 * 200, ChartTimeUnit::kYears, 1, "%Y"},
      {10.0 * 100, ChartTimeUnit::kMonths, 4, "%b %Y"},
  };
  for (const UnitCase& c : cases) {
    CChartDateTimeAxis axis;
    axis.SetMinMax(start, start + c.span);
    axis.SetPixels(0, 600);
    axis.RefreshTicks();
    EXPECT_EQ(axis.TickUnit(), c.unit) << c.span;
    EXPECT_EQ(axis.Multiplier(), c.multiplier) << c.span;
    EXPECT_EQ(axis.Format(), c.format) << c.span;
  }
  CChartDateTimeAxis still;
  still.SetMinMax(start, start);
  still.SetTickIncrement(false, ChartTimeUnit::kHours, 6);
  still.SetTickIncrement(true, ChartTimeUnit::kHours, 6);
  still.RefreshTicks();
  EXPECT_EQ(still.TickUnit(), ChartTimeUnit::kHours);  // unchanged
  EXPECT_EQ(still.Multiplier(), 1);
}

// The first minute of an acquisition: whatever the window and the width, two labels
// stand at least 54 px (nine tenths of a label's room of 60 px) apart.
TEST(ChartAxis, DateTimeLabelsOfAShortWindowDoNotRunIntoEachOther) {
  const double start = Date(2026, 3, 2, 8, 0, 0);
  for (int width : {300, 600, 803, 1000, 1600}) {
    for (int seconds = 2; seconds <= 7200; seconds += seconds < 120 ? 1 : 37) {
      CChartDateTimeAxis axis;
      axis.SetHorizontal(true);
      axis.SetMinMax(start, start + seconds / 86400.0);
      axis.SetPixels(0, width);
      axis.RefreshTicks();
      const std::vector<double> ticks = axis.Ticks();
      for (size_t i = 1; i < ticks.size(); ++i) {
        ASSERT_GE(axis.ValueToScreen(ticks[i]) - axis.ValueToScreen(ticks[i - 1]), 53)
            << width << " px, " << seconds << " s";
      }
    }
  }
}

TEST(ChartAxis, DateTimeTicksCountFromTheReferenceWithCalendarMonths) {
  CChartDateTimeAxis minutes;
  minutes.SetMinMax(Date(2026, 3, 2, 8, 3, 20), Date(2026, 3, 2, 9, 3, 20));
  minutes.SetPixels(0, 600);
  minutes.RefreshTicks();
  EXPECT_DOUBLE_EQ(minutes.FirstTick(), Date(2026, 3, 2, 8, 0, 0));
  std::vector<std::string> labels;
  for (double tick : minutes.Ticks())
    labels.push_back(minutes.TickLabel(tick));
  EXPECT_EQ(labels,
            (std::vector<std::string>{"08:10", "08:20", "08:30", "08:40", "08:50", "09:00"}));

  CChartDateTimeAxis months;
  months.SetMinMax(Date(2021, 5, 17), Date(2026, 5, 17));
  months.SetPixels(0, 600);
  months.RefreshTicks();
  ASSERT_EQ(months.Multiplier(), 6);
  EXPECT_DOUBLE_EQ(months.FirstTick(), Date(2021, 1, 1));
  const std::vector<double> ticks = months.Ticks();
  ASSERT_FALSE(ticks.empty());
  EXPECT_EQ(months.TickLabel(ticks.front()), "Jul 2021");
  EXPECT_EQ(months.TickLabel(ticks.back()), "Jan 2026");

  CChartDateTimeAxis years;
  years.SetMinMax(Date(2003, 7, 1), Date(2023, 7, 1));
  years.SetPixels(0, 600);
  years.RefreshTicks();
  EXPECT_DOUBLE_EQ(years.FirstTick(), Date(2003, 1, 1));  // multiples of 3 years from 2000
  EXPECT_EQ(years.TickLabel(years.Ticks().front()), "2006");

  // Discrete mode puts a label half-way to the next tick.
  months.SetDiscrete(true);
  EXPECT_DOUBLE_EQ(months.LabelValue(Date(2022, 1, 1)), (Date(2022, 1, 1) + Date(2022, 7, 1)) / 2);
}

TEST(ChartAxis, DatesAndMonthArithmetic) {
  EXPECT_DOUBLE_EQ(Date(1899, 12, 30), 0);
  EXPECT_DOUBLE_EQ(Date(1900, 1, 1, 12), 2.5);
  EXPECT_EQ(FormatChartDate("%d %b %Y %H:%M:%S %%", Date(2026, 2, 3, 4, 5, 6)),
            "03 Feb 2026 04:05:06 %");
  EXPECT_DOUBLE_EQ(AddChartMonths(Date(2024, 1, 31), 1), Date(2024, 2, 29));
  EXPECT_DOUBLE_EQ(AddChartMonths(Date(2024, 3, 15, 6), -14), Date(2023, 1, 15, 6));
  EXPECT_EQ(ChartMonthsBetween(Date(2000, 1, 1), Date(2000, 12, 31)), 11);
  EXPECT_EQ(ChartMonthsBetween(Date(2000, 1, 1), Date(1999, 11, 2)), -1);
}

TEST(ChartAxis, AutomaticRangeFollowsTheBoundSeriesAndScrollMovesByTenths) {
  CChartStandardAxis x;
  CChartStandardAxis y;
  y.SetHorizontal(false);
  CChartLineSerie first;
  CChartLineSerie second;
  first.SetAxes(&x, &y);
  second.SetAxes(&x, &y);
  first.SetPoints({{1, 5}, {2, -3}});
  second.SetPoints({{4, 10}});
  x.SetAutomatic(true);
  y.SetAutomatic(true);
  EXPECT_DOUBLE_EQ(x.Min(), 1);
  EXPECT_DOUBLE_EQ(x.Max(), 4);
  EXPECT_DOUBLE_EQ(y.Min(), -3);
  EXPECT_DOUBLE_EQ(y.Max(), 10);
  EXPECT_FALSE(y.RefreshAutomaticRange());  // nothing changed
  second.AddPoint({5, 20});
  EXPECT_TRUE(y.RefreshAutomaticRange());
  EXPECT_DOUBLE_EQ(y.Max(), 20);

  CChartStandardAxis scrolled;
  scrolled.SetMinMax(0, 10);
  EXPECT_EQ(scrolled.ScrollStepCount(0, 95), 95);
  scrolled.ScrollBySteps(3);
  EXPECT_DOUBLE_EQ(scrolled.Min(), 3);
  EXPECT_DOUBLE_EQ(scrolled.Max(), 13);
}

}  // namespace
