// The chart model: nested redraw suspensions redraw once, series by id, and the layout of
// one redraw (title on top, the legend on its side, the axes around the plot).
#include <gtest/gtest.h>

#include "chart/chart_interaction.h"
#include "chart/chart_model.h"

namespace {

// Every character 7 pixels wide and 12 high.
class FixedMeasure : public IChartTextMeasure {
 public:
  ChartSize Measure(const std::string& text, const ChartFont&) const override {
    return {static_cast<int>(text.size()) * 7, 12};
  }
};

TEST(ChartModel, NestedSuspensionsRedrawOnceWhenTheLastOneEnds) {
  CChartModel model;
  int redraws = 0;
  model.SetRedrawHandler([&] { ++redraws; });
  model.EnableRefresh(false);
  model.EnableRefresh(false);
  model.RequestRedraw();
  model.EnableRefresh(true);
  EXPECT_EQ(redraws, 0);
  EXPECT_TRUE(model.IsRefreshSuspended());
  model.EnableRefresh(true);
  EXPECT_EQ(redraws, 1);
  model.EnableRefresh(true);  // nothing to resume
  EXPECT_EQ(redraws, 1);
  model.RequestRedraw();
  EXPECT_EQ(redraws, 2);
}

TEST(ChartModel, SeriesAreKeptByIdAndRebound) {
  CChartModel model;
  model.CreateDateTimeAxis(ChartAxisSlot::kBottom);
  CChartAxis& left = model.CreateStandardAxis(ChartAxisSlot::kLeft);
  CChartAxis& right = model.CreateStandardAxis(ChartAxisSlot::kRight);
  const int first = model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
  const int second = model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
  EXPECT_NE(model.Serie(first)->Colour(), model.Serie(second)->Colour());
  EXPECT_EQ(left.Series().size(), 2u);
  ASSERT_TRUE(model.RebindVertical(second, ChartAxisSlot::kRight));
  EXPECT_EQ(left.Series().size(), 1u);
  EXPECT_EQ(right.Series().size(), 1u);
  EXPECT_EQ(model.Series().front(), model.Serie(first));
  model.RemoveAllSeries();
  EXPECT_TRUE(left.Series().empty());
  EXPECT_EQ(model.Serie(first), nullptr);
}

TEST(ChartModel, LayoutPlacesTitleLegendAndAxesAroundThePlot) {
  CChartModel model;
  CChartAxis& bottom = model.CreateStandardAxis(ChartAxisSlot::kBottom);
  CChartAxis& left = model.CreateStandardAxis(ChartAxisSlot::kLeft);
  bottom.SetMinMax(0, 10);
  left.SetMinMax(0, 1000);
  left.SetCaption("Level");
  model.Title().lines = {"Tank 1", "Line 1"};
  model.Legend().visible = true;
  const int id = model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
  model.Serie(id)->SetName("Temperature");
  const ChartLayout layout = model.Layout({0, 0, 600, 400}, FixedMeasure());
  EXPECT_EQ(layout.title, (ChartRect{4, 4, 596, 28}));  // two lines of 12
  // The legend on the right: symbol, name, margins.
  EXPECT_EQ(layout.legend.right, 596);
  EXPECT_EQ(layout.legend.Width(), kLegendSymbolWidth + 11 * 7 + 3 * kChartMargin);
  EXPECT_LT(layout.plot.right, layout.legend.left);
  // Left: ticks, margin, the widest label ("1000", 28 px) and the caption's height.
  EXPECT_EQ(layout.plot.left, 4 + kChartTickLength + kChartMargin + 28 + 12 + kChartMargin);
  EXPECT_EQ(layout.plot.top, 28 + kChartMargin);
  EXPECT_EQ(layout.plot.bottom, 396 - (kChartTickLength + kChartMargin + 12));
  // The axes run along the plot and their ticks are those of its size.
  EXPECT_EQ(bottom.PixelStart(), layout.plot.left);
  EXPECT_EQ(bottom.PixelEnd(), layout.plot.right);
  EXPECT_EQ(left.PixelStart(), layout.plot.bottom);
  EXPECT_EQ(left.PixelEnd(), layout.plot.top);
  EXPECT_EQ(left.ValueToScreen(1000), layout.plot.top);
}

// 26 series named "Series 01".."Series 26" (9 characters, 63 px): the demo's count.
void AddSeries(CChartModel& model, int count) {
  for (int i = 0; i < count; ++i) {
    const int id = model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
    model.Serie(id)->SetName(std::string("Series ") + (i < 9 ? "0" : "") + std::to_string(i + 1));
  }
}

TEST(ChartModel, AColumnLegendBelowThePlotTakesAShareAndWrapsIntoColumns) {
  CChartModel model;
  CChartAxis& bottom = model.CreateStandardAxis(ChartAxisSlot::kBottom);
  model.CreateStandardAxis(ChartAxisSlot::kLeft);
  bottom.SetMinMax(0, 10);
  model.Legend().visible = true;
  model.Legend().side = ChartLegendSide::kBottom;
  model.Legend().layout = ChartLegendLayout::kVertical;
  AddSeries(model, 26);
  const ChartLayout layout = model.Layout({0, 0, 800, 400}, FixedMeasure());
  // At most 35 % of the height; the plot keeps the rest.
  EXPECT_LE(layout.legend.Height(), static_cast<int>(392 * kLegendTopShare));
  EXPECT_GT(layout.plot.Height(), 200);
  // 10 rows of 12 fit in 137 - 8 px: 3 columns of 95 px hold all 26 entries.
  EXPECT_EQ(layout.legendGrid.rows, 10);
  EXPECT_EQ(layout.legendGrid.columns, 3);
  EXPECT_EQ(layout.legendGrid.shown, 26);
  EXPECT_TRUE(layout.legendGrid.columnMajor);
  EXPECT_EQ(layout.legendGrid.Column(25), 2);
  EXPECT_EQ(layout.legendGrid.Row(25), 5);
}

TEST(ChartModel, ARowLegendWrapsIntoRowsInsteadOfRunningOffTheChart) {
  CChartModel model;
  CChartAxis& bottom = model.CreateStandardAxis(ChartAxisSlot::kBottom);
  model.CreateStandardAxis(ChartAxisSlot::kLeft);
  bottom.SetMinMax(0, 10);
  model.Legend().visible = true;
  model.Legend().side = ChartLegendSide::kTop;
  model.Legend().layout = ChartLegendLayout::kHorizontal;
  AddSeries(model, 26);
  const ChartLayout layout = model.Layout({0, 0, 800, 400}, FixedMeasure());
  const ChartLegendGrid& grid = layout.legendGrid;
  EXPECT_FALSE(grid.columnMajor);
  EXPECT_EQ(grid.columns, 8);  // 95-px cells in 788 px
  EXPECT_EQ(grid.rows, 4);
  EXPECT_EQ(grid.shown, 26);
  EXPECT_LE(layout.legend.right, 796);
  EXPECT_EQ(grid.Row(25), 3);
  EXPECT_EQ(grid.Column(25), 1);
}

TEST(ChartModel, AColumnLegendBesideThePlotWrapsWhenTheChartIsLow) {
  CChartModel model;
  CChartAxis& bottom = model.CreateStandardAxis(ChartAxisSlot::kBottom);
  model.CreateStandardAxis(ChartAxisSlot::kLeft);
  bottom.SetMinMax(0, 10);
  model.Legend().visible = true;
  AddSeries(model, 26);
  const ChartLayout layout = model.Layout({0, 0, 800, 200}, FixedMeasure());
  EXPECT_EQ(layout.legendGrid.rows, 15);  // 192 - 8 = 184 px: 15 rows
  EXPECT_EQ(layout.legendGrid.columns, 2);
  EXPECT_EQ(layout.legendGrid.shown, 26);
  EXPECT_LE(layout.legend.Height(), 192);
  EXPECT_LE(layout.legend.Width(), static_cast<int>(792 * kLegendSideShare));

  // Long names: two columns of names cut to share the width rather than entries lost.
  CChartModel wide;
  wide.CreateStandardAxis(ChartAxisSlot::kBottom).SetMinMax(0, 10);
  wide.CreateStandardAxis(ChartAxisSlot::kLeft);
  wide.Legend().visible = true;
  for (int i = 0; i < 26; ++i) {
    const int id = wide.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
    wide.Serie(id)->SetName("Plant.Utilities.Compressor.RunHours" + std::to_string(i));
  }
  const ChartLayout cut = wide.Layout({0, 0, 800, 200}, FixedMeasure());
  EXPECT_EQ(cut.legendGrid.columns, 2);
  EXPECT_EQ(cut.legendGrid.shown, 26);
  EXPECT_LE(cut.legend.Width(), static_cast<int>(792 * kLegendSideShare));
}

TEST(ChartModel, SeriesBuiltAnewGetTheSameColours) {
  CChartModel model;
  model.CreateStandardAxis(ChartAxisSlot::kBottom);
  model.CreateStandardAxis(ChartAxisSlot::kLeft);
  std::vector<ChartColour> first;
  for (int i = 0; i < 20; ++i)
    first.push_back(
        model.Serie(model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft))->Colour());
  model.RemoveAllSeries();
  for (int i = 0; i < 20; ++i) {
    const int id = model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
    EXPECT_EQ(model.Serie(id)->Colour(), first[static_cast<size_t>(i)]) << i;
  }
  // Sixteen different colours before the first comes back.
  for (size_t i = 0; i < 16; ++i) {
    for (size_t j = i + 1; j < 16; ++j)
      EXPECT_NE(first[i], first[j]);
  }
}

}  // namespace

