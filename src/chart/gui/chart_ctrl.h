#pragma once
// CChartCtrl: the chart control, a thin window over a chart model: it paints the model
// (chart_painter.h), redraws when the model asks, and renders the same picture into an
// image of its size. On the time axis (bottom): the wheel zooms around the cursor, a drag
// pans, a drag with Shift zooms to the band, a double click or Home shows the whole
// range; Left/Right pan and +/- zoom from the keyboard; hovering shows the time and each
// series' nearest value. Thread rule: GUI thread.
#include <QImage>
#include <QPoint>
#include <QWidget>

#include "chart/chart_interaction.h"

class QRubberBand;

#include "chart/chart_model.h"

class CChartCtrl : public QWidget {
  Q_OBJECT

 public:
  explicit CChartCtrl(QWidget* parent = nullptr);

  CChartModel& Model() { return m_model; }
  const CChartModel& Model() const { return m_model; }
  // The whole chart as the window shows it, at the window's size (or the size given).
  QImage RenderImage(const QSize& size = {}, bool antialiasing = true);
  // Redraws issued (the suspension counter is seen working here).
  int RedrawCount() const { return m_nRedraws; }
  // The readout under the cursor (invalid when the cursor is not over the plot).
  const ChartReadout& Readout() const { return m_readout; }

 signals:
  // The visible time range changed by zoom, pan or reset.
  void rangeChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  CChartAxis* TimeAxis() const { return m_model.Axis(ChartAxisSlot::kBottom); }
  bool InPlot(const QPoint& point) const;
  void RangeChanged();
  void UpdateReadout(const QPoint& point);
  void PaintReadout(QPainter& painter);

  CChartModel m_model;
  ChartLayout m_layout;
  ChartReadout m_readout;
  QPoint m_readoutPoint;
  QPoint m_dragStart;
  QPoint m_dragLast;
  bool m_bPanning = false;
  QRubberBand* m_pBand = nullptr;
  int m_nRedraws = 0;
};
