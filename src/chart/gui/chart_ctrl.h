#pragma once
// CChartCtrl: the chart control, a thin window over a chart model: it paints the model
// (chart_painter.h), redraws when the model asks, and renders the same picture into an
// image of its size. Thread rule: GUI thread.
#include <QImage>
#include <QWidget>

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

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CChartModel m_model;
  int m_nRedraws = 0;
};
