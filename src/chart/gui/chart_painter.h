#pragma once
// Painting a chart model with QPainter on any paint device (a widget, a QImage, a
// printer), in the order of one redraw: background, title, axes with their grids,
// labels and captions, the plotting rectangle's border, the series clipped to it, and
// the legend over them. Rendering into an image of the window's size gives the window's
// picture. Thread rule: GUI thread.
#include <QFont>
#include <QPainter>

#include "chart/chart_model.h"

QFont ChartQFont(const ChartFont& font);

// The text metrics of the paint device's fonts.
class CQtChartMeasure : public IChartTextMeasure {
 public:
  explicit CQtChartMeasure(const QPaintDevice* device = nullptr) : m_pDevice(device) {}
  ChartSize Measure(const std::string& text, const ChartFont& font) const override;

 private:
  const QPaintDevice* m_pDevice;
};

struct ChartPaintOptions {
  bool antialiasing = true;
  // Large charts of one-pixel solid lines are drawn by two threads, each into half of the
  // rows; the picture is the same either way.
  bool shareWork = true;
};

// Lays the model out for the rectangle and paints it; returns the layout used.
ChartLayout PaintChart(CChartModel& model, QPainter& painter, const QRect& client,
                       const ChartPaintOptions& options = {});