namespace {

TEST(ChartInteraction, ZoomPanBandResetAndReadout) {
  CChartModel model;
  CChartAxis& x = model.CreateStandardAxis(ChartAxisSlot::kBottom);
  model.CreateStandardAxis(ChartAxisSlot::kLeft);
  const int id = model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
  model.Serie(id)->SetName("Level");
  model.Serie(id)->SetPoints({{0, 1}, {10, 2.5}, {20, 3}, {100, 4}});
  x.SetMinMax(0, 100);
  x.SetPixels(0, 200);
  ZoomAxis(x, 50, 0.5);  // the anchor keeps its place
  EXPECT_DOUBLE_EQ(x.Min(), 25);
  EXPECT_DOUBLE_EQ(x.Max(), 75);
  PanAxisByPixels(x, 40);  // a fifth of the axis to the right: earlier values
  EXPECT_DOUBLE_EQ(x.Min(), 15);
  EXPECT_DOUBLE_EQ(x.Max(), 65);
  EXPECT_FALSE(ZoomAxisToPixels(x, 100, 101));
  ASSERT_TRUE(ZoomAxisToPixels(x, 120, 40));
  EXPECT_DOUBLE_EQ(x.Min(), 25);
  EXPECT_DOUBLE_EQ(x.Max(), 45);
  ResetAxisRange(x);
  EXPECT_DOUBLE_EQ(x.Min(), 0);
  EXPECT_DOUBLE_EQ(x.Max(), 100);
  EXPECT_FALSE(x.IsAutomatic());

  const ChartReadout readout = ReadoutAt(model, ChartAxisSlot::kBottom, 28);  // x = 14
  ASSERT_TRUE(readout.valid);
  EXPECT_EQ(readout.position, "14");
  ASSERT_EQ(readout.values.size(), 1u);
  EXPECT_EQ(readout.values[0].name, "Level");
  EXPECT_EQ(readout.values[0].value, "2.50");  // 10 is nearer than 20
}

}  // namespace
