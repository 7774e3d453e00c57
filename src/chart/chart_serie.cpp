#include "chart/chart_serie.h"

#include <algorithm>
#include <cmath>

CChartSerie::~CChartSerie() {
  SetAxes(nullptr, nullptr);
}

void CChartSerie::SetAxes(CChartAxis* horizontal, CChartAxis* vertical) {
  if (m_pHorizontal != nullptr)
    m_pHorizontal->UnbindSerie(this);
  if (m_pVertical != nullptr)
    m_pVertical->UnbindSerie(this);
  m_pHorizontal = horizontal;
  m_pVertical = vertical;
  if (horizontal != nullptr)
    horizontal->BindSerie(this);
  if (vertical != nullptr)
    vertical->BindSerie(this);
}

void CChartXYSerie::SetPoints(const double* xs, const double* ys, size_t count) {
  // A value that is not a number is no point: the line joins its neighbours.
  std::vector<SChartXYPoint> points;
  points.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (std::isfinite(ys[i]))
      points.push_back({xs[i], ys[i]});
  }
  SetPoints(std::move(points));
}

bool CChartXYSerie::VisibleRange(double minimum, double maximum, size_t& first,
                                 size_t& last) const {
  const std::vector<SChartXYPoint>& points = Points();
  const auto byX = [](const SChartXYPoint& point, double x) { return point.X < x; };
  const auto begin = std::lower_bound(points.begin(), points.end(), minimum, byX);
  const auto end =
      std::upper_bound(points.begin(), points.end(), maximum,
                       [](double x, const SChartXYPoint& point) { return x < point.X; });
  if (points.empty())
    return false;
  // One point more on each side, so that the line runs to the edges of the plot.
  size_t from = static_cast<size_t>(begin - points.begin());
  size_t to = static_cast<size_t>(end - points.begin());  // one past the last inside
  from = from > 0 ? from - 1 : 0;
  to = std::min(to + 1, points.size());
  if (to < from + 2)
    return false;
  first = from;
  last = to - 1;
  return true;
}

std::vector<ChartPixelPoint> CChartLineSerie::Path() const {
  const CChartAxis* horizontal = HorizontalAxis();
  if (!IsVisible() || horizontal == nullptr || VerticalAxis() == nullptr)
    return {};
  size_t first = 0;
  size_t last = 0;
  if (!VisibleRange(horizontal->Min(), horizontal->Max(), first, last))
    return {};
  return IsSmooth() ? SmoothPath(first, last) : StraightPath(first, last);
}

std::vector<ChartPixelPoint> CChartLineSerie::StraightPath(size_t first, size_t last) const {
  const CChartAxis& horizontal = *HorizontalAxis();
  const CChartAxis& vertical = *VerticalAxis();
  std::vector<ChartPixelPoint> path;
  path.reserve(
      std::min<size_t>(last - first + 1, 2 * static_cast<size_t>(horizontal.PixelLength()) + 4));
  for (size_t i = first; i <= last; ++i) {
    const SChartXYPoint& point = Points()[i];
    const ChartPixelPoint pixel{static_cast<double>(horizontal.ValueToScreen(point.X)),
                                static_cast<double>(vertical.ValueToScreen(point.Y))};
    if (!path.empty() && path.back() == pixel)
      continue;  // nothing to see: a segment of no length
    path.push_back(pixel);
  }
  return path;
}

std::vector<ChartPixelPoint> CChartLineSerie::SmoothPath(size_t first, size_t last) const {
  const CChartAxis& horizontal = *HorizontalAxis();
  const CChartAxis& vertical = *VerticalAxis();
  std::vector<ChartPixelPoint> knots;
  for (size_t i = first; i <= last; ++i) {
    const SChartXYPoint& point = Points()[i];
    knots.push_back({static_cast<double>(horizontal.ValueToScreen(point.X)),
                     static_cast<double>(vertical.ValueToScreen(point.Y))});
  }
  // Catmull-Rom tangents: each control point lies a sixth of the way along the chord of
  // the neighbouring knots, so the curve passes through every point without loops.
  std::vector<ChartPixelPoint> path;
  path.reserve(3 * knots.size() - 2);
  path.push_back(knots.front());
  for (size_t i = 0; i + 1 < knots.size(); ++i) {
    const ChartPixelPoint& before = knots[i == 0 ? 0 : i - 1];
    const ChartPixelPoint& from = knots[i];
    const ChartPixelPoint& to = knots[i + 1];
    const ChartPixelPoint& after = knots[i + 2 < knots.size() ? i + 2 : i + 1];
    path.push_back({from.x + (to.x - before.x) / 6.0, from.y + (to.y - before.y) / 6.0});
    path.push_back({to.x - (after.x - from.x) / 6.0, to.y - (after.y - from.y) / 6.0});
    path.push_back(to);
  }
  return path;
}
