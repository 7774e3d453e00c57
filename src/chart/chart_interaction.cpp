#include "chart/chart_interaction.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/number_text.h"
#include "chart/chart_date.h"
#include "chart/chart_datetime_axis.h"

namespace {

constexpr char kReadoutDateFormat[] = "%d %b %Y %H:%M:%S";

// The point whose X is nearest to x (the points sorted by X).
const SChartXYPoint* NearestPoint(const std::vector<SChartXYPoint>& points, double x) {
  if (points.empty())
    return nullptr;
  const auto after = std::lower_bound(points.begin(), points.end(), x,
                                      [](const SChartXYPoint& p, double v) { return p.X < v; });
  if (after == points.begin())
    return &*after;
  if (after == points.end())
    return &points.back();
  const auto before = after - 1;
  return x - before->X <= after->X - x ? &*before : &*after;
}

}  // namespace

void ZoomAxis(CChartAxis& axis, double anchor, double factor) {
  if (factor <= 0.0 || axis.Min() == axis.Max())
    return;
  axis.SetAutomatic(false);
  axis.SetMinMax(anchor - (anchor - axis.Min()) * factor, anchor + (axis.Max() - anchor) * factor);
}

void PanAxisByPixels(CChartAxis& axis, int pixels) {
  const int length = axis.PixelLength();
  if (length == 0 || pixels == 0)
    return;
  // Dragging right (or up on a vertical axis) brings earlier values into view.
  double shift = (axis.Max() - axis.Min()) * pixels / length;
  if (axis.IsInverted())
    shift = -shift;
  axis.SetAutomatic(false);
  axis.SetMinMax(axis.Min() - shift, axis.Max() - shift);
}

bool ZoomAxisToPixels(CChartAxis& axis, int from, int to) {
  if (std::abs(to - from) < 3)
    return false;
  const double a = axis.ScreenToValue(from);
  const double b = axis.ScreenToValue(to);
  axis.SetAutomatic(false);
  axis.SetMinMax(std::min(a, b), std::max(a, b));
  return true;
}

void ResetAxisRange(CChartAxis& axis) {
  axis.SetAutomatic(true);
  axis.SetAutomatic(false);
}

ChartReadout ReadoutAt(const CChartModel& model, ChartAxisSlot horizontal, int pixel) {
  ChartReadout readout;
  const CChartAxis* axis = model.Axis(horizontal);
  if (axis == nullptr || axis->PixelLength() == 0)
    return readout;
  const double x = axis->ScreenToValue(pixel);
  const bool dates = dynamic_cast<const CChartDateTimeAxis*>(axis) != nullptr;
  readout.valid = true;
  readout.position = dates ? FormatChartDate(kReadoutDateFormat, x) : axis->TickLabel(x);
  for (const CChartLineSerie* serie : model.Series()) {
    if (!serie->IsVisible() || serie->HorizontalAxis() != axis)
      continue;
    const SChartXYPoint* point = NearestPoint(serie->Points(), x);
    if (point != nullptr)
      readout.values.push_back({serie->Name(), FormatFixed(point->Y, 2)});
  }
  return readout;
}
