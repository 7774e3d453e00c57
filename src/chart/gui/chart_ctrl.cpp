#include "chart/gui/chart_ctrl.h"

#include <QPainter>

#include "chart/gui/chart_painter.h"

CChartCtrl::CChartCtrl(QWidget* parent) : QWidget(parent) {
  setObjectName("ChartCtrl");
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_model.SetRedrawHandler([this] {
    ++m_nRedraws;
    update();
  });
}

void CChartCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintChart(m_model, painter, rect());
}

QImage CChartCtrl::RenderImage(const QSize& size, bool antialiasing) {
  const QSize target = size.isValid() ? size : this->size();
  QImage image(target, QImage::Format_RGB32);
  QPainter painter(&image);
  ChartPaintOptions options;
  options.antialiasing = antialiasing;
  PaintChart(m_model, painter, QRect(QPoint(0, 0), target), options);
  return image;
}
