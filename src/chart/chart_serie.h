#pragma once
// The series of a chart: CChartSerie (name, colour, visibility, the two axes it is bound
// to) → CChartSerieBase of points with their extents → CChartXYSerie (the points that
// fall in the horizontal range) → CChartLineSerie (line style, width, smooth mode and
// shadow, and the pixel paths the painter strokes). Qt-free.
#include <cstddef>
#include <string>
#include <vector>

#include "chart/chart_axis.h"

struct SChartXYPoint {
  double X = 0.0;
  double Y = 0.0;
};

// A point of a path in pixels; doubles so that a curve keeps its control points exact.
struct ChartPixelPoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const ChartPixelPoint&) const = default;
};

class CChartSerie {
 public:
  // Leaves its axes (which must outlive it: the chart destroys its series first).
  virtual ~CChartSerie();

  const std::string& Name() const { return m_sName; }
  void SetName(const std::string& name) { m_sName = name; }
  ChartColour Colour() const { return m_color; }
  void SetColour(ChartColour color) { m_color = color; }
  bool IsVisible() const { return m_bVisible; }
  void SetVisible(bool visible) { m_bVisible = visible; }
  CChartAxis* HorizontalAxis() const { return m_pHorizontal; }
  CChartAxis* VerticalAxis() const { return m_pVertical; }
  void SetAxes(CChartAxis* horizontal, CChartAxis* vertical);

  // Smallest and largest X and Y over the points; false when there is no point.
  virtual bool XExtent(double& minimum, double& maximum) const = 0;
  virtual bool YExtent(double& minimum, double& maximum) const = 0;

 private:
  std::string m_sName;
  ChartColour m_color = ChartRgb(0, 0, 255);
  bool m_bVisible = true;
  CChartAxis* m_pHorizontal = nullptr;
  CChartAxis* m_pVertical = nullptr;
};

template <class Point>
class CChartSerieBase : public CChartSerie {
 public:
  void SetPoints(std::vector<Point> points) {
    m_points = std::move(points);
    RefreshExtents();
  }
  void AddPoint(const Point& point) {
    m_points.push_back(point);
    Widen(point);
  }
  void ClearPoints() {
    m_points.clear();
    m_bHasExtent = false;
  }
  const std::vector<Point>& Points() const { return m_points; }
  size_t PointCount() const { return m_points.size(); }

  bool XExtent(double& minimum, double& maximum) const override {
    minimum = m_dXMin, maximum = m_dXMax;
    return m_bHasExtent;
  }
  bool YExtent(double& minimum, double& maximum) const override {
    minimum = m_dYMin, maximum = m_dYMax;
    return m_bHasExtent;
  }

 private:
  void RefreshExtents() {
    m_bHasExtent = false;
    for (const Point& point : m_points)
      Widen(point);
  }
  void Widen(const Point& point) {
    if (!m_bHasExtent) {
      m_dXMin = m_dXMax = point.X;
      m_dYMin = m_dYMax = point.Y;
      m_bHasExtent = true;
      return;
    }
    m_dXMin = point.X < m_dXMin ? point.X : m_dXMin;
    m_dXMax = point.X > m_dXMax ? point.X : m_dXMax;
    m_dYMin = point.Y < m_dYMin ? point.Y : m_dYMin;
    m_dYMax = point.Y > m_dYMax ? point.Y : m_dYMax;
  }

  std::vector<Point> m_points;
  bool m_bHasExtent = false;
  double m_dXMin = 0.0, m_dXMax = 0.0, m_dYMin = 0.0, m_dYMax = 0.0;
};

class CChartXYSerie : public CChartSerieBase<SChartXYPoint> {
 public:
  using CChartSerieBase<SChartXYPoint>::SetPoints;
  // The points from an array of X values (times) and an array of Y values.
  void SetPoints(const double* xs, const double* ys, size_t count);
  // The points whose X lies in [minimum, maximum] (the points sorted by X), widened by
  // one point on each side; false when fewer than two points remain.
  bool VisibleRange(double minimum, double maximum, size_t& first, size_t& last) const;
};

enum class ChartLineStyle : int { kSolid = 0, kDash, kDot, kDashDot, kDashDotDot };

class CChartLineSerie : public CChartXYSerie {
 public:
  ChartLineStyle Style() const { return m_eStyle; }
  void SetStyle(ChartLineStyle style) { m_eStyle = style; }
  int Width() const { return m_nWidth; }
  void SetWidth(int width) { m_nWidth = width < 1 ? 1 : width; }
  bool IsSmooth() const { return m_bSmooth; }
  void SetSmooth(bool smooth) { m_bSmooth = smooth; }
  bool HasShadow() const { return m_bShadow; }
  void SetShadow(bool shadow) { m_bShadow = shadow; }
  int ShadowDepth() const { return m_nShadowDepth; }
  void SetShadowDepth(int depth) { m_nShadowDepth = depth; }
  ChartColour ShadowColour() const { return m_shadowColour; }
  void SetShadowColour(ChartColour color) { m_shadowColour = color; }

  // The path to stroke, in pixels of the bound axes: straight mode joins the visible
  // points, skipping a point on the same pixel as the previous one; smooth mode gives a
  // Bézier chain (start, then two control points and an end per segment: 3n − 2 points).
  // Empty when hidden, unbound or with fewer than two visible points.
  std::vector<ChartPixelPoint> Path() const;

 private:
  std::vector<ChartPixelPoint> StraightPath(size_t first, size_t last) const;
  std::vector<ChartPixelPoint> SmoothPath(size_t first, size_t last) const;

  ChartLineStyle m_eStyle = ChartLineStyle::kSolid;
  int m_nWidth = 1;
  bool m_bSmooth = false;
  bool m_bShadow = false;
  int m_nShadowDepth = 2;
  ChartColour m_shadowColour = ChartRgb(150, 150, 150);
};
