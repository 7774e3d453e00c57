#include "chart/gui/chart_preview.h"

#include <cmath>

#include "chart/chart_date.h"

namespace {

constexpr const char* kSampleNames[] = {"TY_001", "LY_005", "FY_002", "PY_010"};
constexpr int kSamplePoints = 60;

}  // namespace

CChartPreview::CChartPreview(QWidget* parent) : CChartCtrl(parent) {
  setMinimumSize(360, 220);
  CChartModel& model = Model();
  model.CreateDateTimeAxis(ChartAxisSlot::kBottom);
  model.CreateStandardAxis(ChartAxisSlot::kLeft).SetMinMax(0.0, 100.0);
  model.CreateStandardAxis(ChartAxisSlot::kRight).SetMinMax(0.0, 100.0);
  const double start = ChartDateFromParts({2026, 1, 1, 8, 0, 0, 0});
  model.Axis(ChartAxisSlot::kBottom)->SetMinMax(start, start + kSamplePoints / 1440.0);
  for (int s = 0; s < 4; ++s) {
    const int id = model.CreateLineSerie(ChartAxisSlot::kBottom, ChartAxisSlot::kLeft);
    CChartLineSerie* serie = model.Serie(id);
    serie->SetName(kSampleNames[s]);
    std::vector<SChartXYPoint> points;
    for (int i = 0; i <= kSamplePoints; ++i) {
      const double y = 20.0 + 18.0 * s + 10.0 * std::sin(i / (6.0 + 2 * s) + s);
      points.push_back({start + i / 1440.0, y});
    }
    serie->SetPoints(std::move(points));
  }
}

void CChartPreview::Show(const ChartLegendSettings& legend, const ChartTitleSettings& title,
                         ChartColour background) {
  ApplyChartLegend(legend, Model());
  ApplyChartTitle(title, Model());
  Model().SetBackgroundColour(background);
  Model().RequestRedraw();
}
